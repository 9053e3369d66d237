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

// What the file system says about a file: its identity, size, modification
// and change times. The change time moves with every write (and with every
// change of the modification time), and no tool can set it back, so a stamp
// taken after a write and found equal later means nobody has written the file
// in between, unless that write came within the same tick of the file system's
// clock as the one before it: recent says the file was changed so shortly
// before the stamp was taken that its times may not show such a write (the
// bytes must then tell). Invalid when the file cannot be looked at.
struct FileStamp {
    qint64 device = 0;
    qint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;
    qint64 changeSeconds = 0;
    qint64 changeNanoseconds = 0;
    bool recent = false;
    bool valid = false;

    // The same file (hard links and a link and its target are one file).
    bool sameFileAs(const FileStamp& other) const {
        return valid && other.valid && device == other.device && inode == other.inode;
    }

    bool sameAs(const FileStamp& other) const {
        return sameFileAs(other) && size == other.size &&
               modifiedSeconds == other.modifiedSeconds &&
               modifiedNanoseconds == other.modifiedNanoseconds &&
               changeSeconds == other.changeSeconds && changeNanoseconds == other.changeNanoseconds;
    }
};

FileStamp readFileStamp(const QString& path);

// The stamp of a file opened by this program (its descriptor, see openfile.h).
FileStamp fileStampOf(int descriptor);
