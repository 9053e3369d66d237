// Builds one program through fbext with the real FreeBASIC compiler, runs it
// and checks it (see programcase.h for the forms a program comes in):
//   program_check --fbext FBC [--record FILE] --folder DIR
//   program_check --fbext FBC [--record FILE] --example DIR FILE.bas
//   program_check --fbext FBC [--record FILE] --guide USER-GUIDE.md NAME
// The real compiler is the one FBEXT_TEST_FBC names; without it the check is
// skipped (status 77). A program marked as a known failure passes the check
// when it fails, and fails it when it passes.

#include "programcheck.h"
#include "testrecord.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

void say(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const auto argument = [&](const QString& option, int index = 1) {
        const qsizetype at = arguments.indexOf(option);
        return at >= 0 && at + index < arguments.size() ? arguments[at + index] : QString();
    };
    const QString fbext = argument(QStringLiteral("--fbext"));
    const QString record = argument(QStringLiteral("--record"));

    ProgramCase program;
    QString problem =
        QStringLiteral("usage: program_check --fbext FBC [--record FILE] "
                       "(--folder DIR | --example DIR FILE.bas | --guide GUIDE NAME)");
    bool loaded = false;
    if (!argument(QStringLiteral("--folder")).isEmpty()) {
        problem.clear();
        loaded = loadProgramFolder(argument(QStringLiteral("--folder")), &program, &problem);
    } else if (!argument(QStringLiteral("--example"), 2).isEmpty()) {
        problem.clear();
        loaded = loadExample(argument(QStringLiteral("--example")),
                             argument(QStringLiteral("--example"), 2), &program, &problem);
    } else if (!argument(QStringLiteral("--guide"), 2).isEmpty()) {
        problem.clear();
        loaded = loadGuideExample(argument(QStringLiteral("--guide")),
                                  argument(QStringLiteral("--guide"), 2), &program, &problem);
    }
    if (!loaded || fbext.isEmpty()) {
        say(problem.isEmpty() ? QStringLiteral("--fbext is missing") : problem);
        recordResult(record, QStringLiteral("failed"), problem);
        return 1;
    }

    QString skipMessage;
    const QString compiler = realCompilerFromEnvironment(&skipMessage);
    if (compiler.isEmpty()) {
        say(skipMessage);
        recordResult(record, QStringLiteral("skipped"));
        return skippedStatus;
    }
    if (!QFileInfo(compiler).isExecutable()) {
        say(QStringLiteral("FBEXT_TEST_FBC names %1, which is not an executable file")
                .arg(compiler));
        recordResult(record, QStringLiteral("failed"),
                     QStringLiteral("no compiler at ") + compiler);
        return 1;
    }

    const Verdict verdict = verdictOf(program, checkProgram(program, fbext, compiler));
    say(verdict.report);
    recordResult(record, verdict.status, verdict.summary);
    return verdict.status == QStringLiteral("failed") ? 1 : 0;
}
