// A run killed before its restore (SIGKILL, a crash, a power cut) is repaired
// by the next run, from the journal the killed run left behind.

#include "digest.h"
#include "runjournal.h"
#include "sandbox.h"
#include "sourcetree.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Starts a run over the sandbox's main.bas and kills it (and its compiler)
// while the sources hold rewritten text.
void killRunDuringCompile(const Sandbox& sandbox, const SourceTree& tree) {
    sandbox.scriptCompilerDelay(60000);
    const auto run = sandbox.start({QStringLiteral("main.bas")});
    const qint64 compilerPid = sandbox.waitForCompilerStart();
    ASSERT_NE(compilerPid, 0);
    ::kill(pid_t(run->processId()), SIGKILL);
    ::kill(pid_t(compilerPid), SIGKILL);
    ASSERT_TRUE(run->waitForFinished(10000));
    ASSERT_TRUE(tree.isRewritten(QStringLiteral("main.bas")));
    ASSERT_TRUE(tree.isRewritten(QStringLiteral("lib/common.bi")));
    QFile::remove(sandbox.path(QStringLiteral("fbc2-started")));
    sandbox.scriptCompilerDelay(0);
}

TEST(Recovery, NextRunRestoresTheFilesOfAKilledRun) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    sandbox.scriptCompiler("ok\n");
    killRunDuringCompile(sandbox, tree);
    ASSERT_EQ(journalsIn(sandbox).size(), 1);

    // The next run compiles something else entirely; the killed run's files
    // are back before it starts.
    sandbox.writeFile(QStringLiteral("other/unrelated.bas"), "print 3\n");
    const RunResult next = sandbox.run({QStringLiteral("other/unrelated.bas")});
    EXPECT_EQ(next.exitCode, 0);
    EXPECT_EQ(next.standardOutput, "ok\n");
    EXPECT_EQ(next.standardError, QByteArray());
    tree.expectIntact();
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

TEST(Recovery, AJournalOfAnEarlierVersionWithSha1DigestsIsStillHonoured) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    sandbox.scriptCompiler("ok\n");
    killRunDuringCompile(sandbox, tree);
    ASSERT_EQ(journalsIn(sandbox).size(), 1);

    // Earlier versions recorded SHA-1 digests: of each original, and of the
    // text written into each file, which the files hold now.
    QList<QByteArray> texts = tree.bytes.values();
    for (const QString& name : tree.bytes.keys())
        texts.append(sandbox.readFile(name));
    const QString manifest = sandbox.userDataDir() + QStringLiteral("/journals/") +
                             journalsIn(sandbox).first() + QStringLiteral("/manifest");
    QFile file(manifest);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray records = file.readAll();
    file.close();
    int replaced = 0;
    for (const QByteArray& text : std::as_const(texts)) {
        const QByteArray digest = contentDigest(text).toHex();
        replaced += records.count(digest);
        records.replace(digest, QCryptographicHash::hash(text, QCryptographicHash::Sha1).toHex());
    }
    EXPECT_GE(replaced, 6); // three originals, three written texts
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(records), records.size());
    file.close();

    const RunResult next = sandbox.run({QStringLiteral("main.bas")});
    EXPECT_EQ(next.exitCode, 0);
    EXPECT_EQ(next.standardError, QByteArray());
    tree.expectIntact();
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

TEST(Recovery, AFileChangedSinceTheKilledRunIsLeftAlone) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    sandbox.scriptCompiler({});
    killRunDuringCompile(sandbox, tree);

    // The user fixes the mangled file by hand before the next run.
    const QByteArray edited = "' written again by hand\nprint 1\n";
    sandbox.writeFile(QStringLiteral("main.bas"), edited);
    const QByteArray originalMain = tree.bytes.take(QStringLiteral("main.bas"));

    const RunResult next = sandbox.run({QStringLiteral("-version")});
    EXPECT_EQ(next.exitCode, 0);
    EXPECT_EQ(next.standardError, QByteArray()) << "a run without sources repairs nothing";
    EXPECT_TRUE(tree.isRewritten(QStringLiteral("lib/list.bi")));

    sandbox.writeFile(QStringLiteral("x.bas"), "");
    const RunResult repairing = sandbox.run({QStringLiteral("x.bas")});
    EXPECT_EQ(repairing.exitCode, 0);
    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), edited);
    tree.expectIntact(); // the includes are back
    const QList<QByteArray> lines = repairing.standardError.split('\n');
    ASSERT_EQ(lines.size(), 2) << repairing.standardError.constData();
    EXPECT_TRUE(lines[0].contains(QFile::encodeName(sandbox.path(QStringLiteral("main.bas")))));

    // The original stays with the user, outside the journals the runs look at.
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
    const QDir kept(sandbox.userDataDir() + QStringLiteral("/kept"));
    const QStringList keptRuns = kept.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(keptRuns.size(), 1);
    QFile copy(kept.filePath(keptRuns[0] + QStringLiteral("/0.original")));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), originalMain);
    EXPECT_TRUE(lines[0].contains(QFile::encodeName(copy.fileName())));

    const RunResult quiet = sandbox.run({QStringLiteral("x.bas")});
    EXPECT_EQ(quiet.standardError, QByteArray()) << "a kept original is reported once";
}

TEST(Recovery, AJournalOfALiveRunIsNotTouched) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    sandbox.writeFile(QStringLiteral("busy.bas"), "text another run wrote\n");
    sandbox.scriptCompiler({});

    // A journal whose run is alive: its lock is held (here by this test).
    PrivateFolder journals;
    QString reason;
    ASSERT_TRUE(
        openPrivateFolder(sandbox.userDataDir() + QStringLiteral("/journals"), &journals, &reason));
    RunJournal live;
    ASSERT_TRUE(live.create(journals, &reason)) << qPrintable(reason);
    const QString busy = QDir(sandbox.dir()).canonicalPath() + QStringLiteral("/busy.bas");
    const int index = live.recordOriginal(busy, readFileStamp(busy), "the original\n", FileTime());
    ASSERT_EQ(index, 0);
    ASSERT_TRUE(live.recordWriteStarting(index, contentDigest("text another run wrote\n")));
    live.recordWriteDone(index);

    sandbox.writeFile(QStringLiteral("mine.bas"), "print 1\n");
    const RunResult run = sandbox.run({QStringLiteral("mine.bas")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(sandbox.readFile(QStringLiteral("busy.bas")), "text another run wrote\n");
    EXPECT_EQ(journalsIn(sandbox).size(), 1);

    // Its run ends during the next run's compile: that run repairs the
    // journal as it ends, not the run after it.
    QFile::remove(sandbox.path(QStringLiteral("fbc2-started")));
    sandbox.scriptCompilerDelay(1000);
    const auto running = sandbox.start({QStringLiteral("mine.bas")});
    ASSERT_NE(sandbox.waitForCompilerStart(), 0);
    live.abandon();
    ASSERT_TRUE(running->waitForFinished(10000));
    EXPECT_EQ(running->exitCode(), 0);
    EXPECT_EQ(sandbox.readFile(QStringLiteral("busy.bas")), "the original\n");
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

// A program of several files of every kind: a main file, headers included
// from a subfolder, a header with CR LF line ends, and a big one. Each
// declares or uses a generic type, so each is rewritten.
// Runs the program with the write hook on main.bas, killed at the given step
// of its writes (counted over the whole run); the next runs are of the
// program itself again.
RunResult runKilledAtWriteStep(Sandbox& sandbox, int step) {
    sandbox.useFaultInjectingProgram(true);
    sandbox.setEnvironment(QStringLiteral("FBEXT_KILL_AT_WRITE_STEP"), QString::number(step));
    const RunResult run = sandbox.run({QStringLiteral("main.bas")});
    sandbox.useFaultInjectingProgram(false);
    return run;
}

void addProgramOfEveryKind(SourceTree& tree) {
    tree.add(QStringLiteral("main.bas"), "#include once \"lib/list.bi\"\n"
                                         "#include once \"crlf.bi\"\n"
                                         "#include once \"big.bi\"\n"
                                         "dim s as Stack<<<integer>>>\n");
    tree.add(QStringLiteral("lib/list.bi"), "#include once \"common.bi\"\n"
                                            "template Stack\n"
                                            "type Stack\n  top as t1\nend type\n"
                                            "end template\n");
    tree.add(QStringLiteral("lib/common.bi"),
             "const N = 3\ntemplate Pair\n  v as t1\nend template\n");
    tree.add(QStringLiteral("crlf.bi"), "type Shape\r\n  x as integer\r\nend type\r\n"
                                        "type Circle extends Shape\r\nend type\r\n"
                                        "template Cr\r\n  v as t1\r\nend template\r\n");
    QByteArray big = "template Big\n  v as t1\nend template\n";
    while (big.size() < (2 << 20))
        big += "dim shared variable" + QByteArray::number(big.size()) + " as integer = 1\n";
    tree.add(QStringLiteral("big.bi"), big);
}

TEST(Recovery, AKillAtAnyStepOfAnyWriteLosesNoByte) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    addProgramOfEveryKind(tree);
    sandbox.scriptCompiler("compiled\n");
    // Each killed run is one of the program with the write hook; the run
    // after it, of the program itself, must repair everything.
    int killed = 0;
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        const RunResult run = runKilledAtWriteStep(sandbox, step);
        if (run.exitCode == 0)
            break; // every step of every write has been a kill point
        ASSERT_EQ(run.exitCode, -1) << "not killed: " << run.standardError.constData();
        ++killed;

        const RunResult repair = sandbox.run({QStringLiteral("main.bas")});
        EXPECT_EQ(repair.exitCode, 0) << repair.standardError.constData();
        EXPECT_EQ(repair.standardOutput, "compiled\n");
        expectOnlyCutFilesReported(repair.standardError);
        tree.expectIntact();
        EXPECT_TRUE(journalsIn(sandbox).isEmpty());
    }
    EXPECT_EQ(killed, 5 * 2 * 4) << "five files, each rewritten and put back, four steps each";
    tree.expectIntact();
}

// A child of the run may hold copies of the run's descriptors when the run is
// killed: the compiler it is starting does until it executes. The run is
// dead all the same, and the next run repairs its files at once.
TEST(Recovery, AChildThatOutlivesAKilledRunKeepsNoFileFromTheNextRun) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    sandbox.writeFile(QStringLiteral("other.bas"), "print 1\n");
    sandbox.scriptCompiler({});
    const QString childLives = sandbox.path(QStringLiteral("child-lives"));
    sandbox.setEnvironment(QStringLiteral("FBEXT_CHILD_OUTLIVES_KILL"), QStringLiteral("1"));
    sandbox.setEnvironment(QStringLiteral("FBEXT_PAUSE_FILE"), childLives);
    int killed = 0;
    for (int step = 1; !::testing::Test::HasFailure(); ++step) {
        SCOPED_TRACE(step);
        sandbox.writeFile(QStringLiteral("child-lives"), {});
        const RunResult run = runKilledAtWriteStep(sandbox, step);
        if (run.exitCode == 0)
            break; // every step of every write has been a kill point
        ASSERT_EQ(run.exitCode, -1) << "not killed: " << run.standardError.constData();
        ++killed;
        ASSERT_EQ(journalsIn(sandbox).size(), 1);

        // The child still runs; the next run repairs the files all the same.
        const RunResult next = sandbox.run({QStringLiteral("other.bas")});
        EXPECT_EQ(next.exitCode, 0) << next.standardError.constData();
        expectOnlyCutFilesReported(next.standardError);
        tree.expectIntact();
        EXPECT_TRUE(journalsIn(sandbox).isEmpty());
        QFile::remove(childLives); // the child ends
    }
    QFile::remove(childLives);
    EXPECT_EQ(killed, 3 * 2 * 4) << "three files, each rewritten and put back, four steps each";
}

TEST(Recovery, AFileTheKilledRunOnlyReadIsNotReportedWhenEditedLater) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    sandbox.writeFile(QStringLiteral("other.bas"), "print 1\n");
    sandbox.scriptCompiler({});
    // Killed as it is about to write its first file: every file is read and
    // its original journaled, none written.
    ASSERT_EQ(runKilledAtWriteStep(sandbox, 1).exitCode, -1);
    ASSERT_EQ(journalsIn(sandbox).size(), 1);
    tree.expectIntact();

    const QByteArray edited = "' edited by hand\nprint 2\n";
    sandbox.writeFile(QStringLiteral("main.bas"), edited);
    const RunResult next = sandbox.run({QStringLiteral("other.bas")});
    EXPECT_EQ(next.exitCode, 0);
    EXPECT_EQ(next.standardError, QByteArray()) << "it was only read: nothing to say about it";
    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), edited);
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
    EXPECT_FALSE(QDir(sandbox.userDataDir() + QStringLiteral("/kept")).exists());
}

TEST(Recovery, TwoHundredKillsAtRandomMomentsLoseNoByte) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    addProgramOfEveryKind(tree);
    sandbox.writeFile(QStringLiteral("other.bas"), "print 1\n");
    sandbox.scriptCompiler({});
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(sandbox.run({QStringLiteral("main.bas")}).exitCode, 0);
    const qint64 runMs = timer.elapsed();

    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(seed);
    QRandomGenerator random(seed);
    for (int kill = 0; kill < 200; ++kill) {
        SCOPED_TRACE(kill);
        const auto run = sandbox.start({QStringLiteral("main.bas")});
        ASSERT_TRUE(run->waitForStarted());
        QThread::usleep(random.bounded(quint32(runMs * 1200)));
        ::kill(pid_t(run->processId()), SIGKILL);
        ASSERT_TRUE(run->waitForFinished(10000));

        // The next run, over another file, first puts back what the killed
        // one left.
        const RunResult next = sandbox.run({QStringLiteral("other.bas")});
        ASSERT_EQ(next.exitCode, 0) << next.standardError.constData();
        expectOnlyCutFilesReported(next.standardError);
        tree.expectIntact();
        ASSERT_TRUE(journalsIn(sandbox).isEmpty());
    }
}

} // namespace
