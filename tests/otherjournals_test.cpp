// What a run learns from the journals of this user's other runs about a file
// it takes or leaves: whether its bytes are the user's original or another
// run's text (and then the original), and whether a live run stands for it.

#include "digest.h"
#include "otherjournals.h"
#include "runjournal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QByteArray original = "const N = 1\r\n\0\xff";
const QByteArray written = "\n#line 0 \"x.bi\"\nconst N = 1\n";
const FileTime originalTime{1500000000, 123, true};

FileStamp identity(qint64 inode) {
    FileStamp stamp;
    stamp.device = 7;
    stamp.inode = inode;
    stamp.valid = true;
    return stamp;
}

struct JournalsFolder {
    QTemporaryDir root;
    PrivateFolder journals;

    JournalsFolder() {
        QString problem;
        EXPECT_TRUE(
            openPrivateFolder(root.filePath(QStringLiteral("journals")), &journals, &problem));
    }

    // A run's journal holding file 5's original, alive until it is abandoned.
    std::unique_ptr<RunJournal> run() {
        auto journal = std::make_unique<RunJournal>();
        QString reason;
        EXPECT_TRUE(journal->create(journals, &reason)) << qPrintable(reason);
        EXPECT_EQ(journal->recordOriginal(QStringLiteral("/src/x.bi"), identity(5), original,
                                          originalTime),
                  0);
        return journal;
    }
};

void wrote(RunJournal& journal, const QByteArray& bytes) {
    ASSERT_TRUE(journal.recordWriteStarting(0, contentDigest(bytes)));
    journal.recordWriteDone(0);
}

TEST(OtherJournals, TellWhatTheBytesOfAFileAre) {
    using Kind = FileOrigin::Kind;
    const struct {
        const char* name;
        void (*record)(RunJournal& journal);
        qint64 inode;
        QByteArray bytes;
        Kind kind;
    } rows[] = {
        {"the original, only read", [](RunJournal&) {}, 5, original, Kind::Original},
        {"another run's text", [](RunJournal& j) { wrote(j, written); }, 5, written, Kind::Written},
        {"another run's text, shared by it",
         [](RunJournal& j) { ASSERT_TRUE(j.recordShared(0, contentDigest(written))); }, 5, written,
         Kind::Written},
        {"a write of it never recorded as done",
         [](RunJournal& j) { ASSERT_TRUE(j.recordWriteStarting(0, contentDigest(written))); }, 5,
         written, Kind::Written},
        {"the original again after a restore",
         [](RunJournal& j) {
             wrote(j, written);
             ASSERT_TRUE(j.recordRestoreStarting(0));
             j.recordWriteDone(0);
         },
         5, original, Kind::Original},
        {"a write cut short",
         [](RunJournal& j) { ASSERT_TRUE(j.recordWriteStarting(0, contentDigest(written))); }, 5,
         written.left(9), Kind::Cut},
        {"a restore cut short",
         [](RunJournal& j) {
             wrote(j, written);
             ASSERT_TRUE(j.recordRestoreStarting(0));
         },
         5, original.left(4), Kind::Cut},
        {"saved by the user since", [](RunJournal& j) { wrote(j, written); }, 5, "edited\n",
         Kind::Unknown},
        {"a file no run names", [](RunJournal& j) { wrote(j, written); }, 6, written,
         Kind::Unknown},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        JournalsFolder folder;
        const std::unique_ptr<RunJournal> other = folder.run();
        row.record(*other);
        OtherJournals others(&folder.journals, nullptr);
        const FileOrigin origin = originOf(others, identity(row.inode), row.bytes);
        EXPECT_EQ(origin.kind, row.kind);
        if (row.kind == Kind::Written) {
            EXPECT_EQ(origin.original, original);
            EXPECT_EQ(origin.modified.seconds, originalTime.seconds);
            EXPECT_EQ(origin.modified.nanoseconds, originalTime.nanoseconds);
        }
        // A run learns nothing from its own journal.
        OtherJournals itself(&folder.journals, other.get());
        EXPECT_EQ(originOf(itself, identity(row.inode), row.bytes).kind, Kind::Unknown);
    }
}

TEST(OtherJournals, AnOriginalWhoseCopyIsDamagedIsNotHandedOn) {
    JournalsFolder folder;
    const std::unique_ptr<RunJournal> other = folder.run();
    wrote(*other, written);
    QFile copy(other->originalCopyPath(0));
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly | QIODevice::Append));
    copy.write("x");
    copy.close();
    OtherJournals others(&folder.journals, nullptr);
    EXPECT_NE(originOf(others, identity(5), written).kind, FileOrigin::Kind::Written);
}

TEST(OtherJournals, OnlyALiveRunThatHasNotLetTheFileGoStandsForIt) {
    const QByteArray originalDigest = contentDigest(original);
    const QByteArray writtenDigest = contentDigest(written);
    const struct {
        const char* name;
        void (*record)(RunJournal& journal);
        bool alive;
        QByteArray originalDigest;
        bool standsFor;
    } rows[] = {
        {"wrote it", [](RunJournal& j) { wrote(j, written); }, true, originalDigest, true},
        {"shares it", [](RunJournal& j) { ASSERT_TRUE(j.recordShared(0, contentDigest(written))); },
         true, originalDigest, true},
        {"wrote it and died", [](RunJournal& j) { wrote(j, written); }, false, originalDigest,
         false},
        {"wrote it and let it go",
         [](RunJournal& j) {
             wrote(j, written);
             j.recordLeft(0);
         },
         true, originalDigest, false},
        {"put it back",
         [](RunJournal& j) {
             wrote(j, written);
             ASSERT_TRUE(j.recordRestoreStarting(0));
             j.recordWriteDone(0);
         },
         true, originalDigest, false},
        {"only read it", [](RunJournal&) {}, true, originalDigest, false},
        {"wrote it from another original", [](RunJournal& j) { wrote(j, written); }, true,
         contentDigest("older\n"), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        JournalsFolder folder;
        std::unique_ptr<RunJournal> other = folder.run();
        row.record(*other);
        const QString name = other->name;
        if (!row.alive)
            other->abandon();
        OtherJournals others(&folder.journals, nullptr);
        EXPECT_EQ(anotherRunStandsFor(others, identity(5), row.originalDigest, writtenDigest),
                  row.standsFor);
        EXPECT_FALSE(anotherRunStandsFor(others, identity(5), row.originalDigest,
                                         contentDigest("edited\n")));
        EXPECT_FALSE(
            anotherRunStandsFor(others, identity(5), row.originalDigest, writtenDigest, name));
    }
}

} // namespace
