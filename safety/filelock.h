#pragma once

#include "filetime.h"
#include "openfile.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

// A source file held by this run: opened once and read and written through
// that opening alone, and locked on the file itself (advisory record locks on
// two bytes far past its end, which every run honours whoever runs it and
// wherever its journal is; the compiler reads the file as usual).
//
// The use lock says how the run holds the file:
//  - alone (a write lock): no other run uses the file; this run may rewrite
//    it and put it back. A run takes a file alone while its passes read and
//    rewrite it, and to put it back;
//  - shared (a read lock): the run uses the file as it is, and so may any
//    number of other runs, each compiling with the same bytes in it. Nobody
//    writes a shared file. A run shares its files for its compile, and takes
//    a file that others share when it holds the very bytes the run would
//    write (snapshotregistry.h checks that).
// Going from alone to shared never lets go of the file; going from shared to
// alone succeeds only while no other run uses it.
//
// The original lock is held, next to the use lock, by a run that shares a
// file as the user's own text: it read the bytes as the file's original and
// has not written it. Another run that meets the file shared may then take its
// bytes as the original, though no journal of this user records them (a run
// that never rewrites a file keeps no journal).
//
// The departure lock is taken by a run that leaves a shared file whose bytes
// it wrote or stands for: it either finds itself the file's last user (takes
// it alone) and puts it back, or hands it over to another user that stands
// for it too. Runs decide that one at a time.
//
// The locks are the process's own: they go when the run ends, however it
// ends, and also when this process closes any other descriptor of the file,
// so nothing in this program opens a held file but its LockedFile.
//
// Runs never deadlock: a run takes its files as it meets them, waiting at
// most a moment for each. When one stays busy, it puts back what it has
// rewritten, lets every file go and takes the whole set it now knows it needs
// again, this time waiting, in one fixed order (device, inode) that every run
// uses; only then does it expand its files again (lockFilesInOrder). A run
// waits without end only while it holds nothing or in that order; a run
// leaving its files waits for no file while it holds a departure lock.
struct LockedFile {
    QString path;       // the canonical path it was opened under
    OpenFile reader;    // holds the locks; reads go through it
    OpenFile writer;    // opened for the first write (or when taken alone) and
                        // kept until the file is let go
    FileStamp identity; // device and inode, as opened
    bool alone = false; // held alone, else shared
    int openError = 0;  // why the file could not be opened, or 0

    // Opens the writer unless it is open; returns 0 or the reason it cannot be.
    int openWriter();
};

enum class LockOutcome {
    Taken,
    NotOpened,         // no regular file there that this user may read
    Busy,              // another run has it alone (tryLockFile only)
    Interrupted,       // an interrupt came while waiting
    HeldByEnclosingRun // the run whose compile started this one holds it
};

// Opens the regular file at path and takes it: alone when no other run uses
// it and this run may write it, else shared (*othersUse says whether another
// run uses it too). Busy while another run has it alone; a patient caller
// first waits a moment for it (a fraction of a second, about what another
// run's passes take), and is answered Busy only when that was not enough.
LockOutcome tryLockFile(const QString& path, LockedFile* file, bool* othersUse = nullptr,
                        bool patient = false);

// From alone to shared, without letting go of the file.
void shareFile(LockedFile& file);

// Takes the original lock (see above) on a file this run holds and has not
// written, before it shares the file.
void holdAsOriginal(LockedFile& file);

// Whether another run that uses the file holds it as the user's own text.
bool othersHoldAsOriginal(const LockedFile& file);

// From shared to alone, when no other run uses the file now.
bool tryTakeAlone(LockedFile& file);

// Whether another run uses the file too.
bool othersUse(const LockedFile& file);

// The departure lock (see above), without waiting; its file must be writable.
bool tryEnterDeparture(LockedFile& file);
void leaveDeparture(LockedFile& file);

// Takes the files at paths, waiting for other runs, in the one order all runs
// use. A file in alonePaths (this run must rewrite it with other bytes than
// those it holds) is waited for until no other run uses it, and held alone;
// any other file is held alone when nobody uses it, and when other runs share
// it, only waited for until nobody has it alone (the passes then take it
// shared). A run that waits says so once on standard error after about two
// seconds, naming the run it waits for where the system tells. A compile
// started from inside another's compile (fbc run by a build step) does not
// wait for a file that the enclosing run holds, which would never come free:
// it stops at once with HeldByEnclosingRun, *busyPath naming the file. Files
// that cannot be opened are left out.
LockOutcome lockFilesInOrder(const QStringList& paths, const QSet<QString>& alonePaths,
                             std::vector<LockedFile>* files, QString* busyPath);

// A pause in a wait for the file that has lasted waited milliseconds: short at
// first (another run's passes or departure take milliseconds), longer as the
// wait goes on (a compile takes seconds). After about two seconds it says,
// once per run, that this run waits for the file.
void pauseWhileWaitingFor(const LockedFile& file, qint64 waited);

// The environment entry ("NAME=value") that tells the compiles started from
// this run's compile which files this run holds: the journal that lists them,
// after those of the runs enclosing this one.
QByteArray enclosingRunsEntry(const QString& journalFolder);
