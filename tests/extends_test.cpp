#include "classexpander.h"
#include "classsteps.h"
#include "classtext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(Extends, ExtendsLinesResolveIgnoringCase) {
    const QList<TypeRecord> records = resolved(text(
        {"type Shape", "  x as integer", "end type", "type circle extends SHAPE", "end type"}));
    EXPECT_TRUE(records[1].inheritedDeclareText.text.contains(
        QByteArray("  parent as SHAPE_generic_public_member\n")));
    EXPECT_TRUE(records[1].inheritedForwarderText.text.contains(
        QByteArray("property circle.x() as integer")));
}

TEST(Extends, ChainsAreResolvedWhateverTheOrderOfTheLines) {
    const QByteArray a = QByteArray("type A\n  a as integer\nend type\n");
    const QByteArray b = QByteArray("type B extends A\n  b as integer\nend type\n");
    const QByteArray c = QByteArray("type C extends B\n  c as integer\nend type\n");

    const TypeRecord inOrder = resolved(a + b + c).value(2);
    EXPECT_TRUE(inOrder.inheritedDeclareText.text.contains(QByteArray("property a()")));
    EXPECT_TRUE(inOrder.inheritedDeclareText.text.contains(QByteArray("property b()")));
    EXPECT_TRUE(inOrder.inheritedForwarderText.text.contains(QByteArray("property C.a()")));
    EXPECT_FALSE(inOrder.inheritedForwarderText.text.contains(QByteArray("B.a")));
    EXPECT_TRUE(resolved(a + b + c).value(1).twinMethodText.text.contains(
        QByteArray("property B_generic_public_member.a()")));

    // The grandchild gets the grandparent's members in every order of the blocks.
    for (const QByteArray& source : {a + c + b, c + b + a, c + a + b, b + c + a}) {
        const QList<TypeRecord> records = resolved(source);
        const auto grandchild = std::find_if(records.cbegin(), records.cend(), [](const auto& r) {
            return r.typeName == QByteArray("C");
        });
        ASSERT_NE(grandchild, records.cend());
        EXPECT_EQ(grandchild->inheritedDeclareText.text, inOrder.inheritedDeclareText.text)
            << source.toStdString();
        EXPECT_EQ(grandchild->inheritedForwarderText.text, inOrder.inheritedForwarderText.text)
            << source.toStdString();
    }
}

// An extending type's own "parent" holds the parent's part; a field or member
// of the parent named parent is not forwarded over it.
TEST(Extends, AParentsMemberNamedParentIsNotForwarded) {
    const QList<TypeRecord> records = resolved(text(
        {"type Item", "  Parent as Item ptr", "  title as string",
         "  declare function parent() as integer", "end type", "function Item.parent() as integer",
         "  return 1", "end function", "type Folder extends Item", "end type"}));
    const QByteArray declared = records[1].inheritedDeclareText.text;
    EXPECT_TRUE(declared.contains(QByteArray("  declare const property title() as string")));
    EXPECT_TRUE(declared.contains(QByteArray("  parent as Item_generic_public_member")));
    EXPECT_FALSE(declared.contains(QByteArray("property Parent")));
    EXPECT_FALSE(declared.contains(QByteArray("function parent")));
    EXPECT_FALSE(records[1].inheritedForwarderText.text.contains(QByteArray("Folder.parent")));
    EXPECT_FALSE(records[1].inheritedForwarderText.text.contains(QByteArray("Folder.Parent")));
}

// Where the type or an ancestor writes an implementation private (a module
// keeping its types to itself), every forwarder of the type is private too;
// otherwise forwarders are written as before.
TEST(Extends, ForwardersArePrivateWhereTheFamilyImplementsPrivately) {
    // Whether B's and C's forwarders are private: a private implementation
    // makes those of its own type and of every type below it so.
    const struct {
        const char* parentHeader;
        const char* grandchildHeader;
        bool isPrivate[2];
    } cases[] = {
        {"sub A.move(byval d as integer)", "sub C.hop()", {false, false}},
        {"private sub A.move(byval d as integer)", "sub C.hop()", {true, true}},
        {"Private Sub A.move(byval d as integer)", "sub C.hop()", {true, true}},
        {"public sub A.move(byval d as integer)", "sub C.hop()", {false, false}},
        {"sub A.move(byval d as integer) ' private", "sub C.hop()", {false, false}},
        {"sub A.move(byval d as integer)", "private sub C.hop()", {false, true}},
        {"private sub A.move(byval d as integer)", "private sub C.hop()", {true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.parentHeader) + " / " + c.grandchildHeader);
        const QList<TypeRecord> records =
            resolved(text({"type A", "  x as integer", "  declare sub move(byval d as integer)",
                           "end type", c.parentHeader, "  x += d", "end sub", "type B extends A",
                           "end type", "type C extends B", "  declare sub hop()", "end type",
                           c.grandchildHeader, "end sub"}));
        for (const qsizetype at : {1, 2}) {
            const bool isPrivate = c.isPrivate[at - 1];
            const QByteArray forwarders = records[at].inheritedForwarderText.text.toLower();
            const QByteArray name = records[at].typeName.toLower();
            const QByteArray prefix = isPrivate ? "private " : "";
            EXPECT_TRUE(
                forwarders.contains("\n" + prefix + "property " + name + ".x() as integer\n"))
                << forwarders.constData();
            EXPECT_TRUE(
                forwarders.contains("\n" + prefix + "sub " + name + ".move(byval d as integer)"))
                << forwarders.constData();
            EXPECT_EQ(forwarders.count("\nprivate "), isPrivate ? 3 : 0);
        }
    }
}

TEST(Extends, ParentFromAnotherFileGivesNothingInherited) {
    const TypeRecord record =
        resolved(text({"type Circle extends Shape", "  r as integer", "end type"})).value(0);
    EXPECT_EQ(record.parentName, QByteArray());
    EXPECT_EQ(record.inheritedDeclareText.text, record.blockText.text);
    EXPECT_EQ(record.inheritedForwarderText.text, QByteArray());
}

TEST(Extends, InheritedTextsKeepTheParentsOrigins) {
    const QList<TypeRecord> records =
        resolved(text({"type A", "  a as integer", "end type", "type B extends A", "end type",
                       "type C extends B", "end type"}));
    const TypeRecord& c = records[2];
    // The declarations of A's field, passed down two levels.
    const QByteArrayList lines = c.inheritedDeclareText.text.split('\n');
    const qsizetype declared = lines.indexOf(QByteArray("  declare const property a() as integer"));
    ASSERT_GE(declared, 0);
    EXPECT_EQ(c.inheritedDeclareText.origins[declared], at(2));
    EXPECT_EQ(c.inheritedDeclareText.origins.first(), at(6));
    const qsizetype parent = lines.indexOf(QByteArray("  parent as B_generic_public_member"));
    EXPECT_EQ(c.inheritedDeclareText.origins.value(parent), at(6));
}

// A const member of an extending type reads a field it inherits of one of
// the program's own types through "parent": the property standing for it
// hands out a reference, which the compiler refuses on a constant "this".
// Each row: the types after a Point and a Shape with "pos", "corners(1)" and
// a number "n"; a line the result must hold.
TEST(Extends, ConstMembersReachInheritedFieldsOfTheProgramsTypesThroughParent) {
    const QByteArray head =
        text({"type Point", "  x as double", "end type", "type Shape", "  pos as Point",
              "  corners(1) as Point", "  n as integer", "end type"});
    const struct {
        const char* lines;
        const char* expected;
    } cases[] = {
        {"type Circle extends Shape\n  declare const function f() as double\nend type\n"
         "const function Circle.f() as double\n  return pos.x + this.pos.x + corners(1).x\n"
         "end function",
         "  return parent.pos.x + this.parent.pos.x + parent.corners(1).x"},
        // Declared const, implemented without repeating it; on one line.
        {"type Circle extends Shape\n  declare const function f() as double\nend type\n"
         "function Circle.f() as double : return pos.x : end function",
         "function Circle.f() as double : return parent.pos.x : end function"},
        // A grandparent's field, through the parent's part of the parent.
        {"type Circle extends Shape\nend type\ntype Ring extends Circle\n"
         "  declare const function f() as double\nend type\n"
         "const function Ring.f() as double\n  return pos.x\nend function",
         "  return parent.parent.pos.x"},
        // Another value's field, a comment, a number field and a member that
        // is not const stay as written.
        {"type Circle extends Shape\n  declare const function f(byref o as Circle) as double\n"
         "end type\nconst function Circle.f(byref o as Circle) as double\n"
         "  return o.pos.x + n ' pos\nend function",
         "  return o.pos.x + n ' pos"},
        {"type Circle extends Shape\n  declare function f() as string\nend type\n"
         "function Circle.f() as string\n  return \"pos\" & pos.x\nend function",
         "  return \"pos\" & pos.x"},
    };
    for (const auto& c : cases) {
        const QByteArray result = expandClassText(sourceOf(head + "\n" + c.lines + "\n")).text;
        EXPECT_TRUE(result.contains(QByteArray(c.expected) + '\n')) << c.lines << "\n"
                                                                    << result.toStdString();
    }
    // The twin's copy of a const member (Ring extends Circle) is rewritten too.
    const QByteArray chain =
        expandClassText(sourceOf(head + "\n" +
                                 "type Circle extends Shape\n  declare const function f() as "
                                 "double\nend type\nconst function Circle.f() as double\n  return "
                                 "pos.x\nend function\ntype Ring extends Circle\nend type\n"))
            .text;
    EXPECT_EQ(chain.count("  return parent.pos.x\n"), 2) << chain.toStdString();
}

// The names a parent's block declares for its own use reach the members of
// the types that extend it, through the ancestor that declares them, in the
// member itself and in the twin's copy of it; what the extending type or the
// member declares itself stays as written, and so do strings, comments and
// members reached through "." or "->".
TEST(Extends, NamesDeclaredInsideAParentAreNamedThroughIt) {
    const QByteArray family =
        text({"type Animal", "  const LEG_COUNT = 4, WINGS = 0", "  enum Diet", "    HERBIVORE",
              "    CARNIVORE", "  end enum", "  static count as integer", "  legs as integer",
              "private:", "  const SECRET = 7", "end type", "type Bird extends Animal",
              "  const WINGS = 2", "  declare sub fly(byval n as integer)", "end type",
              "type Hawk extends Bird", "end type", "sub Bird.fly(byval n as integer)"});
    const struct {
        const char* body;
        const char* written; // nullptr: as in the body
    } rows[] = {
        {"  print LEG_COUNT", "  print Animal.LEG_COUNT"},
        {"  if legs > LEG_COUNT then legs = LEG_COUNT",
         "  if legs > Animal.LEG_COUNT then legs = Animal.LEG_COUNT"},
        {"  dim d as Diet = CARNIVORE", "  dim d as Animal.Diet = Animal.CARNIVORE"},
        {"  count += 1", "  Animal.count += 1"},
        {"  print SECRET", "  print Animal_generic_public_member.SECRET"},
        {"  print WINGS; n", nullptr},
        {"  print \"LEG_COUNT\"; Animal.LEG_COUNT ' LEG_COUNT", nullptr},
        {"  print p->LEG_COUNT, q.CARNIVORE", nullptr},
        {"  var LEG_COUNT = 2 : print LEG_COUNT", nullptr},
        {"  dim as integer CARNIVORE = 1, count : print CARNIVORE + count", nullptr},
        // Variables of those names are the member's own from their declaration
        // to the end of the block holding them.
        {"  dim LEG_COUNT(1 to 3) as integer\n  print ubound(LEG_COUNT)", nullptr},
        {"  redim LEG_COUNT(1 to 3) as integer\n  print ubound(LEG_COUNT)", nullptr},
        {"  redim as integer LEG_COUNT(2)\n  print ubound(LEG_COUNT)", nullptr},
        {"  print LEG_COUNT\n  dim LEG_COUNT as integer\n  print LEG_COUNT",
         "  print Animal.LEG_COUNT\n  dim LEG_COUNT as integer\n  print LEG_COUNT"},
        {"  scope\n    dim LEG_COUNT as integer = 8\n  end scope\n  print LEG_COUNT",
         "  scope\n    dim LEG_COUNT as integer = 8\n  end scope\n  print Animal.LEG_COUNT"},
        {"  for LEG_COUNT as integer = 1 to 2\n    print LEG_COUNT\n  next\n  print LEG_COUNT",
         "  for LEG_COUNT as integer = 1 to 2\n    print LEG_COUNT\n  next\n  print "
         "Animal.LEG_COUNT"},
        {"  if n then\n    var LEG_COUNT = 1\n  else\n    print LEG_COUNT\n  end if",
         "  if n then\n    var LEG_COUNT = 1\n  else\n    print Animal.LEG_COUNT\n  end if"},
        // A redim of the parent's static resizes that one.
        {"  redim count(3) as integer : redim preserve count(4)",
         "  redim Animal.count(3) as integer : redim preserve Animal.count(4)"},
    };
    for (const auto& row : rows) {
        const QByteArray source = family + '\n' + row.body + "\nend sub\n";
        const QByteArray out = expandClassText(sourceOf(source)).text;
        const QByteArray expected = row.written ? row.written : row.body;
        // Bird's own implementation, and the copy on its twin (Hawk extends it).
        EXPECT_EQ(out.count(QByteArray(expected + '\n')), 2) << row.body << "\n"
                                                             << out.toStdString();
    }

    // A grandchild reaches the grandparent's names; the parameter named like
    // one is the member's own.
    const QByteArray grandchild =
        family + "\n  print n\nend sub\n" +
        text({"type Chick extends Hawk", "  declare sub peep(byval LEG_COUNT as integer)",
              "  declare sub hop(LEG_COUNT as integer)", "end type",
              "sub Chick.peep(byval LEG_COUNT as integer)", "  print LEG_COUNT; HERBIVORE",
              "end sub", "sub Chick.hop(LEG_COUNT as integer)", "  print LEG_COUNT + 1", "end sub",
              "sub Hawk.dive()", "  print LEG_COUNT; WINGS", "end sub"});
    const QByteArray out = expandClassText(sourceOf(grandchild)).text;
    EXPECT_TRUE(out.contains("  print LEG_COUNT; Animal.HERBIVORE\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("  print LEG_COUNT + 1\n")) << out.toStdString();
    EXPECT_TRUE(out.contains("  print Animal.LEG_COUNT; Bird.WINGS\n")) << out.toStdString();
}

} // namespace
