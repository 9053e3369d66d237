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

    const CheckResult result = checkProgram(program, fbext, compiler);
    const auto sayAll = [](const QString& prefix, const QStringList& lines) {
        for (const QString& line : lines)
            say(prefix + line);
    };
    // Damage to the sources is never what an open issue is waiting to fix.
    if (!result.damage.isEmpty()) {
        sayAll(QStringLiteral("FAILED: "), result.damage + result.failures);
        recordResult(record, QStringLiteral("failed"), result.damage.first());
        return 1;
    }
    if (program.knownFailure.isEmpty()) {
        if (!result.failures.isEmpty()) {
            sayAll(QStringLiteral("FAILED: "), result.failures);
            recordResult(record, QStringLiteral("failed"),
                         result.failures.first().section(QLatin1Char('\n'), 0, 0));
            return 1;
        }
        say(QStringLiteral("passed"));
        recordResult(record, QStringLiteral("passed"));
        return 0;
    }
    if (result.failures.isEmpty()) {
        say(QStringLiteral("FAILED: this program now passes, but %1 marks it as a known failure "
                           "(%2); remove that file")
                .arg(program.knownFailureMarker, program.knownFailure));
        recordResult(record, QStringLiteral("failed"),
                     QStringLiteral("passes while marked as a known failure"));
        return 1;
    }
    say(QStringLiteral("known failure (%1); what fails today:").arg(program.knownFailure));
    sayAll(QStringLiteral("  "), result.failures);
    recordResult(record, QStringLiteral("known-failure"), program.knownFailure);
    return 0;
}
