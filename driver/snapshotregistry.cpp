#include "snapshotregistry.h"

#include "sourcefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

QString canonicalSourcePath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

void SnapshotRegistry::registerSource(const QString& path, const QByteArray& bytes) {
    const QString key = canonicalSourcePath(path);
    touchedFiles.append(key);
    if (!originalTexts.contains(key))
        originalTexts.insert(key, FileSnapshot{bytes, readFileTime(key)});
}

bool SnapshotRegistry::writeRewrittenSource(const QString& path, const QString& text) {
    if (!isTouched(path))
        return false;
    return writeSourceText(path, text);
}

bool SnapshotRegistry::isTouched(const QString& path) const {
    return originalTexts.contains(canonicalSourcePath(path));
}

QStringList SnapshotRegistry::restoreSources() const {
    // A path registered several times holds the same snapshot each time, so one
    // write per file, in the order of its first registration, restores them all.
    QStringList failed;
    QSet<QString> restoredPaths;
    for (const QString& path : touchedFiles) {
        if (restoredPaths.contains(path))
            continue;
        restoredPaths.insert(path);
        const FileSnapshot snapshot = originalTexts.value(path);
        const bool restored =
            writeFileBytes(path, snapshot.bytes) &&
            (!snapshot.modified.valid || restoreFileTime(path, snapshot.modified));
        if (!restored)
            failed.append(path);
    }
    return failed;
}
