#include "lines.h"
#include "qtprinting.h"

#include <QByteArrayList>

#include <gtest/gtest.h>

namespace {

QByteArrayList texts(const Lines& views) {
    QByteArrayList copies;
    for (const QByteArrayView view : views)
        copies.append(view.toByteArray());
    return copies;
}

QByteArrayList tokenTexts(QByteArrayView line) {
    QByteArrayList copies;
    for (const QByteArrayView token : lineTokens(line))
        copies.append(token.toByteArray());
    return copies;
}

TEST(Lines, SplitKeepsEmptyPiecesSoJoiningGivesTheTextBack) {
    const QByteArrayList samples = {QByteArray(), "a", "a\n", "\n\nb\n", "x\ny"};
    for (const QByteArray& text : samples) {
        EXPECT_EQ(texts(splitLines(text)).join('\n'), text);
        EXPECT_EQ(countLineFeeds(text), splitLines(text).size() - 1);
    }
    EXPECT_EQ(splitLines(QByteArray()).size(), 1);
    EXPECT_EQ(texts(splitLines("a\n")), (QByteArrayList{"a", ""}));
    EXPECT_EQ(countLineFeeds(QByteArray(10000, '\n') + "x\r"), 10000);
    // Line feeds on both sides of every sixteen-byte edge, counted from
    // every start.
    QByteArray text(70, 'x');
    for (const int at : {0, 15, 16, 17, 31, 32, 47, 48, 63, 69})
        text[at] = '\n';
    for (qsizetype from = 0; from < text.size(); ++from)
        EXPECT_EQ(countLineFeeds(QByteArrayView(text).sliced(from)), text.sliced(from).count('\n'));
}

// Line ends and the byte asked about on both sides of every sixteen-byte
// edge, from every start.
TEST(Lines, JoinedLinesAreWhatJoinMakes) {
    const QList<QByteArrayList> lists = {
        {}, {QByteArray()}, {""}, {"", ""}, {"a"}, {"a", "", "bc"}, {"", "x\ny", ""}};
    for (const QByteArrayList& lines : lists) {
        const QByteArray joined = joinedLines(lines);
        EXPECT_EQ(joined, lines.join('\n'));
        EXPECT_EQ(joined.isNull(), lines.join('\n').isNull()) << lines.size() << " lines";
    }
}

TEST(Lines, LineEndsAreFoundWithWhatStandsOnTheLine) {
    QByteArray text(70, 'x');
    for (const int at : {3, 15, 16, 33, 47, 48, 63})
        text[at] = '\n';
    for (const int at : {0, 14, 17, 32, 49, 69})
        text[at] = '_';
    for (qsizetype from = 0; from < text.size(); ++from) {
        qsizetype end = text.indexOf('\n', from);
        if (end < 0)
            end = text.size();
        bool found = true;
        EXPECT_EQ(lineEndNoting(text, from, '_', &found), end) << from;
        EXPECT_EQ(found, text.sliced(from, end - from).contains('_')) << from;
    }
}

TEST(Lines, TheIndexGivesTheSplitLinesOverTheSameBytes) {
    const QByteArrayList samples = {QByteArray(), "a", "a\n", "\n\nb\n", "x\r\ny", "\n\n\n"};
    for (const QByteArray& text : samples) {
        const Lines views = splitLines(text);
        const LineIndex index(text);
        ASSERT_EQ(index.size(), views.size()) << text.constData();
        for (qsizetype i = 0; i < views.size(); ++i) {
            EXPECT_EQ(index[i], views[i]);
            EXPECT_EQ(index[i].data(), views[i].data());
        }
    }
    EXPECT_TRUE(LineIndex().isEmpty());
}

TEST(Lines, LinesAreViewsOverTheTextsOwnBytes) {
    const QByteArray text = "\nab\n\n c\nd\n";
    const Lines lines = splitLines(text);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[1].data(), text.constData() + 1);
    EXPECT_EQ(lines[3], " c");
}

TEST(Lines, OnlyTheSpaceSeparatesTokens) {
    struct Case {
        const char* line;
        QByteArrayList tokens;
    };
    const Case cases[] = {
        {"", {}},
        {"   ", {}},
        {"type Shape", {"type", "Shape"}},
        {"  type   Shape  ", {"type", "Shape"}},
        // A tab separates words as a space does.
        {"\ttype Shape", {"type", "Shape"}},
        {"a\tb c", {"a", "b", "c"}},
        {" \t type\t\tShape\t", {"type", "Shape"}},
        // Tokens that end on both sides of sixteen-byte edges.
        {"Stack_integer_fbext_x Other\tX", {"Stack_integer_fbext_x", "Other", "X"}},
        {"0123456789abcde f 0123456789abcdef\t0123456789abcdefg",
         {"0123456789abcde", "f", "0123456789abcdef", "0123456789abcdefg"}},
        {"0123456789abcdef0123456789abcdef0", {"0123456789abcdef0123456789abcdef0"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tokenTexts(c.line), c.tokens) << c.line;
        EXPECT_EQ(firstToken(c.line).toByteArray(), c.tokens.value(0)) << c.line;
    }
}

TEST(Lines, KeywordsCompareWholeTokensIgnoringCase) {
    EXPECT_TRUE(isKeyword("TYPE", "type"));
    EXPECT_TRUE(isKeyword("#Include", "#include"));
    EXPECT_FALSE(isKeyword("types", "type"));
    EXPECT_FALSE(isKeyword("\ttype", "type"));
    EXPECT_TRUE(isKeyword("ExTeNdS", "extends"));
    EXPECT_FALSE(isKeyword("typ", "type"));
    EXPECT_FALSE(isKeyword("tyqe", "type"));
    // Letters beyond ASCII never fold onto a keyword's letters.
    EXPECT_FALSE(isKeyword("typ\xe9", "type"));
    EXPECT_FALSE(isKeyword("\xc5s", "as"));
    EXPECT_FALSE(isKeyword("@s", "`s"));
}

// A directive's word as the compiler reads it: blanks before and after the
// "#", any letter case; what follows the word stays in the line.
TEST(Lines, DirectiveWordsAreReadAfterTheHashAndItsBlanks) {
    const struct {
        const char* line;
        const char* word; // empty: no directive
        const char* rest;
    } cases[] = {
        {"#undef ELEM", "undef", " ELEM"},
        {"  # undef ELEM", "undef", " ELEM"},
        {"\t#\tDEFINE X 1", "DEFINE", " X 1"},
        {"#endif ' G", "endif", " ' G"},
        {"#ifdef(X)", "ifdef", "(X)"},
        {"#", "", ""},
        {"# ", "", ""},
        {"", "", ""},
        {"print 1 ' #undef X", "", ""},
        {"x = 1 #undef", "", ""},
    };
    for (const auto& c : cases) {
        const QByteArrayView line(c.line);
        const QByteArrayView word = directiveWordOf(line);
        EXPECT_EQ(word, QByteArrayView(c.word)) << c.line;
        if (!word.isEmpty()) {
            EXPECT_EQ(line.sliced(word.data() + word.size() - line.data()), QByteArrayView(c.rest))
                << c.line;
        }
    }
}

// The quick test may only rule out lines whose first token is not the keyword.
TEST(Lines, FirstTokenTestNeverRulesOutTheKeyword) {
    for (const char* line : {"type A", "   TYPE A extends B", "Type", "tx", " t", "\ttype A"})
        EXPECT_TRUE(firstTokenMayBe(line, "type")) << line;
    for (const char* line : {"", "    ", "\t", "dim t", "#include once", "_type"})
        EXPECT_FALSE(firstTokenMayBe(line, "type")) << line;
    EXPECT_TRUE(firstTokenMayBe("  #INCLUDE once \"a.bi\"", "#include"));
}

TEST(Lines, ProcedurePrefixesArePassedOver) {
    const struct {
        const char* line;
        const char* header;
    } cases[] = {
        {"private sub Shape.move()", "sub Shape.move()"},
        {"  Public\tStatic  function Shape.kind()", "function Shape.kind()"},
        {"const function Shape.area()", "function Shape.area()"},
        {"static sub f()", "sub f()"},
        {"sub Shape.move()", "sub Shape.move()"},
        {"  function Shape.f()", "  function Shape.f()"},
        // Only linkage, then static or const, in the compiler's order.
        {"static private sub f()", "private sub f()"},
        {"privateer sub f()", "privateer sub f()"},
        {"private", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withoutProcedurePrefix(c.line), QByteArrayView(c.header)) << c.line;
}

// Every form the compiler takes for the definition of static data names
// the member it defines; any other line names none.
TEST(Lines, StaticDefinitionsNameTheirMember) {
    const struct {
        const char* line;
        const char* name;
    } cases[] = {
        {"dim Shape.made as integer", "Shape.made"},
        {"  DIM SHARED shape.made As Integer = 5", "shape.made"},
        {"dim Shape.sizes(0 to 2) as integer", "Shape.sizes"},
        {"dim as integer Shape.made = 5", "Shape.made"},
        {"dim shared as string * 8 Shape.code ' see Other.code", "Shape.code"},
        {"dim as Geo.Point Shape.origin", "Shape.origin"},
        {"dim as integer Shape.grid(3, 3)", "Shape.grid"},
        {"dim x as integer", ""},
        {"dim shared total as Geo.Point", ""},
        {"dim as Core.Inner t31", ""},
        {"dim as integer Shape.made : print Geo.x", "Shape.made"},
        {"dim as integer Shape.made: x = 1", "Shape.made"},
        {"dim Shape.made as integer : y = Geo.x", "Shape.made"},
        {"dim as Geo.Point here : Shape.made = 1", ""},
        {"Dim Shared As Geo.Point origin(0 to 2) = {(1, 2)}", ""},
        {"dim as Geo.Point ptr p = @Geo.home", ""},
        {"dim as function(byval p as Geo.Point) as integer Shape.judge", "Shape.judge"},
        {"dim as integer Shape.a, Shape.b", ""},
        {"dim shared", ""},
        {"redim Shape.items(3)", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(staticDefinitionName(c.line), QByteArrayView(c.name)) << c.line;
}

// A procedure written on one line: its header is its first statement, and
// it ends on that line when its last statement is its end.
TEST(Lines, OneLineProceduresAreSplitIntoStatements) {
    const struct {
        const char* line;
        const char* first;
        bool endsSub;
        bool endsFunction;
    } cases[] = {
        {"sub S.f() : x = 1 : end sub", "sub S.f() ", true, false},
        {"Function S.g() As T : Return v : END   FUNCTION ' done", "Function S.g() As T ", false,
         true},
        {"sub S.f() : print \"a:b\" : end sub", "sub S.f() ", true, false},
        {"sub S.f() : print \": end sub\"", "sub S.f() ", false, false},
        {"function S.f() as integer ' note: : end function",
         "function S.f() as integer ' note: : end function", false, false},
        {"sub S.f() : x = 1", "sub S.f() ", false, false},
        {"sub S.f()", "sub S.f()", false, false},
        {"sub S.f() : end sub x", "sub S.f() ", false, false},
        {"end sub", "end sub", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(firstStatementOf(c.line), QByteArrayView(c.first));
        EXPECT_EQ(endsWithEndStatement(c.line, "sub"), c.endsSub);
        EXPECT_EQ(endsWithEndStatement(c.line, "function"), c.endsFunction);
    }
}

} // namespace
