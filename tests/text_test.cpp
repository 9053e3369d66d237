#include "qtprinting.h"
#include "sourcefile.h"
#include "text.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Text, SourceTextIsTheBytesUpToTheFirstNulWithoutCarriageReturns) {
    QByteArray all;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r')
            all.append(char(b));
    }
    EXPECT_EQ(sourceTextFromBytes(all), all);
    EXPECT_EQ(sourceTextFromBytes(QByteArray("ab\0cd", 5)), QByteArray("ab"));
    EXPECT_EQ(sourceTextFromBytes("a\r\nb\rc\n"), QByteArray("a\nbc\n"));
    EXPECT_EQ(sourceTextFromBytes(QByteArray("x\r\n\0y\r\n", 7)), QByteArray("x\n"));
    EXPECT_EQ(sourceTextFromBytes(QByteArray("x\0\r", 3)), QByteArray("x"));
    EXPECT_EQ(sourceTextFromBytes("\r\r"), QByteArray());
    EXPECT_EQ(sourceTextFromBytes(QByteArray()), QByteArray());
    EXPECT_EQ(sourceTextFromBytes("\xe9\xff\r\n\x80"), QByteArray("\xe9\xff\n\x80"));
}

TEST(Text, TextThatNeedsNoChangeIsTheFilesOwnBytes) {
    const QByteArray bytes = "print 1\nprint 2\n";
    EXPECT_EQ(sourceTextFromBytes(bytes).constData(), bytes.constData());
}

TEST(Text, WritingUsesThePlatformLineEnd) {
#ifdef Q_OS_WIN
    EXPECT_EQ(sourceBytesFromText("a\nb\n"), QByteArray("a\r\nb\r\n"));
#else
    EXPECT_EQ(sourceBytesFromText("a\nb\n"), QByteArray("a\nb\n"));
#endif
}

TEST(Text, FileNamesAreTheFileSystemsBytes) {
    const QString name = QStringLiteral("/src/caf\u00e9/\u043a\u043e\u0434.bas");
    const QByteArray bytes = fileNameBytes(name);
#ifdef Q_OS_LINUX
    EXPECT_EQ(bytes, QByteArray("/src/caf\xc3\xa9/\xd0\xba\xd0\xbe\xd0\xb4.bas"));
#endif
    EXPECT_EQ(fileNameFromBytes(bytes), name);
}

// Files are read into a buffer of their size; files whose size says nothing
// (kernel files, devices) are still read to their end, and nothing is lost or
// left over at the size's edges.
TEST(SourceFile, FilesReadWholeWhateverTheirSizeSays) {
    QTemporaryDir folder;
    for (const qsizetype size :
         {qsizetype(0), qsizetype(1), qsizetype(16384), qsizetype(3000001)}) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char(i * 7 % 251);
        const QString path = folder.filePath(QStringLiteral("f%1").arg(size));
        ASSERT_TRUE(writeFileBytes(path, bytes));
        const std::optional<QByteArray> read = readFileBytes(path);
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, bytes) << size;
    }
#ifdef Q_OS_LINUX
    const std::optional<QByteArray> status = readFileBytes(QStringLiteral("/proc/self/status"));
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->startsWith("Name:"));
    EXPECT_TRUE(status->endsWith('\n'));
#endif
    EXPECT_FALSE(readFileBytes(folder.filePath(QStringLiteral("missing"))));
}

} // namespace
