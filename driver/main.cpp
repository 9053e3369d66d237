// fbext: installed under the compiler's own name, it expands the generic-type
// and type-extension syntax in every source file named on the command line,
// runs the real compiler (fbc2, beside it) once, and then puts every file it
// rewrote back exactly as it was.

#include "compilerpath.h"
#include "compilerrun.h"
#include "interrupts.h"
#include "messages.h"
#include "pipeline.h"
#include "runguard.h"
#include "snapshotregistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

// The install and uninstall scripts tell this program from a real compiler
// named fbc by finding this text in the executable. It must survive in the
// binary, so main() reads it through a volatile pointer, which the optimiser
// may not drop.
extern const char installMarker[] = "fbext-front-end: this fbc hands its sources to fbc2 beside it";
const char* volatile installMarkerReference = installMarker;

namespace {

// Exit status when the journal that protects the sources cannot be kept.
constexpr int journalUnavailableStatus = 1;

// A source-file argument ends in ".bas" or ".bi", letter case as written.
bool isSourceFileArgument(const QString& argument) {
    return argument.endsWith(QLatin1StringView(".bas")) ||
           argument.endsWith(QLatin1StringView(".bi"));
}

bool isThisProgram(const QString& path) {
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    return QFileInfo(path).canonicalFilePath() == self;
}

// Puts every rewritten file back and names, one line each, what could not be.
// Returns false when a file could not be written back.
bool restoreAndReport(const SnapshotRegistry& registry, RunGuard& guard) {
    enterRestore();
    const RestoreReport report = registry.restoreSources();
    releaseRunGuard(guard, report);
    const auto keptCopy = [&](const QString& path) {
        const int index = registry.snapshots.value(path).journalIndex;
        return QDir::toNativeSeparators(guard.journal.originalCopyPath(index));
    };
    for (const QString& path : report.changed)
        reportError(QStringLiteral("%1 was saved during the compile and is left as it is; its "
                                   "earlier original is kept in %2")
                        .arg(QDir::toNativeSeparators(path), keptCopy(path)));
    for (const QString& path : report.failed)
        reportError(QStringLiteral("could not restore %1; its original is kept in %2")
                        .arg(QDir::toNativeSeparators(path), keptCopy(path)));
    return report.failed.isEmpty();
}

} // namespace

int main(int argc, char* argv[]) {
    static_cast<void>(installMarkerReference);
    QCoreApplication application(argc, argv);
    installInterruptHandlers();
    const QStringList arguments = QCoreApplication::arguments();

    const QString compiler = compilerPathFor(arguments.value(0));
    if (!QFileInfo(compiler).isFile() || isThisProgram(compiler)) {
        reportError(QStringLiteral("the real compiler was not found at %1").arg(compiler));
        return compilerNotStartedStatus;
    }

    const QStringList compilerArguments = arguments.mid(1);
    SnapshotRegistry registry;
    RunGuard guard;
    // Only a run that rewrites files needs the lock and a journal.
    if (std::any_of(compilerArguments.cbegin(), compilerArguments.cend(), isSourceFileArgument)) {
        QString reason;
        switch (acquireRunGuard(guard, &reason)) {
        case GuardState::Ready:
            registry.journal = &guard.journal;
            break;
        case GuardState::Interrupted:
            releaseRunGuard(guard, RestoreReport());
            exitForInterrupt(pendingInterrupt());
        case GuardState::Unavailable:
            releaseRunGuard(guard, RestoreReport());
            reportError(QStringLiteral("%1; nothing was rewritten or compiled").arg(reason));
            return journalUnavailableStatus;
        }
    }

    for (const QString& argument : compilerArguments) {
        if (pendingInterrupt())
            break;
        if (isSourceFileArgument(argument))
            rewriteSourceFile(argument, registry);
    }

    registry.settleJournal();
    int status = journalUnavailableStatus;
    if (!registry.journalFailures.isEmpty())
        reportError(QStringLiteral("cannot write the journal that protects %1 in %2; nothing was "
                                   "compiled")
                        .arg(QDir::toNativeSeparators(registry.journalFailures.first()),
                             QDir::toNativeSeparators(guard.journal.directory)));
    else if (!pendingInterrupt())
        status = runCompiler(compiler, compilerArguments);

    if (!restoreAndReport(registry, guard))
        status = status != 0 ? status : 1;
    if (const int signal = pendingInterrupt())
        exitForInterrupt(signal);
    return status;
}
