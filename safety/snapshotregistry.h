#pragma once

#include "filetime.h"
#include "journalworker.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

struct RunJournal;

// What a source file held before this run touched it.
struct FileSnapshot {
    QByteArray bytes; // exactly as on disk, line ends and NUL bytes included
    FileTime modified;
    QList<QByteArray> writtenDigests; // digest of every text written into the file
    FileStamp lastWritten;            // the file right after the last of those writes
    int journalIndex = -1;            // its number in the run's journal, -1 if none
};

// What the restore could not do.
struct RestoreReport {
    QStringList failed;  // held our text, but the original could not be written back
    QStringList changed; // someone else wrote the file during the run: left alone

    bool isComplete() const { return failed.isEmpty() && changed.isEmpty(); }
};

// Every file a pass reads is registered here before it is rewritten; after the
// compiler has finished, restoreSources() puts every registered file back as it
// was. Files are keyed by their canonical absolute path, so one file reached
// under two spellings (relative and absolute, through "..", through a link) is
// recorded once, with the bytes it held before the run.
struct SnapshotRegistry {
    QMap<QString, FileSnapshot> snapshots; // canonical path -> what the file first held
    QStringList touchedFiles;              // canonical paths, in registration order

    // When set, a file's original is put into the journal from its first
    // registration on (on a thread of its own, while the passes go on), and no
    // file is rewritten before its original is safely there. Files whose
    // journal records could not be written are listed in journalFailures (and
    // are not rewritten); settleJournal() completes the list.
    RunJournal* journal = nullptr;
    QStringList journalFailures;

    // Records path as touched. The first registration of a file keeps its bytes
    // (as read by the caller, before any rewrite) and its modification time.
    void registerSource(const QString& path, const QByteArray& bytes);

    // Writes the bytes of a registered file's rewritten text. Every rewrite
    // goes through here, so the registry knows what each file holds during
    // the compile. Refuses files never registered and files whose original is
    // not safely journaled.
    bool writeRewrittenBytes(const QString& path, const QByteArray& bytes);

    // The same, done on the journal's thread when there is a journal, while the
    // caller goes on: for a file nobody reads again before settleJournal()
    // (which every synchronous write does first).
    void queueRewrittenBytes(const QString& path, const QByteArray& bytes);

    // Waits until the original of every registered file is in the journal or
    // has failed and every queued write is done, and notes how each went.
    // Writes do it themselves; the driver does it before it reads a file
    // again and before it looks at journalFailures.
    void settleJournal();

    // Whether the file at path has been registered, under any spelling.
    bool isTouched(const QString& path) const;

    // Writes every touched file back with its recorded bytes and modification
    // time, in the order of first registration. A file that no longer holds the
    // text this run wrote into it was saved by someone else during the run; it
    // is left alone.
    RestoreReport restoreSources() const;

private:
    std::unique_ptr<JournalWorker> worker; // started with the first original
    QMap<QString, int> originalNumbers;    // canonical path -> its original's number
    QStringList jobPaths;                  // the canonical path of each job, in order
    qsizetype settledCount = 0;            // jobs already noted in the snapshots

    // Records the digest of what write() is about to put into a registered
    // file, then lets it write.
    bool writeRegistered(const QString& path, const QByteArray& digest,
                         const std::function<bool()>& write);
};

// The key a file is registered under: its absolute path, cleaned, with links
// resolved where the file exists.
QString canonicalSourcePath(const QString& path);
