#include "stagedcompiler.h"

#include "userenvironment.h"

#include <QDir>
#include <QFile>

namespace {

QString home(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("home"));
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
        scriptFile.write("#!/bin/sh\nexec " + shellQuoted(QDir(realCompiler).absolutePath()) +
                         " \"$@\"\n") < 0 ||
        !scriptFile.setPermissions(scriptFile.permissions() | QFileDevice::ExeOwner)) {
        setupProblem = QStringLiteral("cannot stage %1 and %2 in %3")
                           .arg(fbextProgram, realCompiler, temporary.path());
        return;
    }
    QDir().mkpath(home(temporary));
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
