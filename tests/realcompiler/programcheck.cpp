#include "programcheck.h"

#include "commandrun.h"
#include "folderstate.h"
#include "stagedcompiler.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace {

const int compileTimeoutMs = 300000;
const int programTimeoutMs = 30000;

struct Build {
    bool succeeded = true;
    QString log;                // each command with what it printed
    QStringList compilerOutput; // what each command printed, folder paths taken out
    QString notAtOnce;          // compiles started together whose compilers took turns
};

// Whether the compiler runs (one per compile started together) all ran at
// one moment; else how they ran, for the report.
QString ranAtOnce(const QList<CompilerRun>& runs, qsizetype compiles) {
    qint64 lastStart = 0;
    qint64 firstEnd = std::numeric_limits<qint64>::max();
    QStringList times;
    for (const CompilerRun& run : runs) {
        lastStart = std::max(lastStart, run.startedNs);
        firstEnd = std::min(firstEnd, run.endedNs);
        times.append(QStringLiteral("%1 to %2 ms")
                         .arg((run.startedNs - runs.first().startedNs) / 1000000)
                         .arg((run.endedNs - runs.first().startedNs) / 1000000));
    }
    if (runs.size() == compiles && lastStart < firstEnd)
        return QString();
    return QStringLiteral("%1 compiler runs for %2 compiles (%3)")
        .arg(runs.size())
        .arg(compiles)
        .arg(times.join(QStringLiteral(", ")));
}

// Runs every command in dir with fbc (fbext or the real compiler), up to the
// first that fails, those marked to run with the next one at the same time;
// checkAfterEach reports what a run left that it must not. With staged, the
// compilers of compiles started together must run at one moment.
template <typename Check>
Build build(const QString& fbc, const ProgramCase& program, const QString& dir,
            const QProcessEnvironment& environment, const StagedCompiler* staged,
            Check checkAfterEach) {
    Build result;
    for (qsizetype first = 0; first < program.commands.size();) {
        qsizetype last = first;
        while (program.withNext.value(last) && last + 1 < program.commands.size())
            ++last;
        const QList<QStringList> together = program.commands.mid(first, last - first + 1);
        const qsizetype runsBefore = staged ? staged->compilerRuns().size() : 0;
        const QList<CommandResult> runs =
            runCommandsAtOnce(fbc, together, dir, environment, true, compileTimeoutMs);
        for (qsizetype i = 0; i < together.size(); ++i) {
            const CommandResult& run = runs[i];
            const QString output =
                withFolderReplaced(QString::fromUtf8(run.output), dir, QString());
            result.log +=
                QStringLiteral("$ %1%2\n%3")
                    .arg(shownCommand(QStringLiteral("fbc"), together[i]),
                         i + 1 < together.size() ? QStringLiteral(" &") : QString(), output);
            if (run.exitCode != 0) {
                result.log += QStringLiteral("(exit status %1%2)\n")
                                  .arg(run.exitCode)
                                  .arg(run.problem.isEmpty() ? QString()
                                                             : QStringLiteral(", ") + run.problem);
                result.succeeded = false;
            }
            result.compilerOutput.append(output);
            checkAfterEach(together[i]);
        }
        if (!result.succeeded)
            break;
        if (staged && together.size() > 1 && result.notAtOnce.isEmpty()) {
            const QString how = ranAtOnce(staged->compilerRuns().mid(runsBefore), together.size());
            if (!how.isEmpty())
                result.notAtOnce =
                    QStringLiteral("the compiles started together took turns: %1").arg(how);
        }
        first = last + 1;
    }
    return result;
}

// The first "file(line) error N" message the build printed.
QString firstError(const Build& build) {
    static const QRegularExpression error(QStringLiteral("^\\S.*?\\(\\d+\\) error \\d+.*$"),
                                          QRegularExpression::MultilineOption);
    for (const QString& output : build.compilerOutput) {
        const QRegularExpressionMatch match = error.match(output);
        if (match.hasMatch())
            return match.captured(0);
    }
    return {};
}

// Runs the built program; returns false with a failure when it does not end well.
bool runProgram(const ProgramCase& program, const QString& dir,
                const QProcessEnvironment& environment, QByteArray* output, QString* failure) {
    const CommandResult run = runCommand(QDir(dir).filePath(program.program), {}, dir, environment,
                                         false, programTimeoutMs);
    *output = run.output;
    if (run.exitCode == 0)
        return true;
    *failure =
        QStringLiteral("./%1 %2\n--- its output:\n%3--- its standard error:\n%4")
            .arg(program.program,
                 run.problem.isEmpty() ? QStringLiteral("exited with status %1").arg(run.exitCode)
                                       : run.problem,
                 QString::fromUtf8(run.output), QString::fromUtf8(run.standardError));
    return false;
}

// Builds the program with the real compiler alone and checks that it prints the same.
void compareWithPlainBuild(const ProgramCase& program, const QString& realCompiler,
                           const StagedCompiler& staged, CheckResult* result) {
    const QString dir = QDir(staged.dir()).filePath(QStringLiteral("plain"));
    if (!writeFiles(dir, program.plainFiles.isEmpty() ? program.files : program.plainFiles)) {
        result->failures.append(QStringLiteral("cannot write the sources to ") + dir);
        return;
    }
    const Build plain =
        build(realCompiler, program, dir, staged.environment(), nullptr, [](const QStringList&) {});
    if (!plain.succeeded) {
        result->failures.append(
            QStringLiteral("without fbext, the real compiler fails to build it:\n") + plain.log);
        return;
    }
    QByteArray output;
    QString failure;
    if (!runProgram(program, dir, staged.environment(), &output, &failure))
        result->failures.append(QStringLiteral("built without fbext, ") + failure);
    else if (output != program.expectedOutput)
        result->failures.append(
            QStringLiteral("built without fbext, it prints something else than expected:\n") +
            outputDifference(program.expectedOutput, output));
}

} // namespace

QString outputDifference(const QByteArray& expected, const QByteArray& actual) {
    if (expected == actual)
        return {};
    const QList<QByteArray> want = expected.split('\n');
    const QList<QByteArray> got = actual.split('\n');
    qsizetype line = 0;
    while (line < want.size() && line < got.size() && want[line] == got[line])
        ++line;
    const auto shown = [](const QList<QByteArray>& lines, qsizetype index) {
        return index < lines.size() ? QStringLiteral("\"%1\"").arg(QString::fromUtf8(lines[index]))
                                    : QStringLiteral("(end of output)");
    };
    return QStringLiteral("first difference at line %1:\n  expected: %2\n  actual:   %3\n"
                          "--- whole output:\n%4--- end of output\n")
        .arg(line + 1)
        .arg(shown(want, line), shown(got, line), QString::fromUtf8(actual));
}

CheckResult checkProgram(const ProgramCase& program, const QString& fbextProgram,
                         const QString& realCompiler) {
    CheckResult result;
    const StagedCompiler staged(fbextProgram, realCompiler);
    const QString dir = QDir(staged.dir()).filePath(QStringLiteral("program"));
    if (!staged.problem().isEmpty() || !writeFiles(dir, program.files)) {
        result.failures.append(staged.problem().isEmpty() ? QStringLiteral("cannot write ") + dir
                                                          : staged.problem());
        return result;
    }
    const FolderState before = recordFolder(dir);

    QStringList leftSoFar;
    const Build built =
        build(staged.fbc(), program, dir, staged.environment(), &staged,
              [&](const QStringList& arguments) {
                  for (const QString& left : staged.leftovers()) {
                      if (leftSoFar.contains(left))
                          continue;
                      leftSoFar.append(left);
                      result.damage.append(
                          QStringLiteral("after %1, fbext left %2 in its per-user directory")
                              .arg(shownCommand(QStringLiteral("fbc"), arguments), left));
                  }
              });
    if (!program.expectedError.isEmpty()) {
        const QString error = firstError(built);
        if (built.succeeded)
            result.failures.append(
                QStringLiteral("the build succeeded; it must fail with \"%1\":\n%2")
                    .arg(QString::fromUtf8(program.expectedError), built.log));
        else if (!error.startsWith(QString::fromUtf8(program.expectedError)))
            result.failures.append(
                QStringLiteral("the first error must begin with \"%1\"; it is \"%2\":\n%3")
                    .arg(QString::fromUtf8(program.expectedError), error, built.log));
    } else if (!built.succeeded) {
        result.failures.append(QStringLiteral("the build failed:\n") + built.log);
    } else {
        if (!built.notAtOnce.isEmpty())
            result.failures.append(built.notAtOnce + QStringLiteral(":\n") + built.log);
        QByteArray output;
        QString failure;
        if (!runProgram(program, dir, staged.environment(), &output, &failure))
            result.failures.append(failure);
        else if (output != program.expectedOutput)
            result.failures.append(QStringLiteral("it prints something else than expected:\n") +
                                   outputDifference(program.expectedOutput, output));
        if (program.compareWithPlain)
            compareWithPlainBuild(program, realCompiler, staged, &result);
    }
    for (const QString& change : folderChanges(before, dir))
        result.damage.append(QStringLiteral("source not left as it was: ") + change);
    return result;
}

Verdict verdictOf(const ProgramCase& program, const CheckResult& result) {
    const auto lines = [](const QString& prefix, const QStringList& items) {
        QStringList prefixed;
        for (const QString& item : items)
            prefixed.append(prefix + item);
        return prefixed.join(QLatin1Char('\n'));
    };
    const auto firstLine = [](const QString& text) {
        return text.section(QLatin1Char('\n'), 0, 0);
    };
    // Damage to the sources is never what an open issue is waiting to fix.
    if (!result.damage.isEmpty())
        return {QStringLiteral("failed"), result.damage.first(),
                lines(QStringLiteral("FAILED: "), result.damage + result.failures)};
    if (program.knownFailure.isEmpty()) {
        if (result.failures.isEmpty())
            return {QStringLiteral("passed"), {}, QStringLiteral("passed")};
        return {QStringLiteral("failed"), firstLine(result.failures.first()),
                lines(QStringLiteral("FAILED: "), result.failures)};
    }
    if (result.failures.isEmpty())
        return {QStringLiteral("failed"), QStringLiteral("passes while marked as a known failure"),
                QStringLiteral("FAILED: this program now passes, but %1 marks it as a known "
                               "failure (%2); remove that file")
                    .arg(program.knownFailureMarker, program.knownFailure)};
    return {QStringLiteral("known-failure"), program.knownFailure,
            QStringLiteral("known failure (%1); what fails today:\n").arg(program.knownFailure) +
                lines(QStringLiteral("  "), result.failures)};
}
