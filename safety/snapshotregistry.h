#pragma once

#include "filetime.h"
#include "journalworker.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

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
    SnapshotRegistry() = default;
    // With a journal, a file's original is put into it from its first
    // registration on (on a thread of its own, while the passes go on), and no
    // file is rewritten before its original is safely there.
    explicit SnapshotRegistry(RunJournal* journal) : journal(journal) {}

    // Records path as touched. The first registration of a file keeps its bytes
    // (as read by the caller, before any rewrite) and its modification time.
    void registerSource(const QString& path, const QByteArray& bytes);

    // Writes the rewritten text of a registered file (text mode, see
    // sourceBytesFromText). Every pass writes through here, so the registry
    // knows what each file holds during the compile. Refuses files never
    // registered and files whose original is not safely journaled.
    bool writeRewrittenSource(const QString& path, const QString& text);

    // The same for a text already made into the bytes to write.
    bool writeRewrittenBytes(const QString& path, const QByteArray& bytes);

    // The same, done on the journal's thread when there is a journal, while the
    // caller goes on: for a file nobody reads again before settleJournal()
    // (which every synchronous write does first).
    void queueRewrittenBytes(const QString& path, const QByteArray& bytes);

    // Waits until the original of every registered file is in the journal or
    // has failed and every queued write is done, and notes how each went.
    // Writes and the accessors below do it themselves; the driver does it
    // before it reads a file again.
    void settleJournal();

    // Whether the file at path has been registered, under any spelling.
    bool isTouched(const QString& path) const;

    // Writes every touched file back with its recorded bytes and modification
    // time, in the order of first registration. A file that no longer holds the
    // text this run wrote into it was saved by someone else during the run; it
    // is left alone.
    RestoreReport restoreSources();

    // What the registry knows, each after settling the journal:
    // the canonical path of every registration, in order, repeats kept;
    QStringList touchedFiles();
    // what a registered file held before this run, under any spelling;
    std::optional<FileSnapshot> snapshotOf(const QString& path);
    // the files whose journal records could not be written (and which are
    // therefore not rewritten), in the order they failed.
    QStringList journalFailures();

private:
    RunJournal* journal = nullptr;
    QMap<QString, FileSnapshot> originals; // canonical path -> first snapshot
    QStringList registrations;             // canonical paths, in registration order
    QStringList failures;                  // files whose journal records failed
    std::unique_ptr<JournalWorker> worker; // started with the first original
    QMap<QString, int> originalNumbers;    // canonical path -> its original's number
    QStringList jobPaths;                  // the canonical path of each job, in order
    qsizetype settledCount = 0;            // jobs already noted in the snapshots

    // Records the digest of the bytes about to be written into a registered
    // file, then writes them.
    bool writeRegistered(const QString& path, const QByteArray& bytes);
};

// The key a file is registered under: its absolute path, cleaned, with links
// resolved where the file exists.
QString canonicalSourcePath(const QString& path);
