// fbext: installed under the compiler's own name, it expands the generic-type
// and type-extension syntax in every source file named on the command line,
// runs the real compiler (fbc2, beside it) once, and then puts every file it
// rewrote back exactly as it was.

#include "classexpander.h"
#include "compilerpath.h"
#include "compilerrun.h"
#include "messages.h"
#include "snapshotregistry.h"
#include "sourcefile.h"
#include "sourcepass.h"

#include <QCoreApplication>
#include <QFileInfo>

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

// Rewrites one source file in place. A file that cannot be read is left alone:
// it is not registered, not created, and the compiler reports it.
void expandSourceFile(const QString& path, SnapshotRegistry& registry) {
    if (!QFileInfo(path).isFile())
        return;
    const std::optional<QByteArray> bytes = readFileBytes(path);
    if (!bytes)
        return;
    registry.registerSource(path, *bytes);
    expandTemplates(path, path, registry);
    expandClasses(path, path, registry);
}

} // namespace

int main(int argc, char* argv[]) {
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
