#include "interrupts.h"

#include <QtGlobal>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

volatile std::sig_atomic_t receivedInterrupt = 0;
bool fileSizeSignalIgnored = false; // here, though it had its default action
bool pipeSignalIgnored = false;     // likewise

#ifdef Q_OS_UNIX
extern "C" void recordInterrupt(int signal) {
    if (receivedInterrupt == 0)
        receivedInterrupt = signal;
}
#endif

#ifdef Q_OS_WIN
HANDLE restoreFinished = nullptr;

BOOL WINAPI recordConsoleEvent(DWORD event) {
    const int signal = event == CTRL_C_EVENT       ? SIGINT
                       : event == CTRL_BREAK_EVENT ? SIGBREAK
                                                   : SIGTERM;
    if (receivedInterrupt == 0)
        receivedInterrupt = signal;
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // Windows ends the process as soon as this handler returns: hold it
        // until the files are back (the system allows a few seconds).
        WaitForSingleObject(restoreFinished, 20000);
    }
    return TRUE;
}
#endif

} // namespace

void installInterruptHandlers() {
#ifdef Q_OS_UNIX
    struct sigaction action = {};
    action.sa_handler = recordInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    // Besides a terminal's and a build tool's signals, those that end a
    // program unless it handles them and that a wrapper or a limit may send
    // (an alarm, a user signal, a CPU time limit) are interrupts too.
    for (const int signal :
         {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU}) {
        struct sigaction previous = {};
        // A signal ignored by whoever started us (nohup, a background job)
        // stays ignored, as it would for the compiler itself.
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &action, nullptr);
    }
    // A write past the file size limit must fail like any other write (and
    // the file go back), not end the program in the middle of it.
    // Nor must a message on an output whose reader has gone (fbc ... | head)
    // end it while files hold rewritten text: the message is lost instead.
    const auto ignoreIfDefault = [](int signal, bool* ignored) {
        struct sigaction previous = {};
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_DFL) {
            *ignored = true;
            std::signal(signal, SIG_IGN);
        }
    };
    ignoreIfDefault(SIGXFSZ, &fileSizeSignalIgnored);
    ignoreIfDefault(SIGPIPE, &pipeSignalIgnored);
#elif defined(Q_OS_WIN)
    restoreFinished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(recordConsoleEvent, TRUE);
#endif
}

#ifdef Q_OS_UNIX
void signalsToDefaultForChild(sigset_t* set) {
    sigemptyset(set);
    if (fileSizeSignalIgnored)
        sigaddset(set, SIGXFSZ);
    if (pipeSignalIgnored)
        sigaddset(set, SIGPIPE);
}
#endif

int pendingInterrupt() {
    return receivedInterrupt;
}

void exitForInterrupt(int signal) {
    std::fflush(stdout);
    std::fflush(stderr);
#ifdef Q_OS_UNIX
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    sigaddset(&unblocked, signal);
    sigprocmask(SIG_UNBLOCK, &unblocked, nullptr);
    std::raise(signal);
    std::_Exit(128 + signal);
#elif defined(Q_OS_WIN)
    Q_UNUSED(signal);
    SetEvent(restoreFinished);
    std::_Exit(int(STATUS_CONTROL_C_EXIT));
#else
    std::_Exit(128 + signal);
#endif
}
