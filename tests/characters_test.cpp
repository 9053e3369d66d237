#include "characters.h"
#include "qtprinting.h"

#include <QChar>

#include <gtest/gtest.h>

namespace {

// A byte of 128 or above is judged as the Latin-1 character of the same code,
// exactly as the passes judged it when they held text as Latin-1 characters.
TEST(Characters, EveryByteIsJudgedAsItsLatin1Character) {
    for (int b = 0; b < 256; ++b) {
        const QChar c{char16_t(b)};
        EXPECT_EQ(isNameChar(char(b)), c == u'_' || c.isLetter() || c.isDigit()) << b;
        EXPECT_EQ(isSpaceChar(char(b)), c.isSpace()) << b;
    }
}

TEST(Characters, LetterCaseFoldsAsciiOnly) {
    EXPECT_TRUE(equalsIgnoringCase("Stack", "sTACK"));
    EXPECT_FALSE(equalsIgnoringCase("Stack", "Stacks"));
    EXPECT_FALSE(equalsIgnoringCase("\xc9t\xe9", "\xe9t\xe9")); // É and é stay apart
    EXPECT_FALSE(equalsIgnoringCase("@", "`"));                 // neighbours of the letters
    EXPECT_FALSE(equalsIgnoringCase("[", "{"));
    EXPECT_EQ(caseFolded("Map_String\xc9Z"), QByteArray("map_string\xc9z"));
    // A key written over again takes the new text's length.
    QByteArray key;
    setCaseFolded(key, "Queue_Integer");
    setCaseFolded(key, "Box");
    EXPECT_EQ(key, QByteArray("box"));

    EXPECT_TRUE(startsWithIgnoringCase("SHAPE.move", "shape."));
    EXPECT_FALSE(startsWithIgnoringCase("Sha", "shape"));

    struct Case {
        const char* text;
        const char* needle;
        qsizetype from;
        qsizetype found;
    };
    const Case cases[] = {
        {"sub SHAPE.x shape.y", "Shape.", 0, 4},
        {"sub SHAPE.x shape.y", "Shape.", 5, 12},
        {"sub SHAPE.x shape.y", "Shape.", 13, -1},
        {"ab", "abc", 0, -1},
        {"", "a", 0, -1},
        {"aaab", "AAB", 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(indexOfIgnoringCase(c.text, c.needle, c.from), c.found)
            << c.text << " / " << c.needle << " from " << c.from;

    // Every place, on either side of a block of sixteen, for needles of
    // letters and of other bytes; bytes that differ from the needle's only in
    // the case bit ("`" and "@", "\x1c" and "<") are no match.
    const QByteArrayView needles[] = {"OffsetOf", "<<<", "@x", ".y_", "_fbext"};
    const QByteArray nearMisses("\x0eY_ `X \x1c<< \x7f"
                                "FBEXT OffsetOg");
    for (const QByteArrayView needle : needles) {
        EXPECT_EQ(indexOfIgnoringCase(nearMisses + nearMisses, needle), -1)
            << needle.toByteArray().constData();
        for (qsizetype at = 0; at + needle.size() <= 40; ++at) {
            QByteArray text(40, '-');
            text.replace(at, needle.size(), caseFolded(needle).toUpper());
            EXPECT_EQ(indexOfIgnoringCase(text, needle), at)
                << needle.toByteArray().constData() << " at " << at;
            EXPECT_EQ(indexOfIgnoringCase(text, needle, at + 1), -1)
                << needle.toByteArray().constData() << at;
        }
    }
    // Looked for by its tail, the needle is found whole at every place, the
    // very start of the text included, and not where only its tail stands.
    for (const qsizetype tailAt : {0, 1, 2}) {
        for (qsizetype at = 0; at + 8 <= 40; ++at) {
            QByteArray text(40, '-');
            text.replace(at, 8, "TeMpLaTe");
            EXPECT_TRUE(containsIgnoringCase(text, "template", tailAt)) << tailAt << at;
            text[at] = 'x';
            EXPECT_FALSE(containsIgnoringCase(text, "template", tailAt)) << tailAt << at;
        }
    }
    EXPECT_FALSE(containsIgnoringCase("mplate", "template", 2));
    // Either of two bytes, at every place of a text of 40 from every start.
    for (qsizetype at = 0; at < 40; ++at) {
        QByteArray text(40, '-');
        text[at] = at % 2 ? '"' : '\'';
        for (qsizetype from = 0; from < 40; ++from)
            EXPECT_EQ(indexOfEither(text, from, '\'', '"'), from <= at ? at : -1) << at << from;
    }
}

} // namespace
