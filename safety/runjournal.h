#pragma once

#include "filetime.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QLockFile>
#include <QString>

#include <memory>

// One run's journal: enough to put back every file the run rewrites even when
// the run never gets to do it itself (killed, crashed, machine switched off).
//
// A journal is a directory of its own, run-<pid>-<msecs>-<n>, holding
//   lock        a QLockFile held by the run while it is alive, so a later run
//               can tell a dead run from a live one even when its pid is reused
//   N.original  the bytes file N held before the run, on disk before file N is
//               first rewritten
//   manifest    text, one record per line, each line on disk before the file it
//               describes is touched:
//                 fbext journal 1
//                 original N SECONDS NANOSECONDS TIMEVALID DIGEST PATH
//                 wrote N DIGEST
//               "original" comes once per file, before its first rewrite;
//               "wrote" comes before each rewrite, with the digest of the bytes
//               about to be written. PATH is the file's canonical path,
//               percent-encoded UTF-8; DIGEST is a SHA-1 digest in hex;
//               SECONDS and NANOSECONDS are the original modification time.
//               A last line without a line end was cut short and is ignored.
struct RunJournal {
    QString directory;
    std::unique_ptr<QLockFile> lock;
    std::unique_ptr<QFile> manifest;
    int fileCount = 0;

    // Creates a fresh journal below journalsDirectory, locked and with its
    // manifest header on disk. Returns false, with a reason, when it cannot.
    bool create(const QString& journalsDirectory, QString* reason);

    bool isOpen() const { return manifest != nullptr; }

    // Keeps a file's original bytes and modification time; returns the file's
    // number in the journal, or -1 when they could not be put on disk.
    int recordOriginal(const QString& canonicalPath, const QByteArray& bytes,
                       const FileTime& modified);

    // Records the digest of bytes about to be written into file number index.
    bool recordWrite(int index, const QByteArray& digest);

    QString originalCopyPath(int index) const;

    // After a complete restore: the journal goes away.
    void discard();
    // Some file could not be put back: the journal stays where it is, so the
    // next run tries again.
    void abandon();
    // Some file was changed by someone else: the journal moves to keptDirectory,
    // where its original copies stay for the user but no run restores them.
    void keep(const QString& keptDirectory);
};

// One file as recorded in a journal on disk.
struct JournalEntry {
    int index = -1;
    QString path;
    FileTime modified;
    QByteArray originalDigest;
    QList<QByteArray> writtenDigests;
};

// The files recorded in the journal at directory, in recording order.
QList<JournalEntry> readJournal(const QString& directory);

QString journalCopyPath(const QString& directory, int index);

// Removes a journal that is no longer needed; lock (if any) is released last.
void removeJournal(const QString& directory, QLockFile* lock);

// Moves a journal to keptDirectory; returns its new location, or the old one
// when it could not be moved.
QString keepJournal(const QString& directory, const QString& keptDirectory, QLockFile* lock);

// Writes bytes to a new file and makes sure they reach the disk.
bool writeDurably(const QString& path, const QByteArray& bytes);

// Makes sure a directory's entries (files just created or removed) reach the disk.
bool syncDirectory(const QString& path);
