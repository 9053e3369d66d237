#include "journalworker.h"

#include "beside.h"
#include "digest.h"
#include "runjournal.h"

#include <algorithm>
#include <system_error>

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
    if (!worker.joinable() && !withoutThread) {
        try {
            worker = std::thread([this] { work(); });
        } catch (const std::system_error&) {
            // No thread to be had (a limit on the user's processes): the
            // jobs run on the caller's thread, in the same order.
            withoutThread = true;
        }
    }
    if (withoutThread) {
        std::unique_lock<std::mutex> lock(mutex);
        while (!jobs.isEmpty())
            runBatch(lock);
        return;
    }
    changed.notify_all();
}

QList<JournalWorker::Outcome> JournalWorker::wait() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return outcomes.size() == submitted; });
    return outcomes;
}

void JournalWorker::work() {
    // Here interrupts would only cut the journal's writes short.
    blockInterruptsOnThisThread();
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return stopping || !jobs.isEmpty(); });
        if (jobs.isEmpty())
            return; // stopping, and nothing left to do
        runBatch(lock);
    }
}

// Runs the next batch of the jobs waiting with the lock let go, and notes
// its outcomes; lock is held before and after.
void JournalWorker::runBatch(std::unique_lock<std::mutex>& lock) {
    const QList<Job> batch = takeBatch();
    lock.unlock();
    const QList<Outcome> done = run(batch);
    lock.lock();
    outcomes.append(done);
    changed.notify_all();
}

// The jobs waiting, up to the next share, or the next write into a file that
// the batch writes already (the second write checks what the first left).
QList<JournalWorker::Job> JournalWorker::takeBatch() {
    QList<Job> batch{jobs.takeFirst()};
    if (batch.first().share)
        return batch;
    while (!jobs.isEmpty() && !jobs.first().share) {
        const Job& next = jobs.first();
        if (next.original >= 0 &&
            std::any_of(batch.cbegin(), batch.cend(), [&next](const Job& job) {
                return job.original >= 0 && job.file == next.file;
            }))
            break;
        batch.append(jobs.takeFirst());
    }
    return batch;
}

// A batch's originals are kept first, then its writes made: every original is
// on disk before any write, its own included.
QList<JournalWorker::Outcome> JournalWorker::run(const QList<Job>& batch) {
    const Job& first = batch.first();
    if (first.share) {
        Outcome outcome;
        const int index = originalIndex.value(first.original, -1);
        if (index < 0)
            return {outcome}; // its original is not safe: the file is not touched
        outcome.tried = true;
        outcome.digest = first.bytes;
        outcome.write.status = journal->recordShared(index, first.bytes)
                                   ? WriteStatus::Written
                                   : WriteStatus::JournalFailed;
        return {outcome};
    }
    QList<Outcome> done(batch.size());
    keepOriginals(batch, done);
    writeFiles(batch, done);
    return done;
}

void JournalWorker::keepOriginals(const QList<Job>& batch, QList<Outcome>& done) {
    QList<RunJournal::Original> originals;
    QList<qsizetype> at;
    for (qsizetype i = 0; i < batch.size(); ++i) {
        const Job& job = batch[i];
        if (job.original >= 0)
            continue;
        originals.append({job.path, job.identity, job.bytes, job.modified});
        at.append(i);
    }
    if (originals.isEmpty())
        return;
    const QList<int> indexes = journal->recordOriginals(originals);
    for (qsizetype k = 0; k < at.size(); ++k) {
        done[at[k]].journalIndex = indexes[k];
        originalIndex.append(indexes[k]);
    }
}

// Each write is checked first; those that may go ahead are announced with one
// flush of the journal, then made, and then each waited for on disk, so that
// the disk takes them together.
void JournalWorker::writeFiles(const QList<Job>& batch, QList<Outcome>& done) {
    QList<qsizetype> ready;
    QList<int> indexes;
    QList<QByteArray> digests;
    for (qsizetype i = 0; i < batch.size(); ++i) {
        const Job& job = batch[i];
        const int index = job.original >= 0 ? originalIndex.value(job.original, -1) : -1;
        if (index < 0)
            continue; // an original, or a write whose original is not safe: not touched
        Outcome& outcome = done[i];
        outcome.tried = true;
        outcome.digest = contentDigest(job.bytes);
        outcome.write = prepareWrite(*job.file, job.precondition);
        if (outcome.write.status != WriteStatus::Written)
            continue;
        ready.append(i);
        indexes.append(index);
        digests.append(outcome.digest);
    }
    if (ready.isEmpty())
        return;
    if (!journal->recordWritesStarting(indexes, digests)) {
        for (const qsizetype i : ready)
            done[i].write = WriteResult{WriteStatus::JournalFailed, QString(), FileStamp()};
        return;
    }
    const auto logOf = [&](qsizetype k) { return WriteLog{journal, indexes[k], false, true}; };
    QList<qsizetype> started;
    for (qsizetype k = 0; k < ready.size(); ++k) {
        const Job& job = batch[ready[k]];
        Outcome& outcome = done[ready[k]];
        outcome.write = startWriteInPlace(*job.file, job.bytes, outcome.digest, FileTime(),
                                          job.precondition, logOf(k));
        if (outcome.write.status == WriteStatus::Written)
            started.append(k);
        else
            undoFailedRewrite(*job.file, outcome.write, job.originalBytes, job.modified, logOf(k));
    }
    std::vector<LockedFile*> files;
    std::vector<WriteLog> logs;
    files.reserve(size_t(started.size()));
    logs.reserve(size_t(started.size()));
    for (const qsizetype k : std::as_const(started)) {
        files.push_back(batch[ready[k]].file);
        logs.push_back(logOf(k));
    }
    const std::vector<WriteResult> finished = finishWritesInPlace(files, logs);
    for (size_t f = 0; f < finished.size(); ++f) {
        const qsizetype k = started[qsizetype(f)];
        const Job& job = batch[ready[k]];
        Outcome& outcome = done[ready[k]];
        outcome.write = finished[f];
        undoFailedRewrite(*job.file, outcome.write, job.originalBytes, job.modified, logOf(k));
    }
}
