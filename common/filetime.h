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

// What the file system says about a file: its identity, size and change time.
// The change time moves with every write (and with every change of the
// modification time), and no tool can set it back, so a stamp taken right
// after a write and found equal later means nobody has written the file in
// between. Invalid where the platform gives no change time.
struct FileStamp {
    qint64 device = 0;
    qint64 inode = 0;
    qint64 size = -1;
    qint64 changeSeconds = 0;
    qint64 changeNanoseconds = 0;
    bool valid = false;

    bool sameAs(const FileStamp& other) const {
        return valid && other.valid && device == other.device && inode == other.inode &&
               size == other.size && changeSeconds == other.changeSeconds &&
               changeNanoseconds == other.changeNanoseconds;
    }
};

FileStamp readFileStamp(const QString& path);
