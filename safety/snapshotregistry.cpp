#include "snapshotregistry.h"

#include "digest.h"
#include "filerestore.h"
#include "otherjournals.h"
#include "recovery.h"
#include "runjournal.h"
#include "sourcefile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

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

SnapshotRegistry::SnapshotRegistry(RunJournal* journal, std::vector<LockedFile> held,
                                   OtherJournals* others, const PrivateFolder* journalsFolder,
                                   RewriteCheck mayBeRewritten)
    : journal(journal), others(others), journalsFolder(journalsFolder),
      mayBeRewritten(mayBeRewritten), taken(std::move(held)) {}

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

void SnapshotRegistry::waitTurn(const QString& path, bool alone) {
    if (!firstProblem)
        firstProblem = RunProblem{RunProblem::Kind::Busy, path, QString(), alone};
}

// Takes the file at path for this run: one it already holds, or one no other
// run has alone. Notes a busy file as the run's problem.
bool SnapshotRegistry::take(const QString& path, LockedFile* file, bool* othersUse) {
    const FileStamp identity = readFileStamp(path);
    for (auto held = taken.begin(); held != taken.end(); ++held) {
        if (held->identity.sameFileAs(identity)) {
            *file = std::move(*held);
            taken.erase(held);
            *othersUse = !file->alone && ::othersUse(*file);
            return true;
        }
    }
    switch (tryLockFile(path, file, othersUse, true)) {
    case LockOutcome::Taken:
        return true;
    case LockOutcome::Busy:
        waitTurn(path, false);
        return false;
    case LockOutcome::NotOpened:
        // A file this process has no descriptor left for is there all the
        // same: passed over, it would reach the compiler unexpanded.
        if (file->openError == EMFILE || file->openError == ENFILE)
            stop(path, QStringLiteral("cannot open %1: %2")
                           .arg(shown(path), systemErrorText(file->openError)));
        return false;
    default:
        return false;
    }
}

// Hands the entry's original to the journal's thread, making the journal
// first when the run has none yet. Returns false, the run stopped, when the
// journal cannot be made.
bool SnapshotRegistry::keepOriginal(Entry& entry) {
    if (!journal->isOpen() && !withoutJournal.isEmpty()) {
        stop(entry.snapshot.path, withoutJournal);
        return false;
    }
    if (!journal->isOpen() && journalsFolder) {
        QString problem;
        if (!journal->create(*journalsFolder, &problem)) {
            stop(entry.snapshot.path,
                 QStringLiteral("cannot keep the journal that protects your source files: %1")
                     .arg(shown(problem)));
            return false;
        }
    }
    if (!worker)
        worker = std::make_unique<JournalWorker>(journal);
    entry.originalNumber = worker->keepOriginal(entry.snapshot.path, entry.file.identity,
                                                entry.snapshot.bytes, entry.snapshot.modified);
    jobs.append(Job{&entry, JobKind::Original});
    return true;
}

// Whether a file read with bytes has its original kept from its registration
// on, beside the passes, rather than just before a write that may never come.
bool SnapshotRegistry::keepsOriginalAtOnce(const QByteArray& bytes) const {
    return !mayBeRewritten || mayBeRewritten(bytes);
}

SnapshotRegistry::Entry* SnapshotRegistry::add(const QString& path, LockedFile file,
                                               const QByteArray& original, const FileTime& modified,
                                               const QByteArray& found, const FileStamp& read,
                                               bool keepOriginalNow) {
    auto entry = std::make_unique<Entry>();
    entry->snapshot.path = path;
    entry->snapshot.bytes = original;
    entry->snapshot.modified = modified;
    entry->snapshot.read = read;
    entry->found = found;
    entry->file = std::move(file);
    if (journal && keepOriginalNow)
        keepOriginal(*entry);
    byIdentity.insert(keyOf(entry->file.identity), entry.get());
    registrations.append(path);
    entries.push_back(std::move(entry));
    return entries.back().get();
}

// Registers a file just taken, by what it holds: the user's text, or text
// another run wrote (still using it, or dead) whose original that run's
// journal keeps. Returns the original for the passes, or nothing when the
// run must wait its turn first.
std::optional<QByteArray> SnapshotRegistry::enter(const QString& path, LockedFile file,
                                                  bool othersUse) {
    WholeFile whole = readWholeFile(file.reader);
    if (!whole.bytes) {
        stop(path, QStringLiteral("cannot read %1 whole: %2").arg(shown(path), whole.problem));
        return std::nullopt;
    }
    FileOrigin origin;
    if (others && (file.alone || othersUse))
        origin = originOf(*others, file.identity, *whole.bytes);
    if (origin.kind == FileOrigin::Kind::Cut && file.alone) {
        // A dead run's write was cut short: its original goes back first.
        if (!others->journals ||
            !repairCutFile(*others->journals, origin.record.journal, origin.record.entry, file)) {
            waitTurn(path, false); // its journal is being repaired by another run
            return std::nullopt;
        }
        whole = readWholeFile(file.reader);
        if (!whole.bytes) {
            stop(path, QStringLiteral("cannot read %1 whole: %2").arg(shown(path), whole.problem));
            return std::nullopt;
        }
        origin = FileOrigin();
    }
    const bool othersText = origin.kind == FileOrigin::Kind::Written &&
                            (file.alone || (othersUse && file.openWriter() == 0));
    const bool heldAsOriginal =
        origin.kind == FileOrigin::Kind::Original ||
        (origin.kind == FileOrigin::Kind::Unknown && othersHoldAsOriginal(file));
    if (othersUse && !othersText && !heldAsOriginal) {
        // Other runs use it, and this run cannot tell what it holds for them
        // (another user's runs, or a text it could not put back).
        waitTurn(path, true);
        return std::nullopt;
    }
    if (!othersText) {
        add(path, std::move(file), *whole.bytes, modificationTimeOf(whole.stamp), *whole.bytes,
            whole.stamp, keepsOriginalAtOnce(*whole.bytes));
        return whole.bytes;
    }
    // This run stands for putting it back as much as the run that wrote it:
    // its original goes into the journal now, whatever it holds.
    Entry* entry = add(path, std::move(file), origin.original, origin.modified, *whole.bytes,
                       whole.stamp, true);
    if (journal && entry->originalNumber < 0)
        return std::nullopt; // no journal: the run stops, and stands for nothing here
    const QByteArray digest = contentDigest(*whole.bytes);
    entry->snapshot.writtenDigests = {digest};
    entry->snapshot.lastWritten = whole.stamp;
    if (entry->originalNumber >= 0) {
        worker->share(entry->originalNumber, digest);
        jobs.append(Job{entry, JobKind::Share});
    }
    return origin.original;
}

std::optional<QByteArray> SnapshotRegistry::readSource(const QString& path) {
    if (firstProblem)
        return std::nullopt;
    const QString canonical = canonicalSourcePath(path);
    if (Entry* entry = entryFor(canonical)) {
        registrations.append(entry->snapshot.path);
        settleJournal(); // a queued write into it must be done first
        if (!entry->rewritten && !entry->cut)
            return entry->snapshot.bytes; // as this run left it: untouched
        WholeFile whole = readWholeFile(entry->file.reader);
        if (!whole.bytes) {
            stop(canonical,
                 QStringLiteral("cannot read %1 whole: %2").arg(shown(canonical), whole.problem));
            return std::nullopt;
        }
        return whole.bytes;
    }
    LockedFile file;
    bool othersUse = false;
    if (!take(canonical, &file, &othersUse))
        return std::nullopt;
    return enter(canonical, std::move(file), othersUse);
}

void SnapshotRegistry::registerSource(const QString& path, const QByteArray& bytes) {
    const QString canonical = canonicalSourcePath(path);
    if (Entry* entry = entryFor(canonical)) {
        registrations.append(entry->snapshot.path);
        return;
    }
    LockedFile file;
    bool othersUse = false;
    if (!take(canonical, &file, &othersUse))
        return;
    if (othersUse) {
        waitTurn(canonical, true); // its bytes are another run's affair
        return;
    }
    const FileStamp read = fileStampOf(file.reader);
    add(canonical, std::move(file), bytes, modificationTimeOf(read), bytes, read,
        keepsOriginalAtOnce(bytes));
}

void SnapshotRegistry::settleJournal() {
    if (!worker || settledCount == jobs.size())
        return;
    const QList<JournalWorker::Outcome> outcomes = worker->wait();
    for (; settledCount < outcomes.size(); ++settledCount) {
        const JournalWorker::Outcome& outcome = outcomes[settledCount];
        Entry& entry = *jobs[settledCount].entry;
        switch (jobs[settledCount].kind) {
        case JobKind::Original:
            entry.snapshot.journalIndex = outcome.journalIndex;
            if (outcome.journalIndex < 0)
                stop(entry.snapshot.path,
                     QStringLiteral("cannot write the journal that protects %1 in %2")
                         .arg(shown(entry.snapshot.path), shown(journal->directory())));
            break;
        case JobKind::Write:
            if (outcome.tried)
                noteWrite(entry, outcome.digest, outcome.write);
            break;
        case JobKind::Share:
            if (outcome.tried && outcome.write.status != WriteStatus::Written)
                noteWrite(entry, outcome.digest, outcome.write);
            break;
        }
    }
}

Precondition SnapshotRegistry::preconditionFor(const Entry& entry) const {
    // Before its first rewrite a file must hold what was read; after it, what
    // was written last.
    Precondition precondition;
    if (!entry.rewritten) {
        precondition.stamp = entry.snapshot.read;
        precondition.bytes = entry.found;
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
        entry.rewritten = true;
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
// read-only, or shared with other runs).
bool SnapshotRegistry::isUnchanged(const Entry& entry, const QByteArray& bytes) {
    return !entry.rewritten && !entry.cut && bytes == entry.found;
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
    if (entry && !firstProblem && !tryTakeAlone(entry->file) && othersUse(entry->file)) {
        waitTurn(entry->snapshot.path, true); // other runs compile with what it holds
        return false;
    }
    if (!mayWrite(entry))
        return false;
    if (journal && entry->originalNumber < 0) {
        // A file that was not to change: its original goes into the journal
        // now, and is on disk before the file is touched.
        if (!keepOriginal(*entry))
            return false;
        settleJournal();
    }
    if (journal && entry->snapshot.journalIndex < 0)
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
    if (!journal || !entry || entry->originalNumber < 0 || entry->rewritten || !entry->file.alone) {
        writeRewrittenBytes(path, bytes);
        return;
    }
    if (isUnchanged(*entry, bytes) || !mayWrite(entry))
        return;
    worker->write(entry->originalNumber, &entry->file, bytes, preconditionFor(*entry),
                  entry->snapshot.bytes, entry->snapshot.modified);
    jobs.append(Job{entry, JobKind::Write});
}

bool SnapshotRegistry::isTouched(const QString& path) const {
    return entryFor(canonicalSourcePath(path)) != nullptr;
}

void SnapshotRegistry::shareFiles() {
    settleJournal();
    for (const std::unique_ptr<Entry>& entry : entries) {
        // Other runs may take what it holds for the user's text: it is.
        if (entry->snapshot.writtenDigests.isEmpty() && !entry->cut)
            holdAsOriginal(entry->file);
        shareFile(entry->file);
    }
    taken.clear(); // taken in order, but no pass needed them this time
}

// Puts the originals back into files this run has alone, where they hold a
// text this run stands for. Each file is checked first; the originals that
// may go back are announced in the journal with one flush for all of them,
// then written one by one.
void SnapshotRegistry::putBack(const std::vector<Entry*>& toPutBack, RestoreReport& report) {
    std::vector<Entry*> ready;
    QList<int> indexes;
    QList<Precondition> preconditions;
    for (Entry* entry : toPutBack) {
        Precondition precondition;
        if (entry->cut)
            precondition.any = true; // a rewrite failed part-way: whatever it holds is ours
        else
            precondition =
                holdsTextWritten(entry->snapshot.writtenDigests, entry->snapshot.lastWritten);
        WriteResult checked = prepareWrite(entry->file, precondition);
        if (checked.status == WriteStatus::Written && journal && entry->snapshot.journalIndex < 0)
            checked.status = WriteStatus::JournalFailed;
        if (checked.status != WriteStatus::Written) {
            noteRestore(*entry, restoreResultOf(entry->file, entry->snapshot.bytes, checked),
                        report);
            continue;
        }
        ready.push_back(entry);
        indexes.append(entry->snapshot.journalIndex);
        preconditions.append(precondition);
    }
    if (ready.empty())
        return;
    const bool announced = !journal || journal->recordRestoresStarting(indexes);
    // Every original is written first, then each waited for on disk: the
    // disk takes them together, rather than one flush after another.
    std::vector<Entry*> written;
    for (qsizetype k = 0; k < qsizetype(ready.size()); ++k) {
        Entry* entry = ready[size_t(k)];
        const FileSnapshot& snapshot = entry->snapshot;
        WriteResult started;
        started.status = WriteStatus::JournalFailed;
        // Checked again just before its bytes: the user may have saved it
        // while the others went back.
        if (announced)
            started = startWriteInPlace(entry->file, snapshot.bytes, QByteArray(),
                                        snapshot.modified, preconditions[k],
                                        WriteLog{journal, snapshot.journalIndex, true, true});
        if (started.status == WriteStatus::Written)
            written.push_back(entry);
        else
            noteRestore(*entry, restoreResultOf(entry->file, snapshot.bytes, started), report);
    }
    std::vector<LockedFile*> files;
    std::vector<WriteLog> logs;
    files.reserve(written.size());
    logs.reserve(written.size());
    for (Entry* entry : written) {
        files.push_back(&entry->file);
        logs.push_back(WriteLog{journal, entry->snapshot.journalIndex, true, true});
    }
    const std::vector<WriteResult> flushed = finishWritesInPlace(files, logs);
    for (size_t k = 0; k < written.size(); ++k)
        noteRestore(*written[k],
                    restoreResultOf(written[k]->file, written[k]->snapshot.bytes, flushed[k]),
                    report);
}

void SnapshotRegistry::noteRestore(const Entry& entry, const RestoreResult& result,
                                   RestoreReport& report) {
    switch (result.outcome) {
    case RestoreOutcome::Restored:
    case RestoreOutcome::AlreadyOriginal:
        break;
    case RestoreOutcome::ChangedSince:
        report.changed.append(entry.snapshot.path);
        break;
    case RestoreOutcome::Failed:
        report.failed.append({entry.snapshot.path, result.reason});
        if (journal)
            journal->recordUnrestored(entry.snapshot.journalIndex);
        break;
    }
}

// One attempt at leaving a shared file that holds a text this run stands
// for: as its last user, this run takes it alone, to put it back (it joins
// toPutBack); while other runs use it, it is handed over to one that stands
// for it too. Returns false when neither can be done yet (another run is
// leaving it, or still taking it up).
bool SnapshotRegistry::depart(Entry& entry, RestoreReport& report, std::vector<Entry*>& toPutBack) {
    LockedFile& file = entry.file;
    if (!tryEnterDeparture(file))
        return false;
    if (tryTakeAlone(file)) {
        toPutBack.push_back(&entry);
        return true;
    }
    const WholeFile now = readWholeFile(file.reader);
    const QByteArray digest = now.bytes ? contentDigest(*now.bytes) : QByteArray();
    if (!now.bytes || !entry.snapshot.writtenDigests.contains(digest)) {
        // Saved by someone else during the compile: not ours to put back.
        if (!now.bytes || *now.bytes != entry.snapshot.bytes)
            report.changed.append(entry.snapshot.path);
        file = LockedFile();
        return true;
    }
    if (others &&
        anotherRunStandsFor(*others, file.identity, contentDigest(entry.snapshot.bytes), digest)) {
        if (journal)
            journal->recordLeft(entry.snapshot.journalIndex);
        file = LockedFile();
        return true;
    }
    leaveDeparture(file);
    return false;
}

RestoreReport SnapshotRegistry::restoreSources() {
    settleJournal();
    RestoreReport report;
    std::vector<Entry*> shared;
    std::vector<Entry*> toPutBack;
    for (const std::unique_ptr<Entry>& entry : entries) {
        if (!entry->file.reader.isOpen())
            continue; // let go already
        const bool standsFor = !entry->snapshot.writtenDigests.isEmpty() || entry->cut;
        if (standsFor && !entry->file.alone)
            shared.push_back(entry.get());
        else if (standsFor)
            toPutBack.push_back(entry.get());
        else
            entry->file = LockedFile(); // whatever the file holds is not this run's text
    }
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        shared.erase(
            std::remove_if(shared.begin(), shared.end(),
                           [&](Entry* entry) { return depart(*entry, report, toPutBack); }),
            shared.end());
        // The files this run has alone now go back together.
        putBack(toPutBack, report);
        for (Entry* entry : toPutBack)
            entry->file = LockedFile();
        toPutBack.clear();
        if (shared.empty())
            return report;
        pauseWhileWaitingFor(shared.front()->file, waited.elapsed());
    }
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

int SnapshotRegistry::journalIndexOf(const QString& registeredPath) {
    settleJournal();
    for (const std::unique_ptr<Entry>& entry : entries) {
        if (entry->snapshot.path == registeredPath)
            return entry->snapshot.journalIndex;
    }
    return -1;
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
