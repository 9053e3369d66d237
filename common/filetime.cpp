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

#ifdef Q_OS_WIN
#include <QDateTime>

#include <io.h>
#include <windows.h>

namespace {

// A FILETIME-like count of 100 ns steps since 1601 as seconds and
// nanoseconds since 1970.
void splitWindowsTime(qint64 ticks, qint64* seconds, qint64* nanoseconds) {
    constexpr qint64 from1601To1970 = 11644473600LL;
    *seconds = ticks / 10000000 - from1601To1970;
    *nanoseconds = (ticks % 10000000) * 100;
}

// The stamp of an open handle: the volume and file index say which file it
// is (hard links share them), FILE_BASIC_INFO gives the change time.
FileStamp stampOfHandle(HANDLE handle) {
    FileStamp stamp;
    BY_HANDLE_FILE_INFORMATION identity;
    FILE_BASIC_INFO times;
    if (!GetFileInformationByHandle(handle, &identity) ||
        !GetFileInformationByHandleEx(handle, FileBasicInfo, &times, sizeof times))
        return stamp;
    stamp.device = qint64(identity.dwVolumeSerialNumber);
    stamp.inode = (qint64(identity.nFileIndexHigh) << 32) | identity.nFileIndexLow;
    stamp.size = (qint64(identity.nFileSizeHigh) << 32) | identity.nFileSizeLow;
    splitWindowsTime(times.LastWriteTime.QuadPart, &stamp.modifiedSeconds,
                     &stamp.modifiedNanoseconds);
    splitWindowsTime(times.ChangeTime.QuadPart, &stamp.changeSeconds, &stamp.changeNanoseconds);
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    stamp.recent = now - stamp.changeSeconds < 2; // FAT keeps times to two seconds
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
#elif defined(Q_OS_WIN)
    const HANDLE handle =
        CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        const FileStamp stamp = stampOfHandle(handle);
        CloseHandle(handle);
        return stamp;
    }
#endif
    return FileStamp();
}

FileStamp fileStampOf(int descriptor) {
#ifdef Q_OS_UNIX
    struct stat info;
    if (::fstat(descriptor, &info) == 0)
        return stampFrom(info);
#elif defined(Q_OS_WIN)
    return stampOfHandle(HANDLE(_get_osfhandle(descriptor)));
#endif
    return FileStamp();
}
