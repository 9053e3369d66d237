// Originals are put into the journal on a thread of their own; the order of
// the records and the rule that a file's original is on disk before the file
// is touched must be what they were when it was done in line.

#include "filerestore.h"
#include "journalworker.h"
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

QList<int> journalIndexes(const QList<JournalWorker::Outcome>& outcomes) {
    QList<int> indexes;
    for (const JournalWorker::Outcome& outcome : outcomes)
        indexes.append(outcome.journalIndex);
    return indexes;
}

TEST(JournalWorker, RecordsEveryOriginalInTheOrderHandedOver) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(root.path(), &reason));
    constexpr int count = 12;
    {
        JournalWorker worker(&journal);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(worker.keepOriginal(QStringLiteral("/src/f%1.bi").arg(i), sampleBytes(i),
                                          FileTime{1000 + i, i, true}),
                      i);
        QList<int> expected;
        for (int i = 0; i < count; ++i)
            expected.append(i);
        EXPECT_EQ(journalIndexes(worker.wait()), expected);
        EXPECT_EQ(journalIndexes(worker.wait()), expected); // nothing new: returns at once
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

// A write waits for its file's original, records its digest, then writes; a
// write into a file whose original could not be kept is refused.
TEST(JournalWorker, WritesFollowTheirOriginalsAndAreRefusedWithoutOne) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(QDir(root.path()).filePath(QStringLiteral("journals")), &reason));
    const QString path = QDir(root.path()).filePath(QStringLiteral("lib.bi"));
    const QString lost = QDir(root.path()).filePath(QStringLiteral("lost.bi"));
    ASSERT_TRUE(writeFileBytes(path, "old\n"));
    ASSERT_TRUE(writeFileBytes(lost, "kept as is\n"));
    QList<JournalWorker::Outcome> outcomes;
    {
        JournalWorker worker(&journal);
        const int file = worker.keepOriginal(path, "old\n", FileTime());
        worker.write(file, path, "new\n", "old\n", FileTime());
        worker.write(7, lost, "never\n", "kept as is\n", FileTime()); // no such original
        outcomes = worker.wait();
    }
    ASSERT_EQ(outcomes.size(), 3);
    EXPECT_EQ(outcomes[0].journalIndex, 0);
    EXPECT_TRUE(outcomes[1].recorded);
    EXPECT_TRUE(outcomes[1].written);
    EXPECT_EQ(outcomes[1].digest, contentDigest("new\n"));
    EXPECT_TRUE(outcomes[1].stamp.sameAs(readFileStamp(path)));
    EXPECT_FALSE(outcomes[2].recorded);
    EXPECT_FALSE(outcomes[2].written);
    EXPECT_EQ(readAll(path), QByteArray("new\n"));
    EXPECT_EQ(readAll(lost), QByteArray("kept as is\n"));
    const QList<JournalEntry> entries = readJournal(journal.directory);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].writtenDigests, QList<QByteArray>{contentDigest("new\n")});
}

TEST(JournalWorker, AWorkerLetGoWithoutWaitingStillDoesWhatItWasGiven) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(root.path(), &reason));
    {
        JournalWorker worker(&journal);
        for (int i = 0; i < 5; ++i)
            worker.keepOriginal(QStringLiteral("/src/f%1.bi").arg(i), sampleBytes(i), FileTime());
    }
    EXPECT_EQ(readJournal(journal.directory).size(), 5);
}

TEST(JournalWorker, AnOriginalThatCannotBeKeptIsReportedAndItsFileNotWritten) {
    QTemporaryDir root;
    const QString path = QDir(root.path()).filePath(QStringLiteral("a.bas"));
    ASSERT_TRUE(writeFileBytes(path, "original\n"));
    RunJournal closed; // never created: nothing can be put into it
    SnapshotRegistry registry;
    registry.journal = &closed;
    const QString included = QDir(root.path()).filePath(QStringLiteral("b.bi"));
    ASSERT_TRUE(writeFileBytes(included, "included\n"));
    registry.registerSource(path, "original\n");
    registry.registerSource(included, "included\n");
    registry.queueRewrittenBytes(included, "ours\n");
    EXPECT_FALSE(registry.writeRewrittenBytes(path, "ours\n"));
    EXPECT_EQ(readAll(path), QByteArray("original\n"));
    EXPECT_EQ(readAll(included), QByteArray("included\n"));
    const QStringList both = {canonicalSourcePath(path), canonicalSourcePath(included)};
    EXPECT_EQ(registry.journalFailures, both);
    registry.settleJournal(); // each noted once only
    EXPECT_EQ(registry.journalFailures, both);
}

// A file included by another is registered after it and its write queued
// before the write of the other: each write finds its own original, and the manifest lists every
// original before the write of its file.
TEST(JournalWorker, EveryWriteFollowsTheOriginalOfItsFileInTheManifest) {
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
        registry.queueRewrittenBytes(header, "new header\n");
        ASSERT_TRUE(registry.writeRewrittenBytes(main, "new main\n"));
        EXPECT_EQ(readAll(header), QByteArray("new header\n")); // settled by the write of main
        registry.settleJournal();
        EXPECT_TRUE(registry.journalFailures.isEmpty());
        EXPECT_EQ(registry.snapshots.value(canonicalSourcePath(main)).journalIndex, 0);
        EXPECT_EQ(registry.snapshots.value(canonicalSourcePath(header)).journalIndex, 1);
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
