#pragma once

#include "journalformat.h"
#include "privatefolder.h"

struct LockedFile;

enum class RecoveryOutcome {
    Complete,   // every dead run's files are back, or left with the user
    Incomplete, // some file could not be put back; its journal stays for the next run
};

// Puts back the files of earlier runs that ended before their restore (killed,
// crashed, machine switched off), from the journals they left in the journal
// folder root. A journal still locked by a live run, or not the user's own, is
// left alone. Each file is taken alone first (filelock.h); one that another
// run is using is not waited for: when a live run of this user shares it and
// stands for it (it keeps the same original), that run will put it back;
// otherwise the journal stays for a later run. Once taken:
//  - a file that holds exactly a text the dead run wrote gets its original back;
//  - a file whose last write never finished (the run died in the middle of it)
//    gets its original back too, after what it held is kept in the journal,
//    which then moves to kept/ and one line says where;
//  - a file changed, replaced or deleted since is left alone (never
//    re-created), named in one line with the place its original is kept;
//  - a file the dead run only read needs nothing.
// A file that cannot be written back is named too, and its journal stays. A
// journal that keeps what a file held before its original went back moves to
// kept/ once nothing else in it needs putting back.
RecoveryOutcome recoverInterruptedRuns(const PrivateFolder& root);

// Puts back, from the journal journalName in journals (a dead run's), a file
// that this run holds alone and whose write by that run was cut short (its
// entry), saying so as recovery does. Returns false when that journal cannot
// be taken over (its run lives, or another run is repairing it).
bool repairCutFile(const PrivateFolder& journals, const QString& journalName,
                   const JournalEntry& entry, LockedFile& file);
