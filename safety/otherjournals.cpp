#include "otherjournals.h"

#include "digest.h"
#include "journallock.h"
#include "runjournal.h"

#include <QSet>

QList<OtherJournals::Record> OtherJournals::recordsOf(const FileStamp& identity) {
    QList<Record> records;
    if (!journals || !identity.valid)
        return records;
    QSet<QString> present;
    for (const QString& name : folderEntries(*journals)) {
        if (!isJournalName(name) || (own && name == own->name))
            continue;
        PrivateFolder folder;
        QString problem;
        if (!openPrivateSubfolder(*journals, name, false, &folder, &problem))
            continue;
        const std::optional<QByteArray> bytes = readOwnFile(folder, manifestName());
        if (!bytes)
            continue;
        present.insert(name);
        Manifest& manifest = manifests[name];
        if (manifest.size != bytes->size()) {
            manifest.size = bytes->size();
            manifest.entries = parseManifest(*bytes);
        }
        for (const JournalEntry& entry : std::as_const(manifest.entries)) {
            if (entry.device == identity.device && entry.inode == identity.inode)
                records.append(Record{name, entry});
        }
    }
    for (auto it = manifests.begin(); it != manifests.end();)
        it = present.contains(it.key()) ? std::next(it) : manifests.erase(it);
    return records;
}

std::optional<QByteArray> OtherJournals::originalOf(const Record& record) const {
    PrivateFolder folder;
    QString problem;
    if (!journals || !openPrivateSubfolder(*journals, record.journal, false, &folder, &problem))
        return std::nullopt;
    std::optional<QByteArray> bytes = readOwnFile(folder, originalCopyName(record.entry.index));
    if (!bytes || !DigestOf(*bytes).matches(record.entry.originalDigest))
        return std::nullopt;
    return bytes;
}

bool OtherJournals::isLive(const QString& journal) const {
    return journals && isJournalLocked(*journals, journal);
}

FileOrigin originOf(OtherJournals& others, const FileStamp& identity, const QByteArray& bytes) {
    FileOrigin origin;
    const QList<OtherJournals::Record> records = others.recordsOf(identity);
    if (records.isEmpty())
        return origin; // the usual case: no digest needed
    const DigestOf digest(bytes);
    for (const OtherJournals::Record& record : records) {
        const JournalEntry& entry = record.entry;
        if (entry.lastWrite == LastWrite::None || entry.lastWrite == LastWrite::RestoreDone ||
            !digest.matchesAny(entry.writtenDigests))
            continue;
        if (std::optional<QByteArray> original = others.originalOf(record)) {
            origin.kind = FileOrigin::Kind::Written;
            origin.original = std::move(*original);
            origin.modified = entry.modified;
            origin.record = record;
            return origin;
        }
    }
    for (const OtherJournals::Record& record : records) {
        if (digest.matches(record.entry.originalDigest)) {
            origin.kind = FileOrigin::Kind::Original;
            origin.record = record;
            return origin;
        }
    }
    for (const OtherJournals::Record& record : records) {
        if (record.entry.lastWrite == LastWrite::RewriteStarted ||
            record.entry.lastWrite == LastWrite::RestoreStarted) {
            origin.kind = FileOrigin::Kind::Cut;
            origin.record = record;
            return origin;
        }
    }
    return origin;
}

bool anotherRunStandsFor(OtherJournals& others, const FileStamp& identity,
                         const QByteArray& originalDigest, const QByteArray& currentDigest,
                         const QString& except) {
    for (const OtherJournals::Record& record : others.recordsOf(identity)) {
        const JournalEntry& entry = record.entry;
        if (record.journal != except && !entry.left && entry.lastWrite == LastWrite::RewriteDone &&
            entry.originalDigest == originalDigest &&
            entry.writtenDigests.contains(currentDigest) && others.isLive(record.journal))
            return true;
    }
    return false;
}
