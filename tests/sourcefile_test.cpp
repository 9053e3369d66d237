// Reading a source file whole, or saying why it cannot be; flushing files.

#include "openfile.h"
#include "sourcefile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

WholeFile readWhole(const QString& path) {
    int error = 0;
    const OpenFile file = openExistingFile(path, FileAccess::Read, &error);
    EXPECT_TRUE(file.isOpen()) << error;
    return readWholeFile(file);
}

TEST(SourceFile, AFileIsReadWholeWithItsStamp) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("a.bas"));
    const QByteArray bytes("a\r\nb\0c\xff\rlast", 12);
    ASSERT_TRUE(writeFileBytes(path, bytes));
    const WholeFile whole = readWhole(path);
    EXPECT_EQ(whole.bytes, bytes);
    EXPECT_TRUE(whole.problem.isEmpty());
    EXPECT_TRUE(whole.stamp.sameAs(readFileStamp(path)));
    EXPECT_TRUE(whole.stamp.recent) << "just written: its times cannot tell a later write";
    EXPECT_EQ(readFileBytes(path), bytes);
}

TEST(SourceFile, AFileLargerThanMemoryIsNotRead) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("huge.bi"));
    QFile sparse(path);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    ASSERT_TRUE(sparse.resize(qint64(1) << 40)); // a terabyte that takes no room on disk
    sparse.close();
    const WholeFile whole = readWhole(path);
    EXPECT_FALSE(whole.bytes.has_value());
    EXPECT_EQ(whole.problem, QStringLiteral("it is larger than this machine's memory"));
    EXPECT_FALSE(readFileBytes(path).has_value());
}

// Another program appends to the file all the while: every read during which
// the file grew says so instead of handing over a part of it.
TEST(SourceFile, AFileThatGrowsWhileItIsReadIsNotReadWhole) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("growing.bi"));
    ASSERT_TRUE(writeFileBytes(path, QByteArray(16 << 20, 'x')));
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        QFile file(path);
        if (!file.open(QIODevice::Append))
            return;
        const QByteArray more(4096, 'y');
        while (!stop) {
            file.write(more);
            file.flush();
        }
    });
    int grewDuringARead = 0;
    for (int attempt = 0; attempt < 20 && grewDuringARead < 3; ++attempt) {
        const qint64 before = readFileStamp(path).size;
        const WholeFile whole = readWhole(path);
        const qint64 after = readFileStamp(path).size;
        if (after == before)
            continue; // the writer was not running meanwhile
        ++grewDuringARead;
        EXPECT_FALSE(whole.bytes.has_value()) << "a part of the file was taken for all of it";
        EXPECT_TRUE(whole.problem == QStringLiteral("it grew while it was read") ||
                    whole.problem == QStringLiteral("it changed while it was read"))
            << qPrintable(whole.problem);
    }
    stop = true;
    writer.join();
    EXPECT_GT(grewDuringARead, 0);
}

} // namespace

// Files flushed together: each error stays with its own file, past the few
// that are waited for at a time (a closed descriptor among open files).
TEST(SourceFile, FilesFlushedTogetherReportTheirOwnErrors) {
    QTemporaryDir folder;
    std::vector<OpenFile> files;
    for (int i = 0; i < 37; ++i) {
        const QString path = folder.filePath(QStringLiteral("m%1.bas").arg(i));
        ASSERT_TRUE(writeFileBytes(path, QByteArray(1000 + i, 'x')));
        int error = 0;
        files.push_back(i % 17 == 5 ? OpenFile()
                                    : openExistingFile(path, FileAccess::Write, &error));
    }
    std::vector<const OpenFile*> pointers;
    for (const OpenFile& file : files)
        pointers.push_back(&file);
    const std::vector<int> errors = syncFilesTogether(pointers);
    ASSERT_EQ(errors.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(errors[i] != 0, i % 17 == 5) << i;
}
