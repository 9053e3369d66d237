#pragma once

#include "filetime.h"

#include <QByteArray>
#include <QString>

#include <optional>

// How files are read and written: whole, as bytes.

struct OpenFile;

// What reading an open file whole gave.
struct WholeFile {
    std::optional<QByteArray> bytes; // every byte of the file, exactly as on disk
    QString problem;                 // why not, when the bytes are not the whole file
    FileStamp stamp;                 // the file as it was read
};

// Reads an open file whole. A file larger than this machine's memory, a file
// that grows or changes while it is read and a read error midway each give a
// problem instead of bytes that are not the file.
WholeFile readWholeFile(const OpenFile& file);

// The bytes of a file, or nothing when it cannot be opened and read whole.
std::optional<QByteArray> readFileBytes(const QString& path);

// Writes bytes as they are, truncating or creating the file. Returns false
// when the file could not be opened or fully written.
bool writeFileBytes(const QString& path, const QByteArray& bytes);
