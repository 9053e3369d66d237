#include "linenumbering.h"
#include "lineviews.h"
#include "pipeline.h"
#include "qtprinting.h"
#include "snapshotregistry.h"
#include "sourcefile.h"
#include "sourcefilesondisk.h"
#include "sourcepass.h"
#include "text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

class SourcePassTest : public ::testing::Test {
protected:
    QTemporaryDir directory;
    SnapshotRegistry registry;

    QString path(const QString& name) const { return directory.filePath(name); }

    void write(const QString& name, const QByteArray& text) const {
        ASSERT_TRUE(writeFileBytes(path(name), text));
    }
    // The written text as the pass produced it, without its line directives.
    QByteArray read(const QString& name) const {
        return withoutLineDirectives(readFileBytes(path(name)).value_or(QByteArray()));
    }

    MappedText expand(const QString& name) {
        MappedText text;
        EXPECT_TRUE(rewriteSourceFile(path(name), registry, &text));
        return text;
    }

    // The written text's line n (1-based) and where it came from.
    static QByteArray lineOf(const MappedText& text, int n) { return ::lineOf(text.text, n - 1); }
};

const char* const stackTemplate = "template Stack\n"
                                  "items(0 to 15) as t1\n"
                                  "count as integer\n"
                                  "declare sub push(byval v as t1)\n"
                                  "end template\n"
                                  "sub Stack.push(byval v as t1)\n"
                                  "items(count) = v\n"
                                  "count += 1\n"
                                  "end sub\n";

} // namespace

TEST_F(SourcePassTest, WorkedExampleIsWrittenByteForByte) {
    write(QStringLiteral("main.bas"),
          QByteArray(stackTemplate) + QByteArray("dim s as Stack<<<double>>>"));
    const MappedText written = expand(QStringLiteral("main.bas"));

    const QByteArray expected = QByteArray("#ifndef __FBEXT_INSTANCE_Stack_double__\n"
                                           "#define __FBEXT_INSTANCE_Stack_double__\n"
                                           "type Stack_double\n"
                                           "\n"
                                           "items(0 to 15) as double\n"
                                           "count as integer\n"
                                           "declare sub push(byval v as double)\n"
                                           "end type \n"
                                           "\n"
                                           "\n"
                                           "private sub Stack_double.push(byval v as double)\n"
                                           "items(count) = v\n"
                                           "count += 1\n"
                                           "end sub\n"
                                           "\n"
                                           "\n"
                                           "#endif\n"
                                           "dim s as Stack_double");
    EXPECT_EQ(read(QStringLiteral("main.bas")), expected);
    EXPECT_EQ(written.text, expected);

    const QString main = path(QStringLiteral("main.bas"));
    QList<int> lineNumbers;
    for (const LineOrigin& origin : written.origins) {
        EXPECT_TRUE(!origin.isKnown() || origin.file() == main);
        lineNumbers.append(origin.line);
    }
    EXPECT_EQ(lineNumbers, (QList<int>{0, 0, 1, 0, 2, 3, 4, 5, 0, 0, 6, 7, 8, 9, 0, 0, 0, 10}));
}

// A file that the passes leave as it is, however many uses it has in strings
// and comments, is not written at all.
TEST_F(SourcePassTest, AFileWithoutExtensionSyntaxIsNotWritten) {
    const QByteArray plain = QByteArray(stackTemplate).replace("template Stack", "' Stack") +
                             "print 1\nprint \"Stack<<<x>>>\" ' Stack<<<y>>>\n"
                             "/' dim s as Stack<<<z>>>\n   '/\n";
    write(QStringLiteral("plain.bas"), plain);
    MappedText text;
    EXPECT_FALSE(rewriteSourceFile(path(QStringLiteral("plain.bas")), registry, &text));
    EXPECT_EQ(text.text, plain);
    EXPECT_EQ(readFileBytes(path(QStringLiteral("plain.bas"))), plain);
}

// Templates declared in included files are known to the including file, and
// an instance made from them maps back to the lines of the file that declared it.
TEST_F(SourcePassTest, IncludedFilesHandTheirTemplatesBack) {
    write(QStringLiteral("a.bi"), QByteArray("template A\nx as t1\nend template\n"));
    write(QStringLiteral("b.bi"), QByteArray("template B\ny as t1\nend template\n"));
    write(QStringLiteral("inner.bi"), QByteArray("template Inner\nz as t1\nend template\n"));
    write(QStringLiteral("mid.bi"), QByteArray("#include once \"inner.bi\"\n"));
    write(QStringLiteral("main.bas"), QByteArray("#include once \"a.bi\"\n"
                                                 "#include once \"b.bi\"\n"
                                                 "#include once \"mid.bi\"\n"
                                                 "dim p as A<<<integer>>>\n"
                                                 "dim q as B<<<byte>>>\n"
                                                 "dim r as Inner<<<short>>>\n"));
    const MappedText written = expand(QStringLiteral("main.bas"));
    EXPECT_EQ(written.text, QByteArray("#include once \"a.bi\"\n"
                                       "#include once \"b.bi\"\n"
                                       "#include once \"mid.bi\"\n"
                                       "#ifndef __FBEXT_INSTANCE_A_integer__\n"
                                       "#define __FBEXT_INSTANCE_A_integer__\n"
                                       "type A_integer\n\nx as integer\nend type \n\n\n"
                                       "#endif\n"
                                       "dim p as A_integer\n"
                                       "#ifndef __FBEXT_INSTANCE_B_byte__\n"
                                       "#define __FBEXT_INSTANCE_B_byte__\n"
                                       "type B_byte\n\ny as byte\nend type \n\n\n"
                                       "#endif\n"
                                       "dim q as B_byte\n"
                                       "#ifndef __FBEXT_INSTANCE_Inner_short__\n"
                                       "#define __FBEXT_INSTANCE_Inner_short__\n"
                                       "type Inner_short\n\nz as short\nend type \n\n\n"
                                       "#endif\n"
                                       "dim r as Inner_short\n"));
    // Each included file lost its declaration.
    EXPECT_EQ(read(QStringLiteral("a.bi")), QByteArray());
    EXPECT_EQ(read(QStringLiteral("inner.bi")), QByteArray());
    // One that has none is left as it is.
    EXPECT_EQ(read(QStringLiteral("mid.bi")), QByteArray("#include once \"inner.bi\"\n"));

    const QString inner = QDir(directory.path()).absoluteFilePath(QStringLiteral("inner.bi"));
    ASSERT_EQ(lineOf(written, 26), QByteArray("type Inner_short"));
    EXPECT_EQ(written.origins[25], (LineOrigin{inner, 1}));
    EXPECT_EQ(written.origins[27], (LineOrigin{inner, 2}));
    EXPECT_EQ(written.origins[28], (LineOrigin{inner, 3}));
    EXPECT_EQ(written.origins[32], (LineOrigin{path(QStringLiteral("main.bas")), 6}));
    EXPECT_EQ(written.origins.size(), written.text.count('\n') + 1);
}

TEST_F(SourcePassTest, FileAndItsIncludeEachGetTheInstanceTheyUse) {
    write(QStringLiteral("list.bi"),
          QByteArray(stackTemplate) + QByteArray("dim shared d as Stack<<<double>>>\n"));
    write(QStringLiteral("main.bas"),
          QByteArray("#include once \"list.bi\"\ndim s as Stack<<<double>>>\n"));
    const MappedText written = expand(QStringLiteral("main.bas"));

    // Each gets its own copy, guarded: the compiler keeps the first it reads.
    const QByteArray instance = QByteArray("#ifndef __FBEXT_INSTANCE_Stack_double__\n"
                                           "#define __FBEXT_INSTANCE_Stack_double__\n"
                                           "type Stack_double\n\n"
                                           "items(0 to 15) as double\n"
                                           "count as integer\n"
                                           "declare sub push(byval v as double)\n"
                                           "end type \n\n\n"
                                           "private sub Stack_double.push(byval v as double)\n"
                                           "items(count) = v\n"
                                           "count += 1\n"
                                           "end sub\n\n\n"
                                           "#endif\n");
    EXPECT_EQ(read(QStringLiteral("list.bi")), instance + "dim shared d as Stack_double\n");
    EXPECT_EQ(written.text, "#include once \"list.bi\"\n" + instance + "dim s as Stack_double\n");
    // The member line main.bas got from the header maps to the header's line.
    const QString list = QDir(directory.path()).absoluteFilePath(QStringLiteral("list.bi"));
    ASSERT_EQ(lineOf(written, 12), QByteArray("private sub Stack_double.push(byval v as double)"));
    EXPECT_EQ(written.origins[11], (LineOrigin{list, 6}));
    EXPECT_EQ(written.origins[18], (LineOrigin{path(QStringLiteral("main.bas")), 2}));
}

namespace {

// The include traversal, on files in a temporary folder.

struct Folder {
    QTemporaryDir temporary;
    QString path(const QString& name) const {
        return QDir::cleanPath(QDir(temporary.path()).filePath(name));
    }
    void write(const QString& name, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        ASSERT_TRUE(writeFileBytes(path(name), bytes));
    }
    QByteArray read(const QString& name) const { return readFileBytes(path(name)).value_or("?"); }
    QString key(const QString& name) const { return canonicalSourcePath(path(name)); }
};

TEST(IncludeLine, RecognisesIncludeWithOrWithoutOnceAndAQuotedName) {
    struct Case {
        const char* line;
        const char* name; // empty: not followed
    };
    const Case cases[] = {
        {"#include once \"list.bi\"", "list.bi"},
        {"  #INCLUDE ONCE \"list.bi\"", "list.bi"},
        {"#include once \"lib/list.bi\" ' comment", "lib/list.bi"},
        {"#include \"list.bi\"", "list.bi"},
        {"\t#include\tonce\t\"list.bi\"", "list.bi"},
        {"#Include \"list.bi\"", "list.bi"},
        {"#include once", ""},
        {"#include", ""},
        {"#include once \"\"", ""},
        {"#include once list.bi", ""},
        {"#include other \"list.bi\"", ""},
        {"#include once \"/abs/list.bi\"", "/abs/list.bi"},
        // The compiler needs no blank before the quote, and takes one after "#".
        {"#include\"list.bi\"", "list.bi"},
        {"#include once\"list.bi\"", "list.bi"},
        {"# include once \"list.bi\"", "list.bi"},
        {"#\tINCLUDE\tONCE\"lib/list.bi\"'comment", "lib/list.bi"},
        {"#includeonce \"list.bi\"", ""},
        {"#include onced \"list.bi\"", ""},
        {"# define X \"list.bi\"", ""},
        // The metacommand the compiler follows in its qb and fblite dialects.
        {"'$include: 'list.bi'", "list.bi"},
        {"  REM $INCLUDE: \"list.bi\"", "list.bi"},
        {"' $include once:'lib/list.bi' ' comment", "lib/list.bi"},
        {"'$include : 'list.bi'", "list.bi"},
        {"'$include: 'list.bi", ""},
        {"REM$include: 'list.bi'", ""},
        {"'$include 'list.bi'", ""},
        {"'$includes: 'list.bi'", ""},
        {"' see $include: 'list.bi'", ""},
        {"remark $include: 'list.bi'", ""},
        {"'$include: ''", ""},
        {"'$dynamic", ""},
#ifndef Q_OS_WIN
        {"#include once \"lib\\list.bi\"", "lib/list.bi"},
        {"'$include: 'lib\\list.bi'", "lib/list.bi"},
#endif
    };
    for (const Case& c : cases)
        EXPECT_EQ(includedName(c.line), QString::fromLatin1(c.name)) << c.line;
    // A directive continued with " _" goes on in the next line.
    const struct {
        const char* line;
        const char* next;
        const char* name;
    } continued[] = {
        {"#include _", "  \"list.bi\"", "list.bi"},
        {"# include once _ ' the list", "\t\"lib/list.bi\"", "lib/list.bi"},
        {"#include _", "  once \"list.bi\"", "list.bi"},
        {"#include _", "", ""},
        {"#include _", "print \"list.bi\"", ""},
        {"#include _x", "\"list.bi\"", ""},
        {"'$include: _", "'list.bi'", ""},
    };
    for (const auto& c : continued)
        EXPECT_EQ(includedName(c.line, c.next), QString::fromLatin1(c.name)) << c.line;
}

// The compiler looks for an include name beside the including file, then in
// the current folder, then in each -i folder in order (checked with the real
// compiler); a name found nowhere is not followed.
TEST(IncludeLine, NamesAreResolvedInTheCompilersOrder) {
    Folder folder;
    for (const char* name : {"src/beside.bi", "src/both.bi", "cwd/both.bi", "cwd/current.bi",
                             "i1/first.bi", "i2/first.bi", "i2/second.bi"})
        folder.write(QString::fromLatin1(name), "' x\n");
    const QString src = folder.path(QStringLiteral("src")) + u'/';
    const QStringList dirs = {folder.path(QStringLiteral("i1")), folder.path(QStringLiteral("i2"))};
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path(QStringLiteral("cwd")));
    struct Case {
        const char* name;
        const char* found; // relative to the folder; empty: none
    };
    const Case cases[] = {
        {"beside.bi", "src/beside.bi"},   {"both.bi", "src/both.bi"},
        {"current.bi", "cwd/current.bi"}, {"first.bi", "i1/first.bi"},
        {"second.bi", "i2/second.bi"},    {"nowhere.bi", ""},
    };
    for (const Case& c : cases) {
        const QString expected = *c.found ? folder.path(QString::fromLatin1(c.found)) : QString();
        EXPECT_EQ(resolveInclude(QString::fromLatin1(c.name), src, dirs), expected) << c.name;
    }
    QDir::setCurrent(previous);
}

TEST(IncludeLine, DirectoryIsThePathUpToItsLastSeparator) {
    EXPECT_EQ(includeDirectory(QStringLiteral("C:\\src\\main.bas")), QStringLiteral("C:\\src\\"));
    EXPECT_EQ(includeDirectory(QStringLiteral("/src/main.bas")), QStringLiteral("/src/"));
    EXPECT_EQ(includeDirectory(QStringLiteral("a\\b/main.bas")), QStringLiteral("a\\b/"));
    EXPECT_EQ(includeDirectory(QStringLiteral("main.bas")), QDir::currentPath());
}

TEST(SourcePass, KeepsTheFinalLineFeed) {
    Folder folder;
    folder.write(QStringLiteral("main.bas"), "template B\r\nx as t1\r\nend template\r\n"
                                             "dim b as B<<<byte>>>\r\nprint 2\n");
    SnapshotRegistry registry;
    rewriteSourceFile(folder.path(QStringLiteral("main.bas")), registry);
    EXPECT_TRUE(withoutLineDirectives(folder.read(QStringLiteral("main.bas")))
                    .endsWith(sourceBytesFromText("#endif\ndim b as B_byte\nprint 2\n")));
}

// The pass reads a file for templates only when "template" stands in it, in
// any letter case and anywhere, the first bytes of the file included (where
// a declaration without its end line is the only one).
TEST(SourcePass, FindsTemplatesWrittenInAnyLetterCase) {
    for (const QByteArray keyword : {"template", "TEMPLATE", "TeMpLaTe"}) {
        SCOPED_TRACE(keyword.constData());
        Folder folder;
        folder.write(QStringLiteral("main.bas"),
                     keyword + " B\nx as t1\nend " + keyword + "\ndim b as B<<<byte>>>\n");
        folder.write(QStringLiteral("unended.bas"), keyword + " B\nx as t1\n");
        SnapshotRegistry registry;
        TemplateRun run;
        EXPECT_TRUE(rewriteSourceFile(folder.path(QStringLiteral("main.bas")), registry, run));
        EXPECT_TRUE(withoutLineDirectives(folder.read(QStringLiteral("main.bas")))
                        .endsWith("dim b as B_byte\n"));
        EXPECT_FALSE(run.error);
        rewriteSourceFile(folder.path(QStringLiteral("unended.bas")), registry, run);
        EXPECT_TRUE(run.error);
    }
}

// A name given with -include is included at the top of every source file,
// found where an include name of that file is: its templates are the file's.
TEST(SourcePass, FilesGivenWithIncludeAreIncludedByEverySourceFile) {
    Folder folder;
    folder.write(QStringLiteral("lib/defs.bi"), QByteArray(stackTemplate));
    folder.write(QStringLiteral("src/defs.bi"), "template Stack\nv as t1\nend template\n");
    folder.write(QStringLiteral("src/b.bas"), "dim s as Stack<<<byte>>>\n");
    folder.write(QStringLiteral("a.bas"), "dim s as Stack<<<long>>>\n");
    folder.write(QStringLiteral("c.bas"), "dim s as Stack<<<long>>>\n");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path(QString()));
    SnapshotRegistry registry;
    TemplateRun run;
    run.includeDirectories = {folder.path(QStringLiteral("lib"))};
    run.preIncludes = {QStringLiteral("defs.bi")};
    // Found in the -i folder for a.bas; beside src/b.bas, its own.
    EXPECT_TRUE(rewriteSourceFile(folder.path(QStringLiteral("lib/defs.bi")), registry, run));
    EXPECT_TRUE(rewriteSourceFile(folder.path(QStringLiteral("a.bas")), registry, run));
    EXPECT_TRUE(rewriteSourceFile(folder.path(QStringLiteral("src/b.bas")), registry, run));
    run.preIncludes = {QStringLiteral("nowhere.bi")};
    EXPECT_FALSE(rewriteSourceFile(folder.path(QStringLiteral("c.bas")), registry, run));
    QDir::setCurrent(previous);
    const QByteArray a = withoutLineDirectives(folder.read(QStringLiteral("a.bas")));
    EXPECT_TRUE(a.contains("private sub Stack_long.push(byval v as long)")) << a.constData();
    EXPECT_TRUE(a.endsWith("dim s as Stack_long\n")) << a.constData();
    const QByteArray b = withoutLineDirectives(folder.read(QStringLiteral("src/b.bas")));
    EXPECT_TRUE(b.contains("v as byte")) << b.constData();
    EXPECT_FALSE(b.contains("push")) << b.constData();
    EXPECT_EQ(folder.read(QStringLiteral("c.bas")), QByteArray("dim s as Stack<<<long>>>\n"));
    EXPECT_FALSE(folder.read(QStringLiteral("lib/defs.bi")).contains("template"));
}

// A fault is the run's when no file that finished before has one, whether
// the included files were instantiated beside the pass or in line.
TEST(SourcePass, TheFirstFaultIsOfTheFirstFileToFinish) {
    for (const qsizetype besideFromBytes : {TemplateRun().besideFromBytes, qsizetype(0)}) {
        SCOPED_TRACE(besideFromBytes);
        Folder folder;
        folder.write(QStringLiteral("t.bi"), "template Stack\n  v as t1\nend template\n");
        folder.write(QStringLiteral("a.bi"), "#include once \"t.bi\"\ndim x as Stack<<<>>>\n");
        folder.write(QStringLiteral("b.bi"), "\n\ndim y as Stack<<<>>>\n");
        folder.write(QStringLiteral("main.bas"), "#include once \"a.bi\"\n#include once \"b.bi\"\n"
                                                 "dim z as Stack<<<>>>\n");
        TemplateRun run;
        run.besideFromBytes = besideFromBytes;
        ASSERT_TRUE(
            expandTemplates(folder.path(QStringLiteral("main.bas")), sourceFilesOnDisk(), run));
        ASSERT_TRUE(run.error.has_value());
        EXPECT_EQ(QFileInfo(run.error->origin.file()).fileName(), QStringLiteral("a.bi"));
        EXPECT_EQ(run.error->origin.line, 2);
    }
}

TEST(SourcePass, FollowsIncludesDepthFirstAndEachFileOnce) {
    Folder folder;
    folder.write(QStringLiteral("main.bas"), "#include once \"a.bi\"\n"
                                             "#include once \"lib/b.bi\"\n"
                                             "#include once \"a.bi\"\n"
                                             "#include once \"missing.bi\"\n"
                                             "#include \"c.bi\"\n"
                                             "#include \"c.bi\"\n");
    folder.write(QStringLiteral("a.bi"), "#include once \"lib/b.bi\"\n");
    folder.write(QStringLiteral("lib/b.bi"), "#include once \"d.bi\"\n");
    folder.write(QStringLiteral("lib/d.bi"), "d\n");
    folder.write(QStringLiteral("c.bi"), "c\n");
    const QString main = folder.path(QStringLiteral("main.bas"));
    SnapshotRegistry registry;
    rewriteSourceFile(main, registry);

    const QStringList expected = {
        folder.key(QStringLiteral("main.bas")), folder.key(QStringLiteral("a.bi")),
        folder.key(QStringLiteral("lib/b.bi")), folder.key(QStringLiteral("lib/d.bi")),
        folder.key(QStringLiteral("c.bi"))}; // without "once" too, and once however often
    EXPECT_EQ(registry.touchedFiles(), expected);
    EXPECT_EQ(folder.read(QStringLiteral("c.bi")), QByteArray("c\n"));
    EXPECT_EQ(folder.read(QStringLiteral("lib/d.bi")), QByteArray("d\n"));
}

// An include line the compiler never follows, commented out or in an "#if 0"
// branch, reads nothing: a broken header it names is not reported.
TEST(SourcePass, IncludesSwitchedOffAreNotFollowed) {
    Folder folder;
    folder.write(QStringLiteral("old.bi"), "template Broken\nv as t1\n");
    folder.write(QStringLiteral("live.bi"), "l\n");
    folder.write(QStringLiteral("main.bas"), "/' gone:\n"
                                             "#include \"old.bi\"\n"
                                             "'/\n"
                                             "#if 0\n"
                                             "#include once \"old.bi\"\n"
                                             "#else\n"
                                             "#include once \"live.bi\"\n"
                                             "#endif\n"
                                             "' #include \"old.bi\"\n");
    SnapshotRegistry registry;
    rewriteSourceFile(folder.path(QStringLiteral("main.bas")), registry);
    EXPECT_EQ(registry.touchedFiles(), QStringList({folder.key(QStringLiteral("main.bas")),
                                                    folder.key(QStringLiteral("live.bi"))}));
}

// The class pass reads a file's own text: the enums its headers declare,
// through every level of includes, and the dialect the last of them names
// are told it. A header met again tells them again; a comment names none.
// A "#lang _" names the dialect on the next line.
TEST(SourcePass, IncludedFilesTellTheirEnumsAndDialect) {
    Folder folder;
    folder.write(QStringLiteral("shapes.bi"), "#include once \"geo.bi\"\n"
                                              "enum Fill : Hollow : end enum\n");
    folder.write(QStringLiteral("geo.bi"), "#lang \"fblite\"\n"
                                           "namespace Geo\nenum Mode\nend enum\nend namespace\n");
    folder.write(QStringLiteral("quiet.bi"), "/'\n#lang \"qb\"\n'/\n' #lang \"qb\"\n");
    folder.write(QStringLiteral("a.bas"), "#include once \"shapes.bi\"\n"
                                          "#include once \"quiet.bi\"\nenum Own\nend enum\n");
    folder.write(QStringLiteral("b.bas"), "#include \"quiet.bi\"\n#include \"shapes.bi\"\n");
    folder.write(QStringLiteral("c.bas"), "#include \"quiet.bi\"\n");
    TemplateRun run;
    ASSERT_TRUE(expandTemplates(folder.path(QStringLiteral("a.bas")), sourceFilesOnDisk(), run));
    const QSet<QByteArray> enums = {"fill", "mode", "geo.mode"};
    EXPECT_EQ(run.headerEnums, enums);
    EXPECT_EQ(run.headerDialect, QByteArray("fblite"));
    ASSERT_TRUE(expandTemplates(folder.path(QStringLiteral("b.bas")), sourceFilesOnDisk(), run));
    EXPECT_EQ(run.headerEnums, enums);
    EXPECT_EQ(run.headerDialect, QByteArray("fblite"));
    ASSERT_TRUE(expandTemplates(folder.path(QStringLiteral("c.bas")), sourceFilesOnDisk(), run));
    EXPECT_TRUE(run.headerEnums.isEmpty());
    EXPECT_TRUE(run.headerDialect.isEmpty());
    folder.write(QStringLiteral("legacy.bi"), "#lang _ ' continued\n  \"qb\"\n");
    folder.write(QStringLiteral("d.bas"), "#include \"legacy.bi\"\n");
    ASSERT_TRUE(expandTemplates(folder.path(QStringLiteral("d.bas")), sourceFilesOnDisk(), run));
    EXPECT_EQ(run.headerDialect, QByteArray("qb"));
}

// An "#undef" in an included file counts at the include line, as one
// written there: a macro argument undefined between two uses of its instance
// is refused (error 904) at the second use; anywhere else it is not. Each
// row: main.bas's lines after the template and "#define ELEM integer", and
// the line of main.bas refused (0: none).
TEST(SourcePass, AnIncludedFilesUndefCountsAtItsIncludeLine) {
    const struct {
        const char* lines;
        int refused;
    } cases[] = {
        {"dim a as Cell<<<ELEM>>>\n#include \"redefine.bi\"\ndim b as Cell<<<ELEM>>>\n", 7},
        {"dim a as Cell<<<ELEM>>>\n#include once \"outer.bi\"\ndim b as Cell<<<ELEM>>>\n", 7},
        {"#include \"redefine.bi\"\ndim a as Cell<<<ELEM>>>\ndim b as Cell<<<ELEM>>>\n", 0},
        {"dim a as Cell<<<ELEM>>>\n#include \"other.bi\"\ndim b as Cell<<<ELEM>>>\n", 0},
        // Spelt with blanks, or continued onto the next line.
        {"dim a as Cell<<<ELEM>>>\n#include \"spelt.bi\"\ndim b as Cell<<<ELEM>>>\n", 7},
        // Included once above: the "#include once" below runs nothing again.
        {"#include once \"redefine.bi\"\ndim a as Cell<<<ELEM>>>\n#include once "
         "\"redefine.bi\"\ndim b as Cell<<<ELEM>>>\n",
         0},
        {"dim a as Cell<<<ELEM>>>\n#include \"commented.bi\"\ndim b as Cell<<<ELEM>>>\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        Folder folder;
        folder.write(QStringLiteral("redefine.bi"), "#undef ELEM\n#define ELEM double\n");
        folder.write(QStringLiteral("outer.bi"), "' more types\n#include \"redefine.bi\"\n");
        folder.write(QStringLiteral("other.bi"), "#undef OTHER\n");
        folder.write(QStringLiteral("spelt.bi"), "#  undef OTHER\n# UNDEF _ ' ELEM\n  ELEM\n");
        folder.write(QStringLiteral("commented.bi"), "/'\n#undef ELEM\n'/\n' #undef ELEM\n");
        folder.write(QStringLiteral("main.bas"),
                     QByteArray("template Cell\n  v as t1\nend template\n#define ELEM integer\n") +
                         c.lines);
        folder.write(QStringLiteral("first.bas"), "#include \"outer.bi\"\n");
        // Alone, and after another source file of the run that included the
        // headers too: each source file includes them for itself.
        for (const bool afterAnother : {false, true}) {
            SCOPED_TRACE(afterAnother);
            TemplateRun run;
            if (afterAnother) {
                ASSERT_TRUE(expandTemplates(folder.path(QStringLiteral("first.bas")),
                                            sourceFilesOnDisk(), run));
                ASSERT_FALSE(run.error.has_value());
            }
            ASSERT_TRUE(
                expandTemplates(folder.path(QStringLiteral("main.bas")), sourceFilesOnDisk(), run));
            if (c.refused == 0) {
                EXPECT_FALSE(run.error.has_value()) << run.error->text.constData();
                continue;
            }
            ASSERT_TRUE(run.error.has_value());
            EXPECT_EQ(run.error->number, int(TemplateError::RedefinedArgument));
            EXPECT_EQ(QFileInfo(run.error->origin.file()).fileName(), QStringLiteral("main.bas"));
            EXPECT_EQ(run.error->origin.line, c.refused);
        }
    }
}

TEST(SourcePass, AFileReachedUnderTwoSpellingsIsExpandedOnce) {
    Folder folder;
    folder.write(QStringLiteral("sub/main.bas"), "#include once \"../sub/./x.bi\"\n"
                                                 "#include once \"x.bi\"\n");
    folder.write(QStringLiteral("sub/x.bi"), "x\n");
    const QString main = folder.path(QStringLiteral("sub/main.bas"));
    SnapshotRegistry registry;
    rewriteSourceFile(main, registry);
    const QStringList touched = registry.touchedFiles();
    EXPECT_EQ(touched.count(folder.key(QStringLiteral("sub/x.bi"))), 1);
    EXPECT_EQ(touched.size(), 2);
    EXPECT_EQ(registry.snapshotOf(folder.path(QStringLiteral("sub/x.bi")))->bytes,
              QByteArray("x\n"));
}

} // namespace

namespace {

// The pass alone, over files on disk: a chain of 20,000 headers hands the
// template at its end to the file at its start.
TEST(SourcePass, FollowsAChainOfTwentyThousandIncludes) {
    Folder folder;
    const int depth = 20000;
    for (int i = 0; i < depth; ++i)
        folder.write(QStringLiteral("h%1.bi").arg(i),
                     i + 1 < depth ? "#include once \"h" + QByteArray::number(i + 1) + ".bi\"\n"
                                   : QByteArray("template Box\n  v as t1\nend template\n"));
    folder.write(QStringLiteral("main.bas"), "#include once \"h0.bi\"\ndim b as Box<<<byte>>>\n");
    TemplateRun run;
    const std::optional<MappedText> text =
        expandTemplates(folder.path(QStringLiteral("main.bas")), sourceFilesOnDisk(), run);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->text.contains("\ntype Box_byte\n"));
    EXPECT_TRUE(text->text.endsWith("#endif\ndim b as Box_byte\n"));
    EXPECT_EQ(run.expanded.size(), depth + 1);
}

} // namespace
