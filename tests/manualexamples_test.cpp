// Comparing FreeBASIC's manual examples through fbext: which files are
// compared, the list of known differences, and what counts as a difference.
// Scripts stand in for fbext and the compiler.

#include "manualexamples.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ManualExamples, ASampleIsEveryNthFileInNameOrderPlusTheKnownOnes) {
    QTemporaryDir manual;
    for (int i = 0; i < 25; ++i)
        writeTestFile(manual.filePath(QStringLiteral("%1/e%2.bas")
                                          .arg(QLatin1Char(i < 12 ? 'a' : 'b'))
                                          .arg(i, 2, 10, QLatin1Char('0'))),
                      "");
    writeTestFile(manual.filePath(QStringLiteral("a/notes.txt")), "");
    EXPECT_EQ(manualExamples(manual.path(), 1, {}).size(), 25);
    EXPECT_EQ(manualExamples(manual.path(), 10, {QStringLiteral("b/e13.bas")}),
              QStringList({QStringLiteral("a/e00.bas"), QStringLiteral("a/e10.bas"),
                           QStringLiteral("b/e13.bas"), QStringLiteral("b/e20.bas")}));
}

TEST(ManualExamples, TheKnownListNamesAnIssueForEachFile) {
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("known"));
    writeTestFile(list, "# comment\n\nudt/base.bas: issue 18\n  udt/x y.bas: issue 14  \n");
    QString problem;
    const QMap<QString, QString> known = readKnownDifferences(list, &problem);
    EXPECT_TRUE(problem.isEmpty());
    EXPECT_EQ(known.value(QStringLiteral("udt/base.bas")), QStringLiteral("issue 18"));
    EXPECT_EQ(known.value(QStringLiteral("udt/x y.bas")), QStringLiteral("issue 14"));
    EXPECT_EQ(known.size(), 2);

    writeTestFile(list, "udt/base.bas: issue 18\nudt/other.bas\n");
    readKnownDifferences(list, &problem);
    EXPECT_TRUE(problem.contains(QStringLiteral("known(2)"))) << problem.toStdString();
}

TEST(ManualExamples, OnlyAnotherStatusOrOtherMessagesMakeADifference) {
    QTemporaryDir dir;
    const QString manual = dir.filePath(QStringLiteral("manual"));
    for (const char* name : {"a/same.bas", "a/odd.bas", "b/status.bas", "b/harm.bas"})
        writeTestFile(QDir(manual).filePath(QString::fromLatin1(name)), "print 1\n");
    // The compiler names the file by its full path: that alone is no difference.
    const QString compiler = dir.filePath(QStringLiteral("realfbc"));
    writeTestFile(compiler, "#!/bin/sh\necho \"$PWD/$2(1) warning 1: hello\"\n", true);
    const QString fbext = dir.filePath(QStringLiteral("fbext"));
    writeTestFile(fbext,
                  "#!/bin/sh\n"
                  "case \"$2\" in\n"
                  "odd.bas) echo 'one line more' ;;\n"
                  "status.bas) exit 3 ;;\n"
                  "harm.bas) printf x >> harm.bas ;;\n"
                  "esac\n"
                  "exec \"$(dirname \"$0\")/fbc2\" \"$@\"\n",
                  true);
    const QList<ExampleComparison> results =
        compareManualExamples(manual, manualExamples(manual, 1, {}), fbext, compiler, 2);
    ASSERT_EQ(results.size(), 4);
    QMap<QString, ExampleComparison> byFile;
    for (const ExampleComparison& result : results)
        byFile.insert(result.file, result);
    EXPECT_TRUE(byFile[QStringLiteral("a/same.bas")].same);
    EXPECT_TRUE(byFile[QStringLiteral("a/same.bas")].damage.isEmpty());
    EXPECT_FALSE(byFile[QStringLiteral("a/odd.bas")].same);
    EXPECT_TRUE(
        byFile[QStringLiteral("a/odd.bas")].difference.contains(QStringLiteral("one line more")));
    EXPECT_FALSE(byFile[QStringLiteral("b/status.bas")].same);
    EXPECT_TRUE(byFile[QStringLiteral("b/harm.bas")].same);
    const QStringList damage = byFile[QStringLiteral("b/harm.bas")].damage;
    ASSERT_FALSE(damage.isEmpty());
    EXPECT_TRUE(damage[0].startsWith(QStringLiteral("source not left as it was: harm.bas")));
}

} // namespace
