#include "filerestore.h"

#include "sourcefile.h"

#include <QCryptographicHash>

QByteArray contentDigest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

namespace {

RestoreOutcome writeOriginal(const QString& path, const QByteArray& original,
                             const FileTime& modified) {
    if (!writeFileBytes(path, original))
        return RestoreOutcome::Failed;
    // The time is put back where the file system lets us (only the owner may
    // set it); the bytes are what must not be lost.
    if (modified.valid)
        restoreFileTime(path, modified);
    return RestoreOutcome::Restored;
}

} // namespace

RestoreOutcome restoreIfUnchanged(const QString& path, const QByteArray& original,
                                  const FileTime& modified, const QList<QByteArray>& writtenDigests,
                                  const FileStamp& lastWritten) {
    // Untouched since our last write: no need to read it back and compare. A
    // failed write is reported; the journal keeps the original for the next run.
    if (readFileStamp(path).sameAs(lastWritten))
        return writeOriginal(path, original, modified);
    const std::optional<QByteArray> current = readFileBytes(path);
    if (!current)
        return RestoreOutcome::ChangedSince;
    // Our own text is checked first: a pass may have written the original bytes
    // again, and then the modification time still has to be put back.
    if (writtenDigests.contains(contentDigest(*current))) {
        const RestoreOutcome outcome = writeOriginal(path, original, modified);
        // A write that failed part-way (disk full) left neither text: put ours
        // back, so a later restore still recognises the file as ours.
        if (outcome == RestoreOutcome::Failed)
            writeFileBytes(path, *current);
        return outcome;
    }
    return *current == original ? RestoreOutcome::AlreadyOriginal : RestoreOutcome::ChangedSince;
}
