#pragma once

#include <QString>

// The exit status that CTest counts as a skipped test.
constexpr int skippedStatus = 77;

// The real compiler named by FBEXT_TEST_FBC; empty (with the message that a
// skipped test prints) when it is not set.
QString realCompilerFromEnvironment(QString* skipMessage);

// Leaves one line, "STATUS<tab>DETAIL", in file (when file is not empty), for
// the summary that scripts/test prints after the tests: STATUS is passed,
// failed, skipped or known-failure.
void recordResult(const QString& file, const QString& status, const QString& detail = {});
