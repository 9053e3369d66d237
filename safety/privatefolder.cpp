#include "privatefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/file.h>
#include <unistd.h>
#else
#include <io.h>
#include <share.h>
#endif

namespace {

#ifdef Q_OS_UNIX

QByteArray nameBytes(const QString& name) {
    return QFile::encodeName(name);
}

// What makes a folder no folder of the user's own, or nothing.
QString folderProblem(const struct stat& info) {
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("it is a symbolic link");
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("it is not a folder");
    if (info.st_uid != ::geteuid())
        return QStringLiteral("it belongs to another user");
    if (info.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("other users may write to it");
    return QString();
}

QString errorProblem(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Opens name in parent (AT_FDCWD for a path) as a folder of the user's own:
// looked at before it is opened, for a message that says what is wrong with
// it, and again once open, since it may have been replaced in between.
bool openChecked(int parent, const QString& name, const QString& path, PrivateFolder* folder,
                 QString* problem) {
    const QByteArray entry = nameBytes(name);
    struct stat info;
    if (::fstatat(parent, entry.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        *problem = errorProblem(errno);
        return false;
    }
    *problem = folderProblem(info);
    if (!problem->isEmpty())
        return false;
    OpenFile opened(::openat(parent, entry.constData(), folderFlags));
    if (!opened.isOpen()) {
        *problem = errorProblem(errno);
        return false;
    }
    *problem = ::fstat(opened.descriptor, &info) == 0 ? folderProblem(info) : errorProblem(errno);
    if (!problem->isEmpty())
        return false;
    folder->path = path;
    folder->opened = std::move(opened);
    return true;
}

bool isOwnRegularFile(int descriptor) {
    struct stat info;
    return ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

#endif

} // namespace

bool PrivateFolder::isOpen() const {
#ifdef Q_OS_UNIX
    return opened.isOpen();
#else
    return !path.isEmpty();
#endif
}

QString PrivateFolder::filePath(const QString& name) const {
    return QDir(path).filePath(name);
}

#ifdef Q_OS_UNIX

bool openPrivateFolder(const QString& path, PrivateFolder* folder, QString* problem) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    QDir().mkpath(QFileInfo(clean).absolutePath());
    if (::mkdir(nameBytes(clean).constData(), 0700) != 0 && errno != EEXIST) {
        *problem = errorProblem(errno);
        return false;
    }
    return openChecked(AT_FDCWD, clean, clean, folder, problem);
}

bool openPrivateSubfolder(const PrivateFolder& parent, const QString& name, bool create,
                          PrivateFolder* folder, QString* problem) {
    problem->clear();
    const QByteArray entry = nameBytes(name);
    const int descriptor = parent.opened.descriptor;
    if (create && ::mkdirat(descriptor, entry.constData(), 0700) != 0 && errno != EEXIST) {
        *problem = errorProblem(errno);
        return false;
    }
    struct stat info;
    if (!create && ::fstatat(descriptor, entry.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0 &&
        errno == ENOENT)
        return false;
    return openChecked(descriptor, name, parent.filePath(name), folder, problem);
}

QStringList folderEntries(const PrivateFolder& folder) {
    QStringList names;
    const int descriptor = ::openat(folder.opened.descriptor, ".", folderFlags);
    if (descriptor < 0)
        return names;
    DIR* directory = ::fdopendir(descriptor);
    if (!directory) {
        ::close(descriptor);
        return names;
    }
    while (const struct dirent* entry = ::readdir(directory)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(QFile::decodeName(name));
    }
    ::closedir(directory);
    names.sort();
    return names;
}

OpenFile createPrivateFile(const PrivateFolder& folder, const QString& name, int* error) {
    const int descriptor = ::openat(folder.opened.descriptor, nameBytes(name).constData(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0)
        *error = errno;
    return OpenFile(descriptor);
}

OpenFile openOwnFileForAppending(const PrivateFolder& folder, const QString& name) {
    OpenFile file(::openat(folder.opened.descriptor, nameBytes(name).constData(),
                           O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (file.isOpen() && !isOwnRegularFile(file.descriptor))
        file.close();
    return file;
}

std::optional<QByteArray> readOwnFile(const PrivateFolder& folder, const QString& name) {
    const OpenFile file(::openat(folder.opened.descriptor, nameBytes(name).constData(),
                                 O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!file.isOpen() || !isOwnRegularFile(file.descriptor))
        return std::nullopt;
    QByteArray bytes;
    char buffer[65536];
    int error = 0;
    for (qint64 read; (read = readAt(file, bytes.size(), buffer, sizeof buffer, &error)) != 0;) {
        if (read < 0)
            return std::nullopt;
        bytes.append(buffer, qsizetype(read));
    }
    return bytes;
}

bool writeFileDurably(const PrivateFolder& folder, const QString& name, const QByteArray& bytes,
                      bool flushFolder) {
    int error = 0;
    const OpenFile file = createPrivateFile(folder, name, &error);
    return file.isOpen() && writeAt(file, 0, bytes.constData(), bytes.size()) == 0 &&
           syncFile(file) == 0 && (!flushFolder || syncFolder(folder));
}

bool removeEntry(const PrivateFolder& folder, const QString& name) {
    const QByteArray entry = nameBytes(name);
    return ::unlinkat(folder.opened.descriptor, entry.constData(), 0) == 0 ||
           (errno == EISDIR &&
            ::unlinkat(folder.opened.descriptor, entry.constData(), AT_REMOVEDIR) == 0);
}

bool moveEntry(const PrivateFolder& from, const QString& name, const PrivateFolder& to) {
    const QByteArray entry = nameBytes(name);
    return ::renameat(from.opened.descriptor, entry.constData(), to.opened.descriptor,
                      entry.constData()) == 0;
}

bool syncFolder(const PrivateFolder& folder) {
    return ::fsync(folder.opened.descriptor) == 0;
}

bool tryLockFolder(PrivateFolder& folder) {
    return ::flock(folder.opened.descriptor, LOCK_EX | LOCK_NB) == 0;
}

#else // Windows: the folder is reached by its path; %LOCALAPPDATA% is the user's own.

bool openPrivateFolder(const QString& path, PrivateFolder* folder, QString* problem) {
    if (!QDir().mkpath(path)) {
        *problem = QStringLiteral("it cannot be created");
        return false;
    }
    folder->path = QDir::cleanPath(QDir(path).absolutePath());
    return true;
}

bool openPrivateSubfolder(const PrivateFolder& parent, const QString& name, bool create,
                          PrivateFolder* folder, QString* problem) {
    problem->clear();
    const QString path = parent.filePath(name);
    const QFileInfo info(path);
    if (!info.exists() && !create)
        return false;
    if (info.exists() && !info.isDir()) {
        *problem = QStringLiteral("it is not a folder");
        return false;
    }
    return openPrivateFolder(path, folder, problem);
}

QStringList folderEntries(const PrivateFolder& folder) {
    return QDir(folder.path)
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

OpenFile createPrivateFile(const PrivateFolder& folder, const QString& name, int* error) {
    int descriptor = -1;
    *error = _wsopen_s(&descriptor, reinterpret_cast<const wchar_t*>(folder.filePath(name).utf16()),
                       _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _SH_DENYNO,
                       _S_IREAD | _S_IWRITE);
    return OpenFile(*error == 0 ? descriptor : -1);
}

OpenFile openOwnFileForAppending(const PrivateFolder& folder, const QString& name) {
    int descriptor = -1;
    _wsopen_s(&descriptor, reinterpret_cast<const wchar_t*>(folder.filePath(name).utf16()),
              _O_WRONLY | _O_APPEND | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
    return OpenFile(descriptor);
}

std::optional<QByteArray> readOwnFile(const PrivateFolder& folder, const QString& name) {
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool writeFileDurably(const PrivateFolder& folder, const QString& name, const QByteArray& bytes,
                      bool) {
    int error = 0;
    const OpenFile file = createPrivateFile(folder, name, &error);
    return file.isOpen() && writeAt(file, 0, bytes.constData(), bytes.size()) == 0 &&
           syncFile(file) == 0;
}

bool removeEntry(const PrivateFolder& folder, const QString& name) {
    const QString path = folder.filePath(name);
    return QFileInfo(path).isDir() ? QDir().rmdir(path) : QFile::remove(path);
}

bool moveEntry(const PrivateFolder& from, const QString& name, const PrivateFolder& to) {
    return QDir().rename(from.filePath(name), to.filePath(name));
}

bool syncFolder(const PrivateFolder&) {
    return true; // folder entries cannot be flushed separately here
}

bool tryLockFolder(PrivateFolder& folder) {
    // A lock file opened for this process alone, closed (and so let go) when
    // the process ends.
    int descriptor = -1;
    _wsopen_s(&descriptor,
              reinterpret_cast<const wchar_t*>(folder.filePath(QStringLiteral("lock")).utf16()),
              _O_RDWR | _O_CREAT | _O_BINARY | _O_NOINHERIT, _SH_DENYRW, _S_IREAD | _S_IWRITE);
    if (descriptor < 0)
        return false;
    folder.opened = OpenFile(descriptor);
    return true;
}

#endif
