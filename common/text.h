#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The one boundary between a file's bytes and the text the passes work on.
//
// Source text is bytes: the file's bytes up to the first NUL byte, with every
// carriage return left out, so each line ends in a single line feed. The
// passes never decode it; a byte of 128 or above stays the byte it is.
QByteArray sourceTextFromBytes(const QByteArray& bytes);

// The bytes to write for a source text: every line feed as the platform's
// line end. Takes the text by value: on a platform whose line end is the line
// feed the text is the bytes, without a copy.
QByteArray sourceBytesFromText(QByteArray text);

// A file's name as the bytes the file system knows it by, and back.
QByteArray fileNameBytes(const QString& name);
QString fileNameFromBytes(QByteArrayView bytes);
