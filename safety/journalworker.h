#pragma once

#include "filetime.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

struct RunJournal;

// Does the journal's slow work on a thread of its own, so the passes go on
// meanwhile: putting each registered file's original into the journal (copying
// and digesting it), and writing rewritten included files, each after the
// digest of its new bytes is in the journal. Jobs are done one at a time, in
// the order they were handed over, so the journal's records come in the same
// order as when the work was done in line: a file's original before any write
// into it, a write's digest before the write.
//
// Nothing else may use the journal, or touch a file handed over for writing,
// until wait() has returned.
struct JournalWorker {
    // What came of one job, in the order the jobs were handed over.
    struct Outcome {
        int journalIndex = -1; // an original: its number in the journal, -1 if not kept
        // A write: whether its digest went into the journal and whether the
        // file was then written (if not, the original was put back).
        bool recorded = false;
        bool written = false;
        QByteArray digest;
        FileStamp stamp; // the file right after the write
    };

    explicit JournalWorker(RunJournal* journal) : journal(journal) {}
    ~JournalWorker();
    JournalWorker(const JournalWorker&) = delete;
    JournalWorker& operator=(const JournalWorker&) = delete;

    // Queues a file's original; returns the file's number among the originals
    // handed over, which its writes refer to.
    int keepOriginal(const QString& canonicalPath, const QByteArray& bytes,
                     const FileTime& modified);

    // Queues a write of bytes into the file whose original was handed over as
    // number file. When the write fails, original is put back with its time.
    void write(int file, const QString& path, const QByteArray& bytes, const QByteArray& original,
               const FileTime& modified);

    // Waits until every job handed over so far is done; returns their outcomes.
    QList<Outcome> wait();

private:
    struct Job {
        int file = -1; // -1 for an original
        QString path;
        QByteArray bytes;
        QByteArray original;
        FileTime modified;
    };
    void queue(Job job);
    void work();
    Outcome run(const Job& job);

    RunJournal* journal;
    std::thread worker; // started with the first job
    std::mutex mutex;
    std::condition_variable changed;
    QList<Job> jobs;          // handed over, not yet taken up by the worker
    QList<Outcome> outcomes;  // of the jobs done, in order
    QList<int> originalIndex; // journal number of each original; worker's own
    int submitted = 0;
    int originals = 0;
    bool stopping = false;
};
