#pragma once

#include "filetime.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

struct RunJournal;

// Puts the originals of registered files into the run's journal on a thread of
// its own (copying and digesting them takes a while), so the passes go on
// while it works. Originals are recorded in the order they were handed over.
// Nothing else may use the journal until wait() has returned: the owner waits
// before it writes a rewritten file, records a write, or looks at the results.
struct OriginalKeeper {
    explicit OriginalKeeper(RunJournal* journal) : journal(journal) {}
    ~OriginalKeeper();
    OriginalKeeper(const OriginalKeeper&) = delete;
    OriginalKeeper& operator=(const OriginalKeeper&) = delete;

    // Queues a file's original; returns its ticket, the position of its result.
    int keep(const QString& canonicalPath, const QByteArray& bytes, const FileTime& modified);

    // Waits until every original handed over so far is on disk (or has
    // failed). Returns the journal number of every ticket, -1 for a failure.
    QList<int> wait();

private:
    struct Job {
        QString path;
        QByteArray bytes;
        FileTime modified;
    };
    void work();

    RunJournal* journal;
    std::thread worker; // started with the first original
    std::mutex mutex;
    std::condition_variable changed;
    QList<Job> queue;   // handed over, not yet taken up by the worker
    QList<int> results; // by ticket; filled in order
    int submitted = 0;
    bool stopping = false;
};
