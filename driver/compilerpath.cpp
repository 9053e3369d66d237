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

QStringList compilerIncludeFolders(const QString& compilerPath) {
    QStringList folders;
    const QFileInfo compiler(compilerPath);
    const QStringList binFolders{compiler.absolutePath(),
                                 QFileInfo(compiler.canonicalFilePath()).absolutePath()};
    for (const QString& bin : binFolders) {
        if (bin.isEmpty())
            continue;
        const QDir dir(bin);
        // A folder named inc is as likely a user's: it is the compiler's only
        // when it holds the runtime's own header.
        const QString candidates[] = {
            dir.filePath(QStringLiteral("../include/freebasic")),
            QFileInfo::exists(dir.filePath(QStringLiteral("inc/fbgfx.bi")))
                ? dir.filePath(QStringLiteral("inc"))
                : QString()};
        for (const QString& candidate : candidates) {
            const QFileInfo folder(candidate);
            const QString real = candidate.isEmpty() ? QString() : folder.canonicalFilePath();
            if (!real.isEmpty() && folder.isDir() && !folders.contains(real))
                folders.append(real);
        }
    }
    return folders;
}
