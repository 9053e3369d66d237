#include "journallock.h"

#include "journalformat.h"

#include <QFile>
#include <QMutex>
#include <QPair>
#include <QSet>

#ifdef Q_OS_UNIX
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX

using Identity = QPair<qint64, qint64>;

// The lock files whose record lock this process holds.
QMutex heldLocksMutex;
QSet<Identity> heldLocks;

bool holdsLock(const Identity& identity) {
    const QMutexLocker locker(&heldLocksMutex);
    return heldLocks.contains(identity);
}

// The identity of the lock file in folder; false when there is none: nothing
// of that name, or something else (earlier versions kept lock files of their
// own there, even folders), which the folder's lock then stands for.
bool lockFileIdentity(const PrivateFolder& folder, Identity* identity) {
    struct stat info;
    if (::fstatat(folder.opened.descriptor, QFile::encodeName(lockName()).constData(), &info,
                  AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    *identity = {qint64(info.st_dev), qint64(info.st_ino)};
    return true;
}

// A write lock over the whole file, without waiting; with F_GETLK only looks.
bool lockWhole(const OpenFile& file, int command, struct flock* lock) {
    *lock = {};
    lock->l_type = F_WRLCK;
    lock->l_whence = SEEK_SET;
    lock->l_start = 0;
    lock->l_len = 0;
    while (::fcntl(file.descriptor, command, lock) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

// Enters the lock just taken on file into lock and the table.
void noteTaken(OpenFile file, const Identity& identity, JournalLock* lock) {
    lock->release();
    lock->file = std::move(file);
    lock->device = identity.first;
    lock->inode = identity.second;
    const QMutexLocker locker(&heldLocksMutex);
    heldLocks.insert(identity);
}

// Whether another process holds the folder's own lock (earlier versions, or a
// journal being created); the lock is taken on an opening of its own, which
// goes again here.
bool folderIsLocked(const PrivateFolder& folder) {
    PrivateFolder probe;
    probe.path = folder.path;
    probe.opened = OpenFile(
        ::openat(folder.opened.descriptor, ".", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    return !probe.isOpen() || !tryLockFolder(probe);
}

#endif

} // namespace

JournalLock::JournalLock(JournalLock&& other) noexcept
    : file(std::move(other.file)), device(other.device), inode(other.inode) {
    other.device = other.inode = -1;
}

JournalLock& JournalLock::operator=(JournalLock&& other) noexcept {
    if (this != &other) {
        release();
        file = std::move(other.file);
        device = other.device;
        inode = other.inode;
        other.device = other.inode = -1;
    }
    return *this;
}

void JournalLock::release() {
    if (!file.isOpen())
        return;
    file.close(); // the record lock goes with it
#ifdef Q_OS_UNIX
    const QMutexLocker locker(&heldLocksMutex);
    heldLocks.remove({device, inode});
#endif
    device = inode = -1;
}

#ifdef Q_OS_UNIX

bool lockNewJournal(PrivateFolder& folder, JournalLock* lock) {
    // Locked under another name first: a lock file without its lock would tell
    // another run's recovery that this journal's run is dead.
    const QString unlocked = lockName() + QStringLiteral(".new");
    int error = 0;
    OpenFile file = createPrivateFile(folder, unlocked, &error);
    struct flock taken;
    struct stat info;
    if (!file.isOpen() || !lockWhole(file, F_SETLK, &taken) ||
        ::fstat(file.descriptor, &info) != 0 ||
        ::renameat(folder.opened.descriptor, QFile::encodeName(unlocked).constData(),
                   folder.opened.descriptor, QFile::encodeName(lockName()).constData()) != 0)
        return false;
    noteTaken(std::move(file), {qint64(info.st_dev), qint64(info.st_ino)}, lock);
    return true;
}

bool tryLockJournal(PrivateFolder& folder, JournalLock* lock) {
    Identity identity;
    if (!lockFileIdentity(folder, &identity))
        return tryLockFolder(folder);
    if (holdsLock(identity))
        return false; // this process's own: opening it again would let the lock go
    OpenFile file = openOwnFileForAppending(folder, lockName());
    struct flock taken;
    if (!file.isOpen() || !lockWhole(file, F_SETLK, &taken))
        return false;
    // Keeps an earlier version's recovery out too, where no child of the dead
    // run still holds the folder's lock; the record lock decides either way.
    tryLockFolder(folder);
    noteTaken(std::move(file), identity, lock);
    return true;
}

bool isJournalLocked(const PrivateFolder& journals, const QString& name) {
    PrivateFolder folder;
    QString problem;
    if (!openPrivateSubfolder(journals, name, false, &folder, &problem))
        return false;
    Identity identity;
    if (!lockFileIdentity(folder, &identity))
        return folderIsLocked(folder);
    if (holdsLock(identity))
        return true;
    const OpenFile file = openOwnFileForAppending(folder, lockName());
    struct flock holder;
    if (!file.isOpen() || !lockWhole(file, F_GETLK, &holder))
        return false;
    return holder.l_type != F_UNLCK;
}

#else // Windows: the folder's lock is a lock file opened for this process alone, never inherited.

bool lockNewJournal(PrivateFolder&, JournalLock*) {
    return true;
}

bool tryLockJournal(PrivateFolder& folder, JournalLock*) {
    return tryLockFolder(folder);
}

bool isJournalLocked(const PrivateFolder& journals, const QString& name) {
    PrivateFolder folder;
    QString problem;
    if (!openPrivateSubfolder(journals, name, false, &folder, &problem))
        return false;
    return !tryLockFolder(folder);
}

#endif
