// fbext: installed under the compiler's own name, it expands the generic-type
// and type-extension syntax in every source file named on the command line,
// runs the real compiler (fbc2, beside it) once, and then puts every file it
// rewrote back exactly as it was.

#include "arguments.h"
#include "compilerpath.h"
#include "compilerrun.h"
#include "extensionuse.h"
#include "filelock.h"
#include "interrupts.h"
#include "memorysetup.h"
#include "messages.h"
#include "otherjournals.h"
#include "pipeline.h"
#include "runguard.h"
#include "snapshotregistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QMap>
#include <QSet>

#include <memory>
#include <optional>
#include <vector>

// The install and uninstall scripts tell this program from a real compiler
// named fbc by finding this text in the executable. It must survive in the
// binary, so main() reads it through a volatile pointer, which the optimiser
// may not drop.
extern const char installMarker[] = "fbext-front-end: this fbc hands its sources to fbc2 beside it";
const char* volatile installMarkerReference = installMarker;

namespace {

// Exit status when the run stops before its compile (the journal cannot be
// kept, a file cannot be read whole or rewritten, ...).
constexpr int runStoppedStatus = 1;

bool isThisProgram(const QString& path) {
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    return QFileInfo(path).canonicalFilePath() == self;
}

// Puts every rewritten file back, lets the journal and then the files go, and
// names, one line each, what could not be put back. Returns false when a file
// could not be written back.
bool restoreAndReport(SnapshotRegistry& registry, RunGuard& guard) {
    const RestoreReport report = registry.restoreSources();
    QMap<QString, int> journalIndexes;
    // By the registered path, not by what is at that path now: the user may
    // have deleted the file or saved it as a new one during the compile.
    for (const QString& path : report.changed)
        journalIndexes.insert(path, registry.journalIndexOf(path));
    for (const RestoreReport::Failure& failure : report.failed)
        journalIndexes.insert(failure.path, registry.journalIndexOf(failure.path));
    releaseJournal(guard, report);
    registry.releaseFiles();
    const auto keptCopy = [&](const QString& path) {
        return QDir::toNativeSeparators(guard.journal.originalCopyPath(journalIndexes.value(path)));
    };
    for (const QString& path : report.changed) {
        const QString what =
            QFileInfo::exists(path)
                ? QStringLiteral("was saved during the compile and is left as it is")
                : QStringLiteral("was deleted or moved during the compile and is "
                                 "not made again");
        reportError(QStringLiteral("%1 %2; its earlier original is kept in %3")
                        .arg(QDir::toNativeSeparators(path), what, keptCopy(path)));
    }
    for (const RestoreReport::Failure& failure : report.failed)
        reportError(QStringLiteral("could not restore %1 (%2); its original is kept in %3, and "
                                   "the next compile tries again")
                        .arg(QDir::toNativeSeparators(failure.path), failure.reason,
                             keptCopy(failure.path)));
    return report.failed.isEmpty();
}

// Expands every source file, each taken as it is met, without waiting: alone,
// or shared with other runs that compile with the very bytes this run would
// write into it. When another run is in the way (it has a file alone, or this
// run needs other bytes in a file others share), this run puts back what it
// rewrote, lets every file go, takes all it needs in the order every run uses
// (waiting now), and starts again (filelock.h). Returns the registry that
// holds the files, whose problem() says whether the run may compile; nothing
// when the run must stop at once (a line has said why, or an interrupt ends
// it). withoutJournal: why the run has no journal folder, when it has none: it
// stops then at the first file it may have to rewrite. compilerFolders: the
// real compiler's own include folders, whose headers are not followed.
std::unique_ptr<SnapshotRegistry> expandSourceFiles(const SourceArguments& arguments,
                                                    const QStringList& compilerFolders,
                                                    RunGuard& guard, OtherJournals& others,
                                                    const QString& withoutJournal) {
    const QStringList& sourceFiles = arguments.sourceFiles;
    std::vector<LockedFile> held;
    QSet<QString> alone; // files this run needs to itself, learnt along the way
    for (;;) {
        // The journal is made when a file that may be rewritten is read.
        auto registry = std::make_unique<SnapshotRegistry>(
            guard.journals.isOpen() || !withoutJournal.isEmpty() ? &guard.journal : nullptr,
            std::move(held), &others, &guard.journals, mayUseExtensions);
        if (!withoutJournal.isEmpty())
            registry->setWithoutJournal(withoutJournal);
        TemplateRun templates;
        templates.includeDirectories = arguments.includeDirectories;
        templates.preIncludes = arguments.preIncludes;
        templates.dialect = arguments.dialect;
        templates.dialectForced = arguments.dialectForced;
        templates.compilerIncludeFolders = compilerFolders;
        for (const QString& sourceFile : sourceFiles) {
            if (pendingInterrupt() || registry->hasStopped())
                break;
            rewriteSourceFile(sourceFile, *registry, templates);
        }
        const std::optional<RunProblem> problem = registry->problem();
        if (!problem || problem->kind != RunProblem::Kind::Busy || pendingInterrupt())
            return registry;
        QStringList needed = registry->heldPaths();
        needed.append(problem->path);
        if (problem->alone)
            alone.insert(problem->path);
        if (!restoreAndReport(*registry, guard))
            return nullptr;
        registry.reset();
        QString busy;
        switch (lockFilesInOrder(needed, alone, &held, &busy)) {
        case LockOutcome::Interrupted:
            exitForInterrupt(pendingInterrupt());
        case LockOutcome::HeldByEnclosingRun:
            reportError(QStringLiteral("%1 is held by the compile that started this one until "
                                       "it ends; nothing was rewritten or compiled")
                            .arg(QDir::toNativeSeparators(busy)));
            return nullptr;
        default:
            break;
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    setUpMemoryForSources(argc, argv);
    static_cast<void>(installMarkerReference);
    QCoreApplication application(argc, argv);
    installInterruptHandlers();

    const QString compiler = compilerPathFor(QCoreApplication::arguments().value(0));
    if (!QFileInfo(compiler).isFile() || isThisProgram(compiler)) {
        reportError(QStringLiteral("the real compiler was not found at %1").arg(compiler));
        return compilerNotStartedStatus;
    }

    const QList<QByteArray> compilerArguments = commandLineArguments(argc, argv);
    const SourceArguments sourceArguments = scanArguments(compilerArguments);
    const QStringList& sourceFiles = sourceArguments.sourceFiles;
    // Only a run over source files needs the journal folder.
    RunGuard guard;
    // A journal folder that cannot be made at all (no writable home) holds no
    // earlier run's journal: sources that use neither extension need none, and
    // compile as with the plain compiler.
    QString withoutJournal;
    if (!sourceFiles.isEmpty()) {
        QString reason;
        switch (acquireRunGuard(guard, &reason)) {
        case GuardState::Ready:
            break;
        case GuardState::WithoutJournal:
            withoutJournal = reason;
            break;
        case GuardState::Unavailable:
            reportError(QStringLiteral("%1; nothing was rewritten or compiled").arg(reason));
            return runStoppedStatus;
        }
    }

    OtherJournals others(guard.journals.isOpen() ? &guard.journals : nullptr, &guard.journal);
    const std::unique_ptr<SnapshotRegistry> registry = expandSourceFiles(
        sourceArguments, compilerIncludeFolders(compiler), guard, others, withoutJournal);
    if (!registry)
        return runStoppedStatus;
    const std::optional<RunProblem> problem = registry->problem();

    int status = runStoppedStatus;
    if (!problem && !pendingInterrupt()) {
        registry->shareFiles();
        QList<QByteArray> environment;
        if (guard.journal.isOpen())
            environment.append(enclosingRunsEntry(guard.journal.directory()));
        status = runCompiler(compiler, compilerArguments, environment);
    }

    const bool restored = restoreAndReport(*registry, guard);
    if (!restored)
        status = status != 0 ? status : 1;
    if (const int signal = pendingInterrupt())
        exitForInterrupt(signal);
    if (restored)
        recoverRunsEndedMeanwhile(guard);
    // The files that could not be put back are named above: the stop does not
    // say that every file is as it was then.
    if (problem)
        reportError((restored
                         ? QStringLiteral("%1; nothing was compiled, and every file is as it was")
                         : QStringLiteral("%1; nothing was compiled"))
                        .arg(problem->message));
    return status;
}
