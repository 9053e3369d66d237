#pragma once

// The passes take lines as views over a text's bytes; tests keep their lines
// in lists of their own and look at copies of what the views show.

#include "lines.h"

#include <QByteArrayList>

inline Lines viewsOf(const QByteArrayList& lines) {
    Lines views;
    for (const QByteArray& line : lines)
        views.append(line);
    return views;
}

inline QByteArrayList copiesOf(const Lines& lines) {
    QByteArrayList copies;
    for (const QByteArrayView line : lines)
        copies.append(line.toByteArray());
    return copies;
}

// Line n (0-based) of a text, or nothing past its end.
inline QByteArray lineOf(const QByteArray& text, qsizetype n) {
    const Lines lines = splitLines(text);
    return n < lines.size() ? lines[n].toByteArray() : QByteArray();
}
