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
              text({"type Circle extends Shape", "", "  declare const property x() as integer",
                    "  declare property x(byval new_value as integer)",
                    "  declare sub move(byval dx as integer)", "public:",
                    "  parent as Shape_generic_public_member", "", "  r as integer", "end type"}));
    EXPECT_EQ(circle.twinBlockText.text,
              text({"type Circle_generic_public_member extends Shape",
                    "public:", "  parent as Shape_generic_public_member", "", "",
                    "  declare const property x() as integer",
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
// own copy does. Other constructors and lets get none, and neither do those
// the file does not implement (declared under "private:" so that the type is
// never copied): the twin's version would call what is not there. One in
// an #if branch gets its version in the same branch of the block, and
// implemented under the same branches.
TEST(Twins, CopiesFromTheTypeGetCopiesFromTheTwin) {
    const struct {
        const char* declaration;
        const char* implementation;  // its first line
        const char* twinDeclaration; // empty: none added
        const char* twinImplementation;
    } cases[] = {
        {"declare constructor(byref other as Shape)", "constructor Shape(byref other as Shape)",
         "declare constructor(byref other_ as Shape_generic_public_member)",
         "constructor Shape_generic_public_member(byref other_ as "
         "Shape_generic_public_member)\n  constructor(*cptr(Shape ptr, @other_))\nend "
         "constructor\n"},
        {"Declare Constructor ( ByRef o As Const SHAPE ) ' copies",
         "Private Constructor SHAPE ( ByRef o As Const Shape )",
         "declare constructor(byref other_ as const Shape_generic_public_member)",
         "  constructor(*cptr(const Shape ptr, @other_))\n"},
        {"declare operator let(byref other as Shape)", "operator Shape.Let (byref o as Shape)",
         "declare operator let(byref other_ as Shape_generic_public_member)",
         "operator Shape_generic_public_member.let(byref other_ as "
         "Shape_generic_public_member)\n  this = *cptr(Shape ptr, @other_)\nend operator\n"},
        {"declare constructor(byref other as Shape)", "constructor Shape _\n  (byref o as Shape)",
         "declare constructor(byref other_ as Shape_generic_public_member)",
         "  constructor(*cptr(Shape ptr, @other_))\n"},
        {"declare constructor(byref other as Shape)", "constructor Shape(byref o as const Shape)",
         "", ""},
        {"declare operator let(byref other as Shape)", "constructor Shape(byref other as Shape)",
         "", ""},
        {"declare operator let(byref other as Shape)", "operator Shape.cast() as Shape", "", ""},
        {"declare constructor(byval n as integer)", "constructor Shape(byval n as integer)", "",
         ""},
        {"declare constructor(byref other as Shape, byval n as integer)",
         "constructor Shape(byref other as Shape, byval n as integer)", "", ""},
        {"declare operator let(byval n as integer)", "operator Shape.let(byval n as integer)", "",
         ""},
        {"declare operator cast() as Shape", "operator Shape.cast() as Shape", "", ""},
        {"declare constructor(byref other as ShapeList)",
         "constructor Shape(byref other as ShapeList)", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.declaration);
        for (const bool conditioned : {false, true}) {
            QByteArrayList block = {"type Shape",
                                    "  x as integer",
                                    QByteArray("  ") + c.declaration,
                                    "end type",
                                    c.implementation,
                                    QByteArray(c.implementation).startsWith("operator")
                                        ? "end operator"
                                        : "end constructor",
                                    "type Circle extends Shape",
                                    "end type"};
            if (conditioned) {
                block.insert(2, "#ifdef COPIES");
                block.insert(4, "#endif");
            }
            const TypeRecord record = resolved(block.join('\n') + '\n').value(0);
            const bool added = *c.twinDeclaration;
            EXPECT_EQ(record.twinBlockText.text.contains("other_"), added);
            EXPECT_EQ(record.twinMethodText.text.contains("other_"), added);
            if (!added)
                continue;
            const QByteArray after = conditioned ? "\n#endif\nend type" : "\nend type";
            EXPECT_TRUE(record.twinBlockText.text.contains(QByteArray("  ") + c.declaration +
                                                           "\n  " + c.twinDeclaration + after))
                << record.twinBlockText.text.constData();
            EXPECT_TRUE(record.twinMethodText.text.contains(c.twinImplementation))
                << record.twinMethodText.text.constData();
            EXPECT_EQ(record.twinMethodText.text.contains("#ifdef COPIES\n"), conditioned);
            EXPECT_TRUE(record.twinBlockText.hasOneOriginPerLine());
            EXPECT_TRUE(record.twinMethodText.hasOneOriginPerLine());
        }
    }
}

// The twin's copy of a copy constructor or "let" written under #if branches
// stands under all of them, #else and #elseif branches followed up to the
// one it was written in, and is private where the type's implementations are.
TEST(Twins, CopiesInBranchesStandUnderTheSameBranches) {
    const struct {
        QByteArrayList branchLines; // the declaration goes after them
        const char* implementation; // from the twin's methods' first directive on
    } cases[] = {
        {{"#ifdef COPIES"},
         "#ifdef COPIES\nconstructor Shape_generic_public_member(byref other_ as "
         "Shape_generic_public_member)\n  constructor(*cptr(Shape ptr, @other_))\nend "
         "constructor\n#endif\n"},
        {{"  # ifndef COPIES", "  #else"},
         "  # ifndef COPIES\n  #else\nconstructor Shape_generic_public_member("},
        {{"#if A", "#elseif B", "#ifdef C"},
         "#if A\n#elseif B\n#ifdef C\nconstructor Shape_generic_public_member(byref "
         "other_ as Shape_generic_public_member)\n  constructor(*cptr(Shape ptr, "
         "@other_))\nend constructor\n#endif\n#endif\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.branchLines.join(" / ").constData());
        for (const bool privately : {false, true}) {
            QByteArrayList lines = {"type Shape", "  x as integer"};
            lines += c.branchLines;
            lines += "  declare constructor(byref other as Shape)";
            for (const QByteArray& branch : c.branchLines) {
                if (!branch.contains("else"))
                    lines += "#endif";
            }
            lines += {"end type",
                      privately ? "private constructor Shape(byref other as Shape)"
                                : "constructor Shape(byref other as Shape)",
                      "end constructor", "type Circle extends Shape", "end type"};
            const TypeRecord record = resolved(lines.join('\n') + '\n').value(0);
            QByteArray implementation = c.implementation;
            if (privately)
                implementation.replace("\nconstructor ", "\nprivate constructor ");
            EXPECT_TRUE(record.twinMethodText.text.contains(implementation))
                << record.twinMethodText.text.constData();
            EXPECT_TRUE(record.twinBlockText.text.contains(
                "  declare constructor(byref other as Shape)\n  declare constructor(byref other_ "
                "as Shape_generic_public_member)\n#endif\n"))
                << record.twinBlockText.text.constData();
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
        // The iteration operators take the twin itself, as FreeBASIC requires.
        {"operator Shape.next(byref e as Shape, byref s as SHAPE) as integer", "  return x <= e.x",
         "end operator",
         "operator Shape_generic_public_member.next(byref e as Shape_generic_public_member, "
         "byref s as Shape_generic_public_member) as integer",
         "  return x <= e.x"},
        {"operator Shape.step(byref s as Shape) ' as Shape", "  x += s.x", "end operator",
         "operator Shape_generic_public_member.step(byref s as Shape_generic_public_member) ' as "
         "Shape",
         "  x += s.x"},
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

// A type nested in the block is the type's own on the twin: an alias stands
// for its lines, which keep their number as blank lines.
TEST(Twins, NestedTypesAreTheTypesOwnOnTheTwin) {
    const TypeRecord record =
        resolved(text({"type Shape", "  type Point2", "    union", "      x as integer",
                       "    end union", "  end type", "  origin as Point2", "end type",
                       "type Circle extends Shape", "end type"}))
            .value(0);
    EXPECT_EQ(record.twinBlockText.text,
              text({"type Shape_generic_public_member", "type Point2 as Shape.Point2", "", "", "",
                    "", "  origin as Point2", "end type"}));
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
