#include "characters.h"

#include <QtAlgorithms>

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

qsizetype findLetterPair(QByteArrayView text, qsizetype from, char first, char second) {
    const char* data = text.data();
    const qsizetype size = text.size();
    qsizetype at = std::max<qsizetype>(from, 0);
#ifdef __SSE2__
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i firsts = _mm_set1_epi8(first);
    const __m128i seconds = _mm_set1_epi8(second);
    for (; at + 17 <= size; at += 16) {
        const __m128i here =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at)), caseBit);
        const __m128i next =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 1)), caseBit);
        const int pairs = _mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(here, firsts), _mm_cmpeq_epi8(next, seconds)));
        if (pairs)
            return at + qCountTrailingZeroBits(quint32(pairs));
    }
#endif
    for (; at + 1 < size; ++at) {
        if ((data[at] | 0x20) == first && (data[at + 1] | 0x20) == second)
            return at;
    }
    return -1;
}

qsizetype indexOfIgnoringCase(QByteArrayView text, QByteArrayView needle, qsizetype from) {
    if (needle.isEmpty())
        return from <= text.size() ? from : -1;
    if (needle.size() == 1) {
        const char first = foldCase(needle[0]);
        for (qsizetype at = from; at < text.size(); ++at) {
            if (foldCase(text[at]) == first)
                return at;
        }
        return -1;
    }
    // Bytes equal in any letter case are equal with the case bit set, so the
    // needle's first two bytes, found that way, mark every place it may start.
    const char first = char(needle[0] | 0x20);
    const char second = char(needle[1] | 0x20);
    for (qsizetype at = from;; ++at) {
        at = findLetterPair(text, at, first, second);
        if (at < 0 || at + needle.size() > text.size())
            return -1;
        if (startsWithIgnoringCase(text.sliced(at), needle))
            return at;
    }
}

bool containsIgnoringCase(QByteArrayView text, QByteArrayView needle, qsizetype tailAt) {
    const QByteArrayView tail = needle.sliced(tailAt);
    for (qsizetype at = indexOfIgnoringCase(text, tail, tailAt); at >= 0;
         at = indexOfIgnoringCase(text, tail, at + 1)) {
        if (startsWithIgnoringCase(text.sliced(at - tailAt), needle))
            return true;
    }
    return false;
}

namespace {

void writeCaseFolded(char* out, QByteArrayView text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = foldCase(text[i]);
}

} // namespace

QByteArray caseFolded(QByteArrayView text) {
    // Room of exactly the text's size, taken at once: growing an empty array
    // to it goes the long way through the library's reallocation.
    QByteArray folded(text.size(), Qt::Uninitialized);
    writeCaseFolded(folded.data(), text);
    return folded;
}

void setCaseFolded(QByteArray& key, QByteArrayView text) {
    key.resize(text.size());
    writeCaseFolded(key.data(), text);
}
