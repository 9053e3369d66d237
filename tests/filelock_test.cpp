// Runs that need the same bytes in a file share it during their compiles
// (make -j over modules that include one header); runs that cannot share it
// (other users, other journal folders, other bytes) take turns on it; runs
// never deadlock, never wait for the compile that started them, and lose no
// byte when one of them is killed. A run that cannot keep its journal
// rewrites nothing.

#include "digest.h"
#include "sandbox.h"
#include "sourcetree.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <limits>
#include <memory>
#include <vector>

#include <unistd.h>

namespace {

// Modules that each include a shared template header (which includes
// another), as a parallel build compiles them: odd bytes along the way, so
// any byte lost shows.
struct SharedProgram {
    static constexpr int modules = 8;

    explicit SharedProgram(SourceTree& tree) : tree(tree) {
        tree.add(QStringLiteral("lib/box.bi"),
                 "#include once \"common.bi\"\r\ntemplate Box\r\ntype Box\r\n  v as t1\r\n"
                 "end type\r\nend template\r\n' caf\xe9\r\n");
        // Each header declares a template, so each is rewritten.
        static const char common[] =
            "const N = 3\rconst M = 4\ntemplate Pair\n  v as t1\nend template\n' \0tail\xff\n";
        tree.add(QStringLiteral("lib/common.bi"), QByteArray(common, sizeof common - 1));
        // A header no run rewrites, which every run shares all the same.
        tree.add(QStringLiteral("lib/plain.bi"), "const P = 5\r\n");
        for (int i = 0; i < modules; ++i)
            tree.add(module(i), "#include once \"lib/box.bi\"\n#include once \"lib/plain.bi\"\n"
                                "dim b as Box<<<integer>>>\nprint " +
                                    QByteArray::number(i) + "\n");
        // Rewrites nothing, and shares only the plain header.
        tree.add(QStringLiteral("other.bas"), "#include once \"lib/plain.bi\"\nprint 9\n");
    }

    static QString module(int i) { return QStringLiteral("main%1.bas").arg(i); }

    std::vector<std::unique_ptr<QProcess>> startAll(const Sandbox& sandbox) const {
        std::vector<std::unique_ptr<QProcess>> started;
        for (int i = 0; i < modules; ++i)
            started.push_back(sandbox.start({module(i)}));
        return started;
    }

    // Every compile of a module had its instance, made from the header's own
    // template: no run took another's rewritten header for the original.
    void expectEveryModuleCompiledExpanded(const Sandbox& sandbox) const {
        for (const CompilerCall& call : sandbox.calls()) {
            if (!call.arguments.value(0).startsWith(QStringLiteral("main")))
                continue;
            SCOPED_TRACE(call.arguments.value(0).toStdString());
            EXPECT_TRUE(call.files.value(0).contains("type Box_integer"));
            EXPECT_FALSE(call.files.value(0).contains("<<<"));
        }
    }

    SourceTree& tree;
};

TEST(FileLock, EightRunsAtOnceOverSharedIncludesCompileTogetherAndLeaveEveryFileIntact) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    const SharedProgram program(tree);
    sandbox.scriptCompiler("done\n");
    sandbox.scriptCompilerDelay(3000);

    for (const auto& run : program.startAll(sandbox)) {
        ASSERT_TRUE(run->waitForFinished(60000));
        EXPECT_EQ(run->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run->exitCode(), 0);
        EXPECT_EQ(run->readAllStandardOutput(), "done\n");
        EXPECT_EQ(run->readAllStandardError(), QByteArray());
    }

    tree.expectIntact();
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
    const QList<CompilerCall> calls = sandbox.calls();
    ASSERT_EQ(calls.size(), SharedProgram::modules);
    program.expectEveryModuleCompiledExpanded(sandbox);
    // The runs shared the headers instead of taking turns: all eight
    // compilers ran at one moment.
    qint64 lastStart = 0;
    qint64 firstEnd = std::numeric_limits<qint64>::max();
    for (const CompilerCall& call : calls) {
        lastStart = std::max(lastStart, call.startedMs);
        firstEnd = std::min(firstEnd, call.endedMs);
    }
    EXPECT_LT(lastStart, firstEnd) << "the compiles did not all run at once";
}

// One of eight runs is killed at a random moment (reading, writing, sharing,
// handing a header over or putting it back): the others compile with their
// files rewritten from the originals and end as usual, and every file is as
// it was once they have ended and the next run has put back what the killed
// run left (as the last user of a header, or in the middle of a write).
TEST(FileLock, OneOfEightRunsKilledAtARandomMomentLosesNoByte) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    const SharedProgram program(tree);
    sandbox.scriptCompiler("done\n");
    sandbox.scriptCompilerDelay(100);
    QElapsedTimer timer;
    timer.start();
    for (const auto& run : program.startAll(sandbox))
        ASSERT_TRUE(run->waitForFinished(60000));
    const qint64 allMs = timer.elapsed();

    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(seed);
    QRandomGenerator random(seed);
    QMap<QString, int> kills; // module -> how often its run was killed
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        const auto started = program.startAll(sandbox);
        const int victim = int(random.bounded(SharedProgram::modules));
        ++kills[SharedProgram::module(victim)];
        QThread::usleep(random.bounded(quint32(allMs * 1000)));
        ::kill(pid_t(started[victim]->processId()), SIGKILL);
        for (int i = 0; i < SharedProgram::modules; ++i) {
            ASSERT_TRUE(started[i]->waitForFinished(60000)) << i;
            if (i == victim)
                continue;
            EXPECT_EQ(started[i]->exitCode(), 0) << i;
            EXPECT_EQ(started[i]->readAllStandardOutput(), "done\n") << i;
            expectOnlyCutFilesReported(started[i]->readAllStandardError());
        }
        QThread::msleep(150); // the killed run's compiler ends too

        const RunResult next = sandbox.run({QStringLiteral("other.bas")});
        EXPECT_EQ(next.exitCode, 0);
        expectOnlyCutFilesReported(next.standardError);
        tree.expectIntact();
        ASSERT_TRUE(journalsIn(sandbox).isEmpty());
    }
    // Every compile of a run that lived saw its module expanded. A killed
    // run's compiler may start after the kill (the child execs it later) and
    // read what the next run put back: only those may see the original.
    for (const CompilerCall& call : sandbox.calls()) {
        const QString module = call.arguments.value(0);
        if (!module.startsWith(QStringLiteral("main")) ||
            (call.files.value(0).contains("type Box_integer") &&
             !call.files.value(0).contains("<<<")))
            continue;
        EXPECT_GT(kills[module]--, 0)
            << qPrintable(module) << " compiled unexpanded in a run that lived";
    }
}

// A run whose compiler is slow: the other runs compile with the headers it
// shares at the same time and end without waiting for it, as does a run over
// a file it does not share; the headers stay rewritten until its compile is
// over, and then it, their last user, puts them back.
TEST(FileLock, AHolderWithASlowCompilerHoldsUpNoOtherRunAndLosesNoFile) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    const SharedProgram program(tree);
    sandbox.scriptCompiler("done\n");
    sandbox.scriptCompilerDelay(6000);
    const auto slow = sandbox.start({SharedProgram::module(0)});
    const qint64 slowCompiler = sandbox.waitForCompilerStart();
    ASSERT_NE(slowCompiler, 0);

    sandbox.scriptCompilerDelay(0);
    std::vector<std::unique_ptr<QProcess>> others;
    for (int i = 1; i < SharedProgram::modules; ++i)
        others.push_back(sandbox.start({SharedProgram::module(i)}));
    others.push_back(sandbox.start({QStringLiteral("other.bas")}));
    for (const auto& run : others) {
        ASSERT_TRUE(run->waitForFinished(60000));
        EXPECT_EQ(run->exitCode(), 0);
        EXPECT_EQ(run->readAllStandardError(), QByteArray());
    }
    EXPECT_EQ(::kill(pid_t(slowCompiler), 0), 0) << "the others waited for the slow compile";
    EXPECT_TRUE(tree.isRewritten(QStringLiteral("lib/box.bi"))) << "put back under a compile";
    EXPECT_TRUE(tree.isRewritten(QStringLiteral("lib/common.bi")));

    ASSERT_TRUE(slow->waitForFinished(30000));
    EXPECT_EQ(slow->exitCode(), 0);
    EXPECT_EQ(slow->readAllStandardError(), QByteArray());
    EXPECT_EQ(sandbox.calls().size(), SharedProgram::modules + 1);
    program.expectEveryModuleCompiledExpanded(sandbox);
    tree.expectIntact();
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

// A run killed while it shares the headers: another run that starts then
// neither waits for the live one nor touches the headers it compiles with,
// and the live one puts them back at its end. A run killed as the headers'
// last user (the one that wrote them has handed them over and ended) leaves
// them rewritten, and the next run puts them back.
TEST(FileLock, AKilledHolderLeavesItsFilesToTheLiveOnesOrToTheNextRun) {
    for (const bool killedLast : {false, true}) {
        SCOPED_TRACE(killedLast ? "killed last" : "killed while another lives");
        Sandbox sandbox;
        SourceTree tree{sandbox, {}, {}};
        const SharedProgram program(tree);
        sandbox.scriptCompiler("done\n");
        sandbox.scriptCompilerDelay(killedLast ? 200 : 5000);
        const auto writer = sandbox.start({SharedProgram::module(0)});
        const qint64 writerCompiler = sandbox.waitForCompilerStart();
        ASSERT_NE(writerCompiler, 0);
        QFile::remove(sandbox.path(QStringLiteral("fbc2-started")));
        sandbox.scriptCompilerDelay(60000);
        const auto killed = sandbox.start({SharedProgram::module(1)});
        const qint64 killedCompiler = sandbox.waitForCompilerStart();
        ASSERT_NE(killedCompiler, 0);
        if (killedLast) {
            ASSERT_TRUE(writer->waitForFinished(30000));
            EXPECT_EQ(writer->exitCode(), 0);
        }
        ::kill(pid_t(killed->processId()), SIGKILL);
        ::kill(pid_t(killedCompiler), SIGKILL);
        ASSERT_TRUE(killed->waitForFinished(10000));
        EXPECT_TRUE(tree.isRewritten(QStringLiteral("lib/box.bi")));

        sandbox.scriptCompilerDelay(0);
        const RunResult next = sandbox.run({QStringLiteral("other.bas")});
        EXPECT_EQ(next.exitCode, 0);
        EXPECT_EQ(next.standardError, QByteArray());
        if (!killedLast) {
            EXPECT_EQ(::kill(pid_t(writerCompiler), 0), 0) << "the next run waited";
            EXPECT_TRUE(tree.isRewritten(QStringLiteral("lib/box.bi")))
                << "put back under a compile";
            ASSERT_TRUE(writer->waitForFinished(30000));
            EXPECT_EQ(writer->exitCode(), 0);
            EXPECT_EQ(writer->readAllStandardError(), QByteArray());
        }
        tree.expectIntact();
        EXPECT_TRUE(journalsIn(sandbox).isEmpty());
    }
}

// A run waits for the headers of a run that is killed in the middle of
// writing them (its hook pauses it before its first write, then kills it at
// the given step): the waiting run finds the killed run's text, or a write
// cut short, in a header it now takes alone, and compiles with the header's
// original, not with that text (put back from the killed run's journal).
TEST(FileLock, ARunThatFindsAKilledRunsTextInAFileUsesItsOriginal) {
    const struct {
        const char* name;
        int killAtStep; // four steps a write: common.bi first, then box.bi
        bool cut;
    } cases[] = {
        {"common.bi cut halfway", 2, true},
        {"common.bi written, not yet recorded as done", 4, false},
        {"common.bi done, box.bi written", 8, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        Sandbox sandbox;
        SourceTree tree{sandbox, {}, {}};
        const SharedProgram program(tree);
        sandbox.scriptCompiler("done\n");
        const QString pause = sandbox.pauseFile();
        sandbox.setEnvironment(QStringLiteral("FBEXT_KILL_AT_WRITE_STEP"),
                               QString::number(test.killAtStep));
        const auto killed = sandbox.startPausedBeforeWrite(1, {SharedProgram::module(0)});
        ASSERT_TRUE(QFile::exists(pause));

        sandbox.useFaultInjectingProgram(false);
        const auto waiting = sandbox.start({SharedProgram::module(1)});
        EXPECT_FALSE(waiting->waitForFinished(300)) << "it did not wait for the headers";
        QFile::remove(pause);
        ASSERT_TRUE(killed->waitForFinished(10000));
        ASSERT_EQ(killed->exitStatus(), QProcess::CrashExit);
        ASSERT_TRUE(waiting->waitForFinished(30000));

        EXPECT_EQ(waiting->exitCode(), 0);
        const QByteArray said = waiting->readAllStandardError();
        EXPECT_EQ(said.count('\n'), test.cut ? 1 : 0) << said.constData();
        expectOnlyCutFilesReported(said);
        ASSERT_EQ(sandbox.calls().size(), 1);
        program.expectEveryModuleCompiledExpanded(sandbox);
        tree.expectIntact();

        const RunResult next = sandbox.run({QStringLiteral("other.bas")});
        EXPECT_EQ(next.exitCode, 0);
        EXPECT_EQ(next.standardError, QByteArray());
        tree.expectIntact();
        EXPECT_TRUE(journalsIn(sandbox).isEmpty());
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

// A journal folder that cannot be made at all (a file in its way, a home that
// is not there, as in a package build with HOME=/nonexistent): a run that must
// rewrite a file stops before it rewrites anything; sources that use neither
// extension need no journal and compile as with the plain compiler.
// (A read-only folder would not stop a test running as root.)
TEST(FileLock, AJournalThatCannotBeMadeStopsOnlyARunThatRewrites) {
    struct Case {
        const char* name;
        void (*prepare)(Sandbox& sandbox);
    };
    const Case cases[] = {
        {"a file is where the data folder goes",
         [](Sandbox& sandbox) {
             sandbox.writeFile(QStringLiteral("home/.local/share"), "not a directory");
         }},
        {"the data home is a file",
         [](Sandbox& sandbox) {
             sandbox.writeFile(QStringLiteral("data-file"), "not a directory");
             sandbox.setEnvironment(QStringLiteral("XDG_DATA_HOME"),
                                    sandbox.path(QStringLiteral("data-file")));
         }},
        {"the home is not there",
         [](Sandbox& sandbox) {
             sandbox.writeFile(QStringLiteral("no-folders"), "not a directory");
             sandbox.setEnvironment(QStringLiteral("HOME"),
                                    sandbox.path(QStringLiteral("no-folders/home")));
             sandbox.setEnvironment(QStringLiteral("XDG_DATA_HOME"), QString());
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Sandbox sandbox;
        SourceTree tree{sandbox, {}, {}};
        tree.addTypicalProgram();
        tree.add(QStringLiteral("plain.bas"), "#include once \"plain.bi\"\r\nprint N\r\n");
        tree.add(QStringLiteral("plain.bi"), "const N = 3\n");
        sandbox.scriptCompiler("compiled\n");
        test.prepare(sandbox);

        const RunResult run = sandbox.run({QStringLiteral("main.bas")});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.standardOutput, QByteArray());
        EXPECT_EQ(run.standardError.count('\n'), 1) << run.standardError.constData();
        EXPECT_TRUE(run.standardError.startsWith(
            "fbext: cannot use " + QFile::encodeName(QDir::toNativeSeparators(sandbox.dir()))))
            << run.standardError.constData();
        EXPECT_TRUE(run.standardError.contains("for the journal that protects your source files"))
            << run.standardError.constData();
        EXPECT_TRUE(sandbox.calls().isEmpty()) << "the compiler was run";
        tree.expectIntact();

        // Nothing to journal, nothing to refuse.
        const RunResult plain = sandbox.run({QStringLiteral("plain.bas")});
        EXPECT_EQ(plain.exitCode, 0) << plain.standardError.constData();
        EXPECT_EQ(plain.standardError, QByteArray());
        EXPECT_EQ(plain.standardOutput, "compiled\n");
        EXPECT_EQ(sandbox.calls().size(), 1);
        tree.expectIntact();

        const RunResult version = sandbox.run({QStringLiteral("-version")});
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.standardOutput, "compiled\n");
    }
}

// A second run that cannot share the header with the first: it keeps its
// journal elsewhere (as another user does), or it reaches the header through
// a link, so its "#line" directives name it otherwise and its bytes differ.
struct SecondRun {
    const char* name;
    bool otherUser;
    bool otherJournalFolder;
    const char* includeFolder;
};

void PrintTo(const SecondRun& test, std::ostream* out) {
    *out << test.name;
}

class SharedHeader : public testing::TestWithParam<SecondRun> {};

TEST_P(SharedHeader, RunsThatCannotShareItTakeTurnsAndTheWaitingOneSaysSo) {
    if (GetParam().otherUser && ::geteuid() != 0)
        GTEST_SKIP() << "only root can run fbc as another user";
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.add(QStringLiteral("lib/shared.bi"),
             "template Box\ntype Box\n  v as t1\nend type\nend template\nconst SIZE = 2\n");
    tree.add(QStringLiteral("a.bas"),
             "#include once \"lib/shared.bi\"\ndim a as Box<<<integer>>>\n");
    tree.add(QStringLiteral("b.bas"), "#include once \"" + QByteArray(GetParam().includeFolder) +
                                          "/shared.bi\"\ndim b as Box<<<double>>>\n");
    ASSERT_TRUE(
        QFile::link(sandbox.path(QStringLiteral("lib")), sandbox.path(QStringLiteral("link"))));
    sandbox.scriptCompiler({});
    sandbox.scriptCompilerDelay(3500);
    const auto first = sandbox.start({QStringLiteral("a.bas")});
    ASSERT_TRUE(first->waitForStarted());
    const qint64 firstPid = first->processId();
    const qint64 firstCompiler = sandbox.waitForCompilerStart();
    ASSERT_NE(firstCompiler, 0);
    QFile::remove(sandbox.path(QStringLiteral("fbc2-started")));

    sandbox.scriptCompilerDelay(0);
    if (GetParam().otherJournalFolder)
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
                         testing::Values(SecondRun{"AnotherJournalFolder", false, true, "lib"},
                                         SecondRun{"AnotherUser", true, true, "lib"},
                                         SecondRun{"OtherBytesInIt", false, false, "link"}),
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

// A build step that runs fbc from inside a compile: the inner run shares the
// files the outer run holds when it needs the same bytes in them, does not
// wait for one it needs other bytes in until the outer run ends (it never
// would), and runs as usual over files the outer one does not hold.
TEST(FileLock, ACompileStartedFromACompileNeverWaitsForIt) {
    struct Case {
        const char* outer;
        const char* inner;
        int status;
        const char* said;
    };
    const Case cases[] = {
        {"a.bas", "b.bas", 0, ""},
        // The header reached through a link: its "#line" directives name it
        // otherwise, so its rewritten bytes differ.
        {"a.bas", "d.bas", 1, "is held by the compile that started this one until it ends"},
        {"a.bas", "c.bas", 0, ""},
        // An outer run that rewrites nothing keeps no journal, and still
        // shares the header it holds.
        {"e.bas", "f.bas", 0, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.inner);
        Sandbox sandbox;
        SourceTree tree{sandbox, {}, {}};
        // A template above its code, so that it is rewritten with "#line" directives.
        tree.add(QStringLiteral("lib/shared.bi"),
                 "template Box\n  v as t1\nend template\nconst N = 1\n");
        tree.add(QStringLiteral("a.bas"), "#include once \"lib/shared.bi\"\nprint N\n");
        tree.add(QStringLiteral("b.bas"), "#include once \"lib/shared.bi\"\nprint N + 1\n");
        tree.add(QStringLiteral("c.bas"), "print 3\n");
        tree.add(QStringLiteral("d.bas"), "#include once \"link/shared.bi\"\nprint N + 2\n");
        tree.add(QStringLiteral("lib/plain.bi"), "const P = 1\n");
        tree.add(QStringLiteral("e.bas"), "#include once \"lib/plain.bi\"\nprint P\n");
        tree.add(QStringLiteral("f.bas"), "#include once \"lib/plain.bi\"\nprint P + 1\n");
        ASSERT_TRUE(
            QFile::link(sandbox.path(QStringLiteral("lib")), sandbox.path(QStringLiteral("link"))));
        sandbox.scriptCompiler("compiled\n");
        QJsonObject script =
            QJsonDocument::fromJson(sandbox.readFile(QStringLiteral("fbc2-script.json"))).object();
        script.insert(QStringLiteral("nested"), QJsonArray{QString::fromLatin1(test.inner)});
        sandbox.writeFile(QStringLiteral("fbc2-script.json"), QJsonDocument(script).toJson());

        const RunResult outer = sandbox.run({QString::fromLatin1(test.outer)});
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
