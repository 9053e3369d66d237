#include "programcase.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

bool readFile(const QString& path, QByteArray* bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}

QString firstLine(const QByteArray& bytes) {
    return QString::fromUtf8(bytes).section(QLatin1Char('\n'), 0, 0).trimmed();
}

// Every file below dir, by relative path, except those skip() names.
template <typename Skip> QMap<QString, QByteArray> filesBelow(const QString& dir, Skip skip) {
    QMap<QString, QByteArray> files;
    const QDir root(QDir(dir).absolutePath());
    QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = root.relativeFilePath(path);
        QByteArray bytes;
        if (!skip(relative) && readFile(path, &bytes))
            files.insert(relative, bytes);
    }
    return files;
}

} // namespace

QStringList splitCommandLine(const QString& line) {
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool inArgument = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == QLatin1Char(' ') || c == QLatin1Char('\t')) && !quoted) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
        } else {
            current.append(c);
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

bool loadProgramFolder(const QString& dir, ProgramCase* program, QString* problem) {
    static const QStringList controlFiles{
        QStringLiteral("command"), QStringLiteral("expected-output"),
        QStringLiteral("expected-error"), QStringLiteral("compare-with-plain"),
        QStringLiteral("known-failure")};
    const QDir folder(dir);
    program->files =
        filesBelow(dir, [](const QString& relative) { return controlFiles.contains(relative); });
    QByteArray bytes;
    if (readFile(folder.filePath(QStringLiteral("command")), &bytes)) {
        for (const QString& line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
            QStringList arguments = splitCommandLine(line.trimmed());
            const bool withNext = !arguments.isEmpty() && arguments.last() == QStringLiteral("&");
            if (withNext)
                arguments.removeLast();
            if (!arguments.isEmpty()) {
                program->commands.append(arguments);
                program->withNext.append(withNext);
            }
        }
    }
    if (program->commands.isEmpty()) {
        program->commands.append({QStringLiteral("main.bas")});
        program->withNext.append(false);
    }
    const bool hasOutput =
        readFile(folder.filePath(QStringLiteral("expected-output")), &program->expectedOutput);
    QByteArray error;
    const bool hasError = readFile(folder.filePath(QStringLiteral("expected-error")), &error);
    program->expectedError = firstLine(error).toUtf8();
    program->compareWithPlain = folder.exists(QStringLiteral("compare-with-plain"));
    if (readFile(folder.filePath(QStringLiteral("known-failure")), &bytes)) {
        program->knownFailure = firstLine(bytes);
        program->knownFailureMarker = folder.filePath(QStringLiteral("known-failure"));
    }
    if (hasOutput == hasError)
        *problem = dir + QStringLiteral(": needs either expected-output or expected-error");
    else if (hasError && program->expectedError.isEmpty())
        *problem = dir + QStringLiteral(": expected-error has no first line");
    else if (program->files.isEmpty())
        *problem = dir + QStringLiteral(": no source files");
    else if (program->withNext.last())
        *problem = dir + QStringLiteral(": the last command runs with no other");
    else if (!program->knownFailureMarker.isEmpty() &&
             !QRegularExpression(QStringLiteral("^issue \\d+: \\S"))
                  .match(program->knownFailure)
                  .hasMatch())
        *problem =
            program->knownFailureMarker + QStringLiteral(": must read \"issue N: <subject>\"");
    return problem->isEmpty();
}

bool loadExample(const QString& exampleDir, const QString& sourceFile, ProgramCase* program,
                 QString* problem) {
    program->files = filesBelow(exampleDir, [](const QString& relative) {
        return relative.startsWith(QStringLiteral("expected/"));
    });
    program->commands = {{sourceFile}};
    program->program = QFileInfo(sourceFile).completeBaseName();
    const QDir expected(QDir(exampleDir).filePath(QStringLiteral("expected")));
    const QString outputFile = expected.filePath(sourceFile + QStringLiteral(".out"));
    if (!readFile(outputFile, &program->expectedOutput)) {
        *problem = outputFile + QStringLiteral(": missing");
        return false;
    }
    QByteArray bytes;
    const QString marker = expected.filePath(sourceFile + QStringLiteral(".known-failure"));
    if (readFile(marker, &bytes)) {
        program->knownFailure = firstLine(bytes);
        program->knownFailureMarker = marker;
    }
    return true;
}

bool loadGuideExample(const QString& guidePath, const QString& name, ProgramCase* program,
                      QString* problem) {
    QByteArray guide;
    if (!readFile(guidePath, &guide)) {
        *problem = guidePath + QStringLiteral(": cannot be read");
        return false;
    }
    const QString text = QString::fromUtf8(guide);
    const auto block = [&](const QString& part, QByteArray* bytes) {
        const QRegularExpression marked(
            QStringLiteral("<!-- example %1: %2 -->\\n```[a-z]*\\n(.*?)```")
                .arg(QRegularExpression::escape(name), QRegularExpression::escape(part)),
            QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch match = marked.match(text);
        *bytes = match.captured(1).toUtf8();
        if (!match.hasMatch())
            *problem =
                QStringLiteral("%1: no block marked \"example %2: %3\"").arg(guidePath, name, part);
        return match.hasMatch();
    };
    QByteArray source, plain;
    if (!block(QStringLiteral("source"), &source) ||
        !block(QStringLiteral("compiler input"), &plain) ||
        !block(QStringLiteral("output"), &program->expectedOutput))
        return false;
    program->files.insert(QStringLiteral("main.bas"), source);
    program->plainFiles.insert(QStringLiteral("main.bas"), plain);
    program->compareWithPlain = true;
    program->commands = {{QStringLiteral("main.bas")}};
    return true;
}
