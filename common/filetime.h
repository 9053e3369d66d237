#pragma once

#include <QString>

// A file's modification time, kept at the file system's own precision so that a
// restored file looks untouched to build tools that compare timestamps.
struct FileTime {
    qint64 seconds = 0;
    qint64 nanoseconds = 0;
    bool valid = false;
};

FileTime readFileTime(const QString& path);

// Sets the modification time of an existing file; returns false on failure.
bool restoreFileTime(const QString& path, const FileTime& time);
