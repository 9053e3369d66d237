#include "snapshotregistry.h"

#include "filerestore.h"
#include "runjournal.h"
#include "sourcefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

QString canonicalSourcePath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

void SnapshotRegistry::registerSource(const QString& path, const QByteArray& bytes) {
    const QString key = canonicalSourcePath(path);
    touchedFiles.append(key);
    if (snapshots.contains(key))
        return;
    FileSnapshot snapshot{bytes, readFileTime(key), {}, -1};
    if (journal) {
        if (!worker)
            worker = std::make_unique<JournalWorker>(journal);
        originalNumbers.insert(key, worker->keepOriginal(key, bytes, snapshot.modified));
        jobPaths.append(key);
    }
    snapshots.insert(key, snapshot);
}

void SnapshotRegistry::settleJournal() {
    if (!worker || settledCount == jobPaths.size())
        return;
    const QList<JournalWorker::Outcome> outcomes = worker->wait();
    for (; settledCount < outcomes.size(); ++settledCount) {
        const JournalWorker::Outcome& outcome = outcomes[settledCount];
        const QString& path = jobPaths[settledCount];
        FileSnapshot& snapshot = snapshots[path];
        if (outcome.digest.isEmpty()) { // an original, or a write refused for want of one
            if (snapshot.journalIndex < 0 && outcome.journalIndex >= 0)
                snapshot.journalIndex = outcome.journalIndex;
            else if (snapshot.journalIndex < 0 && !journalFailures.contains(path))
                journalFailures.append(path);
            continue;
        }
        if (!outcome.recorded) {
            journalFailures.append(path);
            continue;
        }
        if (!snapshot.writtenDigests.contains(outcome.digest))
            snapshot.writtenDigests.append(outcome.digest);
        snapshot.lastWritten = outcome.written ? outcome.stamp : FileStamp();
    }
}

void SnapshotRegistry::queueRewrittenBytes(const QString& path, const QByteArray& bytes) {
    const QString key = canonicalSourcePath(path);
    const auto snapshot = snapshots.constFind(key);
    if (!journal || !worker || snapshot == snapshots.cend()) {
        writeRewrittenBytes(path, bytes);
        return;
    }
    worker->write(originalNumbers.value(key), path, bytes, snapshot->bytes, snapshot->modified);
    jobPaths.append(key);
}

bool SnapshotRegistry::writeRewrittenBytes(const QString& path, const QByteArray& bytes) {
    return writeRegistered(path, contentDigest(bytes), [&] { return writeFileBytes(path, bytes); });
}

bool SnapshotRegistry::writeRegistered(const QString& path, const QByteArray& digest,
                                       const std::function<bool()>& write) {
    settleJournal(); // a file's original must be on disk before the file is touched
    const auto snapshot = snapshots.find(canonicalSourcePath(path));
    if (snapshot == snapshots.end())
        return false;
    if (journal) {
        if (snapshot->journalIndex < 0)
            return false; // already listed in journalFailures
        if (!journal->recordWrite(snapshot->journalIndex, digest)) {
            journalFailures.append(snapshot.key());
            return false;
        }
    }
    if (!snapshot->writtenDigests.contains(digest))
        snapshot->writtenDigests.append(digest);
    if (write()) {
        snapshot->lastWritten = readFileStamp(snapshot.key());
        return true;
    }
    snapshot->lastWritten = FileStamp();
    // A write that failed part-way (disk full) may have cut the file short: put
    // the original back at once rather than leave a damaged file to the compiler.
    if (writeFileBytes(path, snapshot->bytes) && snapshot->modified.valid)
        restoreFileTime(path, snapshot->modified);
    return false;
}

bool SnapshotRegistry::isTouched(const QString& path) const {
    return snapshots.contains(canonicalSourcePath(path));
}

RestoreReport SnapshotRegistry::restoreSources() const {
    // A path registered several times holds the same snapshot each time, so one
    // restore per file, in the order of its first registration, restores them all.
    RestoreReport report;
    QSet<QString> restoredPaths;
    for (const QString& path : touchedFiles) {
        if (restoredPaths.contains(path))
            continue;
        restoredPaths.insert(path);
        const FileSnapshot snapshot = snapshots.value(path);
        if (snapshot.writtenDigests.isEmpty())
            continue; // never rewritten: whatever the file holds is not ours
        switch (restoreIfUnchanged(path, snapshot.bytes, snapshot.modified, snapshot.writtenDigests,
                                   snapshot.lastWritten)) {
        case RestoreOutcome::Restored:
        case RestoreOutcome::AlreadyOriginal:
            break;
        case RestoreOutcome::ChangedSince:
            report.changed.append(path);
            break;
        case RestoreOutcome::Failed:
            report.failed.append(path);
            break;
        }
    }
    return report;
}
