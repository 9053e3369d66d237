#include "snapshotregistry.h"

#include "digest.h"
#include "filerestore.h"
#include "runjournal.h"
#include "sourcefile.h"

#include <QDir>
#include <QFileInfo>

namespace {

QPair<qint64, qint64> keyOf(const FileStamp& identity) {
    return {identity.device, identity.inode};
}

FileTime modificationTimeOf(const FileStamp& stamp) {
    return FileTime{stamp.modifiedSeconds, stamp.modifiedNanoseconds, stamp.valid};
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

QString canonicalSourcePath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

SnapshotRegistry::SnapshotRegistry(RunJournal* journal, std::vector<LockedFile> held)
    : journal(journal), taken(std::move(held)) {}

SnapshotRegistry::~SnapshotRegistry() {
    worker.reset(); // it may still be writing a file held here
}

SnapshotRegistry::Entry* SnapshotRegistry::entryFor(const FileStamp& identity) const {
    return identity.valid ? byIdentity.value(keyOf(identity), nullptr) : nullptr;
}

SnapshotRegistry::Entry* SnapshotRegistry::entryFor(const QString& path) const {
    return entryFor(readFileStamp(path));
}

void SnapshotRegistry::stop(const QString& path, const QString& message) {
    if (!firstProblem)
        firstProblem = RunProblem{RunProblem::Kind::Stop, path, message};
}

// Takes the file at path for this run: one it already holds, or one nobody
// else holds. Notes a busy file as the run's problem.
bool SnapshotRegistry::take(const QString& path, LockedFile* file) {
    const FileStamp identity = readFileStamp(path);
    for (auto held = taken.begin(); held != taken.end(); ++held) {
        if (held->identity.sameFileAs(identity)) {
            *file = std::move(*held);
            taken.erase(held);
            return true;
        }
    }
    switch (tryLockFile(path, file)) {
    case LockOutcome::Taken:
        return true;
    case LockOutcome::Busy:
        if (!firstProblem)
            firstProblem = RunProblem{RunProblem::Kind::Busy, path, QString()};
        return false;
    default:
        return false;
    }
}

void SnapshotRegistry::add(const QString& path, LockedFile file, const QByteArray& bytes,
                           const FileStamp& read) {
    auto entry = std::make_unique<Entry>();
    entry->snapshot.path = path;
    entry->snapshot.bytes = bytes;
    entry->snapshot.modified = modificationTimeOf(read);
    entry->snapshot.read = read;
    entry->file = std::move(file);
    if (journal) {
        if (!worker)
            worker = std::make_unique<JournalWorker>(journal);
        entry->originalNumber =
            worker->keepOriginal(path, entry->file.identity, bytes, entry->snapshot.modified);
        jobs.append(Job{entry.get(), false});
    }
    byIdentity.insert(keyOf(entry->file.identity), entry.get());
    registrations.append(path);
    entries.push_back(std::move(entry));
}

std::optional<QByteArray> SnapshotRegistry::readSource(const QString& path) {
    if (firstProblem)
        return std::nullopt;
    const QString canonical = canonicalSourcePath(path);
    if (Entry* entry = entryFor(canonical)) {
        settleJournal(); // a queued write into it must be done first
        WholeFile whole = readWholeFile(entry->file.reader);
        if (!whole.bytes) {
            stop(canonical,
                 QStringLiteral("cannot read %1 whole: %2").arg(shown(canonical), whole.problem));
            return std::nullopt;
        }
        registrations.append(entry->snapshot.path);
        return whole.bytes;
    }
    LockedFile file;
    if (!take(canonical, &file))
        return std::nullopt;
    WholeFile whole = readWholeFile(file.reader);
    if (!whole.bytes) {
        stop(canonical,
             QStringLiteral("cannot read %1 whole: %2").arg(shown(canonical), whole.problem));
        return std::nullopt;
    }
    add(canonical, std::move(file), *whole.bytes, whole.stamp);
    return whole.bytes;
}

void SnapshotRegistry::registerSource(const QString& path, const QByteArray& bytes) {
    const QString canonical = canonicalSourcePath(path);
    if (Entry* entry = entryFor(canonical)) {
        registrations.append(entry->snapshot.path);
        return;
    }
    LockedFile file;
    if (!take(canonical, &file))
        return;
    const FileStamp read = fileStampOf(file.reader);
    add(canonical, std::move(file), bytes, read);
}

void SnapshotRegistry::settleJournal() {
    if (!worker || settledCount == jobs.size())
        return;
    const QList<JournalWorker::Outcome> outcomes = worker->wait();
    for (; settledCount < outcomes.size(); ++settledCount) {
        const JournalWorker::Outcome& outcome = outcomes[settledCount];
        Entry& entry = *jobs[settledCount].entry;
        if (!jobs[settledCount].write) {
            entry.snapshot.journalIndex = outcome.journalIndex;
            if (outcome.journalIndex < 0)
                stop(entry.snapshot.path,
                     QStringLiteral("cannot write the journal that protects %1 in %2")
                         .arg(shown(entry.snapshot.path), shown(journal->directory())));
        } else if (outcome.tried) {
            noteWrite(entry, outcome.digest, outcome.write);
        }
    }
}

Precondition SnapshotRegistry::preconditionFor(const Entry& entry) const {
    // Before its first rewrite a file must hold what was read; after it, what
    // was written last.
    Precondition precondition;
    if (entry.snapshot.writtenDigests.isEmpty()) {
        precondition.stamp = entry.snapshot.read;
        precondition.bytes = entry.snapshot.bytes;
    } else {
        precondition.stamp = entry.snapshot.lastWritten;
        precondition.digests = {entry.snapshot.writtenDigests.last()};
    }
    return precondition;
}

void SnapshotRegistry::noteWrite(Entry& entry, const QByteArray& digest,
                                 const WriteResult& result) {
    const QString& path = entry.snapshot.path;
    switch (result.status) {
    case WriteStatus::Written:
        if (!entry.snapshot.writtenDigests.contains(digest))
            entry.snapshot.writtenDigests.append(digest);
        else
            entry.snapshot.writtenDigests.move(entry.snapshot.writtenDigests.indexOf(digest),
                                               entry.snapshot.writtenDigests.size() - 1);
        entry.snapshot.lastWritten = result.after;
        break;
    case WriteStatus::Changed:
        stop(path, QStringLiteral("%1 %2 after fbext read it").arg(shown(path), result.reason));
        break;
    case WriteStatus::Failed:
        entry.cut = true; // whatever the put-back left, the original goes back at the end
        stop(path, QStringLiteral("cannot rewrite %1: %2").arg(shown(path), result.reason));
        break;
    case WriteStatus::JournalFailed:
        stop(path, QStringLiteral("cannot write the journal that protects %1 in %2")
                       .arg(shown(path), shown(journal->directory())));
        break;
    }
}

// Whether bytes are what the entry's file holds and has held all run: then
// there is nothing to write, and the file keeps its change time (and may be
// read-only).
bool SnapshotRegistry::isUnchanged(const Entry& entry, const QByteArray& bytes) {
    return entry.snapshot.writtenDigests.isEmpty() && !entry.cut && bytes == entry.snapshot.bytes;
}

// Whether the entry's file may be written now: not after a problem, not
// without a safe original, and not when it cannot be opened for writing.
bool SnapshotRegistry::mayWrite(Entry* entry) {
    if (!entry || firstProblem)
        return false;
    if (const int error = entry->file.openWriter()) {
        stop(entry->snapshot.path, QStringLiteral("cannot rewrite %1: %2")
                                       .arg(shown(entry->snapshot.path), systemErrorText(error)));
        return false;
    }
    return true;
}

bool SnapshotRegistry::writeRewrittenBytes(const QString& path, const QByteArray& bytes) {
    settleJournal(); // a file's original must be on disk before the file is touched
    Entry* entry = entryFor(canonicalSourcePath(path));
    if (entry && !firstProblem && isUnchanged(*entry, bytes))
        return true;
    if (!mayWrite(entry) || (journal && entry->snapshot.journalIndex < 0))
        return false;
    const QByteArray digest = contentDigest(bytes);
    const WriteResult result = rewriteFile(entry->file, bytes, digest, preconditionFor(*entry),
                                           entry->snapshot.bytes, entry->snapshot.modified,
                                           WriteLog{journal, entry->snapshot.journalIndex, false});
    noteWrite(*entry, digest, result);
    return result.status == WriteStatus::Written;
}

void SnapshotRegistry::queueRewrittenBytes(const QString& path, const QByteArray& bytes) {
    Entry* entry = entryFor(canonicalSourcePath(path));
    if (!journal || !worker || !entry || !entry->snapshot.writtenDigests.isEmpty()) {
        writeRewrittenBytes(path, bytes);
        return;
    }
    if (isUnchanged(*entry, bytes) || !mayWrite(entry))
        return;
    worker->write(entry->originalNumber, &entry->file, bytes, preconditionFor(*entry),
                  entry->snapshot.bytes, entry->snapshot.modified);
    jobs.append(Job{entry, true});
}

bool SnapshotRegistry::isTouched(const QString& path) const {
    return entryFor(canonicalSourcePath(path)) != nullptr;
}

RestoreReport SnapshotRegistry::restoreSources() {
    settleJournal();
    RestoreReport report;
    for (const std::unique_ptr<Entry>& entry : entries) {
        const FileSnapshot& snapshot = entry->snapshot;
        if (snapshot.writtenDigests.isEmpty() && !entry->cut)
            continue; // never rewritten: whatever the file holds is not ours
        const WriteLog log{journal, snapshot.journalIndex, true};
        RestoreResult result;
        if (entry->cut) {
            Precondition none;
            none.any = true;
            const WriteResult written = writeInPlace(entry->file, snapshot.bytes, QByteArray(),
                                                     snapshot.modified, none, log);
            result = written.status == WriteStatus::Written
                         ? RestoreResult{RestoreOutcome::Restored, QString()}
                         : RestoreResult{RestoreOutcome::Failed, written.reason};
        } else {
            result = restoreIfUnchanged(entry->file, snapshot.bytes, snapshot.modified,
                                        snapshot.writtenDigests, snapshot.lastWritten, log);
        }
        switch (result.outcome) {
        case RestoreOutcome::Restored:
        case RestoreOutcome::AlreadyOriginal:
            break;
        case RestoreOutcome::ChangedSince:
            report.changed.append(snapshot.path);
            break;
        case RestoreOutcome::Failed:
            report.failed.append({snapshot.path, result.reason});
            if (journal)
                journal->recordUnrestored(snapshot.journalIndex);
            break;
        }
    }
    return report;
}

void SnapshotRegistry::releaseFiles() {
    worker.reset();
    for (const std::unique_ptr<Entry>& entry : entries)
        entry->file = LockedFile();
    taken.clear();
}

std::optional<RunProblem> SnapshotRegistry::problem() {
    settleJournal();
    return firstProblem;
}

QStringList SnapshotRegistry::touchedFiles() {
    settleJournal();
    return registrations;
}

std::optional<FileSnapshot> SnapshotRegistry::snapshotOf(const QString& path) {
    settleJournal();
    const Entry* entry = entryFor(canonicalSourcePath(path));
    if (!entry)
        return std::nullopt;
    return entry->snapshot;
}

QStringList SnapshotRegistry::heldPaths() {
    settleJournal();
    QStringList paths;
    for (const std::unique_ptr<Entry>& entry : entries)
        paths.append(entry->snapshot.path);
    for (const LockedFile& file : taken)
        paths.append(file.path);
    return paths;
}
