#pragma once

#include "openfile.h"
#include "privatefolder.h"

// The lock that says a journal's run is alive: held by the run from the
// journal's creation until it ends, and by a recovery that takes over the
// journal of a dead run.
//
// It must go the moment its process ends, and only then. A lock that belongs
// to an open file (flock) lives on in every process that holds a copy of its
// descriptor: a child the run is starting keeps every descriptor until it
// executes the compiler, and when the run is killed in that moment, the lock
// outlives it and its journal looks alive, so the next run would leave the
// dead run's files as they are. So on POSIX systems the lock is a record lock
// on the journal's lock file (lockName()), which belongs to the process alone:
// a child never inherits it, and it goes when the process ends. Such a lock
// never stands in the way of its own process and goes when the process closes
// any descriptor of the file; this process's own journal locks are therefore
// kept in a table, looked at before a lock file is opened at all.
//
// The run also locks the journal's folder itself (tryLockFolder), from before
// the lock file is there until it ends. That lock decides only for a journal
// without a lock file: one being created, or one of an earlier version, whose
// runs look at nothing else.
struct JournalLock {
    JournalLock() = default;
    JournalLock(JournalLock&& other) noexcept;
    JournalLock& operator=(JournalLock&& other) noexcept;
    JournalLock(const JournalLock&) = delete;
    JournalLock& operator=(const JournalLock&) = delete;
    ~JournalLock() { release(); }

    bool isHeld() const { return file.isOpen(); }
    void release();

    OpenFile file;      // the lock file, its record lock this process's (POSIX)
    qint64 device = -1; // the lock file's identity, as entered in the table
    qint64 inode = -1;
};

// Gives the journal just created in folder (empty, and locked as a folder) its
// lock file, locked by this run. Returns false when it cannot.
bool lockNewJournal(PrivateFolder& folder, JournalLock* lock);

// Takes the lock of the journal in folder when no live process holds it: its
// run has ended, and no other recovery has taken it over. A journal without a
// lock file is locked as a folder (folder keeps that lock).
bool tryLockJournal(PrivateFolder& folder, JournalLock* lock);

// Whether a live process holds the lock of the journal name in journals: its
// run, a recovery that took it over, or this process itself. Takes no lock
// that outlasts the call.
bool isJournalLocked(const PrivateFolder& journals, const QString& name);
