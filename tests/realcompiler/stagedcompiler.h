#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// One run of the real compiler behind fbext: when it started and ended, in
// nanoseconds since the epoch.
struct CompilerRun {
    qint64 startedNs = 0;
    qint64 endedNs = 0; // 0: it never ended
};

// fbext installed in front of the real FreeBASIC compiler, as a user has it,
// in a temporary directory: bin/fbc is the built fbext, bin/fbc2 a script
// that runs the real compiler and notes when it starts and ends, include/ a
// link to the real compiler's include folder (as an installation under a
// prefix has it beside bin/, so a program may name it as ../include/freebasic),
// and home/ is the home of every run, so fbext's per-user directory (lock,
// journals) is this installation's own.
class StagedCompiler {
public:
    StagedCompiler(const QString& fbextProgram, const QString& realCompiler);

    QString problem() const { return setupProblem; } // empty when the staging worked
    QString dir() const { return temporary.path(); }
    QString fbc() const;
    QProcessEnvironment environment() const;

    // What fbext left behind in its per-user directory: journals of runs that
    // did not finish and originals it moved aside. Empty after clean runs.
    QStringList leftovers() const;

    // Every run of the real compiler so far, in the order they started.
    QList<CompilerRun> compilerRuns() const;

private:
    QTemporaryDir temporary;
    QString setupProblem;
};
