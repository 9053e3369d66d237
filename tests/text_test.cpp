#include "sourcefile.h"
#include "text.h"

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
}

TEST(SourceFile, TextModeWritingUsesThePlatformLineEnd) {
#ifdef Q_OS_WIN
    EXPECT_EQ(sourceBytesFromText(QStringLiteral("a\nb\n")), QByteArray("a\r\nb\r\n"));
#else
    EXPECT_EQ(sourceBytesFromText(QStringLiteral("a\nb\n")), QByteArray("a\nb\n"));
#endif
}

} // namespace
