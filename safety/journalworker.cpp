#include "journalworker.h"

#include "digest.h"
#include "runjournal.h"

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

int JournalWorker::keepOriginal(const QString& canonicalPath, const FileStamp& identity,
                                const QByteArray& bytes, const FileTime& modified) {
    Job job;
    job.path = canonicalPath;
    job.identity = identity;
    job.bytes = bytes;
    job.modified = modified;
    queue(std::move(job));
    return originals++;
}

void JournalWorker::write(int original, LockedFile* file, const QByteArray& bytes,
                          const Precondition& precondition, const QByteArray& originalBytes,
                          const FileTime& modified) {
    queue(Job{original, false, QString(), FileStamp(), file, bytes, precondition, originalBytes,
              modified});
}

void JournalWorker::share(int original, const QByteArray& digest) {
    Job job;
    job.original = original;
    job.share = true;
    job.bytes = digest;
    queue(std::move(job));
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
    if (job.original < 0) {
        outcome.journalIndex =
            journal->recordOriginal(job.path, job.identity, job.bytes, job.modified);
        originalIndex.append(outcome.journalIndex);
        return outcome;
    }
    const int index = originalIndex.value(job.original, -1);
    if (index < 0)
        return outcome; // its original is not safe: the file is not touched
    outcome.tried = true;
    if (job.share) {
        outcome.digest = job.bytes;
        outcome.write.status = journal->recordShared(index, job.bytes) ? WriteStatus::Written
                                                                       : WriteStatus::JournalFailed;
        return outcome;
    }
    outcome.digest = contentDigest(job.bytes);
    outcome.write = rewriteFile(*job.file, job.bytes, outcome.digest, job.precondition,
                                job.originalBytes, job.modified, WriteLog{journal, index, false});
    return outcome;
}
