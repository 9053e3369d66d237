#pragma once

#include "characters.h"
#include "conditionals.h"
#include "lines.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Tells the code of FreeBASIC source from its string literals and comments,
// one line at a time, the way the compiler reads them: "'" and the word `rem`
// (wherever it stands, "x += 1 rem why" too) comment out the rest of the line; /' ... '/ comments
// nest and may span lines; a string literal runs between double quotes ("" stands for one quote,
// and after "!" a backslash escapes the next byte); a "_" standing on its own (not part of a name)
// continues the statement on the next line, and the compiler ignores whatever follows it on its
// line.
//
// Every rule that must not look inside strings or comments (template uses,
// block structure, "#line" directives) reads lines through this.
class CodeLexer {
public:
    // What a byte between a string literal's quotes reads as in the code of a
    // line: no name character, blank or operator, so nothing is found in it.
    static constexpr char stringByte = '\x7f';

    // The code of the next line. It is the line itself, or a prefix of it,
    // when nothing needs hiding; otherwise a copy in which every byte of a
    // comment (and of what follows a continuation) is a space and every byte
    // between a string's quotes is stringByte. Positions in it are positions
    // in the line; bytes after its end are no code. Valid until the next call.
    QByteArrayView next(QByteArrayView line);

    // About the line last given to next().
    bool startedInComment() const { return startDepth > 0; } // inside /' ... '/
    bool endsInComment() const { return depth > 0; }
    bool isContinued() const { return continued; } // ends in a continuation "_"

    // Forgets what the lines so far left open.
    void reset() { depth = startDepth = 0; }

private:
    int depth = 0;      // /' ... '/ comments open after the last line
    int startDepth = 0; // and before it
    bool continued = false;
    QByteArray buffer;

    bool isPlain(QByteArrayView line, qsizetype* codeEnd);
    QByteArrayView masked(QByteArrayView line);
};

// Whether "/'" stands anywhere in text. A line without it, read outside a
// comment, cannot open one.
bool containsCommentOpening(QByteArrayView text);

// Follows, line by line, whether each line starts inside a /' ... '/ comment,
// or stands in an "#if 0" branch, which the compiler skips as it skips a
// comment (conditionals.h): either way its text is switched off.
// Only the lines that can tell (those read inside a comment, and those with
// "/'" in them) are lexed, so a file without such comments costs one search
// for "/" a line; none, when the caller knows that the whole text has no
// "/'" (mayOpenComments false).
class CommentTracker {
public:
    explicit CommentTracker(bool mayOpenComments = true) : mayOpenComments(mayOpenComments) {}

    // Whether line starts inside a comment or a skipped branch; give it every
    // line, in order.
    bool startsInComment(QByteArrayView line) {
        const bool started = inside;
        const bool skipped = !started && branches.skips(line);
        if (inside || (mayOpenComments && containsCommentOpening(line))) {
            lexer.next(line);
            inside = lexer.endsInComment();
        }
        return started || skipped;
    }

private:
    CodeLexer lexer;
    SkippedBranches branches;
    bool inside = false;
    bool mayOpenComments;
};

// The enums that lines declare (EnumNames). A line that starts inside a
// /' ... '/ comment or an "#if 0" branch declares none: an enum commented
// out is not there. The lines are read a second time, with the comments
// followed, only when the first reading finds an enum.
template <typename LineList> QSet<QByteArray> enumNamesOf(const LineList& lines) {
    EnumNames enums;
    for (qsizetype i = 0; i < lines.size(); ++i)
        enums.read(lines[i]);
    if (enums.names.isEmpty())
        return std::move(enums.names);
    EnumNames kept;
    CommentTracker comments;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!comments.startsInComment(lines[i]))
            kept.read(lines[i]);
    }
    return std::move(kept.names);
}

// The same over a whole text, which most often names no enum at all.
inline QSet<QByteArray> enumNamesOf(const LineIndex& lines) {
    if (!containsIgnoringCase(lines.wholeText(), "enum", 1))
        return {};
    return enumNamesOf<LineIndex>(lines);
}

// For each of lines (views, or a LineIndex), in order, whether it starts
// inside a /' ... '/ comment or an "#if 0" branch; empty when none does (as
// in most files).
template <typename LineList>
QList<bool> linesStartingInComment(const LineList& lines, bool mayOpenComments = true) {
    QList<bool> starts;
    CommentTracker comments(mayOpenComments);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (comments.startsInComment(lines[i])) {
            if (starts.isEmpty())
                starts.resize(lines.size(), false);
            starts[i] = true;
        }
    }
    return starts;
}

// Whether word is the keyword, ignoring case, standing as a whole word at
// position at of text (no name character right after it).
bool isWordAt(QByteArrayView text, qsizetype at, QByteArrayView keyword);
