// An interrupted run (Ctrl+C, a stopped build, a closed terminal) puts every
// file back before it ends, and ends the way the signal would have ended it.

#include "sandbox.h"
#include "sourcetree.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

#include <unistd.h>

namespace {

struct InterruptCase {
    const char* name;
    int signal;
    bool compilerGetsItToo; // as from a terminal, which signals the whole job
    bool sentTwice;
    QList<int> compilerIgnores;
};

void PrintTo(const InterruptCase& test, std::ostream* out) {
    *out << test.name;
}

class InterruptDuringCompile : public testing::TestWithParam<InterruptCase> {};

TEST_P(InterruptDuringCompile, RestoresEveryFileAndEndsByTheSignal) {
    const InterruptCase& test = GetParam();
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    tree.add(QStringLiteral("second.bas"), "print 2\n");
    sandbox.scriptCompiler("compiling\n");
    sandbox.scriptCompilerDelay(60000, test.compilerIgnores);

    const auto run = sandbox.start(
        {QStringLiteral("main.bas"), QStringLiteral("-x"), QStringLiteral("second.bas")});
    const qint64 compilerPid = sandbox.waitForCompilerStart();
    ASSERT_NE(compilerPid, 0);
    EXPECT_TRUE(tree.isRewritten(QStringLiteral("main.bas")));
    EXPECT_TRUE(tree.isRewritten(QStringLiteral("lib/common.bi")));
    EXPECT_EQ(journalsIn(sandbox).size(), 1);

    ::kill(pid_t(run->processId()), test.signal);
    if (test.compilerGetsItToo)
        ::kill(pid_t(compilerPid), test.signal);
    if (test.sentTwice)
        ::kill(pid_t(run->processId()), test.signal);
    ASSERT_TRUE(run->waitForFinished(30000));

    EXPECT_EQ(run->exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(run->exitCode(), test.signal);
    EXPECT_EQ(run->readAllStandardError(), QByteArray());
    tree.expectIntact();
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
    EXPECT_NE(::kill(pid_t(compilerPid), 0), 0) << "the compiler was left running";
}

INSTANTIATE_TEST_SUITE_P(
    Signals, InterruptDuringCompile,
    testing::Values(InterruptCase{"CtrlCAtATerminal", SIGINT, true, false, {}},
                    InterruptCase{"SigintToTheProgramOnly", SIGINT, false, false, {}},
                    InterruptCase{"SigtermFromABuildTool", SIGTERM, false, false, {}},
                    InterruptCase{"TerminalClosed", SIGHUP, true, false, {}},
                    InterruptCase{"CtrlBackslashAtATerminal", SIGQUIT, true, false, {}},
                    InterruptCase{"AlarmFromAWrapper", SIGALRM, false, false, {}},
                    InterruptCase{"UserSignal", SIGUSR1, false, false, {}},
                    InterruptCase{"CpuTimeLimit", SIGXCPU, false, false, {}},
                    InterruptCase{"SecondSignalChangesNothing", SIGINT, true, true, {}},
                    InterruptCase{
                        "CompilerThatIgnoresTheSignalIsKilled", SIGTERM, false, false, {SIGTERM}}),
    [](const testing::TestParamInfo<InterruptCase>& info) { return info.param.name; });

// Ctrl+Z stops the whole job, fbext and its compiler alike, and fg lets it go
// on: the stop is no interrupt. The run waits out the stop, ends with the
// compiler's own status, and puts every file back. (SIGSTOP stands for the
// terminal's SIGTSTP, which a process outside a terminal's job may not get.)
TEST(Interrupts, AStoppedAndResumedRunEndsWithTheCompilersStatus) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    sandbox.scriptCompiler("compiled\n", {}, 3);
    sandbox.scriptCompilerDelay(1500);

    const auto run = sandbox.start({QStringLiteral("main.bas")});
    const qint64 compilerPid = sandbox.waitForCompilerStart();
    ASSERT_NE(compilerPid, 0);
    for (const pid_t stopped : {pid_t(run->processId()), pid_t(compilerPid)})
        ::kill(stopped, SIGSTOP);
    EXPECT_FALSE(run->waitForFinished(2500)) << "the stopped run ended";
    EXPECT_TRUE(tree.isRewritten(QStringLiteral("main.bas")));
    for (const pid_t stopped : {pid_t(compilerPid), pid_t(run->processId())})
        ::kill(stopped, SIGCONT);
    ASSERT_TRUE(run->waitForFinished(30000));

    EXPECT_EQ(run->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run->exitCode(), 3);
    EXPECT_EQ(run->readAllStandardOutput(), QByteArray("compiled\n"));
    EXPECT_EQ(run->readAllStandardError(), QByteArray());
    tree.expectIntact();
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

// Output to a pipe whose reader has gone (fbc ... | head -1): the message
// about the second file is lost, and the first file goes back all the same.
TEST(Interrupts, AnOutputWhoseReaderHasGoneLosesOnlyTheMessages) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.add(QStringLiteral("good.bas"),
             "template Box\n  v as t1\nend template\ndim b as Box<<<integer>>>\n");
    tree.add(QStringLiteral("bad.bas"), "template Stack\n  v as t1\n");
    sandbox.scriptCompiler("compiled\n");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    Launch launch;
    launch.outputTo = ends[1];
    const auto run = sandbox.start({QStringLiteral("good.bas"), QStringLiteral("bad.bas")}, launch);
    ::close(ends[1]);
    ASSERT_TRUE(run->waitForFinished(30000));
    EXPECT_EQ(run->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run->exitCode(), 1);
    tree.expectIntact();
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

TEST(Interrupts, WhileWaitingForAnotherRunNothingIsTouched) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    // A template above its code, so that it is rewritten with "#line" directives.
    tree.add(QStringLiteral("lib/shared.bi"),
             "template Box\n  v as t1\nend template\nconst N = 1\n");
    tree.add(QStringLiteral("first.bas"), "#include once \"lib/shared.bi\"\nprint 1\n");
    // Reached through a link, the header is rewritten with other bytes (its
    // "#line" directives name it otherwise), so the runs cannot share it.
    tree.add(QStringLiteral("waiting.bas"), "#include once \"link/shared.bi\"\nprint 2\n");
    ASSERT_TRUE(
        QFile::link(sandbox.path(QStringLiteral("lib")), sandbox.path(QStringLiteral("link"))));
    sandbox.scriptCompiler({});
    sandbox.scriptCompilerDelay(60000);

    const auto first = sandbox.start({QStringLiteral("first.bas")});
    const qint64 compilerPid = sandbox.waitForCompilerStart();
    ASSERT_NE(compilerPid, 0);
    const auto waiting = sandbox.start({QStringLiteral("waiting.bas")});
    ASSERT_TRUE(waiting->waitForStarted());
    EXPECT_FALSE(waiting->waitForFinished(500)); // it waits for the first run's header
    ::kill(pid_t(waiting->processId()), SIGTERM);
    ASSERT_TRUE(waiting->waitForFinished(10000));
    EXPECT_EQ(waiting->exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(waiting->exitCode(), SIGTERM);
    EXPECT_FALSE(tree.isRewritten(QStringLiteral("waiting.bas")));

    ::kill(pid_t(first->processId()), SIGINT);
    ::kill(pid_t(compilerPid), SIGINT);
    ASSERT_TRUE(first->waitForFinished(30000));
    tree.expectIntact();
    EXPECT_EQ(sandbox.calls().size(), 1);
}

TEST(Interrupts, DuringTheArgumentScanNoCompilerRuns) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.add(QStringLiteral("first.bas"), "template Box\n  v as t1\nend template\n"
                                          "dim b as Box<<<integer>>>\n");
    // A file large enough that its pass is still running when the signal comes.
    QByteArray large;
    for (int i = 0; i < 400000; ++i)
        large += "dim shared variable" + QByteArray::number(i) + " as integer = 1\r\n";
    tree.add(QStringLiteral("large.bas"), large);
    tree.add(QStringLiteral("last.bas"), "print 3\n");
    sandbox.scriptCompiler({});

    const auto run = sandbox.start(
        {QStringLiteral("first.bas"), QStringLiteral("large.bas"), QStringLiteral("last.bas")});
    while (!tree.isRewritten(QStringLiteral("first.bas")) && run->state() != QProcess::NotRunning)
        run->waitForFinished(1);
    ::kill(pid_t(run->processId()), SIGINT);
    ASSERT_TRUE(run->waitForFinished(30000));

    EXPECT_EQ(run->exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(run->exitCode(), SIGINT);
    EXPECT_TRUE(sandbox.calls().isEmpty()) << "the compiler ran after the interrupt";
    tree.expectIntact();
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

} // namespace
