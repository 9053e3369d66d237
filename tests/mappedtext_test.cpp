#include "classtext.h"
#include "mappedtext.h"

#include <gtest/gtest.h>

namespace {

TEST(MappedText, AppendJoinsTheTouchingLinesAndKeepsTheirOrigin) {
    MappedText text(QStringLiteral("a\nb"), at(1));
    text.append(MappedText(QStringLiteral("c\nd"), at(5)));
    EXPECT_EQ(text.text, QStringLiteral("a\nbc\nd"));
    EXPECT_EQ(text.origins, (QList<LineOrigin>{at(1), at(1), at(5)}));

    MappedText empty;
    empty.append(MappedText(QStringLiteral("x\ny"), at(7)));
    EXPECT_EQ(empty.origins, (QList<LineOrigin>{at(7), at(7)}));

    MappedText endsInLineFeed(QStringLiteral("a\n"), at(1));
    endsInLineFeed.append(QStringLiteral("z"), at(9));
    EXPECT_EQ(endsInLineFeed.origins, (QList<LineOrigin>{at(1), at(9)}));
}

TEST(MappedText, InsertKeepsOneOriginPerLine) {
    struct Case {
        const char* text;
        qsizetype position;
        const char* inserted;
        QList<int> lines; // expected origin line numbers; the text's lines are 1.., inserted 100
    };
    const Case cases[] = {
        {"type A\nend type", 6, "\nx\ny", {1, 100, 100, 2}},
        {"type A\nend type", 6, "\nx\n", {1, 100, 100, 2}},
        {"abc", 1, "X", {1}},
        {"", 0, "p\nq", {100, 100}},
        {"a\nb", 2, "p\n", {1, 100, 2}},
        {"a\n\nb", 2, "p", {1, 100, 3}},
    };
    for (const Case& c : cases) {
        const QString source = QString::fromLatin1(c.text);
        MappedText text;
        text.text = source;
        text.origins.clear();
        for (qsizetype i = 0; i <= source.count(u'\n'); ++i)
            text.origins.append(at(int(i + 1)));
        text.insert(c.position, MappedText(QString::fromLatin1(c.inserted), at(100)));
        QString expectedText = source;
        expectedText.insert(c.position, QString::fromLatin1(c.inserted));
        EXPECT_EQ(text.text, expectedText);
        QList<LineOrigin> expected;
        for (int line : c.lines)
            expected.append(at(line));
        EXPECT_EQ(text.origins, expected) << c.text << " + " << c.inserted;
    }
}

TEST(MappedText, JoinLinesKeepsEveryPartsOrigins) {
    const MappedText joined = MappedText::joinLines(
        {MappedText(QStringLiteral("a\nb"), at(1)), MappedText(QStringLiteral("\n"), LineOrigin()),
         MappedText(QString(), at(7)), MappedText(QStringLiteral("c"), at(3))});
    EXPECT_EQ(joined.text, QStringLiteral("a\nb\n\n\n\nc"));
    ASSERT_EQ(joined.lineCount(), 6);
    EXPECT_EQ(joined.origins[1], at(1));
    EXPECT_FALSE(joined.origins[2].isKnown());
    EXPECT_EQ(joined.origins[4], at(7));
    EXPECT_EQ(joined.origins[5], at(3));
}

TEST(MappedText, JoinLinesOfNothingIsOneEmptyLine) {
    const MappedText joined = MappedText::joinLines({});
    EXPECT_EQ(joined.text, QString());
    EXPECT_EQ(joined.lineCount(), 1);
}

} // namespace
