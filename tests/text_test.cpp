#include "sourcefile.h"
#include "text.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Text, OneCharacterPerByteUpToTheFirstNul) {
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    const QString text = textFromBytes(all);
    ASSERT_EQ(text.size(), 255);
    for (int b = 1; b < 256; ++b)
        EXPECT_EQ(text[b - 1].unicode(), b);
    EXPECT_EQ(bytesFromText(text), all);
    EXPECT_EQ(textFromBytes(QByteArray("ab\0cd", 5)), QStringLiteral("ab"));
}

TEST(Text, CharactersAbove255BecomeQuestionMarks) {
    EXPECT_EQ(bytesFromText(QStringLiteral("a\u20acb")), QByteArray("a?b"));
}

TEST(SourceFile, TextModeReadingDropsEveryCarriageReturn) {
    EXPECT_EQ(sourceTextFromBytes("a\r\nb\rc\n"), QStringLiteral("a\nbc\n"));
    EXPECT_EQ(sourceTextFromBytes(QByteArray("x\r\n\0y\r\n", 7)), QStringLiteral("x\n"));
    EXPECT_EQ(sourceTextFromBytes(QByteArray("x\0\r", 3)), QStringLiteral("x"));
    EXPECT_EQ(sourceTextFromBytes("\r\r"), QString());
    EXPECT_EQ(sourceTextFromBytes(QByteArray()), QString());
    // Bytes above 127 are the same characters with carriage returns or without.
    EXPECT_EQ(sourceTextFromBytes("\xe9\xff\r\n\x80"), QStringLiteral("\u00e9\u00ff\n\u0080"));
    EXPECT_EQ(sourceTextFromBytes("\xe9\xff\n\x80"), QStringLiteral("\u00e9\u00ff\n\u0080"));
}

TEST(SourceFile, TextModeWritingUsesThePlatformLineEnd) {
#ifdef Q_OS_WIN
    EXPECT_EQ(sourceBytesFromText(QStringLiteral("a\nb\n")), QByteArray("a\r\nb\r\n"));
#else
    EXPECT_EQ(sourceBytesFromText(QStringLiteral("a\nb\n")), QByteArray("a\nb\n"));
#endif
}

TEST(SourceFile, LargeTextsAreWrittenWhole) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("big.bas"));
    QString text;
    for (int i = 0; text.size() < 300000; ++i)
        text += QStringLiteral("line %1 \u00e9\n").arg(i);
    ASSERT_TRUE(writeSourceText(path, text));
    EXPECT_EQ(readFileBytes(path), sourceBytesFromText(text));
    ASSERT_TRUE(writeSourceText(path, QString()));
    EXPECT_EQ(readFileBytes(path), QByteArray());
}

} // namespace

namespace {

// Files are read into a buffer of their size; files whose size says nothing
// (kernel files, devices) are still read to their end, and nothing is lost or
// left over at the size's edges.
TEST(Text, FilesReadWholeWhateverTheirSizeSays) {
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
