#include "sourcefile.h"

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

bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    return file.flush() && written;
}
