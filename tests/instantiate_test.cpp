#include "instantiate.h"
#include "literaltemplates.h"
#include "namereplace.h"
#include "qtprinting.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

CapturedTemplate capturedFrom(const QStringList& lines,
                              const QString& file = QStringLiteral("t.bi")) {
    CapturedTemplate captured;
    captured.lines = lines;
    int number = 2;
    for (const QString& line : lines)
        captured.origins.append(line == u"\n" ? LineOrigin() : LineOrigin{file, number++});
    captured.headerOrigin = LineOrigin{file, 1};
    return captured;
}

QString lf() {
    return QStringLiteral("\n");
}

// A table with a simple Stack and Map, both with a member that names the template.
TemplateTable sampleTable() {
    TemplateTable table;
    table.insert(QStringLiteral("Stack"),
                 capturedFrom({QStringLiteral("items(0 to 3) as t1"), QStringLiteral("end type "),
                               lf(), QStringLiteral("sub Stack.push(byval v as t1)"),
                               QStringLiteral("end sub"), lf()}));
    table.insert(QStringLiteral("Map"),
                 capturedFrom({QStringLiteral("key as t1"), QStringLiteral("end type "), lf()}));
    return table;
}

QStringList typeLines(const QList<MappedText>& instances) {
    QStringList names;
    for (const MappedText& instance : instances)
        names.append(instance.text.section(u'\n', 0, 0));
    return names;
}

} // namespace

TEST(InstantiateTest, SuffixAndTypeArgumentOfAUse) {
    struct Case {
        const char* use;
        const char* suffix;
        const char* argument;
    };
    const QList<Case> cases = {
        {"<<<double>>>", "_double", "double"},
        {"<<< double >>>", "_double", "double"},
        {"<<<String, Integer>>>", "_string__integer", "String"},
        {"<<<string ,integer>>>", "_string__integer", "string "},
        {"<<<unsigned   long>>>", "_unsigned_long", "unsigned long"},
        {"<<<>>>", "_", ""},
        {"<<<   >>>", "_", ""},
        {"<<<\tInt>>>", "_\tint", "\tInt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.use);
        const QString use = QLatin1StringView(c.use);
        EXPECT_EQ(useSuffix(use), QLatin1StringView(c.suffix));
        EXPECT_EQ(firstTypeArgument(use), QLatin1StringView(c.argument));
    }
}

// "t1" is replaced where it stands next to one of the delimiters, and only as a
// whole name: a name character on its open side leaves it alone.
TEST(InstantiateTest, TypeParameterIsSubstitutedAsAWholeName) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const QList<Case> cases = {
        {"declare sub push(byval v as t1)", "declare sub push(byval v as double)"},
        {"n = sizeof(t1)", "n = sizeof(double)"},
        {"t1 ptr", "double ptr"},
        {"a=t1+t1", "a=double+double"},
        {"x-t1-y", "x-double-y"},
        {"t1<y>t1", "double<y>double"},
        {"(t1=", "(double="},
        {"dim result1 as t1", "dim result1 as double"},
        {"as t10", "as t10"},
        {"dim at1 as integer", "dim at1 as integer"},
        {"_t1 x", "_t1 x"},
        {"\xe9t1 x", "\xe9t1 x"}, // a Latin-1 letter is a name character
        {"2t1)", "2t1)"},
        {"x,t1,y", "x,t1,y"},
        {"t1", "t1"},
        {"items(0 to 15) as t1\nsub f(a as t1)", "items(0 to 15) as double\nsub f(a as double)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(substituteTypeParameter(QString::fromLatin1(c.text), QStringLiteral("double")),
                  QString::fromLatin1(c.expected));
    }
    // The fourteen replacements run one after another over the whole text, so
    // an argument that itself holds "t1" is met by the later ones.
    EXPECT_EQ(substituteTypeParameter(QStringLiteral("(t1 "), QStringLiteral("t1")),
              QStringLiteral("(t1 "));
    EXPECT_EQ(substituteTypeParameter(QStringLiteral(" t1)"), QStringLiteral("(t1")),
              QStringLiteral(" (((t1)"));
}

TEST(InstantiateTest, TemplateIsRenamedAsAWholeName) {
    struct Case {
        const char* name;
        const char* text;
        const char* expected;
    };
    const QList<Case> cases = {
        {"Stack", "sub Stack.push", "sub Stack_x.push"},
        {"Stack", "constructor Stack(byval n as integer)",
         "constructor Stack_x(byval n as integer)"},
        {"Stack", "as Stack ptr", "as Stack_x ptr"},
        {"Stack", "Stack.Stack(", "Stack_x.Stack_x("},
        {"Stack", "myStack.count = my_Stack(1)", "myStack.count = my_Stack(1)"},
        {"Stack", "a as Stack, b as Stack)", "a as Stack, b as Stack)"},
        {"Stack", "StackNode.x", "StackNode.x"},
        {"Stack", "stack.push", "stack.push"},
        {"pe", "type pe_x\n\ndim a as pe ptr", "type pe_x\n\ndim a as pe_x ptr"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString name = QLatin1StringView(c.name);
        EXPECT_EQ(renameTemplate(QLatin1StringView(c.text), name, name + QStringLiteral("_x")),
                  QLatin1StringView(c.expected));
    }
}

TEST(InstantiateTest, InstanceTextOfTheWorkedExample) {
    const CapturedTemplate stack = capturedFrom({
        QStringLiteral("items(0 to 15) as t1"),
        QStringLiteral("count as integer"),
        QStringLiteral("declare sub push(byval v as t1)"),
        QStringLiteral("end type "),
        lf(),
        QStringLiteral("sub Stack.push(byval v as t1)"),
        QStringLiteral("items(count) = v"),
        QStringLiteral("count += 1"),
        QStringLiteral("end sub"),
        lf(),
    });
    const MappedText instance = instanceText(
        stack, QStringLiteral("Stack"), QStringLiteral("Stack_double"), QStringLiteral("double"));
    EXPECT_EQ(instance.text, QStringLiteral("type Stack_double\n"
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
    EXPECT_EQ(instance.origins.first().file, QStringLiteral("t.bi"));
}

TEST(InstantiateTest, UsesAreRewrittenAndInstancesGeneratedOnce) {
    struct Case {
        const char* what;
        QStringList input;
        QStringList rewritten;
        QStringList instances; // their type lines, in order
        int knownNames = 1;
    };
    const QList<Case> cases = {
        {"nothing happens while no template is known",
         {QStringLiteral("dim s as Stack<<<double>>>")},
         {QStringLiteral("dim s as Stack<<<double>>>")},
         {},
         0},
        {"a use in a string literal stays",
         {QStringLiteral("print \"Stack<<<double>>>\""),
          QStringLiteral("s = \"a\" + \"Stack<<<double>>>")},
         {QStringLiteral("print \"Stack<<<double>>>\""),
          QStringLiteral("s = \"a\" + \"Stack<<<double>>>")},
         {}},
        {"a use after a complete string literal is rewritten",
         {QStringLiteral("print \"a\"; Stack<<<double>>>")},
         {QStringLiteral("print \"a\"; Stack_double")},
         {QStringLiteral("type Stack_double")}},
        {"repeated and differently cased uses share one instance",
         {QStringLiteral("dim a as Stack<<<Double>>>"),
          QStringLiteral("dim b as Stack<<< double >>>"),
          QStringLiteral("dim c as Stack<<<double>>>")},
         {QStringLiteral("dim a as Stack_double"), QStringLiteral("dim b as Stack_double"),
          QStringLiteral("dim c as Stack_double")},
         {QStringLiteral("type Stack_double")}},
        {"several uses in one line, in order of use",
         {QStringLiteral("dim m as Map<<<String, Integer>>>, s as Stack<<<byte>>>"),
          QStringLiteral("dim t as Stack<<<short>>>")},
         {QStringLiteral("dim m as Map_string__integer, s as Stack_byte"),
          QStringLiteral("dim t as Stack_short")},
         {QStringLiteral("type Map_string__integer"), QStringLiteral("type Stack_byte"),
          QStringLiteral("type Stack_short")}},
        {"the name stops at a dot",
         {QStringLiteral("dim s as ns.Stack<<<double>>>")},
         {QStringLiteral("dim s as ns.Stack_double")},
         {QStringLiteral("type Stack_double")}},
        {"no name or an unknown name: rewritten, but no instance",
         {QStringLiteral("x = <<<double>>>"), QStringLiteral("dim q as Queue<<<double>>>"),
          QStringLiteral("dim r as stack<<<double>>>")},
         {QStringLiteral("x = _double"), QStringLiteral("dim q as Queue_double"),
          QStringLiteral("dim r as stack_double")},
         {}},
        {"an unknown name does not claim a known template's instance",
         {QStringLiteral("dim a as Stack_x<<<y>>>"), QStringLiteral("dim b as Stack<<<x_y>>>")},
         {QStringLiteral("dim a as Stack_x_y"), QStringLiteral("dim b as Stack_x_y")},
         {QStringLiteral("type Stack_x_y")}},
        {"no closing >>> in the line",
         {QStringLiteral("dim s as Stack<<<double"), QStringLiteral(">>>")},
         {QStringLiteral("dim s as Stack<<<double"), QStringLiteral(">>>")},
         {}},
    };
    const TemplateTable table = sampleTable();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList lines = c.input;
        QList<MappedText> instances;
        instantiateTemplates(lines, QStringList(c.knownNames, QStringLiteral("stack")), table,
                             instances);
        EXPECT_EQ(lines, c.rewritten);
        EXPECT_EQ(typeLines(instances), c.instances);
    }
}

TEST(InstantiateTest, InstanceUsesTheFirstArgumentAsWrittenInTheFirstUse) {
    QStringList lines = {QStringLiteral("dim m as Map<<<String ,Integer>>>"),
                         QStringLiteral("dim n as Map<<<string, integer>>>")};
    QList<MappedText> instances;
    instantiateTemplates(lines, {QStringLiteral("map")}, sampleTable(), instances);
    ASSERT_EQ(instances.size(), 1);
    EXPECT_EQ(instances[0].text,
              QStringLiteral("type Map_string__integer\n\nkey as String \nend type \n\n"));
    EXPECT_EQ(instances[0].origins.size(), instances[0].text.count(u'\n') + 1);
}

// The fast scan must rewrite exactly what the literal rules rewrite, run after
// run, and generate the same instances in the same order, for any mixture of
// uses, string literals, nested and unbalanced brackets.
TEST(InstantiateTest, MatchesTheLiteralRulesOnRandomInput) {
    TemplateTable table = sampleTable();
    table.insert(QStringLiteral("A"), capturedFrom({QStringLiteral("a as t1"), lf()}));
    table.insert(QStringLiteral("A_b"), capturedFrom({QStringLiteral("A_b(t1)"), lf()}));
    const QStringList pieces = {
        QStringLiteral("Stack"),
        QStringLiteral("Map"),
        QStringLiteral("A"),
        QStringLiteral("A_b"),
        QStringLiteral("b"),
        QStringLiteral("ns."),
        QStringLiteral("<<<"),
        QStringLiteral(">>>"),
        QStringLiteral("<"),
        QStringLiteral(">"),
        QStringLiteral("\""),
        QStringLiteral(" "),
        QStringLiteral(","),
        QStringLiteral("Double"),
        QStringLiteral("t1"),
        QStringLiteral("_"),
        QStringLiteral("<<<double>>>"),
        QStringLiteral("Stack<<<"),
    };
    QRandomGenerator random(8122026);
    for (int round = 0; round < 20000; ++round) {
        QStringList lines = randomLines(random, pieces, 4, 14);
        const QStringList names(random.bounded(4), QStringLiteral("n"));
        QStringList literalLines = lines;
        QList<MappedText> instances, literalInstances;
        instantiateTemplates(lines, names, table, instances);
        literalInstantiateTemplates(literalLines, names, table, literalInstances);
        ASSERT_EQ(lines, literalLines) << "round " << round;
        ASSERT_EQ(instances.size(), literalInstances.size()) << "round " << round;
        for (qsizetype i = 0; i < instances.size(); ++i) {
            ASSERT_EQ(instances[i].text, literalInstances[i].text) << "round " << round;
            ASSERT_EQ(instances[i].origins, literalInstances[i].origins) << "round " << round;
        }
    }
}
