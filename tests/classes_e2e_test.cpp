#include "classtext.h"
#include "linenumbering.h"
#include "pipeline.h"
#include "sandbox.h"
#include "snapshotregistry.h"
#include "sourcefile.h"
#include "sourcefilesondisk.h"
#include "text.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// What the template pass alone makes of a file, run in this process on a copy.
QByteArray templatePassOnly(const QByteArray& source) {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("copy.bas"));
    writeFileBytes(path, source);
    TemplateRun run;
    return expandTemplates(path, sourceFilesOnDisk(), run).value_or(MappedText()).text;
}

// What the two passes make of a file, run in this process on a copy of it.
QByteArray expectedCompilerText(const QByteArray& source) {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("copy.bas"));
    writeFileBytes(path, source);
    SnapshotRegistry registry;
    MappedText text;
    rewriteSourceFile(path, registry, &text);
    return text.text;
}

// The text the compiler was handed for an argument, without its line directives.
QByteArray compiledText(const Sandbox& sandbox, int argument) {
    return withoutLineDirectives(sourceTextFromBytes(sandbox.compiledText(argument))->text);
}

const QByteArray shapesProgram = "template Stack\n"
                                 "  items(9) as t1\n"
                                 "  count as integer\n"
                                 "end template\n"
                                 "\n"
                                 "type Shape\n"
                                 "private:\n"
                                 "  x as integer\n"
                                 "end type\n"
                                 "\n"
                                 "sub Shape.move(byval dx as integer)\n"
                                 "  x += dx\n"
                                 "end sub\n"
                                 "\n"
                                 "type Circle extends Shape\n"
                                 "  r as integer\n"
                                 "end type\n"
                                 "\n"
                                 "dim s as Stack<<<integer>>>\n"
                                 "dim c as Circle\n"
                                 "c.move(2)\n"
                                 "print c.x\n";

TEST(ClassesEndToEnd, CompilerGetsBothPassesAndTheSourceIsRestored) {
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("main.bas"), shapesProgram);
    sandbox.scriptCompiler("compiled\n");
    const RunResult result = sandbox.run({QStringLiteral("main.bas")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, QByteArray("compiled\n"));

    const QByteArray compiled = compiledText(sandbox, 0);
    EXPECT_EQ(compiled, expectedCompilerText(shapesProgram));
    // Both passes have done their work on what the compiler reads.
    EXPECT_TRUE(compiled.contains(QByteArray("\ntype Stack_integer\n")));
    EXPECT_TRUE(compiled.contains(QByteArray("\n#endif\ndim s as Stack_integer\n")));
    EXPECT_TRUE(compiled.contains(QByteArray("\ntype Circle\n")));
    EXPECT_TRUE(compiled.contains(QByteArray("  parent as Shape_generic_public_member\n")));
    EXPECT_TRUE(compiled.contains(QByteArray("sub Circle.move(byval dx as integer) \n")));
    EXPECT_FALSE(compiled.contains(QByteArray("extends")));

    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), shapesProgram);
}

TEST(ClassesEndToEnd, CarriageReturnsAndEveryFileAreRestored) {
    Sandbox sandbox;
    QByteArray windowsText = shapesProgram;
    windowsText.replace("\n", "\r\n");
    sandbox.writeFile(QStringLiteral("a.bas"), windowsText);
    const QByteArray header = "type Point\n  x as integer\nend type\ntype Point3 extends Point\n  "
                              "z as integer\nend type\n";
    sandbox.writeFile(QStringLiteral("b.bi"), header);
    sandbox.scriptCompiler("");
    sandbox.run({QStringLiteral("a.bas"), QStringLiteral("b.bi"), QStringLiteral("-x")});
    EXPECT_TRUE(compiledText(sandbox, 1).contains(QByteArray("type Point_generic_public_member")));
    EXPECT_EQ(sandbox.readFile(QStringLiteral("a.bas")), windowsText);
    EXPECT_EQ(sandbox.readFile(QStringLiteral("b.bi")), header);
}

TEST(ClassesEndToEnd, ConstructorsDestructorAndOperatorReachTheTwin) {
    const QByteArray program = "type Shape\n"
                               "  x as integer\n"
                               "  declare constructor()\n"
                               "  declare constructor(byval n as integer)\n"
                               "  declare destructor()\n"
                               "  declare operator cast() as string\n"
                               "end type\n"
                               "constructor Shape()\n"
                               "  x = 0\n"
                               "end constructor\n"
                               "constructor shape(byval n as integer)\n"
                               "  x = n\n"
                               "end constructor\n"
                               "destructor Shape\n"
                               "end destructor\n"
                               "operator Shape.cast() as string\n"
                               "  return str(x)\n"
                               "end operator\n"
                               "type Circle extends Shape\n"
                               "  r as integer\n"
                               "end type\n"
                               "type Ring extends Circle\n"
                               "  inner as integer\n"
                               "end type\n"
                               "dim ring as Ring\n"
                               "print ring.x\n";
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("shapes.bas"), program);
    sandbox.writeFile(QStringLiteral("other.bas"), "print 1\n");
    sandbox.scriptCompiler("");
    sandbox.run({QStringLiteral("shapes.bas"), QStringLiteral("other.bas")});

    const QByteArray compiled = compiledText(sandbox, 0);
    EXPECT_EQ(compiled, expectedCompilerText(program));
    for (const char* expected : {
             "\nconstructor Shape_generic_public_member()\n  x = 0\nend constructor\n",
             "\nconstructor Shape_generic_public_member(byval n as integer)\n  x = n\n",
             "\ndestructor Shape_generic_public_member\nend destructor\n",
             "\noperator Shape_generic_public_member.cast() as string\n  return str(x)\n",
             // The source's own implementations stay where they were.
             "\nconstructor shape(byval n as integer)\n",
             // Inherited through the chain, without constructors or operators.
             "\n  parent as Circle_generic_public_member\n",
             "\nproperty Ring.x() as integer\n",
         })
        EXPECT_TRUE(compiled.contains(expected)) << expected;
    EXPECT_FALSE(compiled.contains(QByteArray("Ring.cast")));
    EXPECT_FALSE(compiled.contains(QByteArray("constructor Circle")));

    EXPECT_EQ(sandbox.readFile(QStringLiteral("shapes.bas")), program);
    EXPECT_EQ(sandbox.readFile(QStringLiteral("other.bas")), QByteArray("print 1\n"));
}

TEST(ClassesEndToEnd, OrdinaryFreeBasicReachesTheCompilerUntouchedByTheClassPass) {
    const QByteArray program = "type Animal extends Object\n"
                               "  declare abstract function speak() as string\n"
                               "end type\n"
                               "type Dog extends Animal\n"
                               "  declare function speak() as string override\n"
                               "end type\n"
                               "function Dog.speak() as string\n"
                               "  return \"woof\"\n"
                               "end function\n"
                               "type Vec\n"
                               "  x as single\n"
                               "  declare constructor(byref other as Vec)\n"
                               "  declare operator let(byref rhs as Vec)\n"
                               "end type\n"
                               "constructor Vec(byref other as Vec)\n"
                               "  x = other.x\n"
                               "end constructor\n"
                               "operator Vec.let(byref rhs as Vec)\n"
                               "  x = rhs.x\n"
                               "end operator\n"
                               "dim d as Dog\n"
                               "print d.speak()\n";
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("plain.bas"), program);
    sandbox.scriptCompiler("");
    sandbox.run({QStringLiteral("plain.bas")});
    EXPECT_EQ(compiledText(sandbox, 0), templatePassOnly(program));
    EXPECT_EQ(sandbox.readFile(QStringLiteral("plain.bas")), program);
}

} // namespace

namespace {

TEST(ClassesEndToEnd, UnreadableFileIsNeitherRegisteredNorWritten) {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("missing.bas"));
    SnapshotRegistry registry;
    EXPECT_FALSE(rewriteSourceFile(path, registry));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(registry.touchedFiles().isEmpty());

    const QString present = directory.filePath(QStringLiteral("present.bas"));
    writeFileBytes(present, "type A\nend type\ntype B extends A\nend type\n");
    EXPECT_TRUE(rewriteSourceFile(present, registry));
    EXPECT_TRUE(registry.isTouched(present));
    EXPECT_TRUE(readFileBytes(present)->contains("type A_generic_public_member"));
    EXPECT_TRUE(registry.restoreSources().isComplete());
    EXPECT_EQ(readFileBytes(present).value_or(QByteArray()),
              QByteArray("type A\nend type\ntype B extends A\nend type\n"));
}

} // namespace
