#include "lines.h"

#include <gtest/gtest.h>

namespace {

QStringList tokenTexts(const QString& line) {
    QStringList texts;
    for (QStringView token : lineTokens(line))
        texts.append(token.toString());
    return texts;
}

TEST(Lines, SplitKeepsEmptyPiecesSoJoiningGivesTheTextBack) {
    const QStringList texts = {QString(), QStringLiteral("a"), QStringLiteral("a\n"),
                               QStringLiteral("\n\nb\n"), QStringLiteral("x\ny")};
    for (const QString& text : texts)
        EXPECT_EQ(splitLines(text).join(u'\n'), text);
    EXPECT_EQ(splitLines(QString()).size(), 1);
    EXPECT_EQ(splitLines(QStringLiteral("a\n")), (QStringList{QStringLiteral("a"), QString()}));
}

TEST(Lines, SplittingOverTheTextGivesTheSameLinesWithoutCopying) {
    QString text = QString::fromLatin1("\nab\n\n c\nd\n"); // in writable memory
    const QStringList lines = splitLinesOver(text);
    EXPECT_EQ(lines, splitLines(text));
    const QString empty;
    EXPECT_EQ(splitLinesOver(empty), splitLines(empty));
    EXPECT_EQ(lines[1].constData(), text.constData() + 1); // the text's own characters
    EXPECT_EQ(countLineFeeds(text), lines.size() - 1);
    EXPECT_EQ(countLineFeeds(QString(1000, u'\n') + QStringLiteral("x\r")), 1000);

    QStringList changed = lines;
    changed[1].replace(u'a', u'z'); // a changed line gets its own copy
    EXPECT_EQ(text, QStringLiteral("\nab\n\n c\nd\n"));
    const QString owned = ownLine(lines[3]);
    text.fill(u'x');
    EXPECT_EQ(owned, QStringLiteral(" c"));
    EXPECT_EQ(changed[1], QStringLiteral("zb"));
}

TEST(Lines, OnlyTheSpaceSeparatesTokens) {
    struct Case {
        const char* line;
        QStringList tokens;
    };
    const Case cases[] = {
        {"", {}},
        {"   ", {}},
        {"type Shape", {QStringLiteral("type"), QStringLiteral("Shape")}},
        {"  type   Shape  ", {QStringLiteral("type"), QStringLiteral("Shape")}},
        {"\ttype Shape", {QStringLiteral("\ttype"), QStringLiteral("Shape")}},
        {"a\tb c", {QStringLiteral("a\tb"), QStringLiteral("c")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tokenTexts(QString::fromLatin1(c.line)), c.tokens) << c.line;
    for (const Case& c : cases) {
        const QString line = QString::fromLatin1(c.line);
        EXPECT_EQ(firstToken(line).toString(), c.tokens.value(0)) << c.line;
    }
}

TEST(Lines, KeywordsCompareWholeTokensIgnoringCase) {
    EXPECT_TRUE(isKeyword(u"TYPE", QLatin1StringView("type")));
    EXPECT_TRUE(isKeyword(u"#Include", QLatin1StringView("#include")));
    EXPECT_FALSE(isKeyword(u"types", QLatin1StringView("type")));
    EXPECT_FALSE(isKeyword(u"\ttype", QLatin1StringView("type")));
    EXPECT_TRUE(isKeyword(u"ExTeNdS", QLatin1StringView("extends")));
    EXPECT_FALSE(isKeyword(u"typ", QLatin1StringView("type")));
    EXPECT_FALSE(isKeyword(u"tyqe", QLatin1StringView("type")));
    // Letters beyond ASCII never fold onto a keyword's letters.
    EXPECT_FALSE(isKeyword(u"typ\u00e9", QLatin1StringView("type")));
    EXPECT_FALSE(isKeyword(u"\u00c5s", QLatin1StringView("as")));
    EXPECT_FALSE(isKeyword(u"@s", QLatin1StringView("`s")));
}

// The quick test may only rule out lines whose first token is not the keyword.
TEST(Lines, FirstTokenTestNeverRulesOutTheKeyword) {
    const QLatin1StringView type("type");
    for (const char* line : {"type A", "   TYPE A extends B", "Type", "tx", " t"})
        EXPECT_TRUE(firstTokenMayBe(QString::fromLatin1(line), type)) << line;
    for (const char* line : {"", "    ", "\ttype A", "dim t", "#include once", "_type"})
        EXPECT_FALSE(firstTokenMayBe(QString::fromLatin1(line), type)) << line;
    EXPECT_TRUE(firstTokenMayBe(u"  #INCLUDE once \"a.bi\"", QLatin1StringView("#include")));
}

TEST(Lines, NameCharactersAreLettersDigitsAndUnderscore) {
    for (QChar c : QStringLiteral("aZ09_\u00e9\u00c0\u00aa"))
        EXPECT_TRUE(isNameChar(c)) << c.unicode();
    for (QChar c : QStringLiteral(" .(),<>=+-\t\"\u00b2\u00d7"))
        EXPECT_FALSE(isNameChar(c)) << c.unicode();
}

} // namespace
