// The installed program end to end: the built front end as fbc beside the
// stand-in compiler as fbc2, run the way a user or a build tool runs it.

#include "filetime.h"
#include "linenumbering.h"
#include "sandbox.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

#include <unistd.h>

namespace {

QDateTime modificationTime(const QString& path) {
    return QFileInfo(path).lastModified().toUTC();
}

void setModificationTime(const QString& path, const QDateTime& time) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

// A source with a generic type to expand, so that what the compiler is given
// shows whether the file went through the passes.
const QByteArray genericSource = "template Box\n  v as t1\nend template\ndim b as Box<<<byte>>>\n";

bool isExpanded(const QByteArray& compiled) {
    const QByteArray text = withoutLineDirectives(compiled);
    return text.startsWith("#ifndef __FBEXT_INSTANCE_Box_byte__\n") &&
           text.contains("\ntype Box_byte\n") && text.endsWith("\n#endif\ndim b as Box_byte\n");
}

TEST(Driver, ArgumentsReachTheCompilerExactlyAsGivenAndInOrder) {
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("my prog.bas"), genericSource);
    const QStringList arguments = {QStringLiteral("-x"),
                                   QStringLiteral("out put"),
                                   QStringLiteral("my prog.bas"),
                                   QStringLiteral("say \"hi\""),
                                   QStringLiteral("main.BAS"),
                                   QStringLiteral("lib.BI"),
                                   QString()};
    const RunResult result = sandbox.run(arguments);
    EXPECT_EQ(result.exitCode, 0);
    const QList<CompilerCall> calls = sandbox.calls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].arguments, arguments);
    EXPECT_TRUE(isExpanded(calls[0].files.value(2))) << calls[0].files.value(2).constData();
}

// Every file the compiler reads as a source is expanded: a .bas or .bi
// name in any letter case, and the file after -b or -include whatever its
// name; the folder after -i and a value such as -x's are no sources.
TEST(Driver, EveryFileTheCompilerReadsAsASourceIsExpanded) {
    Sandbox sandbox;
    for (const char* name : {"main.BAS", "lib.Bi", "real.bi", "prog.src", "pre.inc", "out.bas"})
        sandbox.writeFile(QString::fromLatin1(name), genericSource);
    sandbox.run({QStringLiteral("main.BAS"), QStringLiteral("lib.Bi"), QStringLiteral("real.bi"),
                 QStringLiteral("-b"), QStringLiteral("prog.src"), QStringLiteral("-include"),
                 QStringLiteral("pre.inc"), QStringLiteral("-i"), QStringLiteral("out.bas"),
                 QStringLiteral("-x"), QStringLiteral("prog.src")});
    const CompilerCall call = sandbox.calls().value(0);
    for (const int index : {0, 1, 2, 4, 6})
        EXPECT_TRUE(isExpanded(call.files.value(index))) << index;
    EXPECT_EQ(call.files.value(8), genericSource) << "a folder named after -i";
}

TEST(Driver, EveryTouchedFileIsRestoredByteForByteWithItsModificationTime) {
    Sandbox sandbox;
    QByteArray original("#include once \"inc/a.bi\"\r\ndim b as Box<<<byte>>>\r\n"
                        "print \"a\rb\"\r\nx\0after nul\n",
                        68);
    for (int b = 128; b < 256; ++b)
        original.append(char(b));
    const QByteArray header("' header\r\ntemplate Box\r\n  v as t1\r\nend template\r\n");
    sandbox.writeFile(QStringLiteral("main.bas"), original);
    sandbox.writeFile(QStringLiteral("inc/a.bi"), header);
    const QDateTime past = QDateTime::currentDateTimeUtc().addDays(-10);
    setModificationTime(sandbox.path(QStringLiteral("main.bas")), past);
    setModificationTime(sandbox.path(QStringLiteral("inc/a.bi")), past);
    const QDateTime mainTime = modificationTime(sandbox.path(QStringLiteral("main.bas")));

    sandbox.scriptCompiler("", "", 1);
    const RunResult result = sandbox.run({QStringLiteral("main.bas")});
    EXPECT_EQ(result.exitCode, 1);
    // The compiler saw every line end it would have seen (CR LF and a CR
    // alone each end a line) as a line feed, and the text up to the NUL.
    const QByteArray compiled = withoutLineDirectives(sandbox.compiledText(0));
    EXPECT_TRUE(compiled.startsWith("#include once \"inc/a.bi\"\n#ifndef")) << compiled.constData();
    EXPECT_TRUE(compiled.endsWith("#endif\ndim b as Box_byte\nprint \"a\nb\"\nx"))
        << compiled.constData();
    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), original);
    EXPECT_EQ(sandbox.readFile(QStringLiteral("inc/a.bi")), header);
    EXPECT_EQ(modificationTime(sandbox.path(QStringLiteral("main.bas"))), mainTime);
    EXPECT_EQ(modificationTime(sandbox.path(QStringLiteral("inc/a.bi"))), mainTime);
}

TEST(Driver, AFileNamedTwiceUnderDifferentSpellingsIsRestoredToItsOriginal) {
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("a.bas"), "#include once \"./lib.bi\"\n");
    sandbox.writeFile(QStringLiteral("lib.bi"), "' lib\n");
    sandbox.run(
        {QStringLiteral("a.bas"), QStringLiteral("lib.bi"), sandbox.path(QStringLiteral("a.bas"))});
    EXPECT_EQ(sandbox.readFile(QStringLiteral("a.bas")),
              QByteArray("#include once \"./lib.bi\"\n"));
    EXPECT_EQ(sandbox.readFile(QStringLiteral("lib.bi")), QByteArray("' lib\n"));
}

TEST(Driver, IncludesAreFollowedThroughSubfolders) {
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("src/main.bas"), "#INCLUDE ONCE \"lib/a.bi\"\n");
    sandbox.writeFile(QStringLiteral("src/lib/a.bi"), "#include once \"b.bi\"\n");
    const QByteArray header = "' b\ntemplate B\n  v as t1\nend template\n";
    sandbox.writeFile(QStringLiteral("src/lib/b.bi"), header);
    sandbox.writeFile(QStringLiteral("src/other.bas"),
                      "#include once \"lib/b.bi\"\ndim x as B<<<integer>>>\n");

    // b.bi is reached through main.bas and a.bi, and rewritten then; other.bas
    // gets its template all the same, and naming it on the command line does
    // not rewrite it again.
    sandbox.run({QStringLiteral("src/main.bas"), QStringLiteral("src/other.bas"),
                 QStringLiteral("src/lib/b.bi")});
    const CompilerCall call = sandbox.calls().value(0);
    EXPECT_TRUE(withoutLineDirectives(call.files.value(1)).contains("\ntype B_integer\n"));
    EXPECT_EQ(withoutLineDirectives(call.files.value(2)), QByteArray("' b\n"));
    EXPECT_EQ(sandbox.readFile(QStringLiteral("src/lib/a.bi")),
              QByteArray("#include once \"b.bi\"\n"));
    EXPECT_EQ(sandbox.readFile(QStringLiteral("src/lib/b.bi")), header);
}

TEST(Driver, ASourceArgumentThatNamesNoFileIsPassedOnAndNotCreated) {
    Sandbox sandbox;
    const RunResult result = sandbox.run({QStringLiteral("missing.bas")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(sandbox.calls().value(0).arguments, QStringList{QStringLiteral("missing.bas")});
    EXPECT_FALSE(QFile::exists(sandbox.path(QStringLiteral("missing.bas"))));
}

TEST(Driver, CompilerOutputPassesThroughByteForByte) {
    Sandbox sandbox;
    const QByteArray out("main.bas(3) error 42: 100%d done\n\xe9t\xe9\nno line end");
    const QByteArray err("warning\nlast");
    sandbox.scriptCompiler(out, err, 0);
    const RunResult result = sandbox.run({});
    EXPECT_EQ(result.standardOutput, out);
    EXPECT_EQ(result.standardError, err);
    EXPECT_EQ(sandbox.calls().value(0).arguments, QStringList());
}

TEST(Driver, VersionQueryRunsTheCompilerOnce) {
    Sandbox sandbox;
    sandbox.scriptCompiler("FreeBASIC Compiler - Version 1.20\n");
    const RunResult result = sandbox.run({QStringLiteral("-version")});
    EXPECT_EQ(result.standardOutput, QByteArray("FreeBASIC Compiler - Version 1.20\n"));
    EXPECT_EQ(sandbox.calls().size(), 1);
}

// Only a run that rewrites a file keeps a journal: one over sources that use
// neither extension makes none at any point (a journal is there from the
// run's first original until its restore, so during its compile above all),
// and names none to the compiles its compile starts.
TEST(Driver, OnlyARunThatRewritesAFileKeepsAJournal) {
    const QByteArray plainHeader = "const N = 1\n";
    const QByteArray genericHeader = "template Box\n  v as t1\nend template\nconst N = 1\n";
    const QByteArray usesHeader = "#include once \"lib.bi\"\nprint N\n";
    // The stand-in compiler lies in the sandbox, so inc/ there, holding the
    // runtime's fbgfx.bi, is its own include folder: a header found in it is
    // the compiler's and not read.
    struct Case {
        const char* name;
        QByteArray main;
        QByteArray header;
        bool journal;
        const char* headerPath = "lib.bi";
        QStringList arguments = {QStringLiteral("main.bas")};
    };
    const QStringList throughInc = {QStringLiteral("-i"), QStringLiteral("inc"),
                                    QStringLiteral("main.bas")};
    const Case cases[] = {
        {"neither file uses an extension", usesHeader, plainHeader, false},
        {"the header declares a generic type", usesHeader, genericHeader, true},
        {"the main file uses one", "#include once \"lib.bi\"\n" + genericSource, plainHeader, true},
        {"the compiler's own header holds the word", usesHeader, genericHeader, false, "inc/lib.bi",
         throughInc},
        {"the compiler's folder spelt another way",
         usesHeader,
         genericHeader,
         false,
         "inc/lib.bi",
         {QStringLiteral("-i"), QStringLiteral("./lib/../inc/"), QStringLiteral("main.bas")}},
        {"a header of the same name in another -i folder",
         usesHeader,
         genericHeader,
         true,
         "other/lib.bi",
         {QStringLiteral("-i"), QStringLiteral("other"), QStringLiteral("-i"),
          QStringLiteral("inc"), QStringLiteral("main.bas")}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Sandbox sandbox;
        sandbox.writeFile(QStringLiteral("main.bas"), test.main);
        sandbox.writeFile(QString::fromLatin1(test.headerPath), test.header);
        sandbox.writeFile(QStringLiteral("inc/fbgfx.bi"), plainHeader);
        sandbox.writeFile(QStringLiteral("lib/unused.bi"), plainHeader);
        const RunResult result = sandbox.run(test.arguments);
        EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
        const QList<CompilerCall> calls = sandbox.calls();
        ASSERT_EQ(calls.size(), 1);
        EXPECT_EQ(calls[0].journals.size(), test.journal ? 1 : 0) << "during the compile";
        EXPECT_EQ(calls[0].environment.filter(QStringLiteral("FBEXT_ENCLOSING_JOURNALS=")).size(),
                  test.journal ? 1 : 0);
        EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), test.main);
        EXPECT_EQ(sandbox.readFile(QString::fromLatin1(test.headerPath)), test.header);
        EXPECT_TRUE(QDir(sandbox.userDataDir() + QStringLiteral("/journals"))
                        .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                        .isEmpty());
    }
}

// A compiler installed under a prefix keeps its headers in
// include/freebasic beside its bin/; when fbc2 is a link to it, that folder is
// found beside the file the link leads to.
TEST(Driver, TheHeadersOfACompilerReachedThroughALinkAreNotRead) {
    Sandbox sandbox;
    ASSERT_TRUE(QDir().mkpath(sandbox.path(QStringLiteral("opt/fb/bin"))));
    ASSERT_TRUE(QFile::rename(sandbox.path(QStringLiteral("fbc2")),
                              sandbox.path(QStringLiteral("opt/fb/bin/fbc2"))));
    ASSERT_TRUE(QFile::link(sandbox.path(QStringLiteral("opt/fb/bin/fbc2")),
                            sandbox.path(QStringLiteral("fbc2"))));
    const QByteArray header = "template Box\n  v as t1\nend template\nconst N = 1\n";
    sandbox.writeFile(QStringLiteral("opt/fb/include/freebasic/lib.bi"), header);
    sandbox.writeFile(QStringLiteral("main.bas"), "#include once \"lib.bi\"\nprint N\n");
    const RunResult result =
        sandbox.run({QStringLiteral("-i"), QStringLiteral("opt/fb/include/freebasic"),
                     QStringLiteral("main.bas")});
    EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
    // The stand-in records its calls beside the file it is, with the
    // journals of the runs in progress while it compiled.
    QFile call(sandbox.path(QStringLiteral("opt/fb/bin/fbc2-calls/0.json")));
    ASSERT_TRUE(call.open(QIODevice::ReadOnly));
    const QJsonObject recorded = QJsonDocument::fromJson(call.readAll()).object();
    ASSERT_TRUE(recorded.contains(QStringLiteral("journals")));
    EXPECT_TRUE(recorded.value(QStringLiteral("journals")).toArray().isEmpty())
        << "the compiler's header was taken for a source";
    EXPECT_EQ(sandbox.readFile(QStringLiteral("opt/fb/include/freebasic/lib.bi")), header);
}

// A relative XDG_DATA_HOME names no place: the journal goes to the usual
// folder under HOME, never under the folder the compile started in.
TEST(Driver, ARelativeDataHomeKeepsNoJournalBesideTheSources) {
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("main.bas"), genericSource);
    sandbox.setEnvironment(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("data"));
    const RunResult result = sandbox.run({QStringLiteral("main.bas")});
    EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), genericSource);
    EXPECT_FALSE(QFileInfo::exists(sandbox.path(QStringLiteral("data"))))
        << "a journal folder was made beside the sources";
    EXPECT_TRUE(QFileInfo(sandbox.userDataDir() + QStringLiteral("/journals")).isDir());
}

TEST(Driver, ExitStatusIsTheCompilersOwn) {
    struct Case {
        int exitCode;
        int signal;
        int expected;
    };
    const Case cases[] = {
        {0, 0, 0},
        {1, 0, 1},
        {42, 0, 42},
#ifdef Q_OS_UNIX
        {0, SIGTERM, 128 + SIGTERM},
        {0, SIGKILL, 128 + SIGKILL},
#endif
    };
    for (const Case& c : cases) {
        Sandbox sandbox;
        sandbox.writeFile(QStringLiteral("main.bas"), "print 1\n");
        sandbox.scriptCompiler("", "", c.exitCode, c.signal);
        EXPECT_EQ(sandbox.run({QStringLiteral("main.bas")}).exitCode, c.expected)
            << c.exitCode << c.signal;
        EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), QByteArray("print 1\n"));
    }
}

TEST(Driver, AMissingCompilerStopsTheRunBeforeAnyFileIsTouched) {
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("main.bas"), "print 1\n");
    const QDateTime before = modificationTime(sandbox.path(QStringLiteral("main.bas")));
    QFile::remove(sandbox.path(QStringLiteral("fbc2")));
    QFile::remove(sandbox.path(QStringLiteral("fbc2.exe")));
    const RunResult result = sandbox.run({QStringLiteral("main.bas")});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_TRUE(result.standardError.contains("fbc2")) << result.standardError.constData();
    EXPECT_EQ(result.standardError.count('\n'), 1);
    EXPECT_EQ(modificationTime(sandbox.path(QStringLiteral("main.bas"))), before);
}

#ifdef Q_OS_UNIX
TEST(Driver, ACompilerThatIsThisProgramIsRefused) {
    Sandbox sandbox;
    QFile::remove(sandbox.path(QStringLiteral("fbc2")));
    ASSERT_TRUE(
        QFile::link(sandbox.path(QStringLiteral("fbc")), sandbox.path(QStringLiteral("fbc2"))));
    const RunResult result = sandbox.run({QStringLiteral("-version")});
    EXPECT_EQ(result.exitCode, 127);
    EXPECT_TRUE(result.standardError.contains("fbc2"));
}

// Hard links and a link and its target are one file: read, rewritten and put
// back once, with the bytes it held before the run, and still linked after.
TEST(Driver, AFileUnderSeveralNamesIsRewrittenAndRestoredOnce) {
    Sandbox sandbox;
    const QByteArray header = "template Box\n  v as t1\nend template\n";
    sandbox.writeFile(QStringLiteral("lib/a.bi"), header);
    ASSERT_EQ(::link(QFile::encodeName(sandbox.path(QStringLiteral("lib/a.bi"))),
                     QFile::encodeName(sandbox.path(QStringLiteral("lib/b.bi")))),
              0);
    ASSERT_TRUE(QFile::link(QStringLiteral("a.bi"), sandbox.path(QStringLiteral("lib/c.bi"))));
    const QByteArray main = "#include once \"lib/b.bi\"\n#include once \"lib/c.bi\"\n"
                            "#include once \"lib/a.bi\"\ndim x as Box<<<integer>>>\n";
    sandbox.writeFile(QStringLiteral("main.bas"), main);
    const QDateTime past = QDateTime::currentDateTimeUtc().addDays(-2);
    setModificationTime(sandbox.path(QStringLiteral("lib/a.bi")), past);
    const QDateTime headerTime = modificationTime(sandbox.path(QStringLiteral("lib/a.bi")));

    const RunResult result = sandbox.run({QStringLiteral("main.bas"), QStringLiteral("lib/c.bi")});
    EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
    const QByteArray compiled = withoutLineDirectives(sandbox.compiledText(0));
    EXPECT_TRUE(compiled.contains("type Box_integer")) << compiled.constData();
    EXPECT_EQ(compiled.count("type Box_integer"), 1);
    EXPECT_EQ(sandbox.readFile(QStringLiteral("lib/a.bi")), header);
    EXPECT_EQ(modificationTime(sandbox.path(QStringLiteral("lib/a.bi"))), headerTime);
    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), main);
    EXPECT_EQ(QFileInfo(sandbox.path(QStringLiteral("lib/c.bi"))).symLinkTarget(),
              QFileInfo(sandbox.path(QStringLiteral("lib/a.bi"))).canonicalFilePath());
    EXPECT_EQ(readFileStamp(sandbox.path(QStringLiteral("lib/b.bi"))).inode,
              readFileStamp(sandbox.path(QStringLiteral("lib/a.bi"))).inode)
        << "the hard link was broken";
}

TEST(Driver, EveryArgumentReachesTheCompilerAsTheExactBytesGiven) {
    Sandbox sandbox;
    const QByteArray latin1Name("lat\xe9.bas");
    std::FILE* file = std::fopen(QFile::encodeName(sandbox.dir()) + '/' + latin1Name, "wb");
    ASSERT_NE(file, nullptr);
    std::fputs(genericSource.constData(), file);
    std::fclose(file);
    sandbox.writeFile(QString::fromUtf8("caf\xc3\xa9.bas"), genericSource);

    const QList<QByteArray> arguments = {
        "-x", "out\xff\xfe", latin1Name, "caf\xc3\xa9.bas", "\xe9t\xe9 \"q\"", QByteArray()};
    const RunResult result = sandbox.runWithArgumentBytes(arguments);
    EXPECT_EQ(result.exitCode, 0);
    const QList<CompilerCall> calls = sandbox.calls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].rawArguments, arguments);
    EXPECT_TRUE(isExpanded(calls[0].files.value(3)));
    // No text names the Latin-1 file here: it reaches the compiler unexpanded,
    // and one line says so.
    EXPECT_EQ(calls[0].files.value(2), genericSource);
    EXPECT_EQ(result.standardError.count('\n'), 1) << result.standardError.constData();
    EXPECT_TRUE(result.standardError.startsWith("fbext: lat"));
}

// A run over large sources starts itself again with the C library's allocator
// set to use huge pages; the compiler still gets the user's environment as it
// was, and a user's own setting of that variable is left alone.
TEST(Driver, ALargeRunGivesTheCompilerTheUsersEnvironmentUnchanged) {
    struct Case {
        const char* userTunables; // nullptr: not set
        bool restarts;
    };
    for (const Case& c : {Case{nullptr, true}, Case{"glibc.malloc.check=0", false}}) {
        Sandbox sandbox;
        sandbox.setEnvironment(QStringLiteral("FBEXT_TEST_MARK"), QStringLiteral("kept"));
        if (c.userTunables)
            sandbox.setEnvironment(QStringLiteral("GLIBC_TUNABLES"),
                                   QString::fromLatin1(c.userTunables));
        QByteArray large = genericSource;
        while (large.size() < (5 << 20))
            large += "' a comment line that makes the source large enough to matter\n";
        sandbox.writeFile(QStringLiteral("main.bas"), large);
        const RunResult result = sandbox.run({QStringLiteral("main.bas")});
        EXPECT_EQ(result.exitCode, 0) << result.standardError.constData();
        const CompilerCall call = sandbox.calls().value(0);
        EXPECT_TRUE(withoutLineDirectives(call.files.value(0)).contains("\ntype Box_byte\n"));
        EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), large);

        EXPECT_TRUE(call.environment.contains(QStringLiteral("FBEXT_TEST_MARK=kept")));
        const QStringList tunables =
            call.environment.filter(QRegularExpression(QStringLiteral("^GLIBC_TUNABLES=")));
        EXPECT_EQ(tunables, c.userTunables ? QStringList{QStringLiteral("GLIBC_TUNABLES=") +
                                                         QString::fromLatin1(c.userTunables)}
                                           : QStringList());
        EXPECT_TRUE(call.environment.filter(QStringLiteral("FBEXT_RESTARTED")).isEmpty());
#ifdef Q_OS_LINUX
        EXPECT_EQ(!call.parentStartEnvironment
                       .filter(QRegularExpression(
                           QStringLiteral("^GLIBC_TUNABLES=glibc.malloc.hugetlb=1(:|$)")))
                       .isEmpty(),
                  c.restarts);
#endif
    }
}

TEST(Driver, ABareNameIsLookedUpOnPathLikeAShellDoes) {
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("work/main.bas"), genericSource);
    QProcess shell;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), sandbox.dir() + QStringLiteral(":/usr/bin:/bin"));
    shell.setProcessEnvironment(environment);
    shell.setWorkingDirectory(sandbox.path(QStringLiteral("work")));
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("exec fbc main.bas")});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().constData();
    EXPECT_EQ(sandbox.calls().size(), 1);
    EXPECT_TRUE(isExpanded(sandbox.calls().value(0).files.value(0)));
}
#endif

} // namespace
