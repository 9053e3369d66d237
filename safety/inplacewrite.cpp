#include "inplacewrite.h"

#include "digest.h"
#include "runjournal.h"
#include "sourcefile.h"

#include <cstring>

WriteHook userFileWriteHook = nullptr;

namespace {

void reachStep(WriteStep step) {
    if (userFileWriteHook)
        userFileWriteHook(step);
}

// Whether the file holds what the precondition says, read in pieces: a large
// file is not held a second time to be checked. A file that cannot be read
// to its end does not, nor one that grows past size (its size when it was
// looked at) while it is read: someone is writing it.
bool holdsExpected(const OpenFile& reader, const Precondition& precondition, qint64 size) {
    const bool byBytes = precondition.digests.isEmpty();
    const QByteArray& expected = precondition.bytes;
    DigestOfPieces digest(precondition.digests);
    char piece[65536];
    qint64 at = 0;
    int error = 0;
    for (qint64 read; (read = readAt(reader, at, piece, sizeof piece, &error)) != 0; at += read) {
        if (read < 0 || read > size - at)
            return false;
        if (!byBytes)
            digest.add(QByteArrayView(piece, read));
        else if (read > expected.size() - at ||
                 std::memcmp(piece, expected.constData() + at, size_t(read)) != 0)
            return false;
    }
    return byBytes ? at == expected.size() : digest.matchesAny();
}

// Why the file does not meet the precondition, or nothing when it does.
QString changeIn(const LockedFile& file, const Precondition& precondition) {
    if (precondition.any)
        return QString();
    const FileStamp named = readFileStamp(file.path);
    if (!named.valid)
        return QStringLiteral("was deleted");
    if (!named.sameFileAs(file.identity))
        return QStringLiteral("was replaced by another file");
    const FileStamp now = fileStampOf(file.reader);
    if (now.sameAs(precondition.stamp) && !precondition.stamp.recent)
        return QString();
    // The times changed, or cannot tell: the bytes do.
    if (holdsExpected(file.reader, precondition, now.size))
        return QString();
    return QStringLiteral("was changed");
}

WriteResult failed(int error) {
    WriteResult result;
    result.status = WriteStatus::Failed;
    result.reason = systemErrorText(error);
    return result;
}

} // namespace

WriteResult prepareWrite(LockedFile& file, const Precondition& precondition) {
    WriteResult result;
    result.reason = changeIn(file, precondition);
    if (!result.reason.isEmpty()) {
        result.status = WriteStatus::Changed;
        return result;
    }
    if (const int error = file.openWriter())
        return failed(error);
    result.status = WriteStatus::Written;
    return result;
}

WriteResult startWriteInPlace(LockedFile& file, const QByteArray& bytes, const QByteArray& digest,
                              const FileTime& modified, const Precondition& precondition,
                              const WriteLog& log) {
    reachStep(WriteStep::Starting);
    WriteResult result;
    if (!log.announced) {
        result = prepareWrite(file, precondition);
        if (result.status != WriteStatus::Written)
            return result;
        if (log.journal) {
            const bool announced = log.restoring
                                       ? log.journal->recordRestoreStarting(log.index)
                                       : log.journal->recordWriteStarting(log.index, digest);
            if (!announced) {
                result.status = WriteStatus::JournalFailed;
                return result;
            }
            reachStep(WriteStep::Announced);
        }
    }
    if (log.announced || log.journal) {
        // Checked before the announcement, but its flush (and, for writes
        // announced together, the writes made before this one) took time: a
        // file saved meanwhile is left as it is, and the announcement
        // withdrawn, or recovery would take the save for a write cut short
        // and put the original over it.
        result.reason = changeIn(file, precondition);
        if (!result.reason.isEmpty()) {
            if (log.journal)
                log.journal->recordWriteSkipped(log.index);
            result.status = WriteStatus::Changed;
            return result;
        }
    }
    const qint64 half = bytes.size() / 2;
    int error = writeAt(file.writer, 0, bytes.constData(), half);
    if (!error) {
        reachStep(WriteStep::Halfway);
        error = writeAt(file.writer, half, bytes.constData() + half, bytes.size() - half);
    }
    if (!error)
        error = truncateFile(file.writer, bytes.size());
    if (!error)
        reachStep(WriteStep::BytesWritten);
    if (!error && modified.valid) {
        // Only the owner may set the time; the bytes are what must not be lost.
        setModificationTime(file.writer, modified);
    }
    if (error)
        return failed(error);
    startSyncFile(file.writer);
    result.status = WriteStatus::Written;
    return result;
}

namespace {

// The rest of a write once its flush is done (syncError 0) or has failed.
WriteResult finishSyncedWrite(LockedFile& file, const WriteLog& log, int syncError) {
    if (syncError)
        return failed(syncError);
    reachStep(WriteStep::Flushed);
    WriteResult result;
    result.status = WriteStatus::Written;
    result.after = fileStampOf(file.writer);
    if (log.journal)
        log.journal->recordWriteDone(log.index);
    return result;
}

} // namespace

WriteResult finishWriteInPlace(LockedFile& file, const WriteLog& log) {
    return finishSyncedWrite(file, log, syncFile(file.writer));
}

std::vector<WriteResult> finishWritesInPlace(const std::vector<LockedFile*>& files,
                                             const std::vector<WriteLog>& logs) {
    std::vector<const OpenFile*> writers;
    writers.reserve(files.size());
    for (const LockedFile* file : files)
        writers.push_back(&file->writer);
    const std::vector<int> errors = syncFilesTogether(writers);
    std::vector<WriteResult> results;
    results.reserve(files.size());
    for (size_t i = 0; i < files.size(); ++i)
        results.push_back(finishSyncedWrite(*files[i], logs[i], errors[i]));
    return results;
}

WriteResult writeInPlace(LockedFile& file, const QByteArray& bytes, const QByteArray& digest,
                         const FileTime& modified, const Precondition& precondition,
                         const WriteLog& log) {
    const WriteResult started = startWriteInPlace(file, bytes, digest, modified, precondition, log);
    return started.status == WriteStatus::Written ? finishWriteInPlace(file, log) : started;
}

void undoFailedRewrite(LockedFile& file, const WriteResult& result, const QByteArray& original,
                       const FileTime& modified, const WriteLog& log) {
    if (result.status != WriteStatus::Failed || !file.writer.isOpen())
        return;
    WriteLog restoring = log;
    restoring.restoring = true;
    restoring.announced = false;
    Precondition none;
    none.any = true;
    writeInPlace(file, original, QByteArray(), modified, none, restoring);
}

WriteResult rewriteFile(LockedFile& file, const QByteArray& bytes, const QByteArray& digest,
                        const Precondition& precondition, const QByteArray& original,
                        const FileTime& modified, const WriteLog& log) {
    WriteResult result = writeInPlace(file, bytes, digest, FileTime(), precondition, log);
    undoFailedRewrite(file, result, original, modified, log);
    return result;
}
