#include "linedirectives.h"
#include "linenumbering.h"
#include "qtprinting.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString mainFile = QStringLiteral("main.bas");
const QString header = QStringLiteral("/src/lib.bi");

// A text whose lines come from (file, line) pairs; line 0 means made up.
MappedText mapped(const QByteArrayList& lines, const QList<LineOrigin>& origins) {
    MappedTextBuilder text;
    for (qsizetype i = 0; i < lines.size(); ++i)
        text.add(lines[i], origins[i]);
    return text.take();
}

LineOrigin in(const QString& file, int line) {
    return LineOrigin{file, line};
}

// Every non-blank line with a known origin must be numbered as that origin by
// the compiler.
void expectMapped(const MappedText& text, const QByteArray& written, int approximate = 0) {
    ASSERT_EQ(withoutLineDirectives(written), text.text);
    const QList<NumberedLine> numbered = numberLines(written, mainFile);
    ASSERT_EQ(numbered.size(), text.origins.size());
    int wrong = 0;
    for (qsizetype i = 0; i < numbered.size(); ++i) {
        const LineOrigin& origin = text.origins[i];
        if (origin.isKnown() && !numbered[i].text.trimmed().isEmpty() &&
            (numbered[i].file != origin.file() || numbered[i].line != origin.line))
            ++wrong;
    }
    EXPECT_EQ(wrong, approximate) << written.toStdString();
}

TEST(LineDirectives, UnchangedNumberingNeedsNoDirective) {
    const MappedText text = mapped({"a", "b"}, {in(mainFile, 1), in(mainFile, 2)});
    EXPECT_EQ(withLineDirectives(text, mainFile), text.text);
}

TEST(LineDirectives, InstancesOnTopAndRemovedLinesAreMappedBack) {
    const MappedText text = mapped({"type Stack_double", "", "  items as double", "end type", "",
                                    "dim s as Stack_double", "print s.count"},
                                   {in(header, 3), LineOrigin(), in(header, 4), in(header, 6),
                                    LineOrigin(), in(mainFile, 1), in(mainFile, 9)});
    const QByteArray written = withLineDirectives(text, mainFile);
    expectMapped(text, written);
    EXPECT_TRUE(written.startsWith("#line 2 \"/src/lib.bi\"\ntype Stack_double\n"));
}

TEST(LineDirectives, NeverAfterAContinuationInAMacroOrInABlockComment) {
    struct Case {
        const char* blocker; // a line after which the numbering breaks
        const char* within;  // the line that follows it (no directive allowed before it)
    };
    const Case cases[] = {
        {"print a, _", "b"},
        {"print a, _ ' more", "b"},
        {"print a +_", "b"},
        {"print a, _ /' what follows a continuation is no comment", "b"},
        {"#macro twice(x)", "x : x"},
        {"# MACRO twice(x)", "x : x"},
        {"#\tmacro twice(x)", "x : x"},
        {"/' a comment", "still comment '/"},
        {"x = 1 /' open /' nested '/", "still '/"},
    };
    for (const Case& c : cases) {
        const MappedText text =
            mapped({c.blocker, c.within, "#endmacro", "print z"},
                   {in(mainFile, 1), in(mainFile, 5), in(mainFile, 6), in(mainFile, 7)});
        const QByteArray written = withLineDirectives(text, mainFile);
        const QByteArrayList lines = written.split('\n');
        EXPECT_FALSE(lines[1].startsWith("#line")) << c.blocker;
        // The "within" line is numbered approximately; the directive moves down.
        const bool macro = c.blocker[0] == '#';
        expectMapped(text, written, macro ? 2 : 1);
    }
}

TEST(LineDirectives, StringsAndCommentsDoNotFoolTheContinuationTest) {
    const char* free[] = {"print \"a _\"", "x = y_",        "' comment _",      "print \"/'\"",
                          "rem comment _", "x = 1 : REM _", "print !\"\\\"/'\""};
    for (const char* line : free) {
        const MappedText text = mapped({line, "b"}, {in(mainFile, 1), in(mainFile, 5)});
        expectMapped(text, withLineDirectives(text, mainFile));
    }
}

} // namespace

namespace {

TEST(LineDirectives, BlankLinesNeedNoDirective) {
    const MappedText text = mapped(
        {"a", "  ", "", "b"}, {in(mainFile, 1), in(mainFile, 7), in(mainFile, 7), in(mainFile, 4)});
    EXPECT_EQ(withLineDirectives(text, mainFile), text.text);
}

} // namespace

namespace {

// Random texts and origins: taking the directives out always gives the text
// back, read in one piece or in two halves at once, and where nothing forbids
// a directive every line is numbered exactly.
TEST(LineDirectives, RandomTextsKeepTheirBytesAndTheirNumbers) {
    const QByteArrayList plain = {"print 1", "", "  x += 1", "print \"_ /' '/\"", "' note _"};
    const QByteArrayList blockers = {"print a, _", "#macro m()", "#endmacro", "/' open",
                                     "close '/"};
    const QString files[] = {mainFile, header, QStringLiteral("C:\\src\\x.bi")};
    quint32 seed = 12345;
    auto next = [&seed](quint32 bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % bound;
    };
    for (int round = 0; round < 500; ++round) {
        const bool withBlockers = round % 2 == 1;
        QByteArrayList lines;
        QList<LineOrigin> origins;
        const int count = 1 + int(next(30));
        for (int i = 0; i < count; ++i) {
            const QByteArrayList& pool = withBlockers && next(4) == 0 ? blockers : plain;
            lines.append(pool[next(quint32(pool.size()))]);
            origins.append(next(5) == 0 ? LineOrigin() : in(files[next(3)], 1 + int(next(50))));
        }
        const MappedText text = mapped(lines, origins);
        const QByteArray written = withLineDirectives(text, mainFile);
        ASSERT_EQ(withoutLineDirectives(written), text.text);
        // Read in two halves at once, whatever the first half leaves open.
        ASSERT_EQ(withLineDirectives(text, mainFile, 0), written);
        if (!withBlockers)
            expectMapped(text, written);
    }
}

// Read in two halves at once, the second half starts from what the first
// most likely leaves; where the first leaves anything else, the result is
// still that of one piece. Each text's middle falls right after the line
// that leaves the surprise.
TEST(LineDirectives, ReadInTwoHalvesAsInOne) {
    const QList<MappedText> texts = {
        // a blank line renumbered by nothing
        mapped({"aaaa", "", "cccc"}, {in(mainFile, 1), in(mainFile, 7), in(mainFile, 8)}),
        // a line of no file
        mapped({"aaaa", "x", "cccc"}, {in(mainFile, 1), LineOrigin(), in(mainFile, 3)}),
        // a continued line, after which no directive may stand
        mapped({"aaa _", "cccc"}, {in(mainFile, 1), in(mainFile, 9)}),
    };
    for (const MappedText& text : texts) {
        const QByteArray whole = withLineDirectives(text, mainFile);
        EXPECT_EQ(withLineDirectives(text, mainFile, 0), whole) << whole.toStdString();
        expectMapped(text, whole, text.text.startsWith("aaa _") ? 1 : 0);
    }
}

} // namespace

namespace {

// A file's name is written as the file system's bytes, so the compiler names
// the real file; a name that a directive cannot hold gets no directive, and
// its lines are numbered approximately rather than under a broken name.
TEST(LineDirectives, FileNamesAreTheFileSystemsBytesOrNoneAtAll) {
    const QString french = QStringLiteral("/src/d\u00e9j\u00e0/lib.bi");
    const QString russian = QStringLiteral("/\u043f\u0440\u043e\u0435\u043a\u0442/lib.bi");
    for (const QString& file : {french, russian}) {
        const MappedText text = mapped({"x", "y"}, {in(file, 7), in(mainFile, 1)});
        const QByteArray written = withLineDirectives(text, mainFile);
        EXPECT_TRUE(written.startsWith("#line 6 \"" + QFile::encodeName(file) + "\"\nx\n"))
            << written.toStdString();
        expectMapped(text, written);
    }
    for (const char* name : {"/src/a\"b.bi", "/src/a\nb.bi", "/src/a\rb.bi"}) {
        const MappedText text = mapped(
            {"x", "y", "z"}, {in(QString::fromLatin1(name), 7), in(mainFile, 9), in(mainFile, 10)});
        const QByteArray written = withLineDirectives(text, mainFile);
        EXPECT_EQ(written, "x\n#line 8 \"main.bas\"\ny\nz") << name;
    }
}

} // namespace

namespace {

// The program's own "#line" directives number the lines after them in their
// file, and go on doing so for lines the rewrite moves about: each line is
// numbered as the compiler numbers it in the unrewritten file.
TEST(LineDirectives, TheProgramsOwnDirectivesNumberTheLinesAfterThem) {
    struct Expected {
        const char* text;
        QString file;
        int line;
    };
    struct Case {
        const char* name;
        QByteArrayList lines;
        QList<LineOrigin> origins;
        QList<Expected> expected; // every line that is not a directive, in order
    };
    const QString virtualFile = QStringLiteral("v.bas");
    const QList<Case> cases = {
        {"a line moved below the directive",
         {"#line 100", "x", "b"},
         {in(mainFile, 1), in(mainFile, 6), in(mainFile, 3)},
         {{"x", mainFile, 105}, {"b", mainFile, 102}}},
        {"a line moved above the directive",
         {"y", "#line 100", "b"},
         {in(mainFile, 5), in(mainFile, 1), in(mainFile, 2)},
         {{"y", mainFile, 104}, {"b", mainFile, 101}}},
        {"a name, and a line from above it",
         {"#line 500 \"v.bas\"", "s", "t"},
         {in(mainFile, 3), in(mainFile, 4), in(mainFile, 2)},
         {{"s", virtualFile, 501}, {"t", mainFile, 2}}},
        {"a number alone keeps the name given above",
         {"#line 500 \"v.bas\"", "#LINE 10", "u"},
         {in(mainFile, 1), in(mainFile, 3), in(mainFile, 4)},
         {{"u", virtualFile, 11}}},
        {"a header's directive leaves the main file alone",
         {"#line 100", "h", "m"},
         {in(header, 1), in(header, 2), in(mainFile, 2)},
         {{"h", header, 101}, {"m", mainFile, 2}}},
    };
    for (const Case& c : cases) {
        const MappedText text = mapped(c.lines, c.origins);
        const QByteArray written = withLineDirectives(text, mainFile);
        EXPECT_EQ(withLineDirectives(text, mainFile, 0), written) << c.name;
        const QList<NumberedLine> numbered = numberLines(written, mainFile);
        ASSERT_EQ(numbered.size(), c.expected.size()) << c.name << "\n" << written.toStdString();
        for (qsizetype i = 0; i < numbered.size(); ++i) {
            EXPECT_EQ(numbered[i].text, QString::fromLatin1(c.expected[i].text)) << c.name;
            EXPECT_EQ(numbered[i].file, c.expected[i].file) << c.name << "\n"
                                                            << written.toStdString();
            EXPECT_EQ(numbered[i].line, c.expected[i].line) << c.name << "\n"
                                                            << written.toStdString();
        }
    }
}

} // namespace
