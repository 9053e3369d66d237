// The real-compiler harness's verdicts, with scripts standing in for fbext and
// for the compiler, so that every way a program can fail is seen to fail the
// test: wrong output, a wrong first error, a changed source, a journal left
// behind, and a known failure that passes.

#include "programcheck.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A compiler that makes ./main print the first line of main.bas.
const char compiler[] = "#!/bin/sh\n"
                        "printf '#!/bin/sh\\necho \"%s\"\\n' \"$(head -n 1 main.bas)\" > main\n"
                        "chmod +x main\n";

const char passOn[] = "exec \"$(dirname \"$0\")/fbc2\" \"$@\"\n";

struct Row {
    const char* name;
    const char* fbext; // the shell script installed as fbc
    const char* expectedOutput;
    const char* expectedError;
    bool markedKnown;
    const char* status;
    const char* reportHas;
};

const Row rows[] = {
    {"passes", passOn, "hello\n", "", false, "passed", "passed"},
    {"wrong output", passOn, "bye\n", "", false, "failed", "expected: \"bye\""},
    {"marked but passes", passOn, "hello\n", "", true, "failed", "remove that file"},
    {"marked and fails", "echo broken; exit 1\n", "hello\n", "", true, "known-failure",
     "known failure (issue 7: the fault)"},
    {"first error as expected",
     "echo \"$PWD/main.bas(3) error 42: Variable not declared, x\"; exit 1\n", "",
     "main.bas(3) error 42", false, "passed", "passed"},
    {"first error elsewhere", "echo \"main.bas(4) error 42: Variable not declared\"; exit 1\n", "",
     "main.bas(3) error 42", false, "failed", "it is \"main.bas(4) error 42"},
    {"error expected, build succeeds", passOn, "", "main.bas(3) error 42", false, "failed",
     "the build succeeded"},
    {"source changed", "printf x >> main.bas\n", "hello\n", "", true, "failed",
     "main.bas: 6 bytes before the run, 7 bytes after"},
    {"source time changed", "touch -d 2001-01-01 main.bas\n", "hello\n", "", false, "failed",
     "main.bas: modification time"},
    {"journal left", "mkdir -p \"$XDG_DATA_HOME/fbext/journals/7\"\n", "hello\n", "", false,
     "failed", "fbext left"},
};

QString writeScript(const QTemporaryDir& dir, const QString& name, const QByteArray& body) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(body);
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

TEST(ProgramCheck, EveryWayToFailFailsTheTest) {
    QTemporaryDir dir;
    const QString realCompiler = writeScript(dir, QStringLiteral("realfbc"), compiler);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Every fbext but the ones that stop the build hands on to the compiler.
        QByteArray script = QByteArray("#!/bin/sh\n") + row.fbext;
        if (!script.contains("exit 1") && !script.contains("exec "))
            script += passOn;
        ProgramCase program;
        program.files.insert(QStringLiteral("main.bas"), "hello\n");
        program.commands = {{QStringLiteral("main.bas")}};
        program.expectedOutput = row.expectedOutput;
        program.expectedError = row.expectedError;
        if (row.markedKnown) {
            program.knownFailure = QStringLiteral("issue 7: the fault");
            program.knownFailureMarker = QStringLiteral("known-failure");
        }
        const Verdict verdict = verdictOf(
            program,
            checkProgram(program, writeScript(dir, QStringLiteral("fbext"), script), realCompiler));
        EXPECT_EQ(verdict.status, QString::fromLatin1(row.status)) << verdict.report.toStdString();
        EXPECT_TRUE(verdict.report.contains(QString::fromLatin1(row.reportHas)))
            << verdict.report.toStdString();
    }
}

TEST(ProgramCheck, APlainBuildThatPrintsOtherwiseFails) {
    QTemporaryDir dir;
    ProgramCase program;
    program.files.insert(QStringLiteral("main.bas"), "hello\n");
    program.plainFiles.insert(QStringLiteral("main.bas"), "other\n");
    program.commands = {{QStringLiteral("main.bas")}};
    program.expectedOutput = "hello\n";
    program.compareWithPlain = true;
    const CheckResult result = checkProgram(
        program, writeScript(dir, QStringLiteral("fbext"), QByteArray("#!/bin/sh\n") + passOn),
        writeScript(dir, QStringLiteral("realfbc"), compiler));
    ASSERT_EQ(result.failures.size(), 1);
    EXPECT_TRUE(result.failures[0].contains(QStringLiteral("built without fbext")));
    EXPECT_TRUE(result.failures[0].contains(QStringLiteral("actual:   \"other\"")));
}

} // namespace
