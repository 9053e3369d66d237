// Compound assignments to the inherited fields an extending type reaches as
// properties are written out as plain assignments, and nothing else is.

#include "classexpander.h"
#include "classtext.h"
#include "compoundassignments.h"
#include "lines.h"

#include <QElapsedTimer>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* name;
    const char* line;
    const char* expected; // nullptr: the line stays as it is
};

// Lines inside "sub Circle.grow()" of a file where Circle inherits the fields
// x, name and link and the arrays scores and links as properties giving a copy (and pos and
// parts, of a type of the program's, by reference), and Square none.
const Row rows[] = {
    {"qualified", "c.x += 5", "c.x = c.x + (5)"},
    {"every operator", "c.x mod= 3 : c.x shl= 1 : c.x \\= 2",
     "c.x = c.x mod (3) : c.x = c.x shl (1) : c.x = c.x \\ (2)"},
    {"a string with a colon", "c.name &= \"a:b\" ' done", "c.name = c.name & (\"a:b\") ' done"},
    {"a call in brackets", "c.x -= f(a, b:c)", "c.x = c.x - (f(a, b:c))"},
    {"one line if", "if a then c.x -= 1 else c.x += 1",
     "if a then c.x = c.x - (1) else c.x = c.x + (1)"},
    {"with block", "  .x *= 2", "  .x = .x * (2)"},
    {"bare in the type's member", "x += 1", "x = x + (1)"},
    {"this", "this.name &= \"!\"", "this.name = this.name & (\"!\")"},
    {"letter case", "C.X += 1", "C.X = C.X + (1)"},
    {"another name", "c.y += 1", nullptr},
    {"a longer name", "c.xx += 1", nullptr},
    {"an element", "a(1).x += 1", "a(1).x = a(1).x + (1)"},
    {"an element by names and operators", "a(i + 1).x -= n \\ 2",
     "a(i + 1).x = a(i + 1).x - (n \\ 2)"},
    {"an element of an element", "a(order(i)).name &= \"!\"",
     "a(order(i)).name = a(order(i)).name & (\"!\")"},
    {"an element in a with block", ".items(j).x += 1", ".items(j).x = .items(j).x + (1)"},
    {"an element of a field", "s.items(j).x += 1", "s.items(j).x = s.items(j).x + (1)"},
    {"an array parameter", "list(0).x *= 2", "list(0).x = list(0).x * (2)"},
    {"a pointer", "p->x += 1", "p->x = p->x + (1)"},
    {"an element holding a pointer", "ptrs(i)->x -= 1", "ptrs(i)->x = ptrs(i)->x - (1)"},
    {"a pointer's field", "p->owner.x += 1", "p->owner.x = p->owner.x + (1)"},
    {"a pointer's element", "p[i].x += 1", "p[i].x = p[i].x + (1)"},
    {"a pointer's element by operators", "p[n - 1].name &= \"!\"",
     "p[n - 1].name = p[n - 1].name & (\"!\")"},
    {"a pointer's element's inherited array", "p[0].scores(i) -= 1",
     "p[0].scores(i) = p[0].scores(i) - (1)"},
    {"a pointer's element whose index calls", "p[pick()].x += 1", nullptr},
    {"a pointer's element whose index is a macro", "p[PICKED].x += 1", nullptr},
    {"an element of a call's result", "pick()[1].x += 1", nullptr},
    {"a macro's element", "PICKED[1].x += 1", nullptr},
    {"rem after the value", "c.x += 1 rem c.x += 2", "c.x = c.x + (1) rem c.x += 2"},
    {"an index that calls", "a(pick()).x += 1", nullptr},
    {"a call without brackets", "a(pick).x += 1", nullptr},
    {"a built-in call", "a(int(rnd * 3)).x += 1", nullptr},
    {"rnd alone", "a(rnd).x += 1", nullptr},
    {"a macro", "a(PICKED).x += 1", nullptr},
    {"a method", "a(s.next).x += 1", nullptr},
    {"a property", "a(s.size).x += 1", nullptr},
    {"an inherited field in the index", "c.scores(c.x + 1) += 1",
     "c.scores(c.x + 1) = c.scores(c.x + 1) + (1)"},
    {"an inherited field bare in the index", "a(x).name &= \"!\"",
     "a(x).name = a(x).name & (\"!\")"},
    {"a string index", "a(\"1\").x += 1", nullptr},
    {"no array of the file", "b(1).x += 1", nullptr},
    {"a call giving the element", "pick(1).x += 1", nullptr},
    {"a call giving a pointer", "pick->x += 1", nullptr},
    {"an indexed field", "c.x(1) += 1", nullptr},
    {"an inherited array's element", "c.scores(2) += 1", "c.scores(2) = c.scores(2) + (1)"},
    {"its index by names and elements", "a(i).scores(order(i) + 1) -= n",
     "a(i).scores(order(i) + 1) = a(i).scores(order(i) + 1) - (n)"},
    {"its element in a with block", "  .scores(1) *= 2", "  .scores(1) = .scores(1) * (2)"},
    {"its element bare in the type's member", "scores(i) += 1 : x += 1",
     "scores(i) = scores(i) + (1) : x = x + (1)"},
    {"its element through a pointer", "p->scores(0) \\= 2", "p->scores(0) = p->scores(0) \\ (2)"},
    {"its index calls", "c.scores(pick()) += 1", nullptr},
    {"its index is a macro", "c.scores(PICKED) += 1", nullptr},
    {"its element named with a blank", "c.scores (1) += 1", nullptr},
    {"a field read as an element", "c.name(1) += 1", nullptr},
    {"an array read as a field", "c.scores += 1", nullptr},
    {"blanks around the arrow", "p -> x += 1", nullptr},
    // A dereferenced inherited field: the compiler would take "c.x = 5" after
    // the star for the property's setter.
    {"dereferenced", "*c.x = 5", "*(c.x) = 5"},
    {"dereferenced, compound", "*c.x += 1 : * c.name &= \"!\"",
     "*(c.x) += 1 : * (c.name) &= \"!\""},
    {"dereferenced in a with block", "  *.x = 2", "  *(.x) = 2"},
    {"dereferenced through pointers", "*p->x = 1 : *p[pick()].x = 2",
     "*(p->x) = 1 : *(p[pick()].x) = 2"},
    {"dereferenced element, any index", "*c.scores(pick(1)) = 1", "*(c.scores(pick(1))) = 1"},
    {"dereferenced in a one line if", "if a then *c.x = 1 else *a(1).x = 2",
     "if a then *(c.x) = 1 else *(a(1).x) = 2"},
    {"dereferenced bare", "*x = 1", nullptr},
    {"dereferenced other field", "*c.y = 1", nullptr},
    {"dereferenced array read as a field", "*c.scores = 1", nullptr},
    {"dereferenced, compared", "if *c.x = 1 then n = 2", nullptr},
    {"a product", "n = n * c.x", nullptr},
    // "line input" into an inherited field reads a string of its own first:
    // the compiler would read into a copy of the field, or refuse the line.
    {"line input", "line input c.name",
     "scope : dim t__fbext as string : line input t__fbext : c.name = t__fbext : end scope"},
    {"line input with a prompt", "line input \"Name? \", c.name",
     "scope : dim t__fbext as string : line input \"Name? \", t__fbext : c.name = t__fbext : end "
     "scope"},
    {"line input from a file", "Line Input #1, a(i).name : n = 1",
     "scope : dim t__fbext as string : Line Input #1, t__fbext : a(i).name = t__fbext : end scope "
     ": n = 1"},
    {"line input bare in the type's member", "line input ; name",
     "scope : dim t__fbext as string : line input ; t__fbext : name = t__fbext : end scope"},
    {"line input after then", "if a then line input p->name",
     "if a then scope : dim t__fbext as string : line input t__fbext : p->name = t__fbext : end "
     "scope"},
    {"line input into an element whose index calls", "line input c.scores(pick(n)) : n = 1",
     "scope : dim t__fbext as string : line input t__fbext : c.scores(pick(n)) = t__fbext : end "
     "scope : n = 1"},
    {"line input into another field", "line input c.y", nullptr},
    // "read" into an inherited field reads into a value of its type, then
    // assigns it; the other targets keep their reading, in order.
    {"read", "read c.x",
     "scope : dim t__fbext as typeof(c.x) : read t__fbext : c.x = t__fbext : end scope"},
    {"read among other targets", "READ n, c.name, a(1).x, s : n = 1",
     "READ n : scope : dim t__fbext as typeof(c.name) : read t__fbext : c.name = t__fbext : end "
     "scope : scope : dim t__fbext as typeof(a(1).x) : read t__fbext : a(1).x = t__fbext : end "
     "scope : READ s : n = 1"},
    {"read bare in the type's member", "read x, n",
     "scope : dim t__fbext as typeof(x) : read t__fbext : x = t__fbext : end scope : read n"},
    {"read an element whose index calls", "read c.scores(pick(order(1)))",
     "scope : dim t__fbext as typeof(c.scores(pick(order(1)))) : read t__fbext : "
     "c.scores(pick(order(1))) = t__fbext : end scope"},
    {"read after then and else", "if a then read c.x else read n, p->x",
     "if a then scope : dim t__fbext as typeof(c.x) : read t__fbext : c.x = t__fbext : end scope "
     "else read n : scope : dim t__fbext as typeof(p->x) : read t__fbext : p->x = t__fbext : end "
     "scope"},
    {"read into other targets", "read c.y, n, order(1)", nullptr},
    {"read continued", "read n, _", nullptr},
    {"read in a string", "print \"read c.x\"", nullptr},
    {"read after a comment", "n = 1 ' read c.x", nullptr},
    {"line input into a variable", "line input #1, s", nullptr},
    {"input", "input c.name", nullptr},
    {"line input in a string", "print \"line input c.name\"", nullptr},
    {"not first in its statement", "print c.x += 1", nullptr},
    {"comparison", "if c.x <= 1 then c.x = 2", nullptr},
    {"in a string", "print \"c.x += 1\"", nullptr},
    {"in a comment", "' c.x += 1", nullptr},
    {"directive", "#define GROW(v) v.x += 1", nullptr},
    // Through an inherited pointer field the target is bracketed, which the
    // compiler takes where it refuses the property's setter.
    {"through a pointer field", "*c.link = 5", "*(c.link) = 5"},
    {"through it compoundly", "*c.link += n", "*(c.link) += n"},
    {"through a pointer's", "* p->link -= 1", "* (p->link) -= 1"},
    {"through an element's", "*a(i + 1).link = 1", "*(a(i + 1).link) = 1"},
    {"through a pointer element's", "*p[1].link shl= 1", "*(p[1].link) shl= 1"},
    {"through an inherited array's element", "*c.links(2) = 1", "*(c.links(2)) = 1"},
    {"through one in a with block", "  *.link = 1 ' set", "  *(.link) = 1 ' set"},
    {"through one after then and else", "if n then *c.link = 1 else *this.link = 2",
     "if n then *(c.link) = 1 else *(this.link) = 2"},
    {"through one beside a compound assignment", "c.x += 1 : *c.link = c.x * 2",
     "c.x = c.x + (1) : *(c.link) = c.x * 2"},
    {"through one continued", "*c.link = n + _", "*(c.link) = n + _"},
    {"through one bare", "*link = 1", nullptr},
    {"through another field", "*c.other = 1", nullptr},
    {"through one read", "n = *c.link : print *c.link", nullptr},
    {"through one compared", "if *c.link = 1 then n = 2", nullptr},
    {"multiplying", "n *= c.x * 2", nullptr},
    {"through one in a string", "print \"*c.link = 1\"", nullptr},
};

// Swaps, on lines inside "sub Circle.grow()" of the same file: "S(a, b)"
// stands for the statements that exchange a and b through a copy.
const Row swapRows[] = {
    {"qualified", "swap c.x, c.y", "S(c.x, c.y)"},
    {"letter case", "SWAP C.X, c.Name", "S(C.X, c.Name)"},
    {"one operand", "swap n, c.name", "S(n, c.name)"},
    {"bare in the type's member", "swap x, n", "S(x, n)"},
    {"this", "swap this.x, other.x", "S(this.x, other.x)"},
    {"with block's fields", "  swap .x, .name", "  S(.x, .name)"},
    {"inherited array's elements", "swap scores(i), c.scores(i + 1)",
     "S(scores(i), c.scores(i + 1))"},
    {"array elements", "swap a(i).x, a(order(j)).x", "S(a(i).x, a(order(j)).x)"},
    {"a plain element beside", "swap order(1), c.x", "S(order(1), c.x)"},
    {"pointers", "swap p->x, ptrs(i)->x", "S(p->x, ptrs(i)->x)"},
    {"pointer elements", "swap p[i].x, p[n - 1].x", "S(p[i].x, p[n - 1].x)"},
    {"among statements", "n = 1 : swap c.x, c.y : n = 2 rem swap c.x, c.y",
     "n = 1 : S(c.x, c.y) : n = 2 rem swap c.x, c.y"},
    {"two on a line", "swap c.x, n : swap a(1).x, a(2).x", "S(c.x, n) : S(a(1).x, a(2).x)"},
    {"beside a compound assignment", "c.x += 1 : swap c.x, c.y : c.name &= \"!\"",
     "c.x = c.x + (1) : S(c.x, c.y) : c.name = c.name & (\"!\")"},
    {"one line if", "if a then swap c.x, c.y else swap n, c.x",
     "if a then S(c.x, c.y) else S(n, c.x)"},
    {"a field of a type of the program's", "swap c.pos, other.pos", "S(c.pos, other.pos)"},
    {"its array's elements", "swap c.parts(1), parts(i)", "S(c.parts(1), parts(i))"},
    {"bare, of a type of the program's", "swap v, pos", "S(v, pos)"},
    {"compound assignment to it stays", "c.pos += v", nullptr},
    {"plain variables", "swap n, k", nullptr},
    {"whole records", "swap a(1), a(2)", nullptr},
    {"other fields", "swap c.r, c.k", nullptr},
    {"an index that calls", "swap a(pick()).x, c.x", nullptr},
    {"a macro's index", "swap c.scores(PICKED), n", nullptr},
    {"a call's element", "swap pick(1).x, n", nullptr},
    {"a call beside", "swap c.x, f(1)", nullptr},
    {"a string in an index", "swap c.name, a(\"1\").name", nullptr},
    {"a word ending in swap", "myswap c.x, c.y", nullptr},
    {"a member named swap", "o.swap c.x, c.y", nullptr},
    {"one operand only", "swap c.x", nullptr},
    {"in a string", "print \"swap c.x, c.y\"", nullptr},
    {"in a comment", "' swap c.x, c.y", nullptr},
    {"directive", "#define SW(v) swap v.x, v.y", nullptr},
    {"continued", "swap c.x, _", nullptr},
};

// The statements that exchange a and b, as a swap is written out.
QByteArray exchanged(QByteArrayView a, QByteArrayView b) {
    return "scope : var t__fbext = " + a.toByteArray() + " : " + a.toByteArray() + " = " +
           b.toByteArray() + " : " + b.toByteArray() + " = t__fbext : end scope";
}

// The expected line of a row: each "S(a, b)" written out (neither holds ", ").
QByteArray withSwapsWrittenOut(QByteArray expected) {
    for (qsizetype at = 0; (at = expected.indexOf("S(", at)) >= 0;) {
        const qsizetype comma = expected.indexOf(", ", at);
        int depth = 1;
        qsizetype close = comma + 2;
        for (; depth > 0; ++close)
            depth += expected[close] == '(' ? 1 : expected[close] == ')' ? -1 : 0;
        const QByteArray text =
            exchanged(QByteArrayView(expected).sliced(at + 2, comma - at - 2),
                      QByteArrayView(expected).sliced(comma + 2, close - 1 - comma - 2));
        expected.replace(at, close - at, text);
        at += text.size();
    }
    return expected;
}

// The line as the class pass writes it, after the procedure's first lines,
// in a file where Circle inherits the fields x, name and link from Shape, and
// Square declares an x of its own.
QByteArray expandedLine(const QByteArray& procedure, const QByteArray& line) {
    // The arrays an index may read, and the procedures and macros it may not.
    const QByteArray declarations =
        "type Vec\n  a as integer\nend type\n"
        "type Shape\n  x as integer\n  name as string\n  scores(1 to 3) as integer\n"
        "  link as integer ptr\n  links(1 to 2) as integer ptr\n"
        "  pos as Vec\n  parts(1 to 2) as Vec\nend type\n"
        "type Circle extends Shape\n  r as integer\nend type\n"
        "type Square\n  x as integer\nend type\n"
        "dim shared as integer n = 3, order(2) = {0, 1, 2}\n"
        "dim shared a(3) as Circle, ptrs(3) as Circle ptr\n"
        "type Squad\n  items(0 to 9) as Circle\n  declare function next() as integer\n"
        "  declare property size() as integer\nend type\n"
        "sub show(list() as Circle)\nend sub\n"
        "declare function pick(byval k as integer = 0) as Circle ptr\n#define PICKED 1\n";
    const QByteArray before = declarations + procedure + "\n";
    const QByteArray source = before + line + "\nend sub\nx += 1";
    const int lineNumber = int(before.count('\n')) + 1;
    const MappedText result = expandClassText(sourceOf(source));
    const QList<QByteArray> lines = result.text.split('\n');
    EXPECT_EQ(lines.size(), result.origins.size()) << "every line keeps its place";
    EXPECT_EQ(lines.value(result.origins.lastIndexOf(at(lineNumber + 2))), QByteArray("x += 1"))
        << "outside any member";
    return lines.value(result.origins.indexOf(at(lineNumber)));
}

TEST(CompoundAssignments, AreWrittenOutOnlyForPropertyFields) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(expandedLine("sub Circle.grow()", row.line),
                  QByteArray(row.expected ? row.expected : row.line));
    }
    EXPECT_EQ(expandedLine("sub Square.grow()", "x += 1"), QByteArray("x += 1"));
    EXPECT_EQ(expandedLine("sub Square.grow()", "scores(1) += 1"), QByteArray("scores(1) += 1"));
    EXPECT_EQ(expandedLine("sub Square.grow()", "line input name"), QByteArray("line input name"));
    EXPECT_EQ(expandedLine("sub Square.grow()", "read x, name"), QByteArray("read x, name"));
    // A procedure on one line ends there: the bare name after it is the module's.
    EXPECT_EQ(expandedLine("sub Circle.f() : x += 1 : end sub", "x += 1"), QByteArray("x += 1"));
    EXPECT_EQ(expandedLine("sub Circle.f() : x += 1 : end sub", "c.x += 1"),
              QByteArray("c.x = c.x + (1)"));
    EXPECT_EQ(expandedLine("private constructor Circle(byval n as integer)", "x += n"),
              QByteArray("x = x + (n)"));
    // Code after a comment that ends on the line is read; the comment is not.
    EXPECT_EQ(expandedLine("sub Circle.grow()\n/' c.x += 1", "c.x += 1 '/ c.x += 2 : x -= 1"),
              QByteArray("c.x += 1 '/ c.x = c.x + (2) : x = x - (1)"));
    EXPECT_EQ(expandedLine("sub Circle.grow()\n/' c.x += 1", "c.x += 1"), QByteArray("c.x += 1"));
}

// A field named like an inherited one, in another type, whose type is one of
// the program's: "o.x += 1" on it is the compiler's "o.x = o.x + 1" unless
// that type has an operator of its own that assigns in place, or may have
// one (a type not of the file, one that extends another). Only then is the
// name left as written everywhere.
TEST(CompoundAssignments, FieldsNamedAlikeOfTypesThatAssignInPlaceStay) {
    const struct {
        const char* name;
        const char* types; // declares the type T of Other.x
        bool writtenOut;
    } rows[] = {
        {"plain type", "type T\n  a as integer\nend type\n", true},
        {"other operators",
         "type T\n  a as integer\n  declare operator let(byval v as integer)\n"
         "  declare operator cast() as string\nend type\n",
         true},
        {"an enum", "enum T\n  one\nend enum\n", true},
        {"operator +=", "type T\n  a as integer\n  declare operator += (byref v as T)\nend type\n",
         false},
        {"operator shl= spaced",
         "type T\n  a as integer\n  DECLARE Operator Shl = (byval n as integer)\n"
         "end type\n",
         false},
        {"extends another type", "type P\n  a as integer\nend type\ntype T extends P\nend type\n",
         false},
        {"declared twice, once with one",
         "#ifdef A\ntype T\n  a as integer\nend type\n#else\ntype T\n  a as integer\n"
         "  declare operator -= (byref v as T)\nend type\n#endif\n",
         false},
        {"not declared in the file", "", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QByteArray source = QByteArray(row.types) +
                                  "type Shape\n  x as integer\nend type\n"
                                  "type Circle extends Shape\n  r as integer\nend type\n"
                                  "type Other\n  x as T\nend type\n"
                                  "dim c as Circle\nc.x += 1\n";
        const QByteArray result = expandClassText(sourceOf(source)).text;
        EXPECT_EQ(result.contains("c.x = c.x + (1)"), row.writtenOut) << result.constData();
        EXPECT_EQ(result.contains("c.x += 1"), !row.writtenOut) << result.constData();
    }
}

TEST(CompoundAssignments, SwapsOfPropertyFieldsAreWrittenOut) {
    for (const Row& row : swapRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(expandedLine("sub Circle.grow()", row.line),
                  row.expected ? withSwapsWrittenOut(row.expected) : QByteArray(row.line));
    }
    // A bare name is an inherited field only in a member of the extending type.
    EXPECT_EQ(expandedLine("sub Square.grow()", "swap x, n"), QByteArray("swap x, n"));
    EXPECT_EQ(expandedLine("sub Circle.f() : swap x, n : end sub", "swap x, n"),
              QByteArray("swap x, n"));
    EXPECT_EQ(expandedLine("sub Circle.f() : swap x, n : end sub", "swap c.x, n"),
              exchanged("c.x", "n"));
    // A comment that ends on the line before code.
    EXPECT_EQ(expandedLine("sub Circle.grow()\n/' swap c.x, n", "swap c.x, n '/ swap x, n"),
              "swap c.x, n '/ " + exchanged("x", "n"));
}

// A value continued over lines with " _" is bracketed where its statement
// ends: at the end of the first line that is not continued, or at a ":" or
// "else" outside brackets.
TEST(CompoundAssignments, BracketContinuedValuesWhereTheyEnd) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"c.x += _ ' why\n  3\nc.x += 1", "c.x = c.x + ( _ ' why\n  3)\nc.x = c.x + (1)"},
        {"c.x -= f(1, _\n  2) + _\n  1 : c.x += 2 ' done",
         "c.x = c.x - ( f(1, _\n  2) + _\n  1) : c.x = c.x + (2) ' done"},
        {"if a then c.x += 1 + _\n  1 else c.x -= 1",
         "if a then c.x = c.x + ( 1 + _\n  1) else c.x = c.x - (1)"},
        {"c.name &= \"a:\" & _\n  \"b\" rem c.x += 1",
         "c.name = c.name & ( \"a:\" & _\n  \"b\") rem c.x += 1"},
        {"c.x += 1 _\n: c.x += 2", "c.x = c.x + ( 1 _\n): c.x = c.x + (2)"},
        {"c.x += 1 rem no _\nc.x += 2", "c.x = c.x + (1) rem no _\nc.x = c.x + (2)"},
        {"c.x += 1 + _\n  1 rem ) _\nc.x += 2",
         "c.x = c.x + ( 1 + _\n  1) rem ) _\nc.x = c.x + (2)"},
        {"c.y += _\n  1", nullptr},
        {"c.x += _", nullptr}, // the file ends first
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        PropertyFields fields;
        fields.all = {"x", "name"};
        MappedText text;
        text.text = row.text;
        text.origins.resize(text.text.count('\n') + 1);
        spellOutCompoundAssignments(text, fields);
        EXPECT_EQ(text.text, QByteArray(row.expected ? row.expected : row.text));
    }
}

// A field of an enum that a header declares (headerEnums), or that the file
// names through its namespace, is a number: set from one, and its "+=" is
// written out. Without the header's enum, the type is one of the program's.
TEST(CompoundAssignments, EnumsOfHeadersAndNamespacesAreNumbers) {
    const QByteArray source = "namespace Geo\nenum Mode\nend enum\nend namespace\n"
                              "type Shape\n  fill as Fill\n  mode as Geo.Mode\nend type\n"
                              "type Circle extends Shape\nend type\n"
                              "dim c as Circle\nc.fill += 1\nc.mode += 1\n";
    const QByteArray withHeader =
        expandClassText(sourceOf(source), false, qsizetype(1) << 20, {"fill"}).text;
    for (const char* expected : {"declare property fill(byval new_value as integer)",
                                 "declare property mode(byval new_value as integer)",
                                 "\nc.fill = c.fill + (1)\n", "\nc.mode = c.mode + (1)\n"})
        EXPECT_TRUE(withHeader.contains(expected)) << expected << "\n" << withHeader.constData();
    const QByteArray withoutHeader = expandClassText(sourceOf(source)).text;
    EXPECT_TRUE(withoutHeader.contains("\nc.fill += 1\n")) << withoutHeader.constData();
    EXPECT_TRUE(withoutHeader.contains("\nc.mode = c.mode + (1)\n")) << withoutHeader.constData();
}

// A target begun on a line that the operator's line continues is read whole,
// and written out on the operator's line, each line in its place.
TEST(CompoundAssignments, TargetsContinuedBeforeTheirOperator) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"c _\n  .x += 1", "c _\n  .x = c.x + (1)"},
        {"  .x _ ' the x\n    += 2", "  .x _ ' the x\n     = .x + (2)"},
        {"c.x _\n  += 3 : c.x += 1", "c.x _\n   = c.x + (3) : c.x = c.x + (1)"},
        {"c _\n  .x _\n  += 1 + _\n  2", "c _\n  .x _\n   = c.x + ( 1 + _\n  2)"},
        {"if a then _\n  c.x += 1", "if a then _\n  c.x = c.x + (1)"},
        {"n = 1 ' c _\n.x += 1", "n = 1 ' c _\n.x = .x + (1)"},
        {"print a; _\n  c.x += 1", nullptr},
        {"print a _\n  .x += 1", nullptr},
        {"c.y _\n  += 1", nullptr},
        {"f(\"c\") _\n  .x += 1", nullptr},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        PropertyFields fields;
        fields.all = {"x", "name"};
        MappedText text;
        text.text = row.text;
        text.origins.resize(text.text.count('\n') + 1);
        spellOutCompoundAssignments(text, fields);
        EXPECT_EQ(text.text, QByteArray(row.expected ? row.expected : row.text));
    }
}

// A read or line input continued over lines with " _" is written out as one
// line where it starts, followed by the line ends it took, so the lines after
// it keep their places.
TEST(CompoundAssignments, ReadsAndLineInputContinuedOverLines) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"line input #1, _\n  c.name\nn = 1",
         "scope : dim t__fbext as string : line input #1, t__fbext : c.name = t__fbext : end "
         "scope\n\nn = 1"},
        {"line input _ ' why\n  \"Name? \", _\n  c.name : n = 1",
         "scope : dim t__fbext as string : line input \"Name? \", t__fbext : c.name = "
         "t__fbext : end scope\n\n : n = 1"},
        {"read n, _\n  c.x, _\n  m ' done",
         "read n : scope : dim t__fbext as typeof(c.x) : read t__fbext : c.x = t__fbext : end "
         "scope : read m\n\n ' done"},
        {"if a then read _\n  c.x else n = 1",
         "if a then scope : dim t__fbext as typeof(c.x) : read t__fbext : c.x = t__fbext : end "
         "scope\n else n = 1"},
        {"read c.x : _\n  read c.name",
         "scope : dim t__fbext as typeof(c.x) : read t__fbext : c.x = t__fbext : end scope : _\n"
         "  scope : dim t__fbext as typeof(c.name) : read t__fbext : c.name = t__fbext : end "
         "scope"},
        {"read n, _\n  m", nullptr},
        {"line input #1, _\n  c.y", nullptr},
        {"read c.x, _", nullptr}, // the file ends first
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        PropertyFields fields;
        fields.all = {"x", "name"};
        MappedText text;
        text.text = row.text;
        text.origins.resize(text.text.count('\n') + 1);
        spellOutCompoundAssignments(text, fields);
        EXPECT_EQ(text.text, QByteArray(row.expected ? row.expected : row.text));
    }
    // Bare in a member of the extending type, the targets on the lines below.
    const QByteArray source = "type Shape\n  x as integer\n  name as string\nend type\n"
                              "type Circle extends Shape\nend type\n"
                              "sub Circle.grow()\n  read _\n    x, name\n"
                              "  line input #1, _\n    name\nend sub\nread x, name\n";
    const MappedText result = expandClassText(sourceOf(source));
    const QList<QByteArray> lines = result.text.split('\n');
    ASSERT_EQ(lines.size(), result.origins.size());
    EXPECT_EQ(lines.value(result.origins.indexOf(at(8))),
              QByteArray("  scope : dim t__fbext as typeof(x) : read t__fbext : x = t__fbext : end "
                         "scope : scope : dim t__fbext as typeof(name) : read t__fbext : name = "
                         "t__fbext : end scope"));
    EXPECT_EQ(lines.value(result.origins.indexOf(at(9))), QByteArray());
    EXPECT_EQ(lines.value(result.origins.indexOf(at(10))),
              QByteArray("  scope : dim t__fbext as string : line input #1, t__fbext : name = "
                         "t__fbext : end scope"));
    EXPECT_EQ(lines.value(result.origins.indexOf(at(13))), QByteArray("read x, name"))
        << "outside any member";
}

// The copies that swaps, reads and line input go through take a name that
// the file does not use, in any letter case; in other files "t__fbext".
TEST(CompoundAssignments, TemporariesTakeANameTheFileDoesNotUse) {
    const struct {
        const char* text;
        const char* name;
    } cases[] = {
        {"swap c.x, n", "t__fbext"},
        {"dim t__fbextra as integer\nswap c.x, n", "t__fbext"},
        {"dim shared T__FBEXT as integer\nswap c.x, n", "t__fbext2"},
        {"sub f(byval t__fbext as integer)\nswap c.x, t__fbext\nend sub\n"
         "function t__fbext2() as integer\nend function",
         "t__fbext3"},
        {"x.t__fbext = 1\nswap c.x, n", "t__fbext2"}, // a member's name counts too
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        PropertyFields fields;
        fields.all = {"x"};
        fields.swappable = {"x"};
        MappedText text;
        text.text = QByteArray(row.text) + "\nline input c.x\nread c.x";
        text.origins.resize(text.text.count('\n') + 1);
        spellOutCompoundAssignments(text, fields);
        const QByteArray name = row.name;
        EXPECT_TRUE(text.text.contains("scope : var " + name + " = c.x : c.x = "))
            << text.text.constData();
        EXPECT_TRUE(text.text.contains("dim " + name + " as string : line input " + name +
                                       " : c.x = " + name + " : end scope"))
            << text.text.constData();
        EXPECT_TRUE(text.text.endsWith("dim " + name + " as typeof(c.x) : read " + name +
                                       " : c.x = " + name + " : end scope"))
            << text.text.constData();
    }
}

// The lines that may swap, read or line-input are found by two letters of
// the word that seldom stand together, at any place in a line of any length
// (sixteen places are tried at a time), in any letter case; a longer word
// that holds them is none.
TEST(CompoundAssignments, StatementWordsFoundAtEveryPlace) {
    const QByteArrayView words[] = {"swap a, b", "ReAd a", "line INPUT a", "line input #1, a"};
    const QByteArrayView others[] = {"swapped = 1", "bread = 2", "dim ready as integer",
                                     "print \"np ad sw\""};
    for (const QByteArrayView word : words) {
        for (int pad = 0; pad < 40; ++pad) {
            const QByteArray line = QByteArray(pad, ' ') + word.toByteArray();
            const QByteArray text = "x = 1\n" + line + "\n" + QByteArray(pad, 'q');
            EXPECT_EQ(compoundAssignmentLines(LineIndex(text)), QList<qsizetype>{1})
                << line.constData();
        }
    }
    for (const QByteArrayView other : others) {
        for (int pad = 0; pad < 40; ++pad) {
            const QByteArray text = QByteArray(pad, ' ') + other.toByteArray();
            EXPECT_TRUE(compoundAssignmentLines(LineIndex(text)).isEmpty()) << text.constData();
        }
    }
}

} // namespace

// offsetof(Type, field) on a field the type inherits names the field in the
// embedded parent, one "parent." for each level up; its own fields, other
// types, strings and comments stay as written.
TEST(CompoundAssignments, OffsetsOfInheritedFieldsGoThroughTheParents) {
    const struct {
        const char* line;
        const char* expected; // nullptr: unchanged
    } rows[] = {
        {"print offsetof(Circle, x)", "print offsetof(Circle, parent.x)"},
        {"n = OFFSETOF( circle , Name ) + offsetof(Shape, x) + offsetof(Circle, r)",
         "n = OFFSETOF( circle , parent.Name ) + offsetof(Shape, x) + offsetof(Circle, r)"},
        {"n = offsetof(Circle, pos.a) - offsetof(Circle, scores)",
         "n = offsetof(Circle, parent.pos.a) - offsetof(Circle, parent.scores)"},
        {"print \"offsetof(Circle, x)\" ' offsetof(Circle, x)", nullptr},
        {"print offsetof(Square, x), my_offsetof(Circle, x), offsetof(Circle)", nullptr},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(expandedLine("sub Circle.grow()", row.line),
                  QByteArray(row.expected ? row.expected : row.line));
    }
    const QByteArray chain =
        text({"type Shape", "  x as integer", "end type", "type Ring extends Circle",
              "  w as integer", "end type", "type Circle extends Shape", "  r as integer",
              "end type", "print offsetof(Ring, x); offsetof(Ring, r); offsetof(Ring, w)"});
    const QList<QByteArray> lines = expandClassText(sourceOf(chain)).text.split('\n');
    EXPECT_EQ(lines.constLast(), QByteArray("print offsetof(Ring, parent.parent.x); offsetof(Ring, "
                                            "parent.r); offsetof(Ring, w)"));
}

// A wide parent and an extending type whose members reach its fields: each
// row is one shape of member that once cost time growing with the product of
// the members' lines and the parent's fields (bench/degenerate_bench times
// them at growing sizes); here, that each is still rewritten.
TEST(CompoundAssignments, WideFamiliesOfEveryShapeAreRewritten) {
    const auto parentOf = [](int n) {
        QByteArray text = "type P\n";
        for (int i = 0; i < n; ++i)
            text += "  f" + QByteArray::number(i) + " as integer\n";
        return text + "end type\n";
    };
    const struct {
        const char* name;
        std::function<QByteArray(int)> source;
        const char* renamedLine; // a line of the output the rule writes, for n = 1
    } rows[] = {
        {"locals named like the fields, each assigned compoundly",
         [&](int n) {
             QByteArray text = parentOf(n) + "type K extends P\n  declare sub h()\nend type\n"
                                             "sub K.h()\n";
             for (int i = 0; i < n; ++i) {
                 const QByteArray name = "f" + QByteArray::number(i);
                 text += "  dim " + name + " as integer\n  " + name + " += 1\n";
             }
             return text + "end sub\n";
         },
         "  f0__fbext += 1"},
        {"inherited fields assigned compoundly by their bare names",
         [&](int n) {
             QByteArray text = parentOf(n) + "type K extends P\n  declare sub h()\nend type\n"
                                             "sub K.h()\n";
             for (int i = 0; i < n; ++i)
                 text += "  f" + QByteArray::number(i) + " += 1\n";
             return text + "end sub\n";
         },
         "  f0 = f0 + (1)"},
        {"a parameter named like a field in each of many members",
         [&](int n) {
             QByteArray text = parentOf(n) + "type K extends P\n";
             for (int i = 0; i < n; ++i)
                 text += "  declare sub s" + QByteArray::number(i) + "(byval f" +
                         QByteArray::number(i) + " as integer)\n";
             text += "end type\n";
             for (int i = 0; i < n; ++i) {
                 const QByteArray number = QByteArray::number(i);
                 text += "sub K.s" + number + "(byval f" + number + " as integer)\n  print f" +
                         number + "\nend sub\n";
             }
             return text;
         },
         "  print f0__fbext"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QList<QByteArray> lines = expandClassText(sourceOf(row.source(3))).text.split('\n');
        EXPECT_TRUE(lines.contains(QByteArray(row.renamedLine)));
    }
}
