#include "linedirectives.h"

#include "lines.h"

#include <algorithm>
#include <cstring>

namespace {

// What the lexer carries from one line to the next.
struct LexState {
    int commentDepth = 0;   // open /' ... '/ comments (they nest)
    bool inMacro = false;   // between #macro and #endmacro
    bool continued = false; // the previous line ended in " _"
};

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool isBlankLine(QStringView line) {
    return std::all_of(line.begin(), line.end(), isBlank);
}

// A continuation is a "_" standing alone at the end of the code part.
void updateContinuation(QStringView code, LexState& state) {
    while (!code.isEmpty() && isBlank(code.back()))
        code.chop(1);
    state.continued = code.endsWith(u'_') && (code.size() == 1 || isBlank(code[code.size() - 2]));
}

// Reads one line, updating the comment depth and whether the line is continued.
void scanLine(QStringView line, LexState& state) {
    const qsizetype size = line.size();
    qsizetype lastCodeEnd = 0; // end of the code part (before a ' comment)
    bool commentToEnd = false;
    qsizetype i = 0;
    while (i < size) {
        const QChar c = line[i];
        if (state.commentDepth > 0) {
            if (c == u'/' && i + 1 < size && line[i + 1] == u'\'') {
                ++state.commentDepth;
                i += 2;
            } else if (c == u'\'' && i + 1 < size && line[i + 1] == u'/') {
                --state.commentDepth;
                i += 2;
                lastCodeEnd = i;
            } else {
                ++i;
            }
            continue;
        }
        if (c != u'"' && c != u'/' && c != u'\'') {
            // Plain code: runs to the next character that can open a string
            // or a comment.
            const char16_t* data = line.utf16();
            ++i;
            while (i < size && data[i] != u'"' && data[i] != u'/' && data[i] != u'\'')
                ++i;
            lastCodeEnd = i;
            continue;
        }
        if (c == u'"') {
            const bool escaped = i > 0 && line[i - 1] == u'!';
            ++i;
            while (i < size) {
                if (escaped && line[i] == u'\\') {
                    i += 2;
                    continue;
                }
                if (line[i] == u'"') {
                    if (!escaped && i + 1 < size && line[i + 1] == u'"') {
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
        if (c == u'/' && i + 1 < size && line[i + 1] == u'\'') {
            ++state.commentDepth;
            i += 2;
            continue;
        }
        if (c == u'\'') {
            commentToEnd = true;
            break;
        }
        ++i;
        lastCodeEnd = i;
    }
    if (commentToEnd || state.commentDepth == 0)
        updateContinuation(line.left(lastCodeEnd), state);
    else
        state.continued = false;
}

// The end of the line that starts at start, and whether it is plain code: no
// comment is open and it holds no quote, apostrophe or slash. Most lines are,
// and for them this one walk is all the lexing they need.
qsizetype lineEnd(const QString& text, qsizetype start, const LexState& state, bool& plain) {
    const char16_t* data = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype size = text.size();
    qsizetype i = start;
    if (state.commentDepth == 0) {
        while (i < size && data[i] != u'\n' && data[i] != u'"' && data[i] != u'/' &&
               data[i] != u'\'')
            ++i;
        plain = i == size || data[i] == u'\n';
        if (plain)
            return i;
    }
    plain = false;
    const qsizetype end = text.indexOf(u'\n', i);
    return end < 0 ? size : end;
}

void scanDirective(QStringView line, LexState& state) {
    // Only a line whose first character after white space is '#' can open or
    // close a macro; every other line is passed over without tokenizing it.
    const auto first = std::find_if(line.begin(), line.end(), [](QChar c) { return !c.isSpace(); });
    if (first == line.end() || *first != u'#')
        return;
    const Tokens tokens = lineTokens(line.trimmed());
    if (tokens.isEmpty())
        return;
    if (isKeyword(tokens[0], QLatin1StringView("#macro")))
        state.inMacro = true;
    else if (isKeyword(tokens[0], QLatin1StringView("#endmacro")))
        state.inMacro = false;
}

// The directive that makes the next line origin.line of origin.file():
// #line N "name" and a line feed, where N is one less than the line.
const QLatin1StringView directiveStart("#line ");

int digitCount(int number) {
    int digits = 1;
    for (; number >= 10; number /= 10)
        ++digits;
    return digits;
}

qsizetype directiveLength(const LineOrigin& origin) {
    return directiveStart.size() + digitCount(origin.line - 1) + 2 + origin.file().size() + 2;
}

// Writes the directive's directiveLength(origin) characters at out.
void writeDirective(char16_t* out, const LineOrigin& origin) {
    for (const char c : directiveStart)
        *out++ = char16_t(uchar(c));
    const int number = origin.line - 1;
    const int digits = digitCount(number);
    int rest = number;
    for (int i = digits - 1; i >= 0; --i, rest /= 10)
        out[i] = char16_t(u'0' + rest % 10);
    out += digits;
    *out++ = u' ';
    *out++ = u'"';
    const QString& file = origin.file();
    std::memcpy(out, file.utf16(), size_t(file.size()) * sizeof(char16_t));
    out += file.size();
    *out++ = u'"';
    *out++ = u'\n';
}

// Where a directive goes: before the line that starts at position at.
struct Directive {
    qsizetype at;
    LineOrigin origin;
};

// Finds where the directives go in mapped's text, and how many characters they
// add in all.
QList<Directive> findDirectives(const MappedText& mapped, const QString& fileName,
                                qsizetype* added) {
    QList<Directive> directives;
    *added = 0;
    const QString& text = mapped.text;
    // Where the compiler believes it is: the file and number of the next line.
    LineOrigin current(fileName, 1);
    LexState state;
    qsizetype start = 0;
    for (qsizetype index = 0; index < mapped.origins.size(); ++index) {
        bool plain = false;
        const qsizetype end = lineEnd(text, start, state, plain);
        const QStringView line = QStringView(text).mid(start, end - start);
        const LineOrigin& origin = mapped.origins[index];

        // A blank line gives the compiler nothing to report, so its number
        // does not matter and it needs no directive of its own. The cheap
        // tests come first: most lines are numbered right already.
        const bool allowed = !state.continued && !state.inMacro && state.commentDepth == 0;
        if (origin.isKnown() && allowed &&
            (origin.line != current.line || origin.fileNumber != current.fileNumber) &&
            !isBlankLine(line) && !origin.file().contains(u'"')) {
            *added += directiveLength(origin);
            directives.append(Directive{start, origin});
            current = origin;
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

// Copies characters as bytes, one byte each; a character above 255 becomes '?',
// as in every other text-to-bytes conversion of the program.
char* narrowInto(char* out, const char16_t* from, qsizetype count) {
    for (qsizetype i = 0; i < count; ++i)
        out[i] = from[i] < 256 ? char(from[i]) : '?';
    return out + count;
}

} // namespace

QString withLineDirectives(MappedText mapped, const QString& fileName) {
    // First find where the directives go, then widen the text once and move
    // its lines into place from the back, so no second copy of a text that
    // may be the largest thing the program holds is ever made.
    qsizetype added = 0;
    const QList<Directive> directives = findDirectives(mapped, fileName, &added);
    QString out = std::move(mapped.text);
    if (directives.isEmpty())
        return out;
    qsizetype readEnd = out.size();
    out.resize(readEnd + added);
    char16_t* data = reinterpret_cast<char16_t*>(out.data());
    qsizetype writeEnd = out.size();
    for (qsizetype d = directives.size() - 1; d >= 0; --d) {
        const Directive& directive = directives[d];
        const qsizetype length = readEnd - directive.at;
        writeEnd -= length;
        std::memmove(data + writeEnd, data + directive.at, size_t(length) * sizeof(char16_t));
        writeEnd -= directiveLength(directive.origin);
        writeDirective(data + writeEnd, directive.origin);
        readEnd = directive.at;
    }
    return out;
}

QByteArray sourceBytesWithLineDirectives(MappedText mapped, const QString& fileName) {
    qsizetype added = 0;
    const QList<Directive> directives = findDirectives(mapped, fileName, &added);
    const char16_t* text = reinterpret_cast<const char16_t*>(mapped.text.constData());
    QByteArray bytes(mapped.text.size() + added, Qt::Uninitialized);
    char* out = bytes.data();
    qsizetype copied = 0;
    // A directive is made in a small buffer of characters and narrowed like
    // the text around it.
    QString directiveText;
    for (const Directive& directive : directives) {
        out = narrowInto(out, text + copied, directive.at - copied);
        copied = directive.at;
        const qsizetype length = directiveLength(directive.origin);
        directiveText.resize(length);
        writeDirective(reinterpret_cast<char16_t*>(directiveText.data()), directive.origin);
        out = narrowInto(out, reinterpret_cast<const char16_t*>(directiveText.constData()), length);
    }
    narrowInto(out, text + copied, mapped.text.size() - copied);
    mapped = MappedText(); // the text is not needed beside its bytes any longer
#ifdef Q_OS_WIN
    bytes.replace("\n", "\r\n");
#endif
    return bytes;
}
