#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

// Interrupts (SIGINT, SIGTERM, SIGHUP, SIGQUIT, a terminal's quit key, and
// SIGALRM, SIGUSR1, SIGUSR2 and SIGXCPU, which a wrapper or a limit may send;
// on Windows the console's Ctrl+C, Ctrl+Break and close events) never end the
// program while source files hold rewritten text. The handler only records the
// signal; the driver looks at it between steps, lets the compiler end, restores
// every file, and only then ends the way the signal would have ended it. A
// write past the file size limit, or to an output whose reader has gone,
// fails instead of ending the program.

void installInterruptHandlers();

#ifdef Q_OS_UNIX
// The signals this program handles otherwise than it found them, which a
// program it starts gets back with their default action.
void signalsToDefaultForChild(sigset_t* set);
#endif

// The first interrupt received, or 0 when none has come.
int pendingInterrupt();

// Ends the program as the interrupt would have ended it (for a shell or make:
// killed by that signal), after the restore is done.
[[noreturn]] void exitForInterrupt(int signal);
