#include "runjournal.h"

#include "digest.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

bool syncFile(QFile& file) {
    if (!file.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#elif defined(Q_OS_WIN)
    // QFile keeps no C runtime descriptor here; the file's cached data is
    // flushed through a handle of its own.
    const HANDLE handle = CreateFileW(
        reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(file.fileName()).utf16()),
        GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(handle);
    CloseHandle(handle);
    return flushed;
#else
    return true;
#endif
}

bool appendDurably(QFile& file, const QByteArray& line) {
    return file.write(line) == line.size() && syncFile(file);
}

QString manifestPath(const QString& directory) {
    return QDir(directory).filePath(manifestName());
}

QString lockPath(const QString& directory) {
    return QDir(directory).filePath(journalLockName());
}

} // namespace

bool writeDurably(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size() && syncFile(file);
}

bool syncDirectory(const QString& path) {
#ifdef Q_OS_UNIX
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0)
        return false;
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
#else
    Q_UNUSED(path);
    return true; // directory entries cannot be flushed separately here
#endif
}

QString journalCopyPath(const QString& directory, int index) {
    return QDir(directory).filePath(originalCopyName(index));
}

bool RunJournal::create(const QString& journalsDirectory, QString* reason) {
    if (!QDir().mkpath(journalsDirectory)) {
        *reason = QStringLiteral("cannot create %1").arg(journalsDirectory);
        return false;
    }
    const QDir journals(journalsDirectory);
    QString name;
    for (int attempt = 0;; ++attempt) {
        name = newJournalName();
        if (journals.mkdir(name))
            break;
        if (attempt == 10) {
            *reason = QStringLiteral("cannot create a directory in %1").arg(journalsDirectory);
            return false;
        }
    }
    directory = journals.filePath(name);
    lock = std::make_unique<QLockFile>(lockPath(directory));
    lock->setStaleLockTime(0); // only a dead owner makes it stale, however long it runs
    manifest = std::make_unique<QFile>(manifestPath(directory));
    if (!lock->tryLock(0) || !manifest->open(QIODevice::WriteOnly | QIODevice::Append) ||
        !appendDurably(*manifest, manifestHeader()) || !syncDirectory(directory) ||
        !syncDirectory(journalsDirectory)) {
        *reason = QStringLiteral("cannot write %1").arg(directory);
        manifest.reset();
        removeJournal(directory, lock.get());
        lock.reset();
        return false;
    }
    return true;
}

int RunJournal::recordOriginal(const QString& canonicalPath, const QByteArray& bytes,
                               const FileTime& modified) {
    if (!isOpen())
        return -1;
    const int index = fileCount;
    if (!writeDurably(journalCopyPath(directory, index), bytes) || !syncDirectory(directory))
        return -1;
    if (!appendDurably(*manifest,
                       originalRecord(index, modified, contentDigest(bytes), canonicalPath)))
        return -1;
    ++fileCount;
    return index;
}

bool RunJournal::recordWrite(int index, const QByteArray& digest) {
    if (!isOpen() || index < 0 || index >= fileCount)
        return false;
    return appendDurably(*manifest, writeRecord(index, digest));
}

QString RunJournal::originalCopyPath(int index) const {
    return journalCopyPath(directory, index);
}

void RunJournal::discard() {
    manifest.reset();
    removeJournal(directory, lock.get());
    lock.reset();
}

void RunJournal::abandon() {
    manifest.reset();
    if (lock)
        lock->unlock();
    lock.reset();
}

void RunJournal::keep(const QString& keptDirectory) {
    manifest.reset();
    directory = keepJournal(directory, keptDirectory, lock.get());
    lock.reset();
}

QList<JournalEntry> readJournal(const QString& directory) {
    QFile file(manifestPath(directory));
    return file.open(QIODevice::ReadOnly) ? parseManifest(file.readAll()) : QList<JournalEntry>();
}

void removeJournal(const QString& directory, QLockFile* lock) {
    // The manifest goes first: without it the rest is inert.
    QDir dir(directory);
    dir.remove(manifestName());
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (name != journalLockName())
            dir.remove(name);
    }
    if (lock)
        lock->unlock();
    dir.removeRecursively();
    syncDirectory(QFileInfo(directory).absolutePath());
}

QString keepJournal(const QString& directory, const QString& keptDirectory, QLockFile* lock) {
    if (lock)
        lock->unlock();
    const QString target = QDir(keptDirectory).filePath(QFileInfo(directory).fileName());
    if (!QDir().mkpath(keptDirectory) || !QDir().rename(directory, target))
        return directory;
    syncDirectory(keptDirectory);
    syncDirectory(QFileInfo(directory).absolutePath());
    return target;
}
