// fbext: installed under the compiler's own name, it expands the generic-type
// and type-extension syntax in every source file named on the command line,
// runs the real compiler (fbc2, beside it) once, and then puts every file it
// rewrote back exactly as it was.

#include "classexpander.h"
#include "compilerpath.h"
#include "compilerrun.h"
#include "interrupts.h"
#include "linedirectives.h"
#include "messages.h"
#include "runguard.h"
#include "snapshotregistry.h"
#include "sourcefile.h"
#include "sourcepass.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

#ifdef __GLIBC__
#include <malloc.h>
#endif

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
bool isSourceFileArgument(const QByteArray& argument) {
    return argument.endsWith(".bas") || argument.endsWith(".bi");
}

// The name of the file a source-file argument names, as the file functions take
// it; nothing when the argument's bytes are no name in the file system's
// encoding (a Latin-1 name on a UTF-8 system), which could not be opened under
// any text this program can hold.
std::optional<QString> sourceFileName(const QByteArray& argument) {
#ifdef Q_OS_WIN
    return QString::fromUtf8(argument);
#else
    const QString name = QFile::decodeName(argument);
    if (QFile::encodeName(name) != argument)
        return std::nullopt;
    return name;
#endif
}

// The source files named on the command line, in order. One that cannot be
// named is still passed to the compiler, byte for byte, but not expanded; a
// line says so, since its extension syntax will then reach the compiler.
QStringList sourceFilesAmong(const QList<QByteArray>& arguments) {
    QStringList files;
    for (const QByteArray& argument : arguments) {
        if (!isSourceFileArgument(argument))
            continue;
        if (const std::optional<QString> name = sourceFileName(argument)) {
            files.append(*name);
            continue;
        }
        reportError(QStringLiteral("%1 is passed to the compiler unexpanded: its name is not "
                                   "valid in the file system's encoding, so it cannot be opened "
                                   "under it")
                        .arg(QFile::decodeName(argument)));
    }
    return files;
}

bool isThisProgram(const QString& path) {
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    return QFileInfo(path).canonicalFilePath() == self;
}

// Rewrites one source file in place: the template pass (which rewrites the
// files it includes on the way), then the class-extension pass over the text
// the template pass produced, handed on in memory with the origin of every
// line. The file is written once, with its final text and the "#line"
// directives that point the compiler's messages at the user's own lines.
// The template pass reads and registers the file. A file that cannot be read
// is left alone: it is not registered, not written, not created, and the
// compiler reports it.
void expandSourceFile(const QString& path, SnapshotRegistry& registry) {
    if (!QFileInfo(path).isFile())
        return;
    // A file named twice, or also included by an earlier one, is read as the
    // earlier rewrite left it.
    registry.settleJournal();
    MappedText rewritten = expandClassText(templatePassText(path, registry));
    registry.writeRewrittenBytes(path, sourceBytesWithLineDirectives(std::move(rewritten), path));
}

// Puts every rewritten file back and names, one line each, what could not be.
// Returns false when a file could not be written back.
bool restoreAndReport(SnapshotRegistry& registry, RunGuard& guard) {
    enterRestore();
    const RestoreReport report = registry.restoreSources();
    releaseRunGuard(guard, report);
    const auto keptCopy = [&](const QString& path) {
        const int index = registry.snapshotOf(path)->journalIndex;
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

// The passes make and drop texts of megabytes one after another. By default
// the C library maps each such block afresh and hands it back to the system
// when it is freed, so every new text pays again for faulting in its pages.
// Keeping freed memory for the next text saves that; it is handed back before
// the compiler starts, which needs the memory more than this program does.
void keepFreedMemoryForReuse() {
#ifdef __GLIBC__
    constexpr int large = 1 << 30;
    mallopt(M_MMAP_THRESHOLD, large);
    mallopt(M_TRIM_THRESHOLD, large);
#endif
}

void returnFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    static_cast<void>(installMarkerReference);
    keepFreedMemoryForReuse();
    QCoreApplication application(argc, argv);
    installInterruptHandlers();
    const QString compiler = compilerPathFor(QCoreApplication::arguments().value(0));
    if (!QFileInfo(compiler).isFile() || isThisProgram(compiler)) {
        reportError(QStringLiteral("the real compiler was not found at %1").arg(compiler));
        return compilerNotStartedStatus;
    }

    const QList<QByteArray> compilerArguments = commandLineArguments(argc, argv);
    const QStringList sourceFiles = sourceFilesAmong(compilerArguments);
    RunGuard guard;
    // Only a run that rewrites files needs the lock and a journal.
    if (!sourceFiles.isEmpty()) {
        QString reason;
        switch (acquireRunGuard(guard, &reason)) {
        case GuardState::Ready:
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

    SnapshotRegistry registry(guard.journal.isOpen() ? &guard.journal : nullptr);
    for (const QString& sourceFile : sourceFiles) {
        if (pendingInterrupt())
            break;
        expandSourceFile(sourceFile, registry);
    }

    int status = journalUnavailableStatus;
    if (const QStringList failures = registry.journalFailures(); !failures.isEmpty())
        reportError(QStringLiteral("cannot write the journal that protects %1 in %2; nothing was "
                                   "compiled")
                        .arg(QDir::toNativeSeparators(failures.first()),
                             QDir::toNativeSeparators(guard.journal.directory)));
    else if (!pendingInterrupt()) {
        returnFreedMemory();
        status = runCompiler(compiler, compilerArguments);
    }

    if (!restoreAndReport(registry, guard))
        status = status != 0 ? status : 1;
    if (const int signal = pendingInterrupt())
        exitForInterrupt(signal);
    return status;
}
