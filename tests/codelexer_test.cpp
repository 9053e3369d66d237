#include "codelexer.h"
#include "lines.h"
#include "qtprinting.h"

#include <QByteArrayList>

#include <gtest/gtest.h>

#include <random>

namespace {

// What the lexer makes of each line of a text: its code with the bytes of
// strings shown as "~" and its trailing blanks dropped, and a mark when the
// line continues ("+") or ends inside a block comment ("*").
QByteArrayList lexed(const QByteArrayList& lines) {
    CodeLexer lexer;
    QByteArrayList out;
    for (const QByteArray& line : lines) {
        QByteArray code = lexer.next(line).toByteArray().replace(CodeLexer::stringByte, '~');
        while (code.endsWith(' '))
            code.chop(1);
        if (lexer.isContinued())
            code += '+';
        if (lexer.endsInComment())
            code += '*';
        out.append(code);
    }
    return out;
}

TEST(CodeLexer, TellsCodeFromStringsAndComments) {
    struct Case {
        QByteArrayList lines;
        QByteArrayList code;
    };
    const Case cases[] = {
        {{"dim s as Stack<<<integer>>>"}, {"dim s as Stack<<<integer>>>"}},
        // ' comments, quotes inside them, comment marks inside strings
        {{"x = 1 ' Stack<<<integer>>> is \"a\" stack"}, {"x = 1"}},
        {{"print \"it's /' no comment\" ' but this is"}, {"print \"~~~~~~~~~~~~~~~~~~\""}},
        {{"print \"say \"\"hi\"\"\", 'x"}, {"print \"~~~~~~~~~~\","}},
        {{"print !\"a\\\"b\" ' c"}, {"print !\"~~~~\""}},
        {{"print \"unterminated Stack<<<x>>>"}, {"print \"~~~~~~~~~~~~~~~~~~~~~~~~~"}},
        // rem as a word, wherever it stands, and no name that holds it
        {{"rem Stack<<<integer>>>"}, {""}},
        {{"  REM: a comment"}, {""}},
        {{"x = 1 : Rem the rest"}, {"x = 1 :"}},
        {{"remark = 1 : premium = rem2"}, {"remark = 1 : premium = rem2"}},
        {{"print \"a\" : rem \"b\""}, {"print \"~\" :"}},
        {{"x += 1 rem why"}, {"x += 1"}},
        {{"if x then rem dim b as Box<<<Missing>>>"}, {"if x then"}},
        {{"if x then print 1 else REM Box<<<Missing>>>"}, {"if x then print 1 else"}},
        {{"print \"a\" rem \"b\""}, {"print \"~\""}},
        {{"x.remove(rem_n, nrem, remmy) ' c"}, {"x.remove(rem_n, nrem, remmy)"}},
        {{"mem = 1 : m = memrem + rem"}, {"mem = 1 : m = memrem +"}},
        {{"print 1 rem _", "y"}, {"print 1", "y"}},
        // block comments nest and span lines
        {{"a /' b '/ c"}, {"a         c"}},
        {{"a /' one /' two '/ still '/ b"}, {"a                           b"}},
        {{"x /' open", "Stack<<<t>>> \" '/ y", "z"}, {"x*", "                  y", "z"}},
        {{"/' /'", "'/", "'/ w"}, {"*", "*", "   w"}},
        // inside a comment a quote is no string: the comment ends at the first '/
        {{"\"/'\" /' \"'/ '/ v"}, {"\"~~\""}},
        // a "_" on its own continues the line, and what follows it is ignored
        {{"print 1 + _", "2"}, {"print 1 ++", "2"}},
        {{"print 1 +_ junk /' not a comment"}, {"print 1 ++"}},
        {{"print 1 + _ ' c"}, {"print 1 ++"}},
        {{"my_name = _x + x_ + __y"}, {"my_name = _x + x_ + __y"}},
        {{"print \"a _\""}, {"print \"~~~\""}},
        {{"x = 1 ' _", "y"}, {"x = 1", "y"}},
        {{"rem _", "y"}, {"", "y"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join(" | ").toStdString());
        EXPECT_EQ(lexed(c.lines), c.code);
    }
}

// A line in which no string or comment can open is read by a quick path
// that looks at sixteen bytes at a time; a comment added at its end sends it
// through the full reading instead, which must find the same code wherever
// a "rem" or a "_" stands against the blocks' edges.
TEST(CodeLexer, PlainLinesReadAsTheFullReadingReadsThem) {
    const QByteArrayList pieces = {"rem", "REM", "Rem", "_",  "__", "x",       "a_b", " ",
                                   "\t",  "m",   "re",  "e",  "r",  "premium", "x_",  "_y",
                                   ":",   "1",   "rEm", "iF", "+",  "dim"};
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        QByteArray line;
        const int count = int(random() % 24);
        for (int i = 0; i < count; ++i)
            line += pieces[qsizetype(random() % quint32(pieces.size()))];
        SCOPED_TRACE(line.toStdString());
        EXPECT_EQ(lexed({line}), lexed({line + " ' c"}));
    }
}

TEST(CodeLexer, SaysWhereALineStarted) {
    CodeLexer lexer;
    lexer.next("a /' open");
    EXPECT_FALSE(lexer.startedInComment());
    EXPECT_TRUE(lexer.endsInComment());
    lexer.next("'/ b");
    EXPECT_TRUE(lexer.startedInComment());
    EXPECT_FALSE(lexer.endsInComment());
    lexer.next("/' again");
    lexer.reset();
    lexer.next("c");
    EXPECT_FALSE(lexer.startedInComment());
}

TEST(CodeLexer, LinesStartingInComment) {
    const QList<QByteArrayView> plain = {"a", "b ' /' no", "print \"/'\""};
    EXPECT_TRUE(linesStartingInComment(plain).isEmpty());
    const QList<QByteArrayView> commented = {
        "a /' open", "type T", "  /' nested '/ still", "'/ b", "c", "/' one line '/", "d"};
    EXPECT_EQ(linesStartingInComment(commented),
              (QList<bool>{false, true, true, true, false, false, false}));
}

// The lines of an "#if 0" branch are switched off as a comment's are; the
// directives that open and end the branch are not, nor is any other branch.
TEST(CodeLexer, LinesOfAnIfZeroBranchAreSwitchedOff) {
    struct Case {
        const char* name;
        QList<QByteArrayView> lines;
        QList<bool> off;
    };
    const Case cases[] = {
        {"#if 0 to #endif", {"#if 0", "template T", "#endif", "x"}, {false, true, false, false}},
        {"spelt any way",
         {"  # IF  0 ' later", "a", "#EndIf", "#if 0'x", "b", "#endif"},
         {false, true, false, false, true, false}},
        {"its #else and #elseif are live",
         {"#if 0", "a", "#else", "b", "#endif", "#if 0", "c", "#elseif X", "d", "#endif"},
         {false, true, false, false, false, false, true, false, false, false}},
        {"blocks nested in it",
         {"#if 0", "#ifdef X", "a", "#else", "b", "#endif", "c", "#endif", "d"},
         {false, true, true, true, true, true, true, false, false}},
        {"a nested #if 0 in a live branch",
         {"#ifdef X", "#if 0", "a", "#endif", "b", "#endif"},
         {false, false, true, false, false, false}},
        {"other conditions",
         {"#if 1", "a", "#if 00", "#if X = 0", "#ifdef ZERO", "#if 0x", "#endif"},
         {}}, // none is switched off
        {"#if 0 in a comment",
         {"/'", "#if 0", "'/", "a", "' #if 0", "b"},
         {false, true, true, false, false, false}},
        {"a comment in it",
         {"#if 0", "/' a", "#endif", "'/", "c", "#endif", "d"},
         {false, true, true, true, true, false, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(linesStartingInComment(c.lines), c.off) << c.name;
        // The same lines as a whole text's index, which a text with no "/'"
        // has read for its branches alone.
        QByteArrayList copies;
        for (const QByteArrayView line : c.lines)
            copies.append(line.toByteArray());
        const QByteArray text = copies.join('\n');
        EXPECT_EQ(linesStartingInComment(LineIndex(text)), c.off) << c.name;
    }
}

TEST(CodeLexer, TheCommentTrackerAgreesWithTheLexerOnEveryLine) {
    // The tracker lexes only lines with "/'" or inside a comment; each line's
    // answer must be the lexer's, whatever the text around it.
    const QList<QByteArrayView> pieces = {
        "a",         "/' open",      "'/ close",     "x = 1 ' /' not", "print \"/'\" : y",
        "/' a '/ b", "rem /' not",   "x _ /' after", "/'/' two",       "'/'/",
        "",          "!\"\\\" /'\"", "z '/"};
    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
        QList<QByteArrayView> lines;
        for (int i = 0; i < 12; ++i)
            lines.append(pieces[random() % pieces.size()]);
        CodeLexer lexer;
        CommentTracker comments;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            lexer.next(lines[i]);
            ASSERT_EQ(comments.startsInComment(lines[i]), lexer.startedInComment())
                << "round " << round << ", line " << i;
        }
    }
}

TEST(CodeLexer, WordsStandWhole) {
    EXPECT_TRUE(isWordAt("end  Template", 5, "template"));
    EXPECT_TRUE(isWordAt("x then", 2, "THEN"));
    EXPECT_FALSE(isWordAt("x thence", 2, "then"));
    EXPECT_FALSE(isWordAt("x the", 2, "then"));
    EXPECT_TRUE(isWordAt("then:", 0, "then"));
}

} // namespace
