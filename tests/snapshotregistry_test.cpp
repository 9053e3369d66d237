#include "digest.h"
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
