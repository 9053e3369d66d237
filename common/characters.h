#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtAlgorithms>

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// What the passes need to know about the bytes of source text. FreeBASIC's
// keywords are ASCII, and so is every letter-case rule here: a keyword, a
// type's name or a template's name matches another spelling when the two
// differ only in the case of ASCII letters. A byte of 128 or above counts as
// the Latin-1 character of the same code where a name is told from its
// surroundings (é is a letter), and is never folded.

namespace characters {

// One entry per byte value.
struct ByteTable {
    bool entries[256] = {};
};

constexpr ByteTable nameBytes() {
    ByteTable table;
    for (int c = 0; c < 256; ++c) {
        const bool ascii =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        // Latin-1's letters: ª, µ, º, and À to ÿ but for × and ÷.
        const bool latin1 =
            c == 0xaa || c == 0xb5 || c == 0xba || (c >= 0xc0 && c != 0xd7 && c != 0xf7);
        table.entries[c] = ascii || latin1;
    }
    return table;
}

constexpr ByteTable spaceBytes() {
    ByteTable table;
    for (int c = 0; c < 256; ++c)
        table.entries[c] = (c >= 0x09 && c <= 0x0d) || c == ' ' || c == 0x85 || c == 0xa0;
    return table;
}

inline constexpr ByteTable names = nameBytes();
inline constexpr ByteTable spaces = spaceBytes();

} // namespace characters

// A byte that separates words on a line: a space or a tab.
inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A byte that may be part of a FreeBASIC name: a letter, a decimal digit or '_'.
inline bool isNameChar(char c) {
    return characters::names.entries[uchar(c)];
}

// White space: tab, line feed, vertical tab, form feed, carriage return,
// space, and Latin-1's next line (0x85) and no-break space (0xa0).
inline bool isSpaceChar(char c) {
    return characters::spaces.entries[uchar(c)];
}

// An ASCII letter in lower case; every other byte as it is.
inline char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// Inline: the passes compare many words with keywords, most of them of
// another length, which the first test tells.
inline bool startsWithIgnoringCase(QByteArrayView text, QByteArrayView prefix) {
    if (prefix.size() > text.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        if (foldCase(text[i]) != foldCase(prefix[i]))
            return false;
    }
    return true;
}

inline bool equalsIgnoringCase(QByteArrayView text, QByteArrayView other) {
    return text.size() == other.size() && startsWithIgnoringCase(text, other);
}

// The next position at or after from where the bytes first and second stand
// one after the other in text, both compared with the case bit (0x20) set (for
// letters: in any letter case; give them in lower case), or -1. Sixteen
// positions are tried at a time where the processor allows it.
qsizetype findLetterPair(QByteArrayView text, qsizetype from, char first, char second);

// Where the first of the bytes a and b stands in text at or after from, or
// -1: sixteen bytes at a time where the processor can. Inline: the passes ask
// it of every token of most lines, most of them short.
inline qsizetype indexOfEither(QByteArrayView text, qsizetype from, char a, char b) {
    const char* data = text.data();
    const qsizetype size = text.size();
    qsizetype at = std::max<qsizetype>(from, 0);
#ifdef __SSE2__
    const __m128i as = _mm_set1_epi8(a);
    const __m128i bs = _mm_set1_epi8(b);
    for (; at + 16 <= size; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const int found =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, as), _mm_cmpeq_epi8(bytes, bs)));
        if (found)
            return at + qCountTrailingZeroBits(quint32(found));
    }
#endif
    for (; at < size; ++at) {
        if (data[at] == a || data[at] == b)
            return at;
    }
    return -1;
}

// The first position at or after from where needle stands in text, ignoring
// case, or -1.
qsizetype indexOfIgnoringCase(QByteArrayView text, QByteArrayView needle, qsizetype from = 0);

// Whether needle stands in text, ignoring case. It is looked for by its tail
// from tailAt on, whose first two letters may be rarer in code than its own
// ("te" of "template" stands in most lines: "integer").
bool containsIgnoringCase(QByteArrayView text, QByteArrayView needle, qsizetype tailAt = 0);

// The text with every ASCII letter in lower case: the key under which names
// are looked up ignoring case.
QByteArray caseFolded(QByteArrayView text);

// The same, written over key and reusing its bytes: a lookup made for every
// word of a large text then allocates nothing.
void setCaseFolded(QByteArray& key, QByteArrayView text);
