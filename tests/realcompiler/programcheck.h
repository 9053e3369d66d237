#pragma once

#include "programcase.h"

#include <QString>
#include <QStringList>

struct CheckResult {
    QStringList failures; // how the program falls short of what it must do
    QStringList damage;   // sources not left as they were, journals left behind
};

// Builds the program through fbext installed in front of realCompiler, in a
// copy of its sources, runs it, and checks the build's outcome, the program's
// output and that every source is byte for byte and time for time as before.
CheckResult checkProgram(const ProgramCase& program, const QString& fbextProgram,
                         const QString& realCompiler);

// What a check means for the test suite. A program marked as a known
// failure passes when it fails, and fails when it passes; damage to the
// sources fails it in any case.
struct Verdict {
    QString status;  // "passed", "failed" or "known-failure"
    QString summary; // one line for the summary after the tests
    QString report;  // what the test prints
};

Verdict verdictOf(const ProgramCase& program, const CheckResult& result);

// Where two outputs first differ, for a report; empty when they are equal.
QString outputDifference(const QByteArray& expected, const QByteArray& actual);
