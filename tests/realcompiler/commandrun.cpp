#include "commandrun.h"

#include <QDir>
#include <QProcess>

#include <memory>
#include <vector>

namespace {

std::unique_ptr<QProcess> startCommand(const QString& program, const QStringList& arguments,
                                       const QString& workingDirectory,
                                       const QProcessEnvironment& environment, bool mergeOutput) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(workingDirectory);
    if (mergeOutput)
        process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(program, arguments);
    process->closeWriteChannel();
    return process;
}

CommandResult finishCommand(QProcess& process, bool mergeOutput, int timeoutMs) {
    CommandResult result;
    if (!process.waitForStarted(timeoutMs)) {
        result.problem = QStringLiteral("could not start: ") + process.errorString();
        return result;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.problem = QStringLiteral("still running after %1 s; stopped").arg(timeoutMs / 1000);
    } else if (process.exitStatus() != QProcess::NormalExit) {
        result.problem = QStringLiteral("crashed");
    } else {
        result.exitCode = process.exitCode();
    }
    result.output = process.readAllStandardOutput();
    if (!mergeOutput)
        result.standardError = process.readAllStandardError();
    return result;
}

} // namespace

CommandResult runCommand(const QString& program, const QStringList& arguments,
                         const QString& workingDirectory, const QProcessEnvironment& environment,
                         bool mergeOutput, int timeoutMs) {
    return runCommandsAtOnce(program, {arguments}, workingDirectory, environment, mergeOutput,
                             timeoutMs)
        .first();
}

QList<CommandResult> runCommandsAtOnce(const QString& program,
                                       const QList<QStringList>& argumentLists,
                                       const QString& workingDirectory,
                                       const QProcessEnvironment& environment, bool mergeOutput,
                                       int timeoutMs) {
    std::vector<std::unique_ptr<QProcess>> started;
    for (const QStringList& arguments : argumentLists)
        started.push_back(
            startCommand(program, arguments, workingDirectory, environment, mergeOutput));
    QList<CommandResult> results;
    for (const auto& process : started)
        results.append(finishCommand(*process, mergeOutput, timeoutMs));
    return results;
}

QString shownCommand(const QString& program, const QStringList& arguments) {
    QStringList words{program};
    for (const QString& argument : arguments)
        words.append(argument.contains(QLatin1Char(' ')) || argument.isEmpty()
                         ? QLatin1Char('"') + argument + QLatin1Char('"')
                         : argument);
    return words.join(QLatin1Char(' '));
}

QString withFolderReplaced(QString output, const QString& dir, const QString& replacement) {
    const QDir folder(dir);
    output.replace(folder.absolutePath() + QLatin1Char('/'), replacement);
    if (!folder.canonicalPath().isEmpty())
        output.replace(folder.canonicalPath() + QLatin1Char('/'), replacement);
    return output;
}
