#include "classexpander.h"
#include "classsteps.h"
#include "classtext.h"
#include "lineviews.h"
#include "twins.h"

#include <gtest/gtest.h>

namespace {

TEST(Twins, WorkedExampleRecords) {
    const QList<TypeRecord> records =
        resolved(text({"type Shape", "private:", "  x as integer", "end type", "",
                       "sub Shape.move(byval dx as integer)", "  x += dx", "end sub", "",
                       "type Circle extends Shape", "  r as integer", "end type", "",
                       "type Ring extends Circle", "end type"}));
    ASSERT_EQ(records.size(), 3);
    const TypeRecord& shape = records[0];
    EXPECT_EQ(shape.twinBlockText.text,
              text({"type Shape_generic_public_member", "public:", "  x as integer", "end type"}));
    EXPECT_EQ(shape.twinMethodText.text,
              text({"sub Shape_generic_public_member.move(byval dx as integer)", "  x += dx",
                    "end sub", "", ""}));
    EXPECT_EQ(shape.inheritedDeclareText.text, shape.blockText.text);
    EXPECT_EQ(shape.inheritedForwarderText.text, QByteArray());

    const TypeRecord& circle = records[1];
    EXPECT_EQ(circle.parentName, QByteArray("Shape"));
    EXPECT_EQ(circle.inheritedDeclareText.text,
              text({"type Circle extends Shape", "", "  declare property x() as integer",
                    "  declare property x(byval new_value as integer)",
                    "  declare sub move(byval dx as integer)", "public:",
                    "  parent as Shape_generic_public_member", "", "  r as integer", "end type"}));
    EXPECT_EQ(circle.twinBlockText.text,
              text({"type Circle_generic_public_member extends Shape",
                    "public:", "  parent as Shape_generic_public_member", "", "",
                    "  declare property x() as integer",
                    "  declare property x(byval new_value as integer)",
                    "  declare sub move(byval dx as integer)", "", "  r as integer", "end type"}));
    const QByteArray forwarders = text(
        {"", "", "property Circle.x() as integer", "  return parent.x", "end property",
         "property Circle.x(byval new_value as integer)", "  parent.x = new_value", "end property",
         "", "sub Circle.move(byval dx as integer) ", "  parent.move(dx)", "end sub", ""});
    EXPECT_EQ(circle.inheritedForwarderText.text, forwarders);
    QByteArray twinForwarders = forwarders + '\n';
    twinForwarders.replace(QByteArray("Circle."), QByteArray("Circle_generic_public_member."));
    EXPECT_EQ(circle.twinMethodText.text, twinForwarders);
}

// The twin's public single-valued static data refer to the type's own, so
// that the type's members count in one place whichever type they run on.
// Arrays, fixed-length strings and private data cannot be referred to.
TEST(Twins, PublicStaticDataIsSharedWithTheType) {
    const QList<TypeRecord> records = resolved(text({
        "type Shape",
        "  static made as integer ' how many",
        "  Static As String a, b",
        "  static grid(0 to 2) as integer",
        "  static code as string * 4",
        "private:",
        "  static hidden as integer",
        "public:",
        "  static open as double",
        "  static shown as long",
        "  static marks(0 to 1) as integer",
        "  static last as string",
        "end type",
        "dim Shape.made as integer = 100",
        "DIM shape.A as String",
        "dim Shape.grid(0 to 2) as integer",
        "dim Shape.code as string * 4",
        "dim Shape.hidden as integer",
        "dim Shape.open as double",
        "dim shared Shape.shown as long = 3",
        "DIM SHARED shape.marks(0 to 1) as integer",
        "dim as string Shape.last = \"none\" ' first",
        "type Circle extends Shape",
        "end type",
    }));
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(
        records[0].twinBlockText.text,
        text({"type Shape_generic_public_member", "  static byref made as integer ' how many",
              "  Static byref As String a, b", "  static grid(0 to 2) as integer",
              "  static code as string * 4", "public:", "  static hidden as integer",
              "public:", "  static byref open as double", "  static byref shown as long",
              "  static marks(0 to 1) as integer", "  static byref last as string", "end type"}));
    // Each definition is a member of its own, followed by an empty line.
    EXPECT_EQ(records[0].twinMethodText.text,
              QByteArrayList({"dim byref Shape_generic_public_member.made as integer = Shape.made",
                              "dim byref Shape_generic_public_member.A as String = Shape.A",
                              "dim Shape_generic_public_member.grid(0 to 2) as integer",
                              "dim Shape_generic_public_member.code as string * 4",
                              "dim Shape_generic_public_member.hidden as integer",
                              "dim byref Shape_generic_public_member.open as double = Shape.open",
                              "dim byref Shape_generic_public_member.shown as long = Shape.shown",
                              "DIM SHARED Shape_generic_public_member.marks(0 to 1) as integer",
                              "dim byref Shape_generic_public_member.last as string = Shape.last"})
                      .join("\n\n\n") +
                  "\n\n");
}

TEST(Twins, OnlyTypesThatAreExtendedGetTwins) {
    const QList<TypeRecord> records =
        resolved(text({"type A", "end type", "type B extends A", "end type", "type C extends B",
                       "end type", "type Lone", "end type", "type Pet extends Object", "end type",
                       "type Dog extends Pet", "end type"}));
    QByteArrayList twins;
    for (const TypeRecord& record : records) {
        if (record.hasTwin)
            twins.append(record.typeName);
        EXPECT_EQ(record.hasTwin, !record.twinBlockText.text.isEmpty())
            << record.typeName.toStdString();
        if (!record.hasTwin) {
            EXPECT_TRUE(record.twinMethodText.text.isEmpty()) << record.typeName.toStdString();
        }
    }
    EXPECT_EQ(twins, QByteArrayList({QByteArray("A"), QByteArray("B")}));
    // C takes its parent all the same; native types take nothing.
    EXPECT_EQ(records[2].parentName, QByteArray("B"));
    EXPECT_TRUE(records[5].parentName.isEmpty());
}

TEST(Twins, TwinTypeLineIsRebuiltFromTokens) {
    EXPECT_EQ(
        resolved(text({"  type   Shape", "end type", "type Circle extends Shape", "end type"}))
            .value(0)
            .twinBlockText.text,
        text({"type Shape_generic_public_member", "end type"}));
    EXPECT_EQ(lineOf(resolved(text({"type Shape", "end type", "Type Circle Extends Shape",
                                    "end type", "type Ring extends Circle", "end type"}))
                         .value(1)
                         .twinBlockText.text,
                     0),
              QByteArray("Type Circle_generic_public_member Extends Shape"));
}

// A "private:" line becomes public however it is spaced or indented and
// whatever comment follows it: the twin has no private part, or the
// extending type's forwarders could not reach the parent's members. A line
// that goes on with other statements after the keyword's ":" keeps them,
// public; any other line stays as written.
TEST(Twins, PrivateLinesBecomePublicWithTheirCommentsAndIndentation) {
    const TypeRecord record =
        resolved(text({"type Shape", "private:", "  PRIVATE :", "private: ' members",
                       "\tprivate:\t' tabs", "private : rem helpers", "private: x as integer",
                       "  Private : y as integer : z as integer", "privately:", "public:",
                       "end type", "type Circle extends Shape", "end type"}))
            .value(0);
    // (A protected: section leaves the family to the compiler's inheritance.)
    EXPECT_EQ(record.twinBlockText.text,
              text({"type Shape_generic_public_member", "public:", "public:", "public:", "public:",
                    "public:", "public: x as integer", "  public : y as integer : z as integer",
                    "privately:", "public:", "end type"}));
    EXPECT_EQ(record.inheritedDeclareText.text, record.blockText.text);
}

// A copy constructor or a "let" from a value of the type gets a twin's
// version taking a twin, which passes it on, read as the type: copying or
// assigning an extending type then copies its parent part as the parent's
// own copy does. Other constructors and lets, and those in #if branches,
// get none.
TEST(Twins, CopiesFromTheTypeGetCopiesFromTheTwin) {
    const struct {
        const char* declaration;
        const char* twinDeclaration; // empty: none added
        const char* twinImplementation;
    } cases[] = {
        {"declare constructor(byref other as Shape)",
         "declare constructor(byref other_ as Shape_generic_public_member)",
         "constructor Shape_generic_public_member(byref other_ as "
         "Shape_generic_public_member)\n  constructor(*cptr(Shape ptr, @other_))\nend "
         "constructor\n"},
        {"Declare Constructor ( ByRef o As Const SHAPE ) ' copies",
         "declare constructor(byref other_ as const Shape_generic_public_member)",
         "  constructor(*cptr(const Shape ptr, @other_))\n"},
        {"declare operator let(byref other as Shape)",
         "declare operator let(byref other_ as Shape_generic_public_member)",
         "operator Shape_generic_public_member.let(byref other_ as "
         "Shape_generic_public_member)\n  this = *cptr(Shape ptr, @other_)\nend operator\n"},
        {"declare constructor(byval n as integer)", "", ""},
        {"declare constructor(byref other as Shape, byval n as integer)", "", ""},
        {"declare operator let(byval n as integer)", "", ""},
        {"declare operator cast() as Shape", "", ""},
        {"declare constructor(byref other as ShapeList)", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.declaration);
        for (const bool conditioned : {false, true}) {
            QByteArrayList block = {"type Shape",
                                    "  x as integer",
                                    QByteArray("  ") + c.declaration,
                                    "end type",
                                    "type Circle extends Shape",
                                    "end type"};
            if (conditioned) {
                block.insert(2, "#ifdef COPIES");
                block.insert(4, "#endif");
            }
            const TypeRecord record = resolved(block.join('\n') + '\n').value(0);
            const bool added = *c.twinDeclaration && !conditioned;
            EXPECT_EQ(record.twinBlockText.text.contains("other_"), added);
            EXPECT_EQ(record.twinMethodText.text.contains("other_"), added);
            if (!added)
                continue;
            EXPECT_TRUE(record.twinBlockText.text.contains(
                QByteArray("  ") + c.declaration + "\n  " + c.twinDeclaration + "\nend type"))
                << record.twinBlockText.text.constData();
            EXPECT_TRUE(record.twinMethodText.text.contains(c.twinImplementation))
                << record.twinMethodText.text.constData();
            EXPECT_TRUE(record.twinBlockText.hasOneOriginPerLine());
            EXPECT_TRUE(record.twinMethodText.hasOneOriginPerLine());
        }
    }
}

// A type whose implementations are private gets private copies from the twin.
TEST(Twins, CopiesFromTheTwinArePrivateWhereTheTypesAre) {
    const TypeRecord record =
        resolved(text({"type Shape", "  x as integer", "  declare constructor()",
                       "  declare constructor(byref other as Shape)",
                       "  declare operator let(byref other as Shape)", "end type",
                       "private constructor Shape()", "end constructor",
                       "private constructor Shape(byref other as Shape)", "end constructor",
                       "private operator Shape.let(byref other as Shape)", "end operator",
                       "type Circle extends Shape", "end type"}))
            .value(0);
    EXPECT_TRUE(record.twinMethodText.text.contains(
        "\nprivate constructor Shape_generic_public_member(byref other_ as "
        "Shape_generic_public_member)\n"))
        << record.twinMethodText.text.constData();
    EXPECT_TRUE(record.twinMethodText.text.contains(
        "\nprivate operator Shape_generic_public_member.let(byref other_ as "
        "Shape_generic_public_member)\n"))
        << record.twinMethodText.text.constData();
}

TEST(Twins, QualifiersAreReplacedOnlyAtTheStartOfAName) {
    const TypeRecord record =
        resolved(text({"type Shape", "end type", "sub shape.f(byref o as Shape)",
                       "  otherShape.x = Shape.count + MyShape.x", "  o.f(SHAPE.y)", "end sub",
                       "type Circle extends Shape", "end type"}))
            .value(0);
    EXPECT_EQ(record.twinMethodText.text,
              text({"sub Shape_generic_public_member.f(byref o as Shape)",
                    "  otherShape.x = Shape_generic_public_member.count + MyShape.x",
                    "  o.f(Shape_generic_public_member.y)", "end sub", "", ""}));
}

// The twin's block declares its members as the type's block does, naming what
// the type declares inside through the type ("byval m as Shape.Mode"); so the
// headers of the twin's copies name it so too, or the compiler takes them for
// other members. The member's own qualifier and the bodies are the twin's.
TEST(Twins, HeadersNameWhatTheTypeDeclaresInsideAsItsBlockDoes) {
    const struct {
        const char* header;
        const char* body;
        const char* end;
        const char* twinHeader;
        const char* twinBody;
    } cases[] = {
        {"sub Shape.f(byval m as Shape.Mode)", "  m = Shape.Bold", "end sub",
         "sub Shape_generic_public_member.f(byval m as Shape.Mode)",
         "  m = Shape_generic_public_member.Bold"},
        {"function SHAPE.g() as shape.Mode", "  function = Shape.Thin", "end function",
         "function Shape_generic_public_member.g() as Shape.Mode",
         "  function = Shape_generic_public_member.Thin"},
        {"private sub Shape.h(byref m as Shape.Mode, byval n as integer = Shape.WIDE)",
         "  h2(Shape.WIDE)", "end sub",
         "private sub Shape_generic_public_member.h(byref m as Shape.Mode, byval n as integer = "
         "Shape.WIDE)",
         "  h2(Shape_generic_public_member.WIDE)"},
        {"constructor Shape(byval m as Shape.Mode = Shape.Thin)", "  x = Shape.Thin",
         "end constructor",
         "constructor Shape_generic_public_member(byval m as Shape.Mode = Shape.Thin)",
         "  x = Shape_generic_public_member.Thin"},
        {"operator Shape.let(byval m as Shape.Mode)", "  x = m", "end operator",
         "operator Shape_generic_public_member.let(byval m as Shape.Mode)", "  x = m"},
        {"sub Shape.k(byval s as MyShape.Kind)", "  print MyShape.count", "end sub",
         "sub Shape_generic_public_member.k(byval s as MyShape.Kind)", "  print MyShape.count"},
        // A header continued over lines is one header.
        {"sub Shape.c( _\n  byval m as Shape.Mode _\n  )", "  m = Shape.Bold", "end sub",
         "sub Shape_generic_public_member.c( _\n  byval m as Shape.Mode _\n  )",
         "  m = Shape_generic_public_member.Bold"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        const TypeRecord record =
            resolved(text({"type Shape", "  x as integer", "end type", c.header, c.body, c.end,
                           "type Circle extends Shape", "end type"}))
                .value(0);
        EXPECT_EQ(record.twinMethodText.text, text({c.twinHeader, c.twinBody, c.end, "", ""}));
    }
}

TEST(Twins, ReplaceQualifierHonoursCaseAndNameBoundaries) {
    struct Case {
        const char* text;
        Qt::CaseSensitivity sensitivity;
        const char* expected;
    };
    const Case cases[] = {
        {"A.x + bA.y + _A.z + 1A.w + (A.v)", Qt::CaseSensitive, "T.x + bA.y + _A.z + 1A.w + (T.v)"},
        {"a.x A.y", Qt::CaseSensitive, "a.x T.y"},
        {"a.x A.y", Qt::CaseInsensitive, "T.x T.y"},
        {"A.A.x", Qt::CaseSensitive, "T.T.x"},
        {"no match", Qt::CaseSensitive, "no match"},
        // A string literal or a comment keeps the type's name: a message the
        // program prints must not change.
        {"print \"A.x\"; A.x ' A.y", Qt::CaseSensitive, "print \"A.x\"; T.x ' A.y"},
        {"s = \"say \"\"A.x\"\"\" & A.x", Qt::CaseSensitive, "s = \"say \"\"A.x\"\"\" & T.x"},
        {"s = !\"\\\" A.x\" + A.x", Qt::CaseSensitive, "s = !\"\\\" A.x\" + T.x"},
        {"x = \"it's\" ' A.x\nA.y /' A.z\n /' '/ A.w '/ A.v", Qt::CaseSensitive,
         "x = \"it's\" ' A.x\nT.y /' A.z\n /' '/ A.w '/ T.v"},
        {"s = \"open\nA.x", Qt::CaseSensitive, "s = \"open\nT.x"},
        {"x = A.x / 2 + A.y", Qt::CaseSensitive, "x = T.x / 2 + T.y"},
    };
    for (const Case& c : cases) {
        QByteArray value = QByteArray(c.text);
        replaceQualifier(value, "A.", "T.", c.sensitivity);
        EXPECT_EQ(value, QByteArray(c.expected)) << c.text;
    }
}

// On the twin, this is the twin: where a copied member uses it as a value,
// it is read as the type's own value; member access stays on the twin.
TEST(Twins, ThisAsAValueIsReadAsTheTypesOwn) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const char* const value = "(*cptr(A ptr, @this))";
    const Case cases[] = {
        {"dim s as A = this", "dim s as A = $"},
        {"Return THIS", "Return $"},
        {"p = @This : f(this, this)", "p = @$ : f($, $)"},
        {"swap this, o", "swap $, o"},
        {"this = o + this", "$ = o + $"},
        {"function = this", "function = $"},
        // Member access, and the word in names, strings and comments.
        {"return this.x + This .y", "return this.x + This .y"},
        {"return (@this)->x + ( @ this ) -> y", "return (@this)->x + ( @ this ) -> y"},
        {"p = (@this) : q = (@this) + 1", "p = (@$) : q = (@$) + 1"},
        {"with this ' members", "with this ' members"},
        {"  WITH\tThis", "  WITH\tThis"},
        {"thisOne = this_x + isthis + withthis", "thisOne = this_x + isthis + withthis"},
        {"print \"this\" ' this", "print \"this\" ' this"},
        {"rem return this", "rem return this"},
        {"/' this\nthis '/ return this", "/' this\nthis '/ return $"},
        {"s = !\"\\\" this\" + this", "s = !\"\\\" this\" + $"},
        {"withthis = this", "withthis = $"},
    };
    for (const Case& c : cases) {
        QByteArray text(c.text);
        castThisToType(text, "A");
        EXPECT_EQ(text, QByteArray(c.expected).replace("$", value)) << c.text;
    }
    // Only the twin's copies change.
    const TypeRecord record =
        resolved(text({"type A", "end type", "function A.me() as A", "  return this",
                       "end function", "type B extends A", "end type"}))
            .value(0);
    EXPECT_EQ(record.methodText.text,
              text({"function A.me() as A", "  return this", "end function", "", ""}));
    EXPECT_EQ(record.twinMethodText.text,
              text({"function A_generic_public_member.me() as A", "  return (*cptr(A ptr, @this))",
                    "end function", "", ""}));
}

TEST(Twins, OtherValuesOfTheTypeReachItsPrivatePartThroughTheTwin) {
    // $ stands for "cptr(A_generic_public_member ptr, ".
    struct Case {
        const char* header;
        const char* body;
        const char* expected;
    };
    const Case cases[] = {
        {"function A.f(byref o as A) as integer", "return o.n + n", "return $@o)->n + n"},
        {"function A.f(byval o as const A) as integer", "return O . N", "return $@O)-> N"},
        {"function A.f(xs() as A) as integer", "return xs(i + (1)).n", "return $@xs(i + (1)))->n"},
        {"function A.f(byval p as A ptr) as integer", "return p->hidden()", "return $p)->hidden()"},
        {"sub A.f()", "dim as A a, b", "dim as A a, b"},
        {"sub A.f(byref o as A)", "with o\n    print .n; .m; q.n\n  end with",
         "with *$@o)\n    print .n; .m; q.n\n  end with"},
        {"sub A.f(byref o as A)", "with o\n    print .m; x.n\n  end with",
         "with o\n    print .m; x.n\n  end with"},
        {"sub A.f(byref o as A, p as B)",
         "with o\n    with p\n      print .n\n    end with\n  end with",
         "with o\n    with p\n      print .n\n    end with\n  end with"},
        {"sub A.f()", "dim byref r as A = this : r.n = 1", "dim byref r as A = this : $@r)->n = 1"},
        // Left as written: public names, other types, strings, comments,
        // member chains and values whose type is not known.
        {"function A.f(byref o as A) as integer", "return o.shown", "return o.shown"},
        {"function A.f(byref o as B) as integer", "return o.n", "return o.n"},
        {"function A.f(byref o as A) as string", "return \"o.n\" ' o.n", "return \"o.n\" ' o.n"},
        {"function A.f(byref o as A) as integer", "return x.o.n", "return x.o.n"},
        {"function A.f() as integer", "return q.n", "return q.n"},
    };
    const QSet<QByteArray> privateNames = {"n", "hidden"};
    for (const Case& c : cases) {
        QByteArray input = QByteArray(c.header) + "\n  " + c.body + "\n";
        reachPrivatePartsThroughTwin(input, "A", privateNames);
        EXPECT_EQ(input,
                  QByteArray(c.header) + "\n  " +
                      QByteArray(c.expected).replace("$", "cptr(A_generic_public_member ptr, ") +
                      "\n")
            << c.body;
    }
    // The names come from the block's private sections only.
    const TypeRecord record =
        resolved(
            text({"type A", "  shown as integer", "private:", "  n as integer",
                  "  declare function hidden() as integer", "public:", "  m as integer", "end type",
                  "function A.f(byref o as A) as integer", "  return o.n + o.m + o.shown",
                  "end function", "type B extends A", "end type"}))
            .value(0);
    EXPECT_TRUE(record.twinMethodText.text.contains(
        "return cptr(A_generic_public_member ptr, @o)->n + o.m + o.shown"));
    EXPECT_TRUE(record.methodText.text.contains("  return o.n + o.m + o.shown"));
}

TEST(Twins, RepeatedTypeNameGetsNoSecondTwin) {
    const QList<TypeRecord> records =
        resolved(text({"type Shape", "end type", "type SHAPE", "end type",
                       "type Circle extends shape", "end type"}));
    EXPECT_FALSE(records[0].twinBlockText.text.isEmpty());
    EXPECT_TRUE(records[1].twinBlockText.text.isEmpty());
    EXPECT_TRUE(records[1].twinMethodText.text.isEmpty());
}

} // namespace

namespace {

TEST(Twins, ConstructorsAndDestructorsAreRenamedOntoTheTwin) {
    const TypeRecord record =
        resolved(text({"type Shape", "  x as integer", "end type",
                       "constructor  shape( byval n as integer )", "  x = n", "end constructor",
                       "Constructor Shape", "end constructor", "destructor SHAPE()",
                       "end destructor", "operator shape.cast() as string", "  return \"Shape\"",
                       "end operator", "type Circle extends Shape", "end type"}))
            .value(0);
    EXPECT_EQ(
        record.twinMethodText.text,
        text({"constructor  Shape_generic_public_member( byval n as integer )", "  x = n",
              "end constructor", "", "", "Constructor Shape_generic_public_member",
              "end constructor", "", "", "destructor Shape_generic_public_member()",
              "end destructor", "", "", "operator Shape_generic_public_member.cast() as string",
              "  return \"Shape\"", "end operator", "", ""}));
    // The type's own block and its forwarders know nothing of them.
    EXPECT_EQ(forwarderTextOf(record.members).text.count(QByteArray("parent.")), 2);
}

TEST(Twins, RenamingLeavesOtherLinesAlone) {
    QByteArray value = text(
        {"constructor ShapeX()", "  dim s as Shape", "constructor Circle", "  destructor shape"});
    const QByteArray expected =
        text({"constructor ShapeX()", "  dim s as Shape", "constructor Circle",
              "  destructor Shape_generic_public_member"});
    renameConstructors(value, QByteArray("Shape"));
    EXPECT_EQ(value, expected);
}

} // namespace

// A static variable of a parent's member is one variable for the parent's
// values and for those of the types extending it: the statement becomes a
// reference to a module-level variable, both on the parent's own line and on
// the twin's copy of it. Statements that cannot be written so stay as they
// are. shared: the module-level variables (or functions), empty when
// nothing changes.
TEST(Twins, StaticVariablesOfMembersAreSharedWithTheTwin) {
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
TEST(Twins, SharedArraysAndStringsAreNamedByTheLinesAfterThem) {
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
