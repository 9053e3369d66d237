#include "instantiate.h"
#include "literaltemplates.h"
#include "namereplace.h"
#include "qtprinting.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

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

QByteArray lf() {
    return QByteArray("\n");
}

// A table with a simple Stack and Map, both with a member that names the template.
TemplateTable sampleTable() {
    TemplateTable table;
    table.insert(
        QByteArray("Stack"),
        capturedFrom({QByteArray("items(0 to 3) as t1"), QByteArray("end type "), lf(),
                      QByteArray("sub Stack.push(byval v as t1)"), QByteArray("end sub"), lf()}));
    table.insert(QByteArray("Map"),
                 capturedFrom({QByteArray("key as t1"), QByteArray("end type "), lf()}));
    return table;
}

QByteArrayList typeLines(const QList<Instance>& instances) {
    QByteArrayList names;
    for (const Instance& instance : instances)
        names.append(instance.text.text.left(instance.text.text.indexOf('\n')));
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
        EXPECT_EQ(useSuffix(c.use), QByteArray(c.suffix));
        EXPECT_EQ(firstTypeArgument(c.use), QByteArray(c.argument));
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
        EXPECT_EQ(substituteTypeParameter(c.text, "double"), QByteArray(c.expected));
    }
    // The fourteen replacements run one after another over the whole text, so
    // an argument that itself holds "t1" is met by the later ones.
    EXPECT_EQ(substituteTypeParameter(QByteArray("(t1 "), QByteArray("t1")), QByteArray("(t1 "));
    EXPECT_EQ(substituteTypeParameter(QByteArray(" t1)"), QByteArray("(t1")),
              QByteArray(" (((t1)"));
}

// The substitution walks the text once; it must give what the fourteen
// patterns give one after another, on texts dense with "t1" and delimiters.
TEST(InstantiateTest, TypeParameterWalkMatchesThePatternsInTurn) {
    const auto byPatterns = [](QByteArray text, const QByteArray& argument) {
        for (const char lead : QByteArrayView(" (+-<>="))
            text = replaceWholeName(text, QByteArrayView(&lead, 1), "t1", {}, argument);
        for (const char trail : QByteArrayView(" )+-<>="))
            text = replaceWholeName(text, {}, "t1", QByteArrayView(&trail, 1), argument);
        return text;
    };
    const QByteArrayView pieces[] = {"t1", "t1", "t", "1", " ", "(", ")",  "+",   "-",
                                     "<",  ">",  "=", ",", "x", "_", "\n", "\xe9"};
    const QByteArray arguments[] = {QByteArray("double"), QByteArray(),      QByteArray("t"),
                                    QByteArray("1"),      QByteArray("(t1"), QByteArray("x t1 y")};
    quint32 seed = 12345;
    const auto next = [&seed](quint32 bound) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % bound;
    };
    for (int round = 0; round < 4000; ++round) {
        QByteArray text;
        for (quint32 n = next(14); n > 0; --n)
            text += pieces[next(std::size(pieces))];
        const QByteArray& argument = arguments[next(std::size(arguments))];
        ASSERT_EQ(substituteTypeParameter(text, argument), byPatterns(text, argument))
            << text.constData() << " / " << argument.constData();
    }
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
        const QByteArray name = c.name;
        EXPECT_EQ(renameTemplate(c.text, name, name + "_x"), QByteArray(c.expected));
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
    const MappedText instance =
        instanceText(stack, QByteArray("Stack"), QByteArray("Stack_double"), QByteArray("double"));
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
        {"the name stops at a dot",
         {QByteArray("dim s as ns.Stack<<<double>>>")},
         {QByteArray("dim s as ns.Stack_double")},
         {QByteArray("type Stack_double")}},
        {"no name or an unknown name: rewritten, but no instance",
         {QByteArray("x = <<<double>>>"), QByteArray("dim q as Queue<<<double>>>"),
          QByteArray("dim r as stack<<<double>>>")},
         {QByteArray("x = _double"), QByteArray("dim q as Queue_double"),
          QByteArray("dim r as stack_double")},
         {}},
        {"an unknown name does not claim a known template's instance",
         {QByteArray("dim a as Stack_x<<<y>>>"), QByteArray("dim b as Stack<<<x_y>>>")},
         {QByteArray("dim a as Stack_x_y"), QByteArray("dim b as Stack_x_y")},
         {QByteArray("type Stack_x_y")}},
        {"no closing >>> in the line",
         {QByteArray("dim s as Stack<<<double"), QByteArray(">>>")},
         {QByteArray("dim s as Stack<<<double"), QByteArray(">>>")},
         {}},
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
              QByteArray("type Map_string__integer\n\nkey as String \nend type \n\n"));
    EXPECT_EQ(instances[0].text.origins.size(), instances[0].text.text.count('\n') + 1);
}

// The fast scan must rewrite exactly what the literal rules rewrite, run after
// run, and generate the same instances in the same order, for any mixture of
// uses, string literals, nested and unbalanced brackets.
TEST(InstantiateTest, MatchesTheLiteralRulesOnRandomInput) {
    TemplateTable table = sampleTable();
    table.insert(QByteArray("A"), capturedFrom({QByteArray("a as t1"), lf()}));
    table.insert(QByteArray("A_b"), capturedFrom({QByteArray("A_b(t1)"), lf()}));
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
