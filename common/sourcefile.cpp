#include "sourcefile.h"

#include "openfile.h"

#include <QFile>

#include <cstring>
#include <limits>
#include <new>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// The largest file read whole: one the size of this machine's memory could
// not be held, let alone expanded.
qint64 largestReadableSize() {
#ifdef Q_OS_UNIX
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        return qMin(qint64(pages) * pageSize, qint64(std::numeric_limits<qsizetype>::max() / 2));
#endif
    return std::numeric_limits<qsizetype>::max() / 2;
}

// Sizes the buffer for a file, or says why it cannot be.
std::optional<QByteArray> bufferFor(qint64 size) {
    if (size > largestReadableSize())
        return std::nullopt;
    try {
        return QByteArray(qsizetype(size), Qt::Uninitialized);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

const QString tooLarge = QStringLiteral("it is larger than this machine's memory");

} // namespace

WholeFile readWholeFile(const OpenFile& file) {
    WholeFile whole;
    const FileStamp before = fileStampOf(file);
    // Read into a buffer of the file's size: these bytes are kept for the whole
    // run, and reading to the end in growing steps leaves up to twice the room.
    const qint64 size = qMax<qint64>(before.size, 0);
    std::optional<QByteArray> bytes = bufferFor(size);
    if (!bytes) {
        whole.problem = tooLarge;
        return whole;
    }
    qint64 got = 0;
    int error = 0;
    while (got < size) {
        const qint64 read = readAt(file, got, bytes->data() + got, size - got, &error);
        if (read < 0) {
            whole.problem = systemErrorText(error);
            return whole;
        }
        if (read == 0)
            break;
        got += read;
    }
    if (got < size) {
        whole.problem = QStringLiteral("it was cut short while it was read");
        return whole;
    }
    // Whatever the size did not tell: a file that grew, or one whose size the
    // system does not know beforehand (those under /proc).
    char more[65536];
    for (qint64 read; (read = readAt(file, got, more, sizeof more, &error)) != 0; got += read) {
        if (read < 0) {
            whole.problem = systemErrorText(error);
            return whole;
        }
        if (size > 0) {
            whole.problem = QStringLiteral("it grew while it was read");
            return whole;
        }
        if (got + read > largestReadableSize()) {
            whole.problem = tooLarge;
            return whole;
        }
        bytes->append(more, qsizetype(read));
    }
    whole.stamp = fileStampOf(file);
    if (before.valid && !whole.stamp.sameAs(before)) {
        whole.problem = QStringLiteral("it changed while it was read");
        return whole;
    }
    whole.bytes = std::move(bytes);
    return whole;
}

std::optional<QByteArray> readFileBytes(const QString& path) {
    int error = 0;
    const OpenFile file = openExistingFile(path, FileAccess::Read, &error);
    if (!file.isOpen())
        return std::nullopt;
    return readWholeFile(file).bytes;
}

bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    return file.flush() && written;
}
