#include "runguard.h"

#include "journalformat.h"
#include "recovery.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString refusal(const QString& folder, const QString& problem) {
    return QStringLiteral("cannot use %1 for the journal that protects your source files: %2")
        .arg(QDir::toNativeSeparators(folder), problem);
}

// Whether nothing at all, not even a link, is at path: a folder that could not
// be made there, and not one that is there but may not be used.
bool isAbsent(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

} // namespace

QString runGuardRoot() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#ifndef Q_OS_WIN
    // A relative XDG_DATA_HOME is no place at all (the XDG rules say to
    // ignore it): taken as it stands, it would put the journal under the
    // folder fbext was started in, beside the sources, where the next run
    // started elsewhere would not find the originals of a killed run.
    if (!base.isEmpty() && QDir::isRelativePath(base))
        base = QDir::home().filePath(QStringLiteral(".local/share"));
#endif
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return QDir(base).filePath(QStringLiteral("fbext"));
}

GuardState acquireRunGuard(RunGuard& guard, QString* reason) {
    QString problem;
    const QString root = runGuardRoot();
    if (!openPrivateFolder(root, &guard.root, &problem)) {
        *reason = refusal(root, problem);
        return isAbsent(root) ? GuardState::WithoutJournal : GuardState::Unavailable;
    }
    const QString journals = guard.root.filePath(journalsFolderName());
    if (!openPrivateSubfolder(guard.root, journalsFolderName(), true, &guard.journals, &problem)) {
        *reason = refusal(journals, problem);
        return isAbsent(journals) ? GuardState::WithoutJournal : GuardState::Unavailable;
    }
    // kept/ is made when first needed; whatever is there must be a folder of
    // the user's own, or the originals it should take would stay nowhere.
    PrivateFolder kept;
    if (!openPrivateSubfolder(guard.root, keptFolderName(), false, &kept, &problem) &&
        !problem.isEmpty()) {
        *reason = refusal(guard.root.filePath(keptFolderName()), problem);
        return GuardState::Unavailable;
    }
    switch (recoverInterruptedRuns(guard.root)) {
    case RecoveryOutcome::Complete:
        return GuardState::Ready;
    case RecoveryOutcome::Incomplete:
        break;
    }
    *reason = QStringLiteral("the files of an earlier run could not be put back");
    return GuardState::Unavailable;
}

void releaseJournal(RunGuard& guard, const RestoreReport& report) {
    if (!guard.journal.folder.isOpen())
        return;
    if (report.isComplete()) {
        guard.journal.discard(guard.journals);
    } else if (!report.failed.isEmpty()) {
        guard.journal.abandon();
    } else {
        PrivateFolder kept;
        QString problem;
        openPrivateSubfolder(guard.root, keptFolderName(), true, &kept, &problem);
        guard.journal.keep(guard.journals, kept);
    }
}

void recoverRunsEndedMeanwhile(const RunGuard& guard) {
    // Whatever cannot be put back now stays in its journal for the next run,
    // as at the start; this run's own outcome does not change.
    if (guard.root.isOpen())
        static_cast<void>(recoverInterruptedRuns(guard.root));
}
