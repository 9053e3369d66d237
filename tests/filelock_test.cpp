// Runs that rewrite the same files take turns on them (make -j, runs of other
// users or with other journal folders), never deadlock, never wait for the
// compile that started them, and a run that cannot keep its journal rewrites
// nothing.

#include "digest.h"
#include "sandbox.h"
#include "sourcetree.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <vector>

#include <unistd.h>

namespace {

TEST(FileLock, EightRunsAtOnceOverSharedIncludesLeaveEveryFileIntact) {
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

TEST(FileLock, ARunWithoutSourceFilesDoesNotWaitForTheLock) {
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

TEST(FileLock, AJournalThatCannotBeWrittenStopsTheRunBeforeAnythingIsRewritten) {
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

// The journal folder of a second run, and whether it runs as another user.
struct SecondRun {
    const char* name;
    bool otherUser;
};

void PrintTo(const SecondRun& test, std::ostream* out) {
    *out << test.name;
}

class SharedHeader : public testing::TestWithParam<SecondRun> {};

TEST_P(SharedHeader, RunsOfOtherJournalFoldersTakeTurnsAndTheWaitingOneSaysSo) {
    if (GetParam().otherUser && ::geteuid() != 0)
        GTEST_SKIP() << "only root can run fbc as another user";
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.add(QStringLiteral("lib/shared.bi"),
             "template Box\ntype Box\n  v as t1\nend type\nend template\n");
    tree.add(QStringLiteral("a.bas"),
             "#include once \"lib/shared.bi\"\ndim a as Box<<<integer>>>\n");
    tree.add(QStringLiteral("b.bas"),
             "#include once \"lib/shared.bi\"\ndim b as Box<<<double>>>\n");
    sandbox.scriptCompiler({});
    sandbox.scriptCompilerDelay(3500);
    const auto first = sandbox.start({QStringLiteral("a.bas")});
    ASSERT_TRUE(first->waitForStarted());
    const qint64 firstPid = first->processId();
    const qint64 firstCompiler = sandbox.waitForCompilerStart();
    ASSERT_NE(firstCompiler, 0);
    QFile::remove(sandbox.path(QStringLiteral("fbc2-started")));

    sandbox.scriptCompilerDelay(0);
    sandbox.setEnvironment(QStringLiteral("XDG_DATA_HOME"),
                           sandbox.path(QStringLiteral("second-user-data")));
    Launch launch;
    launch.unprivileged = GetParam().otherUser;
    const auto second = sandbox.start({QStringLiteral("b.bas")}, launch);
    EXPECT_FALSE(second->waitForFinished(2600)) << "it did not wait for the header";
    EXPECT_EQ(sandbox.calls().size(), 1) << "both compiles had the header at once";
    ASSERT_TRUE(first->waitForFinished(30000));
    ASSERT_TRUE(second->waitForFinished(30000));

    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(second->exitCode(), 0);
    const QByteArray said = second->readAllStandardError();
    EXPECT_EQ(said, "fbext: waiting for " + QFile::encodeName(QDir(sandbox.dir()).canonicalPath()) +
                        "/lib/shared.bi, which another compile is using (process " +
                        QByteArray::number(firstPid) + ": " +
                        QFile::encodeName(sandbox.path(QStringLiteral("fbc"))) + " a.bas)\n")
        << said.constData();
    const QList<CompilerCall> calls = sandbox.calls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_TRUE(calls[1].files.value(0).contains("Box_double"));
    tree.expectIntact();
}

INSTANTIATE_TEST_SUITE_P(FileLock, SharedHeader,
                         testing::Values(SecondRun{"AnotherJournalFolder", false},
                                         SecondRun{"AnotherUser", true}),
                         [](const testing::TestParamInfo<SecondRun>& info) {
                             return info.param.name;
                         });

// Runs that take two headers in opposite orders: either may hold one and want
// the other, and neither may wait for ever.
TEST(FileLock, RunsThatTakeHeadersInOppositeOrdersNeverDeadlock) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    QByteArray big;
    while (big.size() < (1 << 20))
        big += "dim shared v" + QByteArray::number(big.size()) + " as integer\n";
    tree.add(QStringLiteral("x.bi"), "template X\n  v as t1\nend template\n" + big);
    tree.add(QStringLiteral("y.bi"), "template Y\n  v as t1\nend template\n" + big);
    tree.add(QStringLiteral("a.bas"),
             "#include once \"x.bi\"\n#include once \"y.bi\"\ndim p as X<<<integer>>>\n");
    tree.add(QStringLiteral("b.bas"),
             "#include once \"y.bi\"\n#include once \"x.bi\"\ndim p as Y<<<integer>>>\n");
    sandbox.scriptCompiler("done\n");
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        std::vector<std::unique_ptr<QProcess>> started;
        for (int i = 0; i < 4; ++i)
            started.push_back(
                sandbox.start({i % 2 ? QStringLiteral("b.bas") : QStringLiteral("a.bas")}));
        for (const auto& run : started) {
            ASSERT_TRUE(run->waitForFinished(60000)) << "deadlocked";
            EXPECT_EQ(run->exitCode(), 0) << run->readAllStandardError().constData();
            EXPECT_EQ(run->readAllStandardOutput(), "done\n");
        }
        tree.expectIntact();
    }
    for (const CompilerCall& call : sandbox.calls())
        EXPECT_NE(call.files.value(0), tree.bytes.value(call.arguments.value(0)));
}

// A build step that runs fbc from inside a compile: the inner run does not
// wait for files the outer run holds until the outer run ends (it never
// would), and runs as usual over files the outer one does not hold.
TEST(FileLock, ACompileStartedFromACompileNeverWaitsForIt) {
    struct Case {
        const char* inner;
        int status;
        const char* said;
    };
    const Case cases[] = {
        {"b.bas", 1, "is held by the compile that started this one until it ends"},
        {"c.bas", 0, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.inner);
        Sandbox sandbox;
        SourceTree tree{sandbox, {}, {}};
        tree.add(QStringLiteral("lib/shared.bi"), "const N = 1\n");
        tree.add(QStringLiteral("a.bas"), "#include once \"lib/shared.bi\"\nprint N\n");
        tree.add(QStringLiteral("b.bas"), "#include once \"lib/shared.bi\"\nprint N + 1\n");
        tree.add(QStringLiteral("c.bas"), "print 3\n");
        sandbox.scriptCompiler("compiled\n");
        QJsonObject script =
            QJsonDocument::fromJson(sandbox.readFile(QStringLiteral("fbc2-script.json"))).object();
        script.insert(QStringLiteral("nested"), QJsonArray{QString::fromLatin1(test.inner)});
        sandbox.writeFile(QStringLiteral("fbc2-script.json"), QJsonDocument(script).toJson());

        const RunResult outer = sandbox.run({QStringLiteral("a.bas")});
        EXPECT_EQ(outer.exitCode, 0) << outer.standardError.constData();
        const QJsonObject inner =
            QJsonDocument::fromJson(sandbox.readFile(QStringLiteral("fbc2-nested.json"))).object();
        EXPECT_EQ(inner.value(QStringLiteral("exitCode")).toInt(-1), test.status)
            << inner.value(QStringLiteral("exitCode")).toString().toStdString();
        const QString said = inner.value(QStringLiteral("stderr")).toString();
        if (test.status == 0) {
            EXPECT_EQ(said, QString());
        } else {
            EXPECT_TRUE(
                said.startsWith(QStringLiteral("fbext: ") + QDir(sandbox.dir()).canonicalPath() +
                                QStringLiteral("/lib/shared.bi ") + QString::fromLatin1(test.said)))
                << said.toStdString();
            EXPECT_EQ(said.count(u'\n'), 1);
        }
        tree.expectIntact();
    }
}

// Lock files of earlier versions of fbext that can no longer be read (empty,
// a folder, garbage) hold up no run: locks are now the system's own, which
// go when their run ends.
TEST(FileLock, LockFilesThatCannotBeReadHoldUpNoRun) {
    for (const char* kind : {"empty", "folder", "garbage"}) {
        SCOPED_TRACE(kind);
        Sandbox sandbox;
        SourceTree tree{sandbox, {}, {}};
        tree.add(QStringLiteral("main.bas"), "print 1\n");
        sandbox.writeFile(QStringLiteral("left.bas"), "text a killed run wrote\n");
        const QString data = sandbox.userDataDir();
        const QString dead = data + QStringLiteral("/journals/run-7-7-7");
        QDir().mkpath(dead);
        QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner);
        for (const QString& lock :
             {data + QStringLiteral("/run.lock"), dead + QStringLiteral("/lock")}) {
            if (QByteArray(kind) == "folder")
                QDir().mkpath(lock);
            else
                sandbox.writeFile(QDir(sandbox.dir()).relativeFilePath(lock),
                                  QByteArray(kind) == "garbage" ? "\xff\x01 not a lock\n" : "");
        }
        // The killed run's journal, as an earlier version wrote it.
        const QString left = QDir(sandbox.dir()).canonicalPath() + QStringLiteral("/left.bas");
        sandbox.writeFile(QDir(sandbox.dir()).relativeFilePath(dead + QStringLiteral("/manifest")),
                          "fbext journal 1\noriginal 0 0 0 0 " +
                              contentDigest("the original\n").toHex() + ' ' +
                              QFile::encodeName(left) + "\nwrote 0 " +
                              contentDigest("text a killed run wrote\n").toHex() + '\n');
        sandbox.writeFile(
            QDir(sandbox.dir()).relativeFilePath(dead + QStringLiteral("/0.original")),
            "the original\n");
        sandbox.scriptCompiler("compiled\n");

        QElapsedTimer timer;
        timer.start();
        const RunResult run = sandbox.run({QStringLiteral("main.bas")});
        EXPECT_LT(timer.elapsed(), 10000);
        EXPECT_EQ(run.exitCode, 0) << run.standardError.constData();
        EXPECT_EQ(run.standardError, QByteArray());
        EXPECT_EQ(run.standardOutput, "compiled\n");
        EXPECT_EQ(sandbox.readFile(QStringLiteral("left.bas")), "the original\n");
        tree.expectIntact();
        EXPECT_TRUE(journalsIn(sandbox).isEmpty());
    }
}

} // namespace
