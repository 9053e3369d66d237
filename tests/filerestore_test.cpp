// The restore puts back only what this program wrote: a file saved by someone
// else during the compile keeps the newer content, and a file that cannot be
// written back is reported with the place its original is kept.

#include "sandbox.h"
#include "sourcetree.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

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

constexpr uint nobody = 65534;

// Starts fbc as an ordinary user: as root, it runs as nobody, who is given the
// sandbox (ownSandbox) or only the sandbox directory and the journal's home.
std::unique_ptr<QProcess> startUnprivileged(const Sandbox& sandbox, const QStringList& arguments,
                                            bool ownSandbox) {
    auto run = std::make_unique<QProcess>();
    run->setProcessEnvironment(sandbox.environment());
    run->setWorkingDirectory(sandbox.dir());
    if (::geteuid() == 0) {
        const auto give = [](const QString& path) {
            EXPECT_EQ(::chown(QFile::encodeName(path).constData(), nobody, nobody), 0);
        };
        give(sandbox.dir());
        QDirIterator entries(sandbox.dir(), QDir::AllEntries | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
        while (entries.hasNext()) {
            const QString entry = entries.next();
            if (ownSandbox || entry.startsWith(sandbox.path(QStringLiteral("home"))))
                give(entry);
        }
        run->setChildProcessModifier([] {
            if (::setgid(nobody) != 0 || ::setuid(nobody) != 0)
                ::_exit(99);
        });
    }
    run->start(sandbox.path(QStringLiteral("fbc")), arguments);
    return run;
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
    tree.add(QStringLiteral("shared.bas"), "print 1\n");
    QFile::setPermissions(sandbox.path(QStringLiteral("shared.bas")),
                          QFileDevice::Permissions(0x6666)); // rw for everyone, owned by root
    sandbox.scriptCompiler({});

    const auto run = startUnprivileged(sandbox, {QStringLiteral("shared.bas")}, false);
    ASSERT_TRUE(run->waitForFinished(30000));
    ASSERT_EQ(sandbox.calls().size(), 1);
    EXPECT_TRUE(sandbox.calls().first().files.value(0).startsWith('\n')) << "it was rewritten";
    EXPECT_EQ(run->exitCode(), 0);
    EXPECT_EQ(run->readAllStandardError(), QByteArray());
    EXPECT_EQ(sandbox.readFile(QStringLiteral("shared.bas")), "print 1\n");
    EXPECT_TRUE(journalsIn(sandbox).isEmpty());
}

} // namespace
