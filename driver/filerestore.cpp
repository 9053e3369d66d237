#include "filerestore.h"

#include "sourcefile.h"

#include <QCryptographicHash>

QByteArray contentDigest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

RestoreOutcome restoreIfUnchanged(const QString& path, const QByteArray& original,
                                  const FileTime& modified,
                                  const QList<QByteArray>& writtenDigests) {
    const std::optional<QByteArray> current = readFileBytes(path);
    if (!current)
        return RestoreOutcome::ChangedSince;
    // Our own text is checked first: a pass may have written the original bytes
    // again, and then the modification time still has to be put back.
    if (writtenDigests.contains(contentDigest(*current))) {
        const bool restored =
            writeFileBytes(path, original) && (!modified.valid || restoreFileTime(path, modified));
        return restored ? RestoreOutcome::Restored : RestoreOutcome::Failed;
    }
    return *current == original ? RestoreOutcome::AlreadyOriginal : RestoreOutcome::ChangedSince;
}
