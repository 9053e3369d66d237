#include "compilerrun.h"

#include "interrupts.h"
#include "messages.h"

#ifdef Q_OS_UNIX
#include <QFile>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ; // NOLINT(readability-redundant-declaration): not every C library declares it
#else
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#endif

namespace {

// How long an interrupted compiler gets to end on its own (it usually receives
// the terminal's signal too), and then to end after being asked.
constexpr int endOnItsOwnMs = 1000;
constexpr int endWhenAskedMs = 5000;

#ifdef Q_OS_UNIX

// Longest sleep between two looks for an interrupt while the compiler runs; the
// compiler's end wakes the wait at once.
constexpr int interruptPollMs = 100;

qint64 nowMs() {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// The compiler, started with SIGCHLD blocked so that its end wakes waitForEnd
// however soon it comes.
struct Child {
    pid_t pid = 0;
    int status = 0;
    bool ended = false;
};

// Waits until the child ends, an interrupt arrives or timeoutMs pass (-1: no
// limit but the interrupt). Returns whether the child has ended.
bool waitForEnd(Child& child, int timeoutMs, bool stopForInterrupt) {
    sigset_t childSignal;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    const qint64 deadline = timeoutMs < 0 ? -1 : nowMs() + timeoutMs;
    for (;;) {
        const pid_t done = ::waitpid(child.pid, &child.status, WNOHANG);
        if (done == child.pid || (done < 0 && errno == ECHILD)) {
            child.ended = true;
            return true;
        }
        if (stopForInterrupt && pendingInterrupt())
            return false;
        qint64 sleepMs = interruptPollMs;
        if (deadline >= 0) {
            const qint64 left = deadline - nowMs();
            if (left <= 0)
                return false;
            sleepMs = qMin(sleepMs, left);
        }
        struct timespec pause;
        pause.tv_sec = time_t(sleepMs / 1000);
        pause.tv_nsec = long(sleepMs % 1000) * 1000000;
        sigtimedwait(&childSignal, nullptr, &pause); // the child's end, an interrupt or the time
    }
}

// Ends an interrupted compiler: first it gets the chance to end on its own,
// then it receives the same signal, and finally it is killed.
void stopCompiler(Child& child, int signal) {
    if (waitForEnd(child, endOnItsOwnMs, false))
        return;
    ::kill(child.pid, signal);
    if (waitForEnd(child, endWhenAskedMs, false))
        return;
    ::kill(child.pid, SIGKILL);
    while (::waitpid(child.pid, &child.status, 0) < 0 && errno == EINTR) {
    }
    child.ended = true;
}

std::vector<char*> pointersTo(QList<QByteArray>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(size_t(strings.size()) + 1);
    for (QByteArray& string : strings)
        pointers.push_back(string.data());
    pointers.push_back(nullptr);
    return pointers;
}

#endif

} // namespace

#ifdef Q_OS_UNIX

QList<QByteArray> commandLineArguments(int argc, char* argv[]) {
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return arguments;
}

int runCompiler(const QString& program, const QList<QByteArray>& arguments,
                const QList<QByteArray>& environmentAdditions) {
    QList<QByteArray> argumentStrings = {QFile::encodeName(program)};
    argumentStrings += arguments;
    QList<QByteArray> environmentStrings;
    for (char** entry = environ; *entry; ++entry)
        environmentStrings.append(QByteArray(*entry));
    environmentStrings += environmentAdditions;
    std::vector<char*> argumentPointers = pointersTo(argumentStrings);
    std::vector<char*> environmentPointers = pointersTo(environmentStrings);

    // SIGCHLD stays blocked here while the compiler runs, so its end is never
    // missed between two looks; the compiler itself starts with this
    // program's usual mask.
    sigset_t childSignal;
    sigset_t usual;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    pthread_sigmask(SIG_BLOCK, &childSignal, &usual);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setsigmask(&attributes, &usual);
    sigset_t defaults;
    signalsToDefaultForChild(&defaults);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    Child child;
    const int error = posix_spawn(&child.pid, argumentStrings.first().constData(), nullptr,
                                  &attributes, argumentPointers.data(), environmentPointers.data());
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        pthread_sigmask(SIG_SETMASK, &usual, nullptr);
        reportError(QStringLiteral("cannot start the real compiler %1: %2")
                        .arg(program, QString::fromLocal8Bit(std::strerror(error))));
        return compilerNotStartedStatus;
    }
    if (!waitForEnd(child, -1, true))
        stopCompiler(child, pendingInterrupt());
    pthread_sigmask(SIG_SETMASK, &usual, nullptr);
    if (WIFSIGNALED(child.status))
        return 128 + WTERMSIG(child.status);
    return WEXITSTATUS(child.status);
}

#else

QList<QByteArray> commandLineArguments(int, char*[]) {
    // argv holds the arguments in the ANSI code page here; Qt reads the
    // command line's own UTF-16 text.
    QList<QByteArray> arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        arguments.append(argument.toUtf8());
    return arguments;
}

int runCompiler(const QString& program, const QList<QByteArray>& arguments,
                const QList<QByteArray>& environmentAdditions) {
    // How often the wait for the compiler looks for an interrupt.
    constexpr int interruptPollMs = 50;
    QStringList textArguments;
    for (const QByteArray& argument : arguments)
        textArguments.append(QString::fromUtf8(argument));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QByteArray& addition : environmentAdditions) {
        const qsizetype equals = addition.indexOf('=');
        environment.insert(QString::fromUtf8(addition.left(equals)),
                           QString::fromUtf8(addition.mid(equals + 1)));
    }
    QProcess compiler;
    compiler.setProcessEnvironment(environment);
    compiler.setProcessChannelMode(QProcess::ForwardedChannels);
    compiler.setInputChannelMode(QProcess::ForwardedInputChannel);
    compiler.start(program, textArguments, QIODevice::ReadOnly);
    if (!compiler.waitForStarted(-1)) {
        reportError(QStringLiteral("cannot start the real compiler %1: %2")
                        .arg(program, compiler.errorString()));
        return compilerNotStartedStatus;
    }
    while (!compiler.waitForFinished(interruptPollMs) && compiler.state() != QProcess::NotRunning) {
        if (pendingInterrupt()) {
            if (compiler.waitForFinished(endOnItsOwnMs))
                break;
            compiler.terminate();
            if (!compiler.waitForFinished(endWhenAskedMs)) {
                compiler.kill();
                compiler.waitForFinished(-1);
            }
            break;
        }
    }
    if (compiler.exitStatus() == QProcess::CrashExit)
        return compiler.exitCode() != 0 ? compiler.exitCode() : 1;
    return compiler.exitCode();
}

#endif
