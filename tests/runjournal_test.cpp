// The journal on disk: what a later run reads back from a run that died.

#include "digest.h"
#include "runjournal.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

namespace {

PrivateFolder journalsIn(const QTemporaryDir& root) {
    PrivateFolder journals;
    QString problem;
    EXPECT_TRUE(openPrivateFolder(root.filePath(QStringLiteral("journals")), &journals, &problem))
        << qPrintable(problem);
    return journals;
}

FileStamp identity(qint64 device, qint64 inode) {
    FileStamp stamp;
    stamp.device = device;
    stamp.inode = inode;
    stamp.valid = true;
    return stamp;
}

TEST(RunJournal, RecordsReadBackAsWritten) {
    QTemporaryDir root;
    const PrivateFolder journals = journalsIn(root);
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(journals, &reason)) << qPrintable(reason);

    // Paths with spaces, percent signs and non-ASCII letters survive the manifest.
    const QString first = QStringLiteral("/src/my prog 100%/caf\u00e9.bas");
    const QByteArray firstBytes("a\r\nb\0c\xff", 7);
    const FileTime time{1600000000, 987654321, true};
    ASSERT_EQ(journal.recordOriginal(first, identity(64768, 123456789012), firstBytes, time), 0);
    ASSERT_EQ(journal.recordOriginal(QStringLiteral("/src/b.bi"), identity(1, 2), "", FileTime()),
              1);
    ASSERT_EQ(journal.recordOriginal(QStringLiteral("/src/c.bi"), identity(1, 3), "c", FileTime()),
              2);
    ASSERT_TRUE(journal.recordWriteStarting(0, contentDigest("one")));
    journal.recordWriteDone(0);
    ASSERT_TRUE(journal.recordWriteStarting(1, contentDigest("two")));
    ASSERT_TRUE(journal.recordWriteStarting(0, contentDigest("three")));
    journal.recordWriteDone(0);
    ASSERT_TRUE(journal.recordRestoreStarting(0));
    ASSERT_TRUE(journal.recordWriteStarting(2, contentDigest("four")));
    journal.recordWriteDone(2);
    ASSERT_TRUE(journal.recordRestoreStarting(2));
    journal.recordWriteDone(2);
    journal.recordUnrestored(1);
    EXPECT_FALSE(journal.recordWriteStarting(3, contentDigest("no such file")));

    const QList<JournalEntry> entries = journal.entries();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].path, first);
    EXPECT_EQ(entries[0].modified.seconds, time.seconds);
    EXPECT_EQ(entries[0].modified.nanoseconds, time.nanoseconds);
    EXPECT_TRUE(entries[0].modified.valid);
    EXPECT_EQ(entries[0].device, 64768);
    EXPECT_EQ(entries[0].inode, 123456789012);
    EXPECT_EQ(entries[0].originalDigest, contentDigest(firstBytes));
    EXPECT_EQ(entries[0].writtenDigests,
              QList<QByteArray>({contentDigest("one"), contentDigest("three")}));
    EXPECT_EQ(entries[0].lastWrite, LastWrite::RestoreStarted);
    EXPECT_EQ(fileBytes(journal.originalCopyPath(0)), firstBytes);
    EXPECT_EQ(journal.readOriginal(0), firstBytes);
    EXPECT_FALSE(entries[1].modified.valid);
    EXPECT_EQ(entries[1].writtenDigests, QList<QByteArray>({contentDigest("two")}));
    EXPECT_EQ(entries[1].lastWrite, LastWrite::RewriteStarted);
    EXPECT_TRUE(entries[1].unrestored);
    EXPECT_EQ(entries[2].lastWrite, LastWrite::RestoreDone);
    EXPECT_FALSE(entries[2].unrestored);

    const QString directory = journal.directory();
    journal.discard(journals);
    EXPECT_FALSE(QDir(directory).exists());
}

// A run that let its files go to take them in order starts a fresh journal,
// which recovery must be able to read like any other.
TEST(RunJournal, AJournalStartedAgainNumbersItsFilesFromZero) {
    QTemporaryDir root;
    const PrivateFolder journals = journalsIn(root);
    RunJournal journal;
    QString reason;
    ASSERT_TRUE(journal.create(journals, &reason));
    ASSERT_EQ(journal.recordOriginal(QStringLiteral("/src/a.bas"), identity(1, 2), "a", FileTime()),
              0);
    journal.discard(journals);
    ASSERT_TRUE(journal.create(journals, &reason));
    ASSERT_EQ(journal.recordOriginal(QStringLiteral("/src/b.bas"), identity(1, 3), "b", FileTime()),
              0);
    ASSERT_EQ(journal.entries().size(), 1);
    EXPECT_EQ(journal.entries()[0].path, QStringLiteral("/src/b.bas"));
}

TEST(RunJournal, ARecordCutShortByTheEndOfItsRunIsIgnored) {
    EXPECT_EQ(parseManifest("fbext journal 2\n"
                            "original 0 0 0 0 ab 1 2 /src/a.bas\n"
                            "write 0 abcdef\n"
                            "done 0\n"
                            "original 1 0 0 0 ab 1 3 /src/cut")
                  .size(),
              1);
    const QList<JournalEntry> cut = parseManifest("fbext journal 2\n"
                                                  "original 0 0 0 0 ab 1 2 /src/a.bas\n"
                                                  "write 0 abcdef\n"
                                                  "do");
    ASSERT_EQ(cut.size(), 1);
    EXPECT_EQ(cut[0].lastWrite, LastWrite::RewriteStarted) << "its end never reached the disk";
}

// A write found unneeded just before its first byte (the file was saved
// meanwhile) is withdrawn: the file is as the records before it say.
TEST(RunJournal, ASkippedWriteLeavesTheFileAsTheRecordsBeforeItSay) {
    const struct {
        const char* records;
        LastWrite lastWrite;
        int digests;
    } cases[] = {
        {"write 0 aa\nskipped 0\n", LastWrite::None, 0},
        {"write 0 aa\ndone 0\nwrite 0 bb\nskipped 0\n", LastWrite::RewriteDone, 1},
        {"write 0 aa\ndone 0\nrestore 0\nskipped 0\n", LastWrite::RewriteDone, 1},
        {"write 0 aa\ndone 0\nrestore 0\ndone 0\nskipped 0\n", LastWrite::RestoreDone, 1},
        {"skipped 0\n", LastWrite::None, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.records);
        const QList<JournalEntry> entries = parseManifest(
            "fbext journal 2\noriginal 0 0 0 0 ab 1 2 /src/a.bas\n" + QByteArray(test.records));
        ASSERT_EQ(entries.size(), 1);
        EXPECT_EQ(entries[0].lastWrite, test.lastWrite);
        EXPECT_EQ(entries[0].writtenDigests.size(), test.digests);
    }
}

TEST(RunJournal, AJournalOfTheFirstFormatIsStillRead) {
    const QList<JournalEntry> entries = parseManifest("fbext journal 1\n"
                                                      "original 0 1600000000 5 1 ab /src/a.bas\n"
                                                      "wrote 0 abcdef\n");
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].path, QStringLiteral("/src/a.bas"));
    EXPECT_EQ(entries[0].inode, -1) << "it did not record which file";
    EXPECT_EQ(entries[0].lastWrite, LastWrite::RewriteDone) << "it recorded writes before them";
}

TEST(RunJournal, AnythingButAJournalReadsAsEmpty) {
    EXPECT_TRUE(parseManifest(QByteArray()).isEmpty());
    EXPECT_TRUE(parseManifest("original 0 0 0 0 ab 1 2 /etc/passwd\nwrite 0 ab\n").isEmpty())
        << "no header, no journal";
    EXPECT_TRUE(
        parseManifest("fbext journal 2\noriginal 1 0 0 0 ab 1 2 /a\nwrite 0 ab\n").isEmpty())
        << "files are numbered from 0 in order";
}

TEST(RunJournal, OnlyTheJournalOfADeadRunCanBeTakenOver) {
    QTemporaryDir root;
    const PrivateFolder journals = journalsIn(root);
    RunJournal live;
    QString reason;
    ASSERT_TRUE(live.create(journals, &reason));
    ASSERT_EQ(live.recordOriginal(QStringLiteral("/src/a.bas"), identity(1, 2), "x", FileTime()),
              0);

    RunJournal other;
    EXPECT_FALSE(other.adopt(journals, live.name)) << "its run holds it";
    live.abandon(); // as the end of its run lets the lock go
    RunJournal dead;
    ASSERT_TRUE(dead.adopt(journals, live.name));
    EXPECT_EQ(dead.entries().size(), 1);
    ASSERT_TRUE(dead.recordRestoreStarting(0)) << "recovery's writes are recorded too";
    EXPECT_EQ(dead.entries()[0].lastWrite, LastWrite::RestoreStarted);
    EXPECT_EQ(dead.keepFoundBytes(0, "cut"), QStringLiteral("0.found-1"));
    EXPECT_EQ(dead.keepFoundBytes(0, "cut again"), QStringLiteral("0.found-2"));
    EXPECT_EQ(fileBytes(dead.folder.filePath(QStringLiteral("0.found-1"))), QByteArray("cut"));
}

// A record cut short, by a full disk (here the file size limit) or by a power
// cut in the middle of its append, is read as nothing; the records appended
// after it, by the same run or by the recovery that takes the journal over,
// must still be read.
TEST(RunJournal, ARecordCutShortDoesNotSwallowTheNextOne) {
    const struct {
        const char* name;
        void (*cut)(RunJournal& journal);
    } cases[] = {
        {"by a full disk",
         [](RunJournal& journal) {
             const QString manifest = journal.folder.filePath(QStringLiteral("manifest"));
             rlimit before{};
             ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
             rlimit limit = before;
             limit.rlim_cur = rlim_t(QFileInfo(manifest).size() + 4);
             const auto handler = std::signal(SIGXFSZ, SIG_IGN);
             ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
             const bool announced = journal.recordWritesStarting({0}, {contentDigest("one")});
             ::setrlimit(RLIMIT_FSIZE, &before);
             std::signal(SIGXFSZ, handler);
             EXPECT_FALSE(announced);
         }},
        {"by a power cut",
         [](RunJournal& journal) {
             QFile manifest(journal.folder.filePath(QStringLiteral("manifest")));
             ASSERT_TRUE(manifest.open(QIODevice::Append));
             ASSERT_EQ(manifest.write("write 0 ab"), 10);
         }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        QTemporaryDir root;
        const PrivateFolder journals = journalsIn(root);
        RunJournal live;
        QString reason;
        ASSERT_TRUE(live.create(journals, &reason));
        ASSERT_EQ(live.recordOriginal(QStringLiteral("/src/a.bas"), identity(1, 2), "a", {}), 0);
        test.cut(live);
        live.abandon();

        RunJournal dead;
        ASSERT_TRUE(dead.adopt(journals, live.name));
        ASSERT_TRUE(dead.recordRestoreStarting(0));
        ASSERT_EQ(dead.entries().size(), 1);
        EXPECT_EQ(dead.entries()[0].lastWrite, LastWrite::RestoreStarted);
        EXPECT_TRUE(dead.entries()[0].writtenDigests.isEmpty());
    }
}

} // namespace
