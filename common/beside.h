#pragma once

#include <QtGlobal>

#include <functional>

// Runs beside on a thread of its own while here runs on the caller's thread,
// and returns when both are done. The two must share nothing that either
// changes. The thread takes no interrupts: they are for the caller's thread,
// whose waits they must cut short.
void runBeside(const std::function<void()>& beside, const std::function<void()>& here);

// Runs beside and here as runBeside does, and count items besides: each of
// the two threads, once done with its own part, takes the next few items not
// yet taken and calls each with their indexes, until none are left. So the
// threads share the items whatever the time their own parts and each item
// take. An item must share nothing with the other items, beside or here that
// either changes.
void runBesideSharing(const std::function<void()>& beside, const std::function<void()>& here,
                      qsizetype count, const std::function<void(qsizetype)>& each);

// Keeps interrupts off the calling thread, for a thread the program starts
// itself: they are for the main thread, which decides when the run may end
// and whose waits they must cut short.
void blockInterruptsOnThisThread();
