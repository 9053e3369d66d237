#pragma once

#include "filetime.h"

#include <QByteArray>
#include <QString>

#include <optional>

// How the passes read and write source files: text mode, whole files.
//
// Reading drops every carriage-return byte and converts with textFromBytes; a
// file that cannot be opened reads as empty text. Writing truncates (or creates)
// the file and writes every line feed as the platform's line end.

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

// The raw bytes of a file, or nothing when it cannot be opened and read whole.
std::optional<QByteArray> readFileBytes(const QString& path);

// Text-mode view of raw file bytes: carriage returns dropped, cut at the first NUL.
QString sourceTextFromBytes(const QByteArray& bytes);

// The platform's text-mode bytes for a text: line feeds become the native line end.
QByteArray sourceBytesFromText(QStringView text);

QString readSourceText(const QString& path);

// Returns false when the file could not be opened or fully written. The bytes
// are made and written a piece at a time, never all at once beside the text.
bool writeSourceText(const QString& path, const QString& text);

// Writes bytes as they are (binary mode), truncating or creating the file.
bool writeFileBytes(const QString& path, const QByteArray& bytes);
