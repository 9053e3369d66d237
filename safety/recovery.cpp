#include "recovery.h"

#include "digest.h"
#include "filelock.h"
#include "inplacewrite.h"
#include "journalformat.h"
#include "messages.h"
#include "runjournal.h"
#include "sourcefile.h"

#include <QDir>

namespace {

enum class Problem { None, Changed, Deleted, Cut, Failed, CopyDamaged, Interrupted };

struct FileProblem {
    Problem problem = Problem::None;
    QString reason; // Failed: why; Cut: the name of the copy of what the file held
};

// Puts back one file of a dead run's journal.
FileProblem recoverFile(RunJournal& dead, const JournalEntry& entry) {
    if (entry.lastWrite == LastWrite::None || entry.lastWrite == LastWrite::RestoreDone)
        return {}; // only read, or already back
    const std::optional<QByteArray> original = dead.readOriginal(entry.index);
    if (!original || contentDigest(*original) != entry.originalDigest)
        return {Problem::CopyDamaged, QString()};

    // Another run may be using the file right now (one that could not see
    // this journal): it is put back only once that run has let it go.
    std::vector<LockedFile> held;
    QString busy;
    switch (lockFilesInOrder({entry.path}, &held, &busy)) {
    case LockOutcome::Taken:
        break;
    case LockOutcome::Interrupted:
        return {Problem::Interrupted, QString()};
    case LockOutcome::HeldByEnclosingRun:
        return {Problem::Failed, QStringLiteral("the compile that started this one holds it")};
    case LockOutcome::NotOpened:
    case LockOutcome::Busy:
        break;
    }
    if (held.empty()) {
        if (!QFileInfo::exists(entry.path))
            return {Problem::Deleted, QString()};
        return {Problem::Failed, QStringLiteral("it cannot be read")};
    }
    LockedFile& file = held.front();
    if (entry.inode >= 0 && file.identity.inode != entry.inode)
        return {Problem::Changed, QString()}; // saved as a new file under the same name

    const WholeFile current = readWholeFile(file.reader);
    if (!current.bytes)
        return {Problem::Failed, current.problem};
    const bool unfinished = entry.lastWrite == LastWrite::RewriteStarted ||
                            entry.lastWrite == LastWrite::RestoreStarted;
    if (*current.bytes == *original) {
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
    const WriteResult written = writeInPlace(file, *original, QByteArray(), entry.modified, none,
                                             WriteLog{&dead, entry.index, true});
    if (written.status != WriteStatus::Written)
        return {Problem::Failed, written.status == WriteStatus::Failed
                                     ? written.reason
                                     : QStringLiteral("its journal cannot be written")};
    if (!found.isEmpty())
        return {Problem::Cut, found};
    return {};
}

void report(const RunJournal& dead, const JournalEntry& entry, const FileProblem& problem) {
    const QString file = QDir::toNativeSeparators(entry.path);
    const QString copy = QDir::toNativeSeparators(dead.originalCopyPath(entry.index));
    switch (problem.problem) {
    case Problem::None:
    case Problem::Interrupted:
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
            problems.append(recoverFile(dead, entry));
            const Problem kind = problems.last().problem;
            if (kind == Problem::Failed)
                dead.recordUnrestored(entry.index);
            retry = retry || kind == Problem::Failed || kind == Problem::Interrupted;
            keep = keep || (kind != Problem::None && kind != Problem::Interrupted);
            if (kind == Problem::Interrupted)
                break;
        }
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
            if (problems[i].problem == Problem::Failed && outcome == RecoveryOutcome::Complete)
                outcome = RecoveryOutcome::Incomplete;
            if (problems[i].problem == Problem::Interrupted)
                return RecoveryOutcome::Interrupted;
        }
    }
    return outcome;
}
