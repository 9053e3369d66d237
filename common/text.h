#pragma once

#include <QByteArray>
#include <QString>

// Source text is handled one character per byte (Latin-1), so every byte of a
// source file survives the round trip through the passes unchanged.

// Bytes to text: the bytes up to the first NUL byte, one character per byte.
QString textFromBytes(const QByteArray& bytes);

// Text to bytes, one byte per character; a character above 255 becomes '?'.
QByteArray bytesFromText(QStringView text);
