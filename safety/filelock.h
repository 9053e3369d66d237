#pragma once

#include "filetime.h"
#include "openfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// A source file held by this run: opened once, locked on the file itself (an
// advisory lock, which every run honours whoever runs it and wherever its
// journal is) so that no other run reads or rewrites it until this run has
// put it back, and read and written through that opening alone.
//
// Runs never deadlock: a run takes its files one by one as it meets them, but
// only without waiting. When one is busy, it puts back what it has rewritten,
// lets every file go and takes the whole set it now knows it needs again,
// this time waiting, in one fixed order (device, inode) that every run uses;
// only then does it expand its files again (lockFilesInOrder). A run waits
// only while it holds nothing or in that order, so no two runs can each hold
// what the other waits for.
struct LockedFile {
    QString path;       // the canonical path it was opened under
    OpenFile reader;    // holds the lock; reads go through it
    OpenFile writer;    // opened for the first write and kept until the file is
                        // let go: closing any descriptor of a file would drop a
                        // lock that a network file system keeps per process
    FileStamp identity; // device and inode, as opened

    // Opens the writer unless it is open; returns 0 or the reason it cannot be.
    int openWriter();
};

enum class LockOutcome {
    Taken,
    NotOpened,         // no regular file there that this user may read
    Busy,              // another run holds it (tryLockFile only)
    Interrupted,       // an interrupt came while waiting
    HeldByEnclosingRun // the run whose compile started this one holds it
};

// Opens the regular file at path and locks it if nobody holds it.
LockOutcome tryLockFile(const QString& path, LockedFile* file);

// Locks the files at paths, waiting for other runs, in the one order all runs
// use. A run that waits says so once on standard error after about two
// seconds, naming the run it waits for where the system tells. A compile
// started from inside another's compile (fbc run by a build step) does not
// wait for a file that the enclosing run holds, which would never come free:
// it stops at once with HeldByEnclosingRun, *busyPath naming the file. Files
// that cannot be opened are left out.
LockOutcome lockFilesInOrder(const QStringList& paths, std::vector<LockedFile>* files,
                             QString* busyPath);

// The environment entry ("NAME=value") that tells the compiles started from
// this run's compile which files this run holds: the journal that lists them,
// after those of the runs enclosing this one.
QByteArray enclosingRunsEntry(const QString& journalFolder);
