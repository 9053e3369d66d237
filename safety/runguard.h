#pragma once

#include "privatefolder.h"
#include "runjournal.h"
#include "snapshotregistry.h"

#include <QString>

// What a run over source files keeps from before it reads the first one until
// its restore is done: the journal folder, a folder of the user's own (never
// beside the sources): <data>/fbext, or <temp>/fbext when there is no data
// location, laid out as journalformat.h says; and its own journal in it, made
// when the run first keeps an original (snapshotregistry.h), again after the
// run let its files go to take them in order.
struct RunGuard {
    PrivateFolder root;
    PrivateFolder journals;
    RunJournal journal;
};

enum class GuardState {
    Ready,
    // The journal folder is not there and cannot be made (no writable home, a
    // file in its way): no earlier run can have left a journal there either.
    // The run may go on as long as it rewrites nothing.
    WithoutJournal,
    Unavailable,
};

// The folder the journals live in.
QString runGuardRoot();

// Opens the journal folder, refusing one that is not the user's own
// (privatefolder.h), and puts back what dead runs left behind. On Unavailable,
// *reason says why, and nothing may be read or rewritten; on WithoutJournal it
// says why no file may be rewritten.
GuardState acquireRunGuard(RunGuard& guard, QString* reason);

// After the restore: drops the journal when the restore was complete, keeps it
// otherwise (for the next run to retry when a file could not be written back,
// in kept/ when a file was changed by someone else).
void releaseJournal(RunGuard& guard, const RestoreReport& report);

// After a complete restore: puts back what runs that ended during this one
// left behind. A run killed in the instant this one started (its process
// still ending, its journal still locked) was taken for a live one then, and
// its files would hold rewritten text until the next run.
void recoverRunsEndedMeanwhile(const RunGuard& guard);
