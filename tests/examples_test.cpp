// The examples under examples/, through the installed program and the
// stand-in compiler: the plain FreeBASIC the compiler receives for each .bas
// file is compared with the text committed beside it in expected/, which was
// reviewed by hand (every generated member declared, every "end type"
// present). Set FBEXT_UPDATE_EXPECTED=1 to write the current texts there.

#include "linenumbering.h"
#include "sandbox.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString examples = QStringLiteral(FBEXT_EXAMPLES);

void copyExample(const QString& name, const Sandbox& sandbox) {
    QDirIterator files(QDir(examples).filePath(name), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString relative = QDir(QDir(examples).filePath(name)).relativeFilePath(path);
        if (relative.startsWith(QStringLiteral("expected/")))
            continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        sandbox.writeFile(relative, file.readAll());
    }
}

class Examples : public ::testing::TestWithParam<const char*> {};

TEST_P(Examples, CompilerReceivesTheReviewedText) {
    const QString name = QString::fromLatin1(GetParam());
    const QDir exampleDir(QDir(examples).filePath(name));
    const QStringList sources = exampleDir.entryList({QStringLiteral("*.bas")}, QDir::Files);
    ASSERT_FALSE(sources.isEmpty());
    for (const QString& source : sources) {
        Sandbox sandbox;
        copyExample(name, sandbox);
        const QByteArray before = sandbox.readFile(source);
        sandbox.scriptCompiler("");
        ASSERT_EQ(sandbox.run({source}).exitCode, 0);
        const QByteArray compiled = withoutLineDirectives(sandbox.compiledText(0));
        const QString expectedPath =
            exampleDir.filePath(QStringLiteral("expected/%1.txt").arg(source));
        if (qEnvironmentVariableIsSet("FBEXT_UPDATE_EXPECTED")) {
            QDir().mkpath(exampleDir.filePath(QStringLiteral("expected")));
            QFile out(expectedPath);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(compiled);
        }
        QFile expected(expectedPath);
        ASSERT_TRUE(expected.open(QIODevice::ReadOnly)) << expectedPath.toStdString();
        EXPECT_EQ(compiled, expected.readAll()) << source.toStdString();
        EXPECT_EQ(sandbox.readFile(source), before);
    }
}

INSTANTIATE_TEST_SUITE_P(All, Examples, ::testing::Values("hello", "containers", "shapes", "both"));

} // namespace
