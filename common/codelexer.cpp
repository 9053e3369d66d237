#include "codelexer.h"

#include "characters.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

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

// What a plain-line check finds on a line: whether a string or a comment
// may open on it, and where the first "rem" word and the first
// continuation "_" stand (-1: none).
struct LineMarks {
    bool opensStringOrComment = false; // a '"', '\'' or '/' stands on it
    qsizetype rem = -1;
    qsizetype continuation = -1;
};

bool isRemWordAt(QByteArrayView text, qsizetype at) {
    return (at == 0 || !isNameChar(text[at - 1])) && isWordAt(text, at, "rem");
}

// Notes the places of a block of the line that may start a "rem" or hold a
// continuation; the bits of the masks are positions from block on. Places
// seen before (blocks may overlap) are found wanting again.
void noteCandidates(QByteArrayView line, qsizetype block, quint32 rems, quint32 underscores,
                    LineMarks& marks) {
    for (; marks.rem < 0 && rems != 0; rems &= rems - 1) {
        const qsizetype at = block + qCountTrailingZeroBits(rems);
        if (at < line.size() && isRemWordAt(line, at))
            marks.rem = at;
    }
    for (; marks.continuation < 0 && underscores != 0; underscores &= underscores - 1) {
        const qsizetype at = block + qCountTrailingZeroBits(underscores);
        if (at < line.size() && isContinuationAt(line, at))
            marks.continuation = at;
    }
}

#ifdef __SSE2__
// Looks at sixteen places at once: what stands at data[0, 16), and whether
// "rem" starts at each, so bytes up to data[18) are read.
struct BlockMarks {
    quint32 stops;       // '"', '\'' or '/'
    quint32 rems;        // "rem" in any letter case
    quint32 underscores; // '_'
};

inline BlockMarks marksOfBlock(const char* data) {
    const auto load = [data](int offset) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + offset));
    };
    const auto equal = [](__m128i bytes, char c) {
        return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c));
    };
    const auto equalInAnyCase = [](__m128i bytes, char c) {
        return _mm_cmpeq_epi8(_mm_or_si128(bytes, _mm_set1_epi8(0x20)), _mm_set1_epi8(c));
    };
    const __m128i here = load(0);
    const __m128i stops =
        _mm_or_si128(_mm_or_si128(equal(here, '"'), equal(here, '\'')), equal(here, '/'));
    const __m128i rems =
        _mm_and_si128(_mm_and_si128(equalInAnyCase(here, 'r'), equalInAnyCase(load(1), 'e')),
                      equalInAnyCase(load(2), 'm'));
    return BlockMarks{quint32(_mm_movemask_epi8(stops)), quint32(_mm_movemask_epi8(rems)),
                      quint32(_mm_movemask_epi8(equal(here, '_')))};
}

// Notes a block's marks; false when a string or comment may open in it.
inline bool noteBlock(QByteArrayView line, qsizetype block, const BlockMarks& found,
                      LineMarks& marks) {
    if (found.stops != 0) {
        marks.opensStringOrComment = true;
        return false;
    }
    if ((found.rems | found.underscores) != 0)
        noteCandidates(line, block, found.rems, found.underscores, marks);
    return true;
}
#endif

// Reads a line once for what tells whether it is plain, sixteen places at a
// time where the processor can. The last block of a long line overlaps the
// one before it (its last two places cannot start a "rem"); a short line is
// read from a copy padded with bytes that mark nothing.
LineMarks marksOf(QByteArrayView line) {
    LineMarks marks;
    const char* data = line.data();
    const qsizetype size = line.size();
#ifdef __SSE2__
    if (size < 18) {
        char padded[34] = {};
        if (size > 0) // an empty line's view may have no bytes at all
            std::memcpy(padded, data, size_t(size));
        if (noteBlock(line, 0, marksOfBlock(padded), marks) && size > 16)
            noteBlock(line, 16, marksOfBlock(padded + 16), marks);
        return marks;
    }
    qsizetype block = 0;
    for (; block + 18 <= size; block += 16) {
        if (!noteBlock(line, block, marksOfBlock(data + block), marks))
            return marks;
    }
    if (block < size) {
        // Places from size - 18 on: "rem" may start up to size - 3 ...
        if (!noteBlock(line, size - 18, marksOfBlock(data + size - 18), marks))
            return marks;
        // ... and the last two may open a string or continue the line.
        const char tail[2] = {data[size - 2], data[size - 1]};
        for (int i = 0; i < 2; ++i) {
            if (tail[i] == '"' || tail[i] == '\'' || tail[i] == '/') {
                marks.opensStringOrComment = true;
                return marks;
            }
            if (tail[i] == '_')
                noteCandidates(line, size - 2 + i, 0, 1, marks);
        }
    }
#else
    for (qsizetype at = 0; at < size; ++at) {
        const char c = data[at];
        if (c == '"' || c == '\'' || c == '/') {
            marks.opensStringOrComment = true;
            return marks;
        }
        noteCandidates(line, at, foldCase(c) == 'r' ? 1u : 0u, c == '_' ? 1u : 0u, marks);
    }
#endif
    return marks;
}

} // namespace

// A line outside any comment in which no string or comment can open: all of
// it is code up to a "rem" or a continuation, if it has one, and codeEnd says
// where. Most lines are plain, and one read of the line tells.
bool CodeLexer::isPlain(QByteArrayView line, qsizetype* codeEnd) {
    if (depth > 0)
        return false;
    const LineMarks marks = marksOf(line);
    if (marks.opensStringOrComment)
        return false;
    const qsizetype end = marks.rem < 0 ? line.size() : marks.rem;
    *codeEnd = end;
    if (marks.continuation >= 0 && marks.continuation < end) {
        *codeEnd = marks.continuation;
        continued = true;
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
