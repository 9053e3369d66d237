#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct CommandResult {
    int exitCode = -1; // -1 when it could not start, crashed or ran out of time
    QByteArray output; // standard output, with standard error merged in when asked
    QByteArray standardError;
    QString problem; // why there is no exit code, for the report
};

// Runs program with arguments in workingDirectory, with no standard input.
CommandResult runCommand(const QString& program, const QStringList& arguments,
                         const QString& workingDirectory, const QProcessEnvironment& environment,
                         bool mergeOutput, int timeoutMs);

// Runs program once for each list of arguments, all at the same time, and
// waits for all of them.
QList<CommandResult> runCommandsAtOnce(const QString& program,
                                       const QList<QStringList>& argumentLists,
                                       const QString& workingDirectory,
                                       const QProcessEnvironment& environment, bool mergeOutput,
                                       int timeoutMs);

// The command as a shell would show it, for reports.
QString shownCommand(const QString& program, const QStringList& arguments);

// The output with every path below the folder dir ("dir/", as given and with
// its links resolved, as a compiler that asks for its working directory names
// it) starting with replacement instead, so outputs from different folders
// compare equal.
QString withFolderReplaced(QString output, const QString& dir, const QString& replacement);
