// fbext: installed under the compiler's own name, it expands the generic-type
// and type-extension syntax in every source file named on the command line,
// runs the real compiler (fbc2, beside it) once, and then puts every file it
// rewrote back exactly as it was.

#include "classexpander.h"
#include "compilerpath.h"
#include "compilerrun.h"
#include "linedirectives.h"
#include "messages.h"
#include "snapshotregistry.h"
#include "sourcefile.h"
#include "sourcepass.h"

#include <QCoreApplication>
#include <QFileInfo>

// The install and uninstall scripts tell this program from a real compiler
// named fbc by finding this text in the executable. It must survive in the
// binary, so main() reads it through a volatile pointer, which the optimiser
// may not drop.
extern const char installMarker[] = "fbext-front-end: this fbc hands its sources to fbc2 beside it";
const char* volatile installMarkerReference = installMarker;

namespace {

// A source-file argument ends in ".bas" or ".bi", letter case as written.
bool isSourceFileArgument(const QString& argument) {
    return argument.endsWith(QLatin1StringView(".bas")) ||
           argument.endsWith(QLatin1StringView(".bi"));
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
// A file that cannot be read is left alone: it is not registered, not
// created, and the compiler reports it.
void expandSourceFile(const QString& path, SnapshotRegistry& registry) {
    if (!QFileInfo(path).isFile())
        return;
    const std::optional<QByteArray> bytes = readFileBytes(path);
    if (!bytes)
        return;
    registry.registerSource(path, *bytes);
    MappedText rewritten = expandClassText(templatePassText(path, registry));
    registry.writeRewrittenSource(path, withLineDirectives(std::move(rewritten), path));
}

} // namespace

int main(int argc, char* argv[]) {
    static_cast<void>(installMarkerReference);
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();

    const QString compiler = compilerPathFor(arguments.value(0));
    if (!QFileInfo(compiler).isFile() || isThisProgram(compiler)) {
        reportError(QStringLiteral("the real compiler was not found at %1").arg(compiler));
        return compilerNotStartedStatus;
    }

    SnapshotRegistry registry;
    const QStringList compilerArguments = arguments.mid(1);
    for (const QString& argument : compilerArguments) {
        if (isSourceFileArgument(argument))
            expandSourceFile(argument, registry);
    }

    int status = runCompiler(compiler, compilerArguments);

    for (const QString& path : registry.restoreSources()) {
        reportError(QStringLiteral("could not restore %1").arg(path));
        status = status != 0 ? status : 1;
    }
    return status;
}
