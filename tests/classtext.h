#pragma once

// Helpers shared by the class-extension tests.

#include "mappedtext.h"

#include <QStringList>

#include <ostream>

// Texts print as text when a comparison fails.
inline void PrintTo(const QString& text, std::ostream* stream) {
    *stream << "\"" << text.toStdString() << "\"";
}

inline QString testFile() {
    return QStringLiteral("shapes.bas");
}

// Source text as the pass sees it: every line stands for its own line number.
inline MappedText sourceOf(const QString& text) {
    const QStringList lines = text.split(u'\n');
    QList<LineOrigin> origins;
    for (qsizetype i = 0; i < lines.size(); ++i)
        origins.append(LineOrigin{testFile(), int(i + 1)});
    return MappedText::fromLines(lines, origins);
}

inline QList<LineOrigin> originsOf(const QString& text) {
    return sourceOf(text).origins;
}

inline LineOrigin at(int line) {
    return LineOrigin{testFile(), line};
}

// Lines joined with "\n", so expected texts read line by line in the tests.
inline QString text(std::initializer_list<const char*> lines) {
    QStringList joined;
    for (const char* line : lines)
        joined.append(QString::fromLatin1(line));
    return joined.join(u'\n');
}
