#include "runguard.h"

#include "interrupts.h"
#include "recovery.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

constexpr int lockPollMs = 100;

QString journalsDirectory(const RunGuard& guard) {
    return QDir(guard.root).filePath(QStringLiteral("journals"));
}

QString keptDirectory(const RunGuard& guard) {
    return QDir(guard.root).filePath(QStringLiteral("kept"));
}

QString lockFailure(QLockFile::LockError error) {
    return error == QLockFile::PermissionError ? QStringLiteral("permission denied")
                                               : QStringLiteral("the lock file cannot be written");
}

} // namespace

QString runGuardRoot() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return QDir(base).filePath(QStringLiteral("fbext"));
}

GuardState acquireRunGuard(RunGuard& guard, QString* reason) {
    guard.root = runGuardRoot();
    const QString shownRoot = QDir::toNativeSeparators(guard.root);
    if (!QDir().mkpath(guard.root)) {
        *reason = QStringLiteral("cannot create %1 for the journal that protects your source "
                                 "files")
                      .arg(shownRoot);
        return GuardState::Unavailable;
    }
    // It holds copies of source files: for the user's eyes only.
    QFile::setPermissions(guard.root,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    guard.runLock =
        std::make_unique<QLockFile>(QDir(guard.root).filePath(QStringLiteral("run.lock")));
    guard.runLock->setStaleLockTime(0); // only a dead owner makes it stale, however long it runs
    while (!guard.runLock->tryLock(lockPollMs)) {
        if (guard.runLock->error() != QLockFile::LockFailedError) {
            *reason = QStringLiteral("cannot take the run lock in %1: %2")
                          .arg(shownRoot, lockFailure(guard.runLock->error()));
            return GuardState::Unavailable;
        }
        if (pendingInterrupt())
            return GuardState::Interrupted;
    }

    if (!recoverInterruptedRuns(journalsDirectory(guard), keptDirectory(guard))) {
        *reason = QStringLiteral("the files of an interrupted run could not be restored");
        return GuardState::Unavailable;
    }
    QString journalReason;
    if (!guard.journal.create(journalsDirectory(guard), &journalReason)) {
        *reason = QStringLiteral("cannot keep the journal that protects your source files: %1")
                      .arg(QDir::toNativeSeparators(journalReason));
        return GuardState::Unavailable;
    }
    return GuardState::Ready;
}

void releaseRunGuard(RunGuard& guard, const RestoreReport& report) {
    if (guard.journal.isOpen()) {
        if (report.isComplete())
            guard.journal.discard();
        else if (!report.failed.isEmpty())
            guard.journal.abandon();
        else
            guard.journal.keep(keptDirectory(guard));
    }
    if (guard.runLock)
        guard.runLock->unlock();
}
