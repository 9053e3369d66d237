// Linked into fbc_faults only, a build of the program for tests: it stops or
// kills the program at chosen steps of its writes into users' files, as read
// from the environment when the program starts:
//   FBEXT_KILL_AT_WRITE_STEP=K  SIGKILL at the K-th step of all writes (each
//                               write has four, see WriteStep)
//   FBEXT_PAUSE_BEFORE_WRITE=N  before the N-th write (before its file is
//                               checked), create the file FBEXT_PAUSE_FILE and
//                               wait until it is removed
//   FBEXT_PAUSE_AFTER_ANNOUNCING=N  likewise once the N-th write announced on
//                               its own is announced (not counted as a step)
//   FBEXT_CHILD_OUTLIVES_KILL=1 just before that SIGKILL, start a child that
//                               keeps every descriptor of the program, as a
//                               compiler being started does until it executes,
//                               and ends once FBEXT_PAUSE_FILE is gone
// The installed program has no such hook.

#include "inplacewrite.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<int> stepsReached{0};
std::atomic<int> writesStarted{0};
int killAtStep = 0;
bool childOutlivesKill = false;
int pauseBeforeWrite = 0;
int pauseAfterAnnouncing = 0;
std::atomic<int> writesAnnounced{0};
const char* pauseFile = nullptr;

void pauseUntilReleased() {
    if (std::FILE* marker = std::fopen(pauseFile, "w"))
        std::fclose(marker);
    struct stat info;
    for (int waited = 0; waited < 60000 && ::stat(pauseFile, &info) == 0; waited += 5)
        ::usleep(5000);
}

void onWriteStep(WriteStep step) {
    if (step == WriteStep::Announced) {
        if (++writesAnnounced == pauseAfterAnnouncing && pauseFile)
            pauseUntilReleased();
        return;
    }
    if (step == WriteStep::Starting && ++writesStarted == pauseBeforeWrite && pauseFile)
        pauseUntilReleased();
    if (++stepsReached != killAtStep)
        return;
    if (childOutlivesKill && pauseFile && ::fork() == 0) {
        // Only calls a forked child of a threaded program may make.
        struct stat info;
        for (int waited = 0; waited < 60000 && ::stat(pauseFile, &info) == 0; waited += 5)
            ::usleep(5000);
        ::_exit(0);
    }
    ::kill(::getpid(), SIGKILL);
}

int numberFrom(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::atoi(value) : 0;
}

const bool installed = [] {
    killAtStep = numberFrom("FBEXT_KILL_AT_WRITE_STEP");
    pauseBeforeWrite = numberFrom("FBEXT_PAUSE_BEFORE_WRITE");
    pauseAfterAnnouncing = numberFrom("FBEXT_PAUSE_AFTER_ANNOUNCING");
    pauseFile = std::getenv("FBEXT_PAUSE_FILE");
    childOutlivesKill = numberFrom("FBEXT_CHILD_OUTLIVES_KILL") != 0;
    userFileWriteHook = onWriteStep;
    return true;
}();

} // namespace
