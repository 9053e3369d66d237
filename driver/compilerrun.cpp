#include "compilerrun.h"

#include "messages.h"

#include <QProcess>

int runCompiler(const QString& program, const QStringList& arguments) {
    QProcess compiler;
    compiler.setProcessChannelMode(QProcess::ForwardedChannels);
    compiler.setInputChannelMode(QProcess::ForwardedInputChannel);
    compiler.start(program, arguments, QIODevice::ReadOnly);
    if (!compiler.waitForStarted(-1)) {
        reportError(QStringLiteral("cannot start the real compiler %1: %2")
                        .arg(program, compiler.errorString()));
        return compilerNotStartedStatus;
    }
    compiler.waitForFinished(-1);
    if (compiler.exitStatus() == QProcess::CrashExit) {
#ifdef Q_OS_UNIX
        return 128 + compiler.exitCode(); // Qt reports the terminating signal here
#else
        return compiler.exitCode() != 0 ? compiler.exitCode() : 1;
#endif
    }
    return compiler.exitCode();
}
