#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

// The line model shared by all passes.
//
// A text is split into lines at every line feed, empty pieces kept, so joining
// the lines with "\n" gives the text back. The tokens of a line are the pieces
// between space characters with empty pieces dropped; only the space separates,
// a tab is part of a token.

using Tokens = QVarLengthArray<QStringView, 8>;

QStringList splitLines(const QString& text);

// The tokens of a line, as views into it (the line must outlive them).
Tokens lineTokens(QStringView line);

// Whole-token keyword test, ignoring letter case.
inline bool isKeyword(QStringView token, QLatin1StringView keyword) {
    return token.compare(keyword, Qt::CaseInsensitive) == 0;
}

inline bool startsWithIgnoringCase(QStringView text, QStringView prefix) {
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

// A character that may be part of a FreeBASIC name: a letter, a decimal digit or '_'.
inline bool isNameChar(QChar c) {
    return c == u'_' || c.isLetter() || c.isDigit();
}
