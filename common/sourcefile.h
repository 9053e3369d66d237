#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// How files are read and written: whole, as bytes.

// The bytes of a file, or nothing when it cannot be opened and read.
std::optional<QByteArray> readFileBytes(const QString& path);

// Writes bytes as they are, truncating or creating the file. Returns false
// when the file could not be opened or fully written.
bool writeFileBytes(const QString& path, const QByteArray& bytes);
