#include "classtext.h"
#include "mappedtext.h"

#include <gtest/gtest.h>

namespace {

TEST(LineOrigin, OriginsOfOneFileNameAreEqualWhereverTheNameCameFrom) {
    const QString name = QStringLiteral("C:/src/main.bas");
    const LineOrigin first(name, 3);
    const LineOrigin again(QString(name.data(), name.size()), 3); // same text, other storage
    EXPECT_EQ(first, again);
    EXPECT_NE(first, LineOrigin(QStringLiteral("c:/src/main.bas"), 3)); // names are exact
    EXPECT_NE(first, first.atLine(4));
    EXPECT_EQ(first.atLine(4).file(), name);

    // A name read back stays valid however many names come after it.
    const QString& kept = first.file();
    for (int i = 0; i < 2000; ++i)
        LineOrigin(QStringLiteral("other%1.bi").arg(i), 1);
    EXPECT_EQ(kept, name);

    const LineOrigin none;
    EXPECT_FALSE(none.isKnown());
    EXPECT_TRUE(none.file().isEmpty());
    // Lists fill new entries with origins that have no file.
    QList<LineOrigin> grown{first};
    grown.resize(3);
    EXPECT_EQ(grown[2], LineOrigin());
}

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

TEST(MappedText, AppendingLinesIsAppendingTheirJoinedText) {
    const QList<QStringList> lineLists = {{},
                                          {QString()},
                                          {QStringLiteral("x")},
                                          {QStringLiteral("x"), QString(), QStringLiteral("y")}};
    const QList<MappedText> heads = {MappedText(), MappedText(QStringLiteral("a\n"), at(1)),
                                     MappedText(QStringLiteral("a\nb"), at(2))};
    for (const QStringList& lines : lineLists) {
        QList<LineOrigin> origins;
        for (qsizetype i = 0; i < lines.size(); ++i)
            origins.append(at(int(10 + i)));
        for (const MappedText& head : heads) {
            MappedText expected = head;
            expected.append(MappedText::fromLines(lines, origins));
            MappedText appended = head;
            appended.appendLines(lines, origins);
            EXPECT_EQ(appended.text, expected.text) << lines.join(u'|').toStdString();
            EXPECT_EQ(appended.origins, expected.origins) << lines.join(u'|').toStdString();
        }
    }
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
