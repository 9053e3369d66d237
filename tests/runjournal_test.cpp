// The journal on disk: what a later run reads back from a run that died.

#include "digest.h"
#include "runjournal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(RunJournal, RecordsReadBackAsWritten) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(root.filePath(QStringLiteral("journals")), &reason));

    // Paths with spaces, percent signs and non-ASCII letters survive the manifest.
    const QString first = QStringLiteral("/src/my prog 100%/caf\u00e9.bas");
    const QByteArray firstBytes("a\r\nb\0c\xff", 7);
    const FileTime time{1600000000, 987654321, true};
    ASSERT_EQ(journal.recordOriginal(first, firstBytes, time), 0);
    ASSERT_EQ(journal.recordOriginal(QStringLiteral("/src/b.bi"), "", FileTime()), 1);
    ASSERT_TRUE(journal.recordWrite(0, contentDigest("one")));
    ASSERT_TRUE(journal.recordWrite(1, contentDigest("two")));
    ASSERT_TRUE(journal.recordWrite(0, contentDigest("three")));
    EXPECT_FALSE(journal.recordWrite(2, contentDigest("no such file")));

    const QList<JournalEntry> entries = readJournal(journal.directory);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].path, first);
    EXPECT_EQ(entries[0].modified.seconds, time.seconds);
    EXPECT_EQ(entries[0].modified.nanoseconds, time.nanoseconds);
    EXPECT_TRUE(entries[0].modified.valid);
    EXPECT_EQ(entries[0].originalDigest, contentDigest(firstBytes));
    EXPECT_EQ(entries[0].writtenDigests,
              QList<QByteArray>({contentDigest("one"), contentDigest("three")}));
    EXPECT_EQ(readAll(journalCopyPath(journal.directory, 0)), firstBytes);
    EXPECT_FALSE(entries[1].modified.valid);
    EXPECT_EQ(entries[1].writtenDigests, QList<QByteArray>({contentDigest("two")}));

    const QString directory = journal.directory;
    journal.discard();
    EXPECT_FALSE(QDir(directory).exists());
}

TEST(RunJournal, ARecordCutShortByTheEndOfItsRunIsIgnored) {
    QTemporaryDir root;
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(root.path(), &reason));
    ASSERT_EQ(journal.recordOriginal(QStringLiteral("/src/a.bas"), "x", FileTime()), 0);
    ASSERT_TRUE(journal.recordWrite(0, contentDigest("y")));
    const QString directory = journal.directory;
    journal.abandon();

    QFile manifest(QDir(directory).filePath(QStringLiteral("manifest")));
    ASSERT_TRUE(manifest.open(QIODevice::Append));
    manifest.write("wrote 0 abcdef\noriginal 1 0 0 0 ab /src/cut");
    manifest.close();

    const QList<JournalEntry> entries = readJournal(directory);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].writtenDigests.size(), 2);
}

TEST(RunJournal, AnythingButAJournalReadsAsEmpty) {
    QTemporaryDir root;
    EXPECT_TRUE(readJournal(root.path()).isEmpty());
    QFile manifest(root.filePath(QStringLiteral("manifest")));
    ASSERT_TRUE(manifest.open(QIODevice::WriteOnly));
    manifest.write("original 0 0 0 0 ab /etc/passwd\n");
    manifest.close();
    EXPECT_TRUE(readJournal(root.path()).isEmpty()) << "no header, no journal";
}

} // namespace
