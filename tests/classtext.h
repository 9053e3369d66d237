#pragma once

// Helpers shared by the class-extension tests.

#include "lines.h"
#include "mappedtext.h"
#include "qtprinting.h"

#include <QByteArray>
#include <QByteArrayList>

inline QString testFile() {
    return QStringLiteral("shapes.bas");
}

// Source text as the pass sees it: every line stands for its own line number.
inline MappedText sourceOf(const QByteArray& text) {
    const Lines lines = splitLines(text);
    MappedTextBuilder source;
    for (qsizetype i = 0; i < lines.size(); ++i)
        source.add(lines[i], LineOrigin{testFile(), int(i + 1)});
    return source.take();
}

inline QList<LineOrigin> originsOf(const QByteArray& text) {
    return sourceOf(text).origins;
}

inline LineOrigin at(int line) {
    return LineOrigin{testFile(), line};
}

// Lines joined with "\n", so expected texts read line by line in the tests.
inline QByteArray text(std::initializer_list<const char*> lines) {
    QByteArrayList joined;
    for (const char* line : lines)
        joined.append(QByteArray(line));
    return joined.join('\n');
}
