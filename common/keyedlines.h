#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Line numbers filed under byte keys, for a scan that asks, many times over,
// which lines carry a key. Lines are added in file order (a line may be filed
// under several keys); once finished, the lines of a key come back in that
// order, as one contiguous run. All keys share one buffer and all lines one
// list, so a file with tens of thousands of keys costs a few allocations
// rather than two for each key.
class KeyedLines {
public:
    // Files line under key. Lines come in ascending order.
    void add(QByteArrayView key, int line);
    // Groups the lines by key; add must not be called after it.
    void finish();

    // The lines filed under key, ascending (empty when there are none).
    struct Run {
        const int* begin = nullptr;
        const int* end = nullptr;
    };
    Run linesOf(QByteArrayView key) const;

private:
    qsizetype slotOf(QByteArrayView key, size_t hash) const;
    void grow();

    QByteArray keyBytes;           // every key once, end to end
    QList<qsizetype> keyStarts{0}; // key k is keyBytes[keyStarts[k], keyStarts[k + 1])
    QList<size_t> keyHashes;
    QList<qint32> table;          // open addressing: a key number, or -1
    QList<qint32> filedKeys;      // the key of each add, in order
    QList<int> filedLines;        // the line of each add; grouped by key once finished
    QList<qsizetype> groupStarts; // once finished: key k's lines start at groupStarts[k]
};
