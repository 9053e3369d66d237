#include "runjournal.h"

#include "digest.h"

#include <algorithm>
#include <vector>

namespace {

// Appends whole records, or none: records cut short (the disk full, the
// file size limit reached) are taken off again, or the next record appended
// would run on from them, and recovery would read neither.
bool appendRecords(const OpenFile& manifest, const QByteArray& records) {
    const FileStamp before = fileStampOf(manifest);
    if (appendTo(manifest, records) == 0)
        return true;
    if (before.valid)
        truncateFile(manifest, before.size);
    return false;
}

bool appendDurably(const OpenFile& manifest, const QByteArray& records) {
    return appendRecords(manifest, records) && syncFile(manifest) == 0;
}

} // namespace

bool RunJournal::create(const PrivateFolder& journals, QString* reason) {
    fileCount = 0; // a run that let its files go starts a fresh journal
    // The folder is locked the moment it is open: until then, another run's
    // recovery may take it for the empty journal of a dead run and remove it,
    // and then no manifest can be made in it. A new name is tried then.
    for (int attempt = 0; attempt < 10; ++attempt) {
        name = newJournalName();
        PrivateFolder candidate;
        QString problem;
        if (!openPrivateSubfolder(journals, name, true, &candidate, &problem) ||
            !tryLockFolder(candidate) || !folderEntries(candidate).isEmpty() ||
            !lockNewJournal(candidate, &lock))
            continue; // not ours (it is let go here)
        folder = std::move(candidate);
        int error = 0;
        manifest = createPrivateFile(folder, manifestName(), &error);
        if (!manifest.isOpen()) {
            folder = PrivateFolder();
            lock.release();
            continue;
        }
        if (appendTo(manifest, manifestHeader()) == 0 &&
            openPrivateSubfolder(journals, QStringLiteral("."), false, &unflushedIn, &problem))
            return true;
        *reason = QStringLiteral("cannot write %1").arg(folder.path);
        discard(journals);
        return false;
    }
    *reason = QStringLiteral("cannot make a journal in %1").arg(journals.path);
    return false;
}

bool RunJournal::adopt(const PrivateFolder& journals, const QString& journalName) {
    QString problem;
    if (!openPrivateSubfolder(journals, journalName, false, &folder, &problem) ||
        !tryLockJournal(folder, &lock)) {
        folder = PrivateFolder();
        return false;
    }
    name = journalName;
    manifest = openOwnFileForAppending(folder, manifestName());
    // A record its run was cutting short when it died (a power cut) is read
    // as nothing; it goes, so that the records this run adds start a line.
    const QByteArray bytes = readOwnFile(folder, manifestName()).value_or(QByteArray());
    if (manifest.isOpen() && !bytes.isEmpty() && !bytes.endsWith('\n'))
        truncateFile(manifest, bytes.lastIndexOf('\n') + 1);
    fileCount = int(parseManifest(bytes).size());
    return true;
}

QList<JournalEntry> RunJournal::entries() const {
    return parseManifest(readOwnFile(folder, manifestName()).value_or(QByteArray()));
}

int RunJournal::recordOriginal(const QString& canonicalPath, const FileStamp& identity,
                               const QByteArray& bytes, const FileTime& modified) {
    return recordOriginals({Original{canonicalPath, identity, bytes, modified}}).constFirst();
}

QList<int> RunJournal::recordOriginals(const QList<Original>& originals) {
    QList<int> indexes(originals.size(), -1);
    if (!isOpen())
        return indexes;
    // Each copy is on disk before the folder that names it is flushed, once
    // for all of them. A few copies are written, then waited for together, so
    // the disk takes them at once; a few, as each holds a descriptor until
    // then, and the program may be near its limit.
    constexpr qsizetype together = 16;
    int next = fileCount;
    for (qsizetype first = 0; first < originals.size(); first += together) {
        const qsizetype end = std::min(originals.size(), first + together);
        std::vector<OpenFile> copies;
        std::vector<qsizetype> written;
        for (qsizetype i = first; i < end; ++i) {
            int error = 0;
            OpenFile copy = createPrivateFile(folder, originalCopyName(next), &error);
            if (!copy.isOpen() ||
                writeAt(copy, 0, originals[i].bytes.constData(), originals[i].bytes.size()) != 0)
                continue;
            startSyncFile(copy);
            copies.push_back(std::move(copy));
            written.push_back(i);
            indexes[i] = next++;
        }
        std::vector<const OpenFile*> toSync;
        toSync.reserve(copies.size());
        for (const OpenFile& copy : copies)
            toSync.push_back(&copy);
        const std::vector<int> errors = syncFilesTogether(toSync);
        for (size_t k = 0; k < copies.size(); ++k) {
            if (errors[k] != 0)
                indexes[written[k]] = -1; // its copy is not safe: the file is not rewritten
        }
    }
    if (next == fileCount)
        return indexes;
    const auto failAll = [&indexes] {
        indexes.fill(-1);
        return indexes;
    };
    if (!syncFolder(folder))
        return failAll();
    // A journal is flushed first here, not when it is made: a run that never
    // rewrites a file pays for none of it. Flushing the copies' folder has
    // flushed the names of its lock, manifest and copies; the journals folder
    // now keeps the journal's own name. Only then do the records below,
    // flushed with the manifest's header, make the journal count: after a
    // power cut there is either no journal, one without a whole record
    // (recovery finds nothing to do in it and removes it), or one whose
    // records and copies are all on disk.
    if (unflushedIn.isOpen() && !syncFolder(unflushedIn))
        return failAll();
    unflushedIn = PrivateFolder();
    QByteArray records;
    for (qsizetype i = 0; i < originals.size(); ++i) {
        if (indexes[i] >= 0)
            records +=
                originalRecord(indexes[i], originals[i].modified, contentDigest(originals[i].bytes),
                               originals[i].identity, originals[i].canonicalPath);
    }
    if (!appendDurably(manifest, records))
        return failAll();
    fileCount = next;
    return indexes;
}

bool RunJournal::recordWriteStarting(int index, const QByteArray& digest) {
    return isOpen() && index >= 0 && index < fileCount &&
           appendDurably(manifest, writeRecord(index, digest));
}

bool RunJournal::recordRestoreStarting(int index) {
    return isOpen() && index >= 0 && index < fileCount &&
           appendDurably(manifest, restoreRecord(index));
}

bool RunJournal::recordWritesStarting(const QList<int>& indexes, const QList<QByteArray>& digests) {
    QByteArray records;
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        if (indexes[i] < 0 || indexes[i] >= fileCount)
            return false;
        records += writeRecord(indexes[i], digests.value(i));
    }
    return isOpen() && appendDurably(manifest, records);
}

bool RunJournal::recordRestoresStarting(const QList<int>& indexes) {
    QByteArray records;
    for (const int index : indexes) {
        if (index < 0 || index >= fileCount)
            return false;
        records += restoreRecord(index);
    }
    return isOpen() && appendDurably(manifest, records);
}

void RunJournal::recordWriteDone(int index) {
    // Not flushed on its own: the file's bytes are on disk already, and a
    // record lost with a power cut only makes recovery look at the file again.
    if (isOpen())
        appendRecords(manifest, doneRecord(index));
}

void RunJournal::recordWriteSkipped(int index) {
    if (isOpen())
        appendDurably(manifest, skippedRecord(index));
}

bool RunJournal::recordShared(int index, const QByteArray& digest) {
    return isOpen() && index >= 0 && index < fileCount &&
           appendDurably(manifest, sharedRecord(index, digest));
}

void RunJournal::recordLeft(int index) {
    // Read by the other runs from the system's cache; after a power cut no run
    // is left to tell apart from one that let the file go.
    if (isOpen())
        appendRecords(manifest, leftRecord(index));
}

void RunJournal::recordUnrestored(int index) {
    if (isOpen())
        appendDurably(manifest, unrestoredRecord(index));
}

QString RunJournal::originalCopyPath(int index) const {
    return folder.filePath(originalCopyName(index));
}

std::optional<QByteArray> RunJournal::readOriginal(int index) const {
    return readOwnFile(folder, originalCopyName(index));
}

QString RunJournal::keepFoundBytes(int index, const QByteArray& bytes) {
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const QString copy = foundCopyName(index, attempt);
        if (readOwnFile(folder, copy))
            continue;
        return writeFileDurably(folder, copy, bytes) ? copy : QString();
    }
    return QString();
}

bool RunJournal::keepsFoundBytes() const {
    const QStringList names = folderEntries(folder);
    return std::any_of(names.cbegin(), names.cend(),
                       [](const QString& name) { return isFoundCopyName(name); });
}

void RunJournal::discard(const PrivateFolder& journals) {
    // The manifest goes first: without it the rest is inert.
    manifest.close();
    if (!folder.isOpen()) {
        lock.release();
        return;
    }
    removeEntry(folder, manifestName());
    for (const QString& entry : folderEntries(folder))
        removeEntry(folder, entry);
    folder = PrivateFolder(); // lets the locks go
    lock.release();
    removeEntry(journals, name);
    syncFolder(journals);
}

void RunJournal::abandon() {
    manifest.close();
    folder.opened.close(); // lets the locks go; the journal stays where it is
    lock.release();
}

void RunJournal::keep(const PrivateFolder& journals, const PrivateFolder& kept) {
    manifest.close();
    if (kept.isOpen() && moveEntry(journals, name, kept)) {
        syncFolder(kept);
        syncFolder(journals);
        folder.path = kept.filePath(name);
    }
    folder.opened.close();
    lock.release();
}
