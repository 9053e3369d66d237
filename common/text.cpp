#include "text.h"

#include <QFile>

#include <cstring>

namespace {

const QByteArrayView utf8Mark("\xef\xbb\xbf");

bool startsWithWideMark(QByteArrayView bytes) {
    // UTF-32 little endian begins like UTF-16 little endian.
    for (const QByteArrayView mark : {QByteArrayView("\xff\xfe"), QByteArrayView("\xfe\xff"),
                                      QByteArrayView("\x00\x00\xfe\xff", 4)}) {
        if (bytes.startsWith(mark))
            return true;
    }
    return false;
}

// The bytes the text is made of: after the mark, up to the first NUL.
QByteArrayView textBytes(QByteArrayView bytes) {
    if (bytes.startsWith(utf8Mark))
        bytes = bytes.sliced(utf8Mark.size());
    if (bytes.isEmpty())
        return bytes;
    const void* nul = std::memchr(bytes.data(), '\0', size_t(bytes.size()));
    return nul ? bytes.first(static_cast<const char*>(nul) - bytes.data()) : bytes;
}

} // namespace

std::optional<SourceText> sourceTextFromBytes(const QByteArray& bytes) {
    if (startsWithWideMark(bytes))
        return std::nullopt;
    SourceText source;
    source.utf8Mark = bytes.startsWith(utf8Mark);
    const QByteArrayView from = textBytes(bytes);
    const char* data = from.data();
    const qsizetype size = from.size();
    if (size == 0 || !std::memchr(data, '\r', size_t(size))) {
        // The file's own buffer when the text is all of it.
        source.text = size == bytes.size() ? bytes : from.toByteArray();
        return source;
    }
    source.text = QByteArray(size, Qt::Uninitialized);
    char* out = source.text.data();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != '\r')
            out[kept++] = data[i];
        else if (i + 1 == size || data[i + 1] != '\n')
            out[kept++] = '\n';
    }
    source.text.truncate(kept);
    return source;
}

bool isSourceTextOf(QByteArrayView text, QByteArrayView bytes) {
    if (startsWithWideMark(bytes))
        return false;
    const QByteArrayView from = textBytes(bytes);
    if (from.isEmpty() || !std::memchr(from.data(), '\r', size_t(from.size())))
        return text == from;
    qsizetype at = 0;
    for (qsizetype i = 0; i < from.size(); ++i) {
        char c = from[i];
        if (c == '\r') {
            if (i + 1 < from.size() && from[i + 1] == '\n')
                continue;
            c = '\n';
        }
        if (at == text.size() || text[at] != c)
            return false;
        ++at;
    }
    return at == text.size();
}

QByteArray sourceBytesFromText(QByteArray text, bool withUtf8Mark) {
#ifdef Q_OS_WIN
    text.replace("\n", "\r\n");
#endif
    if (withUtf8Mark)
        text.prepend(utf8Mark);
    return text;
}

QByteArray fileNameBytes(const QString& name) {
    return QFile::encodeName(name);
}

QString fileNameFromBytes(QByteArrayView bytes) {
    return QFile::decodeName(bytes.toByteArray());
}
