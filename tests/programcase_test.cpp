// Reading the corpus's folder format.

#include "programcase.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ProgramCase, CommandLinesSplitAtSpacesOutsideQuotes) {
    const struct {
        const char* line;
        QStringList arguments;
    } rows[] = {
        {"main.bas", {QStringLiteral("main.bas")}},
        {"  -c   a.bas\t-m a ",
         {QStringLiteral("-c"), QStringLiteral("a.bas"), QStringLiteral("-m"),
          QStringLiteral("a")}},
        {"\"my prog.bas\" -x main",
         {QStringLiteral("my prog.bas"), QStringLiteral("-x"), QStringLiteral("main")}},
        {"-d \"\" a\"b c\"d", {QStringLiteral("-d"), QString(), QStringLiteral("ab cd")}},
        {"", {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(splitCommandLine(QString::fromLatin1(row.line)), row.arguments) << row.line;
}

TEST(ProgramCase, AFolderGivesItsSourcesAndWhatTheyMustDo) {
    QTemporaryDir dir;
    writeTestFile(dir.filePath(QStringLiteral("main.bas")), "print 1\n");
    writeTestFile(dir.filePath(QStringLiteral("lib/util.bi")), "' util\n");
    writeTestFile(dir.filePath(QStringLiteral("expected-error")),
                  "main.bas(1) error 42: x\nmore\n");
    writeTestFile(dir.filePath(QStringLiteral("command")),
                  "-c a.bas &\n\n-c x.bas\n\"b c.bas\" -x main\n");
    writeTestFile(dir.filePath(QStringLiteral("known-failure")), "issue 14: Generic types\n");
    ProgramCase program;
    QString problem;
    ASSERT_TRUE(loadProgramFolder(dir.path(), &program, &problem)) << problem.toStdString();
    EXPECT_EQ(program.files.keys(),
              QStringList({QStringLiteral("lib/util.bi"), QStringLiteral("main.bas")}));
    EXPECT_EQ(program.expectedError, "main.bas(1) error 42: x");
    ASSERT_EQ(program.commands.size(), 3);
    EXPECT_EQ(program.commands[0], QStringList({QStringLiteral("-c"), QStringLiteral("a.bas")}));
    EXPECT_EQ(program.commands[2], QStringList({QStringLiteral("b c.bas"), QStringLiteral("-x"),
                                                QStringLiteral("main")}));
    EXPECT_EQ(program.withNext, QList<bool>({true, false, false})); // a.bas with x.bas
    EXPECT_EQ(program.knownFailure, QStringLiteral("issue 14: Generic types"));
    EXPECT_FALSE(program.compareWithPlain);
}

TEST(ProgramCase, AFolderNotInTheFormIsRefused) {
    const struct {
        const char* name;
        QList<QPair<QString, QByteArray>> files;
    } rows[] = {
        {"no expectation", {{QStringLiteral("main.bas"), "print 1\n"}}},
        {"both expectations",
         {{QStringLiteral("main.bas"), ""},
          {QStringLiteral("expected-output"), ""},
          {QStringLiteral("expected-error"), "main.bas(1) error 1\n"}}},
        {"marker without an issue",
         {{QStringLiteral("main.bas"), ""},
          {QStringLiteral("expected-output"), ""},
          {QStringLiteral("known-failure"), "fails for now\n"}}},
        {"no sources", {{QStringLiteral("expected-output"), "1\n"}}},
        {"the last compile with a next one",
         {{QStringLiteral("main.bas"), ""},
          {QStringLiteral("expected-output"), ""},
          {QStringLiteral("command"), "-c main.bas &\n"}}},
    };
    for (const auto& row : rows) {
        QTemporaryDir dir;
        for (const auto& file : row.files)
            writeTestFile(dir.filePath(file.first), file.second);
        ProgramCase program;
        QString problem;
        EXPECT_FALSE(loadProgramFolder(dir.path(), &program, &problem)) << row.name;
        EXPECT_FALSE(problem.isEmpty()) << row.name;
    }
    QTemporaryDir plain;
    writeTestFile(plain.filePath(QStringLiteral("main.bas")), "print 1\n");
    writeTestFile(plain.filePath(QStringLiteral("expected-output")), " 1\n");
    ProgramCase program;
    QString problem;
    ASSERT_TRUE(loadProgramFolder(plain.path(), &program, &problem));
    EXPECT_EQ(program.commands, QList<QStringList>({{QStringLiteral("main.bas")}}));
}

} // namespace
