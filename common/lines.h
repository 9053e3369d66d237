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

// The number of line feeds in text, counted in a loop the compiler vectorizes.
inline qsizetype countLineFeeds(QStringView text) {
    const char16_t* data = text.utf16();
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        count += data[i] == u'\n';
    return count;
}

// The same lines, each referring to text's own characters instead of a copy
// of them, so a large file is split without an allocation per line. text must
// outlive the lines and stay unchanged while they exist; a line that is
// changed gets its own copy, and one that is kept beyond text's life must be
// copied with ownLine. A temporary text is refused.
QStringList splitLinesOver(const QString& text);
QStringList splitLinesOver(QString&& text) = delete;

// A copy of line that owns its characters.
inline QString ownLine(const QString& line) {
    return QString(line.constData(), line.size());
}

// The tokens of a line, as views into it (the line must outlive them).
Tokens lineTokens(QStringView line);

// The first token of a line alone, without looking at the rest of it.
inline QStringView firstToken(QStringView line) {
    const char16_t* data = line.utf16();
    qsizetype start = 0;
    while (start < line.size() && data[start] == u' ')
        ++start;
    qsizetype end = start;
    while (end < line.size() && data[end] != u' ')
        ++end;
    return QStringView(data + start, end - start);
}

// Whole-token keyword test, ignoring letter case. Keywords are plain ASCII, so
// a token of another length never matches and letters fold by ASCII; only a
// token holding a character beyond ASCII takes the general comparison.
inline bool isKeyword(QStringView token, QLatin1StringView keyword) {
    if (token.size() != keyword.size())
        return false;
    const char16_t* data = token.utf16();
    for (qsizetype i = 0; i < token.size(); ++i) {
        const char16_t c = data[i];
        const char16_t k = char16_t(uchar(keyword.data()[i]));
        if (c == k)
            continue;
        if (c >= 0x80)
            return token.compare(keyword, Qt::CaseInsensitive) == 0;
        const auto lower = [](char16_t x) { return x >= u'A' && x <= u'Z' ? char16_t(x + 32) : x; };
        if (lower(c) != lower(k))
            return false;
    }
    return true;
}

// Whether the first token of line can be keyword: it begins with the keyword's
// first character, ignoring letter case. Lets the many lines that cannot be
// skip tokenizing.
inline bool firstTokenMayBe(QStringView line, QLatin1StringView keyword) {
    const char16_t* data = line.utf16();
    qsizetype i = 0;
    while (i < line.size() && data[i] == u' ')
        ++i;
    if (i == line.size() || keyword.isEmpty())
        return false;
    const auto lower = [](char16_t x) { return x >= u'A' && x <= u'Z' ? char16_t(x + 32) : x; };
    return lower(data[i]) == lower(char16_t(uchar(keyword.data()[0])));
}

inline bool startsWithIgnoringCase(QStringView text, QStringView prefix) {
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

// A character that may be part of a FreeBASIC name: a letter, a decimal digit or '_'.
inline bool isNameChar(QChar c) {
    return c == u'_' || c.isLetter() || c.isDigit();
}
