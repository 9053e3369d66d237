#include "sourcefile.h"

#include "text.h"

#include <QFile>

#include <cstring>

std::optional<QByteArray> readFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Read into a buffer of the file's size: these bytes are kept for the whole
    // run, and reading to the end in growing steps leaves up to twice the room.
    const qint64 size = file.size();
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 got = 0;
    while (got < size) {
        const qint64 read = file.read(bytes.data() + got, size - got);
        if (read <= 0)
            break;
        got += read;
    }
    bytes.truncate(got);
    // Whatever the size did not tell (a file that grew, a device or a pipe).
    if (!file.atEnd() || size == 0)
        bytes += file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

QString sourceTextFromBytes(const QByteArray& bytes) {
    // One walk: each byte up to the first NUL becomes one character, carriage
    // returns are left out.
    const char* data = bytes.constData();
    const void* nulAt = std::memchr(data, '\0', size_t(bytes.size()));
    const qsizetype size = nulAt ? static_cast<const char*>(nulAt) - data : bytes.size();
    if (!std::memchr(data, '\r', size_t(size)))
        return QString::fromLatin1(data, size);
    QString text(size, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype kept = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != '\r')
            out[kept++] = char16_t(uchar(data[i]));
    }
    text.truncate(kept);
    return text;
}

QByteArray sourceBytesFromText(QStringView text) {
    QByteArray bytes = bytesFromText(text);
#ifdef Q_OS_WIN
    bytes.replace("\n", "\r\n");
#endif
    return bytes;
}

QString readSourceText(const QString& path) {
    return sourceTextFromBytes(readFileBytes(path).value_or(QByteArray()));
}

bool writeSourceText(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    constexpr qsizetype piece = 1 << 16;
    bool written = true;
    for (qsizetype at = 0; at < text.size() && written; at += piece) {
        const QByteArray bytes = sourceBytesFromText(QStringView(text).mid(at, piece));
        written = file.write(bytes) == bytes.size();
    }
    return file.flush() && written;
}

bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    return file.flush() && written;
}
