#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// Where a line of rewritten text comes from: the name the compiler knows its
// file by, and its 1-based line number there. A line made up by the program
// (such as the empty lines between generated members) has no origin.
//
// Every line of every text carries one, so it is kept small: the file is a
// number in a table of the names met during the run (each stored once), and an
// origin is two integers that copy without touching the name.
struct LineOrigin {
    int fileNumber = 0; // 0: no file
    int line = 0;

    LineOrigin() = default;
    LineOrigin(const QString& file, int line) : fileNumber(numberOfFile(file)), line(line) {}

    // The name; it stays valid for the whole run.
    const QString& file() const;

    // The same file at another line.
    LineOrigin atLine(int otherLine) const {
        LineOrigin origin = *this;
        origin.line = otherLine;
        return origin;
    }

    bool isKnown() const { return line > 0; }
    bool operator==(const LineOrigin& other) const {
        return line == other.line && fileNumber == other.fileNumber;
    }
    bool operator!=(const LineOrigin& other) const { return !(*this == other); }

private:
    static int numberOfFile(const QString& file);
};
Q_DECLARE_TYPEINFO(LineOrigin, Q_RELOCATABLE_TYPE);

// A text together with the origin of each of its lines, so that the compiler's
// messages can be pointed back at the user's own lines. `origins` always has
// one entry per line of `text` (the number of line feeds plus one).
//
// Edits that never add or remove a line feed may change `text` directly; every
// other edit goes through the operations below, which keep the origins in step.
struct MappedText {
    QByteArray text;
    // An empty text is one line without an origin. Every empty text shares
    // one such list until it is changed, so making one allocates nothing:
    // records with many texts that mostly stay empty are made by the thousand.
    QList<LineOrigin> origins = oneLineWithoutOrigin();

    MappedText() = default;
    // A text all of whose lines stand for the same origin.
    MappedText(const QByteArray& text, const LineOrigin& origin);

    // Concatenation. Where the last line of this text and the first line of the
    // other become one line, the origin of the part that is not empty wins
    // (this text's when both are not).
    void append(const MappedText& other);

    // Inserts other at a byte position of this text, with the same rule for
    // the lines that are joined at both ends.
    void insert(qsizetype position, const MappedText& other);

    qsizetype lineCount() const { return origins.size(); }

    // Whether origins has one entry per line, as every operation keeps it.
    // Reads the whole text: for Q_ASSERT, which only the sanitizer build keeps.
    bool hasOneOriginPerLine() const;

private:
    static QList<LineOrigin> oneLineWithoutOrigin();
};

// Builds a mapped text piece by piece, each piece starting a line of its own:
// the pieces are joined with "\n", as lines are. A builder given nothing makes
// one empty line without an origin.
class MappedTextBuilder {
public:
    // Room for the bytes and lines to come, so the text grows once.
    void reserve(qsizetype bytes, qsizetype lines);

    // A piece all of whose lines stand for origin.
    void add(QByteArrayView piece, const LineOrigin& origin = LineOrigin());
    // A piece whose lines keep their own origins.
    void add(const MappedText& piece);
    // A piece known to hold no line feed (a line of a text), which is not
    // looked through for one.
    void addLine(QByteArrayView line, const LineOrigin& origin) {
        Q_ASSERT(!line.contains('\n'));
        write(line);
        origins.append(origin);
    }

    // Lines first to last (not included) of lines, each with its origin.
    // Lines that follow one another in the text they view, line feed between
    // them, are copied as one piece.
    void addLines(const QList<QByteArrayView>& lines, const QList<LineOrigin>& lineOrigins,
                  qsizetype first, qsizetype last);

    MappedText take();

private:
    QByteArray text; // its first `used` bytes are what was added; the rest is room
    char* room = nullptr;
    qsizetype used = 0;
    QList<LineOrigin> origins;
    bool empty = true;

    void makeRoom(qsizetype bytes);
    void write(QByteArrayView piece);
};
