#include "filelock.h"

#include "interrupts.h"
#include "journalformat.h"
#include "messages.h"
#include "sourcefile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#include <sys/stat.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace {

const char enclosingRunsName[] = "FBEXT_ENCLOSING_JOURNALS";

// How often a waiting run looks again, and when it says that it waits.
constexpr int lockPollMs = 25;
constexpr int waitNoticeMs = 2000;

bool waitNoticeGiven = false; // once per run

bool lockWithoutWaiting(const OpenFile& file) {
#ifdef Q_OS_UNIX
    while (::flock(file.descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
#else
    // Windows locks are mandatory: one byte far past the end of any source
    // file is locked, so the compiler can still read every byte of it.
    OVERLAPPED at = {};
    at.OffsetHigh = 0x40000000;
    return LockFileEx(HANDLE(_get_osfhandle(file.descriptor)),
                      LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
#endif
}

bool openRegularFile(const QString& path, LockedFile* file) {
    int error = 0;
    file->reader = openExistingFile(path, FileAccess::Read, &error);
    if (!file->reader.isOpen())
        return false;
    file->identity = fileStampOf(file->reader);
#ifdef Q_OS_UNIX
    struct stat info;
    if (::fstat(file->reader.descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        file->reader.close();
        return false;
    }
#endif
    file->path = path;
    return true;
}

// "process 1234: fbc main.bas" for the run that holds the file, where the
// system tells (Linux lists every lock in /proc/locks); empty otherwise.
QString holderOf(const FileStamp& identity) {
#ifdef Q_OS_LINUX
    const QByteArray id =
        QByteArray::number(major(dev_t(identity.device)), 16).rightJustified(2, '0') + ':' +
        QByteArray::number(minor(dev_t(identity.device)), 16).rightJustified(2, '0') + ':' +
        QByteArray::number(identity.inode);
    const QByteArray locks = readFileBytes(QStringLiteral("/proc/locks")).value_or(QByteArray());
    for (const QByteArray& line : locks.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // "1: FLOCK ADVISORY WRITE 1234 fe:00:5678 0 EOF"; waiters show "->".
        if (fields.size() < 6 || fields[1] == "->" || fields[5] != id)
            continue;
        const QByteArray pid = fields[4];
        if (pid.toLongLong() <= 0)
            return QString();
        QByteArray command =
            readFileBytes(QStringLiteral("/proc/%1/cmdline").arg(QString::fromLatin1(pid)))
                .value_or(QByteArray());
        command.replace('\0', ' ');
        return QStringLiteral("process %1: %2")
            .arg(QString::fromLatin1(pid), QString::fromLocal8Bit(command.trimmed()));
    }
#else
    Q_UNUSED(identity);
#endif
    return QString();
}

// Whether a run whose compile started this program (directly or further up)
// holds the file: its journal lists every file it holds.
bool enclosingRunHolds(const FileStamp& identity) {
    const QByteArray journals = qgetenv(enclosingRunsName);
    for (const QByteArray& journal : journals.split('\n')) {
        if (journal.isEmpty())
            continue;
        const QString manifest = QDir(QFile::decodeName(journal)).filePath(manifestName());
        for (const JournalEntry& entry :
             parseManifest(readFileBytes(manifest).value_or(QByteArray()))) {
            if (entry.device == identity.device && entry.inode == identity.inode)
                return true;
        }
    }
    return false;
}

LockOutcome waitForLock(LockedFile& file) {
    if (lockWithoutWaiting(file.reader))
        return LockOutcome::Taken;
    if (enclosingRunHolds(file.identity))
        return LockOutcome::HeldByEnclosingRun;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (pendingInterrupt())
            return LockOutcome::Interrupted;
        if (!waitNoticeGiven && waited.elapsed() >= waitNoticeMs) {
            waitNoticeGiven = true;
            const QString holder = holderOf(file.identity);
            reportError(
                QStringLiteral("waiting for %1, which another compile is using%2")
                    .arg(QDir::toNativeSeparators(file.path),
                         holder.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(holder)));
        }
        QThread::msleep(lockPollMs);
        if (lockWithoutWaiting(file.reader))
            return LockOutcome::Taken;
    }
}

} // namespace

int LockedFile::openWriter() {
    if (writer.isOpen())
        return 0;
    int error = 0;
    writer = openExistingFile(path, FileAccess::Write, &error);
    if (!writer.isOpen())
        return error;
    if (!fileStampOf(writer).sameFileAs(identity)) {
        writer.close();
        return ENOENT; // the name now leads to another file
    }
    return 0;
}

LockOutcome tryLockFile(const QString& path, LockedFile* file) {
    if (!openRegularFile(path, file))
        return LockOutcome::NotOpened;
    if (lockWithoutWaiting(file->reader))
        return LockOutcome::Taken;
    *file = LockedFile();
    return LockOutcome::Busy;
}

LockOutcome lockFilesInOrder(const QStringList& paths, std::vector<LockedFile>* files,
                             QString* busyPath) {
    std::vector<LockedFile> opened;
    for (const QString& path : paths) {
        LockedFile file;
        if (!openRegularFile(path, &file))
            continue;
        const bool twice =
            std::any_of(opened.cbegin(), opened.cend(), [&](const LockedFile& other) {
                return other.identity.sameFileAs(file.identity);
            });
        if (!twice)
            opened.push_back(std::move(file));
    }
    std::sort(opened.begin(), opened.end(), [](const LockedFile& a, const LockedFile& b) {
        return std::pair(a.identity.device, a.identity.inode) <
               std::pair(b.identity.device, b.identity.inode);
    });
    for (LockedFile& file : opened) {
        const LockOutcome outcome = waitForLock(file);
        if (outcome != LockOutcome::Taken) {
            *busyPath = file.path;
            return outcome;
        }
    }
    *files = std::move(opened);
    return LockOutcome::Taken;
}

QByteArray enclosingRunsEntry(const QString& journalFolder) {
    QByteArray journals = qgetenv(enclosingRunsName);
    if (!journals.isEmpty())
        journals += '\n';
    return QByteArray(enclosingRunsName) + '=' + journals + QFile::encodeName(journalFolder);
}
