#include "recovery.h"

#include "digest.h"
#include "filerestore.h"
#include "journalformat.h"
#include "messages.h"
#include "runjournal.h"
#include "sourcefile.h"

#include <QDir>
#include <QLockFile>

namespace {

enum class Problem { Changed, Failed, CopyDamaged };

struct FileProblem {
    Problem problem;
    QString path;
    int index;
};

// Restores the files of one dead run's journal; returns what went wrong.
QList<FileProblem> recoverJournal(const QString& directory) {
    QList<FileProblem> problems;
    for (const JournalEntry& entry : readJournal(directory)) {
        const std::optional<QByteArray> original =
            readFileBytes(journalCopyPath(directory, entry.index));
        if (!original || contentDigest(*original) != entry.originalDigest) {
            problems.append({Problem::CopyDamaged, entry.path, entry.index});
            continue;
        }
        switch (restoreIfUnchanged(entry.path, *original, entry.modified, entry.writtenDigests)) {
        case RestoreOutcome::Restored:
        case RestoreOutcome::AlreadyOriginal:
            break;
        case RestoreOutcome::ChangedSince:
            problems.append({Problem::Changed, entry.path, entry.index});
            break;
        case RestoreOutcome::Failed:
            problems.append({Problem::Failed, entry.path, entry.index});
            break;
        }
    }
    return problems;
}

} // namespace

bool recoverInterruptedRuns(const QString& journalsDirectory, const QString& keptDirectory) {
    bool complete = true;
    const QDir journals(journalsDirectory);
    const QStringList names =
        journals.entryList({journalNamePattern}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        QString directory = journals.filePath(name);
        QLockFile lock(QDir(directory).filePath(journalLockName()));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue; // its run is still alive
        const QList<FileProblem> problems = recoverJournal(directory);
        bool retry = false;
        for (const FileProblem& problem : problems)
            retry = retry || problem.problem == Problem::Failed;
        if (problems.isEmpty())
            removeJournal(directory, &lock);
        else if (retry)
            lock.unlock(); // the journal stays where the next run looks
        else
            directory = keepJournal(directory, keptDirectory, &lock);

        for (const FileProblem& problem : problems) {
            const QString copy =
                QDir::toNativeSeparators(journalCopyPath(directory, problem.index));
            const QString file = QDir::toNativeSeparators(problem.path);
            switch (problem.problem) {
            case Problem::Changed:
                reportError(QStringLiteral("%1 was changed after an interrupted run and is left as "
                                           "it is; its earlier original is kept in %2")
                                .arg(file, copy));
                break;
            case Problem::Failed:
                complete = false;
                reportError(QStringLiteral("could not restore %1 after an interrupted run; its "
                                           "original is kept in %2")
                                .arg(file, copy));
                break;
            case Problem::CopyDamaged:
                reportError(QStringLiteral("the kept original of %1 in %2 is damaged; the file is "
                                           "left as it is")
                                .arg(file, copy));
                break;
            }
        }
    }
    return complete;
}
