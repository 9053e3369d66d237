#pragma once

#include "filetime.h"
#include "journalformat.h"
#include "privatefolder.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

struct RunJournal;

// What the journals of this user's other runs, alive or dead, say about a
// source file: a run that shares a file another run wrote learns its original
// there, a run that finds a file a dead run left rewritten learns that it is
// not the user's text, and a run that leaves a shared file learns whether
// another run still stands for it. Runs with another journal folder (another
// user, another data location) cannot be seen; their files are never shared
// with this run, whose runs take turns on them.
struct OtherJournals {
    struct Record {
        QString journal; // the journal's folder name
        JournalEntry entry;
    };

    // journals: the journals folder (none: no other run can be seen); own:
    // this run's journal, left out.
    OtherJournals(const PrivateFolder* journals, const RunJournal* own)
        : journals(journals), own(own) {}

    const PrivateFolder* journals;
    const RunJournal* own;

    // Every record of the file with this identity in the other journals.
    QList<Record> recordsOf(const FileStamp& identity);

    // The original bytes a record's journal keeps, when they are whole (their
    // digest is the one recorded).
    std::optional<QByteArray> originalOf(const Record& record) const;

    // Whether the journal's run is alive (it holds the journal's lock).
    bool isLive(const QString& journal) const;

private:
    struct Manifest {
        qsizetype size = -1; // manifests only grow: the same size, the same records
        QList<JournalEntry> entries;
    };
    QHash<QString, Manifest> manifests; // by journal, read again when grown
};

// What the bytes a file holds are, as far as the other runs' journals tell.
struct FileOrigin {
    enum class Kind {
        Unknown,  // no other run says
        Original, // another run read these very bytes as the file's original
        Written,  // another run wrote (or shares) them; original holds the file's
        Cut,      // another run's write into the file never finished
    };
    Kind kind = Kind::Unknown;
    QByteArray original; // Written: what the file held before
    FileTime modified;   // Written: its modification time then
    OtherJournals::Record record;
};

FileOrigin originOf(OtherJournals& others, const FileStamp& identity, const QByteArray& bytes);

// Whether another run that is alive uses the file with this identity as it
// holds bytes of currentDigest, with the same original (originalDigest), and
// stands for putting it back (has not let it go). The journal except is left
// out too.
bool anotherRunStandsFor(OtherJournals& others, const FileStamp& identity,
                         const QByteArray& originalDigest, const QByteArray& currentDigest,
                         const QString& except = QString());
