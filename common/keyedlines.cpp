#include "keyedlines.h"

#include <QHashFunctions>

#include <cstring>

namespace {

size_t hashOf(QByteArrayView key) {
    return qHash(key, size_t(0));
}

} // namespace

qsizetype KeyedLines::slotOf(QByteArrayView key, size_t hash) const {
    const size_t mask = size_t(table.size()) - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const qint32 k = table[qsizetype(slot)];
        if (k < 0)
            return qsizetype(slot);
        if (keyHashes[k] != hash)
            continue;
        const qsizetype start = keyStarts[k];
        const qsizetype size = keyStarts[k + 1] - start;
        if (size == key.size() &&
            (size == 0 || std::memcmp(keyBytes.constData() + start, key.data(), size_t(size)) == 0))
            return qsizetype(slot);
    }
}

// Doubles the table once it is half full, so a probe stays short.
void KeyedLines::grow() {
    QList<qint32> larger(table.isEmpty() ? 64 : table.size() * 2, -1);
    const size_t mask = size_t(larger.size()) - 1;
    for (qint32 k = 0; k < qint32(keyHashes.size()); ++k) {
        size_t slot = keyHashes[k] & mask;
        while (larger[qsizetype(slot)] >= 0)
            slot = (slot + 1) & mask;
        larger[qsizetype(slot)] = k;
    }
    table = std::move(larger);
}

void KeyedLines::add(QByteArrayView key, int line) {
    if (2 * (keyHashes.size() + 1) > table.size())
        grow();
    const size_t hash = hashOf(key);
    const qsizetype slot = slotOf(key, hash);
    qint32 k = table[slot];
    if (k < 0) {
        k = qint32(keyHashes.size());
        table[slot] = k;
        keyHashes.append(hash);
        keyBytes.append(key);
        keyStarts.append(keyBytes.size());
    }
    filedKeys.append(k);
    filedLines.append(line);
}

void KeyedLines::finish() {
    // A counting sort: each key's lines keep the order they came in.
    groupStarts = QList<qsizetype>(keyHashes.size() + 1, 0);
    for (const qint32 k : std::as_const(filedKeys))
        ++groupStarts[k + 1];
    for (qsizetype k = 1; k < groupStarts.size(); ++k)
        groupStarts[k] += groupStarts[k - 1];
    QList<qsizetype> next = groupStarts;
    QList<int> grouped(filedLines.size());
    for (qsizetype i = 0; i < filedKeys.size(); ++i)
        grouped[next[filedKeys[i]]++] = filedLines[i];
    filedLines = std::move(grouped);
    filedKeys = QList<qint32>();
}

KeyedLines::Run KeyedLines::linesOf(QByteArrayView key) const {
    Q_ASSERT(filedKeys.isEmpty()); // finished: the lines stand grouped by key
    if (table.isEmpty())
        return {};
    const qint32 k = table[slotOf(key, hashOf(key))];
    if (k < 0)
        return {};
    const int* lines = filedLines.constData();
    return {lines + groupStarts[k], lines + groupStarts[k + 1]};
}
