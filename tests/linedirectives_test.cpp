#include "linedirectives.h"
#include "linenumbering.h"
#include "sourcefile.h"

#include <gtest/gtest.h>

namespace {

const QString mainFile = QStringLiteral("main.bas");
const QString header = QStringLiteral("/src/lib.bi");

// A text whose lines come from (file, line) pairs; line 0 means made up.
MappedText mapped(const QStringList& lines, const QList<LineOrigin>& origins) {
    return MappedText::fromLines(lines, origins);
}

LineOrigin in(const QString& file, int line) {
    return LineOrigin{file, line};
}

// Every non-blank line with a known origin must be numbered as that origin by
// the compiler.
void expectMapped(const MappedText& text, const QString& written, int approximate = 0) {
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
    const MappedText text =
        mapped({QStringLiteral("a"), QStringLiteral("b")}, {in(mainFile, 1), in(mainFile, 2)});
    EXPECT_EQ(withLineDirectives(text, mainFile), text.text);
}

TEST(LineDirectives, InstancesOnTopAndRemovedLinesAreMappedBack) {
    const MappedText text =
        mapped({QStringLiteral("type Stack_double"), QString(), QStringLiteral("  items as double"),
                QStringLiteral("end type"), QString(), QStringLiteral("dim s as Stack_double"),
                QStringLiteral("print s.count")},
               {in(header, 3), LineOrigin(), in(header, 4), in(header, 6), LineOrigin(),
                in(mainFile, 1), in(mainFile, 9)});
    const QString written = withLineDirectives(text, mainFile);
    expectMapped(text, written);
    EXPECT_TRUE(written.startsWith(QStringLiteral("#line 2 \"/src/lib.bi\"\ntype Stack_double\n")));
}

TEST(LineDirectives, NeverAfterAContinuationInAMacroOrInABlockComment) {
    struct Case {
        const char* blocker; // a line after which the numbering breaks
        const char* within;  // the line that follows it (no directive allowed before it)
    };
    const Case cases[] = {
        {"print a, _", "b"},
        {"print a, _ ' more", "b"},
        {"#macro twice(x)", "x : x"},
        {"/' a comment", "still comment '/"},
        {"x = 1 /' open /' nested '/", "still '/"},
    };
    for (const Case& c : cases) {
        const MappedText text =
            mapped({QString::fromLatin1(c.blocker), QString::fromLatin1(c.within),
                    QStringLiteral("#endmacro"), QStringLiteral("print z")},
                   {in(mainFile, 1), in(mainFile, 5), in(mainFile, 6), in(mainFile, 7)});
        const QString written = withLineDirectives(text, mainFile);
        const QStringList lines = written.split(u'\n');
        EXPECT_FALSE(lines[1].startsWith(QStringLiteral("#line"))) << c.blocker;
        // The "within" line is numbered approximately; the directive moves down.
        const bool macro = QString::fromLatin1(c.blocker).startsWith(u'#');
        expectMapped(text, written, macro ? 2 : 1);
    }
}

TEST(LineDirectives, StringsAndCommentsDoNotFoolTheContinuationTest) {
    const char* free[] = {"print \"a _\"", "x = y_", "' comment _", "print \"/'\"",
                          "print !\"\\\"/'\""};
    for (const char* line : free) {
        const MappedText text = mapped({QString::fromLatin1(line), QStringLiteral("b")},
                                       {in(mainFile, 1), in(mainFile, 5)});
        expectMapped(text, withLineDirectives(text, mainFile));
    }
}

} // namespace

namespace {

TEST(LineDirectives, BlankLinesNeedNoDirective) {
    const MappedText text =
        mapped({QStringLiteral("a"), QStringLiteral("  "), QString(), QStringLiteral("b")},
               {in(mainFile, 1), in(mainFile, 7), in(mainFile, 7), in(mainFile, 4)});
    EXPECT_EQ(withLineDirectives(text, mainFile), text.text);
}

} // namespace

namespace {

// Random texts and origins: taking the directives out always gives the text
// back, and where nothing forbids a directive every line is numbered exactly.
TEST(LineDirectives, RandomTextsKeepTheirBytesAndTheirNumbers) {
    const QStringList plain = {QStringLiteral("print 1"), QString(), QStringLiteral("  x += 1"),
                               QStringLiteral("print \"_ /' '/\""), QStringLiteral("' note _")};
    const QStringList blockers = {QStringLiteral("print a, _"), QStringLiteral("#macro m()"),
                                  QStringLiteral("#endmacro"), QStringLiteral("/' open"),
                                  QStringLiteral("close '/")};
    const QString files[] = {mainFile, header, QStringLiteral("C:\\src\\x.bi")};
    quint32 seed = 12345;
    auto next = [&seed](quint32 bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % bound;
    };
    for (int round = 0; round < 500; ++round) {
        const bool withBlockers = round % 2 == 1;
        QStringList lines;
        QList<LineOrigin> origins;
        const int count = 1 + int(next(30));
        for (int i = 0; i < count; ++i) {
            const QStringList& pool = withBlockers && next(4) == 0 ? blockers : plain;
            lines.append(pool[next(quint32(pool.size()))]);
            origins.append(next(5) == 0 ? LineOrigin() : in(files[next(3)], 1 + int(next(50))));
        }
        const MappedText text = mapped(lines, origins);
        const QString written = withLineDirectives(text, mainFile);
        ASSERT_EQ(withoutLineDirectives(written), text.text);
        if (!withBlockers)
            expectMapped(text, written);
    }
}

} // namespace

namespace {

// The bytes written into a file are exactly the text with its directives in
// text mode, whether or not directives are needed, for characters beyond one
// byte and for a file name that is not plain ASCII.
TEST(LineDirectives, BytesToWriteAreTheTextWithItsDirectives) {
    const QString farFile = QStringLiteral("/src/d\u00e9j\u00e0.bi");
    const MappedText texts[] = {
        MappedText(),
        mapped({QStringLiteral("a"), QStringLiteral("b")}, {in(mainFile, 1), in(mainFile, 2)}),
        mapped({QStringLiteral("type T"), QString(), QStringLiteral("end type"),
                QStringLiteral("print \"\u00ff\u0101\"")},
               {in(header, 3), LineOrigin(), in(farFile, 9), in(mainFile, 1)}),
        mapped({QStringLiteral("print a, _"), QStringLiteral("b"), QStringLiteral("c\u20ac")},
               {in(mainFile, 5), in(header, 1), in(header, 2)}),
        mapped({QStringLiteral("x"), QStringLiteral("y")}, {in(header, 1000), in(mainFile, 1)}),
    };
    for (const MappedText& text : texts) {
        const QByteArray expected = sourceBytesFromText(withLineDirectives(text, mainFile));
        EXPECT_EQ(sourceBytesWithLineDirectives(text, mainFile), expected)
            << expected.toStdString();
    }
}

} // namespace
