#include "classsteps.h"
#include "classtext.h"
#include "forwarding.h"
#include "typescan.h"

#include <gtest/gtest.h>

namespace {

TypeRecord onlyRecord(const QByteArray& source) {
    const MappedText mapped = sourceOf(source);
    const QList<TypeRecord> records = scanTypes(splitLines(mapped.text), mapped.origins);
    EXPECT_EQ(records.size(), 1);
    return records.value(0);
}

TEST(Forwarding, WorkedExampleWithEveryParameterPassedOn) {
    const TypeRecord record = onlyRecord(text(
        {"type Shape", "  x as integer", "  name as string", "end type", "",
         "sub Shape.move(byval dx as integer, byval dy as integer)", "  x += dx", "end sub", "",
         "function Shape.area(scale as integer) as integer", "  return x * scale", "end function",
         "", "property Shape.size() as integer", "  return x", "end property"}));
    EXPECT_EQ(declareTextOf(record.members).text,
              text({"  declare property x() as integer",
                    "  declare property x(byval new_value as integer)",
                    "  declare property name() as string",
                    "  declare property name(byval new_value as string)",
                    "  declare sub move(byval dx as integer, byval dy as integer)",
                    "  declare function area(scale as integer) as integer",
                    "  declare property size() as integer"}));
    EXPECT_EQ(forwarderTextOf(record.members).text,
              text({"property class_for_interface##.x() as integer",
                    "  return parent.x",
                    "end property",
                    "property class_for_interface##.x(byval new_value as integer)",
                    "  parent.x = new_value",
                    "end property",
                    "",
                    "property class_for_interface##.name() as string",
                    "  return parent.name",
                    "end property",
                    "property class_for_interface##.name(byval new_value as string)",
                    "  parent.name = new_value",
                    "end property",
                    "",
                    "sub class_for_interface##.move(byval dx as integer, byval dy as integer) ",
                    "  parent.move(dx,dy)",
                    "end sub",
                    "",
                    "function class_for_interface##.area(scale as integer) as integer ",
                    "  return parent.area(scale)",
                    "end function",
                    "",
                    "property class_for_interface##.size() as integer ",
                    "  return parent.size",
                    "end property",
                    ""}));
    // Each entry stands for the line it was generated from.
    EXPECT_EQ(declareTextOf(record.members).origins.first(), at(2));
    EXPECT_EQ(declareTextOf(record.members).origins.last(), at(14));
    EXPECT_EQ(forwarderTextOf(record.members).origins[15], at(6));
}

TEST(Forwarding, ArgumentLists) {
    struct Case {
        const char* header;
        const char* arguments;
    };
    const Case cases[] = {
        {"sub Shape.move(byval dx as integer, byval dy as integer)", "dx,dy"},
        {"function Shape.area(scale as integer) as integer", "scale"},
        {"sub Shape.f(byref s as string, byval n as integer)", "s,n"},
        {"sub Shape.f(BYVAL a as integer, b as integer)", "a,b"},
        {"sub Shape.sum(a() as integer, byref n as integer)", "a(),n"},
        {"sub Shape.f(byval p as T ptr = cast(T ptr, 0))", "p"},
        {"sub Shape.f(byval n as integer, ...)", "n"},
        {"sub Shape.f( , byval n as integer)", "n"},
        {"sub Shape.reset()", ""},
        {"sub Shape.reset", ""},
        {"sub Shape.f(byval n as integer", "n"},
        {"property Shape.item(byval i as integer) as string", "i"},
        {"sub Shape.f(byval", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(argumentListOf(QByteArray(c.header)), QByteArray(c.arguments)) << c.header;
}

TEST(Forwarding, MemberNames) {
    struct Case {
        const char* header;
        const char* name;
    };
    const Case cases[] = {
        {"sub Shape.draw (byval x as integer)", "draw"},
        {"sub Shape.reset", "reset"},
        {"sub Shape.reset ' again", "reset'again"},
        {"sub   Shape.move( byval dx as integer )", "move"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(memberNameOf(QByteArray(c.header)), QByteArray(c.name)) << c.header;
}

TEST(Forwarding, MemberEntries) {
    struct Case {
        const char* kind;
        const char* header;
        const char* prefix;
        const char* forwarder;
        const char* declaration;
    };
    const Case cases[] = {
        {"sub", "  sub   Shape.move( byval dx as integer )", "Shape.",
         "sub class_for_interface##.move( byval dx as integer ) \n  parent.move(dx)\nend sub\n",
         "  declare sub move( byval dx as integer )"},
        {"sub", "sub Shape.reset", "Shape.",
         "sub class_for_interface##.reset \n  parent.reset()\nend sub\n", "  declare sub reset"},
        // The qualifier goes whatever its case; nothing else is removed.
        {"sub", "sub shape.move()", "Shape.",
         "sub class_for_interface##.move() \n  parent.move()\nend sub\n", "  declare sub move()"},
        {"sub", "sub Shape.copy(byval other as Shape.Inner)", "Shape.",
         "sub class_for_interface##.copy(byval other as Shape.Inner) \n  parent.copy(other)\nend "
         "sub\n",
         "  declare sub copy(byval other as Shape.Inner)"},
        {"property", "property Shape.item(byval i as integer) as string", "Shape.",
         "property class_for_interface##.item(byval i as integer) as string \n  return "
         "parent.item(i)\nend property\n",
         "  declare property item(byval i as integer) as string"},
        {"function", "FUNCTION SHAPE.Area() AS Integer", "Shape.",
         "FUNCTION class_for_interface##.Area() AS Integer \n  return parent.Area()\nend "
         "function\n",
         "  declare FUNCTION Area() AS Integer"},
    };
    for (const Case& c : cases) {
        const QByteArray header = QByteArray(c.header);
        const ForwardEntry entry =
            forwardMember(memberHeaderOf(QByteArrayView(c.kind), header), QByteArray(c.prefix));
        EXPECT_EQ(entry.forwarder, QByteArray(c.forwarder)) << c.header;
        EXPECT_EQ(entry.declaration, QByteArray(c.declaration)) << c.header;
    }
}

TEST(Forwarding, FieldEntriesKeepTheNamesCase) {
    const ForwardEntry entry = forwardField("Count", "Integer");
    EXPECT_EQ(entry.declaration, text({"  declare property Count() as Integer",
                                       "  declare property Count(byval new_value as Integer)"}));
    EXPECT_EQ(
        entry.forwarder,
        text({"property class_for_interface##.Count() as Integer", "  return parent.Count",
              "end property", "property class_for_interface##.Count(byval new_value as Integer)",
              "  parent.Count = new_value", "end property", ""}));
}

} // namespace
