#include "classsteps.h"
#include "classtext.h"
#include "forwarding.h"
#include "membersyntax.h"
#include "typescan.h"

#include <gtest/gtest.h>

namespace {

TypeRecord onlyRecord(const QByteArray& source) {
    const MappedText mapped = sourceOf(source);
    const QList<TypeRecord> records = scanTypes(LineIndex(mapped.text), mapped.origins);
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
              text({"  declare const property x() as integer",
                    "  declare property x(byval new_value as integer)",
                    "  declare const property name() as string",
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
        // Commas and brackets inside a default string separate nothing.
        {"function Words.joined(byref sep as string = \", \", byref tail as string = \")\") as "
         "string",
         "sep,tail"},
        {"sub Words.f(byval q as string = \"\"\"(,\"\"\", byval n as integer)", "q,n"},
        {"sub Words.f(byval e as string = !\"\\\", \", byval n as integer)", "e,n"},
        {"sub Words.f(byval d as string = \"c:\\\", byval n as integer)", "d,n"},
        {"sub Words.f(byval d as string = \"(, ", "d"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(argumentListOf(QByteArray(c.header)), QByteArray(c.arguments)) << c.header;
}

TEST(Forwarding, VariableArgumentsAreToldByTheLastParameter) {
    const struct {
        const char* header;
        bool variable;
    } cases[] = {
        {"sub Shape.f(byval n as integer, ...)", true},
        {"function Stats.average cdecl (count As Integer, ... ) As Double", true},
        {"sub Shape.f(byval n as integer,...)", true},
        {"sub Shape.f(byval n as integer)", false},
        {"sub Shape.f()", false},
        {"sub Shape.f", false},
        {"sub Shape.f(byval s as string = \"...\")", false},
        {"sub Shape.f(byval s as string = \", ...\")", false},
        {"sub Shape.f(byval p as sub(byval n as integer, ...))", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(takesVariableArguments(QByteArray(c.header)), c.variable) << c.header;
}

TEST(Forwarding, MemberNames) {
    struct Case {
        const char* header;
        const char* name;
    };
    const Case cases[] = {
        {"sub Shape.draw (byval x as integer)", "draw"},
        {"sub Shape.reset", "reset"},
        {"sub Shape.reset ' again", "reset"},
        {"sub   Shape.move( byval dx as integer )", "move"},
        // Without brackets the result does not join the name.
        {"function Shape.area as integer", "area"},
        {"property Shape.size\tas integer ' (cached)", "size"},
        {"function Shape.kind as typeof(x)", "kind"},
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
        const char* declared = nullptr; // the type block's declaration, if any
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
        // Properties keep property syntax: a getter reads, a setter assigns,
        // indexes in brackets.
        {"property", "property Account.balance() as double", "Account.",
         "property class_for_interface##.balance() as double \n  return parent.balance\nend "
         "property\n",
         "  declare property balance() as double"},
        {"property", "Property Account.balance(ByVal v As Double)", "Account.",
         "Property class_for_interface##.balance(ByVal v As Double) \n  parent.balance = v\nend "
         "property\n",
         "  declare Property balance(ByVal v As Double)"},
        {"property", "property List.item(byval i as integer, byref v as string)", "List.",
         "property class_for_interface##.item(byval i as integer, byref v as string) \n  "
         "parent.item(i) = v\nend property\n",
         "  declare property item(byval i as integer, byref v as string)"},
        {"property", "property Grid.cell(x as integer, y as integer, byval v as byte)", "Grid.",
         "property class_for_interface##.cell(x as integer, y as integer, byval v as byte) \n  "
         "parent.cell(x,y) = v\nend property\n",
         "  declare property cell(x as integer, y as integer, byval v as byte)"},
        // The block's declaration gives the extending type its defaults; the
        // implementation's header stays the forwarder's.
        {"sub", "sub Logger.log_(byref msg as string, byval level as integer)", "Logger.",
         "sub class_for_interface##.log_(byref msg as string, byval level as integer) \n  "
         "parent.log_(msg,level)\nend sub\n",
         "  Declare  Sub log_(ByRef msg As String = \"a  b\", ByVal level As Integer = 1)",
         "  Declare  Sub log_(ByRef msg As String = \"a  b\", ByVal level As Integer = 1) ' logs"},
        // Brackets in a comment after the header are no parameters.
        {"function", "function Shape.area As Integer ' twice x (a stand-in)", "Shape.",
         "function class_for_interface##.area As Integer ' twice x (a stand-in) \n  return "
         "parent.area()\nend function\n",
         "  declare function area As Integer ' twice x (a stand-in)"},
        // A parameter named parent hides the member "parent" in the forwarder.
        {"sub", "sub Node.attach(byval Parent as Node ptr, kids() as Node)", "Node.",
         "sub class_for_interface##.attach(byval Parent as Node ptr, kids() as Node) \n  "
         "this.parent.attach(Parent,kids())\nend sub\n",
         "  declare sub attach(byval Parent as Node ptr, kids() as Node)"},
        {"sub", "sub Node.adopt(byval parents() as Node)", "Node.",
         "sub class_for_interface##.adopt(byval parents() as Node) \n  "
         "parent.adopt(parents())\nend sub\n",
         "  declare sub adopt(byval parents() as Node)"},
        // A static member is reached through the parent's twin type.
        {"function", "function Logger.levelName(byval level as integer) as string", "Logger.",
         "function class_for_interface##.levelName(byval level as integer) as string \n  return "
         "Logger_generic_public_member.levelName(level)\nend function\n",
         "  declare static function levelName(byval level as integer = 2) as string",
         "declare static function levelName(byval level as integer = 2) as string"},
    };
    for (const Case& c : cases) {
        const QByteArray header = QByteArray(c.header);
        MemberDeclaration declared;
        if (c.declared) {
            ASSERT_TRUE(parseDeclaration(QByteArrayView(c.declared), declared)) << c.declared;
        }
        const ForwardEntry entry =
            forwardMember(memberHeaderOf(QByteArrayView(c.kind), header), QByteArray(c.prefix),
                          c.declared ? &declared : nullptr);
        EXPECT_EQ(entry.forwarder, QByteArray(c.forwarder)) << c.header;
        EXPECT_EQ(entry.declaration, QByteArray(c.declaration)) << c.header;
    }
}

// What tells members apart for overriding and overloading: the name, the
// kind (subs and functions are one kind, a property's getter and setter two)
// and the parameter types, however written.
TEST(Forwarding, MemberKeysDecideWhatAnExtendingTypeHides) {
    struct Case {
        const char* own;       // a declaration of the extending type, or "field name"
        const char* inherited; // an implementation header of the parent
        bool hidden;
    };
    const Case cases[] = {
        {"declare function describe() as string", "function Shape.describe() as string", true},
        {"Declare Sub DESCRIBE ( )", "function Shape.describe() as string", true},
        {"declare sub describe(byval n as integer)", "function Shape.describe() as string", false},
        {"declare sub f(byref s as String = \"a, b\", x as integer)",
         "sub Shape.f(byval t as string, byref y as INTEGER)", true},
        {"declare sub f(a() as integer)", "sub Shape.f(byval a as integer)", false},
        {"declare property size() as double", "property Shape.size() as double", true},
        {"declare property size() as double", "property Shape.size(byval v as double)", false},
        {"declare property size(byval v as double)", "property Shape.size(byval v as double)",
         true},
        {"declare property item(byval i as integer) as string",
         "property Shape.item(byval i as integer, byval v as string)", false},
        {"declare sub size()", "property Shape.size() as double", false},
        {"field size", "property Shape.size() as double", true},
        {"field SIZE", "sub Shape.size(byval n as integer)", true},
        {"declare sub other()", "sub Shape.size()", false},
    };
    for (const Case& c : cases) {
        MemberKey own;
        const QByteArrayView ownText(c.own);
        if (ownText.startsWith("field ")) {
            own = MemberKey{caseFolded(ownText.sliced(6)), MemberClass::field, {}};
        } else {
            MemberDeclaration declaration;
            ASSERT_TRUE(parseDeclaration(ownText, declaration)) << c.own;
            own = declaration.key;
        }
        EXPECT_EQ(hides(own, keyOfHeader(QByteArrayView(c.inherited))), c.hidden)
            << c.own << " / " << c.inherited;
    }
}

// A field of a type of the program's is got by reference, so that a write to
// one of its own fields reaches the parent; the language's own values are got
// as values.
// A forwarder's parameter named like one of the extending type's properties or
// members is renamed, in its header and in the call; nothing else changes.
TEST(Forwarding, ParametersNamedLikeMembersAreRenamed) {
    const QSet<QByteArray> memberNames{"x", "y", "values", "size"};
    const struct {
        const char* forwarder;
        const char* renamed; // nullptr: unchanged
    } cases[] = {
        {"sub Dot.set(byval x as integer, byval Y as integer = 0) \n  parent.set(x,Y)\nend sub\n",
         "sub Dot.set(byval x__fbext as integer, byval Y__fbext as integer = 0) \n  "
         "parent.set(x__fbext,Y__fbext)\nend sub\n"},
        {"function Dot.moved(x as integer, byval dx as integer) as integer \n  return "
         "parent.moved(x,dx)\nend function\n",
         "function Dot.moved(byval x__fbext as integer, byval dx as integer) as integer \n  return "
         "parent.moved(x__fbext,dx)\nend function\n"},
        // A renamed parameter written without a passing mode gets its default
        // one where its type tells it (a warning about the missing mode is the
        // parent's line's); others stay as written.
        {"sub Dot.f(x as string, y as const zstring ptr = 0, size as Point, dx as integer) \n  "
         "parent.f(x,y,size,dx)\nend sub\n",
         "sub Dot.f(byref x__fbext as string, byval y__fbext as const zstring ptr = 0, "
         "size__fbext as Point, dx as integer) \n  parent.f(x__fbext,y__fbext,size__fbext,dx)\nend "
         "sub\n"},
        {"sub Dot.g(x as const string = \"a, b\", byref y as integer) \n  parent.g(x,y)\nend sub\n",
         "sub Dot.g(byref x__fbext as const string = \"a, b\", byref y__fbext as integer) \n  "
         "parent.g(x__fbext,y__fbext)\nend sub\n"},
        {"sub Dot.load(values() as integer) \n  parent.load(values())\nend sub\n",
         "sub Dot.load(values__fbext() as integer) \n  parent.load(values__fbext())\nend sub\n"},
        {"property Dot.cell(byval x as integer, byval v as byte) \n  parent.cell(x) = v\nend "
         "property\n",
         "property Dot.cell(byval x__fbext as integer, byval v as byte) \n  parent.cell(x__fbext) "
         "= v\nend property\n"},
        // The member called is reached through "." and keeps its name.
        {"sub Dot.size(byval n as integer) \n  this.parent.size(n)\nend sub\n", nullptr},
        {"sub Dot.grow(byval dx as integer, byval name as string = \"x\") \n  "
         "parent.grow(dx,name)\nend sub\n",
         nullptr},
        {"sub Dot.reset \n  parent.reset()\nend sub\n", nullptr},
        // A new name that another parameter has takes a number.
        {"sub Dot.put(byval x as integer, byval x__fbext as integer, byval y as integer) \n  "
         "parent.put(x,x__fbext,y)\nend sub\n",
         "sub Dot.put(byval x__fbext2 as integer, byval x__fbext as integer, byval y__fbext as "
         "integer) \n  parent.put(x__fbext2,x__fbext,y__fbext)\nend sub\n"},
        // Under the member's own #if branches, the header is the line given.
        {"#ifdef BIG\nsub Dot.set(byval x as longint) \n  parent.set(x)\nend sub\n#endif\n",
         "#ifdef BIG\nsub Dot.set(byval x__fbext as longint) \n  parent.set(x__fbext)\nend "
         "sub\n#endif\n"},
    };
    for (const auto& c : cases) {
        QByteArray forwarder(c.forwarder);
        const qsizetype header = forwarder.startsWith('#') ? forwarder.indexOf('\n') + 1 : 0;
        renameParametersNamedLikeMembers(forwarder, header, memberNames);
        EXPECT_EQ(forwarder, QByteArray(c.renamed ? c.renamed : c.forwarder)) << c.forwarder;
    }
}

// In a member the user writes for an extending type, a parameter named like
// what the type inherits is renamed in its header and where the body uses it
// bare, up to the end line, and a local variable named so where it lives;
// nothing else changes, and every line keeps its place.
TEST(Forwarding, OwnMembersParametersNamedLikeInheritedOnesAreRenamed) {
    const QSet<QByteArray> names{"x", "y", "values", "describe"};
    const QSet<QByteArray> taken{"x", "y", "values", "describe", "r", "y__fbext"};
    const struct {
        const char* implementation;
        const char* renamed; // nullptr: unchanged
    } cases[] = {
        {"constructor Circle(byval x as integer, byval Y as integer, byval r as integer)\n"
         "  this.x = x : this.y = y : this.r = r\nend constructor\nx = 1",
         "constructor Circle(byval x__fbext as integer, byval Y__fbext2 as integer, byval r as "
         "integer)\n  this.x = x__fbext : this.y = y__fbext2 : this.r = r\nend constructor\nx = 1"},
        // Reached through a value, in a string or a comment: the property or no name.
        {"sub Circle.place(byval x as integer, byref o as Circle)\n  with o\n    .x = x ' x\n"
         "    o. x = x : p->x = x : print \"x\"; x > 1\n  end with\nend sub",
         "sub Circle.place(byval x__fbext as integer, byref o as Circle)\n  with o\n    .x = "
         "x__fbext ' x\n    o. x = x__fbext : p->x = x__fbext : print \"x\"; x__fbext > 1\n  end "
         "with\nend sub"},
        {"private function Circle.f(byref x as integer) as integer\n  select case x\n  case 1 : "
         "if x then return &hFF + &b1 + x\n  end select\nend function",
         "private function Circle.f(byref x__fbext as integer) as integer\n  select case "
         "x__fbext\n  case 1 : if x__fbext then return &hFF + &b1 + x__fbext\n  end select\nend "
         "function"},
        {"sub Circle.load(values() as integer) : erase values : end sub\nvalues = 0",
         "sub Circle.load(values__fbext() as integer) : erase values__fbext : end sub\nvalues = 0"},
        {"sub Circle.both(byval x as integer, _\n    byval y as integer = 2) ' y\n  x += y\nend "
         "sub",
         "sub Circle.both(byval x__fbext as integer, _\n    byval y__fbext2 as integer = 2) ' y\n"
         "  x__fbext += y__fbext2\nend sub"},
        // A name the body uses already is not met.
        {"sub Circle.m(byval x as integer)\n  x__fbext = x\nend sub",
         "sub Circle.m(byval x__fbext2 as integer)\n  x__fbext = x__fbext2\nend sub"},
        {"sub Circle.note(byval describe as string)\n  print describe; this.describe()\nend sub",
         "sub Circle.note(byval describe__fbext as string)\n  print describe__fbext; "
         "this.describe()\nend sub"},
        {"operator Circle.+= (byval x as integer)\n  this.x += x\nend operator",
         "operator Circle.+= (byval x__fbext as integer)\n  this.x += x__fbext\nend operator"},
        // A local named so hides the inherited name from its declaration to
        // the end of its block (a loop counter: of its loop; a variable of an
        // if or select branch: of that branch).
        {"sub Circle.m()\n  print x\n  scope\n    dim x as integer = 1 : x += 1\n  end scope\n"
         "  for y as integer = 1 to 2\n    print y; this.y\n  next y\n  print x; y\nend sub",
         "sub Circle.m()\n  print x\n  scope\n    dim x__fbext as integer = 1 : x__fbext += 1\n"
         "  end scope\n  for y__fbext2 as integer = 1 to 2\n    print y__fbext2; this.y\n  next "
         "y__fbext2\n  print x; y\nend sub"},
        {"function Circle.f(byval c as integer) as string\n  dim as integer a, x = 2\n  var "
         "describe = \"d\"\n  if c then\n    dim y as string = describe\n    y &= \"!\"\n"
         "  elseif y then\n    y = x\n  end if\n  return describe & x & y\nend function",
         "function Circle.f(byval c as integer) as string\n  dim as integer a, x__fbext = 2\n  var "
         "describe__fbext = \"d\"\n  if c then\n    dim y__fbext2 as string = describe__fbext\n"
         "    y__fbext2 &= \"!\"\n  elseif y then\n    y = x__fbext\n  end if\n  return "
         "describe__fbext & x__fbext & y\nend function"},
        // "redim" may size an inherited array, a static may be shared: kept.
        {"sub Circle.k()\n  redim values(3)\n  static x as integer\n  x += 1\nend sub", nullptr},
        // No parameter or local named so, or no header: nothing changes.
        {"sub Circle.grow(byval r as integer, byval dx as integer)\n  x = r\nend sub", nullptr},
        {"function Circle.f as integer : return x(1) : end function", nullptr},
        {"function = f(x)\n  x = 1", nullptr},
        {"dim Circle.count as integer", nullptr},
    };
    for (const auto& c : cases) {
        const QByteArray text(c.implementation);
        const Lines lines = splitLines(text);
        QByteArrayList result;
        for (const QByteArrayView line : lines)
            result.append(line.toByteArray());
        const QList<RenamedLine> changed =
            renameParametersNamedLike([&](qsizetype i) { return lines[i]; }, lines.size(), names,
                                      [&](const QByteArray& name) { return taken.contains(name); });
        for (const RenamedLine& line : changed)
            result[line.index] = line.text;
        EXPECT_EQ(result.join('\n'), QByteArray(c.renamed ? c.renamed : c.implementation))
            << c.implementation;
        EXPECT_EQ(changed.isEmpty(), c.renamed == nullptr) << c.implementation;
    }
}

TEST(Forwarding, FieldsOfTheProgramsTypesAreGotByReference) {
    const struct {
        const char* type;
        bool byReference;
    } cases[] = {
        {"Point", true},      {"Stack_integer", true},  {"Geo.Point", true},
        {"integer", false},   {"String", false},        {"zstring  ptr", false},
        {"Point ptr", false}, {"Point Pointer", false}, {"ULONGINT", false},
        {"boolean", false},   {"wstring ptr", false},
    };
    for (const auto& c : cases) {
        const QByteArray getter = QByteArray(c.byReference ? "() byref as " : "() as ") + c.type;
        const ForwardEntry entry = forwardField("pos", c.type);
        // Got by value, the getter is const: it reads the field of a constant value too.
        const QByteArray declare =
            c.byReference ? "  declare property " : "  declare const property ";
        EXPECT_TRUE(entry.declaration.startsWith(declare + "pos" + getter + '\n')) << c.type;
        EXPECT_TRUE(entry.forwarder.startsWith("property class_for_interface##.pos" + getter +
                                               "\n  return parent.pos\n"))
            << c.type;
        const QByteArray indexedGetter = QByteArray(c.byReference ? " byref as " : " as ") + c.type;
        EXPECT_TRUE(forwardIndexedField("tags", c.type)
                        .declaration.startsWith(declare + "tags(byval index as integer)" +
                                                indexedGetter + '\n'))
            << c.type;
    }
}

TEST(Forwarding, ArrayFieldsAreIndexedProperties) {
    const ForwardEntry entry = forwardIndexedField("scores", "integer");
    EXPECT_EQ(
        entry.declaration,
        text({"  declare const property scores(byval index as integer) as integer",
              "  declare property scores(byval index as integer, byval new_value as integer)"}));
    EXPECT_EQ(entry.forwarder,
              text({"property class_for_interface##.scores(byval index as integer) as integer",
                    "  return parent.scores(index)", "end property",
                    "property class_for_interface##.scores(byval index as integer, byval "
                    "new_value as integer)",
                    "  parent.scores(index) = new_value", "end property", ""}));
}

TEST(Forwarding, FieldTypesThatAMembersNameHidesAreWrittenThroughTheTwin) {
    // The names of the parent's fields and of its members ("point").
    const QSet<QByteArray> memberNames{"probe", "state", "geo", "x", "point"};
    const struct {
        QByteArrayView name;
        QByteArrayView type;
        QByteArrayView written;
    } cases[] = {
        {"probe", "Probe", "typeof(Shape_generic_public_member.probe)"},
        {"other", "PROBE", "typeof(Shape_generic_public_member.other)"},
        {"state", "State", "typeof(Shape_generic_public_member.state)"},
        {"last", "Probe ptr", "typeof(Shape_generic_public_member.last)"},
        {"where", "Geo.Point", "typeof(Shape_generic_public_member.where)"},
        {"pos", "Point", "typeof(Shape_generic_public_member.pos)"},
        {"spot", "Points", ""},
        {"probes", "Probes", ""},
        {"x", "integer", ""},
        {"name", "string", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fieldTypeAsWritten("Shape", c.name, c.type, memberNames), c.written)
            << c.name.toByteArray().toStdString() << " as " << c.type.toByteArray().toStdString();
    }
    // The field's own type still decides whether it is got by reference.
    const ForwardEntry pointer =
        forwardField("last", "Probe ptr", false, "typeof(Shape_generic_public_member.last)");
    EXPECT_EQ(pointer.declaration,
              text({"  declare const property last() as typeof(Shape_generic_public_member.last)",
                    "  declare property last(byval new_value as "
                    "typeof(Shape_generic_public_member.last))"}));
    const ForwardEntry element =
        forwardIndexedField("probes", "Probe", false, "typeof(Shape_generic_public_member.probes)");
    EXPECT_TRUE(element.forwarder.startsWith(
        "property class_for_interface##.probes(byval index as integer) byref as "
        "typeof(Shape_generic_public_member.probes)\n  return parent.probes(index)\n"))
        << element.forwarder.toStdString();
}

// A field that can never be assigned gets a getter and no setter, which the
// compiler would refuse; a pointer to constant data is assigned as any other.
TEST(Forwarding, ConstantFieldsAreGotOnly) {
    const struct {
        const char* type;
        bool settable;
    } cases[] = {
        {"const integer", false},
        {"Const  String", false},
        {"CONST Point", false},
        {"zstring const ptr", false},
        {"integer const pointer", false},
        {"const zstring ptr", true},
        {"const any ptr", true},
        {"integer", true},
        {"constants", true},
        {"Constant.Kind", true},
    };
    for (const auto& c : cases) {
        for (const bool indexed : {false, true}) {
            const ForwardEntry entry =
                indexed ? forwardIndexedField("c", c.type) : forwardField("c", c.type);
            EXPECT_EQ(entry.declaration.contains("new_value"), c.settable) << c.type;
            EXPECT_EQ(entry.forwarder.count("end property"), c.settable ? 2 : 1) << c.type;
            EXPECT_TRUE(entry.forwarder.contains(indexed ? "  return parent.c(index)\n"
                                                         : "  return parent.c\n"))
                << c.type;
        }
    }
}

TEST(Forwarding, FieldEntriesKeepTheNamesCase) {
    const ForwardEntry entry = forwardField("Count", "Integer");
    EXPECT_EQ(entry.declaration, text({"  declare const property Count() as Integer",
                                       "  declare property Count(byval new_value as Integer)"}));
    EXPECT_EQ(
        entry.forwarder,
        text({"property class_for_interface##.Count() as Integer", "  return parent.Count",
              "end property", "property class_for_interface##.Count(byval new_value as Integer)",
              "  parent.Count = new_value", "end property", ""}));
}

// An extending type does not see the enums and constants declared inside its
// parent's block: its declarations name them through the parent, and a
// field of such an enum is passed as a number, since the twin's field has
// the twin's own copy of the enum.
TEST(Forwarding, NamesDeclaredInsideTheParentAreNamedThroughIt) {
    const TypeRecord record = onlyRecord(text({
        "enum Compass explicit",
        "  North, South",
        "end enum",
        "type Walker",
        "  enum WalkMode",
        "    Idle = 0, Moving ' comment",
        "    Running = (1 + 2)",
        "  end enum",
        "  enum",
        "    QUIET = 10 : LOUD",
        "    index, new_value, parent",
        "  end enum",
        "  Const SIZE = 2, MAX_SPEED = 9",
        "  union",
        "    code as integer",
        "  end union",
        "  mode as WalkMode",
        "  modes(0 to 2) as walkmode",
        "  other as Direction",
        "  heading as Compass",
        "  declare sub setMode(byval m as WalkMode = Moving, byval v as integer = LOUD)",
        "  declare sub say(byref s as string = \"Idle SIZE\")",
        "  declare sub faster(byval size as integer = 1)",
        "  declare sub pick(byval m as WalkMode = walkmode.Running, byval n as integer = "
        "SIZE*MAX_SPEED)",
        "  declare function modeRef() byref as WalkMode",
        "end type",
        "sub Walker.setMode(byval m as WalkMode, byval v as integer)",
        "end sub",
        "sub Walker.say(byref s as string)",
        "end sub",
        "sub Walker.faster(byval size as integer)",
        "end sub",
        "sub Walker.pick(byval m as WalkMode, byval n as integer)",
        "end sub",
        "function Walker.modeRef() byref as WalkMode",
        "end function",
    }));
    const struct {
        const char* declaration; // what the extending type declares
        const char* forwarderHeader;
    } rows[] = {
        {"  declare const property code() as integer",
         "property class_for_interface##.code() as integer"},
        {"  declare const property mode() as Walker.WalkMode",
         "property class_for_interface##.mode() as Walker.WalkMode"},
        {"  declare const property modes(byval index as integer) as Walker.walkmode",
         "property class_for_interface##.modes(byval index as integer) as Walker.walkmode"},
        {"  declare property other() byref as Direction",
         "property class_for_interface##.other() byref as Direction"},
        // A field of an enum of the file is got as a number too.
        {"  declare const property heading() as Compass",
         "property class_for_interface##.heading() as Compass"},
        {"  declare sub setMode(byval m as Walker.WalkMode = Walker.Moving, byval v as integer = "
         "Walker.LOUD)",
         "sub class_for_interface##.setMode(byval m as Walker.WalkMode, byval v as integer) "},
        {"  declare sub say(byref s as string = \"Idle SIZE\")",
         "sub class_for_interface##.say(byref s as string) "},
        // A parameter of the member's own is not the constant.
        {"  declare sub faster(byval size as integer = 1)",
         "sub class_for_interface##.faster(byval size as integer) "},
        {"  declare sub pick(byval m as Walker.WalkMode = Walker.walkmode.Running, byval n as "
         "integer = Walker.SIZE*Walker.MAX_SPEED)",
         "sub class_for_interface##.pick(byval m as Walker.WalkMode, byval n as integer) "},
        // A result got by reference is the twin's field, of the twin's copy of the enum.
        {"  declare function modeRef() byref as Walker_generic_public_member.WalkMode",
         "function class_for_interface##.modeRef() byref as "
         "Walker_generic_public_member.WalkMode "},
    };
    ASSERT_EQ(record.members.size(), qsizetype(sizeof rows / sizeof rows[0]));
    for (qsizetype i = 0; i < record.members.size(); ++i) {
        const MemberEntry& member = record.members[i];
        EXPECT_EQ(member.declaration.split('\n').first(), rows[i].declaration);
        EXPECT_EQ(member.forwarder.split('\n').first(), rows[i].forwarderHeader);
    }
    EXPECT_EQ(record.members[5].forwarder.split('\n').value(1), "  parent.setMode(m,v)");
    EXPECT_EQ(record.members[7].forwarder.split('\n').value(1), "  parent.faster(size)");
    // An extending type overriding the member names the types through the parent.
    EXPECT_EQ(record.members[5].key.signature, "walker.walkmode,integer");
    // The names a field's property uses itself stay its own.
    EXPECT_EQ(record.members[2].forwarder.split('\n').value(1), "  return parent.modes(index)");
    EXPECT_EQ(record.members[2].forwarder.split('\n').value(4),
              "  parent.modes(index) = new_value");
    // A field of an enum is set from a number ("c.mode = c.mode + 1"), which a
    // parameter of the enum refuses; one of another type from its type.
    EXPECT_EQ(record.members[1].declaration.split('\n').value(1),
              "  declare property mode(byval new_value as integer)");
    EXPECT_EQ(record.members[2].declaration.split('\n').value(1),
              "  declare property modes(byval index as integer, byval new_value as integer)");
    EXPECT_EQ(record.members[3].declaration.split('\n').value(1),
              "  declare property other(byval new_value as Direction)");
    EXPECT_EQ(record.members[4].declaration.split('\n').value(1),
              "  declare property heading(byval new_value as integer)");
}

// Names declared in a private section only the twin shows: they are named
// through it. A public section after it names through the type again.
TEST(Forwarding, NamesOfAPrivateSectionAreNamedThroughTheTwin) {
    const QList<QByteArrayView> block{"type Walker",   "private:",
                                      "  enum Secret", "    Hidden = 1, Shown",
                                      "  end enum",    "  Const LIMIT = 5",
                                      "Public :",      "  enum Open",
                                      "    Wide",      "  end enum",
                                      "  type Spot",   "    x as integer",
                                      "  end type",    "  private: const INNER = 1",
                                      "end type"};
    InsideNames statics;
    const InsideNames names = namesDeclaredInside(block, &statics);
    EXPECT_TRUE(statics.isEmpty());
    EXPECT_EQ(names, (InsideNames{{"secret", true},
                                  {"hidden", true},
                                  {"shown", true},
                                  {"limit", true},
                                  {"open", false},
                                  {"wide", false},
                                  {"spot", false},
                                  {"inner", true}}));
    const struct {
        const char* text;
        const char* qualified;
    } rows[] = {
        {"  declare property level() as Secret",
         "  declare property level() as Walker_generic_public_member.Secret"},
        {"  declare sub reveal(byval n as integer = LIMIT, byval o as Open = Wide)",
         "  declare sub reveal(byval n as integer = Walker_generic_public_member.LIMIT, byval o as "
         "Walker.Open = Walker.Wide)"},
        {"  declare sub place(byval p as Spot, byval x as integer)",
         "  declare sub place(byval p as Walker.Spot, byval x as integer)"},
        {"  declare function door() byref as Open",
         "  declare function door() byref as Walker_generic_public_member.Open"},
        // A comparison is no member access; "->" is.
        {"  if n > LIMIT andalso p->LIMIT < Wide then",
         "  if n > Walker_generic_public_member.LIMIT andalso p->LIMIT < Walker.Wide then"},
    };
    for (const auto& row : rows) {
        QByteArray text = row.text;
        qualifyNamesInside(text, names, "Walker");
        EXPECT_EQ(text, row.qualified);
    }
}

// A block's static member variables, in every form a static line takes, are
// named apart from its constants and enums.
TEST(Forwarding, StaticMemberVariablesOfABlockAreNamed) {
    const QList<QByteArrayView> block{"type Counter",
                                      "  static count as integer",
                                      "  Static grid(3) as byte, total as long",
                                      "  static as integer a, b(2)",
                                      "  declare static sub reset()",
                                      "private:",
                                      "  static hidden as string",
                                      "  const LIMIT = 3",
                                      "end type"};
    InsideNames statics;
    const InsideNames names = namesDeclaredInside(block, &statics);
    EXPECT_EQ(names, (InsideNames{{"limit", true}}));
    EXPECT_EQ(statics, (InsideNames{{"count", false},
                                    {"grid", false},
                                    {"total", false},
                                    {"a", false},
                                    {"b", false},
                                    {"hidden", true}}));
}

} // namespace
