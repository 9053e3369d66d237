#include "runjournal.h"

#include "filerestore.h"

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

const QByteArray manifestHeader = "fbext journal 1\n";

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
    return QDir(directory).filePath(QStringLiteral("manifest"));
}

QString lockPath(const QString& directory) {
    return QDir(directory).filePath(QStringLiteral("lock"));
}

bool parseNumber(const QByteArray& field, qint64* value) {
    bool ok = false;
    *value = field.toLongLong(&ok);
    return ok;
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
    return QDir(directory).filePath(QStringLiteral("%1.original").arg(index));
}

bool RunJournal::create(const QString& journalsDirectory, QString* reason) {
    if (!QDir().mkpath(journalsDirectory)) {
        *reason = QStringLiteral("cannot create %1").arg(journalsDirectory);
        return false;
    }
    const QDir journals(journalsDirectory);
    QString name;
    for (int attempt = 0;; ++attempt) {
        name = QStringLiteral("run-%1-%2-%3")
                   .arg(QCoreApplication::applicationPid())
                   .arg(QDateTime::currentMSecsSinceEpoch())
                   .arg(QRandomGenerator::global()->bounded(1000000));
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
        !appendDurably(*manifest, manifestHeader) || !syncDirectory(directory) ||
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
    const QByteArray record =
        "original " + QByteArray::number(index) + ' ' + QByteArray::number(modified.seconds) + ' ' +
        QByteArray::number(modified.nanoseconds) + ' ' + (modified.valid ? "1 " : "0 ") +
        contentDigest(bytes).toHex() + ' ' + canonicalPath.toUtf8().toPercentEncoding() + '\n';
    if (!appendDurably(*manifest, record))
        return -1;
    ++fileCount;
    return index;
}

bool RunJournal::recordWrite(int index, const QByteArray& digest) {
    if (!isOpen() || index < 0 || index >= fileCount)
        return false;
    return appendDurably(*manifest,
                         "wrote " + QByteArray::number(index) + ' ' + digest.toHex() + '\n');
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
    QList<JournalEntry> entries;
    QFile file(manifestPath(directory));
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    const QByteArray content = file.readAll();
    if (!content.startsWith(manifestHeader))
        return entries;
    QList<QByteArray> lines = content.mid(manifestHeader.size()).split('\n');
    lines.removeLast(); // empty, or a record cut short by the end of its run
    for (const QByteArray& line : std::as_const(lines)) {
        const QList<QByteArray> fields = line.split(' ');
        qint64 index = -1;
        if (fields.size() < 2 || !parseNumber(fields[1], &index))
            continue;
        if (fields[0] == "original" && fields.size() == 7 && index == entries.size()) {
            JournalEntry entry;
            entry.index = int(index);
            entry.modified.valid = fields[4] == "1";
            if (!parseNumber(fields[2], &entry.modified.seconds) ||
                !parseNumber(fields[3], &entry.modified.nanoseconds))
                entry.modified.valid = false;
            entry.originalDigest = QByteArray::fromHex(fields[5]);
            entry.path = QString::fromUtf8(QByteArray::fromPercentEncoding(fields[6]));
            entries.append(entry);
        } else if (fields[0] == "wrote" && fields.size() == 3 && index >= 0 &&
                   index < entries.size()) {
            entries[index].writtenDigests.append(QByteArray::fromHex(fields[2]));
        }
    }
    return entries;
}

void removeJournal(const QString& directory, QLockFile* lock) {
    // The manifest goes first: without it the rest is inert.
    QDir dir(directory);
    dir.remove(QStringLiteral("manifest"));
    for (const QString& name : dir.entryList({QStringLiteral("*.original")}, QDir::Files))
        dir.remove(name);
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
