#include "classexpander.h"
#include "classsteps.h"
#include "classtext.h"
#include "lineviews.h"
#include "staticlocals.h"

#include <gtest/gtest.h>

// A static variable of a parent's member is one variable for the parent's
// values and for those of the types extending it: the statement becomes a
// reference to a module-level variable, both on the parent's own line and on
// the twin's copy of it. Statements that cannot be written so stay as they
// are. shared: the module-level variables (or functions), empty when
// nothing changes.
TEST(StaticLocals, StaticVariablesOfMembersAreSharedWithTheTwin) {
    struct Case {
        const char* header;
        const char* line; // the body's line; empty: the header line is the whole procedure
        const char* shared;
        const char* rewritten;
    };
    const Case cases[] = {
        {"constructor Shape()", "  static lastId as integer",
         "dim shared Shape__fbext_static1_lastId as integer",
         "  dim byref lastId as integer = Shape__fbext_static1_lastId"},
        {"sub Shape.tag()", "  STATIC Calls AS UInteger = &h10 ' counts",
         "dim shared Shape__fbext_static1_Calls as UInteger = &h10",
         "  dim byref Calls as UInteger = Shape__fbext_static1_Calls ' counts"},
        {"function Shape.f() as integer", "\tstatic as long n = -3",
         "dim shared Shape__fbext_static1_n as long = -3",
         "\tdim byref n as long = Shape__fbext_static1_n"},
        {"property Shape.p() as string", "  static s as string",
         "dim shared Shape__fbext_static1_s as string",
         "  dim byref s as string = Shape__fbext_static1_s"},
        {"operator Shape.cast() as string", "  static d as double = 2.5e3",
         "dim shared Shape__fbext_static1_d as double = 2.5e3",
         "  dim byref d as double = Shape__fbext_static1_d"},
        {"destructor Shape()", "  static last as Shape ptr",
         "dim shared Shape__fbext_static1_last as Shape ptr",
         "  dim byref last as Shape ptr = Shape__fbext_static1_last"},
        {"private sub Shape.tag()", "  static ok as boolean = true : print \"static x\"",
         "dim shared Shape__fbext_static1_ok as boolean = true",
         "  dim byref ok as boolean = Shape__fbext_static1_ok : print \"static x\""},
        {"sub Shape.tag()", "  n = 1: static n as integer: static b as byte = 1: n += b",
         "dim shared Shape__fbext_static1_n as integer\n"
         "dim shared Shape__fbext_static2_b as byte = 1",
         "  n = 1: dim byref n as integer = Shape__fbext_static1_n: dim byref b as byte = "
         "Shape__fbext_static2_b: n += b"},
        {"sub Shape.tag(): static n as integer: n += 1: end sub", "",
         "dim shared Shape__fbext_static1_n as integer",
         "sub Shape.tag(): dim byref n as integer = Shape__fbext_static1_n: n += 1: end sub"},
        // Several names; initializers of literals and operators; arrays and
        // fixed-length strings, which no reference can reach: the statement
        // goes (its comment too) and the lines after it name the variable;
        // a user-defined type through a function whose own static variable
        // is built when the member first runs.
        {"sub Shape.tag()", "  static a as integer, b as double = 0.5",
         "dim shared Shape__fbext_static1_a as integer\n"
         "dim shared Shape__fbext_static2_b as double = 0.5",
         "  dim byref a as integer = Shape__fbext_static1_a: dim byref b as double = "
         "Shape__fbext_static2_b"},
        {"sub Shape.tag()", "  Static As Integer a, b = 2",
         "dim shared Shape__fbext_static1_a as Integer\n"
         "dim shared Shape__fbext_static2_b as Integer = 2",
         "  dim byref a as Integer = Shape__fbext_static1_a: dim byref b as Integer = "
         "Shape__fbext_static2_b"},
        {"sub Shape.tag()", "  static a as integer = (1 + 2) * 4 shl 1 or &h3",
         "dim shared Shape__fbext_static1_a as integer = (1 + 2) * 4 shl 1 or &h3",
         "  dim byref a as integer = Shape__fbext_static1_a"},
        {"sub Shape.tag()", "  static a(10) as integer",
         "dim shared Shape__fbext_static1_a(10) as integer", "  "},
        {"sub Shape.tag()", "  static hits (1 to 3, -1 to 1) as double ' a grid",
         "dim shared Shape__fbext_static1_hits(1 to 3, -1 to 1) as double", "  "},
        {"sub Shape.tag()", "  static as ubyte primes(2) = {2, 3, 5}",
         "dim shared Shape__fbext_static1_primes(2) as ubyte = {2, 3, 5}", "  "},
        {"sub Shape.tag()", "  static items( ) as string",
         "dim shared Shape__fbext_static1_items( ) as string", "  "},
        {"sub Shape.tag()", "  static code as string * 4",
         "dim shared Shape__fbext_static1_code as string * 4", "  "},
        {"sub Shape.tag()", "  static as zstring*8 z = \"z\"",
         "dim shared Shape__fbext_static1_z as zstring*8 = \"z\"", "  "},
        {"sub Shape.tag()", "  static w as Shape",
         "private function Shape__fbext_static1_w() byref as Shape\n  static w as Shape\n"
         "  return w\nend function",
         "  dim byref w as Shape = Shape__fbext_static1_w()"},
        {"sub Shape.tag()", "  static t as Tally = Tally(1, -2, \"x\")",
         "private function Shape__fbext_static1_t() byref as Tally\n"
         "  static t as Tally = Tally(1, -2, \"x\")\n  return t\nend function",
         "  dim byref t as Tally = Shape__fbext_static1_t()"},
        {"sub Shape.tag()", "  static z as zstring ptr",
         "dim shared Shape__fbext_static1_z as zstring ptr",
         "  dim byref z as zstring ptr = Shape__fbext_static1_z"},
        // A procedure whose variables are all static: its "dim" statements too.
        {"sub Shape.tag() static", "  static a as integer",
         "dim shared Shape__fbext_static1_a as integer",
         "  dim byref a as integer = Shape__fbext_static1_a"},
        {"function Shape.f() as integer static", "  dim as integer n = 2, m",
         "dim shared Shape__fbext_static1_n as integer = 2\n"
         "dim shared Shape__fbext_static2_m as integer",
         "  dim byref n as integer = Shape__fbext_static1_n: dim byref m as integer = "
         "Shape__fbext_static2_m"},
        {"sub Shape.tag() static", "  dim seen(3) as byte",
         "dim shared Shape__fbext_static1_seen(3) as byte", "  "},
        // Left as written: initializers that name something, strings with
        // one, bounds or lengths that are not numbers, an array or a
        // fixed-length string that shares its line, arrays of user-defined
        // types or of pointers
        // to the type, types named through the parent, a procedure all static
        // with a variable that cannot be shared, statements in strings,
        // comments and continued lines.
        {"sub Shape.tag()", "  static a as integer = k", "", ""},
        {"sub Shape.tag()", "  static a as integer = sizeof(integer)", "", ""},
        {"sub Shape.tag()", "  static t as Tally = Tally(k)", "", ""},
        {"sub Shape.tag()", "  static t as string = \"x\"", "", ""},
        {"sub Shape.tag()", "  static a as integer = \"1\"", "", ""},
        {"sub Shape.tag()", "  static a(k) as integer", "", ""},
        {"sub Shape.tag()", "  static a() as integer = {1}", "", ""},
        {"sub Shape.tag()", "  static a(0 to ...) as integer = {1, 2}", "", ""},
        {"sub Shape.tag()", "  static code as string * k", "", ""},
        {"sub Shape.tag()", "  static a(3) as integer : a(0) = 1", "", ""},
        {"sub Shape.tag()", "  if id then static a(3) as integer", "", ""},
        {"sub Shape.tag()", "  static w(3) as Shape", "", ""},
        {"sub Shape.tag()", "  static w(3) as shape ptr", "", ""},
        {"sub Shape.tag()", "  static z as zstring", "", ""},
        {"sub Shape.tag()", "  static f as function() as integer", "", ""},
        {"sub Shape.tag() static", "  static a as integer: var v = 1", "", ""},
        {"sub Shape.tag() static", "  static a as integer: dim byref r as integer = id", "", ""},
        {"sub Shape.tag() static", "  static a as integer: if id then dim b as integer", "", ""},
        {"sub Shape.tag()", "  static k as Shape.Kind", "", ""},
        {"sub Shape.tag()", "  print \"static n as integer\"", "", ""},
        {"sub Shape.tag()", "  ' static n as integer", "", ""},
        {"sub Shape.tag()", "  static n as _", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line[0] ? c.line : c.header);
        const bool oneLine = c.line[0] == '\0';
        QByteArrayList source = {"type Shape",
                                 "  id as integer",
                                 "  declare constructor()",
                                 "  declare destructor()",
                                 "  declare sub tag()",
                                 "  declare function f() as integer",
                                 "  declare property p() as string",
                                 "  declare operator cast() as string",
                                 "end type",
                                 c.header};
        if (!oneLine)
            source.append(c.line);
        if (!oneLine) {
            // "end" and the header's keyword.
            QByteArray header = QByteArray(c.header).replace("private ", "");
            const QByteArray end = "end " + header.left(header.indexOf(' '));
            source.append(QByteArray(c.line).endsWith('_') ? "  integer\n" + end : end);
        }
        source.append({"type Circle extends Shape", "end type"});
        const MappedText result = expandClassText(sourceOf(source.join('\n')));
        const QByteArrayList lines = result.text.split('\n');
        ASSERT_EQ(lines.size(), result.origins.size());
        const LineOrigin checked = at(oneLine ? 10 : 11);
        // The parent's own line and the twin's copy, each standing for the
        // line (an extending type's forwarders stand for a header too).
        // The variables stand for the statement's line as well, so that a
        // message about one names it: they come first.
        QByteArrayList written;
        QList<qsizetype> places;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (result.origins[i] == checked &&
                (!oneLine || lines[i].contains("static") || lines[i].contains("fbext"))) {
                written.append(lines[i]);
                places.append(i);
            }
        }
        const QByteArrayList variableLines =
            c.shared[0] == '\0' ? QByteArrayList() : QByteArray(c.shared).split('\n');
        ASSERT_EQ(written.size(), 2 + variableLines.size());
        EXPECT_EQ(written.mid(0, variableLines.size()), variableLines);
        written = written.mid(variableLines.size());
        const qsizetype twin = places[variableLines.size()];
        const qsizetype own = places.last();
        if (c.shared[0] == '\0') {
            EXPECT_FALSE(result.text.contains("__fbext_static"));
            EXPECT_EQ(written.last(), oneLine ? QByteArray(c.header) : QByteArray(c.line));
            continue;
        }
        EXPECT_EQ(written.last(), QByteArray(c.rewritten));
        QByteArray twinLine = c.rewritten;
        twinLine.replace("Shape.tag", "Shape_generic_public_member.tag");
        EXPECT_EQ(written.first(), twinLine);
        // The variables stand once, ahead of the twin's copy.
        const qsizetype variables = result.text.indexOf(QByteArray(c.shared) + '\n');
        EXPECT_GE(variables, 0);
        EXPECT_EQ(result.text.count("dim shared "), QByteArray(c.shared).count("dim shared "));
        EXPECT_LT(result.text.left(variables).count('\n'), twin);
        // The parent's own lines keep their places: one line for each.
        if (!oneLine) {
            EXPECT_EQ(result.origins[own - 1], at(10));
            EXPECT_EQ(result.origins[own + 1], at(12));
        }
    }
}

namespace {

// An array or a fixed-length string of a parent's member has no reference:
// its statement goes, and the lines after it, on the parent's own copy and
// on the twin's, name the module-level variable where they name it as a
// variable (not as a member, in a string or in a comment). Only a statement
// alone on its line directly in the body, whose name means it to the end of
// the body, and with no continued line after it that names it.
TEST(StaticLocals, SharedArraysAndStringsAreNamedByTheLinesAfterThem) {
    struct Case {
        const char* header;
        QByteArrayList body;
        QByteArrayList shared; // the body as written out; empty: as it is
    };
    const Case cases[] = {
        {"sub Shape.tag()",
         {"  static seen(3) as integer ' counts", "  SEEN(1) += 1 : print \"seen\"; seen(1) ' seen",
          "  with this", "    .id = seen(1) + p->seen + this . seen", "  end with"},
         {"  ",
          "  Shape__fbext_static1_seen(1) += 1 : print \"seen\"; Shape__fbext_static1_seen(1) ' "
          "seen",
          "  with this", "    .id = Shape__fbext_static1_seen(1) + p->seen + this . seen",
          "  end with"}},
        {"sub Shape.tag()",
         {"  static code as string * 4", "  scope", "    dim code as integer", "    code = 2",
          "  end scope", "  code = \"ab\""},
         {"  ", "  scope", "    dim Shape__fbext_static1_code as integer",
          "    Shape__fbext_static1_code = 2", "  end scope",
          "  Shape__fbext_static1_code = \"ab\""}},
        {"sub Shape.tag()",
         {"  static a(1) as byte", "  static b(1) as byte", "  a(0) = b(1)"},
         {"  ", "  ", "  Shape__fbext_static1_a(0) = Shape__fbext_static2_b(1)"}},
        {"sub Shape.tag()",
         {"  static n as integer, a(1) as byte, s as string * 2 ' mixed", "  a(n) = len(s)"},
         {"  dim byref n as integer = Shape__fbext_static1_n",
          "  Shape__fbext_static2_a(n) = len(Shape__fbext_static3_s)"}},
        {"sub Shape.tag()",
         {"  static a(1) as integer", "  static n as integer = 1: a(n) = n"},
         {"  ",
          "  dim byref n as integer = Shape__fbext_static2_n: Shape__fbext_static1_a(n) = n"}},
        {"sub Shape.tag() static",
         {"  dim names(1) as string", "  names(0) &= \"x\""},
         {"  ", "  Shape__fbext_static1_names(0) &= \"x\""}},
        // Left as written: in a compound statement, with a continued line after it.
        {"sub Shape.tag()",
         {"  if id then", "    static seen(3) as integer", "    seen(0) = 1", "  end if"},
         {}},
        {"sub Shape.tag()",
         {"  static seen(3) as integer", "  print seen(0), _", "    seen(1)"},
         {}},
        {"sub Shape.tag() static",
         {"  dim n as integer", "  for i as integer = 0 to 1", "    dim seen(3) as integer",
          "  next"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body.first().constData());
        QByteArrayList source = {"type Shape", "  id as integer", "  declare sub tag()", "end type",
                                 c.header};
        source += c.body;
        source += {"end sub", "type Circle extends Shape", "end type"};
        const MappedText result = expandClassText(sourceOf(source.join('\n')));
        const QByteArrayList lines = result.text.split('\n');
        const QByteArrayList expected = c.shared.isEmpty() ? c.body : c.shared;
        for (const QByteArray& twin : {QByteArray("Shape"), twinNameOf("Shape")}) {
            SCOPED_TRACE(twin.constData());
            QByteArray header = c.header;
            header.replace("Shape", twin);
            const qsizetype at = lines.indexOf(header);
            ASSERT_GE(at, 0) << result.text.toStdString();
            EXPECT_EQ(lines.mid(at + 1, expected.size()), expected);
            EXPECT_EQ(lines.value(at + 1 + expected.size()), "end sub");
        }
        EXPECT_EQ(result.text.contains("dim shared "), !c.shared.isEmpty());
    }
}

} // namespace
