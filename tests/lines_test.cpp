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
}

TEST(Lines, KeywordsCompareWholeTokensIgnoringCase) {
    EXPECT_TRUE(isKeyword(u"TYPE", QLatin1StringView("type")));
    EXPECT_TRUE(isKeyword(u"#Include", QLatin1StringView("#include")));
    EXPECT_FALSE(isKeyword(u"types", QLatin1StringView("type")));
    EXPECT_FALSE(isKeyword(u"\ttype", QLatin1StringView("type")));
}

TEST(Lines, NameCharactersAreLettersDigitsAndUnderscore) {
    for (QChar c : QStringLiteral("aZ09_\u00e9\u00c0\u00aa"))
        EXPECT_TRUE(isNameChar(c)) << c.unicode();
    for (QChar c : QStringLiteral(" .(),<>=+-\t\"\u00b2\u00d7"))
        EXPECT_FALSE(isNameChar(c)) << c.unicode();
}

} // namespace
