#include "linenumbering.h"
#include "lineviews.h"
#include "pipeline.h"
#include "qtprinting.h"
#include "snapshotregistry.h"
#include "sourcefile.h"
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

    const QByteArray expected = QByteArray("type Stack_double\n"
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
                                           "\n"
                                           "\n"
                                           "dim s as Stack_double");
    EXPECT_EQ(read(QStringLiteral("main.bas")), expected);
    EXPECT_EQ(written.text, expected);

    const QString main = path(QStringLiteral("main.bas"));
    QList<int> lineNumbers;
    for (const LineOrigin& origin : written.origins) {
        EXPECT_TRUE(!origin.isKnown() || origin.file() == main);
        lineNumbers.append(origin.line);
    }
    EXPECT_EQ(lineNumbers, (QList<int>{1, 0, 2, 3, 4, 5, 0, 0, 6, 7, 8, 9, 0, 0, 10}));
}

TEST_F(SourcePassTest, FileWithoutTemplatesGetsAnEmptyFirstLine) {
    write(QStringLiteral("plain.bas"), QByteArray("print 1\nprint \"Stack<<<x>>>\"\n"));
    const MappedText written = expand(QStringLiteral("plain.bas"));
    EXPECT_EQ(read(QStringLiteral("plain.bas")), QByteArray("\nprint 1\nprint \"Stack<<<x>>>\"\n"));
    const QString plain = path(QStringLiteral("plain.bas"));
    EXPECT_EQ(written.origins,
              (QList<LineOrigin>{LineOrigin(), {plain, 1}, {plain, 2}, {plain, 3}}));
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
    EXPECT_EQ(written.text, QByteArray("type A_integer\n\nx as integer\nend type \n\n\n"
                                       "type B_byte\n\ny as byte\nend type \n\n\n"
                                       "type Inner_short\n\nz as short\nend type \n\n\n"
                                       "#include once \"a.bi\"\n"
                                       "#include once \"b.bi\"\n"
                                       "#include once \"mid.bi\"\n"
                                       "dim p as A_integer\n"
                                       "dim q as B_byte\n"
                                       "dim r as Inner_short\n"));
    // Each included file lost its declaration.
    EXPECT_EQ(read(QStringLiteral("a.bi")), QByteArray("\n"));
    EXPECT_EQ(read(QStringLiteral("inner.bi")), QByteArray("\n"));
    EXPECT_EQ(read(QStringLiteral("mid.bi")), QByteArray("\n#include once \"inner.bi\"\n"));

    const QString inner = QDir(directory.path()).absoluteFilePath(QStringLiteral("inner.bi"));
    ASSERT_EQ(lineOf(written, 13), QByteArray("type Inner_short"));
    EXPECT_EQ(written.origins[12], (LineOrigin{inner, 1}));
    EXPECT_EQ(written.origins[14], (LineOrigin{inner, 2}));
    EXPECT_EQ(written.origins[15], (LineOrigin{inner, 3}));
    EXPECT_EQ(written.origins[18], (LineOrigin{path(QStringLiteral("main.bas")), 1}));
    EXPECT_EQ(written.origins.size(), written.text.count('\n') + 1);
}

TEST_F(SourcePassTest, FileAndItsIncludeEachGetTheInstanceTheyUse) {
    write(QStringLiteral("list.bi"),
          QByteArray(stackTemplate) + QByteArray("dim shared d as Stack<<<double>>>\n"));
    write(QStringLiteral("main.bas"),
          QByteArray("#include once \"list.bi\"\ndim s as Stack<<<double>>>\n"));
    const MappedText written = expand(QStringLiteral("main.bas"));

    const QByteArray instance = QByteArray("type Stack_double\n\n"
                                           "items(0 to 15) as double\n"
                                           "count as integer\n"
                                           "declare sub push(byval v as double)\n"
                                           "end type \n\n\n"
                                           "sub Stack_double.push(byval v as double)\n"
                                           "items(count) = v\n"
                                           "count += 1\n"
                                           "end sub\n\n");
    EXPECT_EQ(read(QStringLiteral("list.bi")),
              instance + QByteArray("\ndim shared d as Stack_double\n"));
    EXPECT_EQ(written.text, instance + QByteArray("\n#include once \"list.bi\"\n"
                                                  "dim s as Stack_double\n"));
    // The member line main.bas got from the header maps to the header's line.
    const QString list = QDir(directory.path()).absoluteFilePath(QStringLiteral("list.bi"));
    ASSERT_EQ(lineOf(written, 9), QByteArray("sub Stack_double.push(byval v as double)"));
    EXPECT_EQ(written.origins[8], (LineOrigin{list, 6}));
    EXPECT_EQ(written.origins[15], (LineOrigin{path(QStringLiteral("main.bas")), 2}));
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

TEST(IncludeLine, RecognisesOnlyIncludeOnceWithAQuotedName) {
    const QString dir = QStringLiteral("/src/");
    struct Case {
        const char* line;
        const char* path; // empty: not followed
    };
    const Case cases[] = {
        {"#include once \"list.bi\"", "/src/list.bi"},
        {"  #INCLUDE ONCE \"list.bi\"", "/src/list.bi"},
        {"#include once \"lib/list.bi\" ' comment", "/src/lib/list.bi"},
        {"#include \"list.bi\"", ""},
        {"#include\tonce \"list.bi\"", ""},
        {"#include once", ""},
        {"#include once \"\"", ""},
        {"#include once list.bi", ""},
        {"#include once \"/abs/list.bi\"", "/abs/list.bi"},
#ifndef Q_OS_WIN
        {"#include once \"lib\\list.bi\"", "/src/lib/list.bi"},
#endif
    };
    for (const Case& c : cases)
        EXPECT_EQ(includedPath(c.line, dir), QString::fromLatin1(c.path)) << c.line;
}

TEST(IncludeLine, DirectoryIsThePathUpToItsLastSeparator) {
    EXPECT_EQ(includeDirectory(QStringLiteral("C:\\src\\main.bas")), QStringLiteral("C:\\src\\"));
    EXPECT_EQ(includeDirectory(QStringLiteral("/src/main.bas")), QStringLiteral("/src/"));
    EXPECT_EQ(includeDirectory(QStringLiteral("a\\b/main.bas")), QStringLiteral("a\\b/"));
    EXPECT_EQ(includeDirectory(QStringLiteral("main.bas")), QDir::currentPath());
}

TEST(SourcePass, WritesAnEmptyInstanceLineOnTopAndKeepsTheFinalLineFeed) {
    Folder folder;
    folder.write(QStringLiteral("main.bas"), "print 1\r\nprint 2\n");
    SnapshotRegistry registry;
    rewriteSourceFile(folder.path(QStringLiteral("main.bas")), registry);
    EXPECT_EQ(withoutLineDirectives(folder.read(QStringLiteral("main.bas"))),
              sourceBytesFromText(QByteArray("\nprint 1\nprint 2\n")));
}

TEST(SourcePass, FollowsIncludesDepthFirstAndEachFileOnce) {
    Folder folder;
    folder.write(QStringLiteral("main.bas"), "#include once \"a.bi\"\n"
                                             "#include once \"lib/b.bi\"\n"
                                             "#include once \"a.bi\"\n"
                                             "#include once \"missing.bi\"\n"
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
        folder.key(QStringLiteral("lib/b.bi")), folder.key(QStringLiteral("lib/d.bi"))};
    EXPECT_EQ(registry.touchedFiles(), expected);
    EXPECT_EQ(folder.read(QStringLiteral("c.bi")), QByteArray("c\n"));
    EXPECT_EQ(withoutLineDirectives(folder.read(QStringLiteral("lib/d.bi"))),
              sourceBytesFromText(QByteArray("\nd\n")));
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
