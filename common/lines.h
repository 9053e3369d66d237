#pragma once

#include "characters.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QVarLengthArray>

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

// The number of line feeds in text.
qsizetype countLineFeeds(QByteArrayView text);

// The tokens of a line, as views into it.
Tokens lineTokens(QByteArrayView line);

// The first token of a line alone, without looking at the rest of it.
QByteArrayView firstToken(QByteArrayView line);

// The first line of a procedure from its keyword on: the words the compiler
// allows in front of it, a linkage ("private", "public") and then "static" or
// "const", are passed over. Any other line is returned whole.
QByteArrayView withoutProcedurePrefix(QByteArrayView line);

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
