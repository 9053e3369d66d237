#include "arguments.h"

#include "qtprinting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Arguments, AResponseFileSplitsAtBlanksAndLineEndsAndKeepsQuotedBlanks) {
    struct Case {
        const char* text;
        QList<QByteArray> arguments;
    };
    const Case cases[] = {
        {"", {}},
        {"main.bas -x prog", {"main.bas", "-x", "prog"}},
        {"  main.bas\r\n\t-x\nprog \n", {"main.bas", "-x", "prog"}},
        {"\"my prog.bas\" -x \"out put\"", {"my prog.bas", "-x", "out put"}},
        {"a\"b c\"d \"\"", {"ab cd", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(responseFileArguments(c.text), c.arguments) << c.text;
}

// Sources are named directly, after -b or -include, or inside response files
// (which may name response files, and themselves); -i names include folders.
TEST(Arguments, SourcesAndIncludeFoldersAreFoundWhereverTheCompilerTakesThem) {
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const auto write = [](const char* name, const QByteArray& text) {
        QFile file(QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write("outer.rsp", "first.bas @inner.rsp -i \"inc dir\" @outer.rsp\n");
    write("inner.rsp", "-b \"second file.txt\" -x third.bas\n");
    const SourceArguments scanned =
        scanArguments({"PROG.BAS", "-include", "pre.inc", "@outer.rsp", "-i", "lib", "Lib.Bi",
                       "@missing.rsp", "-x", "name", "-b"});
    QDir::setCurrent(previous);
    const QStringList sources = {
        QStringLiteral("PROG.BAS"),        QStringLiteral("pre.inc"),   QStringLiteral("first.bas"),
        QStringLiteral("second file.txt"), QStringLiteral("third.bas"),
        // outer.rsp names itself: read again until the chain is taken for a loop
    };
    ASSERT_GE(scanned.sourceFiles.size(), sources.size() + 1);
    EXPECT_EQ(scanned.sourceFiles.mid(0, 5), sources);
    EXPECT_EQ(scanned.sourceFiles.last(), QStringLiteral("Lib.Bi"));
    EXPECT_EQ(scanned.includeDirectories.first(), QStringLiteral("inc dir"));
    EXPECT_EQ(scanned.includeDirectories.last(), QStringLiteral("lib"));
    EXPECT_EQ(scanned.preIncludes, QStringList{QStringLiteral("pre.inc")});
}

// The dialect is the last one named by -forcelang, which no -lang changes,
// or else by -lang; only a forced one holds against a file's own "#lang".
TEST(Arguments, TheDialectIsTheLastOneNamed) {
    struct Case {
        QList<QByteArray> arguments;
        QByteArray dialect;
        bool forced;
    };
    const Case cases[] = {
        {{"main.bas"}, "", false},
        {{"-lang", "fblite", "main.bas"}, "fblite", false},
        {{"main.bas", "-lang", "qb", "-lang", "deprecated"}, "deprecated", false},
        {{"-forcelang", "fblite", "main.bas"}, "fblite", true},
        {{"-forcelang", "fblite", "-lang", "fb"}, "fblite", true},
        {{"-lang", "fb", "-forcelang", "qb", "-forcelang", "fblite"}, "fblite", true},
        {{"-lang"}, "", false},
    };
    for (const Case& c : cases) {
        const SourceArguments scanned = scanArguments(c.arguments);
        EXPECT_EQ(scanned.dialect, c.dialect) << c.arguments.join(' ').constData();
        EXPECT_EQ(scanned.dialectForced, c.forced) << c.arguments.join(' ').constData();
    }
}

#ifndef Q_OS_WIN
// Names written with Windows' separator are the files the compiler reads
// here, with "/" for each "\": sources, -b and -include files, -i folders and
// response files.
TEST(Arguments, BackslashesInNamesAreReadAsTheCompilerReadsThem) {
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral("build")));
    QFile response(QStringLiteral("build/app.rsp"));
    ASSERT_TRUE(response.open(QIODevice::WriteOnly));
    response.write("lib\\util.bas\r\n");
    response.close();
    const SourceArguments scanned =
        scanArguments({"src\\main.bas", "-b", "b\\extra.bas", "-include", "inc\\pre.bi", "-i",
                       "inc\\common", "@build\\app.rsp", "..\\up\\other.BAS"});
    QDir::setCurrent(previous);
    EXPECT_EQ(scanned.sourceFiles,
              QStringList({QStringLiteral("src/main.bas"), QStringLiteral("b/extra.bas"),
                           QStringLiteral("inc/pre.bi"), QStringLiteral("lib/util.bas"),
                           QStringLiteral("../up/other.BAS")}));
    EXPECT_EQ(scanned.preIncludes, QStringList{QStringLiteral("inc/pre.bi")});
    EXPECT_EQ(scanned.includeDirectories, QStringList{QStringLiteral("inc/common")});
}
#endif

} // namespace
