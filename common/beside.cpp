#include "beside.h"

#include <QtGlobal>

#include <thread>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

void runBeside(const std::function<void()>& beside, const std::function<void()>& here) {
    std::thread thread([&beside] {
#ifdef Q_OS_UNIX
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, nullptr);
#endif
        beside();
    });
    here();
    thread.join();
}
