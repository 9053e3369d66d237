#include "sourcefile.h"

#include "text.h"

#include <QFile>

std::optional<QByteArray> readFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

QString sourceTextFromBytes(const QByteArray& bytes) {
    QByteArray kept = bytes;
    const qsizetype nul = kept.indexOf('\0');
    if (nul >= 0)
        kept.truncate(nul);
    kept.replace('\r', QByteArrayView());
    return textFromBytes(kept);
}

QByteArray sourceBytesFromText(const QString& text) {
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
    return writeFileBytes(path, sourceBytesFromText(text));
}

bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    return file.flush() && written;
}
