#include "filerestore.h"

#include "digest.h"
#include "sourcefile.h"

Precondition holdsTextWritten(const QList<QByteArray>& writtenDigests,
                              const FileStamp& lastWritten) {
    Precondition ours;
    ours.stamp = lastWritten;
    ours.digests = writtenDigests;
    // The stamp taken right after our own write is as recent as stamps come;
    // a later write within the same tick of the clock is not looked for here.
    ours.stamp.recent = false;
    return ours;
}

RestoreResult restoreResultOf(const LockedFile& file, const QByteArray& original,
                              const WriteResult& written) {
    switch (written.status) {
    case WriteStatus::Written:
        return {RestoreOutcome::Restored, QString()};
    case WriteStatus::Changed:
        break;
    case WriteStatus::JournalFailed:
        return {RestoreOutcome::Failed, QStringLiteral("its journal cannot be written")};
    case WriteStatus::Failed:
        return {RestoreOutcome::Failed, written.reason};
    }
    if (readFileStamp(file.path).sameFileAs(file.identity) &&
        readWholeFile(file.reader).bytes == original)
        return {RestoreOutcome::AlreadyOriginal, QString()};
    return {RestoreOutcome::ChangedSince, written.reason};
}

RestoreResult restoreIfUnchanged(LockedFile& file, const QByteArray& original,
                                 const FileTime& modified, const QList<QByteArray>& writtenDigests,
                                 const FileStamp& lastWritten, const WriteLog& log) {
    const WriteResult written = writeInPlace(file, original, QByteArray(), modified,
                                             holdsTextWritten(writtenDigests, lastWritten), log);
    return restoreResultOf(file, original, written);
}
