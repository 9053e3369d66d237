#pragma once

#include "filelock.h"
#include "filetime.h"
#include "journalworker.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

struct OtherJournals;
struct PrivateFolder;
struct RunJournal;
struct RestoreResult;

// What a source file held before this run touched it.
struct FileSnapshot {
    QString path;     // the canonical path it was first registered under
    QByteArray bytes; // exactly as on disk, line ends and NUL bytes included
    FileTime modified;
    FileStamp read; // the file as it was read
    // The digest of every text in the file this run stands for: written by it,
    // or by another run that it shares the file with (or that died).
    QList<QByteArray> writtenDigests;
    FileStamp lastWritten; // the file right after the last of those writes
    int journalIndex = -1; // its number in the run's journal, -1 if none
};

// Why a run cannot go on to its compile.
struct RunProblem {
    enum class Kind {
        Busy, // another run holds path: let every file go, take them in order, start again
        Stop, // message says why; every file goes back, nothing is compiled
    };
    Kind kind = Kind::Stop;
    QString path;    // the file it is about
    QString message; // Stop: one line, without the program's prefix
    // Busy: this run needs other bytes in it than the runs that share it, or
    // cannot tell what they hold, and must wait until it has it to itself.
    bool alone = false;
};

// What the restore could not do.
struct RestoreReport {
    struct Failure {
        QString path;
        QString reason;
    };
    QList<Failure> failed; // held our text, but the original could not be written back
    QStringList changed;   // someone else wrote the file during the run: left alone

    bool isComplete() const { return failed.isEmpty() && changed.isEmpty(); }
};

// Every file a pass reads is registered here before it is rewritten; after the
// compiler has finished, restoreSources() puts every registered file back as it
// was. A file is one file under every name it has (hard links, a link and its
// target, relative and absolute spellings): it is known by its device and
// inode, recorded once, with the bytes it held before the run, rewritten and
// restored as one.
//
// From its registration until the registry lets it go, a file is held:
// opened once and locked on the file itself (filelock.h), read and written
// through that opening only. Rewrites are made in place and announced in the
// journal (inplacewrite.h). A file is rewritten only while it still holds
// what was read from it; one that cannot be read whole, was changed since, or
// cannot be written stops the run (problem()).
//
// A file that other runs of this user share during their compiles is taken
// shared when it holds text one of them wrote (their journals say so, and
// keep its original): the passes are handed that original, and when this run
// would write the very bytes the file holds it writes nothing and compiles
// with them; otherwise it must wait its turn (problem()). Whichever run is the
// file's last user puts it back; every one of them keeps its original in its
// own journal, so the next run puts it back if the last one is killed.
struct SnapshotRegistry {
    // Whether a file may be rewritten by this run, judged by the bytes it was
    // read with: a file that may not is never written unless a write comes
    // all the same (its original is kept then, before the write).
    using RewriteCheck = bool (*)(const QByteArray& bytes);

    // With a journal, a file's original is put into it from its first
    // registration on (on a thread of its own, while the passes go on), and no
    // file is rewritten before its original is safely there. journalsFolder:
    // where the journal is made when the run first keeps an original, unless
    // it is open already; a run that keeps none makes none. mayBeRewritten:
    // files it rules out keep their original out of the journal until they
    // are about to be written (none: every file may be). held: files this run
    // has already taken (in order, after another run was in the way); each is
    // registered when a pass reads it. others: the journals of this user's
    // other runs, without which no file is shared with them.
    explicit SnapshotRegistry(RunJournal* journal = nullptr, std::vector<LockedFile> held = {},
                              OtherJournals* others = nullptr,
                              const PrivateFolder* journalsFolder = nullptr,
                              RewriteCheck mayBeRewritten = nullptr);
    ~SnapshotRegistry();
    SnapshotRegistry(const SnapshotRegistry&) = delete;
    SnapshotRegistry& operator=(const SnapshotRegistry&) = delete;

    // Reads a source file whole for a pass and registers it: its bytes, or
    // nothing when there is no regular file there that can be read (not
    // registered: the compiler will report it), when another run holds it or
    // when it cannot be read whole (both noted in problem()). A file registered
    // before is read as this run left it.
    std::optional<QByteArray> readSource(const QString& path);

    // Records path as touched, with bytes the caller has just read from it. The
    // first registration of a file keeps its bytes and modification time.
    void registerSource(const QString& path, const QByteArray& bytes);

    // Writes the bytes of a registered file's rewritten text. Every rewrite
    // goes through here, so the registry knows what each file holds during
    // the compile. Refuses files never registered and files whose original is
    // not safely journaled. Bytes equal to the file's original are not written
    // at all.
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

    // Whether the file at path has been registered, under any name.
    bool isTouched(const QString& path) const;

    // Whether the run has met a problem already, without waiting for the
    // journal's thread: the passes need not go on.
    bool hasStopped() const { return firstProblem.has_value(); }

    // Once the passes are done and the run is about to compile: every file
    // is shared, so other runs that need the same bytes in it can compile
    // with it at the same time.
    void shareFiles();

    // Writes every touched file back with its recorded bytes and modification
    // time, in the order of first registration, each flushed to disk, and lets
    // each go. A file that no longer holds the text this run wrote into it was
    // saved by someone else during the run; it is left alone. A shared file is
    // put back only by its last user: while other runs still use it, it is
    // handed over to one that stands for it (waiting for one that is still
    // taking it up).
    RestoreReport restoreSources();

    // Lets every file still held go, for other runs to take.
    void releaseFiles();

    // What the registry knows, each after settling the journal:
    // the first problem that keeps the run from its compile;
    std::optional<RunProblem> problem();

    // The run has no journal folder (one cannot be made, reason says why):
    // a file that may be rewritten stops the run with reason when it is read.
    void setWithoutJournal(const QString& reason) { withoutJournal = reason; }

    // Notes a problem that keeps the run from its compile, found outside the
    // registry (a fault in a file's extension syntax); the first one noted wins.
    void stop(const QString& path, const QString& message);
    // the canonical path of every registration, in order, repeats kept;
    QStringList touchedFiles();
    // what a registered file held before this run, under any name;
    std::optional<FileSnapshot> snapshotOf(const QString& path);
    // the number in the run's journal of the file registered under path, the
    // canonical path a restore report names, also when that file has since
    // been deleted, moved or replaced; -1 if none;
    int journalIndexOf(const QString& registeredPath);
    // the canonical path of every file held.
    QStringList heldPaths();

private:
    struct Entry {
        FileSnapshot snapshot;
        LockedFile file;
        QByteArray found;        // what it held when taken: its original, or another run's text
        int originalNumber = -1; // among the originals handed to the worker
        bool rewritten = false;  // this run has written it
        bool cut = false;        // a write failed part-way: put back whatever it holds
    };
    enum class JobKind { Original, Write, Share };
    struct Job {
        Entry* entry;
        JobKind kind;
    };

    RunJournal* journal = nullptr;
    OtherJournals* others = nullptr;
    const PrivateFolder* journalsFolder = nullptr;
    RewriteCheck mayBeRewritten = nullptr;
    QString withoutJournal; // why there is no journal folder, when there is none
    std::vector<std::unique_ptr<Entry>> entries; // in order of first registration
    QHash<QPair<qint64, qint64>, Entry*> byIdentity;
    std::vector<LockedFile> taken; // held but not registered yet
    QStringList registrations;     // canonical paths, in registration order
    std::optional<RunProblem> firstProblem;
    std::unique_ptr<JournalWorker> worker; // started with the first original; goes first
    QList<Job> jobs;                       // the jobs handed to the worker, in order
    qsizetype settledCount = 0;            // jobs already noted in the snapshots

    Entry* entryFor(const FileStamp& identity) const;
    Entry* entryFor(const QString& path) const;
    Entry* add(const QString& path, LockedFile file, const QByteArray& original,
               const FileTime& modified, const QByteArray& found, const FileStamp& read,
               bool keepOriginalNow);
    bool keepsOriginalAtOnce(const QByteArray& bytes) const;
    bool keepOriginal(Entry& entry);
    bool take(const QString& path, LockedFile* file, bool* othersUse);
    std::optional<QByteArray> enter(const QString& path, LockedFile file, bool othersUse);
    static bool isUnchanged(const Entry& entry, const QByteArray& bytes);
    bool mayWrite(Entry* entry);
    Precondition preconditionFor(const Entry& entry) const;
    void noteWrite(Entry& entry, const QByteArray& digest, const WriteResult& result);
    void putBack(const std::vector<Entry*>& toPutBack, RestoreReport& report);
    void noteRestore(const Entry& entry, const RestoreResult& result, RestoreReport& report);
    bool depart(Entry& entry, RestoreReport& report, std::vector<Entry*>& toPutBack);
    void waitTurn(const QString& path, bool alone);
};

// The path a file is registered under: its absolute path, cleaned, with links
// resolved where the file exists.
QString canonicalSourcePath(const QString& path);
