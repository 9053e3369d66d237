#pragma once

#include "filetime.h"
#include "journalformat.h"
#include "journallock.h"
#include "openfile.h"
#include "privatefolder.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// One run's journal: enough to put back every file the run rewrites even when
// the run never gets to do it itself (killed, crashed, machine switched off).
// Its layout on disk is described in journalformat.h. A live run's journal is
// locked by it (journallock.h); recovery takes over the journal of a dead run
// to write its files back, recording those writes in it the same way.
struct RunJournal {
    QString name;         // its folder's name within the journals folder
    PrivateFolder folder; // the journal's own folder
    JournalLock lock;     // held while its run lives, or while recovery has it
    OpenFile manifest;
    int fileCount = 0;
    // The journals folder it was created in, open until its first original
    // makes the journal's name in it durable.
    PrivateFolder unflushedIn;

    // Creates a fresh journal in journals, locked and with its manifest header
    // written; nothing of it is flushed to disk before its first original
    // (recordOriginal). Returns false, with a reason, when it cannot.
    bool create(const PrivateFolder& journals, QString* reason);

    // Takes over the journal name in journals when its run is dead (its lock
    // can be taken: no live process holds it) and it is the user's own.
    // Returns false otherwise.
    bool adopt(const PrivateFolder& journals, const QString& journalName);

    bool isOpen() const { return manifest.isOpen(); }
    QString directory() const { return folder.path; }

    // The files the journal records.
    QList<JournalEntry> entries() const;

    // Keeps a file's original bytes and modification time; returns the file's
    // number in the journal, or -1 when they could not be put on disk.
    int recordOriginal(const QString& canonicalPath, const FileStamp& identity,
                       const QByteArray& bytes, const FileTime& modified);
    // Keeps several originals at once, their copies and records each flushed
    // once for all of them; returns their numbers, -1 for each that could not
    // be put on disk.
    struct Original {
        QString canonicalPath;
        FileStamp identity;
        QByteArray bytes;
        FileTime modified;
    };
    QList<int> recordOriginals(const QList<Original>& originals);

    // Announces, on disk, a rewrite of file number index with bytes of the
    // given digest, or the original going back into it.
    bool recordWriteStarting(int index, const QByteArray& digest);
    bool recordRestoreStarting(int index);
    // Announces several writes with one flush: the rewrites of files indexes
    // with bytes of digests, or the originals going back into them.
    bool recordWritesStarting(const QList<int>& indexes, const QList<QByteArray>& digests);
    bool recordRestoresStarting(const QList<int>& indexes);
    // The write announced last for the file is complete and on disk.
    void recordWriteDone(int index);
    // The write announced last for the file was not made: the file was found
    // changed just before its first byte.
    void recordWriteSkipped(int index);
    // The run uses file number index as another run wrote it, holding bytes
    // of the given digest, and stands for putting it back.
    bool recordShared(int index, const QByteArray& digest);
    // The run lets the file go to other runs that stand for it.
    void recordLeft(int index);
    // The run ends without having been able to put the file back.
    void recordUnrestored(int index);

    QString originalCopyPath(int index) const;
    std::optional<QByteArray> readOriginal(int index) const;

    // Keeps what a file held before recovery wrote its original back over it;
    // returns the copy's name in the journal, or an empty string when it could not.
    QString keepFoundBytes(int index, const QByteArray& bytes);

    // Whether it keeps what some file held before recovery wrote its
    // original back over it.
    bool keepsFoundBytes() const;

    // After a complete restore: the journal goes away.
    void discard(const PrivateFolder& journals);
    // Some file could not be put back: the journal stays where it is, so the
    // next run tries again.
    void abandon();
    // Some file was changed by someone else: the journal moves to kept, where
    // its original copies stay for the user but no run restores them. Stays
    // where it is when it cannot be moved.
    void keep(const PrivateFolder& journals, const PrivateFolder& kept);
};
