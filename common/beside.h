#pragma once

#include <functional>

// Runs beside on a thread of its own while here runs on the caller's thread,
// and returns when both are done. The two must share nothing that either
// changes. The thread takes no interrupts: they are for the caller's thread,
// whose waits they must cut short.
void runBeside(const std::function<void()>& beside, const std::function<void()>& here);

// Keeps interrupts off the calling thread, for a thread the program starts
// itself: they are for the main thread, which decides when the run may end
// and whose waits they must cut short.
void blockInterruptsOnThisThread();
