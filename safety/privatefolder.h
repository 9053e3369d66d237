#pragma once

#include "openfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// A folder of the user's own, where the journals keep copies of source files
// and the originals that recovery writes back: opened without following a
// link, owned by the user running the program and writable by nobody else.
// Everything in it is reached relative to the open folder (openat and its
// kin), so renaming or replacing a folder above it cannot send a read or a
// write anywhere else; and what is read from it must be owned by the user too.
struct PrivateFolder {
    QString path;    // for messages, and on systems without descriptors for folders
    OpenFile opened; // the folder itself (POSIX)

    bool isOpen() const;
    QString filePath(const QString& name) const;
};

// Opens the folder at path, creating it (and any missing folder above it) when
// absent. Returns false, with *problem saying why, when it is a link, not a
// folder, belongs to another user or others may write to it.
bool openPrivateFolder(const QString& path, PrivateFolder* folder, QString* problem);

// The same for the folder name inside parent. When create is false and there is
// nothing of that name, returns false with an empty *problem.
bool openPrivateSubfolder(const PrivateFolder& parent, const QString& name, bool create,
                          PrivateFolder* folder, QString* problem);

// The names in a folder, "." and ".." left out.
QStringList folderEntries(const PrivateFolder& folder);

// Creates a file of the user's alone (never through a link); not open on failure.
OpenFile createPrivateFile(const PrivateFolder& folder, const QString& name, int* error);

// Opens a file in the folder for appending, if it is a regular file of the
// user's own; not open otherwise.
OpenFile openOwnFileForAppending(const PrivateFolder& folder, const QString& name);

// The bytes of a regular file of the user's own in the folder; nothing when it
// is missing, a link, or someone else's.
std::optional<QByteArray> readOwnFile(const PrivateFolder& folder, const QString& name);

// Writes bytes into a new file of the folder and makes sure they reach the
// disk, the folder's entry too unless the caller flushes the folder itself
// (once for several files).
bool writeFileDurably(const PrivateFolder& folder, const QString& name, const QByteArray& bytes,
                      bool flushFolder = true);

// Removes the file or the (emptied) folder name from the folder.
bool removeEntry(const PrivateFolder& folder, const QString& name);

// Moves name from one folder to another (both on one file system).
bool moveEntry(const PrivateFolder& from, const QString& name, const PrivateFolder& to);

// Makes sure the folder's entries (files just created or removed) reach the disk.
bool syncFolder(const PrivateFolder& folder);

// Takes the folder's lock without waiting: held until the folder is closed or
// the program ends, however it ends, and never left behind as a stale file. On
// POSIX systems it belongs to the open folder, so a child that holds a copy of
// the descriptor (one not yet executing its program) holds it too; a run's
// journal is not told alive by it (journallock.h).
bool tryLockFolder(PrivateFolder& folder);
