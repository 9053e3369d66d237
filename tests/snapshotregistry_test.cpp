#include "digest.h"
#include "runjournal.h"
#include "snapshotregistry.h"
#include "sourcefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

struct Folder {
    QTemporaryDir temporary;
    QString path(const QString& name) const { return QDir(temporary.path()).filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        ASSERT_TRUE(writeFileBytes(path(name), bytes));
    }
    QByteArray read(const QString& name) const { return readFileBytes(path(name)).value_or("?"); }
};

TEST(SnapshotRegistry, TheFirstRegistrationKeepsTheBytes) {
    Folder folder;
    folder.write(QStringLiteral("a.bas"), "one");
    SnapshotRegistry registry;
    registry.registerSource(folder.path(QStringLiteral("a.bas")), "one");
    registry.registerSource(folder.path(QStringLiteral("a.bas")), "two");
    EXPECT_EQ(registry.touchedFiles().size(), 2);
    EXPECT_EQ(registry.snapshotOf(folder.path(QStringLiteral("a.bas")))->bytes, QByteArray("one"));
}

TEST(SnapshotRegistry, OneFileUnderSeveralSpellingsIsOneEntry) {
    Folder folder;
    folder.write(QStringLiteral("sub/a.bas"), "x");
    const QString spellings[] = {
        folder.path(QStringLiteral("sub/a.bas")),
        folder.path(QStringLiteral("sub/../sub/./a.bas")),
        folder.path(QStringLiteral("sub//a.bas")),
    };
#ifdef Q_OS_UNIX
    ASSERT_TRUE(
        QFile::link(folder.path(QStringLiteral("sub")), folder.path(QStringLiteral("link"))));
    ASSERT_EQ(::link(QFile::encodeName(folder.path(QStringLiteral("sub/a.bas"))),
                     QFile::encodeName(folder.path(QStringLiteral("hard.bas")))),
              0);
#endif
    SnapshotRegistry registry;
    for (const QString& spelling : spellings)
        registry.registerSource(spelling, "x");
#ifdef Q_OS_UNIX
    EXPECT_TRUE(registry.isTouched(folder.path(QStringLiteral("link/a.bas"))));
    EXPECT_TRUE(registry.isTouched(folder.path(QStringLiteral("hard.bas"))));
    registry.registerSource(folder.path(QStringLiteral("hard.bas")), "x");
    EXPECT_EQ(registry.snapshotOf(folder.path(QStringLiteral("hard.bas")))->path,
              canonicalSourcePath(folder.path(QStringLiteral("sub/a.bas"))));
#endif
    const QStringList touched = registry.touchedFiles();
    EXPECT_EQ(QSet<QString>(touched.begin(), touched.end()).size(), 1);
}

TEST(SnapshotRegistry, RestorePutsBackExactBytesAndModificationTime) {
    Folder folder;
    QByteArray original("a\r\nlone\rcr\0nul\n", 16);
    for (int b = 128; b < 256; ++b)
        original.append(char(b));
    folder.write(QStringLiteral("a.bas"), original);
    const QString path = folder.path(QStringLiteral("a.bas"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QDateTime past = QDateTime::currentDateTimeUtc().addDays(-3);
    ASSERT_TRUE(file.setFileTime(past, QFileDevice::FileModificationTime));
    file.close();
    const FileTime before = readFileTime(path);

    SnapshotRegistry registry;
    registry.registerSource(path, original);
    ASSERT_TRUE(registry.writeRewrittenBytes(path, "rewritten\n"));
    EXPECT_EQ(folder.read(QStringLiteral("a.bas")), QByteArray("rewritten\n"));

    EXPECT_TRUE(registry.restoreSources().isComplete());
    EXPECT_EQ(folder.read(QStringLiteral("a.bas")), original);
    const FileTime after = readFileTime(path);
    EXPECT_EQ(after.seconds, before.seconds);
    EXPECT_EQ(after.nanoseconds, before.nanoseconds);
}

TEST(SnapshotRegistry, RefusesToRewriteAFileItNeverRegistered) {
    Folder folder;
    folder.write(QStringLiteral("a.bas"), "mine");
    SnapshotRegistry registry;
    EXPECT_FALSE(registry.writeRewrittenBytes(folder.path(QStringLiteral("a.bas")), QByteArray()));
    EXPECT_EQ(folder.read(QStringLiteral("a.bas")), QByteArray("mine"));
}

// The first two words of each manifest line: what the journal recorded, in order.
QStringList recordKinds(const RunJournal& journal) {
    QStringList kinds;
    const QByteArray manifest =
        readFileBytes(journal.folder.filePath(QStringLiteral("manifest"))).value_or("?");
    for (const QByteArray& line : manifest.split('\n'))
        kinds.append(QString::fromLatin1(line.split(' ').mid(0, 2).join(' ')));
    return kinds;
}

// A run makes its journal when it first keeps an original: files that cannot
// change are read, compiled and let go without one; one that is written all
// the same has its original in the journal before the write, on either way
// of writing.
TEST(SnapshotRegistry, AFileThatCannotChangeIsJournaledOnlyWhenWritten) {
    Folder folder;
    folder.write(QStringLiteral("a.bas"), "original\n");
    folder.write(QStringLiteral("b.bi"), "other\n");
    const QString a = folder.path(QStringLiteral("a.bas"));
    const QString b = folder.path(QStringLiteral("b.bi"));
    PrivateFolder journals;
    QString problem;
    ASSERT_TRUE(openPrivateFolder(folder.path(QStringLiteral("journals")), &journals, &problem));
    RunJournal journal;
    const auto cannotChange = [](const QByteArray&) { return false; };
    {
        SnapshotRegistry registry(&journal, {}, nullptr, &journals, cannotChange);
        EXPECT_EQ(registry.readSource(a), QByteArray("original\n"));
        EXPECT_EQ(registry.readSource(b), QByteArray("other\n"));
        registry.shareFiles();
        EXPECT_FALSE(registry.problem().has_value());
        EXPECT_TRUE(registry.restoreSources().isComplete());
        EXPECT_FALSE(journal.isOpen());
        EXPECT_TRUE(folderEntries(journals).isEmpty());
    }
    {
        SnapshotRegistry registry(&journal, {}, nullptr, &journals, cannotChange);
        registry.readSource(a);
        registry.readSource(b);
        ASSERT_TRUE(registry.writeRewrittenBytes(a, "ours\n"));
        registry.queueRewrittenBytes(b, "ours too\n");
        EXPECT_EQ(folder.read(QStringLiteral("b.bi")), QByteArray("ours too\n"));
        EXPECT_EQ(recordKinds(journal),
                  QStringList({QStringLiteral("fbext journal"), QStringLiteral("original 0"),
                               QStringLiteral("write 0"), QStringLiteral("done 0"),
                               QStringLiteral("original 1"), QStringLiteral("write 1"),
                               QStringLiteral("done 1"), QString()}));
        EXPECT_EQ(readFileBytes(journal.originalCopyPath(0)), QByteArray("original\n"));
        EXPECT_EQ(readFileBytes(journal.originalCopyPath(1)), QByteArray("other\n"));
        EXPECT_TRUE(registry.restoreSources().isComplete());
        journal.discard(journals);
    }
    EXPECT_EQ(folder.read(QStringLiteral("a.bas")), QByteArray("original\n"));
    EXPECT_EQ(folder.read(QStringLiteral("b.bi")), QByteArray("other\n"));
    EXPECT_TRUE(folderEntries(journals).isEmpty());
}

} // namespace

namespace {

TEST(SnapshotRegistry, AFileWrittenAgainWithOtherBytesOfTheSameSizeIsLeftAlone) {
    Folder folder;
    const QString path = folder.path(QStringLiteral("a.bas"));
    folder.write(QStringLiteral("a.bas"), "original\n");
    SnapshotRegistry registry;
    registry.registerSource(path, "original\n");
    ASSERT_TRUE(registry.writeRewrittenBytes(path, "ours\n"));
    // Someone else saves the file: same size, other bytes, a moment later.
    QThread::msleep(20);
    folder.write(QStringLiteral("a.bas"), "edit\n");
    const RestoreReport report = registry.restoreSources();
    EXPECT_EQ(report.changed, QStringList{canonicalSourcePath(path)});
    EXPECT_EQ(folder.read(QStringLiteral("a.bas")), QByteArray("edit\n"));
}

TEST(SnapshotRegistry, AFileNobodyTouchedAfterTheRewriteIsRestored) {
    Folder folder;
    const QString path = folder.path(QStringLiteral("a.bas"));
    folder.write(QStringLiteral("a.bas"), "original\n");
    SnapshotRegistry registry;
    registry.registerSource(path, "original\n");
    ASSERT_TRUE(registry.writeRewrittenBytes(path, "ours\n"));
    const FileStamp written = readFileStamp(path);
#ifdef Q_OS_UNIX
    EXPECT_TRUE(written.sameAs(registry.snapshotOf(path)->lastWritten));
#endif
    EXPECT_TRUE(registry.restoreSources().isComplete());
    EXPECT_EQ(folder.read(QStringLiteral("a.bas")), QByteArray("original\n"));
}

} // namespace
