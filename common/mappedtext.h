#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Where a line of rewritten text comes from: the name the compiler knows its
// file by, and its 1-based line number there. A line made up by the program
// (such as the empty lines between generated members) has no origin.
struct LineOrigin {
    QString file;
    int line = 0;

    bool isKnown() const { return line > 0; }
    bool operator==(const LineOrigin& other) const {
        return line == other.line && file == other.file;
    }
    bool operator!=(const LineOrigin& other) const { return !(*this == other); }
};

// A text together with the origin of each of its lines, so that the compiler's
// messages can be pointed back at the user's own lines. `origins` always has
// one entry per line of `text` (the number of line feeds plus one).
//
// Edits that never add or remove a line feed may change `text` directly; every
// other edit goes through the operations below, which keep the origins in step.
struct MappedText {
    QString text;
    QList<LineOrigin> origins{LineOrigin()};

    MappedText() = default;
    // A text all of whose lines stand for the same origin.
    MappedText(const QString& text, const LineOrigin& origin);

    // Lines with their origins, joined with "\n".
    static MappedText fromLines(const QStringList& lines, const QList<LineOrigin>& origins);

    // Texts joined with "\n" between them, as QStringList::join joins lines; a
    // part may hold several lines of its own.
    static MappedText joinLines(const QList<MappedText>& parts);

    // Concatenation. Where the last line of this text and the first line of the
    // other become one line, the origin of the part that is not empty wins
    // (this text's when both are not).
    void append(const MappedText& other);
    void append(const QString& text, const LineOrigin& origin = LineOrigin());

    // Inserts other at a character position of this text, with the same rule
    // for the lines that are joined at both ends.
    void insert(qsizetype position, const MappedText& other);

    qsizetype lineCount() const { return origins.size(); }
};
