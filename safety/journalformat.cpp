#include "journalformat.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRandomGenerator>

namespace {

const QByteArray headerVersion1 = "fbext journal 1\n";

bool parseNumber(const QByteArray& field, qint64* value) {
    bool ok = false;
    *value = field.toLongLong(&ok);
    return ok;
}

QByteArray number(qint64 value) {
    return QByteArray::number(value);
}

// An "original" record's fields after the index, in either version.
bool parseOriginal(const QList<QByteArray>& fields, bool version1, JournalEntry* entry) {
    if (fields.size() != (version1 ? 7 : 9))
        return false;
    entry->modified.valid = fields[4] == "1";
    if (!parseNumber(fields[2], &entry->modified.seconds) ||
        !parseNumber(fields[3], &entry->modified.nanoseconds))
        entry->modified.valid = false;
    entry->originalDigest = QByteArray::fromHex(fields[5]);
    if (!version1 &&
        (!parseNumber(fields[6], &entry->device) || !parseNumber(fields[7], &entry->inode)))
        return false;
    entry->path = QString::fromUtf8(QByteArray::fromPercentEncoding(fields.last()));
    return true;
}

} // namespace

QString journalsFolderName() {
    return QStringLiteral("journals");
}

QString keptFolderName() {
    return QStringLiteral("kept");
}

QString newJournalName() {
    return QStringLiteral("run-%1-%2-%3")
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(QRandomGenerator::global()->bounded(1000000));
}

bool isJournalName(const QString& name) {
    return name.startsWith(QLatin1StringView("run-"));
}

QString lockName() {
    return QStringLiteral("lock");
}

QString manifestName() {
    return QStringLiteral("manifest");
}

QString originalCopyName(int index) {
    return QStringLiteral("%1.original").arg(index);
}

QString foundCopyName(int index, int attempt) {
    return QStringLiteral("%1.found-%2").arg(index).arg(attempt);
}

bool isFoundCopyName(const QString& name) {
    return name.contains(QLatin1StringView(".found-"));
}

QByteArray manifestHeader() {
    return QByteArrayLiteral("fbext journal 2\n");
}

QByteArray originalRecord(int index, const FileTime& modified, const QByteArray& digest,
                          const FileStamp& identity, const QString& canonicalPath) {
    return "original " + number(index) + ' ' + number(modified.seconds) + ' ' +
           number(modified.nanoseconds) + ' ' + (modified.valid ? "1 " : "0 ") + digest.toHex() +
           ' ' + number(identity.device) + ' ' + number(identity.inode) + ' ' +
           canonicalPath.toUtf8().toPercentEncoding() + '\n';
}

QByteArray writeRecord(int index, const QByteArray& digest) {
    return "write " + number(index) + ' ' + digest.toHex() + '\n';
}

QByteArray restoreRecord(int index) {
    return "restore " + number(index) + '\n';
}

QByteArray doneRecord(int index) {
    return "done " + number(index) + '\n';
}

QByteArray skippedRecord(int index) {
    return "skipped " + number(index) + '\n';
}

QByteArray sharedRecord(int index, const QByteArray& digest) {
    return "shared " + number(index) + ' ' + digest.toHex() + '\n';
}

QByteArray leftRecord(int index) {
    return "left " + number(index) + '\n';
}

QByteArray unrestoredRecord(int index) {
    return "unrestored " + number(index) + '\n';
}

QList<JournalEntry> parseManifest(const QByteArray& manifest) {
    QList<JournalEntry> entries;
    const bool version1 = manifest.startsWith(headerVersion1);
    const QByteArray header = version1 ? headerVersion1 : manifestHeader();
    if (!manifest.startsWith(header))
        return entries;
    QList<QByteArray> lines = manifest.mid(header.size()).split('\n');
    lines.removeLast();               // empty, or a record cut short by the end of its run
    QList<LastWrite> beforeAnnounced; // what a skipped write leaves, by file
    for (const QByteArray& line : std::as_const(lines)) {
        const QList<QByteArray> fields = line.split(' ');
        qint64 index = -1;
        if (fields.size() < 2 || !parseNumber(fields[1], &index) || index < 0)
            continue;
        const QByteArray& kind = fields[0];
        if (kind == "original") {
            JournalEntry entry;
            entry.index = int(index);
            if (index == entries.size() && parseOriginal(fields, version1, &entry)) {
                entries.append(entry);
                beforeAnnounced.append(LastWrite::None);
            }
            continue;
        }
        if (index >= entries.size())
            continue;
        JournalEntry& entry = entries[index];
        if ((kind == "write" || kind == "wrote") && fields.size() == 3) {
            entry.writtenDigests.append(QByteArray::fromHex(fields[2]));
            beforeAnnounced[index] = entry.lastWrite;
            entry.lastWrite = version1 ? LastWrite::RewriteDone : LastWrite::RewriteStarted;
        } else if (kind == "restore" && fields.size() == 2) {
            beforeAnnounced[index] = entry.lastWrite;
            entry.lastWrite = LastWrite::RestoreStarted;
        } else if (kind == "skipped" && fields.size() == 2) {
            if (entry.lastWrite == LastWrite::RewriteStarted)
                entry.writtenDigests.removeLast(); // never written
            if (entry.lastWrite == LastWrite::RewriteStarted ||
                entry.lastWrite == LastWrite::RestoreStarted)
                entry.lastWrite = beforeAnnounced[index];
        } else if (kind == "done" && fields.size() == 2) {
            if (entry.lastWrite == LastWrite::RewriteStarted)
                entry.lastWrite = LastWrite::RewriteDone;
            else if (entry.lastWrite == LastWrite::RestoreStarted)
                entry.lastWrite = LastWrite::RestoreDone;
        } else if (kind == "shared" && fields.size() == 3) {
            entry.writtenDigests.append(QByteArray::fromHex(fields[2]));
            entry.lastWrite = LastWrite::RewriteDone;
        } else if (kind == "left" && fields.size() == 2) {
            entry.left = true;
        } else if (kind == "unrestored" && fields.size() == 2) {
            entry.unrestored = true;
        }
    }
    return entries;
}
