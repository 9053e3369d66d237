// The restore puts back only what this program wrote: a file saved by someone
// else during the compile keeps the newer content, and a file that cannot be
// written back is reported with the place its original is kept.

#include "sandbox.h"
#include "sourcefile.h"
#include "sourcetree.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The path named at the end of a report line ("... kept in PATH").
QString keptPathIn(const QByteArray& line) {
    const qsizetype at = line.lastIndexOf(" kept in ");
    return at < 0 ? QString() : QFile::decodeName(line.mid(at + 9).trimmed());
}

// Starts fbc as an ordinary user (see Launch).
std::unique_ptr<QProcess> startUnprivileged(const Sandbox& sandbox, const QStringList& arguments,
                                            bool ownSandbox) {
    Launch launch;
    launch.unprivileged = true;
    launch.ownSandbox = ownSandbox;
    return sandbox.start(arguments, launch);
}

TEST(FileRestore, AFileSavedDuringTheCompileKeepsTheSavedContent) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    sandbox.scriptCompiler("built\n", {}, 3);
    sandbox.scriptCompilerDelay(1000);

    const auto run = sandbox.start({QStringLiteral("main.bas")});
    ASSERT_NE(sandbox.waitForCompilerStart(), 0);
    const QByteArray saved = "' saved by the editor during the compile\n";
    sandbox.writeFile(QStringLiteral("main.bas"), saved);
    ASSERT_TRUE(run->waitForFinished(30000));

    EXPECT_EQ(run->exitCode(), 3) << "the compiler's status is still the run's";
    EXPECT_EQ(run->readAllStandardOutput(), "built\n");
    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), saved);
    const QByteArray originalMain = tree.bytes.take(QStringLiteral("main.bas"));
    tree.expectIntact();

    const QByteArray report = run->readAllStandardError();
    EXPECT_EQ(report.count('\n'), 1) << report.constData();
    EXPECT_TRUE(report.contains(QFile::encodeName(sandbox.path(QStringLiteral("main.bas")))));
    EXPECT_EQ(readAll(keptPathIn(report)), originalMain);
    EXPECT_TRUE(journalsIn(sandbox).isEmpty()) << "a kept original is no job for the next run";
}

// A file deleted, moved away or saved as a new file during the compile: the
// name no longer leads to the file fbext rewrote. The line says so and names
// the kept copy of this very file's original; nothing is made again.
struct EditDuringCompile {
    const char* name;
    const char* said; // how the message says what happened
    void (*edit)(const Sandbox& sandbox);
    bool mainLeft; // whether main.bas exists afterwards (holding savedNow)
};

const QByteArray savedNow = "' saved as a new file during the compile\n";

bool renameIn(const Sandbox& sandbox, const char* from, const char* to) {
    return ::rename(QFile::encodeName(sandbox.path(QString::fromLatin1(from))),
                    QFile::encodeName(sandbox.path(QString::fromLatin1(to)))) == 0;
}

void PrintTo(const EditDuringCompile& test, std::ostream* out) {
    *out << test.name;
}

class EditDuringCompileTest : public testing::TestWithParam<EditDuringCompile> {};

TEST_P(EditDuringCompileTest, TheLineNamesTheKeptOriginalOfThatFile) {
    const EditDuringCompile& test = GetParam();
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    sandbox.scriptCompiler("built\n", {}, 0);
    sandbox.scriptCompilerDelay(1000);

    const auto run = sandbox.start({QStringLiteral("main.bas")});
    ASSERT_NE(sandbox.waitForCompilerStart(), 0);
    test.edit(sandbox);
    ASSERT_TRUE(run->waitForFinished(30000));

    EXPECT_EQ(run->exitCode(), 0) << "the compiler's status is still the run's";
    const QByteArray originalMain = tree.bytes.take(QStringLiteral("main.bas"));
    tree.expectIntact();
    const QByteArray report = run->readAllStandardError();
    EXPECT_EQ(report.count('\n'), 1) << report.constData();
    EXPECT_TRUE(
        report.startsWith("fbext: " + QFile::encodeName(sandbox.path(QStringLiteral("main.bas"))) +
                          ' ' + test.said + ';'))
        << report.constData();
    EXPECT_EQ(readAll(keptPathIn(report)), originalMain) << report.constData();
    EXPECT_EQ(QFile::exists(sandbox.path(QStringLiteral("main.bas"))), test.mainLeft);
    if (test.mainLeft) {
        EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), savedNow);
    }
}

INSTANTIATE_TEST_SUITE_P(
    FileRestore, EditDuringCompileTest,
    testing::Values(
        EditDuringCompile{"Deleted",
                          "was deleted or moved during the compile and is not made again",
                          [](const Sandbox& sandbox) {
                              ASSERT_TRUE(QFile::remove(sandbox.path(QStringLiteral("main.bas"))));
                          },
                          false},
        EditDuringCompile{
            "Moved", "was deleted or moved during the compile and is not made again",
            [](const Sandbox& sandbox) { ASSERT_TRUE(renameIn(sandbox, "main.bas", "moved.bas")); },
            false},
        EditDuringCompile{"SavedAsANewFile", "was saved during the compile and is left as it is",
                          [](const Sandbox& sandbox) {
                              sandbox.writeFile(QStringLiteral("main.bas.new"), savedNow);
                              ASSERT_TRUE(renameIn(sandbox, "main.bas.new", "main.bas"));
                          },
                          true}),
    [](const testing::TestParamInfo<EditDuringCompile>& info) { return info.param.name; });

TEST(FileRestore, AFailedRestoreIsReportedAndRepairedByALaterRun) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    // During the compile the run comes to write no more than a byte into any
    // file (as on a full disk): nothing can be put back. Permissions do not
    // bind root, so as root the program runs as an unprivileged user who owns
    // the sandbox.
    sandbox.scriptCompiler({});
    sandbox.scriptCompilerParentFileSizeLimit(1);
    const auto run = startUnprivileged(sandbox, {QStringLiteral("main.bas")}, true);
    ASSERT_TRUE(run->waitForFinished(30000));

    EXPECT_NE(run->exitCode(), 0);
    const QList<QByteArray> lines = run->readAllStandardError().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3) << lines.join('\n').constData();
    const QString locked = sandbox.path(QStringLiteral("lib/list.bi"));
    const QByteArray* listLine = nullptr;
    for (const QByteArray& line : lines) {
        EXPECT_TRUE(line.startsWith("fbext: could not restore ")) << line.constData();
        if (line.contains(QFile::encodeName(locked) + ' '))
            listLine = &line;
    }
    ASSERT_NE(listLine, nullptr);
    EXPECT_EQ(readAll(keptPathIn(listLine->left(listLine->indexOf(", and the next")))),
              tree.bytes.value(QStringLiteral("lib/list.bi")));
    EXPECT_TRUE(tree.isRewritten(QStringLiteral("lib/list.bi")));
    EXPECT_EQ(journalsIn(sandbox).size(), 1) << "the journal stays for the next run";

    // The user makes the header read-only meanwhile: the next runs put back
    // what they can, say what happened to the header, and compile nothing.
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadOther));
    sandbox.scriptCompiler({});
    for (const char* said :
         {"could not put back %1 (Permission denied), which an earlier compile rewrote and did "
          "not put back",
          "%1 still cannot be put back (Permission denied); an earlier compile rewrote it and "
          "could not put it back either"}) {
        const auto refused = startUnprivileged(sandbox, {QStringLiteral("main.bas")}, false);
        ASSERT_TRUE(refused->waitForFinished(30000));
        EXPECT_EQ(refused->exitCode(), 1);
        const QByteArray refusal = refused->readAllStandardError();
        EXPECT_EQ(refusal.count('\n'), 2) << refusal.constData();
        EXPECT_TRUE(refusal.contains(QByteArray(said).replace("%1", QFile::encodeName(locked))))
            << refusal.constData();
        EXPECT_EQ(sandbox.calls().size(), 1);
        EXPECT_FALSE(tree.isRewritten(QStringLiteral("main.bas")));
    }

    // Once the file can be written again, the next run puts it back.
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const auto next = startUnprivileged(sandbox, {QStringLiteral("main.bas")}, false);
    ASSERT_TRUE(next->waitForFinished(30000));
    EXPECT_EQ(next->exitCode(), 0);
    EXPECT_EQ(next->readAllStandardError(), QByteArray());
    tree.expectIntact();
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

TEST(FileRestore, AFileItMayWriteButNotOwnIsRestoredThoughItsTimeCannotBe) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs a file owned by someone else that this user may write";
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    const QByteArray original =
        "template Box\n  v as t1\nend template\ndim b as Box<<<integer>>>\n";
    tree.add(QStringLiteral("shared.bas"), original);
    QFile::setPermissions(sandbox.path(QStringLiteral("shared.bas")),
                          QFileDevice::Permissions(0x6666)); // rw for everyone, owned by root
    sandbox.scriptCompiler({});

    const auto run = startUnprivileged(sandbox, {QStringLiteral("shared.bas")}, false);
    ASSERT_TRUE(run->waitForFinished(30000));
    ASSERT_EQ(sandbox.calls().size(), 1);
    EXPECT_NE(sandbox.calls().first().files.value(0), original) << "it was not rewritten";
    EXPECT_EQ(run->exitCode(), 0);
    EXPECT_EQ(run->readAllStandardError(), QByteArray());
    EXPECT_EQ(sandbox.readFile(QStringLiteral("shared.bas")), original);
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

// An editor's save between the moment fbext reads a file and the moment it
// rewrites it: the save wins, nothing more is rewritten, what was is put
// back, and nothing is compiled. That holds for a save while the rewrite's
// announcement goes to disk too, after the file was checked a first time.
const QByteArray savedText = "' saved by the editor\nprint 2\n";
const QByteArray mainText = "#include once \"lib/header.bi\"\ndim b as Box<<<integer>>>\nprint N\n";

struct EditBeforeRewrite {
    const char* name;
    const char* said; // how the message says what happened
    void (*edit)(const Sandbox& sandbox);
    QByteArray saved = savedText; // what the edit leaves in main.bas
    bool afterAnnouncing = false; // made once main.bas's rewrite is announced
};

void PrintTo(const EditBeforeRewrite& test, std::ostream* out) {
    *out << test.name;
}

class EditBeforeRewriteTest : public testing::TestWithParam<EditBeforeRewrite> {};

TEST_P(EditBeforeRewriteTest, TheEditWinsAndNothingIsCompiled) {
    const EditBeforeRewrite& test = GetParam();
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.add(QStringLiteral("lib/header.bi"),
             "const N = 1\ntemplate Box\n  v as t1\nend template\n");
    tree.add(QStringLiteral("main.bas"), mainText);
    sandbox.scriptCompiler("compiled\n");
    // The header is rewritten first; the run stops before main.bas's rewrite.
    const QString pause = sandbox.pauseFile();
    std::unique_ptr<QProcess> run;
    if (test.afterAnnouncing) {
        sandbox.useFaultInjectingProgram(true);
        sandbox.setEnvironment(QStringLiteral("FBEXT_PAUSE_AFTER_ANNOUNCING"), QStringLiteral("1"));
        sandbox.setEnvironment(QStringLiteral("FBEXT_PAUSE_FILE"), pause);
        run = sandbox.start({QStringLiteral("main.bas")});
        for (int waited = 0; !QFile::exists(pause) && waited < 20000; waited += 5)
            QThread::msleep(5);
    } else {
        run = sandbox.startPausedBeforeWrite(2, {QStringLiteral("main.bas")});
    }
    ASSERT_TRUE(QFile::exists(pause));
    EXPECT_TRUE(tree.isRewritten(QStringLiteral("lib/header.bi")));
    EXPECT_FALSE(tree.isRewritten(QStringLiteral("main.bas")));
    test.edit(sandbox);
    QFile::remove(pause);
    ASSERT_TRUE(run->waitForFinished(30000));

    EXPECT_EQ(run->exitCode(), 1);
    EXPECT_EQ(run->readAllStandardOutput(), QByteArray());
    const QByteArray report = run->readAllStandardError();
    EXPECT_EQ(report, "fbext: " + QFile::encodeName(sandbox.path(QStringLiteral("main.bas"))) +
                          ' ' + test.said +
                          " after fbext read it; nothing was compiled, and every file is as it "
                          "was\n");
    EXPECT_TRUE(sandbox.calls().isEmpty()) << "the compiler was run";
    tree.bytes.remove(QStringLiteral("main.bas"));
    tree.expectIntact(); // the header is back
    if (QByteArray(test.name) == "Deleted")
        EXPECT_FALSE(QFile::exists(sandbox.path(QStringLiteral("main.bas")))) << "made again";
    else
        EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), test.saved);
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    FileRestore, EditBeforeRewriteTest,
    testing::Values(EditBeforeRewrite{"SavedInPlace", "was changed",
                                      [](const Sandbox& sandbox) {
                                          sandbox.writeFile(QStringLiteral("main.bas"), savedText);
                                      }},
                    EditBeforeRewrite{
                        "SavedAsANewFile", "was replaced by another file",
                        [](const Sandbox& sandbox) {
                            sandbox.writeFile(QStringLiteral("main.bas.new"), savedText);
                            ASSERT_EQ(
                                ::rename(
                                    QFile::encodeName(sandbox.path(QStringLiteral("main.bas.new"))),
                                    QFile::encodeName(sandbox.path(QStringLiteral("main.bas")))),
                                0);
                        }},
                    // Within the clock's tick only the bytes can tell.
                    EditBeforeRewrite{"SavedWithTheSameSize", "was changed",
                                      [](const Sandbox& sandbox) {
                                          sandbox.writeFile(QStringLiteral("main.bas"),
                                                            QByteArray(mainText).replace('N', 'M'));
                                      },
                                      QByteArray(mainText).replace('N', 'M')},
                    EditBeforeRewrite{"Deleted", "was deleted",
                                      [](const Sandbox& sandbox) {
                                          QFile::remove(sandbox.path(QStringLiteral("main.bas")));
                                      }}),
    [](const testing::TestParamInfo<EditBeforeRewrite>& info) { return info.param.name; });

// The same saves, made once main.bas was checked and its rewrite announced.
INSTANTIATE_TEST_SUITE_P(
    FileRestoreAfterAnnouncing, EditBeforeRewriteTest,
    testing::Values(EditBeforeRewrite{"SavedInPlace", "was changed",
                                      [](const Sandbox& sandbox) {
                                          sandbox.writeFile(QStringLiteral("main.bas"), savedText);
                                      },
                                      savedText, true},
                    EditBeforeRewrite{"SavedWithTheSameSize", "was changed",
                                      [](const Sandbox& sandbox) {
                                          sandbox.writeFile(QStringLiteral("main.bas"),
                                                            QByteArray(mainText).replace('N', 'M'));
                                      },
                                      QByteArray(mainText).replace('N', 'M'), true}),
    [](const testing::TestParamInfo<EditBeforeRewrite>& info) { return info.param.name; });

// A file saved after fbext checked it, while its write waits for the writes
// announced with it (the journal announces the writes that wait together with
// one flush, then makes them one by one): the save wins over the rewrite and
// over the restore alike, and one line names the file. Killed after such a
// file was found saved, the next run leaves it as it is too.
TEST(FileRestore, AFileSavedWhileItsAnnouncedWriteWaitsKeepsTheSave) {
    const struct {
        const char* name;
        int pauseBeforeWrite; // three rewrites (common.bi, list.bi, main.bas), then the restores
        bool compiled;
        int killAtStep; // four a write; 0: not killed
        // Killed: the file whose restore was announced but not yet begun. The
        // next run puts its original back and keeps the save; it leaves the
        // files found saved before as they are.
        const char* putBack;
    } cases[] = {
        {"before the rewrite of the first header", 1, false, 0, nullptr},
        {"before the restores", 4, true, 0, nullptr},
        {"before the restores, killed as the last begins", 4, true, 15, "lib/common.bi"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        Sandbox sandbox;
        SourceTree tree{sandbox, {}, {}};
        tree.addTypicalProgram();
        sandbox.writeFile(QStringLiteral("plain.bas"), "print 1\n");
        sandbox.scriptCompiler("built\n");
        const QString pause = sandbox.pauseFile();
        sandbox.setEnvironment(QStringLiteral("FBEXT_KILL_AT_WRITE_STEP"),
                               QString::number(test.killAtStep));
        const auto run =
            sandbox.startPausedBeforeWrite(test.pauseBeforeWrite, {QStringLiteral("main.bas")});
        ASSERT_TRUE(QFile::exists(pause));
        // Before the rewrites the header written first is saved; before the
        // restores, every file.
        const QStringList saved =
            test.compiled ? tree.bytes.keys() : QStringList{QStringLiteral("lib/common.bi")};
        const auto savedText = [](const QString& path) {
            return "' saved by the editor: " + path.toUtf8() + '\n';
        };
        for (const QString& path : saved) {
            ASSERT_EQ(tree.isRewritten(path), test.compiled) << qPrintable(path);
            sandbox.writeFile(path, savedText(path));
        }
        QFile::remove(pause);
        ASSERT_TRUE(run->waitForFinished(30000));
        EXPECT_EQ(sandbox.calls().size(), test.compiled ? 1 : 0);
        QByteArray said = run->readAllStandardError();
        if (test.killAtStep) {
            EXPECT_EQ(run->exitStatus(), QProcess::CrashExit);
            sandbox.useFaultInjectingProgram(false);
            const RunResult next = sandbox.run({QStringLiteral("plain.bas")});
            EXPECT_EQ(next.exitCode, 0);
            said = next.standardError;
            EXPECT_EQ(said.count('\n'), saved.size()) << said.constData();
            const QString putBack = QString::fromLatin1(test.putBack);
            const QByteArray putBackLine =
                said.mid(said.indexOf("fbext: " + QFile::encodeName(sandbox.path(putBack)) +
                                      " was being written"))
                    .split('\n')
                    .first();
            EXPECT_EQ(readAll(keptPathIn(putBackLine)), savedText(putBack)) << said.constData();
        } else {
            EXPECT_EQ(run->exitCode(), test.compiled ? 0 : 1);
            EXPECT_EQ(said.count('\n'), saved.size()) << said.constData();
        }
        for (const QString& path : saved) {
            if (path == QLatin1String(test.putBack))
                continue; // its original is back
            EXPECT_EQ(sandbox.readFile(path), savedText(path)) << qPrintable(path);
            const char* how = test.killAtStep ? " was changed after an interrupted run"
                              : test.compiled ? " was saved during the compile"
                                              : " was changed after fbext read it";
            EXPECT_TRUE(said.contains(QFile::encodeName(sandbox.path(path)) + how))
                << said.constData();
            tree.bytes.remove(path);
        }
        tree.expectIntact();
        EXPECT_TRUE(journalsIn(sandbox).isEmpty());
    }
}

// The journal stops taking records in the middle of the run (its disk fills
// up; here its file size limit is lowered while the run waits before its
// first write): the run stops, and a file it rewrote cannot be put back, as
// that would not be announced first. The stop names each such file and does
// not say that every file is as it was; the next run puts them back.
TEST(FileRestore, AJournalThatFillsUpMidRunDoesNotReportEveryFileBack) {
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    tree.addTypicalProgram();
    sandbox.writeFile(QStringLiteral("plain.bas"), "print 1\n");
    sandbox.scriptCompiler("built\n");
    const QString pause = sandbox.pauseFile();
    const auto run = sandbox.startPausedBeforeWrite(1, {QStringLiteral("main.bas")});
    ASSERT_TRUE(QFile::exists(pause));
    const QStringList journals = journalsIn(sandbox);
    ASSERT_EQ(journals.size(), 1);
    const qint64 manifestSize = QFileInfo(sandbox.userDataDir() + QStringLiteral("/journals/") +
                                          journals.first() + QStringLiteral("/manifest"))
                                    .size();
    ASSERT_GT(manifestSize, 0);
    const rlimit full{rlim_t(manifestSize), rlim_t(manifestSize)};
    ASSERT_EQ(::prlimit(pid_t(run->processId()), RLIMIT_FSIZE, &full, nullptr), 0);
    QFile::remove(pause);
    ASSERT_TRUE(run->waitForFinished(30000));

    EXPECT_EQ(run->exitCode(), 1);
    EXPECT_TRUE(sandbox.calls().isEmpty()) << "the compiler was run";
    const QByteArray said = run->readAllStandardError();
    EXPECT_TRUE(said.startsWith("fbext: could not restore ")) << said.constData();
    EXPECT_TRUE(said.endsWith("; nothing was compiled\n")) << said.constData();
    EXPECT_FALSE(said.contains("every file is as it was")) << said.constData();

    sandbox.useFaultInjectingProgram(false);
    const RunResult next = sandbox.run({QStringLiteral("plain.bas")});
    EXPECT_EQ(next.exitCode, 0);
    expectOnlyCutFilesReported(next.standardError);
    tree.expectIntact();
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

// A file that must be rewritten but cannot be, or cannot be read whole: the
// run stops before compiling with one line naming it and why, and puts back
// what it rewrote before (other.bi).
struct StopCase {
    const char* name;
    const char* said; // the line after "fbext: ", %1 standing for the header's path
    Launch launch;
    // Makes the header at path what the case needs; false when it cannot here.
    bool (*prepare)(const QString& path);
};

void PrintTo(const StopCase& test, std::ostream* out) {
    *out << test.name;
}

const QByteArray headerText = [] {
    // It grows when it is rewritten: an instance comes in before its use.
    QByteArray text = "' a header of 4000 bytes\ntemplate Box\n  v as t1\nend template\n"
                      "dim shared h as Box<<<integer>>>\n";
    while (text.size() < 4000)
        text += "const C" + QByteArray::number(text.size()) + " = 1\n";
    return text.left(3999) + '\n';
}();

// A folder outside the sandbox for a header the run's user does not own, or
// one on a file system of its own (mounted by the case, taken away after it).
struct OutsideFolder {
    QTemporaryDir folder;
    ~OutsideFolder() {
        if (readFileStamp(folder.path()).device !=
            readFileStamp(QFileInfo(folder.path()).absolutePath()).device)
            QProcess::execute(QStringLiteral("umount"), {folder.path()});
    }
};

class StopBeforeCompiling : public testing::TestWithParam<StopCase> {};

TEST_P(StopBeforeCompiling, NamesTheFileAndPutsEverythingBack) {
    const StopCase& test = GetParam();
    Sandbox sandbox;
    SourceTree tree{sandbox, {}, {}};
    OutsideFolder elsewhere;
    const bool outside = QByteArray(test.name).startsWith("Outside");
    const QString header = outside ? elsewhere.folder.filePath(QStringLiteral("header.bi"))
                                   : sandbox.path(QStringLiteral("lib/header.bi"));
    sandbox.writeFile(QStringLiteral("lib/header.bi"), headerText);
    if (outside) {
        ASSERT_TRUE(writeFileBytes(header, headerText));
    }
    tree.add(QStringLiteral("other.bi"),
             "const OTHER = 2\ntemplate Pair\n  v as t1\nend template\n");
    tree.add(QStringLiteral("main.bas"), "#include once \"other.bi\"\n#include once \"" +
                                             QFile::encodeName(header) + "\"\nprint 1\n");
    sandbox.scriptCompiler("compiled\n");
    if (!test.prepare(header))
        GTEST_SKIP() << "cannot be set up here";
    const bool headerKnown = readFileStamp(header).size == headerText.size();

    const auto run = sandbox.start({QStringLiteral("main.bas")}, test.launch);
    ASSERT_TRUE(run->waitForFinished(30000));

    EXPECT_EQ(run->exitCode(), 1);
    EXPECT_EQ(run->readAllStandardOutput(), QByteArray());
    const QByteArray said = run->readAllStandardError();
    EXPECT_EQ(said, "fbext: " + QByteArray(test.said).replace("%1", QFile::encodeName(header)) +
                        "; nothing was compiled, and every file is as it was\n")
        << said.constData();
    EXPECT_TRUE(sandbox.calls().isEmpty()) << "the compiler was run";
    tree.expectIntact();
    if (headerKnown) {
        EXPECT_EQ(readFileBytes(header), headerText);
    }
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

Launch unprivileged() {
    Launch launch;
    launch.unprivileged = true;
    return launch;
}

Launch withFileSizeLimit(qint64 bytes) {
    Launch launch;
    launch.fileSizeLimit = bytes;
    return launch;
}

bool asRootOnly() {
    return ::geteuid() == 0;
}

INSTANTIATE_TEST_SUITE_P(
    FileRestore, StopBeforeCompiling,
    testing::Values(
        StopCase{"ReadOnly", "cannot rewrite %1: Permission denied", unprivileged(),
                 [](const QString& path) {
                     return QFile::setPermissions(path, QFileDevice::ReadOwner |
                                                            QFileDevice::ReadGroup |
                                                            QFileDevice::ReadOther);
                 }},
        StopCase{"OutsideAndAnotherUsers", "cannot rewrite %1: Permission denied", unprivileged(),
                 [](const QString& path) {
                     // Readable by all, writable by its owner, root, alone.
                     return asRootOnly() &&
                            QFile::setPermissions(QFileInfo(path).absolutePath(),
                                                  QFileDevice::Permissions(0x7755)) &&
                            QFile::setPermissions(path, QFileDevice::Permissions(0x6444));
                 }},
        StopCase{"DiskFull", "cannot rewrite %1: File too large", withFileSizeLimit(4020),
                 [](const QString&) { return true; }},
        StopCase{"OutsideOnAReadOnlyFileSystem", "cannot rewrite %1: Read-only file system",
                 Launch(),
                 [](const QString& path) {
                     // A small file system of its own holding the header,
                     // then made read-only.
                     const QString folder = QFileInfo(path).absolutePath();
                     const QByteArray bytes = readFileBytes(path).value_or(QByteArray());
                     if (!asRootOnly() ||
                         QProcess::execute(QStringLiteral("mount"),
                                           {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                            QStringLiteral("-o"), QStringLiteral("size=1m"),
                                            QStringLiteral("tmpfs"), folder}) != 0)
                         return false;
                     return writeFileBytes(path, bytes) &&
                            QProcess::execute(
                                QStringLiteral("mount"),
                                {QStringLiteral("-o"), QStringLiteral("remount,ro"), folder}) == 0;
                 }},
        StopCase{"LargerThanMemory",
                 "cannot read %1 whole: it is larger than this machine's memory", Launch(),
                 [](const QString& path) {
                     // A sparse file of a terabyte takes no room on disk.
                     QFile file(path);
                     return file.resize(qint64(1) << 40);
                 }}),
    [](const testing::TestParamInfo<StopCase>& info) { return info.param.name; });

} // namespace
