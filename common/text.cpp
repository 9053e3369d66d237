#include "text.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

namespace {

const QByteArrayView utf8Mark("\xef\xbb\xbf");

struct WideForm {
    SourceForm form;
    QByteArrayView mark;
    QStringConverter::Encoding encoding;
};

// UTF-32 little endian begins like UTF-16 little endian, so it is tried first.
const WideForm wideForms[] = {
    {SourceForm::Utf32LE, QByteArrayView("\xff\xfe\x00\x00", 4), QStringConverter::Utf32LE},
    {SourceForm::Utf32BE, QByteArrayView("\x00\x00\xfe\xff", 4), QStringConverter::Utf32BE},
    {SourceForm::Utf16LE, QByteArrayView("\xff\xfe"), QStringConverter::Utf16LE},
    {SourceForm::Utf16BE, QByteArrayView("\xfe\xff"), QStringConverter::Utf16BE},
};

const WideForm* wideFormOf(QByteArrayView bytes) {
    for (const WideForm& wide : wideForms) {
        if (bytes.startsWith(wide.mark))
            return &wide;
    }
    return nullptr;
}

const WideForm* wideForm(SourceForm form) {
    for (const WideForm& wide : wideForms) {
        if (wide.form == form)
            return &wide;
    }
    return nullptr;
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

// Whether characters hold half of a surrogate pair without the other half:
// a UTF-16 file with no text that UTF-8 can hold.
bool hasLoneSurrogate(const QString& characters) {
    for (qsizetype i = 0; i < characters.size(); ++i) {
        if (characters[i].isHighSurrogate() && i + 1 < characters.size() &&
            characters[i + 1].isLowSurrogate())
            ++i;
        else if (characters[i].isSurrogate())
            return true;
    }
    return false;
}

// The text of bytes without a wide mark: every line end a line feed.
QByteArray textOfBytes(const QByteArray& bytes) {
    const QByteArrayView from = textBytes(bytes);
    const char* data = from.data();
    const qsizetype size = from.size();
    if (size == 0 || !std::memchr(data, '\r', size_t(size))) {
        // The file's own buffer when the text is all of it.
        return size == bytes.size() ? bytes : from.toByteArray();
    }
    QByteArray text(size, Qt::Uninitialized);
    char* out = text.data();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != '\r')
            out[kept++] = data[i];
        else if (i + 1 == size || data[i + 1] != '\n')
            out[kept++] = '\n';
    }
    text.truncate(kept);
    return text;
}

} // namespace

std::optional<SourceText> sourceTextFromBytes(const QByteArray& bytes) {
    SourceText source;
    if (const WideForm* wide = wideFormOf(bytes)) {
        QStringDecoder decoder(wide->encoding, QStringConverter::Flag::Stateless);
        const QString characters = decoder.decode(QByteArrayView(bytes).sliced(wide->mark.size()));
        if (decoder.hasError() || hasLoneSurrogate(characters))
            return std::nullopt;
        source.form = wide->form;
        source.text = textOfBytes(characters.toUtf8());
        return source;
    }
    source.form = bytes.startsWith(utf8Mark) ? SourceForm::Utf8Mark : SourceForm::Bytes;
    source.text = textOfBytes(bytes);
    return source;
}

bool isSourceTextOf(QByteArrayView text, QByteArrayView bytes) {
    if (wideFormOf(bytes)) {
        const std::optional<SourceText> source = sourceTextFromBytes(bytes.toByteArray());
        return source && source->text == text;
    }
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

QByteArray sourceBytesFromText(QByteArray text, SourceForm form) {
#ifdef Q_OS_WIN
    text.replace("\n", "\r\n");
#endif
    if (form == SourceForm::Utf8Mark)
        text.prepend(utf8Mark);
    if (const WideForm* wide = wideForm(form)) {
        QStringEncoder encoder(wide->encoding, QStringConverter::Flag::Stateless);
        text = wide->mark.toByteArray() + QByteArray(encoder.encode(QString::fromUtf8(text)));
    }
    return text;
}

QByteArray fileNameBytes(const QString& name) {
    return QFile::encodeName(name);
}

QString fileNameFromBytes(QByteArrayView bytes) {
    return QFile::decodeName(bytes.toByteArray());
}
