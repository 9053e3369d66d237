#include "folderstate.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

QByteArray readBytes(const QString& path, bool* ok) {
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

QString shownTime(const FileTime& time) {
    return QStringLiteral("%1.%2").arg(time.seconds).arg(time.nanoseconds, 9, 10, QLatin1Char('0'));
}

} // namespace

FolderState recordFolder(const QString& dir) {
    FolderState state;
    QDirIterator files(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        bool ok = false;
        FileState file{readBytes(path, &ok), readFileTime(path)};
        state.insert(QDir(dir).relativeFilePath(path), file);
    }
    return state;
}

QStringList folderChanges(const FolderState& before, const QString& dir) {
    QStringList changes;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const QString path = QDir(dir).filePath(it.key());
        bool ok = false;
        const QByteArray now = readBytes(path, &ok);
        if (!ok) {
            changes.append(it.key() + QStringLiteral(": gone or unreadable after the run"));
            continue;
        }
        if (now != it->bytes) {
            changes.append(
                QStringLiteral("%1: %2 bytes before the run, %3 bytes after; they differ")
                    .arg(it.key())
                    .arg(it->bytes.size())
                    .arg(now.size()));
        }
        const FileTime time = readFileTime(path);
        if (time.seconds != it->time.seconds || time.nanoseconds != it->time.nanoseconds) {
            changes.append(QStringLiteral("%1: modification time %2 before the run, %3 after")
                               .arg(it.key(), shownTime(it->time), shownTime(time)));
        }
    }
    return changes;
}

bool writeFiles(const QString& dir, const QMap<QString, QByteArray>& files) {
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString path = QDir(dir).filePath(it.key());
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
            return false;
    }
    return true;
}
