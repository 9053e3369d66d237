#include "originalkeeper.h"

#include "runjournal.h"

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

OriginalKeeper::~OriginalKeeper() {
    if (!worker.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    worker.join();
}

int OriginalKeeper::keep(const QString& canonicalPath, const QByteArray& bytes,
                         const FileTime& modified) {
    int ticket = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        queue.append(Job{canonicalPath, bytes, modified});
        ticket = submitted++;
    }
    if (!worker.joinable())
        worker = std::thread([this] { work(); });
    changed.notify_all();
    return ticket;
}

QList<int> OriginalKeeper::wait() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return results.size() == submitted; });
    return results;
}

void OriginalKeeper::work() {
#ifdef Q_OS_UNIX
    // Interrupts are for the main thread, which decides when the run may end;
    // here they would only cut the journal's writes short.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
#endif
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return stopping || !queue.isEmpty(); });
        if (queue.isEmpty())
            return; // stopping, and nothing left to keep
        const Job job = queue.takeFirst();
        lock.unlock();
        const int index = journal->recordOriginal(job.path, job.bytes, job.modified);
        lock.lock();
        results.append(index);
        changed.notify_all();
    }
}
