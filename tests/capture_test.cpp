#include "capture.h"
#include "instantiate.h"
#include "lines.h"
#include "literaltemplates.h"
#include "qtprinting.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

struct Capture {
    QByteArrayList lines;
    QList<LineOrigin> origins;
    qsizetype names = 0; // declarations counted
    TemplateTable table;
};

Capture capture(const QByteArrayList& input, qsizetype namesBefore = 0) {
    Capture result{{}, numberedOrigins(QStringLiteral("f.bas"), input.size()), 0, {}};
    Lines lines = viewsOf(input);
    TemplateSet templates{namesBefore, {}};
    captureTemplates(lines, result.origins, templates);
    result.lines = copiesOf(lines);
    result.names = templates.templateCount;
    result.table = templates.templateTable;
    return result;
}

QByteArray lf() {
    return QByteArray("\n");
}

} // namespace

TEST(CaptureTest, WorkedExampleTakesTheDeclarationAndItsMember) {
    const Capture result = capture({
        QByteArray("template Stack"),
        QByteArray("items(0 to 15) as t1"),
        QByteArray("count as integer"),
        QByteArray("declare sub push(byval v as t1)"),
        QByteArray("end template"),
        QByteArray("sub Stack.push(byval v as t1)"),
        QByteArray("items(count) = v"),
        QByteArray("count += 1"),
        QByteArray("end sub"),
        QByteArray("dim s as Stack<<<double>>>"),
    });
    EXPECT_EQ(result.lines, QByteArrayList{QByteArray("dim s as Stack<<<double>>>")});
    EXPECT_EQ(result.names, 1);
    ASSERT_EQ(result.table.keys(), QByteArrayList{QByteArray("stack")});
    const CapturedTemplate stack = result.table.value(templateKey("Stack"));
    EXPECT_EQ(stack.lines, (QByteArrayList{
                               QByteArray("items(0 to 15) as t1"),
                               QByteArray("count as integer"),
                               QByteArray("declare sub push(byval v as t1)"),
                               QByteArray("end type "),
                               lf(),
                               QByteArray("private sub Stack.push(byval v as t1)"),
                               QByteArray("items(count) = v"),
                               QByteArray("count += 1"),
                               QByteArray("end sub"),
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
        QByteArrayList input;
        QByteArrayList remaining;
        qsizetype names;         // declarations counted
        QByteArrayList captured; // under the name "T"
    };
    const QByteArray body = QByteArray("  x as t1");
    const QList<Case> cases = {
        {"header indented with spaces",
         {QByteArray("   template T"), body, QByteArray("end template"), QByteArray("z")},
         {QByteArray("z")},
         1,
         {body, QByteArray("end type "), lf()}},
        {"header indented with a tab",
         {QByteArray("\ttemplate T"), body, QByteArray("end template")},
         {},
         1,
         {body, QByteArray("end type "), lf()}},
        {"capitals: the end line becomes end type",
         {QByteArray("TEMPLATE T"), body, QByteArray("END TEMPLATE")},
         {},
         1,
         {body, QByteArray("END type "), lf()}},
        {"further header tokens are ignored",
         {QByteArray("Template T  extra words"), body, QByteArray("End Template")},
         {},
         1,
         {body, QByteArray("End type "), lf()}},
        {"a field or variable named template is no header",
         {QByteArray("template as string"), QByteArray("Template = \"x\""),
          QByteArray("template += s"), QByteArray("end template")},
         {QByteArray("template as string"), QByteArray("Template = \"x\""),
          QByteArray("template += s"), QByteArray("end template")},
         0,
         {}},
        {"a declaration commented out is no declaration",
         {QByteArray("/' the old one:"), QByteArray("template T"), body,
          QByteArray("end template '/")},
         {QByteArray("/' the old one:"), QByteArray("template T"), body,
          QByteArray("end template '/")},
         0,
         {}},
        {"a lone template keyword is no header",
         {QByteArray("template"), body, QByteArray("end template")},
         {QByteArray("template"), body, QByteArray("end template")},
         0,
         {}},
        {"end line with two spaces",
         {QByteArray("template T"), body, QByteArray("  end  template  ")},
         {},
         1,
         {body, QByteArray("  end  type   "), lf()}},
        {"end_template is no end line: the rest of the file goes",
         {QByteArray("template T"), body, QByteArray("end_template"), QByteArray("z")},
         {},
         1,
         {QByteArray("template T"), body, QByteArray("end_template"), QByteArray("z")}},
        {"empty body",
         {QByteArray("template T"), QByteArray("end template"), QByteArray("z")},
         {QByteArray("z")},
         1,
         {QByteArray("end type "), lf()}},
        {"body lines are kept as written",
         {QByteArray("template T"), QByteArray("' template one template"),
          QByteArray("' template two"), QByteArray("end template")},
         {},
         1,
         {QByteArray("' template one template"), QByteArray("' template two"),
          QByteArray("end type "), lf()}},
        {"tabs separate words, keywords in any case",
         {QByteArray("\tTEMPLATE\tT"), body, QByteArray("\tEnd\tTemplate")},
         {},
         1,
         {body, QByteArray("\tEnd\ttype "), lf()}},
        {"a comment glued to the name and to the end line",
         {QByteArray("template T' a box"), body, QByteArray("end template' done"),
          QByteArray("sub T.f()' f"), QByteArray("end sub'"), QByteArray("z")},
         {QByteArray("z")},
         1,
         {body, QByteArray("end type ' done"), lf(), QByteArray("private sub T.f()' f"),
          QByteArray("end sub'"), lf()}},
        {"a block comment glued to them",
         {QByteArray("template T/' a box '/"), body, QByteArray("end template/' '/")},
         {},
         1,
         {body, QByteArray("end type /' '/"), lf()}},
        {"a comment alone after template is no name",
         {QByteArray("template 'T"), body, QByteArray("end template")},
         {QByteArray("template 'T"), body, QByteArray("end template")},
         0,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Capture result = capture(c.input);
        EXPECT_EQ(result.lines, c.remaining);
        EXPECT_EQ(result.names, c.names);
        EXPECT_EQ(result.table.value(templateKey("T")).lines, c.captured);
    }
}

TEST(CaptureTest, SeveralDeclarations) {
    // Two in direct succession, names differing only in case: one template,
    // as FreeBASIC names ignore case; the later declaration wins.
    Capture result =
        capture({QByteArray("template Stack"), QByteArray("end template"),
                 QByteArray("template stack"), QByteArray("a as t1"), QByteArray("end template")});
    EXPECT_TRUE(result.lines.isEmpty());
    EXPECT_EQ(result.names, 2);
    EXPECT_EQ(result.table.keys(), QByteArrayList{QByteArray("stack")});
    EXPECT_EQ(result.table.value("stack").name, QByteArray("stack"));
    // Under the same branches the later one simply takes the earlier one's place.
    EXPECT_EQ(result.table.value("stack").earlierHeader, LineOrigin());

    // Which of the two the compiler keeps (under other #if branches) is not
    // known here, so the later one says where the earlier one stands.
    const QList<QByteArrayList> branched = {
        {"#ifdef SMALL", "template B", "end template", "#else", "template B", "end template",
         "#endif"},
        {"template B", "end template", "#ifdef BIG", "template B", "end template", "#endif"},
        {"#if 1", "template B", "end template", "#if 2", "template B", "end template", "#endif",
         "#endif"},
    };
    for (const QByteArrayList& lines : branched) {
        result = capture(lines);
        EXPECT_EQ(result.table.value(templateKey("B")).earlierHeader.line,
                  lines.indexOf("template B") + 1)
            << lines.join('|').constData();
    }
    result =
        capture({"#ifdef X", "template B", "end template", "template B", "end template", "#endif"});
    EXPECT_EQ(result.table.value(templateKey("B")).earlierHeader, LineOrigin());
    // In another namespace (or outside any), both are meant, and their
    // instances would share names: the later one says where the earlier
    // one stands, and in which namespace.
    const struct {
        QByteArrayList lines;
        QByteArray earlierSpace; // of the earlier declaration at line 2
    } spaced[] = {
        {{"namespace Coll", "template B", "end template", "end namespace", "template B",
          "end template"},
         "Coll"},
        {{"", "template B", "end template", "namespace coll", "template B", "end template",
          "end namespace"},
         ""},
        {{"namespace A", "template B", "end template", "end namespace", "namespace C", "template B",
          "end template", "end namespace"},
         "A"},
    };
    for (const auto& c : spaced) {
        result = capture(c.lines);
        const CapturedTemplate later = result.table.value(templateKey("B"));
        EXPECT_EQ(later.earlierHeader.line, 2) << c.lines.join('|').constData();
        EXPECT_EQ(later.earlierSpace, c.earlierSpace) << c.lines.join('|').constData();
    }
    result = capture({"namespace Coll", "template B", "end template", "end namespace",
                      "namespace COLL", "template B", "end template", "end namespace"});
    EXPECT_EQ(result.table.value(templateKey("B")).earlierHeader, LineOrigin());

    // The same name twice: the later declaration's lines win. The earlier one's
    // scans ran over the whole rest of the file, so they took the members
    // written below either declaration, and the later one finds none.
    result = capture({
        QByteArray("template P"),
        QByteArray("a as t1"),
        QByteArray("end template"),
        QByteArray("sub P.one()"),
        QByteArray("end sub"),
        QByteArray("template P"),
        QByteArray("b as t1"),
        QByteArray("end template"),
        QByteArray("sub P.two()"),
        QByteArray("end sub"),
        QByteArray("rest"),
    });
    EXPECT_EQ(result.lines, QByteArrayList{QByteArray("rest")});
    EXPECT_EQ(result.names, 2);
    EXPECT_EQ(result.table.value(templateKey("P")).lines,
              (QByteArrayList{QByteArray("b as t1"), QByteArray("end type "), lf()}));
    EXPECT_EQ(result.table.value(templateKey("P")).earlierHeader, LineOrigin());

    // Declarations handed over from included files are counted too.
    result = capture({QByteArray("template Q"), QByteArray("end template")}, 1);
    EXPECT_EQ(result.names, 2);
    EXPECT_EQ(result.table.value(templateKey("Q")).earlierHeader, LineOrigin());
}

// Which first lines start a member procedure of template Stack. A captured
// member is private to each module that generates it, unless it says itself.
TEST(CaptureTest, StartTestsOfTheSixMemberKinds) {
    struct Case {
        const char* first;
        const char* end;
        bool captured;
        const char* stored = nullptr; // the first line as captured, when not private + first
    };
    const QList<Case> cases = {
        {"sub Stack.push(byval v as t1)", "end sub", true},
        {"SUB stack.push(byval v as t1)", "END SUB", true},
        {"  sub   Stack.push", "  end sub", true, "  private sub   Stack.push"},
        {"private sub Stack.push", "end sub", true, "private sub Stack.push"},
        {"  Public Function Stack.pop() as t1", "End Function", true,
         "  Public Function Stack.pop() as t1"},
        {"sub StackNode.push(byval v as t1)", "end sub", false},
        {"static function Stack.capacity() as integer", "end function", true},
        {"Const Function Stack.size() as integer", "End Function", true},
        {"const sub Stack.show()", "end sub", true},
        {"public static function Stack.capacity() as integer", "end function", true,
         "public static function Stack.capacity() as integer"},
        {"const x = 5", "end sub", false},
        {"static sub StackNode.push", "end sub", false},
        {"\tsub Stack.push", "end sub", true, "\tprivate sub Stack.push"},
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
        // The definition of static data is one line, with no linkage added.
        {"dim Stack.made as integer", "", true, "dim Stack.made as integer"},
        {"DIM stack.names(0 to 3) as string = {\"a\"}", "", true,
         "DIM stack.names(0 to 3) as string = {\"a\"}"},
        {"dim StackNode.made as integer", "", false},
        {"dim made as Stack", "", false},
        // A global operator written for the template, and its declaration.
        {"operator + (byref a as Stack, byref b as Stack) as Stack", "end operator", true},
        {"OPERATOR *(byval k as t1, byref s as stack) as Stack ' scaled", "End Operator", true},
        {"declare operator <> (byref a as Stack, byref b as Stack) as integer", "", true,
         "declare operator <> (byref a as Stack, byref b as Stack) as integer"},
        {"operator = (byref a as Stack<<<long>>>, byref b as Stack<<<long>>>) as long",
         "end operator", false},
        {"operator - (byref a as StackNode, byref b as StackNode) as StackNode", "end operator",
         false},
        {"operator + (byref a as Geo.Stack, byref b as Geo.Stack) as Geo.Stack", "end operator",
         false},
        {"declare operator - (byref a as StackNode) as StackNode", "", false},
        {"operator - (byref s as string = \"Stack\") as long ' rem Stack", "end operator", false},
        // "dim shared" defines static data just as well.
        {"dim shared Stack.made as integer", "", true, "dim shared Stack.made as integer"},
        {"Dim Shared stack.names(0 to 3) as string", "", true,
         "Dim Shared stack.names(0 to 3) as string"},
        {"dim shared StackNode.made as integer", "", false},
        {"dim shared made as Stack", "", false},
        {"dim as integer Stack.made = 1", "", true, "dim as integer Stack.made = 1"},
        {"dim shared as StackNode Stack.first", "", true, "dim shared as StackNode Stack.first"},
        {"dim as Stack x", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        const QByteArray first = c.first;
        const QByteArray end = c.end;
        // A one-line member (no end line) stands alone.
        const QByteArrayList body =
            end.isEmpty() ? QByteArrayList() : QByteArrayList{QByteArray("  body"), end};
        const Capture result = capture(
            QByteArrayList{QByteArray("template Stack"), QByteArray("end template"), first} + body +
            QByteArrayList{QByteArray("after")});
        const QByteArrayList members =
            result.table.value(templateKey("Stack")).lines.mid(2); // after "end type ", "\n"
        if (c.captured) {
            const QByteArray stored = c.stored ? QByteArray(c.stored) : "private " + first;
            EXPECT_EQ(result.lines, QByteArrayList{QByteArray("after")});
            EXPECT_EQ(members, QByteArrayList{stored} + body + QByteArrayList{lf()});
        } else {
            EXPECT_EQ(result.lines,
                      QByteArrayList{first} + body + QByteArrayList{QByteArray("after")});
            EXPECT_TRUE(members.isEmpty());
        }
    }
}

// A member written in #if branches that the template is not in is stored
// under copies of their directives; the directives stay in the file.
TEST(CaptureTest, MembersInIfBranchesKeepTheirConditions) {
    const Capture result = capture({
        QByteArray("#ifdef OUTER"),
        QByteArray("template Box"),
        QByteArray("end template"),
        QByteArray("sub Box.same()"),
        QByteArray("end sub"),
        QByteArray("#if A"),
        QByteArray("sub Box.a()"),
        QByteArray("end sub"),
        QByteArray("#elseif B"),
        QByteArray("  #ifndef C"),
        QByteArray("sub Box.b()"),
        QByteArray("end sub"),
        QByteArray("  #endif"),
        QByteArray("#endif"),
        QByteArray("#endif"),
        QByteArray("sub Box.outside()"),
        QByteArray("end sub"),
    });
    EXPECT_EQ(result.lines, (QByteArrayList{"#ifdef OUTER", "#if A", "#elseif B", "  #ifndef C",
                                            "  #endif", "#endif", "#endif"}));
    EXPECT_EQ(result.table.value(templateKey("Box")).lines,
              (QByteArrayList{"end type ",
                              lf(),
                              "private sub Box.same()",
                              "end sub",
                              lf(),
                              "#if A",
                              "private sub Box.a()",
                              "end sub",
                              "#endif",
                              lf(),
                              "#if A",
                              "#elseif B",
                              "  #ifndef C",
                              "private sub Box.b()",
                              "end sub",
                              "#endif",
                              "#endif",
                              lf(),
                              "private sub Box.outside()",
                              "end sub",
                              lf()}));
}

TEST(CaptureTest, MembersAreStoredByKindInScanOrder) {
    const Capture result = capture({
        QByteArray("template S"),
        QByteArray("end template"),
        QByteArray("property S.p"),
        QByteArray("end property"),
        QByteArray("function S.f"),
        QByteArray("end function"),
        QByteArray("operator S.cast"),
        QByteArray("end operator"),
        QByteArray("destructor S"),
        QByteArray("end destructor"),
        QByteArray("sub S.b"),
        QByteArray("end sub"),
        QByteArray("constructor S"),
        QByteArray("end constructor"),
        QByteArray("sub S.a"),
        QByteArray("end sub"),
    });
    EXPECT_TRUE(result.lines.isEmpty());
    QByteArrayList firstLines;
    const QByteArrayList captured = result.table.value(templateKey("S")).lines;
    for (qsizetype i = 2; i < captured.size(); i += 3)
        firstLines.append(captured[i]);
    EXPECT_EQ(
        firstLines,
        (QByteArrayList{QByteArray("private sub S.b"), QByteArray("private sub S.a"),
                        QByteArray("private function S.f"), QByteArray("private constructor S"),
                        QByteArray("private destructor S"), QByteArray("private operator S.cast"),
                        QByteArray("private property S.p")}));
}

// Where a member procedure begins and ends.
TEST(CaptureTest, MemberBoundaries) {
    struct Case {
        const char* what;
        QByteArrayList input; // after "template S" / "end template"
        QByteArrayList remaining;
        QByteArrayList members;
    };
    const QList<Case> cases = {
        {"empty and one-token lines inside go with it, those between stay",
         {QByteArray("sub S.a"), QByteArray(""), QByteArray("return"), QByteArray("end sub"),
          QByteArray(""), QByteArray("x"), QByteArray("sub S.b"), QByteArray("end sub")},
         {QByteArray(""), QByteArray("x")},
         {QByteArray("private sub S.a"), QByteArray(""), QByteArray("return"),
          QByteArray("end sub"), lf(), QByteArray("private sub S.b"), QByteArray("end sub"), lf()}},
        {"a procedure without its end line takes the rest of the file",
         {QByteArray("x"), QByteArray("sub S.a"), QByteArray("template R"),
          QByteArray("end template"), QByteArray("end function")},
         {QByteArray("x")},
         {QByteArray("private sub S.a"), QByteArray("template R"), QByteArray("end template"),
          QByteArray("end function")}},
        {"an end line met outside stays; a second start inside changes nothing",
         {QByteArray("end sub"), QByteArray("sub S.a"), QByteArray("sub S.b"),
          QByteArray("end sub"), QByteArray("end sub")},
         {QByteArray("end sub"), QByteArray("end sub")},
         {QByteArray("private sub S.a"), QByteArray("sub S.b"), QByteArray("end sub"), lf()}},
        {"the end line of another kind does not close it",
         {QByteArray("function S.f"), QByteArray("end sub"), QByteArray("end function")},
         {},
         {QByteArray("private function S.f"), QByteArray("end sub"), QByteArray("end function"),
          lf()}},
        {"a procedure on one line ends on it; one going on after its header does not",
         {QByteArray("sub S.a : x = 1 : end sub"), QByteArray("y"),
          QByteArray("function S.f() as t1 : return v"), QByteArray("end function")},
         {QByteArray("y")},
         {QByteArray("private sub S.a : x = 1 : end sub"), lf(),
          QByteArray("private function S.f() as t1 : return v"), QByteArray("end function"), lf()}},
        {"a function scan sees only what the sub scan left",
         {QByteArray("sub S.a"), QByteArray("function S.f"), QByteArray("end sub"),
          QByteArray("end function")},
         {QByteArray("end function")},
         {QByteArray("private sub S.a"), QByteArray("function S.f"), QByteArray("end sub"), lf()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Capture result =
            capture(QByteArrayList{QByteArray("template S"), QByteArray("end template")} + c.input);
        EXPECT_EQ(result.lines, c.remaining);
        EXPECT_EQ(result.table.value(templateKey("S")).lines.mid(2), c.members);
    }

    // A member written above the declaration is not looked at.
    const Capture above = capture({QByteArray("sub S.a"), QByteArray("end sub"),
                                   QByteArray("template S"), QByteArray("end template")});
    EXPECT_EQ(above.lines, (QByteArrayList{QByteArray("sub S.a"), QByteArray("end sub")}));
    EXPECT_EQ(above.table.value(templateKey("S")).lines,
              (QByteArrayList{QByteArray("end type "), lf()}));
}

// A member whose end line is found only past another procedure's first line
// has no end line of its own: the capture reports it at the member's line.
// So does a declaration whose end line is found past another one's header.
TEST(CaptureTest, MemberRunningIntoAnotherProcedureIsReported) {
    const struct {
        const char* what;
        QByteArrayList input; // after "template S" / "end template"
        int reportedLine;     // 1-based line of f.bas, or 0 for none
    } cases[] = {
        {"a plain function inside", {"function S.f", "print 1", "function g", "end function"}, 3},
        {"a sub of its own kind inside", {"sub S.a", "sub b()", "end sub"}, 3},
        {"another member inside", {"sub S.a", "private sub S.b", "end sub", "end sub"}, 3},
        {"function = value sets the result", {"function S.f", "function = 1", "end function"}, 0},
        {"a local dim and exit", {"sub S.a", "dim x as integer", "exit sub", "end sub"}, 0},
        {"headers for two branches share one body",
         {"#ifdef BIG", "sub S.a(byval n as longint)", "#else", "sub S.a(byval n as integer)",
          "#endif", "print n", "end sub"},
         0},
        {"a procedure after the end line", {"sub S.a", "end sub", "sub b()", "end sub"}, 0},
    };
    // The same for a declaration whose "end template" is another one's.
    const struct {
        const char* what;
        QByteArrayList input;
        int reportedLine;
    } declarations[] = {
        {"another declaration inside",
         {"template S", "x as t1", "template T", "y as t1", "end template"},
         1},
        {"a procedure inside", {"template S", "x as t1", "sub f()", "end sub", "end template"}, 1},
        {"declared members only", {"template S", "x as t1", "declare sub f()", "end template"}, 0},
    };
    for (const auto& c : declarations) {
        SCOPED_TRACE(c.what);
        QList<LineOrigin> origins = numberedOrigins(QStringLiteral("f.bas"), c.input.size());
        Lines lines = viewsOf(c.input);
        TemplateSet templates;
        QList<TemplateError> errors;
        captureTemplates(lines, origins, templates, &errors);
        EXPECT_EQ(errors.size(), c.reportedLine == 0 ? 0 : 1);
        if (!errors.isEmpty()) {
            EXPECT_EQ(errors[0].origin, (LineOrigin{QStringLiteral("f.bas"), c.reportedLine}));
        }
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArrayList input =
            QByteArrayList{QByteArray("template S"), QByteArray("end template")} + c.input;
        QList<LineOrigin> origins = numberedOrigins(QStringLiteral("f.bas"), input.size());
        Lines lines = viewsOf(input);
        TemplateSet templates;
        QList<TemplateError> errors;
        captureTemplates(lines, origins, templates, &errors);
        if (c.reportedLine == 0) {
            EXPECT_TRUE(errors.isEmpty()) << errors.value(0).message().toStdString();
        } else {
            ASSERT_EQ(errors.size(), 1);
            EXPECT_EQ(errors[0].number, int(TemplateError::UnendedBlock));
            EXPECT_EQ(errors[0].origin, (LineOrigin{QStringLiteral("f.bas"), c.reportedLine}));
        }
    }
}

TEST(CaptureTest, RemainingLinesKeepTheirOrigins) {
    const Capture result =
        capture({QByteArray("a"), QByteArray("template S"), QByteArray("end template"),
                 QByteArray("b"), QByteArray("sub S.x"), QByteArray("end sub"), QByteArray("c")});
    EXPECT_EQ(result.lines, (QByteArrayList{QByteArray("a"), QByteArray("b"), QByteArray("c")}));
    const QString f = QStringLiteral("f.bas");
    EXPECT_EQ(result.origins, (QList<LineOrigin>{{f, 1}, {f, 4}, {f, 7}}));
    const CapturedTemplate s = result.table.value(templateKey("S"));
    EXPECT_EQ(s.origins, (QList<LineOrigin>{{f, 3}, LineOrigin(), {f, 5}, {f, 6}, LineOrigin()}));
    EXPECT_EQ(s.headerOrigin, (LineOrigin{f, 2}));
}

// The fast capture must take exactly the lines the literal rules take, in the
// same order, from any arrangement of headers, members and end lines.
TEST(CaptureTest, MatchesTheLiteralRulesOnRandomInput) {
    const QByteArrayList pieces = {
        QByteArray("template S"),
        QByteArray("template s"),
        QByteArray("TEMPLATE T"),
        QByteArray(" template S.x"),
        QByteArray("end template"),
        QByteArray("END  TEMPLATE"),
        QByteArray("template"),
        QByteArray("sub S.a"),
        QByteArray("SUB s.b(x)"),
        QByteArray("sub S.x.y"),
        QByteArray("sub T.a"),
        QByteArray("end sub"),
        QByteArray("function S.f"),
        QByteArray("end function"),
        QByteArray("constructor S"),
        QByteArray("constructor S("),
        QByteArray("constructor T"),
        QByteArray("end constructor"),
        QByteArray("destructor S()"),
        QByteArray("end destructor"),
        QByteArray("operator S"),
        QByteArray("operator S.cast"),
        QByteArray("end operator"),
        QByteArray("property S.p"),
        QByteArray("end property"),
        QByteArray("\tsub S.a"),
        QByteArray("x as t1"),
        QByteArray(""),
        QByteArray("dim a as S<<<integer>>>"),
    };
    QRandomGenerator random(20261208);
    for (int round = 0; round < 20000; ++round) {
        QByteArrayList literalLines = randomLines(random, pieces, 30, 1);
        Lines lines = viewsOf(literalLines);
        QList<LineOrigin> origins = numberedOrigins(QStringLiteral("r.bi"), lines.size());
        QList<LineOrigin> literalOrigins = origins;
        TemplateSet templates, literalTemplates;
        captureTemplates(lines, origins, templates);
        literalCaptureTemplates(literalLines, literalOrigins, literalTemplates);
        ASSERT_EQ(copiesOf(lines), literalLines) << "round " << round;
        ASSERT_EQ(origins, literalOrigins) << "round " << round;
        ASSERT_EQ(templates.templateCount, literalTemplates.templateCount) << "round " << round;
        ASSERT_TRUE(templates.templateTable == literalTemplates.templateTable) << "round " << round;
    }
}

// A file's lines refer to its text; what capture keeps is handed to the
// including file after that text is gone, so it must own its bytes.
TEST(CaptureTest, CapturedLinesOwnTheirBytes) {
    QByteArray text = "template Box\n  item as t1\nend template\ndim b as Box<<<long>>>";
    Lines lines = splitLines(text);
    QList<LineOrigin> origins = numberedOrigins(QStringLiteral("f.bi"), lines.size());
    TemplateSet templates;
    captureTemplates(lines, origins, templates);
    text.fill('x'); // what a later use of the freed text would see
    EXPECT_EQ(templates.templateTable.value(templateKey("Box")).lines,
              (QByteArrayList{QByteArray("  item as t1"), QByteArray("end type "), lf()}));
}

// A header's parent and packing after the template's name go to every
// instance's "type" line, single spaced, a parent that is a type argument
// substituted; anything else after the name does not.
TEST(CaptureTest, HeaderParentAndPackingAreKeptForTheInstances) {
    const struct {
        const char* header;
        const char* parent;
        const char* packing;
        const char* typeLine;
    } cases[] = {
        {"template Packet field = 1", "", "field = 1", "type Packet_long field = 1"},
        {"Template Packet  FIELD=4  ' packed", "", "FIELD = 4", "type Packet_long FIELD = 4"},
        {"template Packet field = (2 * 2)", "", "field = (2 * 2)",
         "type Packet_long field = (2 * 2)"},
        {"template Packet", "", "", "type Packet_long"},
        {"template Packet ' field = 1", "", "", "type Packet_long"},
        {"template Packet field", "", "", "type Packet_long"},
        {"template Packet fields = 1", "", "", "type Packet_long"},
        {"template Packet extra words", "", "", "type Packet_long"},
        {"template Packet extends Header", "Header", "", "type Packet_long extends Header"},
        {"TEMPLATE Packet\tEXTENDS Geo . Header ' framed", "Geo.Header", "",
         "type Packet_long extends Geo.Header"},
        {"template Packet extends Header field = 1", "Header", "field = 1",
         "type Packet_long extends Header field = 1"},
        {"template Packet extends t1", "t1", "", "type Packet_long extends long"},
        {"template Packet extends", "", "", "type Packet_long"},
        {"template Packet extends Holder<<<t1>>> field = 2", "Holder<<<t1>>>", "field = 2",
         "type Packet_long extends Holder<<<long>>> field = 2"},
        {"template Packet extends Pair<<<Box<<<t1>>>, string>>>", "Pair<<<Box<<<t1>>>, string>>>",
         "", "type Packet_long extends Pair<<<Box<<<long>>>, string>>>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        const Capture result = capture(
            {QByteArray(c.header), QByteArray("  kind as ubyte"), QByteArray("end template")});
        ASSERT_EQ(result.table.size(), 1);
        const CapturedTemplate& captured = result.table.first();
        EXPECT_EQ(captured.parent, QByteArray(c.parent));
        EXPECT_EQ(captured.packing, QByteArray(c.packing));
        const MappedText instance = instanceText(captured, "Packet_long", {"long"});
        const QByteArrayList instanceLines = instance.text.split('\n');
        EXPECT_EQ(instanceLines[0], QByteArray(c.typeLine));
        EXPECT_EQ(instanceLines[2], "  kind as ubyte");
        EXPECT_EQ(instance.origins.size(), instanceLines.size());
    }
}

// The namespace a header stands in, blocks in blocks joined with dots, goes
// with the template: its instances go there.
TEST(CaptureTest, AHeaderKeepsTheNamespaceItStandsIn) {
    const struct {
        QByteArrayList before; // the lines above "template T"
        QByteArrayList after;  // the lines below its "end template"
        const char* space;
    } cases[] = {
        {{}, {}, ""},
        {{"namespace Coll"}, {"end namespace"}, "Coll"},
        {{"Namespace Geo.Shapes ' shapes"}, {"End Namespace"}, "Geo.Shapes"},
        {{"namespace A", "namespace B"}, {"end namespace", "end namespace"}, "A.B"},
        {{"namespace A", "namespace B", "end namespace"}, {"end namespace"}, "A"},
        {{"namespace A", "end namespace"}, {}, ""},
        {{"namespace A", "  type P", "  end type", "  sub f()", "  end sub"},
         {"end namespace"},
         "A"},
        {{"/' a comment", "namespace A '/"}, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.join(" | ").toStdString());
        const Capture result =
            capture(c.before + QByteArrayList{"template T", "  a as t1", "end template"} + c.after);
        ASSERT_EQ(result.table.size(), 1);
        EXPECT_EQ(result.table.first().space, QByteArray(c.space));
    }
}
