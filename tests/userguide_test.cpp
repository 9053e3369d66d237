// The before-and-after examples of the user guide: each source example, run
// through the installed program, gives the compiler the text the guide shows
// (the guide leaves out the "#line" directives and the empty lines at the end).

#include "linenumbering.h"
#include "sandbox.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The fenced block that follows the marker "<!-- example NAME: PART -->".
QByteArray guideBlock(const QString& name, const QString& part) {
    QFile guide(QStringLiteral(FBEXT_USER_GUIDE));
    if (!guide.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(guide.readAll());
    const QRegularExpression block(
        QStringLiteral("<!-- example %1: %2 -->\\n```[a-z]*\\n(.*?)```")
            .arg(QRegularExpression::escape(name), QRegularExpression::escape(part)),
        QRegularExpression::DotMatchesEverythingOption);
    return block.match(text).captured(1).toLatin1();
}

QByteArray withoutTrailingEmptyLines(QByteArray text) {
    while (text.endsWith("\n\n"))
        text.chop(1);
    return text;
}

class UserGuide : public ::testing::TestWithParam<const char*> {};

TEST_P(UserGuide, ExampleGivesTheCompilerWhatTheGuideShows) {
    const QString name = QString::fromLatin1(GetParam());
    const QByteArray source = guideBlock(name, QStringLiteral("source"));
    const QByteArray shown = guideBlock(name, QStringLiteral("compiler input"));
    ASSERT_FALSE(source.isEmpty());
    ASSERT_FALSE(shown.isEmpty());

    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("example.bas"), source);
    sandbox.scriptCompiler("");
    ASSERT_EQ(sandbox.run({QStringLiteral("example.bas")}).exitCode, 0);
    EXPECT_EQ(withoutTrailingEmptyLines(withoutLineDirectives(sandbox.compiledText(0))),
              withoutTrailingEmptyLines(shown));
    EXPECT_EQ(sandbox.readFile(QStringLiteral("example.bas")), source);
}

INSTANTIATE_TEST_SUITE_P(Examples, UserGuide, ::testing::Values("generic", "extends"));

} // namespace
