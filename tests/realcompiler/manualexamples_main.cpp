// FreeBASIC's manual examples must mean the same through fbext: each is
// compiled with -c by the real compiler alone and through fbext, and the exit
// status and the compiler's messages must be the same, except for the
// examples listed, with the issue that owns each, in the known list.
//   manual_examples_check --fbext FBC --known LIST [--record FILE]
//                         [--manual DIR] [--jobs N] [--sample-step N]
// The real compiler is the one FBEXT_TEST_FBC names (skipped without one);
// the manual's examples are those beside it (../examples/manual) unless
// --manual names them.

#include "manualexamples.h"
#include "testrecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace {

void say(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const auto argument = [&](const QString& option, const QString& fallback = {}) {
        const qsizetype at = arguments.indexOf(option);
        return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : fallback;
    };
    const QString fbext = argument(QStringLiteral("--fbext"));
    const QString record = argument(QStringLiteral("--record"));
    QString problem;
    const QMap<QString, QString> known =
        readKnownDifferences(argument(QStringLiteral("--known")), &problem);
    if (fbext.isEmpty() || !problem.isEmpty()) {
        say(fbext.isEmpty() ? QStringLiteral("--fbext is missing") : problem);
        recordResult(record, QStringLiteral("failed"), problem);
        return 1;
    }

    QString skipMessage;
    const QString compiler = realCompilerFromEnvironment(&skipMessage);
    const QString manual =
        argument(QStringLiteral("--manual"),
                 QFileInfo(compiler).absolutePath() + QStringLiteral("/../examples/manual"));
    if (compiler.isEmpty() || !QFileInfo(manual).isDir()) {
        say(compiler.isEmpty() ? skipMessage
                               : QStringLiteral("SKIPPED: no manual examples at ") + manual);
        recordResult(record, QStringLiteral("skipped"));
        return skippedStatus;
    }

    QElapsedTimer timer;
    timer.start();
    const QStringList files = manualExamples(
        manual, argument(QStringLiteral("--sample-step"), QStringLiteral("1")).toInt(),
        known.keys());
    const QList<ExampleComparison> results =
        compareManualExamples(manual, files, fbext, compiler,
                              argument(QStringLiteral("--jobs"), QStringLiteral("2")).toInt());

    int knownSeen = 0;
    QStringList failures;
    for (const ExampleComparison& result : results) {
        for (const QString& damage : result.damage)
            failures.append(result.file + QStringLiteral(": ") + damage);
        if (!result.same && known.contains(result.file)) {
            ++knownSeen;
            say(QStringLiteral("differs (known, %1): %2")
                    .arg(known.value(result.file), result.file));
        } else if (!result.same) {
            failures.append(QStringLiteral("%1 differs through fbext:\n%2")
                                .arg(result.file, result.difference));
        } else if (known.contains(result.file)) {
            failures.append(
                QStringLiteral(
                    "%1 is the same through fbext now: take it out of the known list (%2)")
                    .arg(result.file, known.value(result.file)));
        }
    }
    for (const QString& file : known.keys()) {
        if (!files.contains(file))
            failures.append(
                file + QStringLiteral(" is in the known list but not among the manual's examples"));
    }
    const QString summary =
        QStringLiteral("%1 examples compared, %2 differ as known, %3 unexpected; %4 s with %5 jobs")
            .arg(files.size())
            .arg(knownSeen)
            .arg(failures.size())
            .arg(timer.elapsed() / 1000.0, 0, 'f', 1)
            .arg(argument(QStringLiteral("--jobs"), QStringLiteral("2")));
    for (const QString& failure : failures)
        say(QStringLiteral("FAILED: ") + failure);
    say(summary);
    recordResult(record, failures.isEmpty() ? QStringLiteral("passed") : QStringLiteral("failed"),
                 summary);
    return failures.isEmpty() ? 0 : 1;
}
