#include "journalformat.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRandomGenerator>

const QString journalNamePattern = QStringLiteral("run-*");

namespace {

bool parseNumber(const QByteArray& field, qint64* value) {
    bool ok = false;
    *value = field.toLongLong(&ok);
    return ok;
}

} // namespace

QString newJournalName() {
    return QStringLiteral("run-%1-%2-%3")
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(QRandomGenerator::global()->bounded(1000000));
}

QString journalLockName() {
    return QStringLiteral("lock");
}

QString manifestName() {
    return QStringLiteral("manifest");
}

QString originalCopyName(int index) {
    return QStringLiteral("%1.original").arg(index);
}

QByteArray manifestHeader() {
    return QByteArrayLiteral("fbext journal 1\n");
}

QByteArray originalRecord(int index, const FileTime& modified, const QByteArray& digest,
                          const QString& canonicalPath) {
    return "original " + QByteArray::number(index) + ' ' + QByteArray::number(modified.seconds) +
           ' ' + QByteArray::number(modified.nanoseconds) + ' ' + (modified.valid ? "1 " : "0 ") +
           digest.toHex() + ' ' + canonicalPath.toUtf8().toPercentEncoding() + '\n';
}

QByteArray writeRecord(int index, const QByteArray& digest) {
    return "wrote " + QByteArray::number(index) + ' ' + digest.toHex() + '\n';
}

QList<JournalEntry> parseManifest(const QByteArray& manifest) {
    QList<JournalEntry> entries;
    const QByteArray header = manifestHeader();
    if (!manifest.startsWith(header))
        return entries;
    QList<QByteArray> lines = manifest.mid(header.size()).split('\n');
    lines.removeLast(); // empty, or a record cut short by the end of its run
    for (const QByteArray& line : std::as_const(lines)) {
        const QList<QByteArray> fields = line.split(' ');
        qint64 index = -1;
        if (fields.size() < 2 || !parseNumber(fields[1], &index))
            continue;
        if (fields[0] == "original" && fields.size() == 7 && index == entries.size()) {
            JournalEntry entry;
            entry.index = int(index);
            entry.modified.valid = fields[4] == "1";
            if (!parseNumber(fields[2], &entry.modified.seconds) ||
                !parseNumber(fields[3], &entry.modified.nanoseconds))
                entry.modified.valid = false;
            entry.originalDigest = QByteArray::fromHex(fields[5]);
            entry.path = QString::fromUtf8(QByteArray::fromPercentEncoding(fields[6]));
            entries.append(entry);
        } else if (fields[0] == "wrote" && fields.size() == 3 && index >= 0 &&
                   index < entries.size()) {
            entries[index].writtenDigests.append(QByteArray::fromHex(fields[2]));
        }
    }
    return entries;
}
