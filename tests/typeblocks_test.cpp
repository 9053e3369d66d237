#include "classexpander.h"
#include "classsteps.h"
#include "classtext.h"
#include "extends.h"
#include "membersyntax.h"
#include "twins.h"
#include "typeblocks.h"
#include "typescan.h"

#include <QRandomGenerator>

#include <QSet>

#include <gtest/gtest.h>

namespace {

QByteArray expand(const QByteArray& source) {
    return expandClassText(sourceOf(source)).text;
}

const QByteArray shapesSource =
    text({"type Shape", "private:", "  x as integer", "end type", "",
          "sub Shape.move(byval dx as integer)", "  x += dx", "end sub", "",
          "type Circle extends Shape", "  r as integer", "end type", ""});

// Each type's block comes before its twin, and only a type that something
// extends has a twin.
TEST(TypeBlocks, WorkedExampleIsRewrittenByteForByte) {
    const QByteArray expected = text({"type Shape",
                                      "private:",
                                      "  x as integer",
                                      "end type",
                                      "type Shape_generic_public_member",
                                      "public:",
                                      "  x as integer",
                                      "end type",
                                      "sub Shape_generic_public_member.move(byval dx as integer)",
                                      "  x += dx",
                                      "end sub",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "sub Shape.move(byval dx as integer)",
                                      "  x += dx",
                                      "end sub",
                                      "",
                                      "type Circle",
                                      "",
                                      "  declare const property x() as integer",
                                      "  declare property x(byval new_value as integer)",
                                      "  declare sub move(byval dx as integer)",
                                      "public:",
                                      "  parent as Shape_generic_public_member",
                                      "",
                                      "  r as integer",
                                      "end type",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "property Circle.x() as integer",
                                      "  return parent.x",
                                      "end property",
                                      "property Circle.x(byval new_value as integer)",
                                      "  parent.x = new_value",
                                      "end property",
                                      "",
                                      "sub Circle.move(byval dx as integer) ",
                                      "  parent.move(dx)",
                                      "end sub",
                                      "",
                                      "",
                                      ""});
    EXPECT_EQ(expand(shapesSource), expected);
}

TEST(TypeBlocks, OutputLinesKeepTheirOrigins) {
    const MappedText result = expandClassText(sourceOf(shapesSource));
    const QByteArrayList lines = result.text.split('\n');
    ASSERT_EQ(lines.size(), result.origins.size());
    auto originOf = [&](const QByteArray& line, int occurrence = 0) {
        qsizetype found = -1;
        for (int n = 0; n <= occurrence; ++n)
            found = lines.indexOf(line, found + 1);
        return found < 0 ? LineOrigin{QStringLiteral("missing"), -1} : result.origins[found];
    };
    EXPECT_EQ(originOf(QByteArray("type Shape_generic_public_member")), at(1));
    EXPECT_EQ(originOf(QByteArray("type Shape")), at(1));
    EXPECT_EQ(originOf(QByteArray("private:")), at(2));
    // The twin's copy of the implementation and the implementation left in place.
    EXPECT_EQ(originOf(QByteArray("  x += dx")), at(7));
    EXPECT_EQ(originOf(QByteArray("  x += dx"), 1), at(7));
    EXPECT_EQ(originOf(QByteArray("sub Shape.move(byval dx as integer)")), at(6));
    // Parent member lines stand for the extends line.
    EXPECT_EQ(originOf(QByteArray("  parent as Shape_generic_public_member")), at(10));
    EXPECT_EQ(originOf(QByteArray("public:"), 1), at(10));
    // Inherited declarations and forwarders stand for the parent's field and member.
    EXPECT_EQ(originOf(QByteArray("  declare const property x() as integer")), at(3));
    EXPECT_EQ(originOf(QByteArray("sub Circle.move(byval dx as integer) ")), at(6));
    EXPECT_EQ(originOf(QByteArray("  parent.move(dx)")), at(6));
    EXPECT_EQ(originOf(QByteArray("  r as integer")), at(11));
    EXPECT_EQ(originOf(QByteArray("type Circle")), at(10));
    // Blank lines the program makes up have no origin; the source's own keep theirs.
    EXPECT_FALSE(result.origins[11].isKnown());
    EXPECT_EQ(result.origins[15], at(5));
}

TEST(TypeBlocks, LinesThatOpenNoBlockAreLeftAsWritten) {
    struct Case {
        const char* name;
        QByteArray source;
    };
    const Case cases[] = {
        {"no type at all", text({"dim x as integer", "print x", ""})},
        {"alias line", text({"type Handle as integer", "dim h as Handle"})},
        {"three tokens", text({"type Shape ' base", "  x as integer", "end type"})},
        {"third token not extends", text({"type Shape field = 1", "  x as integer", "end type"})},
        {"tab-indented type line", text({"\ttype Shape", "  x as integer", "end type"})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(expand(c.source), c.source) << c.name;
}

// A comment or the packing after the type's name does not keep its twin
// from being written, and the twin is packed as the type is; other words
// after it leave the block as written. An extending type keeps its own
// packing when its extends clause goes.
TEST(TypeBlocks, ParentLineWithACommentOrPackingGetsItsTwin) {
    struct Case {
        QByteArray parentLine;
        QByteArray childLine;
        QByteArray twinLine; // empty: no twin, the block stays as written
        QByteArray childOut;
    };
    const Case cases[] = {
        {"type Shape ' base", "type Circle extends Shape",
         "type Shape_generic_public_member ' base", "type Circle"},
        {"type Shape field = 1", "type Circle extends Shape field = 1",
         "type Shape_generic_public_member field = 1", "type Circle field = 1"},
        {"Type Shape Field=2 ' packed", "Type Circle Extends Shape Field=4 ' packed too",
         "Type Shape_generic_public_member Field=2 ' packed", "Type Circle Field=4 ' packed too"},
        {"type Shape field", "type Circle extends Shape ' round", "", "type Circle"},
        {"type Shape fields = 1", "type Circle extends Shape", "", "type Circle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parentLine.constData());
        const QByteArray parent = text({c.parentLine, "  x as integer", "end type", ""});
        const QByteArray result = expand(parent + text({c.childLine, "end type"}));
        EXPECT_TRUE(result.startsWith(parent)) << result.constData();
        EXPECT_EQ(result.contains("\n" + c.childOut + "\n"), true) << result.constData();
        if (c.twinLine.isEmpty()) {
            EXPECT_FALSE(result.contains("_generic_public_member\n  x as")) << result.constData();
            continue;
        }
        EXPECT_TRUE(result.contains(parent.chopped(1).replace(c.parentLine, c.twinLine)))
            << result.constData();
        EXPECT_TRUE(result.contains(QByteArray("  parent as Shape_generic_public_member\n")));
    }
}

TEST(TypeBlocks, EndLineWithCommentEndsTheGeneratedBlocks) {
    const QByteArray result =
        expand(text({"TYPE Shape", "END TYPE ' done", "type Circle extends Shape", "end type"}));
    EXPECT_TRUE(
        result.startsWith(text({"TYPE Shape", "END TYPE ' done", "TYPE Shape_generic_public_member",
                                "END TYPE ' done", ""})));
}

TEST(TypeBlocks, ExtendsClauseAndCommentAreStripped) {
    const QByteArray result =
        expand(text({"type Shape", "end type", "  type Circle extends Shape ' circular", "end type",
                     "type Ring extends Circle", "end type"}));
    EXPECT_TRUE(result.contains(QByteArray("\ntype Circle_generic_public_member\n")));
    EXPECT_TRUE(result.contains(QByteArray("\ntype Circle\n")));
    EXPECT_FALSE(result.contains(QByteArray("extends")));
}

// Types, extends lines and implementations in a /' ... '/ comment are code
// commented out: they stay as written and count for nothing.
TEST(TypeBlocks, CommentedOutCodeIsLeftAsWritten) {
    const QByteArray commented =
        text({"/' the old circle:", "type Circle extends Shape", "  radius as double", "end type",
              "sub Shape.old()", "end sub", "sub Circle.old()", "end sub", "'/"});
    const QByteArray result =
        expand(text({"type Shape", "  x as integer", "end type"}) + '\n' + commented + '\n' +
               text({"type Circle extends Shape", "  r as integer", "end type", "sub Circle.f()",
                     "end sub"}));
    EXPECT_TRUE(result.contains(commented)) << result.toStdString();
    EXPECT_EQ(result.count("declare const property x() as integer"), 1); // on Circle, once
    EXPECT_FALSE(result.contains("old()\nend sub\n\n")) << result.toStdString();
    EXPECT_FALSE(result.contains("declare sub old")) << result.toStdString();
}

TEST(TypeBlocks, UnterminatedBlockKeepsTheRestOfTheFile) {
    // A block without its end line and every line after it stay as written
    // (the extends clause taken out, as on every type line), so the compiler
    // sees them and reports the missing end line.
    const struct {
        const char* name;
        QByteArrayList tail; // after "type Base" / "end type" / "print 1"
        int keptFrom;        // the tail from this line on ends the result as written
    } cases[] = {
        {"extending type", {"type Shape extends Base", "  x as integer", "print 2"}, 0},
        {"with a member after it",
         {"type Shape extends Base", "  declare sub f()", "sub Shape.f()", "end sub", "print 3"},
         0},
        {"after a complete one",
         {"type Shape extends Base", "end type", "type Other extends Shape", "  y as integer",
          "print 4"},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray result =
            expand(text({"type Base", "end type", "print 1"}) + '\n' + c.tail.join('\n'));
        EXPECT_TRUE(result.contains(QByteArray("\nprint 1\n")));
        QByteArray kept = c.tail.sliced(c.keptFrom).join('\n');
        kept.replace(" extends Base", "").replace(" extends Shape", "");
        EXPECT_TRUE(result.endsWith('\n' + kept)) << result.constData();
    }
    // A type that nothing extends is left as written, even without its end line.
    const QByteArray lone = text({"print 1", "type Shape", "  x as integer", "print 2"});
    EXPECT_EQ(expand(lone), lone);
}

// A named type nested in the block does not end it; a field named "type" is
// a field.
TEST(TypeBlocks, NestedTypeLeavesTheOuterReplacementToTheOuterEndLine) {
    const QByteArray result = expand(
        text({"type Outer", "  type Inner", "  end type", "  y as integer", "  type as integer",
              "end type", "print 1", "type Derived extends Outer", "end type"}));
    EXPECT_TRUE(
        result.contains(text({"type Outer_generic_public_member", "type Inner as Outer.Inner", "",
                              "  y as integer", "  type as integer", "end type"})));
    EXPECT_TRUE(result.contains("declare const property y() as integer"));
    EXPECT_FALSE(result.contains("property type"));
    EXPECT_FALSE(result.contains("property Inner"));
}

TEST(TypeBlocks, BlockWithoutRecordIsLeftAsWritten) {
    // The type declared inside the procedure body has no record: the scan took
    // the body away before reaching it.
    const QByteArray source = text({"type Shape", "end type", "sub Shape.f()", "  type Local",
                                    "    z as integer", "  end type", "end sub"});
    const QByteArray result = expand(source);
    EXPECT_TRUE(result.endsWith(
        text({"sub Shape.f()", "  type Local", "    z as integer", "  end type", "end sub"})));
}

// A type a macro's body leaves open (closed where the macro is used) is
// kept as written up to the end of the body; the family after it is
// rewritten.
TEST(TypeBlocks, MacroBodyLeavingATypeOpenIsLeftAsWritten) {
    const QByteArray macros = text({"#macro BEGIN_TYPE(n)", "type n", "  id as integer",
                                    "#endmacro", "#macro BEGIN_PLAIN(n)", "type n", "#endmacro"});
    const QByteArray result =
        expand(macros + '\n' +
               text({"type Shape", "  x as integer", "end type", "BEGIN_TYPE(Tag)", "end type",
                     "BEGIN_PLAIN(Pin)", "end type", "type Circle extends Shape", "end type"}));
    EXPECT_TRUE(result.startsWith(macros + '\n')) << result.toStdString();
    EXPECT_TRUE(result.contains("type Shape_generic_public_member\n")) << result.toStdString();
    EXPECT_TRUE(result.contains("parent as Shape_generic_public_member")) << result.toStdString();
    EXPECT_TRUE(result.contains("declare const property x() as integer")) << result.toStdString();
}

TEST(TypeBlocks, ReplacementTextOrder) {
    TypeRecord record;
    record.twinBlockText = MappedText(QByteArray("A"), LineOrigin());
    record.twinMethodText = MappedText(QByteArray("B"), LineOrigin());
    record.inheritedDeclareText = MappedText(QByteArray("C"), LineOrigin());
    record.inheritedForwarderText = MappedText(QByteArray("D"), LineOrigin());
    EXPECT_EQ(replacementText(record).text, QByteArray("C\nA\nB\nD\n"));
}

} // namespace

namespace {

TEST(TypeBlocks, TypeDeclaredTwiceKeepsEachBlock) {
    const QByteArray result = expand(
        text({"#ifdef BIG", "type Shape", "  x as longint", "end type", "#else", "type SHAPE",
              "  x as short", "end type", "#endif", "type Circle extends Shape", "end type"}));
    // The first declaration has the twin; the second, with neither a twin nor
    // a parent, stays as written.
    EXPECT_TRUE(result.startsWith(
        text({"#ifdef BIG", "type Shape", "  x as longint", "end type",
              "type Shape_generic_public_member", "  x as longint", "end type", "", "", "", "#else",
              "type SHAPE", "  x as short", "end type", "#endif", "type Circle"})));
}

// A /' ... '/ comment within a line of code reads as blanks: the type line,
// fields, declarations and headers around it are read as their code, and
// what the comment says is not taken for code. In a file with nothing to
// rewrite the comments stay.
TEST(TypeBlocks, InlineBlockCommentsReadAsBlanks) {
    const struct {
        QByteArrayList source; // Shape's lines; "type Circle extends Shape" follows
        QByteArrayList expected;
    } cases[] = {
        {{"type Shape /' parent '/", "  x as integer", "end type"},
         {"type Shape_generic_public_member", "  declare const property x() as integer"}},
        {{"type Shape", "  x as integer /' the x '/", "end type"},
         {"  declare const property x() as integer\n", "  return parent.x\n"}},
        {{"type Shape", "  /' y as integer '/ w as integer", "end type"},
         {"  declare const property w() as integer\n"}},
        {{"type Shape", "  declare sub f(byval n as integer /' n '/) /' f '/", "end type",
          "sub Shape.f(byval n as integer /' /' nested '/ '/)", "end sub"},
         {"  declare sub f(byval n as integer", "  parent.f(n)\n"}},
        {{"type Shape", "  s as string = \"/' kept '/\" ' and /' this '/", "end type"},
         {"\"/' kept '/\" ' and /' this '/"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source.join('|').constData());
        const QByteArray result =
            expand((c.source + QByteArrayList{"type Circle extends Shape", "end type"}).join('\n'));
        for (const QByteArray& expected : c.expected)
            EXPECT_TRUE(result.contains(expected)) << result.constData();
        EXPECT_FALSE(result.contains("property y(")) << result.constData(); // commented out
    }
    const QByteArray untouched = text({"type Shape /' parent '/", "  x as integer /' x '/",
                                       "end type", "' no type here extends another"});
    EXPECT_EQ(expand(untouched), untouched);
}

// A type that extends its parent in each of two branches gets the parent's
// members in each block, once.
TEST(TypeBlocks, TypeExtendingInTwoBranchesInheritsInEach) {
    const QByteArray result =
        expand(text({"type Shape", "  x as integer", "end type", "#ifdef SMALL",
                     "type Circle extends Shape", "  r as byte", "end type", "#else",
                     "type Circle extends Shape", "  r as double", "end type", "#endif"}));
    const QByteArray inherited =
        text({"type Circle", "", "  declare const property x() as integer",
              "  declare property x(byval new_value as integer)",
              "public:", "  parent as Shape_generic_public_member", "", ""});
    const qsizetype first = result.indexOf(inherited + "  r as byte\n");
    const qsizetype second = result.indexOf(inherited + "  r as double\n");
    EXPECT_GE(first, 0) << result.constData();
    EXPECT_GT(second, first) << result.constData();
    EXPECT_EQ(result.count("declare const property x() as integer"), 2) << result.constData();
    EXPECT_EQ(result.count("property Circle.x() as integer"), 2) << result.constData();
    EXPECT_LT(result.indexOf("property Circle.x() as integer"), result.indexOf("#else"));
}

// An instance that a type extends stands under its guard, which the compiler
// skips when an included header declared the same instance: the twin and the
// twin's copies of the members go after the guard, under a guard of their own
// (a file read before may have declared the twin too), the instance's own
// block and members stay under it. Other guarded blocks keep their twins in
// place.
TEST(TypeBlocks, TwinOfAGuardedInstanceFollowsItsGuard) {
    struct Case {
        const char* name;
        QByteArray source;
        QByteArrayList inOrder; // lines of the result, in this order
    };
    const QByteArray board = text({"type Board extends List_integer", "end type"});
    const Case cases[] = {
        {"whole instance",
         text({"#ifndef __FBEXT_INSTANCE_List_integer__", "#define __FBEXT_INSTANCE_List_integer__",
               "type List_integer", "  n as integer", "  declare sub add()", "end type",
               "private sub List_integer.add()", "  n += 1", "end sub", "#endif"}) +
             '\n' + board,
         {"type List_integer", "private sub List_integer.add()", "#endif",
          "#ifndef __FBEXT_TWIN_List_integer__", "#define __FBEXT_TWIN_List_integer__",
          "type List_integer_generic_public_member",
          "private sub List_integer_generic_public_member.add()", "#endif", "type Board"}},
        {"whole instance with a member under #if branches",
         text({"#ifndef __FBEXT_INSTANCE_List_integer__", "#define __FBEXT_INSTANCE_List_integer__",
               "type List_integer", "  n as integer", "#ifdef TRACE", "  declare sub add()",
               "#endif", "end type", "#ifdef TRACE", "private sub List_integer.add()", "  n += 1",
               "end sub", "#endif", "#endif"}) +
             '\n' + board,
         {"#ifdef TRACE", "private sub List_integer.add()", "#endif", "#endif",
          "#ifndef __FBEXT_TWIN_List_integer__", "type List_integer_generic_public_member",
          "#ifdef TRACE", "private sub List_integer_generic_public_member.add()", "end sub",
          "#endif", "#endif", "type Board"}},
        {"whole instance with a static variable in a member",
         text({"#ifndef __FBEXT_INSTANCE_List_integer__", "#define __FBEXT_INSTANCE_List_integer__",
               "type List_integer", "  n as integer", "  declare sub add()", "end type",
               "private sub List_integer.add()", "  static calls as integer", "  calls += 1",
               "end sub", "#endif"}) +
             '\n' + board,
         {"#ifndef __FBEXT_TWIN_List_integer__",
          "dim shared List_integer__fbext_static1_calls as integer", "#endif",
          "#ifndef __FBEXT_INSTANCE_List_integer__", "private sub List_integer.add()",
          "  dim byref calls as integer = List_integer__fbext_static1_calls", "#endif",
          "#ifndef __FBEXT_TWIN_List_integer__", "type List_integer_generic_public_member",
          "private sub List_integer_generic_public_member.add()",
          "  dim byref calls as integer = List_integer__fbext_static1_calls", "#endif",
          "type Board"}},
        {"members that wait for another type",
         text({"#ifndef __FBEXT_INSTANCE_List_integer__", "#define __FBEXT_INSTANCE_List_integer__",
               "#define __FBEXT_MEMBERS_List_integer__", "type List_integer", "  n as integer",
               "  declare sub add()", "end type", "#endif", "type Other", "end type",
               "#ifdef __FBEXT_MEMBERS_List_integer__", "private sub List_integer.add()",
               "  n += 1", "end sub", "#endif"}) +
             '\n' + board,
         {"type List_integer", "#endif", "#ifndef __FBEXT_TWIN_List_integer__",
          "type List_integer_generic_public_member", "#endif", "type Other",
          "private sub List_integer.add()", "#endif", "#ifndef __FBEXT_TWINMEM_List_integer__",
          "private sub List_integer_generic_public_member.add()", "#endif", "type Board"}},
        {"members that wait for another type, one with a static variable under #if branches",
         text({"#ifndef __FBEXT_INSTANCE_List_integer__", "#define __FBEXT_INSTANCE_List_integer__",
               "#define __FBEXT_MEMBERS_List_integer__", "type List_integer", "  n as integer",
               "  declare sub add()", "end type", "#endif", "type Other", "end type",
               "#ifdef __FBEXT_MEMBERS_List_integer__", "#ifdef TRACE",
               "private sub List_integer.add()", "  static calls as integer", "  calls += 1",
               "end sub", "#endif", "#endif"}) +
             '\n' + board,
         {"type Other",
          "#ifndef __FBEXT_TWINMEM_List_integer__",
          "#ifdef TRACE",
          "dim shared List_integer__fbext_static1_calls as integer",
          "#endif",
          "#endif",
          "#ifdef __FBEXT_MEMBERS_List_integer__",
          "#ifdef TRACE",
          "private sub List_integer.add()",
          "  dim byref calls as integer = List_integer__fbext_static1_calls",
          "#endif",
          "#endif",
          "#ifndef __FBEXT_TWINMEM_List_integer__",
          "#define __FBEXT_TWINMEM_List_integer__",
          "#ifdef TRACE",
          "private sub List_integer_generic_public_member.add()",
          "  dim byref calls as integer = List_integer__fbext_static1_calls",
          "#endif",
          "#endif",
          "type Board"}},
        {"whole instance with a static variable in a member after other code",
         text({"#ifndef __FBEXT_INSTANCE_List_integer__", "#define __FBEXT_INSTANCE_List_integer__",
               "type List_integer", "  n as integer", "  declare sub add()", "end type",
               "private sub List_integer.bump()", "  static seen as integer", "  seen += 1",
               "end sub", "#ifdef TRACE", "private sub List_integer.add()",
               "  static calls as integer", "  calls += 1", "end sub", "#endif", "#endif"}) +
             '\n' + board,
         {"#ifndef __FBEXT_TWIN_List_integer__", "#ifdef TRACE",
          "dim shared List_integer__fbext_static2_calls as integer", "#endif", "#endif",
          "#ifndef __FBEXT_INSTANCE_List_integer__", "#ifdef TRACE",
          "private sub List_integer.add()",
          "  dim byref calls as integer = List_integer__fbext_static2_calls", "#endif", "#endif",
          "#ifndef __FBEXT_TWIN_List_integer__", "#define __FBEXT_TWIN_List_integer__",
          "#ifdef TRACE", "private sub List_integer_generic_public_member.add()",
          "  dim byref calls as integer = List_integer__fbext_static2_calls", "#endif", "#endif",
          "type Board"}},
        {"instance in its namespace",
         text({"#ifndef __FBEXT_INSTANCE_List_integer__", "#define __FBEXT_INSTANCE_List_integer__",
               "namespace Coll", "type List_integer", "  n as integer", "end type", "end namespace",
               "#endif"}) +
             '\n' + board,
         {"type List_integer", "type List_integer_generic_public_member", "end namespace", "#endif",
          "type Board"}},
        {"instance below the type that extends it",
         board + '\n' +
             text({"#ifndef __FBEXT_INSTANCE_List_integer__",
                   "#define __FBEXT_INSTANCE_List_integer__", "type List_integer", "  n as integer",
                   "  declare sub add()", "end type", "private sub List_integer.add()", "  n += 1",
                   "end sub", "#endif"}),
         {"type List_integer", "type List_integer_generic_public_member", "type Board",
          "#ifndef __FBEXT_INSTANCE_List_integer__"}},
        {"guard of another name",
         text({"#ifndef SHAPES_BI", "#define SHAPES_BI", "type List_integer", "  n as integer",
               "end type", "#endif"}) +
             '\n' + board,
         {"type List_integer", "type List_integer_generic_public_member", "#endif", "type Board"}},
    };
    for (const Case& c : cases) {
        const QByteArray result = expand(c.source);
        qsizetype from = 0;
        for (const QByteArray& line : c.inOrder) {
            const qsizetype found = result.indexOf(line + '\n', from);
            ASSERT_GE(found, from) << c.name << ": " << line.constData() << " in\n"
                                   << result.constData();
            from = found + line.size();
        }
        EXPECT_EQ(result.count("type List_integer_generic_public_member\n"), 1) << c.name;
        // Each shared static declared once, where the twin's copies see it.
        EXPECT_EQ(result.count("dim shared List_integer__fbext_static"),
                  c.source.count("  static "))
            << c.name;
        // Only a twin that follows its instance's guard has a guard of its
        // own, defined once, with the twin.
        const bool moved =
            QByteArray(c.name).startsWith("whole") || QByteArray(c.name).startsWith("members");
        EXPECT_EQ(result.count("#define __FBEXT_TWIN_List_integer__"), moved ? 1 : 0) << c.name;
        EXPECT_EQ(result.contains("__FBEXT_TWIN"), moved) << c.name;
        EXPECT_EQ(result.count("sub List_integer_generic_public_member.add()"),
                  c.source.count("sub List_integer.add()"))
            << c.name;
    }
}

// A parent below a child that stands under #if branches the parent does not
// moves above the outermost of those blocks, so it is compiled whichever
// branch is taken; under the same branches it moves to the child's block.
TEST(TypeBlocks, ParentsMoveAboveTheConditionalBlocksOfAChildAboveThem) {
    struct Case {
        const char* name;
        QByteArray source;
        QByteArrayList inOrder; // lines of the result, in this order
    };
    const QByteArray shape = text({"type Shape", "  x as integer", "end type"});
    const Case cases[] = {
        {"child under #ifdef",
         text({"#ifdef DISK", "type Phantom extends Shape", "end type", "#endif"}) + '\n' + shape,
         {"type Shape", "type Shape_generic_public_member", "#ifdef DISK", "type Phantom"}},
        {"child two blocks deep",
         text({"print 1", "#ifdef A", "#ifndef B", "type C extends Shape", "end type", "#endif",
               "#endif"}) +
             '\n' + shape,
         {"print 1", "type Shape_generic_public_member", "#ifdef A", "#ifndef B", "type C"}},
        {"child in the branch after #else",
         text({"#ifdef A", "print 1", "#else", "type C extends Shape", "end type", "#endif"}) +
             '\n' + shape,
         {"type Shape_generic_public_member", "#ifdef A", "#else", "type C"}},
        {"parent in the same block",
         text({"#ifdef A", "type C extends Shape", "end type"}) + '\n' + shape + "\n#endif",
         {"#ifdef A", "type Shape", "type Shape_generic_public_member", "type C"}},
        {"two children, one chain",
         text({"#ifdef A", "type C extends B", "end type", "type E extends D", "end type", "#endif",
               "type D extends B", "end type", "type B", "end type"}),
         {"type B", "type B_generic_public_member", "type D", "type D_generic_public_member",
          "#ifdef A", "type C", "type E"}},
    };
    for (const Case& c : cases) {
        const QByteArray result = expand(c.source);
        qsizetype from = 0;
        for (const QByteArray& line : c.inOrder) {
            const qsizetype found = result.indexOf(line + '\n', from);
            ASSERT_GE(found, from) << c.name << ": " << line.constData() << " in\n"
                                   << result.constData();
            from = found + line.size();
        }
        // Each twin block is written once.
        int twins = 0;
        for (const QByteArrayView line : splitLines(result))
            twins += line.startsWith("type ") && line.endsWith("_generic_public_member");
        EXPECT_EQ(twins, c.source.contains("type D extends") ? 2 : 1) << result.constData();
    }
}

} // namespace

namespace {

// The whole pass as the rules read: every record's texts made, and the result
// built line by line into a new text.
MappedText expandedStepByStep(const QByteArray& source) {
    const ResolvedFile file = resolveFile(source);
    const MappedText& mapped = file.mapped;
    const LineIndex& lines = file.lines;
    const QList<TypeRecord>& records = file.records;
    const Inheritance& inheritance = file.inheritance;
    const RecordIndex index(records);
    QHash<qsizetype, qsizetype> recordAtLine;
    for (qsizetype r = 0; r < records.size(); ++r)
        recordAtLine.insert(records[r].typeLine, r);
    MappedTextBuilder result;
    QSet<qsizetype> movedUp; // parents written above the block of a type that extends them
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Tokens tokens = lineTokens(lines[i]);
        const bool opens =
            isExtendsLine(tokens) || (tokens.size() >= 2 && isKeyword(tokens[0], "type") &&
                                      lineTokens(codeOf(lines[i])).size() == 2);
        // A line kept as written is followed by the twins' copies of the
        // implementations that end on it, and an empty line.
        const auto keepLine = [&](qsizetype line) {
            result.add(lines[line], mapped.origins[line]);
            bool copied = false;
            for (const TypeRecord& record : records) {
                for (const PlacedText& method : record.twinLaterMethods) {
                    if (method.afterLine == line) {
                        result.add(method.text);
                        copied = true;
                    }
                }
            }
            if (copied)
                result.add(QByteArrayView());
        };
        if (!opens) {
            keepLine(i);
            continue;
        }
        const qsizetype found = recordAtLine.value(i, index.find(tokens[1]));
        qsizetype end = i;
        if (recordAtLine.contains(i)) {
            end = records[found].blockEnd < 0 ? lines.size() : records[found].blockEnd;
        } else {
            while (end < lines.size() && !(lineTokens(lines[end]).size() >= 2 &&
                                           isKeyword(lineTokens(lines[end])[0], "end") &&
                                           isKeyword(lineTokens(lines[end])[1], "type")))
                ++end;
        }
        if (found < 0 || inheritance.isNative(tokens[1]) ||
            (!records[found].hasTwin && records[found].parentName.isEmpty())) {
            for (; i <= end && i < lines.size(); ++i)
                keepLine(i);
            --i;
            continue;
        }
        if (end < lines.size()) {
            // Parents further down move up, root first, with their blocks;
            // their own place keeps their implementations.
            if (movedUp.contains(found)) {
                result.add(records[found].twinMethodText);
                result.add(records[found].inheritedForwarderText);
                result.add(QByteArrayView());
                i = end;
                continue;
            }
            QList<qsizetype> above;
            for (qsizetype up = index.find(records[found].parentName);
                 up >= 0 && records[up].typeLine > i && records[up].hasTwin &&
                 !movedUp.contains(up) && !above.contains(up);
                 up = index.find(records[up].parentName))
                above.prepend(up);
            for (const qsizetype up : above) {
                movedUp.insert(up);
                const TypeRecord& moved = records[up];
                result.add(moved.inheritedDeclareText);
                result.add(moved.twinBlockText);
            }
            result.add(replacementText(records[found]));
        } else {
            // A block without an end line stays as written, with the rest of the file.
            for (; i < lines.size(); ++i)
                keepLine(i);
        }
        i = end;
    }
    MappedText text = result.take();
    stripExtendsClauses(text, inheritance);
    return text;
}

// The pass writes its result in the text's own room and makes only the texts
// it emits; on any file it must give what the rules give step by step,
// including where a replacement is shorter than the block it takes the place
// of (a block that holds another type's implementation) and where blocks run
// to the end of the file.
TEST(TypeBlocks, InPlaceRewriteAgreesWithTheRulesOnRandomFiles) {
    const char* vocabulary[] = {
        "type A",
        "type B extends A",
        "type C extends B",
        "type D extends A",
        "type E",
        "type F extends Object",
        "end type",
        "  x as integer",
        "private:",
        "sub A.f()",
        "sub B.g(byval n as integer)",
        "end sub",
        "function A.h() as integer",
        "end function",
        "constructor A",
        "end constructor",
        "print 1",
        "",
        "' note",
        "  y as string",
        "  union",
        "  end union",
        "  protected:",
        "type A ' the root",
    };
    const int vocabularySize = int(sizeof(vocabulary) / sizeof(vocabulary[0]));
    QRandomGenerator random(8122026);
    for (int round = 0; round < 4000; ++round) {
        QByteArrayList lines;
        const int count = random.bounded(1, 40);
        for (int i = 0; i < count; ++i)
            lines.append(QByteArray(vocabulary[random.bounded(vocabularySize)]));
        const QByteArray source = lines.join('\n');
        const MappedText expected = expandedStepByStep(source);
        const MappedText actual = expandClassText(sourceOf(source));
        ASSERT_EQ(actual.text, expected.text) << source.toStdString();
        ASSERT_EQ(actual.origins, expected.origins) << source.toStdString();
    }
}

} // namespace

namespace {

// The static variables of a parent's members are declared once, ahead of both
// copies of each member: at the start of the twin's implementations for those
// that follow the block, right before the header for one written after other
// code. A type without a twin keeps its statics; every kept line keeps its
// origin, and an edited one stays one line.
TEST(TypeBlocks, StaticVariablesOfParentMembersStandAheadOfBothCopies) {
    const QByteArray source = text({"type Shape",
                                    "  id as integer",
                                    "  declare sub a()",
                                    "  declare sub b()",
                                    "end type",
                                    "sub Shape.a()",
                                    "  static n as integer",
                                    "end sub",
                                    "declare sub other()",
                                    "sub Shape.b()",
                                    "  Static N As Integer = 2",
                                    "end sub",
                                    "type Lone",
                                    "  declare sub c()",
                                    "end type",
                                    "sub Lone.c()",
                                    "  static n as integer",
                                    "end sub",
                                    "type Circle extends Shape",
                                    "end type"});
    const MappedText result = expandClassText(sourceOf(source));
    const QByteArrayList lines = result.text.split('\n');
    ASSERT_EQ(lines.size(), result.origins.size());
    const QByteArray inBlock =
        text({"end type", "dim shared Shape__fbext_static1_n as integer",
              "sub Shape_generic_public_member.a()",
              "  dim byref n as integer = Shape__fbext_static1_n", "end sub"});
    const QByteArray later =
        text({"sub Shape.a()", "  dim byref n as integer = Shape__fbext_static1_n", "end sub",
              "declare sub other()", "dim shared Shape__fbext_static2_N as Integer = 2",
              "sub Shape.b()", "  dim byref N as Integer = Shape__fbext_static2_N", "end sub",
              "sub Shape_generic_public_member.b()",
              "  dim byref N as Integer = Shape__fbext_static2_N", "end sub"});
    EXPECT_TRUE(result.text.contains(inBlock)) << result.text.toStdString();
    EXPECT_TRUE(result.text.contains(later)) << result.text.toStdString();
    EXPECT_TRUE(result.text.contains(text({"sub Lone.c()", "  static n as integer", "end sub"})));
    const qsizetype own = lines.indexOf("sub Shape.a()");
    ASSERT_GE(own, 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(result.origins[own + i], at(6 + i)) << i;
    EXPECT_EQ(result.origins[own + 4], at(11)); // the variable of b, for its statement
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(result.origins[own + 5 + i], at(10 + i)) << i;
}

} // namespace
