#pragma once

#include "filetime.h"

#include <QByteArray>
#include <QList>
#include <QString>

// How a run's journal lies on disk; the run that writes it (runjournal.h) and
// the recovery that reads a dead run's journal (recovery.h) both go by this.
//
// A journal is a directory of its own below the journals directory, named
// run-<pid>-<msecs>-<n>, holding
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

// Names within the journals directory and within one journal.
extern const QString journalNamePattern; // run-*
QString newJournalName();
QString journalLockName();
QString manifestName();
QString originalCopyName(int index);

// The manifest's first line, and its records.
QByteArray manifestHeader();
QByteArray originalRecord(int index, const FileTime& modified, const QByteArray& digest,
                          const QString& canonicalPath);
QByteArray writeRecord(int index, const QByteArray& digest);

// One file as recorded in a journal.
struct JournalEntry {
    int index = -1;
    QString path;
    FileTime modified;
    QByteArray originalDigest;
    QList<QByteArray> writtenDigests;
};

// The files a manifest records, in recording order; nothing when the bytes are
// not a manifest.
QList<JournalEntry> parseManifest(const QByteArray& manifest);
