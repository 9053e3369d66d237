#pragma once

#include "filetime.h"

#include <QByteArray>
#include <QList>
#include <QString>

// How a run's journal lies on disk; the run that writes it (runjournal.h) and
// the recovery that reads a dead run's journal (recovery.h) both go by this.
//
// The journal folder (runguard.h) holds
//   journals/   one folder per run that is alive or died before its restore
//   kept/       journals whose originals stay for the user, because the files
//               were changed by someone else before they could be put back
// A run's journal is named run-<pid>-<msecs>-<n>. The
// run holds the journal's lock for as long as it lives (journallock.h); the
// system lets go of it when the run ends, however it ends, so a journal whose
// lock can be taken belongs to a dead run. In it:
//   lock        the lock file: a record lock on it, held by the run (earlier
//               versions, whose journals have none, lock the folder itself)
//   N.original  the bytes file N held before the run, on disk before file N is
//               first rewritten
//   N.found-K   what file N held when recovery found it cut short by a write
//               that never finished, kept before its original was written back
//   manifest    text, one record per line, each on disk before what it
//               announces is done:
//                 fbext journal 2
//                 original N SECONDS NANOSECONDS TIMEVALID DIGEST DEVICE INODE PATH
//                 write N DIGEST
//                 restore N
//                 done N
//                 skipped N
//                 shared N DIGEST
//                 left N
//                 unrestored N
//               "original" comes once per file, before its first rewrite.
//               "write" comes before each rewrite of file N, with the digest
//               of the bytes about to be written; "restore" before the
//               original is written back into it; "done" once such a write is
//               complete and on disk; "skipped" instead when it was not made
//               at all (the file was found changed just before its first
//               byte), so the file is as the records before that write say.
//               "shared" says the run uses file N as
//               another run wrote it, holding bytes of DIGEST, and stands for
//               putting the original back as well as that run does (its
//               original is a copy of that run's). "left" says the run let
//               file N go without putting it back, to other runs that use it
//               and stand for it. "unrestored" says the run ended without
//               being able to write file N back. PATH is the file's canonical
//               path, percent-encoded UTF-8; DIGEST is the digest of its
//               bytes in hex (digest.h; SHA-1 in journals of earlier versions);
//               SECONDS and NANOSECONDS are the original modification time;
//               DEVICE and INODE say which file PATH named.
//               A last line without a line end was cut short and is ignored.
// Files and folders in the journal folder that are not the user's own, or that
// are links, are never trusted (privatefolder.h).
//
// Journals written before "write" and "done" existed ("fbext journal 1", with
// "wrote N DIGEST" before each rewrite and no identity) are still read.

// Names within the journal folder, the journals folder and one journal.
QString journalsFolderName();
QString keptFolderName();
QString newJournalName();
bool isJournalName(const QString& name);
QString manifestName();
QString lockName();
QString originalCopyName(int index);
QString foundCopyName(int index, int attempt);
bool isFoundCopyName(const QString& name);

// The manifest's first line, and its records.
QByteArray manifestHeader();
QByteArray originalRecord(int index, const FileTime& modified, const QByteArray& digest,
                          const FileStamp& identity, const QString& canonicalPath);
QByteArray writeRecord(int index, const QByteArray& digest);
QByteArray restoreRecord(int index);
QByteArray doneRecord(int index);
QByteArray skippedRecord(int index);
QByteArray sharedRecord(int index, const QByteArray& digest);
QByteArray leftRecord(int index);
QByteArray unrestoredRecord(int index);

// The last write the journal announces for a file.
enum class LastWrite {
    None,           // the file was only read
    RewriteStarted, // a rewrite began and its end was never recorded
    RewriteDone,    // the file holds the text of its last rewrite (or of the run it
                    // shares the file with), unless changed since
    RestoreStarted, // the original was being written back and its end was never recorded
    RestoreDone,    // the original is back
};

// One file as recorded in a journal.
struct JournalEntry {
    int index = -1;
    QString path;
    FileTime modified;
    QByteArray originalDigest;
    qint64 device = -1; // which file PATH named; -1 when the journal does not say
    qint64 inode = -1;
    QList<QByteArray> writtenDigests;
    LastWrite lastWrite = LastWrite::None;
    bool left = false; // let go to other runs that stand for it
    bool unrestored = false;
};

// The files a manifest records, in recording order; nothing when the bytes are
// not a manifest.
QList<JournalEntry> parseManifest(const QByteArray& manifest);
