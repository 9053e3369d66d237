#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QVarLengthArray>

#include <algorithm>
#include <functional>

// Reading the pieces of FreeBASIC statements that type extension needs: the
// code of a line without its comment, words, comma-separated pieces, and what
// a member declaration or implementation header says about the member.
//
// Words are separated by any white space (a tab as well as a space), as the
// compiler separates them; strings and brackets are kept whole where pieces
// are split.

// The position just past the string literal whose opening quote stands at
// open, or the end of text when it is not closed: "" inside it stands for one
// quote, and after "!" a backslash escapes the next byte. A default value such
// as `sep as string = ", "` holds commas and brackets that separate nothing.
qsizetype pastString(QByteArrayView text, qsizetype open);

// The line up to a comment ("'" outside a string), trailing white space dropped.
QByteArrayView codeOf(QByteArrayView line);

// Whether code (a line without its comment) goes on on the next line: it ends
// in "_" after white space.
bool endsInContinuation(QByteArrayView code);

// The line's words, separated by white space.
QList<QByteArrayView> wordsOf(QByteArrayView text);

// The pieces of text between the separator bytes that stand outside brackets
// and strings, each with its surrounding white space dropped.
using Pieces = QVarLengthArray<QByteArrayView, 8>;
Pieces topLevelPieces(QByteArrayView text, char separator);

// The statements of a line of a type block ("x as integer : y as integer"):
// its code split at each ":" outside brackets and strings, each piece with
// its surrounding white space dropped, empty ones left out. A ":" followed by
// a number is a bit field's ("flags : 4 as ulong") and splits nothing. A line
// with no such ":" is its one statement, as written.
Pieces statementsOf(QByteArrayView line);

// The position of the first separator outside brackets and strings, or -1.
qsizetype topLevelIndexOf(QByteArrayView text, char separator, qsizetype from = 0);

// The position of the "(" that the ")" at close closes, or -1.
qsizetype matchingOpen(QByteArrayView text, qsizetype close);

// The position of the first whole word "as" outside brackets and strings, or -1.
qsizetype topLevelAs(QByteArrayView text);

// The position of the first whole word `word` (ignoring case) outside
// strings, or -1.
qsizetype indexOfWord(QByteArrayView text, QByteArrayView word, qsizetype from = 0);

// Finds one text, exactly, in many: the needle's skip table is built once,
// where QByteArray's search builds one per call. The needle's bytes must
// outlive the finder.
class TextFinder {
public:
    explicit TextFinder(QByteArrayView needle)
        : searcher(needle.data(), needle.data() + needle.size()) {}

    // The first position at or after from where the needle stands in text, or -1.
    qsizetype in(QByteArrayView text, qsizetype from = 0) const {
        if (from > text.size())
            return -1;
        const char* end = text.data() + text.size();
        const char* found = std::search(text.data() + from, end, searcher);
        return found == end ? -1 : qsizetype(found - text.data());
    }

private:
    std::boyer_moore_horspool_searcher<const char*> searcher;
};

// The text with every run of white space made one space, ends trimmed.
QByteArray singleSpaced(QByteArrayView text);

// How an extending type can overload or override a member: two members of
// one name and of the same kind (subs and functions count as one kind) stand
// for the same member when their parameter types are the same.
enum class MemberClass : qint8 { field, procedure, getter, setter, other };

struct MemberKey {
    QByteArray name; // case-folded
    MemberClass memberClass = MemberClass::other;
    QByteArray signature; // parameter types, case-folded and single-spaced, ","-separated

    bool operator==(const MemberKey& other) const {
        return memberClass == other.memberClass && name == other.name &&
               signature == other.signature;
    }
};

// Whether an extending type's own member `own` keeps an inherited member
// `inherited` of the same name from being forwarded. A field hides every member
// of its name and is hidden by any; members of different kinds or parameter
// types overload each other and both stand.
bool hides(const MemberKey& own, const MemberKey& inherited);

// A member declaration of a type block ("declare static function f(...) as T"),
// or nothing for another line.
struct MemberDeclaration {
    MemberKey key;
    bool isStatic = false;
    QByteArrayView code; // the line without its comment
};
bool parseDeclaration(QByteArrayView line, MemberDeclaration& declaration);

// The key of a member implementation whose header is line: its first word is
// the kind, its name follows the qualifier up to "(".
MemberKey keyOfHeader(QByteArrayView line);
