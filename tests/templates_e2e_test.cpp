#include "linenumbering.h"
#include "sandbox.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

// The program installed as fbc, with the stand-in compiler beside it as fbc2.

namespace {

const QByteArray header = "' a stack of anything, such as Stack<<<integer>>>\r\n"
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
                            "' dim old as Stack<<<Old>>>\r\n"
                            "s.push(1.5) /' Stack<<<long>>>\r\n"
                            "  '/ : print s.size, \"Stack<<<kept>>>\"\r\n";

QByteArray stackInstance(const QByteArray& name, const QByteArray& type) {
    return "#ifndef __FBEXT_INSTANCE_" + name + "__\n#define __FBEXT_INSTANCE_" + name + "__\n" +
           "type " + name + "\n\n" + "  items(0 to 15) as " + type + "\n" + "  count as integer\n" +
           "  declare sub push(byval v as " + type + ")\n" +
           "  declare property size() as integer\n" + "end type \n\n\n" + "private sub " + name +
           ".push(byval v as " + type + ")\n" + "  items(count) = v\n" + "  count += 1\n" +
           "end sub\n\n\n" + "private property " + name + ".size() as integer\n" +
           "  return count\n" + "end property\n\n\n#endif\n";
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
    // Each instance comes right before its first use; uses in strings and
    // comments stay as they are and make none.
    EXPECT_EQ(withoutLineDirectives(calls[0].files.value(0)),
              "#include once \"lib/stack.bi\"\n" + stackInstance("Stack_double", "double") +
                  "dim s as Stack_double\n" + stackInstance("Stack_string", "String") +
                  "dim t as Stack_string\n"
                  "' dim old as Stack<<<Old>>>\n"
                  "s.push(1.5) /' Stack<<<long>>>\n"
                  "  '/ : print s.size, \"Stack<<<kept>>>\"\n");
    EXPECT_EQ(withoutLineDirectives(calls[0].files.value(1)),
              "' a stack of anything, such as Stack<<<integer>>>\n" +
                  stackInstance("Stack_double", "double") + "dim shared spare as Stack_double\n");

    // Both files hold their own bytes again, line ends included.
    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), mainFile);
    EXPECT_EQ(sandbox.readFile(QStringLiteral("lib/stack.bi")), header);
}

namespace {

// A chain of headers, each including the next, the last declaring a template
// that main.bas uses, in folder.
void writeIncludeChain(const Sandbox& sandbox, int depth) {
    for (int i = 0; i < depth; ++i) {
        const QByteArray next = i + 1 < depth
                                    ? "#include once \"h" + QByteArray::number(i + 1) + ".bi\"\n"
                                    : "template Box\n  v as t1\nend template\n";
        sandbox.writeFile(QStringLiteral("h%1.bi").arg(i), next);
    }
    sandbox.writeFile(QStringLiteral("main.bas"),
                      "#include once \"h0.bi\"\ndim b as Box<<<byte>>>\n");
}

} // namespace

// Included files are followed without a call per level, so a chain of 20,000
// headers cannot overflow the program's stack: the run ends as a run ends,
// never by a signal. Each file is held open for the run, so where the
// process may not open that many files the run stops with one line before
// anything is compiled, and every file is as it was.
TEST(TemplatesEndToEnd, AChainOfTwentyThousandIncludesIsFollowedWithoutDeepRecursion) {
    const int depth = 20000;
    Sandbox sandbox;
    // The journal on a memory file system where there is one: twenty thousand
    // originals flushed to a disk take minutes.
    QTemporaryDir memory(QStringLiteral("/dev/shm/fbext-test-XXXXXX"));
    if (memory.isValid())
        sandbox.setEnvironment(QStringLiteral("XDG_DATA_HOME"), memory.path());
    writeIncludeChain(sandbox, depth);
    sandbox.scriptCompiler("compiled\n");
    const RunResult result = sandbox.run({QStringLiteral("main.bas")});
    ASSERT_NE(result.exitCode, -1) << "killed by a signal";
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    if (files.rlim_cur > rlim_t(depth) + 100) {
        EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
        EXPECT_TRUE(withoutLineDirectives(sandbox.compiledText(0)).contains("\ntype Box_byte\n"));
    } else {
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.standardError.count('\n'), 1) << result.standardError.constData();
        EXPECT_TRUE(sandbox.calls().isEmpty());
    }
    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")),
              "#include once \"h0.bi\"\ndim b as Box<<<byte>>>\n");
    EXPECT_EQ(sandbox.readFile(QStringLiteral("h%1.bi").arg(depth - 1)),
              "template Box\n  v as t1\nend template\n");
}

// A file the run has no descriptor left for is not taken for a missing one:
// passed over, a header's template would reach the compiler unexpanded. The
// run stops with one line before anything is compiled, whichever file the
// limit meets first (one of the plain headers, or the template's).
TEST(TemplatesEndToEnd, RunOutOfOpenFilesStopsBeforeCompiling) {
    Sandbox sandbox;
    QByteArray includes;
    for (int i = 0; i < 200; ++i) {
        sandbox.writeFile(QStringLiteral("p%1.bi").arg(i),
                          "const K" + QByteArray::number(i) + " = 1\n");
        includes += "#include once \"p" + QByteArray::number(i) + ".bi\"\n";
    }
    const QByteArray box = "template Box\n  v as t1\nend template\n";
    const QByteArray main = includes + "#include once \"box.bi\"\ndim b as Box<<<byte>>>\n";
    sandbox.writeFile(QStringLiteral("box.bi"), box);
    sandbox.writeFile(QStringLiteral("main.bas"), main);
    sandbox.scriptCompiler("compiled\n");
    Launch launch;
    launch.openFileLimit = 64;
    const auto run = sandbox.start({QStringLiteral("main.bas")}, launch);
    ASSERT_TRUE(run->waitForFinished(30000));
    EXPECT_EQ(run->exitCode(), 1);
    const QByteArray said = run->readAllStandardError();
    EXPECT_EQ(said.count('\n'), 1) << said.constData();
    EXPECT_TRUE(said.contains(": Too many open files; nothing was compiled")) << said.constData();
    EXPECT_TRUE(sandbox.calls().isEmpty()) << "the compiler was run";
    EXPECT_EQ(sandbox.readFile(QStringLiteral("box.bi")), box);
    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), main);
}
