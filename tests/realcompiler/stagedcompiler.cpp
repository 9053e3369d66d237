#include "stagedcompiler.h"

#include "userenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

namespace {

QString home(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("home"));
}

QString runLog(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("compiler-runs.log"));
}

// The path between single quotes, as the shell reads it back.
QByteArray shellQuoted(const QString& path) {
    QByteArray quoted = path.toLocal8Bit();
    quoted.replace('\'', "'\\''");
    return '\'' + quoted + '\'';
}

} // namespace

StagedCompiler::StagedCompiler(const QString& fbextProgram, const QString& realCompiler) {
    const QString bin = temporary.filePath(QStringLiteral("bin"));
    const QString script = bin + QStringLiteral("/fbc2");
    QFile scriptFile(script);
    if (!temporary.isValid() || !QDir().mkpath(bin) || !QFile::copy(fbextProgram, fbc()) ||
        !QFile::setPermissions(fbc(), QFile::permissions(fbc()) | QFileDevice::ExeOwner) ||
        !scriptFile.open(QIODevice::WriteOnly) ||
        scriptFile.write("#!/bin/sh\nlog=" + shellQuoted(runLog(temporary)) +
                         "\necho \"start $$ $(date +%s%N)\" >> \"$log\"\n" +
                         shellQuoted(QDir(realCompiler).absolutePath()) +
                         " \"$@\"\nstatus=$?\necho \"end $$ $(date +%s%N)\" >> \"$log\"\n"
                         "exit $status\n") < 0 ||
        !scriptFile.setPermissions(scriptFile.permissions() | QFileDevice::ExeOwner)) {
        setupProblem = QStringLiteral("cannot stage %1 and %2 in %3")
                           .arg(fbextProgram, realCompiler, temporary.path());
        return;
    }
    QDir().mkpath(home(temporary));
    const QString include = QFileInfo(realCompiler).absolutePath() + QStringLiteral("/../include");
    if (QFileInfo(include).isDir() &&
        !QFile::link(QDir(include).canonicalPath(), temporary.filePath(QStringLiteral("include"))))
        setupProblem = QStringLiteral("cannot link %1 into %2").arg(include, temporary.path());
}

QString StagedCompiler::fbc() const {
    return temporary.filePath(QStringLiteral("bin/fbc"));
}

QProcessEnvironment StagedCompiler::environment() const {
    return userEnvironment(home(temporary));
}

QStringList StagedCompiler::leftovers() const {
    QStringList found;
    const QString data = userDataDir(home(temporary));
    for (const QString& folder : {QStringLiteral("journals"), QStringLiteral("kept")}) {
        const QDir dir(data + QLatin1Char('/') + folder);
        for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            found.append(dir.filePath(entry));
    }
    return found;
}

QList<CompilerRun> StagedCompiler::compilerRuns() const {
    QFile log(runLog(temporary));
    QList<CompilerRun> runs;
    QMap<QByteArray, qsizetype> byProcess;
    if (!log.open(QIODevice::ReadOnly))
        return runs;
    for (const QByteArray& line : log.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' '); // "start|end PID NANOSECONDS"
        if (fields.size() != 3)
            continue;
        if (fields[0] == "start") {
            byProcess.insert(fields[1], runs.size());
            runs.append(CompilerRun{fields[2].toLongLong(), 0});
        } else if (fields[0] == "end" && byProcess.contains(fields[1])) {
            runs[byProcess.value(fields[1])].endedNs = fields[2].toLongLong();
        }
    }
    return runs;
}
