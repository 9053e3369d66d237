#include "recovery.h"

#include "digest.h"
#include "filelock.h"
#include "inplacewrite.h"
#include "journalformat.h"
#include "messages.h"
#include "otherjournals.h"
#include "runjournal.h"
#include "sourcefile.h"

#include <QDir>

namespace {

enum class Problem { None, Changed, Deleted, Cut, Failed, CopyDamaged, InUse };

struct FileProblem {
    Problem problem = Problem::None;
    QString reason; // Failed: why; Cut: the name of the copy of what the file held
};

// Puts back one file of a dead run's journal that this run holds alone.
FileProblem recoverHeldFile(RunJournal& dead, const JournalEntry& entry, const QByteArray& original,
                            LockedFile& file) {
    if (entry.inode >= 0 && file.identity.inode != entry.inode)
        return {Problem::Changed, QString()}; // saved as a new file under the same name

    const WholeFile current = readWholeFile(file.reader);
    if (!current.bytes)
        return {Problem::Failed, current.problem};
    const bool unfinished = entry.lastWrite == LastWrite::RewriteStarted ||
                            entry.lastWrite == LastWrite::RestoreStarted;
    if (*current.bytes == original) {
        // The original's bytes went back, but the run may have died before its
        // modification time did (only the owner may set it; the bytes matter).
        if (unfinished && entry.modified.valid && file.openWriter() == 0 &&
            setModificationTime(file.writer, entry.modified) == 0)
            syncFile(file.writer);
        return {};
    }
    const bool ours = entry.writtenDigests.contains(contentDigest(*current.bytes));
    if (!ours && !unfinished)
        return {Problem::Changed, QString()};
    // A write cut short leaves neither text; in the unlikely case that someone
    // saved over it since, those bytes are kept before the original goes back.
    QString found;
    if (!ours) {
        found = dead.keepFoundBytes(entry.index, *current.bytes);
        if (found.isEmpty())
            return {Problem::Failed, QStringLiteral("what it holds cannot be kept first")};
    }
    Precondition none;
    none.any = true;
    const WriteResult written = writeInPlace(file, original, QByteArray(), entry.modified, none,
                                             WriteLog{&dead, entry.index, true});
    if (written.status != WriteStatus::Written)
        return {Problem::Failed, written.status == WriteStatus::Failed
                                     ? written.reason
                                     : QStringLiteral("its journal cannot be written")};
    if (!found.isEmpty())
        return {Problem::Cut, found};
    return {};
}

// Puts back one file of a dead run's journal, taking it first. A file other
// runs use is not waited for.
FileProblem recoverFile(RunJournal& dead, const JournalEntry& entry, OtherJournals& others) {
    if (entry.lastWrite == LastWrite::None || entry.lastWrite == LastWrite::RestoreDone)
        return {}; // only read, or already back
    const std::optional<QByteArray> original = dead.readOriginal(entry.index);
    if (!original || contentDigest(*original) != entry.originalDigest)
        return {Problem::CopyDamaged, QString()};

    LockedFile file;
    bool othersUse = false;
    switch (tryLockFile(entry.path, &file, &othersUse)) {
    case LockOutcome::Taken:
        break;
    case LockOutcome::NotOpened:
        if (!QFileInfo::exists(entry.path))
            return {Problem::Deleted, QString()};
        return {Problem::Failed, QStringLiteral("it cannot be read")};
    default:
        return {Problem::InUse, QString()}; // another run is rewriting it
    }
    if (othersUse) {
        // Live runs compile with it. One that stands for the same original
        // will put it back; otherwise a later run looks again.
        const WholeFile current = readWholeFile(file.reader);
        if (current.bytes && anotherRunStandsFor(others, file.identity, entry.originalDigest,
                                                 contentDigest(*current.bytes), dead.name))
            return {};
        return {Problem::InUse, QString()};
    }
    return recoverHeldFile(dead, entry, *original, file);
}

void report(const RunJournal& dead, const JournalEntry& entry, const FileProblem& problem) {
    const QString file = QDir::toNativeSeparators(entry.path);
    const QString copy = QDir::toNativeSeparators(dead.originalCopyPath(entry.index));
    switch (problem.problem) {
    case Problem::None:
    case Problem::InUse:
        break;
    case Problem::Changed:
        reportError(QStringLiteral("%1 was changed after an interrupted run and is left as it "
                                   "is; its earlier original is kept in %2")
                        .arg(file, copy));
        break;
    case Problem::Deleted:
        reportError(QStringLiteral("%1 was deleted after an interrupted run and is not made "
                                   "again; its original is kept in %2")
                        .arg(file, copy));
        break;
    case Problem::Cut:
        reportError(QStringLiteral("%1 was being written when an earlier run was stopped; its "
                                   "original is back, and what it held then is kept in %2")
                        .arg(file, QDir::toNativeSeparators(dead.folder.filePath(problem.reason))));
        break;
    case Problem::Failed:
        // Said as it happened: the run that rewrote the file may have ended
        // normally and found it could not be put back (made read-only during
        // the compile), and a later run may have failed at it already.
        reportError((entry.unrestored
                         ? QStringLiteral("%1 still cannot be put back (%2); an earlier compile "
                                          "rewrote it and could not put it back either; its "
                                          "original is kept in %3")
                         : QStringLiteral("could not put back %1 (%2), which an earlier compile "
                                          "rewrote and did not put back; its original is kept "
                                          "in %3"))
                        .arg(file, problem.reason, copy));
        break;
    case Problem::CopyDamaged:
        reportError(QStringLiteral("the kept original of %1 in %2 is damaged; the file is left "
                                   "as it is")
                        .arg(file, copy));
        break;
    }
}

} // namespace

RecoveryOutcome recoverInterruptedRuns(const PrivateFolder& root) {
    PrivateFolder journals;
    QString problem;
    if (!openPrivateSubfolder(root, journalsFolderName(), false, &journals, &problem))
        return RecoveryOutcome::Complete; // no journal was ever written here
    OtherJournals others{&journals, nullptr};
    RecoveryOutcome outcome = RecoveryOutcome::Complete;
    for (const QString& name : folderEntries(journals)) {
        RunJournal dead;
        if (!isJournalName(name) || !dead.adopt(journals, name))
            continue; // its run is alive, or it is not the user's own
        const QList<JournalEntry> entries = dead.entries();
        QList<FileProblem> problems;
        bool retry = false;
        bool keep = false;
        for (const JournalEntry& entry : entries) {
            problems.append(recoverFile(dead, entry, others));
            const Problem kind = problems.last().problem;
            if (kind == Problem::Failed)
                dead.recordUnrestored(entry.index);
            retry = retry || kind == Problem::Failed || kind == Problem::InUse;
            keep = keep || (kind != Problem::None && kind != Problem::InUse);
        }
        keep = keep || dead.keepsFoundBytes();
        if (retry) {
            dead.abandon(); // the journal stays where the next run looks
        } else if (keep) {
            PrivateFolder kept;
            openPrivateSubfolder(root, keptFolderName(), true, &kept, &problem);
            dead.keep(journals, kept);
        } else {
            dead.discard(journals);
        }
        for (qsizetype i = 0; i < problems.size(); ++i) {
            report(dead, entries[i], problems[i]);
            if (problems[i].problem == Problem::Failed)
                outcome = RecoveryOutcome::Incomplete;
        }
    }
    return outcome;
}

bool repairCutFile(const PrivateFolder& journals, const QString& journalName,
                   const JournalEntry& entry, LockedFile& file) {
    RunJournal dead;
    if (!dead.adopt(journals, journalName))
        return false;
    const std::optional<QByteArray> original = dead.readOriginal(entry.index);
    FileProblem problem{Problem::CopyDamaged, QString()};
    if (original && contentDigest(*original) == entry.originalDigest)
        problem = recoverHeldFile(dead, entry, *original, file);
    if (problem.problem == Problem::Failed)
        dead.recordUnrestored(entry.index);
    report(dead, entry, problem);
    dead.abandon(); // a later run's recovery sees to the rest of it
    return true;
}
