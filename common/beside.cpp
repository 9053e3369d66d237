#include "beside.h"

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

void runBeside(const std::function<void()>& beside, const std::function<void()>& here) {
    // What either part throws (memory running out) reaches the caller once
    // both are done, as it would have with the parts run one after the other.
    std::exception_ptr besideFailure;
    const auto runOnThread = [&beside, &besideFailure] {
        blockInterruptsOnThisThread();
        try {
            beside();
        } catch (...) {
            besideFailure = std::current_exception();
        }
    };
    std::thread thread;
    try {
        thread = std::thread(runOnThread);
    } catch (const std::system_error&) {
        // No thread to be had (a limit on the user's processes): the two
        // parts run one after the other.
        beside();
        here();
        return;
    }
    try {
        here();
    } catch (...) {
        thread.join();
        throw;
    }
    thread.join();
    if (besideFailure)
        std::rethrow_exception(besideFailure);
}

void runBesideSharing(const std::function<void()>& beside, const std::function<void()>& here,
                      qsizetype count, const std::function<void(qsizetype)>& each) {
    // A few items at a time: the threads meet at the counter seldom, and
    // neither is left with a long run of items when the other is done.
    constexpr qsizetype itemsTaken = 8;
    std::atomic<qsizetype> next{0};
    const auto takeItems = [&] {
        for (;;) {
            const qsizetype from = next.fetch_add(itemsTaken, std::memory_order_relaxed);
            if (from >= count)
                return;
            const qsizetype to = std::min(count, from + itemsTaken);
            for (qsizetype i = from; i < to; ++i)
                each(i);
        }
    };
    runBeside(
        [&] {
            beside();
            takeItems();
        },
        [&] {
            here();
            takeItems();
        });
}

void blockInterruptsOnThisThread() {
#ifdef Q_OS_UNIX
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
#endif
}
