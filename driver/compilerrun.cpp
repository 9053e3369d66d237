#include "compilerrun.h"

#include "interrupts.h"
#include "messages.h"

#include <QProcess>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace {

// How often the wait for the compiler looks for an interrupt.
constexpr int interruptPollMs = 50;
// How long an interrupted compiler gets to end on its own (it usually receives
// the terminal's signal too), and then to end after being asked.
constexpr int endOnItsOwnMs = 1000;
constexpr int endWhenAskedMs = 5000;

// Ends an interrupted compiler: first it gets the chance to end on its own,
// then it receives the same signal, and finally it is killed.
void stopCompiler(QProcess& compiler, int signal) {
    if (compiler.waitForFinished(endOnItsOwnMs) || compiler.state() == QProcess::NotRunning)
        return;
#ifdef Q_OS_UNIX
    ::kill(pid_t(compiler.processId()), signal);
#else
    Q_UNUSED(signal);
    compiler.terminate();
#endif
    if (compiler.waitForFinished(endWhenAskedMs) || compiler.state() == QProcess::NotRunning)
        return;
    compiler.kill();
    compiler.waitForFinished(-1);
}

} // namespace

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
    while (!compiler.waitForFinished(interruptPollMs) && compiler.state() != QProcess::NotRunning) {
        if (const int signal = pendingInterrupt()) {
            stopCompiler(compiler, signal);
            break;
        }
    }
    if (compiler.exitStatus() == QProcess::CrashExit) {
#ifdef Q_OS_UNIX
        return 128 + compiler.exitCode(); // Qt reports the terminating signal here
#else
        return compiler.exitCode() != 0 ? compiler.exitCode() : 1;
#endif
    }
    return compiler.exitCode();
}
