// Originals are put into the journal on a thread of their own; the order of
// the records and the rule that a file's original is on disk before the file
// is touched must be what they were when it was done in line, and every write
// is announced before it is made and recorded as done after.

#include "digest.h"
#include "journalworker.h"
#include "runjournal.h"
#include "snapshotregistry.h"
#include "sourcefile.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray sampleBytes(int i) {
    // One large original among small ones, so the caller runs ahead of the thread.
    return i == 3 ? QByteArray(3 << 20, 'x') : QByteArray::number(i) + " \r\n\0end";
}

PrivateFolder folderAt(const QString& path) {
    PrivateFolder folder;
    QString problem;
    EXPECT_TRUE(openPrivateFolder(path, &folder, &problem)) << qPrintable(problem);
    return folder;
}

FileStamp identity(int i) {
    FileStamp stamp;
    stamp.device = 1;
    stamp.inode = i;
    stamp.valid = true;
    return stamp;
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
    ASSERT_TRUE(journal.create(folderAt(root.path()), &reason));
    constexpr int count = 12;
    {
        JournalWorker worker(&journal);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(worker.keepOriginal(QStringLiteral("/src/f%1.bi").arg(i), identity(i),
                                          sampleBytes(i), FileTime{1000 + i, i, true}),
                      i);
        QList<int> expected;
        for (int i = 0; i < count; ++i)
            expected.append(i);
        EXPECT_EQ(journalIndexes(worker.wait()), expected);
        EXPECT_EQ(journalIndexes(worker.wait()), expected); // nothing new: returns at once
    }
    const QList<JournalEntry> entries = journal.entries();
    ASSERT_EQ(entries.size(), count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[i].path, QStringLiteral("/src/f%1.bi").arg(i));
        EXPECT_EQ(entries[i].inode, i);
        EXPECT_EQ(entries[i].modified.seconds, 1000 + i);
        EXPECT_EQ(entries[i].originalDigest, contentDigest(sampleBytes(i)));
        EXPECT_EQ(fileBytes(journal.originalCopyPath(i)), sampleBytes(i));
    }
}

// A write waits for its file's original, records its digest, then writes; a
// write into a file whose original could not be kept is refused.
TEST(JournalWorker, WritesFollowTheirOriginalsAndAreRefusedWithoutOne) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(folderAt(root.filePath(QStringLiteral("journals"))), &reason));
    const QString path = QDir(root.path()).filePath(QStringLiteral("lib.bi"));
    const QString lost = QDir(root.path()).filePath(QStringLiteral("lost.bi"));
    ASSERT_TRUE(writeFileBytes(path, "old\n"));
    ASSERT_TRUE(writeFileBytes(lost, "kept as is\n"));
    LockedFile file;
    LockedFile lostFile;
    ASSERT_EQ(tryLockFile(path, &file), LockOutcome::Taken);
    ASSERT_EQ(tryLockFile(lost, &lostFile), LockOutcome::Taken);
    ASSERT_EQ(file.openWriter(), 0);
    ASSERT_EQ(lostFile.openWriter(), 0);
    Precondition asRead;
    asRead.stamp = fileStampOf(file.reader);
    asRead.bytes = "old\n";
    QList<JournalWorker::Outcome> outcomes;
    {
        JournalWorker worker(&journal);
        const int original = worker.keepOriginal(path, file.identity, "old\n", FileTime());
        worker.write(original, &file, "new\n", asRead, "old\n", FileTime());
        worker.write(7, &lostFile, "never\n", asRead, "kept as is\n", FileTime()); // no original
        outcomes = worker.wait();
    }
    ASSERT_EQ(outcomes.size(), 3);
    EXPECT_EQ(outcomes[0].journalIndex, 0);
    EXPECT_TRUE(outcomes[1].tried);
    EXPECT_EQ(outcomes[1].write.status, WriteStatus::Written);
    EXPECT_EQ(outcomes[1].digest, contentDigest("new\n"));
    EXPECT_TRUE(outcomes[1].write.after.sameAs(readFileStamp(path)));
    EXPECT_FALSE(outcomes[2].tried);
    EXPECT_EQ(fileBytes(path), QByteArray("new\n"));
    EXPECT_EQ(fileBytes(lost), QByteArray("kept as is\n"));
    const QList<JournalEntry> entries = journal.entries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].writtenDigests, QList<QByteArray>{contentDigest("new\n")});
    EXPECT_EQ(entries[0].lastWrite, LastWrite::RewriteDone);
}

// Writes handed over together are checked one by one before any is made: a
// file changed since it was read keeps the change, the others are written,
// and a second write into a file checks what the first one left there.
TEST(JournalWorker, WritesHandedOverTogetherAreEachCheckedBeforeTheirFile) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(folderAt(root.filePath(QStringLiteral("journals"))), &reason));
    const QStringList names{QStringLiteral("a.bi"), QStringLiteral("b.bi"), QStringLiteral("c.bi")};
    LockedFile files[3];
    Precondition asRead[3];
    for (int i = 0; i < 3; ++i) {
        const QString path = QDir(root.path()).filePath(names[i]);
        ASSERT_TRUE(writeFileBytes(path, "old\n"));
        ASSERT_EQ(tryLockFile(path, &files[i]), LockOutcome::Taken);
        asRead[i].stamp = fileStampOf(files[i].reader);
        asRead[i].bytes = "old\n";
    }
    ASSERT_TRUE(writeFileBytes(QDir(root.path()).filePath(names[1]), "edited by the user\n"));
    QList<JournalWorker::Outcome> outcomes;
    {
        JournalWorker worker(&journal);
        for (int i = 0; i < 3; ++i) {
            const int original =
                worker.keepOriginal(names[i], files[i].identity, "old\n", FileTime());
            worker.write(original, &files[i], "new " + names[i].toLatin1() + '\n', asRead[i],
                         "old\n", FileTime());
        }
        worker.write(0, &files[0], "again\n", asRead[0], "old\n", FileTime());
        outcomes = worker.wait();
    }
    ASSERT_EQ(outcomes.size(), 7);
    EXPECT_EQ(outcomes[1].write.status, WriteStatus::Written);
    EXPECT_EQ(outcomes[3].write.status, WriteStatus::Changed);
    EXPECT_EQ(outcomes[5].write.status, WriteStatus::Written);
    EXPECT_EQ(outcomes[6].write.status, WriteStatus::Changed) << "the first write changed it";
    EXPECT_EQ(fileBytes(files[0].path), QByteArray("new a.bi\n"));
    EXPECT_EQ(fileBytes(files[1].path), QByteArray("edited by the user\n"));
    EXPECT_EQ(fileBytes(files[2].path), QByteArray("new c.bi\n"));
    const QList<JournalEntry> entries = journal.entries();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].lastWrite, LastWrite::RewriteDone);
    EXPECT_EQ(entries[1].lastWrite, LastWrite::None) << "no write was announced";
    EXPECT_EQ(entries[2].lastWrite, LastWrite::RewriteDone);
}

TEST(JournalWorker, AWorkerLetGoWithoutWaitingStillDoesWhatItWasGiven) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(folderAt(root.path()), &reason));
    {
        JournalWorker worker(&journal);
        for (int i = 0; i < 5; ++i)
            worker.keepOriginal(QStringLiteral("/src/f%1.bi").arg(i), identity(i), sampleBytes(i),
                                FileTime());
    }
    EXPECT_EQ(journal.entries().size(), 5);
}

TEST(JournalWorker, AnOriginalThatCannotBeKeptIsReportedAndItsFileNotWritten) {
    QTemporaryDir root;
    const QString path = QDir(root.path()).filePath(QStringLiteral("a.bas"));
    ASSERT_TRUE(writeFileBytes(path, "original\n"));
    RunJournal closed; // never created: nothing can be put into it
    SnapshotRegistry registry(&closed);
    const QString included = QDir(root.path()).filePath(QStringLiteral("b.bi"));
    ASSERT_TRUE(writeFileBytes(included, "included\n"));
    registry.registerSource(path, "original\n");
    registry.registerSource(included, "included\n");
    registry.queueRewrittenBytes(included, "ours\n");
    EXPECT_FALSE(registry.writeRewrittenBytes(path, "ours\n"));
    EXPECT_EQ(fileBytes(path), QByteArray("original\n"));
    EXPECT_EQ(fileBytes(included), QByteArray("included\n"));
    const std::optional<RunProblem> problem = registry.problem();
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->kind, RunProblem::Kind::Stop);
    EXPECT_EQ(problem->path, canonicalSourcePath(path)) << "the first file that failed";
    EXPECT_TRUE(problem->message.startsWith(QStringLiteral("cannot write the journal")));
}

// A file included by another is registered after it and its write queued
// before the write of the other: each write finds its own original, and the manifest lists every
// original before the write of its file. The originals go back announced together.
TEST(JournalWorker, EveryWriteFollowsTheOriginalOfItsFileInTheManifest) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(folderAt(root.filePath(QStringLiteral("journals"))), &reason));
    const QString main = QDir(root.path()).filePath(QStringLiteral("main.bas"));
    const QString header = QDir(root.path()).filePath(QStringLiteral("lib.bi"));
    ASSERT_TRUE(writeFileBytes(main, sampleBytes(3)));
    ASSERT_TRUE(writeFileBytes(header, "header\n"));
    {
        SnapshotRegistry registry(&journal);
        registry.registerSource(main, sampleBytes(3));
        registry.registerSource(header, "header\n");
        registry.queueRewrittenBytes(header, "new header\n");
        ASSERT_TRUE(registry.writeRewrittenBytes(main, "new main\n"));
        EXPECT_EQ(fileBytes(header), QByteArray("new header\n")); // settled by the write of main
        EXPECT_FALSE(registry.problem().has_value());
        EXPECT_EQ(registry.snapshotOf(main)->journalIndex, 0);
        EXPECT_EQ(registry.snapshotOf(header)->journalIndex, 1);
        EXPECT_TRUE(registry.restoreSources().isComplete());
    }
    const QList<QByteArray> manifest =
        fileBytes(journal.folder.filePath(QStringLiteral("manifest"))).split('\n');
    QStringList kinds;
    for (const QByteArray& line : manifest)
        kinds.append(QString::fromLatin1(line.split(' ').mid(0, 2).join(' ')));
    EXPECT_EQ(kinds, QStringList({QStringLiteral("fbext journal"), QStringLiteral("original 0"),
                                  QStringLiteral("original 1"), QStringLiteral("write 1"),
                                  QStringLiteral("done 1"), QStringLiteral("write 0"),
                                  QStringLiteral("done 0"), QStringLiteral("restore 0"),
                                  QStringLiteral("restore 1"), QStringLiteral("done 0"),
                                  QStringLiteral("done 1"), QString()}));
    EXPECT_EQ(fileBytes(main), sampleBytes(3));
    EXPECT_EQ(fileBytes(header), QByteArray("header\n"));
}

} // namespace
