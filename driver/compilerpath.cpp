#include "compilerpath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool hasDirectoryPart(const QString& path) {
#ifdef Q_OS_WIN
    return path.contains(u'/') || path.contains(u'\\') || path.contains(u':');
#else
    return path.contains(u'/');
#endif
}

QString invocationDirectory(const QString& invocationPath) {
    if (hasDirectoryPart(invocationPath))
        return QFileInfo(invocationPath).absolutePath();
    if (!invocationPath.isEmpty()) {
        const QString found = QStandardPaths::findExecutable(invocationPath);
        if (!found.isEmpty())
            return QFileInfo(found).absolutePath();
    }
    return QCoreApplication::applicationDirPath();
}

} // namespace

QString compilerFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("fbc2.exe");
#else
    return QStringLiteral("fbc2");
#endif
}

QString compilerPathFor(const QString& invocationPath) {
    return QDir(invocationDirectory(invocationPath)).filePath(compilerFileName());
}
