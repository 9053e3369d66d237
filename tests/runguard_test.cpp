// Runs that rewrite files exclude each other (make -j), and a run that cannot
// keep its journal rewrites nothing.

#include "sandbox.h"
#include "sourcetree.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <vector>

namespace {

TEST(RunGuard, EightRunsAtOnceOverSharedIncludesLeaveEveryFileIntact) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    constexpr int runs = 8;
    for (int i = 0; i < runs; ++i)
        tree.addTypicalProgram(QStringLiteral("main%1.bas").arg(i));
    sandbox.scriptCompiler("done\n");
    sandbox.scriptCompilerDelay(50);

    std::vector<std::unique_ptr<QProcess>> started;
    for (int i = 0; i < runs; ++i)
        started.push_back(sandbox.start({QStringLiteral("main%1.bas").arg(i)}));
    for (const auto& run : started) {
        ASSERT_TRUE(run->waitForFinished(60000));
        EXPECT_EQ(run->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run->exitCode(), 0);
        EXPECT_EQ(run->readAllStandardOutput(), "done\n");
        EXPECT_EQ(run->readAllStandardError(), QByteArray());
    }

    tree.expectIntact();
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
    // Each compile saw its file rewritten, not another run's restore of it.
    const QList<CompilerCall> calls = sandbox.calls();
    ASSERT_EQ(calls.size(), runs);
    for (const CompilerCall& call : calls) {
        ASSERT_TRUE(call.hasFile(0));
        EXPECT_FALSE(tree.bytes.values().contains(call.files.value(0)));
        EXPECT_TRUE(call.files.value(0).contains("#include once \"lib/list.bi\""));
    }
}

TEST(RunGuard, ARunWithoutSourceFilesDoesNotWaitForTheLock) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.add(QStringLiteral("slow.bas"), "print 1\n");
    sandbox.scriptCompiler("version 1\n");
    sandbox.scriptCompilerDelay(30000);
    const auto slow = sandbox.start({QStringLiteral("slow.bas")});
    const qint64 compilerPid = sandbox.waitForCompilerStart();
    ASSERT_NE(compilerPid, 0);

    sandbox.scriptCompilerDelay(0);
    const RunResult version = sandbox.run({QStringLiteral("-version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.standardOutput, "version 1\n");
    EXPECT_EQ(::kill(pid_t(compilerPid), 0), 0) << "the -version run waited for the slow one";

    ::kill(pid_t(slow->processId()), SIGTERM);
    ASSERT_TRUE(slow->waitForFinished(30000));
    tree.expectIntact();
}

TEST(RunGuard, AJournalThatCannotBeWrittenStopsTheRunBeforeAnythingIsRewritten) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    sandbox.scriptCompiler("compiled\n");
    // The per-user data directory cannot be created: a file is in its way.
    // (A read-only directory would not stop a test running as root.)
    sandbox.writeFile(QStringLiteral("home/.local/share"), "not a directory");

    const RunResult run = sandbox.run({QStringLiteral("main.bas")});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(run.standardOutput, QByteArray());
    EXPECT_EQ(run.standardError.count('\n'), 1) << run.standardError.constData();
    EXPECT_TRUE(run.standardError.startsWith("fbext: "));
    EXPECT_TRUE(sandbox.calls().isEmpty()) << "the compiler was run";
    tree.expectIntact();

    // Nothing to journal, nothing to refuse.
    const RunResult version = sandbox.run({QStringLiteral("-version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.standardOutput, "compiled\n");
}

} // namespace
