#include "instantiate.h"
#include "literaltemplates.h"
#include "namereplace.h"
#include "placement.h"
#include "qtprinting.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>

namespace {

CapturedTemplate capturedFrom(const QByteArrayList& lines,
                              const QString& file = QStringLiteral("t.bi")) {
    CapturedTemplate captured;
    captured.lines = lines;
    int number = 2;
    for (const QByteArray& line : lines)
        captured.origins.append(line == "\n" ? LineOrigin() : LineOrigin{file, number++});
    captured.headerOrigin = LineOrigin{file, 1};
    return captured;
}

// Adds a template to a table under its name, as capture does.
void addTemplate(TemplateTable& table, const QByteArray& name, CapturedTemplate captured) {
    captured.name = name;
    table.insert(templateKey(name), captured);
}

QByteArray lf() {
    return QByteArray("\n");
}

// A table with a simple Stack and Map, both with a member that names the template.
TemplateTable sampleTable() {
    TemplateTable table;
    addTemplate(
        table, "Stack",
        capturedFrom({QByteArray("items(0 to 3) as t1"), QByteArray("end type "), lf(),
                      QByteArray("sub Stack.push(byval v as t1)"), QByteArray("end sub"), lf()}));
    addTemplate(table, "Map",
                capturedFrom({QByteArray("key as t1"), QByteArray("end type "), lf()}));
    return table;
}

QByteArrayList typeLines(const QList<Instance>& instances) {
    QByteArrayList names;
    for (const Instance& instance : instances)
        names.append(instance.text.text.split('\n').first());
    return names;
}

} // namespace

TEST(InstantiateTest, SuffixAndTypeArgumentsOfAUse) {
    struct Case {
        const char* use;
        const char* suffix;
        QByteArrayList arguments;
    };
    const QList<Case> cases = {
        {"<<<double>>>", "_double", {"double"}},
        {"<<< double >>>", "_double", {"double"}},
        {"<<<String, Integer>>>", "_string__integer", {"String", "Integer"}},
        {"<<<string ,integer>>>", "_string__integer", {"string", "integer"}},
        {"<<<unsigned   long>>>", "_ulong", {"unsigned long"}},
        {"<<<a,b,c,d,e,f,g,h,i>>>",
         "_a__b__c__d__e__f__g__h__i",
         {"a", "b", "c", "d", "e", "f", "g", "h", "i"}},
        // However the arguments are spaced, they name one instance.
        {"<<<string,integer>>>", "_string__integer", {"string", "integer"}},
        {"<<< String  ,  Integer >>>", "_string__integer", {"String", "Integer"}},
        {"<<<string,\tinteger ,double>>>",
         "_string__integer__double",
         {"string", "integer", "double"}},
        {"<<<string*10>>>", "_string___10", {"string*10"}},
        {"<<<zstring  *  8,Geo . Point>>>",
         "_zstring___8__geo_point",
         {"zstring * 8", "Geo . Point"}},
        {"<<<a,,b>>>", "_a___b", {"a", "", "b"}},
        // A procedure type: its brackets are made "_", and its commas are its own.
        {"<<<sub(byval as integer)>>>", "_sub_byval_as_integer_", {"sub(byval as integer)"}},
        {"<<<Sub ( ByVal As Integer ) , Long>>>",
         "_sub_byval_as_integer___long",
         {"Sub ( ByVal As Integer )", "Long"}},
        {"<<<function(byval a as long, byval b as long) as long ptr>>>",
         "_function_byval_a_as_long__byval_b_as_long_as_long_ptr",
         {"function(byval a as long, byval b as long) as long ptr"}},
        {"<<<any ptr ptr, zstring*(8)>>>",
         "_any_ptr_ptr__zstring___8_",
         {"any ptr ptr", "zstring*(8)"}},
        {"<<<a,>>>", "_a_", {"a", ""}},
        {"<<<>>>", "_", {""}},
        {"<<<   >>>", "_", {""}},
        {"<<<\tInt>>>", "_int", {"Int"}},
        // A qualified type and a fixed-length string give a name all the same.
        {"<<<Geo.Point>>>", "_geo_point", {"Geo.Point"}},
        {"<<<string * 10, Geo.Inner.P>>>",
         "_string___10__geo_inner_p",
         {"string * 10", "Geo.Inner.P"}},
        // "pointer" is "ptr" to the compiler, so it names the same instance;
        // a longer word that holds it is a name of its own.
        {"<<<integer pointer>>>", "_integer_ptr", {"integer pointer"}},
        {"<<<ZString Pointer Ptr>>>", "_zstring_ptr_ptr", {"ZString Pointer Ptr"}},
        {"<<<sub(byval p as pointerlike pointer),long pointer>>>",
         "_sub_byval_p_as_pointerlike_ptr___long_ptr",
         {"sub(byval p as pointerlike pointer)", "long pointer"}},
        {"<<<my_pointer>>>", "_my_pointer", {"my_pointer"}},
        // "unsigned long" is "ulong" to the compiler, and so on for each
        // integer type; "unsigned" before anything else is a word of its own.
        {"<<<ulong>>>", "_ulong", {"ulong"}},
        {"<<<Unsigned\tLongInt, unsigned byte ptr>>>",
         "_ulongint__ubyte_ptr",
         {"Unsigned LongInt", "unsigned byte ptr"}},
        {"<<<UNSIGNED SHORT,unsigned integer>>>",
         "_ushort__uinteger",
         {"UNSIGNED SHORT", "unsigned integer"}},
        {"<<<sub(byval n as unsigned long)>>>",
         "_sub_byval_n_as_ulong_",
         {"sub(byval n as unsigned long)"}},
        {"<<<unsigned longer, unsigned, unsignedlong, my_unsigned long>>>",
         "_unsigned_longer__unsigned__unsignedlong__my_unsigned_long",
         {"unsigned longer", "unsigned", "unsignedlong", "my_unsigned long"}},
        {"<<<zstring\tptr, Box_integer>>>",
         "_zstring_ptr__box_integer",
         {"zstring ptr", "Box_integer"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.use);
        EXPECT_EQ(useSuffix(c.use), QByteArray(c.suffix));
        EXPECT_EQ(typeArguments(c.use), c.arguments);
    }
}

// In an instance's text, the template's name and t1 ... t9 are replaced as
// whole names wherever they stand in code, in any letter case, and nowhere
// else.
TEST(InstantiateTest, NamesAreSubstitutedAsWholeNamesInCodeOnly) {
    struct Case {
        const char* text;
        const char* expected;
        int highest;
    };
    const QByteArrayList arguments = {"double", "string"};
    const QList<Case> cases = {
        {"declare sub push(byval v as t1)", "declare sub push(byval v as double)", 1},
        {"n = sizeof(t1)", "n = sizeof(double)", 1},
        {"t1 ptr", "double ptr", 1},
        {"a=t1+t1", "a=double+double", 1},
        {"x,t1,y", "x,double,y", 1},
        {"t1", "double", 1},
        {"T1\tptr", "double\tptr", 1},
        {"value as t2", "value as string", 2},
        {"dim result1 as t1", "dim result1 as double", 1},
        {"as t10, t0", "as t10, t0", 0},
        {"dim at1 as integer", "dim at1 as integer", 0},
        {"_t1 x", "_t1 x", 0},
        {"\xe9t1 x", "\xe9t1 x", 0}, // a Latin-1 letter is a name character
        {"2t1)", "2t1)", 0},
        {"this.t1 = 1", "this.t1 = 1", 0},
        {"v as t3", "v as t3", 3},
        {"print \"t1 Box\" ' t1 Box", "print \"t1 Box\" ' t1 Box", 0},
        {"/' t1\nBox '/ t2", "/' t1\nBox '/ string", 2},
        {"sub Box.push", "sub Box_x.push", 0},
        {"constructor Box(byval n as integer)", "constructor Box_x(byval n as integer)", 0},
        {"as Box ptr", "as Box_x ptr", 0},
        {"declare operator +=(byref other as Box)", "declare operator +=(byref other as Box_x)", 0},
        {"declare function doubled() as Box", "declare function doubled() as Box_x", 0},
        {"a as box, b as BOX=c*Box", "a as Box_x, b as Box_x=c*Box_x", 0},
        {"myBox.count = my_Box(1) + BoxNode.x + Box2", "myBox.count = my_Box(1) + BoxNode.x + Box2",
         0},
        {"x.Box = 1", "x.Box = 1", 0},
        {"next as Box<<<t1>>> ptr", "next as Box<<<double>>> ptr", 1},
        {"next as Box <<<t1>>>", "next as Box <<<double>>>", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int highest = -1;
        EXPECT_EQ(substituteNames(c.text, "Box", "Box_x", arguments, &highest),
                  QByteArray(c.expected));
        EXPECT_EQ(highest, c.highest);
    }
}

TEST(InstantiateTest, InstanceTextOfTheWorkedExample) {
    const CapturedTemplate stack = capturedFrom({
        QByteArray("items(0 to 15) as t1"),
        QByteArray("count as integer"),
        QByteArray("declare sub push(byval v as t1)"),
        QByteArray("end type "),
        lf(),
        QByteArray("sub Stack.push(byval v as t1)"),
        QByteArray("items(count) = v"),
        QByteArray("count += 1"),
        QByteArray("end sub"),
        lf(),
    });
    CapturedTemplate named = stack;
    named.name = "Stack";
    const MappedText instance = instanceText(named, "Stack_double", {"double"});
    EXPECT_EQ(instance.text, QByteArray("type Stack_double\n"
                                        "\n"
                                        "items(0 to 15) as double\n"
                                        "count as integer\n"
                                        "declare sub push(byval v as double)\n"
                                        "end type \n"
                                        "\n"
                                        "\n"
                                        "sub Stack_double.push(byval v as double)\n"
                                        "items(count) = v\n"
                                        "count += 1\n"
                                        "end sub\n"
                                        "\n"));
    // The type line stands for the header; the empty lines stand for nothing.
    QList<int> lineNumbers;
    for (const LineOrigin& origin : instance.origins)
        lineNumbers.append(origin.line);
    EXPECT_EQ(lineNumbers, (QList<int>{1, 0, 2, 3, 4, 5, 0, 0, 6, 7, 8, 9, 0, 0}));
    EXPECT_EQ(instance.origins.first().file(), QStringLiteral("t.bi"));
}

// An argument that FreeBASIC cannot follow with "ptr" (a procedure type would
// take it into its result, a fixed-length string refuses it) is named through
// an alias where its template writes "tN ptr"; the alias line takes the
// place of the empty line, so the instance keeps its lines and their origins.
TEST(InstantiateTest, ArgumentsThatCannotTakePtrAreAliasedWhereTheTemplatePointsAtThem) {
    struct Case {
        const char* body;
        QByteArrayList arguments;
        const char* expected; // the instance's text without its "end type" line
    };
    const QList<Case> cases = {
        {"p as t1 ptr",
         {"function(byval n as long) as long"},
         "type Pool_x__fbext_t1 as function(byval n as long) as long\n"
         "type Pool_x\n"
         "p as Pool_x__fbext_t1 ptr\n"},
        {"p as T1 Pointer Ptr : n = sizeof(t1)",
         {"Sub ( ByVal n As Integer )"},
         "type Pool_x__fbext_t1 as Sub ( ByVal n As Integer )\n"
         "type Pool_x\n"
         "p as Pool_x__fbext_t1 Pointer Ptr : n = sizeof(Sub ( ByVal n As Integer ))\n"},
        // The uses in the text keep the argument as written, so they name the
        // instances they name without the alias; one that points at it inside
        // a use's arguments, whose instance comes before the alias, points at
        // its typeof() and asks for no alias here.
        {"head as Node<<<t1>>> ptr : last as t1 ptr",
         {"zstring * 4"},
         "type Pool_x__fbext_t1 as zstring * 4\n"
         "type Pool_x\n"
         "head as Node<<<zstring * 4>>> ptr : last as Pool_x__fbext_t1 ptr\n"},
        {"all as List<<<t1 ptr>>>",
         {"zstring * 4"},
         "type Pool_x\n\nall as List<<<typeof(zstring * 4) ptr>>>\n"},
        {"m as Map<<<t2, t1 const ptr, t1>>> : n as List<<<t1 pointer>>> ptr",
         {"function() as long", "long"},
         "type Pool_x\n\nm as Map<<<long, typeof(function() as long) const ptr, function() as "
         "long>>> : n as List<<<typeof(function() as long) pointer>>> ptr\n"},
        {"all as List<<<t1 ptr>>>", {"long"}, "type Pool_x\n\nall as List<<<long ptr>>>\n"},
        {"a as t1 ptr, b as t2 ptr",
         {"zstring * 16", "sub()"},
         "type Pool_x__fbext_t1 as zstring * 16 : type Pool_x__fbext_t2 as sub()\n"
         "type Pool_x\n"
         "a as Pool_x__fbext_t1 ptr, b as Pool_x__fbext_t2 ptr\n"},
        {"a as t1 ptr, b as t2",
         {"long", "zstring * 16"},
         "type Pool_x\n\na as long ptr, b as zstring * 16\n"},
        {"f as t1 ' t1 ptr",
         {"function() as long"},
         "type Pool_x\n\nf as function() as long ' t1 ptr\n"},
        {"s = \"t1 ptr\" : x.t1 ptr", {"string * 8"}, "type Pool_x\n\ns = \"t1 ptr\" : x.t1 ptr\n"},
        {"f as t1 const ptr",
         {"string * 8"},
         "type Pool_x__fbext_t1 as string * 8\n"
         "type Pool_x\n"
         "f as Pool_x__fbext_t1 const ptr\n"},
        {"f as t1 const, g as t1 constant ptr",
         {"string * 8"},
         "type Pool_x\n\nf as string * 8 const, g as string * 8 constant ptr\n"},
        {"f as t1 ptrs", {"function() as long"}, "type Pool_x\n\nf as function() as long ptrs\n"},
        {"p as subs ptr", {"subs"}, "type Pool_x\n\np as subs ptr\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        CapturedTemplate captured =
            capturedFrom({QByteArray(c.body), QByteArray("end type "), lf()});
        captured.name = "Pool";
        const MappedText instance = instanceText(captured, "Pool_x", c.arguments);
        EXPECT_EQ(instance.text, QByteArray(c.expected) + "end type \n\n");
        ASSERT_EQ(instance.origins.size(), 6);
        const bool aliased = instance.text.contains("__fbext_t");
        EXPECT_EQ(instance.origins[1].line, aliased ? 1 : 0);
        EXPECT_EQ(instance.origins[2].line, 2);
    }
}

TEST(InstantiateTest, UsesAreRewrittenAndInstancesGeneratedOnce) {
    struct Case {
        const char* what;
        QByteArrayList input;
        QByteArrayList rewritten;
        QByteArrayList instances; // their type lines, in order
        bool known = true;        // whether the templates are known
    };
    const QList<Case> cases = {
        {"nothing happens while no template is known",
         {QByteArray("dim s as Stack<<<double>>>")},
         {QByteArray("dim s as Stack<<<double>>>")},
         {},
         false},
        {"a use in a string literal stays",
         {QByteArray("print \"Stack<<<double>>>\""), QByteArray("s = \"a\" + \"Stack<<<double>>>")},
         {QByteArray("print \"Stack<<<double>>>\""), QByteArray("s = \"a\" + \"Stack<<<double>>>")},
         {}},
        {"a use after a complete string literal is rewritten",
         {QByteArray("print \"a\"; Stack<<<double>>>")},
         {QByteArray("print \"a\"; Stack_double")},
         {QByteArray("type Stack_double")}},
        {"repeated and differently cased uses share one instance",
         {QByteArray("dim a as Stack<<<Double>>>"), QByteArray("dim b as Stack<<< double >>>"),
          QByteArray("dim c as Stack<<<double>>>")},
         {QByteArray("dim a as Stack_double"), QByteArray("dim b as Stack_double"),
          QByteArray("dim c as Stack_double")},
         {QByteArray("type Stack_double")}},
        {"several uses in one line, in order of use",
         {QByteArray("dim m as Map<<<String, Integer>>>, s as Stack<<<byte>>>"),
          QByteArray("dim t as Stack<<<short>>>")},
         {QByteArray("dim m as Map_string__integer, s as Stack_byte"),
          QByteArray("dim t as Stack_short")},
         {QByteArray("type Map_string__integer"), QByteArray("type Stack_byte"),
          QByteArray("type Stack_short")}},
        {"the name stops at a dot, and the instance goes in the namespace before it",
         {QByteArray("dim s as ns.Stack<<<double>>>")},
         {QByteArray("dim s as ns.Stack_double")},
         {QByteArray("namespace ns")}},
        {"no name or an unknown name: rewritten, but no instance",
         {QByteArray("x = <<<double>>>"), QByteArray("dim q as Queue<<<double>>>"),
          QByteArray("dim r as stacks<<<double>>>")},
         {QByteArray("x = _double"), QByteArray("dim q as Queue_double"),
          QByteArray("dim r as stacks_double")},
         {}},
        {"a template name in another letter case is the same template",
         {QByteArray("dim r as stack<<<Double>>>"), QByteArray("dim s as STACK<<<double>>>")},
         {QByteArray("dim r as stack_double"), QByteArray("dim s as STACK_double")},
         {QByteArray("type Stack_double")}},
        {"an unknown name does not claim a known template's instance",
         {QByteArray("dim a as Stack_x<<<y>>>"), QByteArray("dim b as Stack<<<x_y>>>")},
         {QByteArray("dim a as Stack_x_y"), QByteArray("dim b as Stack_x_y")},
         {QByteArray("type Stack_x_y")}},
        {"a name character right after a use stays apart from it",
         {QByteArray("dim a as Stack<<<double>>>_"),
          QByteArray("dim b as Stack<<<Stack<<<double>>>>>>rem x"),
          QByteArray("n = sizeof(Stack<<<double>>>)_")},
         {QByteArray("dim a as Stack_double _"), QByteArray("dim b as Stack_stack_double rem x"),
          QByteArray("n = sizeof(Stack_double)_")},
         {QByteArray("type Stack_double"), QByteArray("type Stack_stack_double")}},
        {"no closing >>> in the line",
         {QByteArray("dim s as Stack<<<double"), QByteArray(">>>")},
         {QByteArray("dim s as Stack<<<double"), QByteArray(">>>")},
         {}},
        // The compiler cuts names at 128 characters: an instance name that
        // would be longer than 106 (with room for the names made from it) is
        // its beginning and a checksum of its whole suffix, the same in
        // every run (FNV-1a of the suffix); two that begin alike stay apart.
        {"long names are cut short and kept apart",
         {"dim a as Stack<<<" + QByteArray(100, 'A') + "1>>>",
          "dim b as Stack<<<" + QByteArray(100, 'a') + "2>>>",
          "dim c as Stack<<<" + QByteArray(100, 'a') + "1>>>",
          "dim d as Stack<<<" + QByteArray(100 - 6, 'a') + ">>>"},
         {"dim a as Stack_" + QByteArray(83, 'a') + "_1613d98287f84b61",
          "dim b as Stack_" + QByteArray(83, 'a') + "_1613d68287f84648",
          "dim c as Stack_" + QByteArray(83, 'a') + "_1613d98287f84b61",
          "dim d as Stack_" + QByteArray(100 - 6, 'a')},
         {"type Stack_" + QByteArray(83, 'a') + "_1613d98287f84b61",
          "type Stack_" + QByteArray(83, 'a') + "_1613d68287f84648",
          "type Stack_" + QByteArray(100 - 6, 'a')}},
    };
    const TemplateTable table = sampleTable();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Lines lines = viewsOf(c.input);
        QByteArrayList rewritten;
        QList<Instance> instances;
        instantiateTemplates(lines, rewritten, TemplateSet{1, c.known ? table : TemplateTable()},
                             instances);
        EXPECT_EQ(copiesOf(lines), c.rewritten);
        EXPECT_EQ(typeLines(instances), c.instances);
    }
}

TEST(InstantiateTest, InstanceUsesTheFirstArgumentAsWrittenInTheFirstUse) {
    const QByteArrayList input = {"dim m as Map<<<String ,Integer>>>",
                                  "dim n as Map<<<string, integer>>>"};
    Lines lines = viewsOf(input);
    QByteArrayList rewritten;
    QList<Instance> instances;
    instantiateTemplates(lines, rewritten, TemplateSet{1, sampleTable()}, instances);
    ASSERT_EQ(instances.size(), 1);
    EXPECT_EQ(instances[0].text.text,
              QByteArray("type Map_string__integer\n\nkey as String\nend type \n\n"));
    EXPECT_EQ(instances[0].text.origins.size(), instances[0].text.text.count('\n') + 1);
}

// Uses nested in uses and uses in a template's own text: every instance is
// generated once, after those it uses; a chain that never ends and a use with
// too few type arguments are faults at the user's line.
TEST(InstantiateTest, NestedAndComposedUsesComeInsideOut) {
    TemplateTable table;
    addTemplate(table, "Box", capturedFrom({QByteArray("v as t1"), QByteArray("end type "), lf()}));
    addTemplate(table, "Queue",
                capturedFrom({QByteArray("inbox as Stack<<<t1>>> ' not Stack<<<x>>>"),
                              QByteArray("end type "), lf()}));
    addTemplate(table, "Stack",
                capturedFrom({QByteArray("items(0 to 3) as t1"), QByteArray("end type "), lf()}));
    addTemplate(
        table, "Node",
        capturedFrom({QByteArray("next as Node<<<t1>>> ptr"), QByteArray("end type "), lf()}));
    addTemplate(table, "Grow",
                capturedFrom({QByteArray("child as Grow<<<Box<<<t1>>>>>> ptr"),
                              QByteArray("end type "), lf()}));
    addTemplate(table, "Pair",
                capturedFrom(
                    {QByteArray("a as t1"), QByteArray("b as t2"), QByteArray("end type "), lf()}));
    // Declared twice in its file: which declaration the compiler keeps is
    // not known here.
    CapturedTemplate twice = capturedFrom({QByteArray("v as t1"), QByteArray("end type "), lf()});
    twice.earlierHeader = LineOrigin{QStringLiteral("t.bi"), 7};
    addTemplate(table, "Twice", twice);
    // One name in two namespaces: the later declaration is kept, and a use
    // that may mean the earlier is refused; in one file every use is.
    const auto spaced = [](const QString& file, const QByteArray& space, const QString& earlierFile,
                           const QByteArray& earlierSpace) {
        CapturedTemplate captured =
            capturedFrom({QByteArray("v as t1"), QByteArray("end type "), lf()}, file);
        captured.space = space;
        captured.earlierHeader = LineOrigin{earlierFile, 3};
        captured.earlierSpace = earlierSpace;
        return captured;
    };
    addTemplate(table, "Inner",
                spaced(QStringLiteral("main.bas"), "Coll", QStringLiteral("coll.bi"), ""));
    addTemplate(table, "Outer",
                spaced(QStringLiteral("main.bas"), "", QStringLiteral("coll.bi"), "Coll"));
    addTemplate(table, "Both", spaced(QStringLiteral("t.bi"), "", QStringLiteral("t.bi"), "Coll"));
    struct Case {
        const char* line;
        const char* rewritten;
        QByteArrayList instances;
        int error;
    };
    const QList<Case> cases = {
        {"dim t as Twice<<<integer>>>",
         "dim t as Twice_integer",
         {},
         TemplateError::RepeatedDeclaration},
        {"dim b as Box<<<Twice<<<integer>>>>>>",
         "dim b as Box_twice_integer",
         {},
         TemplateError::RepeatedDeclaration},
        {"dim i as Coll.Inner<<<integer>>>", "dim i as Coll.Inner_integer", {"Inner_integer"}, 0},
        {"dim i as Inner<<<integer>>>",
         "dim i as Inner_integer",
         {},
         TemplateError::RepeatedDeclaration},
        {"dim o as Outer<<<integer>>>", "dim o as Outer_integer", {"Outer_integer"}, 0},
        {"dim o as Coll.Outer<<<integer>>>",
         "dim o as Coll.Outer_integer",
         {},
         TemplateError::RepeatedDeclaration},
        {"dim b as Both<<<integer>>>",
         "dim b as Both_integer",
         {},
         TemplateError::RepeatedDeclaration},
        {"dim b as Box<<<Box<<<integer>>>>>>",
         "dim b as Box_box_integer",
         {"Box_integer", "Box_box_integer"},
         0},
        {"dim p as Pair<<<Box<<<integer>>>, Box<<<string>>>>>>",
         "dim p as Pair_box_integer__box_string",
         {"Box_integer", "Box_string", "Pair_box_integer__box_string"},
         0},
        {"dim q as Queue<<<integer>>>",
         "dim q as Queue_integer",
         {"Stack_integer", "Queue_integer"},
         0},
        {"dim n as Node<<<integer>>>", "dim n as Node_integer", {"Node_integer"}, 0},
        {"dim g as Grow<<<integer>>>", "dim g as Grow_integer", {}, TemplateError::RunawayTemplate},
        {"dim p as Pair<<<integer>>>",
         "dim p as Pair_integer",
         {},
         TemplateError::MissingArguments},
        // An empty argument is none, for the first parameter or a later one.
        {"dim s as Stack<<<>>>", "dim s as Stack_", {}, TemplateError::MissingArguments},
        {"dim p as Pair<<<, integer>>>",
         "dim p as Pair___integer",
         {},
         TemplateError::MissingArguments},
        {"dim p as Pair<<<integer,>>>",
         "dim p as Pair_integer_",
         {},
         TemplateError::MissingArguments},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const QByteArrayList input = {"print 1", c.line};
        Lines lines = viewsOf(input);
        QByteArrayList rewritten;
        QList<Instance> instances;
        QList<TemplateError> errors;
        instantiateTemplates(lines, rewritten, TemplateSet{1, table}, instances, &errors);
        EXPECT_EQ(lines[1].toByteArray(), QByteArray(c.rewritten));
        if (c.error) {
            ASSERT_EQ(errors.size(), 1);
            EXPECT_EQ(errors[0].number, c.error);
            EXPECT_EQ(errors[0].line, 1);
            continue;
        }
        EXPECT_TRUE(errors.isEmpty());
        QByteArrayList names;
        for (const Instance& instance : instances) {
            names.append(instance.name);
            EXPECT_EQ(instance.anchor, 1);
            // Uses in code are expanded; the one in a comment stays as written.
            EXPECT_EQ(instance.text.text.count("<<<"), instance.text.text.count("Stack<<<x>>>"))
                << instance.text.text.constData();
        }
        EXPECT_EQ(names, c.instances);
    }
}

// A macro as a type argument names one instance however it is defined: a
// use after an #undef of it, of an instance made before, is refused. Macros
// a template's type block defines are undefined ahead of each instance, which
// defines them anew with its own types, and every line keeps its origin; a
// member procedure's own macros are left to it.
TEST(InstantiateTest, MacrosAsArgumentsAndInTemplateBodies) {
    TemplateTable table;
    addTemplate(table, "Cell",
                capturedFrom({QByteArray("v as t1"), QByteArray("end type "), lf()}));
    addTemplate(table, "Box", capturedFrom({QByteArray("b as t1"), QByteArray("end type "), lf()}));
    addTemplate(table, "Sized",
                capturedFrom({QByteArray("  #define BYTES sizeof(t1)"),
                              QByteArray("# MACRO SHOW(x)"), QByteArray("#define INNER 1"),
                              QByteArray("#\tendmacro"), QByteArray("' #define COMMENTED t1"),
                              QByteArray("#define TWICE(a) ((a) * 2)"), QByteArray("v as t1"),
                              QByteArray("end type "), lf(), QByteArray("sub Sized.f()"),
                              QByteArray("#define OWN 1"), QByteArray("end sub"), lf()}));
    struct Case {
        const char* what;
        QByteArrayList input;
        int errorLine; // -1: no error
        QByteArray undefines = {};
    };
    const QByteArray argument = "#define ELEM integer";
    const QByteArray redefined = "#define ELEM double";
    const QList<Case> cases = {
        {"a macro undefined between two uses",
         {argument, "dim a as Cell<<<ELEM>>>", "#undef ELEM", redefined, "dim b as Cell<<<ELEM>>>"},
         4},
        {"in any letter case, inside a pointer, nested in another use",
         {argument, "dim a as Cell<<<ELEM ptr>>>", " #UNDEF elem", redefined,
          "dim b as Box<<<Cell<<<ELEM ptr>>>>>>"},
         4},
        {"blanks after the \"#\", a comment after the name",
         {argument, "dim a as Cell<<<ELEM>>>", "  #\t Undef ELEM ' gone", redefined,
          "dim b as Cell<<<ELEM>>>"},
         4},
        {"the name on the line after a continued #undef",
         {argument, "dim a as Cell<<<ELEM>>>", "#undef _", "  ELEM", redefined,
          "dim b as Cell<<<ELEM>>>"},
         5},
        {"another name on the line after a continued #undef",
         {argument, "dim a as Cell<<<ELEM>>>", "#undef _", "  OTHER", "dim b as Cell<<<ELEM>>>"},
         -1},
        {"undefined before the first use",
         {"#undef ELEM", redefined, "dim a as Cell<<<ELEM>>>", "dim b as Cell<<<ELEM>>>"},
         -1},
        {"another name undefined, or ELEM only in a comment",
         {argument, "dim a as Cell<<<ELEM>>>", "#undef OTHER", "' #undef ELEM",
          "dim b as Cell<<<ELEM>>>"},
         -1},
        {"another instance after the #undef",
         {argument, "dim a as Cell<<<ELEM>>>", "#undef ELEM", redefined, "dim b as Box<<<ELEM>>>"},
         -1},
        {"macros defined in the template's lines, one instance each",
         {"dim a as Sized<<<integer>>>", "dim b as Sized<<<short>>>", "dim c as Cell<<<short>>>"},
         -1,
         "#undef BYTES\n#undef SHOW\n#undef TWICE\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Lines lines = viewsOf(c.input);
        QByteArrayList rewritten;
        QList<Instance> instances;
        QList<TemplateError> errors;
        instantiateTemplates(lines, rewritten, TemplateSet{3, table}, instances, &errors);
        if (c.errorLine >= 0) {
            ASSERT_EQ(errors.size(), 1);
            EXPECT_EQ(errors[0].number, TemplateError::RedefinedArgument);
            EXPECT_EQ(errors[0].line, c.errorLine);
            EXPECT_TRUE(errors[0].text.contains("ELEM")) << errors[0].text.constData();
            continue;
        }
        EXPECT_TRUE(errors.isEmpty());
        for (const Instance& instance : instances) {
            SCOPED_TRACE(instance.name.constData());
            const bool sized = instance.name.startsWith("Sized");
            EXPECT_TRUE(
                instance.text.text.startsWith((sized ? c.undefines : QByteArray()) + "type "));
            EXPECT_EQ(instance.text.text.count("#undef"), sized ? 3 : 0);
            EXPECT_EQ(instance.text.origins.size(), instance.text.text.count('\n') + 1);
            if (!sized)
                continue;
            const QByteArray type = instance.name.endsWith("integer") ? "integer" : "short";
            const QByteArrayList textLines = instance.text.text.split('\n');
            const qsizetype define = textLines.indexOf("  #define BYTES sizeof(" + type + ')');
            ASSERT_GE(define, 0);
            EXPECT_EQ(instance.text.origins[define].line, 2);
            EXPECT_EQ(instance.text.origins[textLines.indexOf("v as " + type)].line, 8);
        }
        if (!c.undefines.isEmpty()) {
            EXPECT_EQ(instances.size(), 3);
        }
    }
}

// A use inside a type's own block that names the type: the instance, which
// stands before the block, names it through an alias declared ahead of it,
// and its member procedures follow the block, where the type is declared.
TEST(InstantiateTest, ATypesOwnNameInItsBlockGoesThroughAnAlias) {
    struct Case {
        QByteArrayList input;
        QByteArrayList instances; // name, part (W, T or M) and anchor of each
        const char* argumentLine; // the Stack instance's field, as substituted
    };
    const QList<Case> cases = {
        {{"type Node", "  kids as Stack<<<Node ptr>>>", "end type", "print 1"},
         {"Node__fbext_forward W 0", "Stack_node_ptr T 0", "Stack_node_ptr M 3"},
         "items(0 to 3) as Node__fbext_forward ptr"},
        {{"Type Node Extends Base ' a tree", "  kids as Stack<<<NODE Ptr>>>",
          "  more as Stack<<<zstring ptr>>>", "  same as Stack<<<node ptr>>>", "End Type"},
         {"Node__fbext_forward W 0", "Stack_node_ptr T 0", "Stack_zstring_ptr W 0",
          "Stack_node_ptr M 5"},
         "items(0 to 3) as Node__fbext_forward Ptr"},
        // A comment glued to the type's name ends it.
        {{"type Node' a tree", "  kids as Stack<<<Node ptr>>>", "end type"},
         {"Node__fbext_forward W 0", "Stack_node_ptr T 0", "Stack_node_ptr M 3"},
         "items(0 to 3) as Node__fbext_forward ptr"},
        {{"type Node/' a tree '/", "  kids as Stack<<<Node ptr>>>", "end type"},
         {"Node__fbext_forward W 0", "Stack_node_ptr T 0", "Stack_node_ptr M 3"},
         "items(0 to 3) as Node__fbext_forward ptr"},
        // Outside the block the type is declared, and in a qualified name or a
        // longer word the name is another's.
        {{"type Node", "end type", "dim kids as Stack<<<Node ptr>>>"},
         {"Stack_node_ptr W 2"},
         "items(0 to 3) as Node ptr"},
        {{"type Node", "  a as Stack<<<Geo.Node ptr>>>", "  b as Map<<<NodeList>>>", "end type"},
         {"Stack_geo_node_ptr W 0", "Map_nodelist W 0"},
         "items(0 to 3) as Geo.Node ptr"},
    };
    const char parts[] = {'W', 'T', 'M'};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.join(" / ").constData());
        Lines lines = viewsOf(c.input);
        QByteArrayList rewritten;
        QList<Instance> instances;
        instantiateTemplates(lines, rewritten, TemplateSet{1, sampleTable()}, instances);
        QByteArrayList found;
        for (const Instance& instance : instances) {
            found.append(instance.name + ' ' + parts[int(instance.part)] + ' ' +
                         QByteArray::number(instance.anchor));
            if (instance.name == "Stack_node_ptr" && instance.part != Instance::Part::Members) {
                EXPECT_TRUE(instance.text.text.contains(c.argumentLine))
                    << instance.text.text.constData();
            }
        }
        EXPECT_EQ(found, c.instances);
    }
}

// A use inside a namespace block whose arguments name a type the block
// declares above it gets its instance inside the block, before the statement
// there that holds the use; any other use's instance goes before the block.
TEST(InstantiateTest, ANamespacesOwnTypesKeepTheirInstancesInIt) {
    const QByteArrayList input = {
        "namespace Geo",                        // 0
        "  type Point : x as long : end type",  // 1
        "  dim shared a as Stack<<<Point>>>",   // 2
        "  dim shared b as Stack<<<integer>>>", // 3
        "  type Holder",                        // 4
        "    m as Map<<<Stack<<<POINT>>>>>>",   // 5
        "    o as Map<<<Geo.Point>>>",          // 6
        "  end type",                           // 7
        "end namespace",                        // 8
        "dim c as Stack<<<Point>>>",            // 9
    };
    Lines lines = viewsOf(input);
    QByteArrayList rewritten;
    QList<Instance> instances;
    instantiateTemplates(lines, rewritten, TemplateSet{1, sampleTable()}, instances);
    QByteArrayList found;
    for (const Instance& instance : instances)
        found.append(instance.name + ' ' + QByteArray::number(instance.anchor));
    EXPECT_EQ(found, (QByteArrayList{"Stack_point 2", "Stack_integer 0", "Map_stack_point 4",
                                     "Map_geo_point 0"}));
}

// A use that names its template's namespace gets its instance in that
// namespace, so that the rewritten use names it there.
TEST(InstantiateTest, AUseInANamespaceGetsItsInstanceThere) {
    struct Case {
        const char* line;
        const char* rewritten;
        const char* firstLine; // of the instance's text
    };
    const QList<Case> cases = {
        {"dim s as Coll.Stack<<<integer>>>", "dim s as Coll.Stack_integer", "namespace Coll"},
        {"dim s as A.B.Stack<<<integer>>>", "dim s as A.B.Stack_integer", "namespace A.B"},
        {"dim s as Stack<<<integer>>>", "dim s as Stack_integer", "type Stack_integer"},
        {"with x : .v = sizeof(.Stack<<<integer>>>)", "with x : .v = sizeof(.Stack_integer)",
         "type Stack_integer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const QByteArrayList input = {c.line};
        Lines lines = viewsOf(input);
        QByteArrayList rewritten;
        QList<Instance> instances;
        instantiateTemplates(lines, rewritten, TemplateSet{1, sampleTable()}, instances);
        EXPECT_EQ(lines[0].toByteArray(), QByteArray(c.rewritten));
        ASSERT_EQ(instances.size(), 1);
        const MappedText& text = instances[0].text;
        EXPECT_EQ(text.text.split('\n').first(), QByteArray(c.firstLine));
        EXPECT_EQ(text.text.endsWith("\nend namespace"),
                  QByteArrayView(c.firstLine).startsWith("namespace"));
        EXPECT_TRUE(text.hasOneOriginPerLine());
    }
}

// Namespaces nested thousands deep around a use: each namespace line costs
// what its own name does, so four times the depth takes about four times as
// long, and the use is rewritten in the innermost block.
TEST(InstantiateTest, UsesInNamespacesNestedDeepAreRewritten) {
    // 20,000 deep once took seconds (bench/degenerate_bench times it).
    const int depth = 20000;
    QByteArrayList input;
    for (int i = 0; i < depth; ++i)
        input.append("namespace N" + QByteArray::number(i % 10));
    input.append("dim s as Stack<<<integer>>>");
    for (int i = 0; i < depth; ++i)
        input.append("end namespace");
    Lines lines = viewsOf(input);
    QByteArrayList rewritten;
    QList<Instance> instances;
    instantiateTemplates(lines, rewritten, TemplateSet{1, sampleTable()}, instances);
    EXPECT_EQ(lines[depth].toByteArray(), QByteArray("dim s as Stack_integer"));
    EXPECT_EQ(instances.size(), 1);
}

// A template declared in a namespace has its instances in that namespace,
// whether the use names it (Coll.Map<<<x>>>), stands in a block of it, or
// stands in another template of it: the instance reads the namespace's names,
// and a use inside the namespace and one outside name one instance. A use
// that stands outside the template's namespace without naming it gets its
// instance outside any namespace, as before.
TEST(InstantiateTest, TemplatesOfANamespaceHaveTheirInstancesInIt) {
    TemplateTable table = sampleTable();
    const auto inColl = [](const QByteArrayList& lines) {
        CapturedTemplate captured = capturedFrom(lines);
        captured.space = "Coll";
        return captured;
    };
    addTemplate(table, "List", inColl({"items(0 to CAP - 1) as t1", "end type ", lf()}));
    addTemplate(table, "Map", inColl({"keys as List<<<t1>>>", "end type ", lf()}));
    addTemplate(table, "Bag",
                inColl({"s as Stack<<<t1>>>", "l as Coll.List<<<t1>>>", "end type ", lf()}));
    struct Case {
        QByteArrayList lines;
        QByteArrayList instances; // name, anchor, and the namespace around its text or "-"
    };
    const QList<Case> cases = {
        {{"dim m as Coll.Map<<<string>>>"}, {"List_string 0 Coll", "Map_string 0 Coll"}},
        {{"dim m as coll.MAP<<<string>>>"}, {"List_string 0 Coll", "Map_string 0 coll"}},
        {{"namespace Coll", "  dim shared a as List<<<integer>>>", "end namespace",
          "dim b as Coll.List<<<integer>>>"},
         {"List_integer 1 -"}},
        {{"namespace Coll", "  const CAP = 2", "  type H", "    m as Coll.Map<<<long>>>",
          "  end type", "end namespace"},
         {"List_long 2 -", "Map_long 2 -"}},
        {{"namespace coll", "  dim shared q as Stack<<<Map<<<integer>>>>>>", "end namespace"},
         {"List_integer 1 -", "Map_integer 1 -", "Stack_map_integer 1 -"}},
        {{"dim b as Coll.Bag<<<long>>>"},
         {"Stack_long 0 -", "List_long 0 Coll", "Bag_long 0 Coll"}},
        {{"namespace Other", "  dim shared a as List<<<integer>>>", "end namespace"},
         {"List_integer 0 -"}},
        {{"dim s as List<<<integer>>>", "dim m as Map<<<integer>>>"},
         {"List_integer 0 -", "Map_integer 1 -"}},
        {{"namespace Outer", "  namespace Coll", "    dim shared a as List<<<integer>>>",
          "  end namespace", "end namespace"},
         {"List_integer 0 -"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join(" | ").toStdString());
        Lines lines = viewsOf(c.lines);
        QByteArrayList rewritten;
        QList<Instance> instances;
        instantiateTemplates(lines, rewritten, TemplateSet{4, table}, instances);
        QByteArrayList found;
        for (const Instance& instance : instances) {
            const QByteArray first = instance.text.text.split('\n').first();
            found.append(instance.name + ' ' + QByteArray::number(instance.anchor) + ' ' +
                         (first.startsWith("namespace ") ? first.sliced(10) : "-"));
            EXPECT_EQ(first.startsWith("namespace "),
                      instance.text.text.endsWith("\nend namespace"));
            EXPECT_TRUE(instance.text.hasOneOriginPerLine());
        }
        EXPECT_EQ(found, c.instances);
    }
}

// An #if block that holds the rest of the file (an include guard) is no block
// an instance goes before: the instance goes before the statement in it that
// holds its first use, after the types declared in it above.
TEST(InstantiateTest, ABlockHoldingTheRestOfTheFileIsNoBlockToGoBefore) {
    struct Case {
        QByteArrayList lines; // the use is on the line that names Box<<<
        qsizetype anchor;
    };
    const QByteArray use = "dim shared b as Box<<<Point>>>";
    const QList<Case> cases = {
        {{"#ifndef SHAPES_BI", "#define SHAPES_BI", "type Point as long", use, "#endif"}, 3},
        {{"' shapes.bi", "#pragma once", "#IFNDEF SHAPES_BI", "type Point as long", use,
          "#endif ' SHAPES_BI", "", "' end of shapes.bi"},
         4},
        {{"#if 1", "type Point as long", "type Holder", "  b as Box<<<Point>>>", "end type",
          "#endif"},
         2},
        {{"#ifndef G", "#ifdef DEBUG", "type Point as long", use, "#endif", "#endif"}, 1},
        {{"# ifndef G", "#\tDefine G", "type Point as long", use, "  # EndIf ' G"}, 3},
        {{"# ifndef G", "type Point as long", use, "#  else", "print 1", "# endif"}, 0},
        // Not the rest of the file: a later line, or an #else, may need it.
        {{"#ifndef G", "type Point as long", use, "#endif", "print 1"}, 0},
        {{"#ifndef G", "type Point as long", use, "#else", "print 1", "#endif"}, 0},
        {{"#ifdef A", "#endif", "#ifdef B", use, "#endif"}, 3},
        {{"#ifdef A", use, "/' the end:", "#endif"}, 0}, // in a comment
        // Comments after the #endif, of every kind.
        {{"#ifndef G", "type Point as long", use, "#endif", "/' shapes.bi", "  ends here '/"}, 2},
        {{"#ifndef G", "type Point as long", use, "#endif", "/' shapes.bi", "'/", ""}, 2},
        {{"#ifndef G", "type Point as long", use, "#endif", "rem shapes.bi", "REM"}, 2},
        {{"#ifndef G", "type Point as long", use, "#endif /' G '/"}, 2},
        {{"#ifndef G", "type Point as long", use, "#endif", "/' a '/ print 1"}, 0},
    };
    TemplateTable table;
    addTemplate(table, "Box", capturedFrom({QByteArray("v as t1"), QByteArray("end type "), lf()}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join(" | ").constData());
        Lines lines = viewsOf(c.lines);
        QByteArrayList rewritten;
        QList<Instance> instances;
        instantiateTemplates(lines, rewritten, TemplateSet{1, table}, instances);
        ASSERT_EQ(instances.size(), 1);
        EXPECT_EQ(instances[0].anchor, c.anchor);
    }
}

// Instances that point at each other: the one used first in another's text
// is declared ahead, and the other's member procedures wait for its type.
TEST(InstantiateTest, InstancesThatPointAtEachOtherAreDeclaredAhead) {
    TemplateTable table;
    const auto withMember = [](const QByteArray& field, const QByteArray& member) {
        return capturedFrom({field, QByteArray("end type "), lf(), "sub " + member + "()",
                             QByteArray("end sub"), lf()});
    };
    addTemplate(table, "Node", withMember("owner as List<<<t1>>> ptr", "Node.f"));
    addTemplate(table, "List", withMember("head as Node<<<t1>>> ptr", "List.g"));
    addTemplate(table, "Self", withMember("next as Self<<<t1>>> ptr", "Self.h"));
    addTemplate(table, "A", withMember("b as B<<<t1>>>", "A.f"));
    addTemplate(table, "B", withMember("c as C<<<t1>>>", "B.f"));
    addTemplate(table, "C", withMember("a as A<<<t1>>> ptr", "C.f"));
    addTemplate(table, "Tree", withMember("kids as Self<<<Tree<<<t1>>> ptr>>>", "Tree.t"));
    struct Case {
        const char* line;
        QByteArrayList instances; // name, then W (whole), T (type block) or M (members)
    };
    const QList<Case> cases = {
        {"dim l as List<<<long>>>",
         {"List_long__fbext_forward W", "Node_long T", "List_long W", "Node_long M"}},
        {"dim n as Node<<<long>>> ptr",
         {"Node_long__fbext_forward W", "List_long T", "Node_long W", "List_long M"}},
        {"dim s as Self<<<long>>>", {"Self_long W"}},
        {"dim a as A<<<byte>>>",
         {"A_byte__fbext_forward W", "C_byte T", "B_byte W", "A_byte W", "C_byte M"}},
        // A template whose field holds an instance of pointers to its own.
        {"dim t as Tree<<<long>>>",
         {"Tree_long__fbext_forward W", "Self_tree_long_ptr T", "Tree_long W",
          "Self_tree_long_ptr M"}},
    };
    const char parts[] = {'W', 'T', 'M'};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const QByteArrayList input = {c.line};
        Lines lines = viewsOf(input);
        QByteArrayList rewritten;
        QList<Instance> instances;
        instantiateTemplates(lines, rewritten, TemplateSet{7, table}, instances);
        QByteArrayList names;
        for (const Instance& instance : instances) {
            names.append(instance.name + ' ' + parts[int(instance.part)]);
            EXPECT_EQ(instance.text.lineCount(), instance.text.text.count('\n') + 1);
            if (instance.name.endsWith(forwardSuffix)) {
                const QByteArray declared = instance.name.chopped(qstrlen(forwardSuffix));
                EXPECT_EQ(instance.text.text, "type " + instance.name + " as " + declared);
            }
            // A type block ends with its end line; the members start after it.
            if (instance.part == Instance::Part::Type) {
                EXPECT_TRUE(instance.text.text.endsWith("end type ")) << instance.text.text.data();
            }
            if (instance.part == Instance::Part::Members) {
                EXPECT_TRUE(instance.text.text.startsWith("\n\nsub ")) << instance.text.text.data();
            }
        }
        EXPECT_EQ(names, c.instances);
    }
    // The type block that comes first names the other through its forward
    // declaration, in its member procedures too.
    const QByteArrayList input = {"dim l as List<<<long>>>"};
    Lines lines = viewsOf(input);
    QByteArrayList rewritten;
    QList<Instance> instances;
    instantiateTemplates(lines, rewritten, TemplateSet{7, table}, instances);
    ASSERT_EQ(instances.size(), 4);
    EXPECT_EQ(instances[1].text.text, "type Node_long\n\nowner as List_long__fbext_forward ptr\n"
                                      "end type ");
    EXPECT_EQ(instances[2].text.text.count("Node_long ptr"), 1);
    EXPECT_EQ(instances[0].anchor, 0);
    EXPECT_EQ(instances[3].anchor, 0);

    // The member procedures are compiled when their type block was, and the
    // macro that says so ends with the file.
    const QByteArray text = withInstances(lines, QList<LineOrigin>(lines.size()), instances).text;
    const QByteArrayList expected = {
        "#ifndef __FBEXT_INSTANCE_List_long__fbext_forward__",
        "type List_long__fbext_forward as List_long",
        "#ifndef __FBEXT_INSTANCE_Node_long__",
        "#define __FBEXT_MEMBERS_Node_long__",
        "type Node_long",
        "#ifndef __FBEXT_INSTANCE_List_long__",
        "sub List_long.g()",
        "#ifdef __FBEXT_MEMBERS_Node_long__",
        "sub Node_long.f()",
        "dim l as List_long",
        "#undef __FBEXT_MEMBERS_Node_long__",
    };
    qsizetype at = 0;
    for (const QByteArray& line : expected) {
        const qsizetype found = text.indexOf(line, at);
        EXPECT_GE(found, at) << line.constData() << "\n" << text.constData();
        at = std::max(found, at);
    }
    EXPECT_TRUE(text.endsWith("#undef __FBEXT_MEMBERS_Node_long__"));
    EXPECT_EQ(text.count("__FBEXT_MEMBERS_"), 3);
}

// The fast scan must rewrite exactly what the literal rules rewrite, run after
// run, and generate the same instances in the same order, for any mixture of
// uses, string literals, nested and unbalanced brackets.
TEST(InstantiateTest, MatchesTheLiteralRulesOnRandomInput) {
    TemplateTable table = sampleTable();
    addTemplate(table, "A", capturedFrom({QByteArray("a as t1"), lf()}));
    addTemplate(table, "A_b", capturedFrom({QByteArray("A_b(t1)"), lf()}));
    const QByteArrayList pieces = {
        QByteArray("Stack"),
        QByteArray("Map"),
        QByteArray("A"),
        QByteArray("A_b"),
        QByteArray("b"),
        QByteArray("ns."),
        QByteArray("<<<"),
        QByteArray(">>>"),
        QByteArray("<"),
        QByteArray(">"),
        QByteArray("\""),
        QByteArray(" "),
        QByteArray(","),
        QByteArray("Double"),
        QByteArray("t1"),
        QByteArray("_"),
        QByteArray("<<<double>>>"),
        QByteArray("Stack<<<"),
        QByteArray("'"),
        QByteArray("Stack<<<A<<<b>>>>>>"),
        QByteArray("*"),
        QByteArray("\t"),
    };
    QRandomGenerator random(8122026);
    for (int round = 0; round < 20000; ++round) {
        QByteArrayList literalLines = randomLines(random, pieces, 4, 14);
        const QByteArrayList original = literalLines;
        Lines lines = viewsOf(literalLines);
        const TemplateSet templates{1, random.bounded(8) == 0 ? TemplateTable() : table};
        QByteArrayList rewritten;
        QList<Instance> instances;
        QList<MappedText> literalInstances;
        instantiateTemplates(lines, rewritten, templates, instances);
        const QByteArrayList fastLines = copiesOf(lines); // before the views' bytes change
        literalInstantiateTemplates(literalLines, templates, literalInstances);
        ASSERT_EQ(fastLines, literalLines) << original.join('\n').toStdString();
        ASSERT_EQ(instances.size(), literalInstances.size()) << "round " << round;
        for (qsizetype i = 0; i < instances.size(); ++i) {
            ASSERT_EQ(instances[i].text.text, literalInstances[i].text) << "round " << round;
            ASSERT_EQ(instances[i].text.origins, literalInstances[i].origins) << "round " << round;
        }
    }
}
