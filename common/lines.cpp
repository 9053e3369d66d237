#include "lines.h"

#include "codelexer.h"

#include <QtAlgorithms>

#include <cstring>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

Lines splitLines(QByteArrayView text) {
    Lines lines;
    lines.reserve(countLineFeeds(text) + 1);
    const char* data = text.data();
    const char* end = data + text.size();
    for (const char* start = data;;) {
        const void* found = start < end ? std::memchr(start, '\n', size_t(end - start)) : nullptr;
        const char* stop = found ? static_cast<const char*>(found) : end;
        lines.append(QByteArrayView(start, stop - start));
        if (!found)
            break;
        start = stop + 1;
    }
    return lines;
}

QByteArray joinedLines(const QByteArrayList& lines) {
    qsizetype size = lines.size() - 1;
    for (const QByteArray& line : lines)
        size += line.size();
    if (size <= 0)
        return QByteArray(); // as join() gives it: no bytes, no buffer
    QByteArray joined(size, Qt::Uninitialized);
    char* out = joined.data();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            *out++ = '\n';
        const QByteArray& line = lines[i];
        if (!line.isEmpty()) {
            std::memcpy(out, line.constData(), size_t(line.size()));
            out += line.size();
        }
    }
    return joined;
}

LineIndex::LineIndex(QByteArrayView text) : text(text.data()) {
    const qsizetype count = countLineFeeds(text) + 1;
    const bool wide = text.size() > qsizetype(std::numeric_limits<quint32>::max());
    if (wide)
        wideEnds.reserve(count);
    else
        ends.reserve(count);
    const char* data = text.data();
    const char* end = data + text.size();
    for (const char* start = data;;) {
        const void* found = start < end ? std::memchr(start, '\n', size_t(end - start)) : nullptr;
        const char* stop = found ? static_cast<const char*>(found) : end;
        if (wide)
            wideEnds.append(stop - data);
        else
            ends.append(quint32(stop - data));
        if (!found)
            break;
        start = stop + 1;
    }
}

QList<bool> linesStartingInComment(const LineIndex& lines) {
    return linesStartingInComment<LineIndex>(lines, containsCommentOpening(lines.wholeText()));
}

qsizetype countLineFeeds(QByteArrayView text) {
    // Counted sixteen bytes at a time where the processor can: most texts
    // counted are many lines long, and one search per line feed would cost a
    // call for each.
    const char* at = text.data();
    const char* end = at + text.size();
    qsizetype count = 0;
#ifdef __SSE2__
    // Each byte of tally counts the line feeds at its place, up to 255
    // blocks, then the sixteen counts are summed.
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    while (end - at >= 16) {
        __m128i tally = zero;
        for (int blocks = 0; blocks < 255 && end - at >= 16; ++blocks, at += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            tally = _mm_sub_epi8(tally, _mm_cmpeq_epi8(bytes, lineFeeds));
        }
        const __m128i sums = _mm_sad_epu8(tally, zero);
        count += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums));
    }
#endif
    for (; at < end; ++at)
        count += *at == '\n' ? 1 : 0;
    return count;
}

qsizetype lineEndNoting(QByteArrayView text, qsizetype from, char c, bool* found) {
    const char* data = text.data();
    const qsizetype size = text.size();
    qsizetype at = from;
    bool seen = false;
#ifdef __SSE2__
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    const __m128i wanted = _mm_set1_epi8(c);
    for (; at + 16 <= size; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const quint32 feeds = quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeeds)));
        const quint32 hits = quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
        if (feeds != 0) {
            const quint32 lowest = feeds & (0u - feeds);
            *found = seen || (hits & (lowest - 1)) != 0;
            return at + qCountTrailingZeroBits(feeds);
        }
        seen = seen || hits != 0;
    }
#endif
    for (; at < size && data[at] != '\n'; ++at)
        seen = seen || data[at] == c;
    *found = seen;
    return at;
}

namespace {

// Where the run of bytes other than blanks that starts at from ends.
qsizetype tokenEnd(QByteArrayView line, qsizetype from) {
    const qsizetype blank = indexOfEither(line, from, ' ', '\t');
    return blank < 0 ? line.size() : blank;
}

} // namespace

Tokens lineTokens(QByteArrayView line, qsizetype most) {
    Tokens tokens;
    const char* data = line.data();
    const qsizetype size = line.size();
    qsizetype i = 0;
    while (tokens.size() < most) {
        while (i < size && isBlank(data[i]))
            ++i;
        if (i == size)
            break;
        const qsizetype start = i;
        i = tokenEnd(line, i);
        tokens.append(QByteArrayView(data + start, i - start));
    }
    return tokens;
}

QByteArrayView firstToken(QByteArrayView line) {
    const char* data = line.data();
    qsizetype start = 0;
    while (start < line.size() && isBlank(data[start]))
        ++start;
    return QByteArrayView(data + start, tokenEnd(line, start) - start);
}

QByteArrayView staticDefinitionName(QByteArrayView line) {
    // Most "dim" lines declare variables: with no "." they name no member.
    if (!line.contains('.'))
        return {};
    // Only the line's first statement: "dim as integer Shape.made : x = 1".
    const Tokens tokens = lineTokens(firstStatementOf(line));
    if (tokens.size() < 2 || !equalsIgnoringCase(tokens[0], "dim"))
        return {};
    qsizetype at = equalsIgnoringCase(tokens[1], "shared") ? 2 : 1;
    if (at >= tokens.size())
        return {};
    const auto withoutBounds = [](QByteArrayView token) {
        const qsizetype open = token.indexOf('(');
        return open < 0 ? token : token.first(open);
    };
    if (!equalsIgnoringCase(tokens[at], "as")) {
        const QByteArrayView name = withoutBounds(tokens[at]);
        return name.contains('.') && !name.endsWith(',') ? name : QByteArrayView();
    }
    // "dim as Type Shape.made": the name is the last word outside brackets
    // before an initializer, and static data only when it is qualified; the
    // type may be qualified too ("as Geo.Point"), and "dim as Geo.Point p"
    // defines a variable.
    QByteArrayView name;
    int depth = 0; // of brackets: a comma outside them starts another name
    for (++at; at < tokens.size() && !tokens[at].startsWith('=') && !tokens[at].startsWith('\'');
         ++at) {
        if (depth == 0)
            name = withoutBounds(tokens[at]);
        for (const char c : tokens[at]) {
            if (c == '(')
                ++depth;
            else if (c == ')')
                --depth;
            else if (c == ',' && depth <= 0)
                return {};
        }
    }
    return name.contains('.') && !name.startsWith('.') ? name : QByteArrayView();
}

qsizetype directiveArgumentAt(QByteArrayView line, QByteArrayView keyword, bool mayBeOnce,
                              bool* metacommand) {
    qsizetype at = 0;
    const auto skipBlanks = [&line, &at] {
        while (at < line.size() && isBlank(line[at]))
            ++at;
    };
    const auto word = [&line, &at](QByteArrayView expected) {
        if (!isWordAt(line, at, expected))
            return false;
        at += expected.size();
        return true;
    };
    const auto keywordAndOnce = [&] {
        if (!word(keyword))
            return false;
        skipBlanks();
        if (mayBeOnce && word("once"))
            skipBlanks();
        return true;
    };
    skipBlanks();
    if (at == line.size())
        return -1;
    const bool directive = line[at] == '#';
    if (metacommand)
        *metacommand = !directive;
    if (directive) {
        ++at;
        skipBlanks();
        return keywordAndOnce() ? at : -1;
    }
    if (line[at] == '\'')
        ++at;
    else if (!word("rem") || at == line.size() || !isBlank(line[at]))
        return -1;
    skipBlanks();
    if (at == line.size() || line[at] != '$')
        return -1;
    ++at;
    if (!keywordAndOnce() || at == line.size() || line[at] != ':')
        return -1;
    ++at;
    skipBlanks();
    return at;
}

QByteArrayView withoutProcedurePrefix(QByteArrayView line) {
    QByteArrayView rest = line;
    bool passed = false;
    QByteArrayView word = firstToken(rest);
    const auto passOver = [&] {
        rest = rest.sliced(word.data() + word.size() - rest.data());
        word = firstToken(rest);
        passed = true;
    };
    if (!isProcedurePrefix(word))
        return line;
    if (equalsIgnoringCase(word, "private") || equalsIgnoringCase(word, "public"))
        passOver();
    if (equalsIgnoringCase(word, "static") || equalsIgnoringCase(word, "const"))
        passOver();
    if (!passed)
        return line;
    while (!rest.isEmpty() && isBlank(rest.front()))
        rest = rest.sliced(1);
    return rest;
}

namespace {

// Where the code of a line ends (its "'" comment, or its end), and where its
// first and last ":" outside strings stand (-1 when it has none).
struct StatementBreaks {
    qsizetype codeEnd = 0;
    qsizetype firstColon = -1;
    qsizetype lastColon = -1;
};

StatementBreaks statementBreaksOf(QByteArrayView line) {
    StatementBreaks breaks;
    bool inString = false;
    qsizetype i = 0;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            inString = !inString; // "" inside a string reopens it at the next quote
        } else if (!inString && c == '\'') {
            break;
        } else if (!inString && c == ':') {
            if (breaks.firstColon < 0)
                breaks.firstColon = i;
            breaks.lastColon = i;
        }
    }
    breaks.codeEnd = i;
    return breaks;
}

} // namespace

QByteArrayView firstStatementOf(QByteArrayView line) {
    if (!line.contains(':'))
        return line;
    const StatementBreaks breaks = statementBreaksOf(line);
    return breaks.firstColon < 0 ? line : line.first(breaks.firstColon);
}

bool endsWithEndStatement(QByteArrayView line, QByteArrayView keyword) {
    if (!line.contains(':'))
        return false;
    const StatementBreaks breaks = statementBreaksOf(line);
    if (breaks.lastColon < 0)
        return false;
    const Tokens tokens =
        lineTokens(line.sliced(breaks.lastColon + 1, breaks.codeEnd - breaks.lastColon - 1));
    return tokens.size() == 2 && isKeyword(tokens[0], "end") && isKeyword(tokens[1], keyword);
}

bool isReachedThrough(QByteArrayView code, qsizetype at) {
    while (at > 0 && isBlank(code[at - 1]))
        --at;
    if (at == 0)
        return false;
    return code[at - 1] == '.' || (code[at - 1] == '>' && at >= 2 && code[at - 2] == '-');
}

void EnumNames::read(QByteArrayView line) {
    // Only lines that start with "enum", "namespace" or "end" are read whole.
    if (!firstTokenMayBe(line, "e") && !firstTokenMayBe(line, "n"))
        return;
    const QByteArrayView first = firstToken(line);
    const QByteArrayView rest = line.sliced(first.data() + first.size() - line.data());
    const QByteArrayView second = firstToken(rest);
    if (isKeyword(first, "end")) {
        if (isKeyword(second, "namespace") && !spaceLengths.isEmpty())
            space.truncate(spaceLengths.takeLast());
        return;
    }
    const bool isEnum = isKeyword(first, "enum");
    if (!isEnum && !isKeyword(first, "namespace"))
        return;
    // A namespace may be named with dots ("namespace Geo.Shapes").
    qsizetype end = 0;
    while (end < second.size() && (isNameChar(second[end]) || (!isEnum && second[end] == '.')))
        ++end;
    if (end == 0) {
        if (!isEnum)
            spaceLengths.append(space.size()); // unnamed
        return;
    }
    const QByteArray name = caseFolded(second.first(end));
    if (isEnum) {
        names.insert(name);
        names.insert(space.isEmpty() ? name : space + '.' + name);
    } else {
        spaceLengths.append(space.size());
        if (!space.isEmpty())
            space += '.';
        space += name;
    }
}

QByteArray dialectNamedOn(QByteArrayView line, QByteArrayView next) {
    bool metacommand = false;
    qsizetype at = directiveArgumentAt(line, "lang", false, &metacommand);
    if (at < 0 || at == line.size())
        return {};
    // "#lang _": the compiler reads the name from the next line.
    if (!metacommand && line[at] == '_' &&
        (at + 1 == line.size() || isBlank(line[at + 1]) || line[at + 1] == '\'')) {
        line = next;
        at = 0;
        while (at < line.size() && isBlank(line[at]))
            ++at;
    }
    if (at == line.size() || line[at] != '"')
        return {};
    const qsizetype end = line.indexOf('"', at + 1);
    if (end < 0)
        return {};
    return line.sliced(at + 1, end - at - 1).toByteArray().toLower();
}

bool mayNameDialect(QByteArrayView text) {
    // Most files name none, and "#" and "$" are rare enough in code that
    // memchr finds them all before a line is read.
    for (const char mark : {'#', '$'}) {
        for (qsizetype at = text.indexOf(mark); at >= 0; at = text.indexOf(mark, at + 1)) {
            qsizetype word = at + 1;
            while (word < text.size() && isBlank(text[word]))
                ++word;
            if (startsWithIgnoringCase(text.sliced(word), "lang"))
                return true;
        }
    }
    return false;
}
