#include "lines.h"

#include <cstring>
#include <limits>

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

qsizetype countLineFeeds(QByteArrayView text) {
    // memchr looks at many bytes at a time; most pieces counted hold no line
    // feed at all, and lines are longer than the call costs.
    const char* at = text.data();
    const char* end = at + text.size();
    qsizetype count = 0;
    while (at < end) {
        const void* found = std::memchr(at, '\n', size_t(end - at));
        if (!found)
            break;
        ++count;
        at = static_cast<const char*>(found) + 1;
    }
    return count;
}

Tokens lineTokens(QByteArrayView line) {
    Tokens tokens;
    const char* data = line.data();
    const qsizetype size = line.size();
    qsizetype i = 0;
    for (;;) {
        while (i < size && isBlank(data[i]))
            ++i;
        if (i == size)
            break;
        const qsizetype start = i;
        while (i < size && !isBlank(data[i]))
            ++i;
        tokens.append(QByteArrayView(data + start, i - start));
    }
    return tokens;
}

QByteArrayView firstToken(QByteArrayView line) {
    const char* data = line.data();
    qsizetype start = 0;
    while (start < line.size() && isBlank(data[start]))
        ++start;
    qsizetype end = start;
    while (end < line.size() && !isBlank(data[end]))
        ++end;
    return QByteArrayView(data + start, end - start);
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
