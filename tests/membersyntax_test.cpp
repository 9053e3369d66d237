#include "membersyntax.h"

#include <gtest/gtest.h>

namespace {

// Words and comments are found outside strings only; a doubled quote stays
// inside its string.
TEST(MemberSyntax, CodeAndWordsSkipStrings) {
    struct Case {
        const char* line;
        const char* code;
        const char* word;
        qsizetype from;
        qsizetype at; // of the word in the code, or -1
    };
    const Case cases[] = {
        {"  x = 1 ' base", "x = 1", "base", 0, -1},
        {"print \"it's\" ' no", "print \"it's\"", "it", 0, -1},
        {"s = \"a \"\"b\"\" c\" ' d", "s = \"a \"\"b\"\" c\"", "b", 0, -1},
        {"print \"x\"; BASE.y", "print \"x\"; BASE.y", "base", 0, 11},
        {"database base", "database base", "base", 0, 9},
        {"base_1 base2 _base", "base_1 base2 _base", "base", 0, -1},
        // Starting inside a word does not find the rest of it.
        {"rebase base", "rebase base", "base", 2, 7},
        {"base", "base", "base", 0, 0},
        {"\t_", "_", "as", 0, -1},
        // After "!" a backslash escapes a quote, which then ends nothing.
        {"s = !\"\\\"' \" & base ' d", "s = !\"\\\"' \" & base", "base", 0, 14},
        {"s = \"c:\\\" & base ' d", "s = \"c:\\\" & base", "base", 0, 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(codeOf(c.line), QByteArrayView(c.code)) << c.line;
        EXPECT_EQ(indexOfWord(codeOf(c.line), c.word, c.from), c.at) << c.line;
    }
}

TEST(MemberSyntax, TopLevelAsSkipsBracketsStringsAndLongerWords) {
    EXPECT_EQ(topLevelAs("x as integer"), 2);
    EXPECT_EQ(topLevelAs("f(a As b) AS c"), 10);
    EXPECT_EQ(topLevelAs("\"as\" alias asx _as"), -1);
    EXPECT_EQ(topLevelAs("as"), 0);
}

// The key of a declaration, and lines that declare no member.
TEST(MemberSyntax, DeclarationsGiveTheirKeys) {
    struct Case {
        const char* line;
        bool parsed;
        const char* name;
        MemberClass memberClass;
        const char* signature;
        bool isStatic;
    };
    const Case cases[] = {
        {"  declare sub Move(byval dx as Integer, dy AS  long ptr)", true, "move",
         MemberClass::procedure, "integer,long ptr", false},
        {"DECLARE STATIC CONST FUNCTION f() as t ' note", true, "f", MemberClass::procedure, "",
         true},
        {"declare virtual property size() as integer", true, "size", MemberClass::getter, "",
         false},
        {"declare property size(byval v as integer)", true, "size", MemberClass::setter, "integer",
         false},
        {"declare operator cast() as string", true, "cast", MemberClass::other, "", false},
        // Words between the name and the parameters do not hide the parameters.
        {"declare sub moveBy overload(byval dx as single, byval dy as single = 0)", true, "moveby",
         MemberClass::procedure, "single,single", false},
        {"declare function f Overload (byref v as Vec2) as integer", true, "f",
         MemberClass::procedure, "vec2", false},
        {"declare sub g cdecl overload alias \"g2\" (byval n as long)", true, "g",
         MemberClass::procedure, "long", false},
        {"declare sub h stdcall(byval n as long)", true, "h", MemberClass::procedure, "long",
         false},
        {"declare property p overload(byval i as integer) as string", true, "p",
         MemberClass::getter, "integer", false},
        {"declare sub overloaded(byval n as long)", true, "overloaded", MemberClass::procedure,
         "long", false},
        // Commas, brackets and quotes in a default string are no parameters' ends.
        {"declare function join(byref sep as string = \", \", byref e as string = \")\") as string",
         true, "join", MemberClass::procedure, "string,string", false},
        {"declare sub w(byref p as string = !\"\\\", (\", byval n as long = 2)", true, "w",
         MemberClass::procedure, "string,long", false},
        {"declare property q(byref k as string = \")\") as string", true, "q", MemberClass::getter,
         "string", false},
        // A constructor's parameters may follow the kind directly: the first
        // parameter's name is no member's name.
        {"declare constructor(byval x as integer, byval y as integer)", true, "",
         MemberClass::other, "integer,integer", false},
        {"declare constructor (byval x as integer)", true, "", MemberClass::other, "integer",
         false},
        {"declare operator let(byval x as integer)", true, "let", MemberClass::other, "integer",
         false},
        {"declare sub", false, "", MemberClass::other, "", false},
        {"declare static sub", false, "", MemberClass::other, "", false},
        {"declare static", false, "", MemberClass::other, "", false},
        {"' declare sub f()", false, "", MemberClass::other, "", false},
        {"declared as integer", false, "", MemberClass::other, "", false},
    };
    for (const Case& c : cases) {
        MemberDeclaration declaration;
        ASSERT_EQ(parseDeclaration(c.line, declaration), c.parsed) << c.line;
        if (!c.parsed)
            continue;
        EXPECT_EQ(declaration.key.name, QByteArray(c.name)) << c.line;
        EXPECT_EQ(declaration.key.memberClass, c.memberClass) << c.line;
        EXPECT_EQ(declaration.key.signature, QByteArray(c.signature)) << c.line;
        EXPECT_EQ(declaration.isStatic, c.isStatic) << c.line;
        EXPECT_EQ(declaration.code, codeOf(c.line)) << c.line;
    }
}

TEST(MemberSyntax, TextFinderFindsEveryPlaceExactly) {
    const TextFinder finder("a.b");
    const QByteArrayView text = "xa.b a.B a.ba.b";
    QList<qsizetype> found;
    for (qsizetype at = finder.in(text); at >= 0; at = finder.in(text, at + 1))
        found.append(at);
    EXPECT_EQ(found, (QList<qsizetype>{1, 9, 12}));
    EXPECT_EQ(finder.in(text, text.size() + 1), -1);
    EXPECT_EQ(finder.in("a."), -1);
}

} // namespace
