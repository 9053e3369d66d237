#pragma once

#include "filetime.h"
#include "inplacewrite.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

struct LockedFile;
struct RunJournal;

// Does the journal's slow work on a thread of its own, so the passes go on
// meanwhile: putting each registered file's original into the journal (copying
// and digesting it), and rewriting included files, each announced in the
// journal first. The jobs waiting together (up to a share, or a second write
// into one file) are done together: their originals kept first, then their
// writes made, the records of each kind flushed to disk once for all of them.
// So a file's original is on disk before any write into it, and a write's
// announcement before the write.
//
// Nothing else may use the journal, or touch a file handed over for writing,
// until wait() has returned.
struct JournalWorker {
    // What came of one job, in the order the jobs were handed over.
    struct Outcome {
        int journalIndex = -1; // an original: its number in the journal, -1 if not kept
        // A write or a share: how it went (when its original was not kept, it
        // was not tried).
        bool tried = false;
        WriteResult write;
        QByteArray digest;
    };

    explicit JournalWorker(RunJournal* journal) : journal(journal) {}
    ~JournalWorker();
    JournalWorker(const JournalWorker&) = delete;
    JournalWorker& operator=(const JournalWorker&) = delete;

    // Queues a file's original; returns the file's number among the originals
    // handed over, which its writes refer to.
    int keepOriginal(const QString& canonicalPath, const FileStamp& identity,
                     const QByteArray& bytes, const FileTime& modified);

    // Queues a rewrite (rewriteFile) of the file whose original was handed over
    // as number original. file must stay where it is until wait() returns.
    void write(int original, LockedFile* file, const QByteArray& bytes,
               const Precondition& precondition, const QByteArray& originalBytes,
               const FileTime& modified);

    // Queues the record that this run shares the file whose original was
    // handed over as number original, holding bytes of digest (recordShared).
    void share(int original, const QByteArray& digest);

    // Waits until every job handed over so far is done; returns their outcomes.
    QList<Outcome> wait();

private:
    struct Job {
        int original = -1; // -1 for an original
        bool share = false;
        QString path;
        FileStamp identity;
        LockedFile* file = nullptr;
        QByteArray bytes;
        Precondition precondition;
        QByteArray originalBytes;
        FileTime modified;
    };
    void queue(Job job);
    void work();
    QList<Job> takeBatch();
    void runBatch(std::unique_lock<std::mutex>& lock);
    QList<Outcome> run(const QList<Job>& batch);
    void keepOriginals(const QList<Job>& batch, QList<Outcome>& done);
    void writeFiles(const QList<Job>& batch, QList<Outcome>& done);

    RunJournal* journal;
    std::thread worker;         // started with the first job
    bool withoutThread = false; // none could be started: jobs run as they come
    std::mutex mutex;
    std::condition_variable changed;
    QList<Job> jobs;          // handed over, not yet taken up by the worker
    QList<Outcome> outcomes;  // of the jobs done, in order
    QList<int> originalIndex; // journal number of each original; worker's own
    int submitted = 0;
    int originals = 0;
    bool stopping = false;
};
