// Compound assignments to the inherited fields an extending type reaches as
// properties are written out as plain assignments, and nothing else is.

#include "compoundassignments.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* name;
    const char* line;
    const char* expected; // nullptr: the line stays as it is
};

// Lines inside "sub Circle.grow()" of a file where Circle inherits the fields
// x and name as properties, and Square none.
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
    {"an element", "a(1).x += 1", nullptr},
    {"not first in its statement", "print c.x += 1", nullptr},
    {"comparison", "if c.x <= 1 then c.x = 2", nullptr},
    {"in a string", "print \"c.x += 1\"", nullptr},
    {"in a comment", "' c.x += 1", nullptr},
    {"continued", "c.x += 1 + _", nullptr},
    {"directive", "#define GROW(v) v.x += 1", nullptr},
};

QByteArray expandedLine(const QByteArray& procedure, const QByteArray& line) {
    PropertyFields fields;
    fields.byType.insert("circle", {"x", "name"});
    fields.byType.insert("square", {});
    fields.all = {"x", "name"};
    MappedText text;
    text.text = procedure + "\n" + line + "\nend sub\nx += 1";
    text.origins.resize(4);
    spellOutCompoundAssignments(text, fields);
    const QList<QByteArray> lines = text.text.split('\n');
    EXPECT_EQ(lines.size(), 4) << "every line keeps its place";
    EXPECT_EQ(lines.value(3), QByteArray("x += 1")) << "outside any member";
    return lines.value(1);
}

TEST(CompoundAssignments, AreWrittenOutOnlyForPropertyFields) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(expandedLine("sub Circle.grow()", row.line),
                  QByteArray(row.expected ? row.expected : row.line));
    }
    EXPECT_EQ(expandedLine("sub Square.grow()", "x += 1"), QByteArray("x += 1"));
    // A procedure on one line ends there: the bare name after it is the module's.
    EXPECT_EQ(expandedLine("sub Circle.f() : x += 1 : end sub", "x += 1"), QByteArray("x += 1"));
    EXPECT_EQ(expandedLine("sub Circle.f() : x += 1 : end sub", "c.x += 1"),
              QByteArray("c.x = c.x + (1)"));
    EXPECT_EQ(expandedLine("private constructor Circle(byval n as integer)", "x += n"),
              QByteArray("x = x + (n)"));
}

} // namespace
