#pragma once

#include "filelock.h"
#include "filetime.h"
#include "inplacewrite.h"

#include <QByteArray>
#include <QList>
#include <QString>

enum class RestoreOutcome {
    Restored,        // the file held text this program wrote; the original is back
    AlreadyOriginal, // the file already holds its original bytes
    ChangedSince,    // someone else wrote the file (or removed or replaced it): left alone
    Failed,          // the file held our text but the original could not be written back
};

struct RestoreResult {
    RestoreOutcome outcome = RestoreOutcome::Failed;
    QString reason; // why it failed, in words
};

// Puts the original bytes and modification time back into a file this run
// holds, but only while the file holds one of the texts this program wrote
// into it (writtenDigests): anything else there is newer than our text and
// belongs to the user. When the file's stamp still equals lastWritten, taken
// right after this run's last write, nobody has written it since, and it is
// restored without being read. The write is announced in the journal (log)
// and flushed to disk before this returns.
RestoreResult restoreIfUnchanged(LockedFile& file, const QByteArray& original,
                                 const FileTime& modified, const QList<QByteArray>& writtenDigests,
                                 const FileStamp& lastWritten, const WriteLog& log);

// The two halves of restoreIfUnchanged, for a caller that announces several
// restores at once: what the file must hold for its original to go back, and
// what the write (or the check before it) came to.
Precondition holdsTextWritten(const QList<QByteArray>& writtenDigests,
                              const FileStamp& lastWritten);
RestoreResult restoreResultOf(const LockedFile& file, const QByteArray& original,
                              const WriteResult& written);
