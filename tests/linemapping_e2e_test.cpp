// Compiler messages point at the user's own lines: the stand-in compiler
// numbers the lines it reads the way the real one does ("#line" included)
// and reports an error at every line that holds a marker.

#include "filetime.h"
#include "linenumbering.h"
#include "sandbox.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QByteArray header = "' generic stack\n"                   // 1
                          "template Stack\n"                    // 2
                          "  items(0 to 15) as t1\n"            // 3
                          "  count as integer\n"                // 4
                          "  declare sub push(byval v as t1)\n" // 5
                          "end template\n"                      // 6
                          "\n"                                  // 7
                          "sub Stack.push(byval v as t1)\n"     // 8
                          "  items(count) = v\n"                // 9
                          "  count += BOOM_in_template\n"       // 10
                          "end sub\n";                          // 11

const QByteArray mainFile = "#include once \"lib/stack.bi\"\n"      // 1
                            "dim s as Stack<<<double>>>\n"          // 2
                            "print \"a\", _\n"                      // 3
                            "      \"b\"\n"                         // 4
                            "/' a block comment\n"                  // 5
                            "   spanning lines '/\n"                // 6
                            "#macro twice(x)\n"                     // 7
                            "  x : x\n"                             // 8
                            "#endmacro\n"                           // 9
                            "type Shape\n"                          // 10
                            "  x as integer\n"                      // 11
                            "end type\n"                            // 12
                            "sub Shape.move(byval dx as integer)\n" // 13
                            "  x += dx\n"                           // 14
                            "end sub\n"                             // 15
                            "type Circle extends Shape\n"           // 16
                            "  r as integer\n"                      // 17
                            "end type\n"                            // 18
                            "type Ring extends Circle\n"            // 19
                            "  w as integer\n"                      // 20
                            "end type\n"                            // 21
                            "dim c as Ring\n"                       // 22
                            "print BOOM_after_types\n"              // 23
                            "s.push(BOOM_in_main)\n";               // 24

// file -> line of every reported message.
QMultiMap<QString, int> reportedLines(const QByteArray& output) {
    QMultiMap<QString, int> reported;
    static const QRegularExpression message(QStringLiteral("^(.*)\\((\\d+)\\) error 42: "));
    for (const QByteArray& line : output.split('\n')) {
        // File names are the file system's bytes.
        const QRegularExpressionMatch match = message.match(QFile::decodeName(line));
        if (match.hasMatch())
            reported.insert(match.captured(1), match.captured(2).toInt());
    }
    return reported;
}

TEST(LineMapping, MessagesNameTheUsersFileAndLine) {
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("src/lib/stack.bi"), header);
    sandbox.writeFile(QStringLiteral("src/main.bas"), mainFile);
    sandbox.scriptErrorsAt("BOOM");
    const RunResult result = sandbox.run({QStringLiteral("src/main.bas")});
    ASSERT_EQ(result.exitCode, 0) << result.standardError.constData();

    const QString headerName =
        QDir::toNativeSeparators(sandbox.path(QStringLiteral("src/lib/stack.bi")));
    const QMultiMap<QString, int> reported = reportedLines(result.standardOutput);
    EXPECT_EQ(reported.values(QStringLiteral("src/main.bas")), (QList<int>{24, 23}))
        << result.standardOutput.constData();
    // The instance of the template member stands at the top of main.bas, but
    // its error is reported at the member's own line in the header.
    EXPECT_EQ(reported.values(headerName), QList<int>{10}) << result.standardOutput.constData();
    EXPECT_EQ(reported.size(), 3) << result.standardOutput.constData();
}

TEST(LineMapping, EveryUnchangedUserLineKeepsItsNumber) {
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("src/lib/stack.bi"), header);
    sandbox.writeFile(QStringLiteral("src/main.bas"), mainFile);
    sandbox.run({QStringLiteral("src/main.bas")});

    const QStringList original = QString::fromLatin1(mainFile).split(u'\n');
    const QByteArray compiled = sandbox.compiledText(0);
    int checked = 0;
    for (const NumberedLine& line : numberLines(compiled, QStringLiteral("src/main.bas"))) {
        if (line.file != QStringLiteral("src/main.bas") || line.text.trimmed().isEmpty())
            continue;
        // A line reported under main.bas that the user wrote holds the text of
        // that line, unless it is the continuation line (numbered approximately)
        // or a generated member that points at the line it stands for.
        const QString source = original.value(line.line - 1);
        if (line.text == source)
            ++checked;
    }
    // Lines 1 to 24 less the rewritten use on line 2 and the replaced type blocks.
    EXPECT_GE(checked, 14) << compiled.toStdString();
    // Every line of the user's own text that survived unchanged is found at its number.
    for (int n : {1, 3, 5, 6, 7, 8, 9, 13, 14, 15, 22, 23, 24}) {
        const QString source = original.value(n - 1);
        bool found = false;
        for (const NumberedLine& line : numberLines(compiled, QStringLiteral("src/main.bas")))
            found = found || (line.line == n && line.file == QStringLiteral("src/main.bas") &&
                              line.text == source);
        EXPECT_TRUE(found) << "line " << n << ": " << source.toStdString();
    }
}

} // namespace

namespace {

// Messages point at the right line whatever ends the lines (a line feed, CR LF
// or a CR alone, each one line end to the compiler), after a UTF-8 byte order
// mark, and in a folder whose name is not ASCII; the compiler is handed the
// mark first and every line the user wrote.
TEST(LineMapping, LineEndsMarksAndNamesAsTheCompilerReadsThem) {
    const QString headerFolder = QStringLiteral("d\u00e9j\u00e0 \u043a\u043e\u0434");
    const QString folder = QStringLiteral("src/") + headerFolder;
    struct Case {
        const char* what;
        QByteArray main;
        QByteArray lastLine; // the compiler's copy of main ends with it
        QList<int> reported; // lines of main.bas, as the messages come
    };
    const QByteArray include = "#include once \"" + QFile::encodeName(headerFolder) + "/stack.bi\"";
    const Case cases[] = {
        {"carriage returns alone",
         include + "\rdim s as Stack<<<double>>>\r' one\r' two\rprint BOOM_after_crs\r",
         "print BOOM_after_crs",
         {5}},
        {"line ends of all kinds",
         include + "\r\ndim s as Stack<<<double>>>\r\n\r' one\n\rprint BOOM_mixed\r\n",
         "print BOOM_mixed",
         {6}},
        {"a UTF-8 byte order mark",
         "\xef\xbb\xbf" + include + "\ndim s as Stack<<<double>>>\nprint BOOM_after_mark\n",
         "print BOOM_after_mark",
         {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox sandbox;
        sandbox.writeFile(folder + QStringLiteral("/stack.bi"), header);
        sandbox.writeFile(QStringLiteral("src/main.bas"), c.main);
        sandbox.scriptErrorsAt("BOOM");
        const RunResult result = sandbox.run({QStringLiteral("src/main.bas")});
        ASSERT_EQ(result.exitCode, 0) << result.standardError.constData();

        const QMultiMap<QString, int> reported = reportedLines(result.standardOutput);
        EXPECT_EQ(reported.values(QStringLiteral("src/main.bas")), c.reported)
            << result.standardOutput.constData();
        // The template member's error, at its own line in the header.
        const QString headerName =
            QDir::toNativeSeparators(sandbox.path(folder + QStringLiteral("/stack.bi")));
        EXPECT_EQ(reported.values(headerName), QList<int>{10}) << result.standardOutput.constData();

        const QByteArray compiled = sandbox.compiledText(0);
        EXPECT_EQ(compiled.startsWith("\xef\xbb\xbf"), c.main.startsWith("\xef\xbb\xbf"));
        EXPECT_EQ(compiled.count("\xef\xbb\xbf"), c.main.count("\xef\xbb\xbf"));
        EXPECT_TRUE(compiled.trimmed().endsWith(c.lastLine)) << compiled.toStdString();
        EXPECT_EQ(sandbox.readFile(QStringLiteral("src/main.bas")), c.main);
    }
}

// A file in UTF-16 or UTF-32 holds nothing fbext reads: the compiler gets its
// own bytes and the file is never written.
TEST(LineMapping, WideFilesReachTheCompilerUntouched) {
    Sandbox sandbox;
    static const char wideBytes[] = "\xff\xfep\0r\0i\0n\0t\0 \0"
                                    "1\0\n\0";
    const QByteArray wide(wideBytes, sizeof wideBytes - 1);
    sandbox.writeFile(QStringLiteral("wide.bas"), wide);
    const FileStamp before = readFileStamp(sandbox.path(QStringLiteral("wide.bas")));
    const RunResult result = sandbox.run({QStringLiteral("wide.bas")});
    ASSERT_EQ(result.exitCode, 0) << result.standardError.constData();
    EXPECT_EQ(sandbox.compiledText(0), wide);
    EXPECT_TRUE(readFileStamp(sandbox.path(QStringLiteral("wide.bas"))).sameAs(before));
}

} // namespace
