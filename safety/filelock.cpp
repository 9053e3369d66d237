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
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace {

const char enclosingRunsName[] = "FBEXT_ENCLOSING_JOURNALS";

// How often a waiting run looks again, and when it says that it waits.
constexpr qint64 shortestPauseMs = 2;
constexpr qint64 longestPauseMs = 25;
constexpr qint64 waitNoticeMs = 2000;
// How long a run that holds files waits for another one's before it lets its
// own go (filelock.h): long enough for the usual passes of another run.
constexpr qint64 patienceMs = 300;

bool waitNoticeGiven = false; // once per run

// The locked bytes lie far past the end of any source file, so the compiler
// reads every byte of the file whatever the system makes of them.
constexpr qint64 useByte = qint64(1) << 62;
constexpr qint64 departureByte = useByte + 1;
constexpr qint64 originalByte = useByte + 2;

#ifdef Q_OS_UNIX

// Sets (or with F_UNLCK clears) this process's lock of the given type on the
// byte at, without waiting. A read lock needs a descriptor open for reading,
// a write lock one open for writing; both belong to the process.
bool setLock(const OpenFile& file, qint64 at, short type) {
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = off_t(at);
    lock.l_len = 1;
    while (::fcntl(file.descriptor, F_SETLK, &lock) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

// Whether another process has a lock on the byte at that keeps a lock of the
// given type from being set; the lock found goes to *found. False also when
// the system cannot tell.
bool lockedByOthers(const OpenFile& file, qint64 at, short type, struct flock* found) {
    *found = {};
    found->l_type = type;
    found->l_whence = SEEK_SET;
    found->l_start = off_t(at);
    found->l_len = 1;
    return ::fcntl(file.descriptor, F_GETLK, found) == 0 && found->l_type != F_UNLCK;
}

// The process of another run whose lock on the byte at keeps a lock of the
// given type from being set: 0 when there is none, -1 when the system does
// not say which (or cannot tell whether there is one).
qint64 holderAt(const OpenFile& file, qint64 at, short type) {
    struct flock lock;
    if (lockedByOthers(file, at, type, &lock))
        return lock.l_pid > 0 ? lock.l_pid : -1;
    return lock.l_type == F_UNLCK ? 0 : -1;
}

#else

// Windows locks are per handle and mandatory, so the bytes far past the end
// keep every byte of the file readable. Only alone is used here: runs that
// share a file take turns on it instead.
bool lockAlone(const OpenFile& file) {
    OVERLAPPED at = {};
    at.OffsetHigh = DWORD(useByte >> 32);
    return LockFileEx(HANDLE(_get_osfhandle(file.descriptor)),
                      LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
}

#endif

bool openRegularFile(const QString& path, LockedFile* file) {
    file->reader = openExistingFile(path, FileAccess::Read, &file->openError);
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

// Takes the file alone if this run may write it and nobody else uses it.
bool takeAlone(LockedFile& file) {
#ifdef Q_OS_UNIX
    if (file.openWriter() != 0 || !setLock(file.writer, useByte, F_WRLCK))
        return false;
#else
    if (!lockAlone(file.reader))
        return false;
#endif
    file.alone = true;
    return true;
}

// Takes the file shared if nobody has it alone.
bool takeShared(LockedFile& file) {
#ifdef Q_OS_UNIX
    file.alone = false;
    return setLock(file.reader, useByte, F_RDLCK);
#else
    Q_UNUSED(file);
    return false;
#endif
}

void letGoOfUse(LockedFile& file) {
#ifdef Q_OS_UNIX
    setLock(file.reader, useByte, F_UNLCK);
#else
    Q_UNUSED(file);
#endif
}

// "process 1234: fbc main.bas" for a run that uses the file, where the system
// tells (the command where Linux lists it); empty otherwise.
QString holderOf(const LockedFile& file) {
#ifdef Q_OS_UNIX
    const qint64 pid = holderAt(file.reader, useByte, F_WRLCK);
    if (pid <= 0)
        return QString();
    const QString process = QString::number(pid);
    QByteArray command =
        readFileBytes(QStringLiteral("/proc/%1/cmdline").arg(process)).value_or(QByteArray());
    command.replace('\0', ' ');
    command = command.trimmed();
    if (command.isEmpty())
        return QStringLiteral("process %1").arg(process);
    return QStringLiteral("process %1: %2").arg(process, QString::fromLocal8Bit(command));
#else
    Q_UNUSED(file);
    return QString();
#endif
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

// One look at a file the ordered wait is after: whether the wait is over, and
// then whether the file is kept (held alone, or shared by this run alone when
// it may not write it). A file other runs share is not kept unless this run
// must have it to itself: the passes take it shared.
bool waitIsOver(LockedFile& file, bool mustBeAlone, bool* keep) {
    *keep = true;
    if (takeAlone(file))
        return true;
#ifdef Q_OS_UNIX
    if (file.writer.isOpen()) {
        // Writable, but another run uses it: over once nobody has it alone.
        *keep = false;
        return !mustBeAlone && holderAt(file.reader, useByte, F_RDLCK) == 0;
    }
    // This run may only read the file; alone, for it, is being its only user.
    if (!takeShared(file))
        return false;
    if (!othersUse(file))
        return true;
    letGoOfUse(file);
    *keep = false;
    return !mustBeAlone;
#else
    Q_UNUSED(mustBeAlone);
    return false;
#endif
}

LockOutcome waitForFile(LockedFile& file, bool mustBeAlone, bool* keep) {
    if (waitIsOver(file, mustBeAlone, keep))
        return LockOutcome::Taken;
    // An enclosing run shares its files during its compile, so only a run
    // that must have a file to itself would wait for it.
    if (mustBeAlone && enclosingRunHolds(file.identity))
        return LockOutcome::HeldByEnclosingRun;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (pendingInterrupt())
            return LockOutcome::Interrupted;
        pauseWhileWaitingFor(file, waited.elapsed());
        if (waitIsOver(file, mustBeAlone, keep))
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

LockOutcome tryLockFile(const QString& path, LockedFile* file, bool* othersUseIt, bool patient) {
    if (!openRegularFile(path, file))
        return LockOutcome::NotOpened;
    QElapsedTimer waited;
    waited.start();
    while (!takeAlone(*file) && !takeShared(*file)) {
        if (!patient || waited.elapsed() >= patienceMs || pendingInterrupt()) {
            *file = LockedFile();
            return LockOutcome::Busy;
        }
        QThread::msleep(std::clamp(waited.elapsed() / 10, shortestPauseMs, longestPauseMs));
    }
    if (file->alone) {
        if (othersUseIt)
            *othersUseIt = false;
        return LockOutcome::Taken;
    }
    if (othersUseIt)
        *othersUseIt = othersUse(*file);
    return LockOutcome::Taken;
}

void shareFile(LockedFile& file) {
#ifdef Q_OS_UNIX
    // Setting a read lock where this process has a write lock changes it in
    // one step: the file is never free in between.
    if (file.alone && setLock(file.reader, useByte, F_RDLCK))
        file.alone = false;
#else
    Q_UNUSED(file); // held alone: others wait for it
#endif
}

void holdAsOriginal(LockedFile& file) {
#ifdef Q_OS_UNIX
    setLock(file.reader, originalByte, F_RDLCK);
#else
    Q_UNUSED(file); // files are not shared here
#endif
}

bool othersHoldAsOriginal(const LockedFile& file) {
#ifdef Q_OS_UNIX
    // When the system cannot tell, nobody vouches for the bytes.
    struct flock lock;
    return lockedByOthers(file.reader, originalByte, F_WRLCK, &lock);
#else
    Q_UNUSED(file);
    return false;
#endif
}

bool tryTakeAlone(LockedFile& file) {
    return file.alone || takeAlone(file);
}

bool othersUse(const LockedFile& file) {
#ifdef Q_OS_UNIX
    return holderAt(file.reader, useByte, F_WRLCK) != 0;
#else
    Q_UNUSED(file);
    return false;
#endif
}

bool tryEnterDeparture(LockedFile& file) {
#ifdef Q_OS_UNIX
    return file.openWriter() == 0 && setLock(file.writer, departureByte, F_WRLCK);
#else
    Q_UNUSED(file);
    return true;
#endif
}

void leaveDeparture(LockedFile& file) {
#ifdef Q_OS_UNIX
    setLock(file.reader, departureByte, F_UNLCK);
#else
    Q_UNUSED(file);
#endif
}

LockOutcome lockFilesInOrder(const QStringList& paths, const QSet<QString>& alonePaths,
                             std::vector<LockedFile>* files, QString* busyPath) {
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
    std::vector<LockedFile> held;
    for (LockedFile& file : opened) {
        bool keep = false;
        const LockOutcome outcome = waitForFile(file, alonePaths.contains(file.path), &keep);
        if (outcome != LockOutcome::Taken) {
            *busyPath = file.path;
            return outcome;
        }
        if (keep)
            held.push_back(std::move(file));
    }
    *files = std::move(held);
    return LockOutcome::Taken;
}

void pauseWhileWaitingFor(const LockedFile& file, qint64 waited) {
    QThread::msleep(std::clamp(waited / 10, shortestPauseMs, longestPauseMs));
    if (waitNoticeGiven || waited < waitNoticeMs)
        return;
    waitNoticeGiven = true;
    const QString holder = holderOf(file);
    reportError(QStringLiteral("waiting for %1, which another compile is using%2")
                    .arg(QDir::toNativeSeparators(file.path),
                         holder.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(holder)));
}

QByteArray enclosingRunsEntry(const QString& journalFolder) {
    QByteArray journals = qgetenv(enclosingRunsName);
    if (!journals.isEmpty())
        journals += '\n';
    return QByteArray(enclosingRunsName) + '=' + journals + QFile::encodeName(journalFolder);
}
