#include "filetime.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

namespace {

bool statPath(const QString& path, struct stat& info) {
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

// The modification and change times, whose field names differ between systems.
#ifdef Q_OS_DARWIN
const struct timespec& modificationTimeOf(const struct stat& info) {
    return info.st_mtimespec;
}
const struct timespec& changeTimeOf(const struct stat& info) {
    return info.st_ctimespec;
}
#else
const struct timespec& modificationTimeOf(const struct stat& info) {
    return info.st_mtim;
}
const struct timespec& changeTimeOf(const struct stat& info) {
    return info.st_ctim;
}
#endif

// How long after a change the file system's clock may still show the same
// time for a later change: a kernel tick on local disks, two seconds on FAT.
constexpr qint64 clockTickNs = 2000000000;

FileStamp stampFrom(const struct stat& info) {
    FileStamp stamp;
    stamp.device = qint64(info.st_dev);
    stamp.inode = qint64(info.st_ino);
    stamp.size = qint64(info.st_size);
    stamp.modifiedSeconds = modificationTimeOf(info).tv_sec;
    stamp.modifiedNanoseconds = modificationTimeOf(info).tv_nsec;
    stamp.changeSeconds = changeTimeOf(info).tv_sec;
    stamp.changeNanoseconds = changeTimeOf(info).tv_nsec;
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const qint64 sinceChange = (qint64(now.tv_sec) - stamp.changeSeconds) * 1000000000 +
                               (qint64(now.tv_nsec) - stamp.changeNanoseconds);
    stamp.recent = sinceChange < clockTickNs;
    stamp.valid = true;
    return stamp;
}

} // namespace
#endif

FileTime readFileTime(const QString& path) {
    FileTime time;
#ifdef Q_OS_UNIX
    struct stat info;
    if (!statPath(path, info))
        return time;
    time.seconds = modificationTimeOf(info).tv_sec;
    time.nanoseconds = modificationTimeOf(info).tv_nsec;
#else
    const QDateTime modified = QFileInfo(path).lastModified().toUTC();
    if (!modified.isValid())
        return time;
    const qint64 ms = modified.toMSecsSinceEpoch();
    time.seconds = ms / 1000;
    time.nanoseconds = (ms % 1000) * 1000000;
#endif
    time.valid = true;
    return time;
}

bool restoreFileTime(const QString& path, const FileTime& time) {
    if (!time.valid)
        return false;
#ifdef Q_OS_UNIX
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time.seconds;
    times[1].tv_nsec = time.nanoseconds;
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QDateTime modified =
        QDateTime::fromMSecsSinceEpoch(time.seconds * 1000 + time.nanoseconds / 1000000, Qt::UTC);
    return file.setFileTime(modified, QFileDevice::FileModificationTime);
#endif
}

FileStamp readFileStamp(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat info;
    if (statPath(path, info))
        return stampFrom(info);
#else
    Q_UNUSED(path);
#endif
    return FileStamp();
}

FileStamp fileStampOf(int descriptor) {
#ifdef Q_OS_UNIX
    struct stat info;
    if (::fstat(descriptor, &info) == 0)
        return stampFrom(info);
#else
    Q_UNUSED(descriptor);
#endif
    return FileStamp();
}
