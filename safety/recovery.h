#pragma once

#include "privatefolder.h"

enum class RecoveryOutcome {
    Complete,    // every dead run's files are back, or left with the user
    Incomplete,  // some file could not be put back; its journal stays for the next run
    Interrupted, // an interrupt came while waiting for a file
};

// Puts back the files of earlier runs that ended before their restore (killed,
// crashed, machine switched off), from the journals they left in the journal
// folder root. A journal still locked by a live run, or not the user's own, is
// left alone. Each file is taken from other runs first (filelock.h), then:
//  - a file that holds exactly a text the dead run wrote gets its original back;
//  - a file whose last write never finished (the run died in the middle of it)
//    gets its original back too, after what it held is kept in the journal,
//    which then moves to kept/ and one line says where;
//  - a file changed, replaced or deleted since is left alone (never
//    re-created), named in one line with the place its original is kept;
//  - a file the dead run only read needs nothing.
// A file that cannot be written back is named too, and its journal stays.
RecoveryOutcome recoverInterruptedRuns(const PrivateFolder& root);
