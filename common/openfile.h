#pragma once

#include "filetime.h"

#include <QByteArray>
#include <QString>

#include <vector>

// A file opened by this program, held by the operating system's descriptor
// (POSIX; the C runtime's descriptor on Windows). Reads and writes go to given
// offsets, so one descriptor serves a file's lock, its reads and its writes,
// and the file stays the one that was opened whatever happens to its name.
// Descriptors are never inherited by the programs this one starts.
struct OpenFile {
    int descriptor = -1;

    OpenFile() = default;
    explicit OpenFile(int descriptor) : descriptor(descriptor) {}
    OpenFile(OpenFile&& other) noexcept : descriptor(other.descriptor) { other.descriptor = -1; }
    OpenFile& operator=(OpenFile&& other) noexcept;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { close(); }

    bool isOpen() const { return descriptor >= 0; }
    void close();
};

// How the system words an error number ("Permission denied").
QString systemErrorText(int error);

enum class FileAccess { Read, Write };

// Opens an existing regular file or folder; never creates one. On failure the
// result is not open and *error holds the reason.
OpenFile openExistingFile(const QString& path, FileAccess access, int* error);

// Reads up to size bytes at offset; returns how many (0 at the end), or -1
// with *error set.
qint64 readAt(const OpenFile& file, qint64 offset, char* data, qint64 size, int* error);

// Each returns 0, or the error that stopped it. writeAt writes all of data;
// appendTo writes at the file's own offset, which each write moves on.
int writeAt(const OpenFile& file, qint64 offset, const char* data, qint64 size);
int appendTo(const OpenFile& file, const QByteArray& bytes);
int truncateFile(const OpenFile& file, qint64 size);
int syncFile(const OpenFile& file); // the file's bytes and times reach the disk
// Starts the file's bytes on their way to the disk without waiting for them,
// where the system can (Linux); syncFile waits for them later.
void startSyncFile(const OpenFile& file);

// syncFile for several files at once, each waited for on a thread of its own
// (a few at a time), so that the disk takes their flushes together rather than
// one after another. Returns each file's error, 0 when it is on disk.
std::vector<int> syncFilesTogether(const std::vector<const OpenFile*>& files);
int setModificationTime(const OpenFile& file, const FileTime& time);

FileStamp fileStampOf(const OpenFile& file);
