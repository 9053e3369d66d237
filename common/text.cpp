#include "text.h"

#include <QFile>

#include <cstring>

QByteArray sourceTextFromBytes(const QByteArray& bytes) {
    const char* data = bytes.constData();
    const void* nulAt = std::memchr(data, '\0', size_t(bytes.size()));
    const qsizetype size = nulAt ? static_cast<const char*>(nulAt) - data : bytes.size();
    if (!std::memchr(data, '\r', size_t(size)))
        return size == bytes.size() ? bytes : bytes.first(size); // shared when whole
    QByteArray text(size, Qt::Uninitialized);
    char* out = text.data();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != '\r')
            out[kept++] = data[i];
    }
    text.truncate(kept);
    return text;
}

QByteArray sourceBytesFromText(QByteArray text) {
#ifdef Q_OS_WIN
    text.replace("\n", "\r\n");
#endif
    return text;
}

QByteArray fileNameBytes(const QString& name) {
    return QFile::encodeName(name);
}

QString fileNameFromBytes(QByteArrayView bytes) {
    return QFile::decodeName(bytes.toByteArray());
}
