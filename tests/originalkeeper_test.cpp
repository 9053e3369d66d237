// Originals are put into the journal on a thread of their own; the order of
// the records and the rule that a file's original is on disk before the file
// is touched must be what they were when it was done in line.

#include "filerestore.h"
#include "originalkeeper.h"
#include "runjournal.h"
#include "snapshotregistry.h"
#include "sourcefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray sampleBytes(int i) {
    // One large original among small ones, so the caller runs ahead of the thread.
    return i == 3 ? QByteArray(3 << 20, 'x') : QByteArray::number(i) + " \r\n\0end";
}

TEST(OriginalKeeper, RecordsEveryOriginalInTheOrderHandedOver) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(root.path(), &reason));
    constexpr int count = 12;
    {
        OriginalKeeper keeper(&journal);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(keeper.keep(QStringLiteral("/src/f%1.bi").arg(i), sampleBytes(i),
                                  FileTime{1000 + i, i, true}),
                      i);
        QList<int> expected;
        for (int i = 0; i < count; ++i)
            expected.append(i);
        EXPECT_EQ(keeper.wait(), expected);
        EXPECT_EQ(keeper.wait(), expected); // nothing new: returns at once
    }
    const QList<JournalEntry> entries = readJournal(journal.directory);
    ASSERT_EQ(entries.size(), count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[i].path, QStringLiteral("/src/f%1.bi").arg(i));
        EXPECT_EQ(entries[i].modified.seconds, 1000 + i);
        EXPECT_EQ(entries[i].originalDigest, contentDigest(sampleBytes(i)));
        EXPECT_EQ(readAll(journalCopyPath(journal.directory, i)), sampleBytes(i));
    }
}

TEST(OriginalKeeper, AKeeperLetGoWithoutWaitingStillRecordsWhatItWasGiven) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(root.path(), &reason));
    {
        OriginalKeeper keeper(&journal);
        for (int i = 0; i < 5; ++i)
            keeper.keep(QStringLiteral("/src/f%1.bi").arg(i), sampleBytes(i), FileTime());
    }
    EXPECT_EQ(readJournal(journal.directory).size(), 5);
}

TEST(OriginalKeeper, AnOriginalThatCannotBeKeptIsReportedAndItsFileNotWritten) {
    QTemporaryDir root;
    const QString path = QDir(root.path()).filePath(QStringLiteral("a.bas"));
    ASSERT_TRUE(writeFileBytes(path, "original\n"));
    RunJournal closed; // never created: nothing can be put into it
    SnapshotRegistry registry;
    registry.journal = &closed;
    registry.registerSource(path, "original\n");
    EXPECT_FALSE(registry.writeRewrittenBytes(path, "ours\n"));
    EXPECT_EQ(readAll(path), QByteArray("original\n"));
    EXPECT_EQ(registry.journalFailures, QStringList{canonicalSourcePath(path)});
    registry.settleJournal(); // noted once only
    EXPECT_EQ(registry.journalFailures.size(), 1);
}

// A file included by another is registered after it and written before it:
// each write finds its own original, and the manifest lists every original
// before the write of its file.
TEST(OriginalKeeper, EveryWriteFollowsTheOriginalOfItsFileInTheManifest) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(QDir(root.path()).filePath(QStringLiteral("journals")), &reason));
    const QString main = QDir(root.path()).filePath(QStringLiteral("main.bas"));
    const QString header = QDir(root.path()).filePath(QStringLiteral("lib.bi"));
    ASSERT_TRUE(writeFileBytes(main, sampleBytes(3)));
    ASSERT_TRUE(writeFileBytes(header, "header\n"));
    {
        SnapshotRegistry registry;
        registry.journal = &journal;
        registry.registerSource(main, sampleBytes(3));
        registry.registerSource(header, "header\n");
        ASSERT_TRUE(registry.writeRewrittenBytes(header, "new header\n"));
        ASSERT_TRUE(registry.writeRewrittenBytes(main, "new main\n"));
        registry.settleJournal();
        EXPECT_TRUE(registry.journalFailures.isEmpty());
        EXPECT_EQ(registry.originalTexts.value(canonicalSourcePath(main)).journalIndex, 0);
        EXPECT_EQ(registry.originalTexts.value(canonicalSourcePath(header)).journalIndex, 1);
        EXPECT_TRUE(registry.restoreSources().isComplete());
    }
    const QList<QByteArray> manifest =
        readAll(QDir(journal.directory).filePath(QStringLiteral("manifest"))).split('\n');
    QStringList kinds;
    for (const QByteArray& line : manifest)
        kinds.append(QString::fromLatin1(line.left(line.indexOf(' ', line.indexOf(' ') + 1))));
    EXPECT_EQ(kinds, QStringList({QStringLiteral("fbext journal"), QStringLiteral("original 0"),
                                  QStringLiteral("original 1"), QStringLiteral("wrote 1"),
                                  QStringLiteral("wrote 0"), QString()}));
    EXPECT_EQ(readAll(main), sampleBytes(3));
    EXPECT_EQ(readAll(header), QByteArray("header\n"));
}

} // namespace
