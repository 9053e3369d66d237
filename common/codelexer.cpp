#include "codelexer.h"

#include "characters.h"

#include <cstring>

namespace {

bool contains(QByteArrayView text, char c) {
    return !text.isEmpty() && std::memchr(text.data(), c, size_t(text.size())) != nullptr;
}

// The end of the run of name characters that starts at position at.
qsizetype nameEnd(QByteArrayView text, qsizetype at) {
    while (at < text.size() && isNameChar(text[at]))
        ++at;
    return at;
}

// A "_" that is no part of a name continues the line.
bool isContinuationAt(QByteArrayView text, qsizetype at) {
    return text[at] == '_' && (at == 0 || !isNameChar(text[at - 1])) &&
           (at + 1 == text.size() || !isNameChar(text[at + 1]));
}

} // namespace

bool isWordAt(QByteArrayView text, qsizetype at, QByteArrayView keyword) {
    const qsizetype end = at + keyword.size();
    return end <= text.size() && equalsIgnoringCase(text.sliced(at, keyword.size()), keyword) &&
           (end == text.size() || !isNameChar(text[end]));
}

namespace {

// Where the first "rem" standing as a word begins in text, or -1. The
// compiler takes the rest of the line for a comment from there, wherever it
// stands ("x += 1 rem why", "if x then rem why"): no name is spelt "rem".
// Most lines hold no "m", which a search for the byte settles fastest.
qsizetype findRemWord(QByteArrayView text) {
    qsizetype first = -1;
    for (const char m : {'m', 'M'}) {
        const qsizetype limit = first < 0 ? text.size() : first + 2;
        for (qsizetype from = 2; from < limit;) {
            const void* found = std::memchr(text.data() + from, m, size_t(limit - from));
            if (!found)
                break;
            const qsizetype at = static_cast<const char*>(found) - text.data() - 2;
            if ((at == 0 || !isNameChar(text[at - 1])) && isWordAt(text, at, "rem")) {
                first = at;
                break;
            }
            from = at + 3;
        }
    }
    return first;
}

} // namespace

// A line outside any comment in which no string or comment can open: all of
// it is code up to a "rem" or a continuation, if it has one, and codeEnd says
// where. Most lines are plain, and for them a few searches that look at many
// bytes at a time are all the lexing they need.
bool CodeLexer::isPlain(QByteArrayView line, qsizetype* codeEnd) {
    if (depth > 0 || contains(line, '"') || contains(line, '\'') || contains(line, '/'))
        return false;
    const qsizetype rem = findRemWord(line);
    const qsizetype end = rem < 0 ? line.size() : rem;
    *codeEnd = end;
    for (qsizetype from = 0; from < end;) {
        const void* found = std::memchr(line.data() + from, '_', size_t(end - from));
        if (!found)
            break;
        const qsizetype at = static_cast<const char*>(found) - line.data();
        if (isContinuationAt(line, at)) {
            *codeEnd = at;
            continued = true;
            break;
        }
        from = at + 1;
    }
    return true;
}

QByteArrayView CodeLexer::masked(QByteArrayView line) {
    const qsizetype size = line.size();
    buffer.resize(size);
    char* out = buffer.data();
    std::memcpy(out, line.data(), size_t(size));
    const auto blankOut = [out](qsizetype from, qsizetype to) {
        std::memset(out + from, ' ', size_t(to - from));
    };
    qsizetype i = 0;
    while (i < size) {
        const char c = line[i];
        if (depth > 0) {
            if (c == '/' && i + 1 < size && line[i + 1] == '\'') {
                ++depth;
                blankOut(i, i + 2);
                i += 2;
            } else if (c == '\'' && i + 1 < size && line[i + 1] == '/') {
                --depth;
                blankOut(i, i + 2);
                i += 2;
            } else {
                out[i++] = ' ';
            }
            continue;
        }
        if (isBlank(c)) {
            ++i;
        } else if (c == '"') {
            const bool escapes = i > 0 && line[i - 1] == '!';
            qsizetype j = i + 1;
            while (j < size) {
                if (escapes && line[j] == '\\') {
                    j += 2;
                } else if (line[j] == '"') {
                    if (escapes || j + 1 == size || line[j + 1] != '"')
                        break;
                    j += 2;
                } else {
                    ++j;
                }
            }
            j = qMin(j, size);
            std::memset(out + i + 1, stringByte, size_t(j - i - 1));
            i = qMin(j + 1, size);
        } else if (c == '/' && i + 1 < size && line[i + 1] == '\'') {
            ++depth;
            blankOut(i, i + 2);
            i += 2;
        } else if (c == '\'' || (isNameChar(c) && isWordAt(line, i, "rem"))) {
            // A name starts here: "rem" as a word comments out the rest.
            blankOut(i, size);
            break;
        } else if (isContinuationAt(line, i)) {
            continued = true;
            blankOut(i, size);
            break;
        } else {
            i = isNameChar(c) ? nameEnd(line, i) : i + 1;
        }
    }
    return QByteArrayView(buffer);
}

QByteArrayView CodeLexer::next(QByteArrayView line) {
    startDepth = depth;
    continued = false;
    qsizetype codeEnd = 0;
    if (isPlain(line, &codeEnd))
        return line.first(codeEnd);
    return masked(line);
}

bool containsCommentOpening(QByteArrayView text) {
    // One search for the one byte looks at many bytes at a time; most texts
    // have few slashes.
    for (qsizetype from = 0; from < text.size();) {
        const void* found = std::memchr(text.data() + from, '/', size_t(text.size() - from));
        if (!found)
            return false;
        const qsizetype at = static_cast<const char*>(found) - text.data();
        if (at + 1 < text.size() && text[at + 1] == '\'')
            return true;
        from = at + 1;
    }
    return false;
}
