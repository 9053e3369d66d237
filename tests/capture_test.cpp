#include "capture.h"
#include "literaltemplates.h"
#include "qtprinting.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

struct Capture {
    QStringList lines;
    QList<LineOrigin> origins;
    QStringList names;
    TemplateTable table;
};

Capture capture(const QStringList& input, const QStringList& namesBefore = {}) {
    Capture result{input, numberedOrigins(QStringLiteral("f.bas"), input.size()), namesBefore, {}};
    captureTemplates(result.lines, result.origins, result.names, result.table);
    return result;
}

QString lf() {
    return QStringLiteral("\n");
}

} // namespace

TEST(CaptureTest, WorkedExampleTakesTheDeclarationAndItsMember) {
    const Capture result = capture({
        QStringLiteral("template Stack"),
        QStringLiteral("items(0 to 15) as t1"),
        QStringLiteral("count as integer"),
        QStringLiteral("declare sub push(byval v as t1)"),
        QStringLiteral("end template"),
        QStringLiteral("sub Stack.push(byval v as t1)"),
        QStringLiteral("items(count) = v"),
        QStringLiteral("count += 1"),
        QStringLiteral("end sub"),
        QStringLiteral("dim s as Stack<<<double>>>"),
    });
    EXPECT_EQ(result.lines, QStringList{QStringLiteral("dim s as Stack<<<double>>>")});
    EXPECT_EQ(result.names, QStringList{QStringLiteral("stack")});
    ASSERT_EQ(result.table.keys(), QStringList{QStringLiteral("Stack")});
    const CapturedTemplate stack = result.table.value(QStringLiteral("Stack"));
    EXPECT_EQ(stack.lines, (QStringList{
                               QStringLiteral("items(0 to 15) as t1"),
                               QStringLiteral("count as integer"),
                               QStringLiteral("declare sub push(byval v as t1)"),
                               QStringLiteral("end type "),
                               lf(),
                               QStringLiteral("sub Stack.push(byval v as t1)"),
                               QStringLiteral("items(count) = v"),
                               QStringLiteral("count += 1"),
                               QStringLiteral("end sub"),
                               lf(),
                           }));
    // Each captured line keeps where it came from; the "\n" elements come from nowhere.
    QList<int> lineNumbers;
    for (const LineOrigin& origin : stack.origins)
        lineNumbers.append(origin.line);
    EXPECT_EQ(lineNumbers, (QList<int>{2, 3, 4, 5, 0, 6, 7, 8, 9, 0}));
    EXPECT_EQ(stack.headerOrigin, (LineOrigin{QStringLiteral("f.bas"), 1}));
    EXPECT_EQ(result.origins, (QList<LineOrigin>{{QStringLiteral("f.bas"), 10}}));
}

// How header and end lines are recognised: by their tokens, keywords in any
// letter case, only spaces separating.
TEST(CaptureTest, RecognisesHeadersAndEndLinesByTheirTokens) {
    struct Case {
        const char* what;
        QStringList input;
        QStringList remaining;
        QStringList names;
        QStringList captured; // under the name "T"
    };
    const QString body = QStringLiteral("  x as t1");
    const QList<Case> cases = {
        {"header indented with spaces",
         {QStringLiteral("   template T"), body, QStringLiteral("end template"),
          QStringLiteral("z")},
         {QStringLiteral("z")},
         {QStringLiteral("t")},
         {body, QStringLiteral("end type "), lf()}},
        {"header indented with a tab stays",
         {QStringLiteral("\ttemplate T"), body, QStringLiteral("end template")},
         {QStringLiteral("\ttemplate T"), body, QStringLiteral("end template")},
         {},
         {}},
        {"capitals: the end line is kept as written",
         {QStringLiteral("TEMPLATE T"), body, QStringLiteral("END TEMPLATE")},
         {},
         {QStringLiteral("t")},
         {body, QStringLiteral("END TEMPLATE"), lf()}},
        {"further header tokens are ignored",
         {QStringLiteral("Template T  extra words"), body, QStringLiteral("End Template")},
         {},
         {QStringLiteral("t")},
         {body, QStringLiteral("End Template"), lf()}},
        {"a lone template keyword is no header",
         {QStringLiteral("template"), body, QStringLiteral("end template")},
         {QStringLiteral("template"), body, QStringLiteral("end template")},
         {},
         {}},
        {"end line with two spaces",
         {QStringLiteral("template T"), body, QStringLiteral("  end  template  ")},
         {},
         {QStringLiteral("t")},
         {body, QStringLiteral("  end  type   "), lf()}},
        {"end_template is no end line: the rest of the file goes",
         {QStringLiteral("template T"), body, QStringLiteral("end_template"), QStringLiteral("z")},
         {},
         {QStringLiteral("t")},
         {QStringLiteral("template T"), body, QStringLiteral("end_template"), QStringLiteral("z")}},
        {"empty body",
         {QStringLiteral("template T"), QStringLiteral("end template"), QStringLiteral("z")},
         {QStringLiteral("z")},
         {QStringLiteral("t")},
         {QStringLiteral("end type "), lf()}},
        {"only the first body line has its \"template \" made \"type \"",
         {QStringLiteral("template T"), QStringLiteral("' template one template"),
          QStringLiteral("' template two"), QStringLiteral("end template")},
         {},
         {QStringLiteral("t")},
         {QStringLiteral("' type one template"), QStringLiteral("' template two"),
          QStringLiteral("end type "), lf()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Capture result = capture(c.input);
        EXPECT_EQ(result.lines, c.remaining);
        EXPECT_EQ(result.names, c.names);
        EXPECT_EQ(result.table.value(QStringLiteral("T")).lines, c.captured);
    }
}

TEST(CaptureTest, SeveralDeclarations) {
    // Two in direct succession, names differing only in case: two keys.
    Capture result = capture({QStringLiteral("template Stack"), QStringLiteral("end template"),
                              QStringLiteral("template stack"), QStringLiteral("a as t1"),
                              QStringLiteral("end template")});
    EXPECT_TRUE(result.lines.isEmpty());
    EXPECT_EQ(result.names, (QStringList{QStringLiteral("stack"), QStringLiteral("stack")}));
    EXPECT_EQ(result.table.keys(), (QStringList{QStringLiteral("Stack"), QStringLiteral("stack")}));

    // The same name twice: the later declaration's lines win. The earlier one's
    // scans ran over the whole rest of the file, so they took the members
    // written below either declaration, and the later one finds none.
    result = capture({
        QStringLiteral("template P"),
        QStringLiteral("a as t1"),
        QStringLiteral("end template"),
        QStringLiteral("sub P.one()"),
        QStringLiteral("end sub"),
        QStringLiteral("template P"),
        QStringLiteral("b as t1"),
        QStringLiteral("end template"),
        QStringLiteral("sub P.two()"),
        QStringLiteral("end sub"),
        QStringLiteral("rest"),
    });
    EXPECT_EQ(result.lines, QStringList{QStringLiteral("rest")});
    EXPECT_EQ(result.names, (QStringList{QStringLiteral("p"), QStringLiteral("p")}));
    EXPECT_EQ(result.table.value(QStringLiteral("P")).lines,
              (QStringList{QStringLiteral("b as t1"), QStringLiteral("end type "), lf()}));

    // Names handed over from included files stay in front.
    result = capture({QStringLiteral("template Q"), QStringLiteral("end template")},
                     {QStringLiteral("list")});
    EXPECT_EQ(result.names, (QStringList{QStringLiteral("list"), QStringLiteral("q")}));
}

// Which first lines start a member procedure of template Stack.
TEST(CaptureTest, StartTestsOfTheSixMemberKinds) {
    struct Case {
        const char* first;
        const char* end;
        bool captured;
    };
    const QList<Case> cases = {
        {"sub Stack.push(byval v as t1)", "end sub", true},
        {"SUB stack.push(byval v as t1)", "END SUB", true},
        {"  sub   Stack.push", "  end sub", true},
        {"sub StackNode.push(byval v as t1)", "end sub", false},
        {"\tsub Stack.push", "end sub", false},
        {"sub Stack", "end sub", false},
        {"function Stack.pop() as t1", "end function", true},
        {"function Stack", "end function", false},
        {"constructor Stack", "end constructor", true},
        {"constructor Stack ( byval n as integer )", "end constructor", true},
        {"constructor Stack(byval n as integer)", "end constructor", true},
        {"Constructor STACK()", "End Constructor", true},
        {"constructor StackNode", "end constructor", false},
        {"constructor Stack.x", "end constructor", false},
        {"destructor Stack", "end destructor", true},
        {"destructor Stack()", "end destructor", true},
        {"destructor StackNode", "end destructor", false},
        {"operator Stack.cast() as string", "end operator", true},
        {"operator Stack .cast() as string", "end operator", true},
        {"operator stack.+= (byval n as t1)", "end operator", true},
        {"operator StackNode.cast() as string", "end operator", false},
        {"operator Stack(", "end operator", false},
        {"property Stack.count() as integer", "end property", true},
        {"PROPERTY stack.count(byval n as integer)", "end property", true},
        {"property StackNode.count() as integer", "end property", false},
        {"property Stack", "end property", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        const QString first = QLatin1StringView(c.first);
        const QString end = QLatin1StringView(c.end);
        const Capture result =
            capture({QStringLiteral("template Stack"), QStringLiteral("end template"), first,
                     QStringLiteral("  body"), end, QStringLiteral("after")});
        const QStringList members =
            result.table.value(QStringLiteral("Stack")).lines.mid(2); // after "end type ", "\n"
        if (c.captured) {
            EXPECT_EQ(result.lines, QStringList{QStringLiteral("after")});
            EXPECT_EQ(members, (QStringList{first, QStringLiteral("  body"), end, lf()}));
        } else {
            EXPECT_EQ(result.lines,
                      (QStringList{first, QStringLiteral("  body"), end, QStringLiteral("after")}));
            EXPECT_TRUE(members.isEmpty());
        }
    }
}

TEST(CaptureTest, MembersAreStoredByKindInScanOrder) {
    const Capture result = capture({
        QStringLiteral("template S"),
        QStringLiteral("end template"),
        QStringLiteral("property S.p"),
        QStringLiteral("end property"),
        QStringLiteral("function S.f"),
        QStringLiteral("end function"),
        QStringLiteral("operator S.cast"),
        QStringLiteral("end operator"),
        QStringLiteral("destructor S"),
        QStringLiteral("end destructor"),
        QStringLiteral("sub S.b"),
        QStringLiteral("end sub"),
        QStringLiteral("constructor S"),
        QStringLiteral("end constructor"),
        QStringLiteral("sub S.a"),
        QStringLiteral("end sub"),
    });
    EXPECT_TRUE(result.lines.isEmpty());
    QStringList firstLines;
    const QStringList captured = result.table.value(QStringLiteral("S")).lines;
    for (qsizetype i = 2; i < captured.size(); i += 3)
        firstLines.append(captured[i]);
    EXPECT_EQ(firstLines,
              (QStringList{QStringLiteral("sub S.b"), QStringLiteral("sub S.a"),
                           QStringLiteral("function S.f"), QStringLiteral("constructor S"),
                           QStringLiteral("destructor S"), QStringLiteral("operator S.cast"),
                           QStringLiteral("property S.p")}));
}

// Where a member procedure begins and ends.
TEST(CaptureTest, MemberBoundaries) {
    struct Case {
        const char* what;
        QStringList input; // after "template S" / "end template"
        QStringList remaining;
        QStringList members;
    };
    const QList<Case> cases = {
        {"empty and one-token lines inside go with it, those between stay",
         {QStringLiteral("sub S.a"), QStringLiteral(""), QStringLiteral("return"),
          QStringLiteral("end sub"), QStringLiteral(""), QStringLiteral("x"),
          QStringLiteral("sub S.b"), QStringLiteral("end sub")},
         {QStringLiteral(""), QStringLiteral("x")},
         {QStringLiteral("sub S.a"), QStringLiteral(""), QStringLiteral("return"),
          QStringLiteral("end sub"), lf(), QStringLiteral("sub S.b"), QStringLiteral("end sub"),
          lf()}},
        {"a procedure without its end line takes the rest of the file",
         {QStringLiteral("x"), QStringLiteral("sub S.a"), QStringLiteral("template R"),
          QStringLiteral("end template"), QStringLiteral("end function")},
         {QStringLiteral("x")},
         {QStringLiteral("sub S.a"), QStringLiteral("template R"), QStringLiteral("end template"),
          QStringLiteral("end function")}},
        {"an end line met outside stays; a second start inside changes nothing",
         {QStringLiteral("end sub"), QStringLiteral("sub S.a"), QStringLiteral("sub S.b"),
          QStringLiteral("end sub"), QStringLiteral("end sub")},
         {QStringLiteral("end sub"), QStringLiteral("end sub")},
         {QStringLiteral("sub S.a"), QStringLiteral("sub S.b"), QStringLiteral("end sub"), lf()}},
        {"the end line of another kind does not close it",
         {QStringLiteral("function S.f"), QStringLiteral("end sub"),
          QStringLiteral("end function")},
         {},
         {QStringLiteral("function S.f"), QStringLiteral("end sub"), QStringLiteral("end function"),
          lf()}},
        {"a function scan sees only what the sub scan left",
         {QStringLiteral("sub S.a"), QStringLiteral("function S.f"), QStringLiteral("end sub"),
          QStringLiteral("end function")},
         {QStringLiteral("end function")},
         {QStringLiteral("sub S.a"), QStringLiteral("function S.f"), QStringLiteral("end sub"),
          lf()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Capture result = capture(
            QStringList{QStringLiteral("template S"), QStringLiteral("end template")} + c.input);
        EXPECT_EQ(result.lines, c.remaining);
        EXPECT_EQ(result.table.value(QStringLiteral("S")).lines.mid(2), c.members);
    }

    // A member written above the declaration is not looked at.
    const Capture above = capture({QStringLiteral("sub S.a"), QStringLiteral("end sub"),
                                   QStringLiteral("template S"), QStringLiteral("end template")});
    EXPECT_EQ(above.lines, (QStringList{QStringLiteral("sub S.a"), QStringLiteral("end sub")}));
    EXPECT_EQ(above.table.value(QStringLiteral("S")).lines,
              (QStringList{QStringLiteral("end type "), lf()}));
}

TEST(CaptureTest, RemainingLinesKeepTheirOrigins) {
    const Capture result =
        capture({QStringLiteral("a"), QStringLiteral("template S"), QStringLiteral("end template"),
                 QStringLiteral("b"), QStringLiteral("sub S.x"), QStringLiteral("end sub"),
                 QStringLiteral("c")});
    EXPECT_EQ(result.lines,
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    const QString f = QStringLiteral("f.bas");
    EXPECT_EQ(result.origins, (QList<LineOrigin>{{f, 1}, {f, 4}, {f, 7}}));
    const CapturedTemplate s = result.table.value(QStringLiteral("S"));
    EXPECT_EQ(s.origins, (QList<LineOrigin>{{f, 3}, LineOrigin(), {f, 5}, {f, 6}, LineOrigin()}));
    EXPECT_EQ(s.headerOrigin, (LineOrigin{f, 2}));
}

// The fast capture must take exactly the lines the literal rules take, in the
// same order, from any arrangement of headers, members and end lines.
TEST(CaptureTest, MatchesTheLiteralRulesOnRandomInput) {
    const QStringList pieces = {
        QStringLiteral("template S"),
        QStringLiteral("template s"),
        QStringLiteral("TEMPLATE T"),
        QStringLiteral(" template S.x"),
        QStringLiteral("end template"),
        QStringLiteral("END  TEMPLATE"),
        QStringLiteral("template"),
        QStringLiteral("sub S.a"),
        QStringLiteral("SUB s.b(x)"),
        QStringLiteral("sub S.x.y"),
        QStringLiteral("sub T.a"),
        QStringLiteral("end sub"),
        QStringLiteral("function S.f"),
        QStringLiteral("end function"),
        QStringLiteral("constructor S"),
        QStringLiteral("constructor S("),
        QStringLiteral("constructor T"),
        QStringLiteral("end constructor"),
        QStringLiteral("destructor S()"),
        QStringLiteral("end destructor"),
        QStringLiteral("operator S"),
        QStringLiteral("operator S.cast"),
        QStringLiteral("end operator"),
        QStringLiteral("property S.p"),
        QStringLiteral("end property"),
        QStringLiteral("\tsub S.a"),
        QStringLiteral("x as t1"),
        QStringLiteral(""),
        QStringLiteral("dim a as S<<<integer>>>"),
    };
    QRandomGenerator random(20261208);
    for (int round = 0; round < 20000; ++round) {
        QStringList lines = randomLines(random, pieces, 30, 1);
        QList<LineOrigin> origins = numberedOrigins(QStringLiteral("r.bi"), lines.size());
        QStringList literalLines = lines;
        QList<LineOrigin> literalOrigins = origins;
        QStringList names, literalNames;
        TemplateTable table, literalTable;
        captureTemplates(lines, origins, names, table);
        literalCaptureTemplates(literalLines, literalOrigins, literalNames, literalTable);
        ASSERT_EQ(lines, literalLines) << "round " << round;
        ASSERT_EQ(origins, literalOrigins) << "round " << round;
        ASSERT_EQ(names, literalNames) << "round " << round;
        ASSERT_TRUE(table == literalTable) << "round " << round;
    }
}
