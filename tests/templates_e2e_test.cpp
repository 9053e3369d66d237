#include "linenumbering.h"
#include "sandbox.h"

#include <gtest/gtest.h>

#include <QFile>

// The program installed as fbc, with the stand-in compiler beside it as fbc2.

namespace {

const QByteArray header = "' a stack of anything\r\n"
                          "template Stack\r\n"
                          "  items(0 to 15) as t1\r\n"
                          "  count as integer\r\n"
                          "  declare sub push(byval v as t1)\r\n"
                          "  declare property size() as integer\r\n"
                          "end template\r\n"
                          "sub Stack.push(byval v as t1)\r\n"
                          "  items(count) = v\r\n"
                          "  count += 1\r\n"
                          "end sub\r\n"
                          "property Stack.size() as integer\r\n"
                          "  return count\r\n"
                          "end property\r\n"
                          "dim shared spare as Stack<<<double>>>\r\n";

const QByteArray mainFile = "#include once \"lib/stack.bi\"\r\n"
                            "dim s as Stack<<<double>>>\r\n"
                            "dim t as Stack<<<String>>>\r\n"
                            "s.push(1.5)\r\n"
                            "print s.size, \"Stack<<<kept>>>\"\r\n";

QByteArray stackInstance(const QByteArray& name, const QByteArray& type) {
    return "type " + name + "\n\n" + "  items(0 to 15) as " + type + "\n" + "  count as integer\n" +
           "  declare sub push(byval v as " + type + ")\n" +
           "  declare property size() as integer\n" + "end type \n\n\n" + "sub " + name +
           ".push(byval v as " + type + ")\n" + "  items(count) = v\n" + "  count += 1\n" +
           "end sub\n\n\n" + "property " + name + ".size() as integer\n" + "  return count\n" +
           "end property\n\n";
}

} // namespace

TEST(TemplatesEndToEnd, CompilerSeesExpandedTextsAndSourcesAreRestored) {
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("lib/stack.bi"), header);
    sandbox.writeFile(QStringLiteral("main.bas"), mainFile);
    // A second name for the header that is no source-file argument, so the
    // stand-in compiler records what the header holds during the compile.
    ASSERT_TRUE(QFile::link(sandbox.path(QStringLiteral("lib/stack.bi")),
                            sandbox.path(QStringLiteral("header.link"))));
    sandbox.scriptCompiler("compiled\n");

    const RunResult result =
        sandbox.run({QStringLiteral("main.bas"), QStringLiteral("header.link")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, QByteArray("compiled\n"));

    const QList<CompilerCall> calls = sandbox.calls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(withoutLineDirectives(calls[0].files.value(0)),
              stackInstance("Stack_double", "double") + "\n" +
                  stackInstance("Stack_string", "String") + "\n" +
                  "#include once \"lib/stack.bi\"\n"
                  "dim s as Stack_double\n"
                  "dim t as Stack_string\n"
                  "s.push(1.5)\n"
                  "print s.size, \"Stack<<<kept>>>\"\n");
    EXPECT_EQ(withoutLineDirectives(calls[0].files.value(1)),
              stackInstance("Stack_double", "double") + "\n" +
                  "' a stack of anything\n"
                  "dim shared spare as Stack_double\n");

    // Both files hold their own bytes again, line ends included.
    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), mainFile);
    EXPECT_EQ(sandbox.readFile(QStringLiteral("lib/stack.bi")), header);
}
