#pragma once

#include "runjournal.h"
#include "snapshotregistry.h"

#include <QLockFile>
#include <QString>

#include <memory>

// What a run that rewrites files holds from before it reads the first source
// file until its restore is done: the lock that keeps runs from rewriting the
// same files at once (make -j), and its own journal.
//
// Both live in a per-user directory of the program's own, never beside the
// sources: <data>/fbext (or <temp>/fbext when there is no data location), with
//   run.lock    the QLockFile shared by all runs
//   journals/   one journal per run in progress (or killed before its restore)
//   kept/       journals of runs whose files were changed by someone else
//               before they could be restored; the originals stay there
struct RunGuard {
    QString root;
    std::unique_ptr<QLockFile> runLock;
    RunJournal journal;
};

enum class GuardState { Ready, Unavailable, Interrupted };

// The directory the lock and the journals live in.
QString runGuardRoot();

// Takes the run lock (waiting for other runs, but not past an interrupt),
// restores what dead runs left behind, and starts this run's journal. On
// Unavailable, *reason says why, and nothing may be rewritten.
GuardState acquireRunGuard(RunGuard& guard, QString* reason);

// After the restore: drops the journal when the restore was complete, keeps it
// otherwise (for the next run to retry when a file could not be written back,
// in kept/ when a file was changed by someone else), and releases the run lock.
void releaseRunGuard(RunGuard& guard, const RestoreReport& report);
