#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The one boundary between a file's bytes and the text the passes work on.
//
// Source text is bytes: the file's bytes after a UTF-8 byte order mark, up to
// the first NUL byte, with every line end (a line feed, a carriage return and
// a line feed, or a carriage return alone, each one line end to the compiler)
// a single line feed. The passes never decode it; a byte of 128 or above
// stays the byte it is.
//
// A file that starts with a UTF-16 or UTF-32 byte order mark is read as its
// characters in UTF-8, and written back in its own form.
enum class SourceForm : quint8 {
    Bytes,    // no byte order mark
    Utf8Mark, // a UTF-8 byte order mark first
    Utf16LE,
    Utf16BE,
    Utf32LE,
    Utf32BE,
};
struct SourceText {
    QByteArray text;
    SourceForm form = SourceForm::Bytes;
};

// The text of a file's bytes. Nothing for a UTF-16 or UTF-32 file whose
// characters cannot be read (a surrogate without its pair): it is left to
// the compiler as it is.
std::optional<SourceText> sourceTextFromBytes(const QByteArray& bytes);

// Whether text is what sourceTextFromBytes makes of bytes, found without
// making it.
bool isSourceTextOf(QByteArrayView text, QByteArrayView bytes);

// The bytes to write for a source text: in the file's form, with its byte
// order mark first, and every line feed as the platform's line end. Takes
// the text by value: on a platform whose line end is the line feed the text
// of a file without a mark is the bytes, without a copy.
QByteArray sourceBytesFromText(QByteArray text, SourceForm form = SourceForm::Bytes);

// A file's name as the bytes the file system knows it by, and back.
QByteArray fileNameBytes(const QString& name);
QString fileNameFromBytes(QByteArrayView bytes);
