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
    if (originalTexts.contains(key))
        return;
    FileSnapshot snapshot{bytes, readFileTime(key), {}, -1};
    if (journal) {
        if (!keeper)
            keeper = std::make_unique<OriginalKeeper>(journal);
        keeper->keep(key, bytes, snapshot.modified);
        keptPaths.append(key);
    }
    originalTexts.insert(key, snapshot);
}

void SnapshotRegistry::settleJournal() {
    if (!keeper || settledCount == keptPaths.size())
        return;
    const QList<int> indexes = keeper->wait();
    for (; settledCount < indexes.size(); ++settledCount) {
        const QString& path = keptPaths[settledCount];
        originalTexts[path].journalIndex = indexes[settledCount];
        if (indexes[settledCount] < 0)
            journalFailures.append(path);
    }
}

bool SnapshotRegistry::writeRewrittenSource(const QString& path, const QString& text) {
    // The bytes are made a piece at a time, for the digest and again for the
    // write, rather than held whole beside the text.
    return writeRegistered(path, sourceTextDigest(text),
                           [&] { return writeSourceText(path, text); });
}

bool SnapshotRegistry::writeRewrittenBytes(const QString& path, const QByteArray& bytes) {
    return writeRegistered(path, contentDigest(bytes), [&] { return writeFileBytes(path, bytes); });
}

bool SnapshotRegistry::writeRegistered(const QString& path, const QByteArray& digest,
                                       const std::function<bool()>& write) {
    settleJournal(); // a file's original must be on disk before the file is touched
    const auto snapshot = originalTexts.find(canonicalSourcePath(path));
    if (snapshot == originalTexts.end())
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
    return originalTexts.contains(canonicalSourcePath(path));
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
        const FileSnapshot snapshot = originalTexts.value(path);
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
