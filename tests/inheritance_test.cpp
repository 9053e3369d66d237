#include "classexpander.h"
#include "classsteps.h"
#include "classtext.h"
#include "inheritance.h"
#include "typescan.h"

#include <gtest/gtest.h>

namespace {

QByteArray expand(const QByteArray& source) {
    return expandClassText(sourceOf(source)).text;
}

// The analysis on one thread; on two, it must find the same.
Inheritance analysed(const QByteArray& source) {
    const MappedText mapped = sourceOf(source);
    const LineIndex lines(mapped.text);
    const QList<TypeRecord> records = findTypes(lines);
    const Inheritance alone = analyseInheritance(lines, records, findExtendsLines(lines));
    const Inheritance beside = analyseInheritance(lines, records, findExtendsLines(lines), true);
    EXPECT_TRUE(alone.nativeTypes == beside.nativeTypes);
    EXPECT_TRUE(alone.twinTypes == beside.twinTypes);
    EXPECT_TRUE(alone.derivedTypes == beside.derivedTypes);
    return alone;
}

// FreeBASIC programs that use neither extension pass through untouched.
TEST(Inheritance, OrdinaryProgramsAreLeftAsWritten) {
    struct Case {
        const char* name;
        QByteArray source;
    };
    const Case cases[] = {
        {"rooted in Object",
         text({"type Animal extends Object", "  declare abstract function speak() as string",
               "end type", "type Dog extends Animal",
               "  declare virtual function speak() as string", "end type",
               "function Dog.speak() as string", "  return \"woof\"", "end function", ""})},
        {"derived line first",
         text({"type Puppy extends Dog", "  age as integer", "end type", "type Dog extends Animal",
               "  name as string", "end type", "type Animal extends OBJECT", "end type"})},
        {"parent from an included header",
         text({"#include once \"widgets.bi\"", "type Button extends Widget", "  label as string",
               "end type", "sub Button.click()", "end sub"})},
        {"nothing extends it",
         text({"type UDT", "  x as integer", "  declare constructor(byref rhs as UDT)",
               "  declare operator let (byref rhs as UDT)", "end type",
               "constructor UDT(byref rhs as UDT)", "  x = rhs.x", "end constructor",
               "operator UDT.let (byref rhs as UDT)", "  x = rhs.x", "end operator", "type Iter",
               "  declare operator for (byref i as Iter)", "end type", "TYPE Handle AS INTEGER",
               ""})},
        // The compiler sees through an alias; this program has nothing of it to forward.
        {"parent named through an alias",
         text({"type Paint", "  total as integer", "  declare sub add(byval n as integer)",
               "end type", "sub Paint.add(byval n as integer)", "  total += n", "end sub",
               "type Coat as Paint", "type Tin extends Coat", "  litres as integer", "end type",
               ""})},
        // No order of the blocks can embed a parent of a cycle; the compiler says why.
        {"a cycle of two", text({"type A extends B", "  x as integer", "end type",
                                 "type B extends a", "  y as integer", "end type", ""})},
        {"a type extending itself",
         text({"type Same extends SAME", "  x as integer", "end type", ""})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(expand(c.source), c.source) << c.name;
}

TEST(Inheritance, NativeTypesFollowTheirRootInAnyLineOrder) {
    const Inheritance inheritance = analysed(
        text({"type C extends B", "end type", "type B extends A", "end type",
              "type A extends Object", "end type", "type Mine", "end type",
              "type Yours extends mine", "end type", "type Loop1 extends Loop2", "end type",
              "type Loop2 extends Loop1", "end type", "type Tail extends Loop1", "end type",
              "type Alias as Mine", "type Through extends alias", "end type"}));
    for (const char* name : {"a", "B", "c", "Object", "Loop1", "Loop2", "Tail", "Alias", "Through"})
        EXPECT_TRUE(inheritance.isNative(QByteArray(name))) << name;
    for (const char* name : {"Mine", "Yours"})
        EXPECT_FALSE(inheritance.isNative(QByteArray(name))) << name;
    EXPECT_TRUE(inheritance.needsTwin("MINE"));
    EXPECT_FALSE(inheritance.needsTwin("A"));
    EXPECT_FALSE(inheritance.needsTwin("Yours"));
}

// A family of types joined by extends lines is left to FreeBASIC's own
// inheritance, all of it, when one of its types is written for it.
TEST(Inheritance, AFamilyWrittenForTheCompilersInheritanceIsLeftAlone) {
    struct Case {
        const char* sign;
        const char* parentLine; // in Parent's block
        const char* memberLine; // in Child.show's body
        bool native;
    };
    const Case cases[] = {
        {"base.member", "", "  base.show()", true},
        {"base(...)", "", "  Base ( 1 )", true},
        {"base.constructor", "", "  BASE.Constructor(2)", true},
        {"protected section", "protected:", "", true},
        {"protected, spaced", "  Protected :", "", true},
        {"virtual member", "  declare virtual sub show()", "", true},
        {"abstract member", "  declare abstract sub show()", "", true},
        {"override", "  declare sub hide() override", "", true},
        {"this cast to the parent", "", "  Cast ( Parent , This ) = Parent()", true},
        {"this as a pointer to the parent", "", "  dim p as parent ptr = cptr(Parent Ptr, @this)",
         true},
        {"this cast to a sibling", "", "  print cast(Sibling,this).x", true},
        {"a field cast", "", "  print cast(integer, this.x)", false},
        {"another type's this", "", "  print cast(Other, other.this_)", false},
        {"base in a string", "", "  print \"base.show()\"", false},
        {"base in a comment", "", "  print 1 ' base.show()", false},
        {"a longer name", "", "  database.show() : rebase(1)", false},
        {"base alone", "", "  print base", false},
        {"base after a string", "", "  print \"x\"; base.show()", true},
        {"base in a string with doubled quotes", "", "  print \"a \"\"base.x\"\" b\"", false},
        {"a name that goes on after base", "", "  base_1.show()", false},
        {"virtual in a comment", "  x2 as integer ' virtual", "", false},
        {"a cast in a comment", "", "  print 1 ' cast(Parent, this)", false},
    };
    for (const Case& c : cases) {
        const QByteArray source = text({"type Parent", c.parentLine, "  x as integer", "end type",
                                        "type Child extends Parent", "  declare sub show()",
                                        "end type", "type Sibling extends Parent", "end type",
                                        "sub Child.show()", c.memberLine, "end sub"});
        const Inheritance inheritance = analysed(source);
        for (const char* name : {"Parent", "Child", "Sibling"})
            EXPECT_EQ(inheritance.isNative(QByteArray(name)), c.native) << c.sign << " " << name;
        if (c.native) {
            EXPECT_EQ(expand(source), source) << c.sign;
        }
    }
}

// A type declared in a procedure or a compound statement can have no member
// procedures, so fbext cannot forward to it: its family is the compiler's.
// At module level, in a namespace or an #if branch, it is fbext's.
// Outside the fb dialect a type holds no member procedures, and "extends"
// is the compiler's inheritance of fields: the file's "#lang" (or "'$lang:")
// names the dialect, unless the command line forces one, else -lang does.
TEST(Inheritance, AFileReadInAnotherDialectIsLeftToTheCompiler) {
    struct Case {
        const char* name;
        QByteArray source;
        const char* commandLine;
        bool forced;
        bool fb;
        const char* header = ""; // the dialect the file's headers name
    };
    const QByteArray family = "type P\n  x as integer\nend type\ntype Kid extends P\nend type\n";
    const Case cases[] = {
        {"no dialect named", family, "", false, true},
        {"-lang fb", family, "fb", false, true},
        {"-lang fblite", family, "fblite", false, false},
        {"-lang in capitals", family, "DEPRECATED", false, false},
        {"#lang", "#lang \"fblite\"\n" + family, "", false, false},
        {"#lang spaced, any case", "  # LANG \"QB\"  ' old code\n" + family, "", false, false},
        {"#lang below the types", family + "#lang \"deprecated\"\n", "", false, false},
        {"#lang fb over -lang", "#lang \"fb\"\n" + family, "fblite", false, true},
        {"-forcelang over #lang", "#lang \"fblite\"\n" + family, "fb", true, true},
        {"-forcelang fblite", "#lang \"fb\"\n" + family, "fblite", true, false},
        {"metacommand", "'$lang: \"fblite\"\n" + family, "", false, false},
        {"#lang _ continued", "#lang _\n  \"fblite\"\n" + family, "", false, false},
        {"#lang _ continued, a comment after", "#lang _ ' old\n\"qb\"\n" + family, "", false,
         false},
        {"#lang _ continued to fb", "#lang _\n\"fb\"\n" + family, "fblite", false, true},
        {"'$lang: _ is no continuation", "'$lang: _\n\"fblite\"\n" + family, "", false, true},
        {"metacommand after rem", "REM $LANG:\"qb\"\n" + family, "", false, false},
        {"metacommand with spaces", "' $lang : \"deprecated\"\n" + family, "", false, false},
        {"in a comment block", "/'\n#lang \"fblite\"\n'/\n" + family, "", false, true},
        {"in a string", "print \"#lang \"\"fblite\"\"\"\n" + family, "", false, true},
        {"a comment about it", "' #lang \"fblite\"\n" + family, "", false, true},
        {"a name that starts alike", "#language \"fblite\"\n" + family, "", false, true},
        {"a header's #lang", family, "", false, false, "fblite"},
        {"a header's #lang over -lang", family, "fb", false, false, "qb"},
        {"a header's #lang fb over -lang", family, "fblite", false, true, "FB"},
        {"the file's own #lang after it", "#lang \"fb\"\n" + family, "", false, true, "fblite"},
        {"-forcelang over a header's", family, "fb", true, true, "fblite"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readInFbDialect(c.source, c.commandLine, c.forced, c.header), c.fb) << c.name;
}

TEST(Inheritance, AFamilyWithALocalTypeIsLeftAlone) {
    struct Case {
        const char* opening;
        const char* closing;
        bool native;
    };
    const Case cases[] = {
        {"scope", "end scope", true},
        {"sub demo()", "end sub", true},
        {"Function f() As Integer", "End Function", true},
        {"if ready then", "end if", true},
        {"for i as integer = 1 to 2", "next", true},
        {"do", "loop", true},
        {"with something", "end with", true},
        {"namespace Geo", "end namespace", false},
        {"#ifdef WIDE", "#endif", false},
        {"if ready then print 1", "", false},
        {"sub other() : end sub", "", false},
        {"' scope", "", false},
        {"#macro KIND()", "#endmacro", false},
    };
    for (const Case& c : cases) {
        const QByteArray source =
            text({"type Parent", "  x as integer", "  declare sub show()", "end type",
                  "sub Parent.show()", "end sub", c.opening, "  type Child extends Parent",
                  "    y as integer", "  end type", c.closing});
        const Inheritance inheritance = analysed(source);
        for (const char* name : {"Parent", "Child"})
            EXPECT_EQ(inheritance.isNative(QByteArray(name)), c.native) << c.opening << " " << name;
        if (c.native) {
            EXPECT_EQ(expand(source), source) << c.opening;
        }
    }
    // A type that a macro's body opens and leaves open for the code after
    // each use to close has no block here: its family is the compiler's.
    const QByteArray opened =
        text({"type Parent", "  x as integer", "  declare sub show()", "end type",
              "sub Parent.show()", "end sub", "#macro CHILD(n)", "type n extends Parent",
              "#endmacro", "CHILD(Child)", "  y as integer", "end type"});
    EXPECT_TRUE(analysed(opened).isNative("Parent"));
    EXPECT_EQ(expand(opened), opened);
}

// A member implemented with its type's namespace in front is one fbext does
// not read as the type's: the family is left to the compiler.
TEST(Inheritance, AMemberNamedThroughANamespaceLeavesTheFamilyAlone) {
    struct Case {
        const char* header;
        const char* end;
        bool native;
    };
    const Case cases[] = {
        {"sub Geo.Shape.move(byval dx as integer)", "end sub", true},
        {"Private Function Geo.Inner.SHAPE.area() as integer", "end function", true},
        {"constructor Geo.Shape()", "end constructor", true},
        {"operator Geo.Shape.cast() as string", "end operator", true},
        {"sub Shape.move(byval dx as integer)", "end sub", false},
        {"sub Geo.Other.move(byval dx as integer)", "end sub", false},
        {"sub Geo.Shape(byval dx as integer)", "end sub", false},
        {"' sub Geo.Shape.move()", "", false},
        {"declare sub Geo.Shape.move()", "", false},
    };
    for (const Case& c : cases) {
        const QByteArray source =
            text({"namespace Geo", "type Shape", "  x as integer", "  declare sub move()",
                  "end type", "type Circle extends Shape", "  r as integer", "end type",
                  "end namespace", c.header, c.end});
        const Inheritance inheritance = analysed(source);
        for (const char* name : {"Shape", "Circle"})
            EXPECT_EQ(inheritance.isNative(QByteArray(name)), c.native) << c.header << " " << name;
    }
}

TEST(Inheritance, OnlyTheExtendedTypesOfAChainGetTwins) {
    const QByteArray result =
        expand(text({"type A", "  a as integer", "end type", "type B extends A", "end type",
                     "type C extends B", "end type", "type D extends Object", "end type"}));
    EXPECT_TRUE(result.contains(QByteArray("type A_generic_public_member\n")));
    EXPECT_TRUE(result.contains(QByteArray("type B_generic_public_member\n")));
    EXPECT_FALSE(result.contains(QByteArray("C_generic_public_member")));
    EXPECT_TRUE(result.contains(QByteArray("\ntype C\n")));
    EXPECT_TRUE(result.contains(QByteArray("  parent as B_generic_public_member\n")));
    EXPECT_TRUE(result.contains(QByteArray("property C.a() as integer\n")));
    // The native type keeps its clause; the compiler's inheritance applies.
    EXPECT_TRUE(result.endsWith(text({"type D extends Object", "end type"})));
}

TEST(Inheritance, MixedFileRewritesOnlyWhatItsExtendsLinesNeed) {
    const QByteArray source =
        text({"type Animal extends Object", "  declare virtual sub speak()", "end type",
              "type Shape", "  x as integer", "end type", "type Circle extends Shape", "end type"});
    const QByteArray result = expand(source);
    EXPECT_TRUE(result.startsWith(
        text({"type Animal extends Object", "  declare virtual sub speak()", "end type",
              "type Shape", "  x as integer", "end type", "type Shape_generic_public_member"})));
}

} // namespace
