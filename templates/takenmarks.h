#pragma once

#include <QList>

// Positions 0..size-1 that are taken one by one; finds the first position at or
// after a given one that is still free in near-constant time, so a list can
// drop entries from its middle by marking them instead of erasing them.
// Positions are those of a file's lines, which fit in 32 bits.
class TakenMarks {
public:
    explicit TakenMarks(qsizetype size) : nextFree(size + 1) {
        for (qsizetype i = 0; i <= size; ++i)
            nextFree[i] = qint32(i);
    }

    // The first free position at or after position, or size when there is none.
    qsizetype firstFree(qsizetype position) {
        while (nextFree[position] != position) {
            nextFree[position] = nextFree[nextFree[position]];
            position = nextFree[position];
        }
        return position;
    }

    bool isTaken(qsizetype position) const { return nextFree[position] != position; }
    void take(qsizetype position) { nextFree[position] = qint32(position + 1); }

private:
    QList<qint32> nextFree; // a free position points to itself
};
