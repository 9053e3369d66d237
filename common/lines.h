#pragma once

#include "characters.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QList>
#include <QSet>
#include <QVarLengthArray>

#include <limits>

// The line model shared by all passes.
//
// A text is split into lines at every line feed, empty pieces kept, so joining
// the lines with "\n" gives the text back. Lines are views over the text's own
// bytes: the text must outlive them and stay unchanged while they exist. The
// tokens of a line are the pieces between blanks (spaces and tabs) with empty
// pieces dropped.

using Lines = QList<QByteArrayView>;
using Tokens = QVarLengthArray<QByteArrayView, 8>;

Lines splitLines(QByteArrayView text);

// The lines with a line feed between each two, as QByteArrayList::join('\n')
// makes them, in one allocation and one copy of each line.
QByteArray joinedLines(const QByteArrayList& lines);

// The same lines held as the offset where each one ends (its line feed, or
// the text's end): four bytes a line where a view takes sixteen, for a pass
// that keeps a whole file's lines while it builds the file's new text. The
// text must outlive the index and stay unchanged while it is used.
class LineIndex {
public:
    LineIndex() = default;
    explicit LineIndex(QByteArrayView text);

    qsizetype size() const { return wideEnds.isEmpty() ? ends.size() : wideEnds.size(); }
    // The bytes of all the lines, line feeds between them.
    QByteArrayView wholeText() const {
        return isEmpty() ? QByteArrayView() : QByteArrayView(text, endOf(size() - 1));
    }
    bool isEmpty() const { return size() == 0; }
    QByteArrayView operator[](qsizetype line) const {
        const qsizetype start = line == 0 ? 0 : endOf(line - 1) + 1;
        return QByteArrayView(text + start, endOf(line) - start);
    }

private:
    qsizetype endOf(qsizetype line) const {
        return wideEnds.isEmpty() ? qsizetype(ends[line]) : wideEnds[line];
    }

    const char* text = nullptr;
    QList<quint32> ends;
    QList<qint64> wideEnds; // instead of ends, for a text of 4 GiB or more
};

// Which of a whole text's lines start inside a /' ... '/ comment or a
// skipped branch, as linesStartingInComment gives them: a text with no "/'"
// anywhere is read for its branches alone.
QList<bool> linesStartingInComment(const LineIndex& lines);

// The number of line feeds in text.
qsizetype countLineFeeds(QByteArrayView text);

// Where the line that starts at from in text ends (its line feed, or the
// text's end), and whether the byte c stands on it: one read for a pass that
// walks a whole text line by line and asks that of every line.
qsizetype lineEndNoting(QByteArrayView text, qsizetype from, char c, bool* found);

// The tokens of a line, as views into it; with most, only its first most
// tokens (a line that is read by its first words is not split to its end).
Tokens lineTokens(QByteArrayView line, qsizetype most = std::numeric_limits<qsizetype>::max());

// The first token of a line alone, without looking at the rest of it.
QByteArrayView firstToken(QByteArrayView line);

// The qualified name a definition of static data defines: "Shape.made" in
// "dim Shape.made as integer", "dim shared Shape.made as integer" and
// "dim as integer Shape.made = 5" (an array's bounds left out); empty for any
// other line, and for one that defines several names.
QByteArrayView staticDefinitionName(QByteArrayView line);

// The word of the preprocessor directive a line of code starts with, read as
// the compiler reads it: blanks, "#", blanks, then the word, in any letter
// case ("#ifndef", "  # undef", "#\tDEFINE" give "ifndef", "undef",
// "DEFINE"); an empty view for any other line. The view lies in code, so
// what follows the word is code.sliced(word.data() + word.size() - code.data()).
inline QByteArrayView directiveWordOf(QByteArrayView code) {
    qsizetype at = 0;
    while (at < code.size() && isBlank(code[at]))
        ++at;
    // Most lines start with something else than "#": one look settles them.
    if (at == code.size() || code[at] != '#')
        return {};
    ++at;
    while (at < code.size() && isBlank(code[at]))
        ++at;
    qsizetype end = at;
    while (end < code.size() && isNameChar(code[end]))
        ++end;
    return code.sliced(at, end - at);
}

// Where the argument of a directive "#keyword" (blanks allowed after the
// "#") or of the QuickBASIC metacommand "'$keyword:" or "REM $keyword:" starts
// on line, blanks before it passed over; with mayBeOnce, the word "once"
// after the keyword too ("#include once", "'$include once:"). -1 when the
// line is neither. *metacommand, when given, says which it was.
qsizetype directiveArgumentAt(QByteArrayView line, QByteArrayView keyword, bool mayBeOnce,
                              bool* metacommand = nullptr);

// The dialect a line's "#lang "fblite"", "' $lang: "qb"" or "REM $LANG:
// "deprecated"" names, in lower case; empty for any other line. A "#lang _"
// continued names it on the next line, next.
QByteArray dialectNamedOn(QByteArrayView line, QByteArrayView next = {});

// Whether the text may name a dialect: "lang" after a "#" or a "$" ("#lang",
// "'$lang:"), blanks between; a cheap look before its lines are read.
bool mayNameDialect(QByteArrayView text);

// The first line of a procedure from its keyword on: the words the compiler
// allows in front of it, a linkage ("private", "public") and then "static" or
// "const", are passed over. Any other line is returned whole.
QByteArrayView withoutProcedurePrefix(QByteArrayView line);

// Whether word is one of those words: a line whose first word is none of
// them has no prefix to pass over.
inline bool isProcedurePrefix(QByteArrayView word) {
    return equalsIgnoringCase(word, "private") || equalsIgnoringCase(word, "public") ||
           equalsIgnoringCase(word, "static") || equalsIgnoringCase(word, "const");
}

// A procedure's first line can hold more statements after ":" ("function
// Box.get() as t1 : return v : end function"). The first statement of a
// line: the line up to its first ":" outside strings, or up to its comment,
// or the whole line.
QByteArrayView firstStatementOf(QByteArrayView line);

// Whether the line's last statement after a ":" (outside strings, before a
// comment) is "end" and keyword: a procedure written on one line.
bool endsWithEndStatement(QByteArrayView line, QByteArrayView keyword);

// Whole-token keyword test, ignoring letter case (keywords are ASCII).
inline bool isKeyword(QByteArrayView token, QByteArrayView keyword) {
    return equalsIgnoringCase(token, keyword);
}

// Whether the first token of line can be keyword: it begins with the keyword's
// first letter, ignoring case. Lets the many lines that cannot be skip
// tokenizing.
inline bool firstTokenMayBe(QByteArrayView line, QByteArrayView keyword) {
    qsizetype i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    return i < line.size() && !keyword.isEmpty() && foldCase(line[i]) == foldCase(keyword[0]);
}

// Calls visit(start, end) for each name in text (each run of name
// characters). visit returns where the walk goes on, so that it may rewrite
// the text it reads.
template <typename Text, typename Visit> void forEachName(const Text& text, Visit visit) {
    for (qsizetype at = 0; at < text.size();) {
        if (!isNameChar(text[at])) {
            ++at;
            continue;
        }
        qsizetype end = at;
        while (end < text.size() && isNameChar(text[end]))
            ++end;
        at = visit(at, end);
    }
}

// The same for each name that no "." stands right before (after a dot a name
// is a member's, or one inside a namespace).
template <typename Text, typename Visit>
void forEachUnqualifiedName(const Text& text, Visit visit) {
    forEachName(text, [&](qsizetype at, qsizetype end) {
        return at > 0 && text[at - 1] == '.' ? end : visit(at, end);
    });
}

// The enums that lines declare, read one line at a time in file order:
// "enum Mode" gives "mode", and inside "namespace Geo" also "geo.mode", the
// name code outside the namespace writes. Names are case-folded. (Lines
// inside comments are passed over by enumNamesOf, codelexer.h.)
class EnumNames {
public:
    void read(QByteArrayView line);
    QSet<QByteArray> names;

private:
    // The namespaces open, as "outer.inner", and its length before each was
    // opened: a namespace line changes only its end, however deep it stands.
    QByteArray space;
    QList<qsizetype> spaceLengths;
};

// Whether the name at position at of code is reached through "." or "->",
// blanks allowed between ("this.x", ".x" in a with block, "p -> x"): a
// member's name, not one of the code's own.
bool isReachedThrough(QByteArrayView code, qsizetype at);
