#include "openfile.h"

#include "beside.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#else
#include <io.h>
#include <share.h>
#include <sys/utime.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// A run keeps every file it rewrites open until it has put it back; a program
// of more files than the usual limit of open files raises that limit as far
// as the system lets it, rather than fail.
bool raiseOpenFileLimit() {
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max)
        return false;
    limit.rlim_cur = limit.rlim_max;
    return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}
#endif

} // namespace

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    if (this != &other) {
        close();
        descriptor = other.descriptor;
        other.descriptor = -1;
    }
    return *this;
}

void OpenFile::close() {
    if (descriptor < 0)
        return;
#ifdef Q_OS_UNIX
    ::close(descriptor);
#else
    ::_close(descriptor);
#endif
    descriptor = -1;
}

QString systemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

OpenFile openExistingFile(const QString& path, FileAccess access, int* error) {
#ifdef Q_OS_UNIX
    const int flags = (access == FileAccess::Read ? O_RDONLY : O_WRONLY) | O_CLOEXEC | O_NOCTTY |
                      O_NONBLOCK; // a FIFO in the way must not hang the open
    const QByteArray name = QFile::encodeName(path);
    int descriptor = ::open(name.constData(), flags);
    if (descriptor < 0 && errno == EMFILE && raiseOpenFileLimit())
        descriptor = ::open(name.constData(), flags);
    if (descriptor < 0) {
        *error = errno;
        return OpenFile();
    }
    // Reads and writes of a regular file do not block anyway; the flag only
    // guarded the open.
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    return OpenFile(descriptor);
#else
    int descriptor = -1;
    const int flags =
        (access == FileAccess::Read ? _O_RDONLY : _O_WRONLY) | _O_BINARY | _O_NOINHERIT;
    *error = _wsopen_s(&descriptor, reinterpret_cast<const wchar_t*>(path.utf16()), flags,
                       _SH_DENYNO, _S_IREAD | _S_IWRITE);
    return OpenFile(*error == 0 ? descriptor : -1);
#endif
}

qint64 readAt(const OpenFile& file, qint64 offset, char* data, qint64 size, int* error) {
#ifdef Q_OS_UNIX
    for (;;) {
        const ssize_t got = ::pread(file.descriptor, data, size_t(size), off_t(offset));
        if (got >= 0)
            return got;
        if (errno != EINTR) {
            *error = errno;
            return -1;
        }
    }
#else
    if (_lseeki64(file.descriptor, offset, SEEK_SET) < 0) {
        *error = errno;
        return -1;
    }
    const int got = _read(file.descriptor, data, unsigned(qMin<qint64>(size, 1 << 30)));
    if (got < 0)
        *error = errno;
    return got;
#endif
}

int writeAt(const OpenFile& file, qint64 offset, const char* data, qint64 size) {
    while (size > 0) {
#ifdef Q_OS_UNIX
        const ssize_t written = offset < 0
                                    ? ::write(file.descriptor, data, size_t(size))
                                    : ::pwrite(file.descriptor, data, size_t(size), off_t(offset));
#else
        if (offset >= 0 && _lseeki64(file.descriptor, offset, SEEK_SET) < 0)
            return errno;
        const int written = _write(file.descriptor, data, unsigned(qMin<qint64>(size, 1 << 30)));
#endif
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return ENOSPC;
        data += written;
        if (offset >= 0)
            offset += written;
        size -= written;
    }
    return 0;
}

int appendTo(const OpenFile& file, const QByteArray& bytes) {
    return writeAt(file, -1, bytes.constData(), bytes.size());
}

int truncateFile(const OpenFile& file, qint64 size) {
#ifdef Q_OS_UNIX
    while (::ftruncate(file.descriptor, off_t(size)) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
#else
    return _chsize_s(file.descriptor, size);
#endif
}

int syncFile(const OpenFile& file) {
#ifdef Q_OS_UNIX
    return ::fsync(file.descriptor) == 0 ? 0 : errno;
#else
    return _commit(file.descriptor) == 0 ? 0 : errno;
#endif
}

std::vector<int> syncFilesTogether(const std::vector<const OpenFile*>& files) {
    // Each flush waits for the disk, not for the processor: more threads than
    // processors are no cost, but each is a thread the system must make.
    constexpr size_t together = 16;
    std::vector<int> errors(files.size(), 0);
    for (size_t first = 0; first < files.size(); first += together) {
        const size_t end = std::min(files.size(), first + together);
        std::vector<std::thread> waiting;
        for (size_t i = first + 1; i < end; ++i) {
            try {
                waiting.emplace_back([&files, &errors, i] {
                    blockInterruptsOnThisThread();
                    errors[i] = syncFile(*files[i]);
                });
            } catch (const std::system_error&) {
                errors[i] = syncFile(*files[i]); // no thread to be had: this one waits
            }
        }
        errors[first] = syncFile(*files[first]);
        for (std::thread& thread : waiting)
            thread.join();
    }
    return errors;
}

void startSyncFile(const OpenFile& file) {
#ifdef Q_OS_LINUX
    // Only a hint: an error here shows again in syncFile.
    ::sync_file_range(file.descriptor, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    Q_UNUSED(file);
#endif
}

int setModificationTime(const OpenFile& file, const FileTime& time) {
#ifdef Q_OS_UNIX
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time_t(time.seconds);
    times[1].tv_nsec = long(time.nanoseconds);
    return ::futimens(file.descriptor, times) == 0 ? 0 : errno;
#else
    struct __utimbuf64 times;
    times.actime = time.seconds;
    times.modtime = time.seconds;
    return _futime64(file.descriptor, &times) == 0 ? 0 : errno;
#endif
}

FileStamp fileStampOf(const OpenFile& file) {
    return fileStampOf(file.descriptor);
}
