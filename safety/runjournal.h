#pragma once

#include "filetime.h"
#include "journalformat.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QLockFile>
#include <QString>

#include <memory>

// One run's journal: enough to put back every file the run rewrites even when
// the run never gets to do it itself (killed, crashed, machine switched off).
// Its layout on disk is described in journalformat.h.
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
