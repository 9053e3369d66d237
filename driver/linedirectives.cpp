#include "linedirectives.h"

#include "characters.h"
#include "lines.h"
#include "text.h"

#include <algorithm>
#include <cstring>

namespace {

// What the lexer carries from one line to the next.
struct LexState {
    int commentDepth = 0;   // open /' ... '/ comments (they nest)
    bool inMacro = false;   // between #macro and #endmacro
    bool continued = false; // the previous line ended in " _"
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isBlankLine(QByteArrayView line) {
    return std::all_of(line.begin(), line.end(), isBlank);
}

// The bytes that end a run of plain code: what can open a string or a comment.
struct CodeStops {
    bool entries[256] = {};
    constexpr CodeStops() {
        for (const char c : {'"', '/', '\''})
            entries[uchar(c)] = true;
    }
    bool stops(char c) const { return entries[uchar(c)]; }
};
constexpr CodeStops codeStops;

// The line without the white space at its ends.
QByteArrayView trimmed(QByteArrayView line) {
    while (!line.isEmpty() && isSpaceChar(line.front()))
        line = line.sliced(1);
    while (!line.isEmpty() && isSpaceChar(line.back()))
        line.chop(1);
    return line;
}

// A continuation is a "_" standing alone at the end of the code part.
void updateContinuation(QByteArrayView code, LexState& state) {
    while (!code.isEmpty() && isBlank(code.back()))
        code.chop(1);
    state.continued = code.endsWith('_') && (code.size() == 1 || isBlank(code[code.size() - 2]));
}

// Reads one line, updating the comment depth and whether the line is continued.
void scanLine(QByteArrayView line, LexState& state) {
    const qsizetype size = line.size();
    qsizetype lastCodeEnd = 0; // end of the code part (before a ' comment)
    bool commentToEnd = false;
    qsizetype i = 0;
    while (i < size) {
        const char c = line[i];
        if (state.commentDepth > 0) {
            if (c == '/' && i + 1 < size && line[i + 1] == '\'') {
                ++state.commentDepth;
                i += 2;
            } else if (c == '\'' && i + 1 < size && line[i + 1] == '/') {
                --state.commentDepth;
                i += 2;
                lastCodeEnd = i;
            } else {
                ++i;
            }
            continue;
        }
        if (c != '"' && c != '/' && c != '\'') {
            // Plain code: runs to the next character that can open a string
            // or a comment.
            const char* data = line.data();
            ++i;
            while (i < size && !codeStops.stops(data[i]))
                ++i;
            lastCodeEnd = i;
            continue;
        }
        if (c == '"') {
            const bool escaped = i > 0 && line[i - 1] == '!';
            ++i;
            while (i < size) {
                if (escaped && line[i] == '\\') {
                    i += 2;
                    continue;
                }
                if (line[i] == '"') {
                    if (!escaped && i + 1 < size && line[i + 1] == '"') {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            i = qMin(i + 1, size);
            lastCodeEnd = i;
            continue;
        }
        if (c == '/' && i + 1 < size && line[i + 1] == '\'') {
            ++state.commentDepth;
            i += 2;
            continue;
        }
        if (c == '\'') {
            commentToEnd = true;
            break;
        }
        ++i;
        lastCodeEnd = i;
    }
    if (commentToEnd || state.commentDepth == 0)
        updateContinuation(line.first(lastCodeEnd), state);
    else
        state.continued = false;
}

// The end of the line that starts at start, and whether it is plain code: no
// comment is open and it holds no quote, apostrophe or slash. Most lines are,
// and for them these searches, which look at many bytes at a time, are all
// the lexing they need.
qsizetype lineEnd(const QByteArray& text, qsizetype start, const LexState& state, bool& plain) {
    const char* line = text.constData() + start;
    const size_t rest = size_t(text.size() - start);
    const void* lineFeed = std::memchr(line, '\n', rest);
    const qsizetype end =
        lineFeed ? static_cast<const char*>(lineFeed) - text.constData() : text.size();
    const size_t length = size_t(end - start);
    plain = state.commentDepth == 0 && !std::memchr(line, '"', length) &&
            !std::memchr(line, '/', length) && !std::memchr(line, '\'', length);
    return end;
}

void scanDirective(QByteArrayView line, LexState& state) {
    // Only a line whose first character after white space is '#' can open or
    // close a macro; every other line is passed over without tokenizing it.
    const auto first =
        std::find_if(line.begin(), line.end(), [](char c) { return !isSpaceChar(c); });
    if (first == line.end() || *first != '#')
        return;
    const Tokens tokens = lineTokens(trimmed(line));
    if (tokens.isEmpty())
        return;
    if (isKeyword(tokens[0], "#macro"))
        state.inMacro = true;
    else if (isKeyword(tokens[0], "#endmacro"))
        state.inMacro = false;
}

// The directive that makes the next line origin.line of origin.file():
// #line N "name" and a line feed, where N is one less than the line.
const QByteArrayView directiveStart = "#line ";

int digitCount(int number) {
    int digits = 1;
    for (; number >= 10; number /= 10)
        ++digits;
    return digits;
}

// The names of the files origins refer to, as the directives write them:
// the file system's bytes of each name, or nothing for a name that a
// directive cannot hold (a double quote or a line break in it), whose lines
// then get no directive. Each name is encoded once; what of() returns is
// valid until its next call.
class DirectiveNames {
public:
    const QByteArray* of(const LineOrigin& origin) {
        const int number = origin.fileNumber;
        if (number >= known.size()) {
            known.resize(number + 1, false);
            names.resize(number + 1);
        }
        if (!known[number]) {
            known[number] = true;
            const QByteArray name = fileNameBytes(origin.file());
            const bool holdable =
                !name.contains('"') && !name.contains('\r') && !name.contains('\n');
            names[number] = holdable ? name : QByteArray();
        }
        return names[number].isNull() ? nullptr : &names[number];
    }

private:
    QList<bool> known;
    QByteArrayList names;
};

qsizetype directiveLength(const LineOrigin& origin, const QByteArray& name) {
    return directiveStart.size() + digitCount(origin.line - 1) + 2 + name.size() + 2;
}

// Writes the directive's directiveLength(origin, name) bytes at out.
void writeDirective(char* out, const LineOrigin& origin, const QByteArray& name) {
    std::memcpy(out, directiveStart.data(), size_t(directiveStart.size()));
    out += directiveStart.size();
    const int number = origin.line - 1;
    const int digits = digitCount(number);
    int rest = number;
    for (int i = digits - 1; i >= 0; --i, rest /= 10)
        out[i] = char('0' + rest % 10);
    out += digits;
    *out++ = ' ';
    *out++ = '"';
    std::memcpy(out, name.constData(), size_t(name.size()));
    out += name.size();
    *out++ = '"';
    *out++ = '\n';
}

// Where a directive goes: before the line that starts at position at.
struct Directive {
    qsizetype at;
    LineOrigin origin;
};

// Finds where the directives go in mapped's text, and how many bytes they add
// in all.
QList<Directive> findDirectives(const MappedText& mapped, const QString& fileName,
                                DirectiveNames& names, qsizetype* added) {
    QList<Directive> directives;
    *added = 0;
    const QByteArray& text = mapped.text;
    // Where the compiler believes it is: the file and number of the next line.
    LineOrigin current(fileName, 1);
    LexState state;
    qsizetype start = 0;
    for (qsizetype index = 0; index < mapped.origins.size(); ++index) {
        bool plain = false;
        const qsizetype end = lineEnd(text, start, state, plain);
        const QByteArrayView line = QByteArrayView(text).sliced(start, end - start);
        const LineOrigin& origin = mapped.origins[index];

        // A blank line gives the compiler nothing to report, so its number
        // does not matter and it needs no directive of its own. The cheap
        // tests come first: most lines are numbered right already.
        const bool allowed = !state.continued && !state.inMacro && state.commentDepth == 0;
        if (origin.isKnown() && allowed &&
            (origin.line != current.line || origin.fileNumber != current.fileNumber) &&
            !isBlankLine(line)) {
            if (const QByteArray* name = names.of(origin)) {
                *added += directiveLength(origin, *name);
                directives.append(Directive{start, origin});
                current = origin;
            }
        }
        ++current.line;

        const bool wasInComment = state.commentDepth > 0;
        if (plain)
            updateContinuation(line, state);
        else
            scanLine(line, state);
        if (!wasInComment)
            scanDirective(line, state);
        if (end == text.size())
            break;
        start = end + 1;
    }
    return directives;
}

} // namespace

QByteArray withLineDirectives(MappedText mapped, const QString& fileName) {
    // First find where the directives go, then grow the text once and move
    // its lines into place from the back, so no second copy of a text that
    // may be the largest thing the program holds is ever made.
    DirectiveNames names;
    qsizetype added = 0;
    const QList<Directive> directives = findDirectives(mapped, fileName, names, &added);
    QByteArray out = std::move(mapped.text);
    mapped = MappedText(); // the origins are not needed any longer
    if (directives.isEmpty())
        return out;
    qsizetype readEnd = out.size();
    out.resize(readEnd + added);
    char* data = out.data();
    qsizetype writeEnd = out.size();
    for (qsizetype d = directives.size() - 1; d >= 0; --d) {
        const Directive& directive = directives[d];
        const qsizetype length = readEnd - directive.at;
        writeEnd -= length;
        std::memmove(data + writeEnd, data + directive.at, size_t(length));
        const QByteArray& name = *names.of(directive.origin);
        writeEnd -= directiveLength(directive.origin, name);
        writeDirective(data + writeEnd, directive.origin, name);
        readEnd = directive.at;
    }
    return out;
}
