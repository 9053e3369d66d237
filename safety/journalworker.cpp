#include "journalworker.h"

#include "digest.h"
#include "runjournal.h"
#include "sourcefile.h"

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

JournalWorker::~JournalWorker() {
    if (!worker.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    worker.join();
}

int JournalWorker::keepOriginal(const QString& canonicalPath, const QByteArray& bytes,
                                const FileTime& modified) {
    queue(Job{-1, canonicalPath, bytes, QByteArray(), modified});
    return originals++;
}

void JournalWorker::write(int file, const QString& path, const QByteArray& bytes,
                          const QByteArray& original, const FileTime& modified) {
    queue(Job{file, path, bytes, original, modified});
}

void JournalWorker::queue(Job job) {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        jobs.append(std::move(job));
        ++submitted;
    }
    if (!worker.joinable())
        worker = std::thread([this] { work(); });
    changed.notify_all();
}

QList<JournalWorker::Outcome> JournalWorker::wait() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return outcomes.size() == submitted; });
    return outcomes;
}

void JournalWorker::work() {
#ifdef Q_OS_UNIX
    // Interrupts are for the main thread, which decides when the run may end;
    // here they would only cut the journal's writes short.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
#endif
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return stopping || !jobs.isEmpty(); });
        if (jobs.isEmpty())
            return; // stopping, and nothing left to do
        const Job job = jobs.takeFirst();
        lock.unlock();
        const Outcome outcome = run(job);
        lock.lock();
        outcomes.append(outcome);
        changed.notify_all();
    }
}

JournalWorker::Outcome JournalWorker::run(const Job& job) {
    Outcome outcome;
    if (job.file < 0) {
        outcome.journalIndex = journal->recordOriginal(job.path, job.bytes, job.modified);
        originalIndex.append(outcome.journalIndex);
        return outcome;
    }
    const int index = originalIndex.value(job.file, -1);
    if (index < 0)
        return outcome; // its original is not safe: the file is not touched
    outcome.digest = contentDigest(job.bytes);
    outcome.recorded = journal->recordWrite(index, outcome.digest);
    if (!outcome.recorded)
        return outcome;
    outcome.written = writeFileBytes(job.path, job.bytes);
    if (outcome.written) {
        outcome.stamp = readFileStamp(job.path);
    } else if (writeFileBytes(job.path, job.original) && job.modified.valid) {
        // A write that failed part-way (disk full) may have cut the file
        // short: the original goes back at once.
        restoreFileTime(job.path, job.modified);
    }
    return outcome;
}
