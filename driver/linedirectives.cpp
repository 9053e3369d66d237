#include "linedirectives.h"

#include "beside.h"
#include "characters.h"
#include "codelexer.h"
#include "lines.h"
#include "text.h"

#include <QHash>

#include <algorithm>
#include <cstring>

namespace {

bool isBlankLine(QByteArrayView line) {
    return std::all_of(line.begin(), line.end(), isBlank);
}

// The line without the white space at its ends.
QByteArrayView trimmed(QByteArrayView line) {
    while (!line.isEmpty() && isSpaceChar(line.front()))
        line = line.sliced(1);
    while (!line.isEmpty() && isSpaceChar(line.back()))
        line.chop(1);
    return line;
}

// Whether a line opens or closes a #macro block ("#macro", "# MACRO").
void scanDirective(QByteArrayView line, bool& inMacro) {
    const QByteArrayView word = directiveWordOf(line);
    if (isKeyword(word, "macro"))
        inMacro = true;
    else if (isKeyword(word, "endmacro"))
        inMacro = false;
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

// Whether text may hold a "#line" directive: "line" as a word after a '#',
// blanks between.
bool mayHoldLineDirective(QByteArrayView text) {
    for (qsizetype hash = text.indexOf('#'); hash >= 0; hash = text.indexOf('#', hash + 1)) {
        qsizetype word = hash + 1;
        while (word < text.size() && isBlank(text[word]))
            ++word;
        if (isWordAt(text, word, "line"))
            return true;
    }
    return false;
}

// The program's own "#line N" and "#line N "name"" directives, which number
// the lines after them in their file from N on, under that name. A line is
// written under the number the last such directive above it in its own file
// gives it, wherever the rewrite moved it to, so that a message or __LINE__
// names what it names in the unrewritten program.
class UserNumbering {
public:
    explicit UserNumbering(const MappedText& mapped) {
        const QByteArray& text = mapped.text;
        // Most programs write no "#line" of their own: a search for the
        // word after each '#' tells, before any line is counted.
        if (!mayHoldLineDirective(text))
            return;
        // Only a line whose first character after white space is '#' can be
        // a directive; the others are passed over by their '#'s alone.
        bool inMacro = false;
        qsizetype index = 0; // the line that starts at lineStart
        qsizetype lineStart = 0;
        for (qsizetype hash = text.indexOf('#'); hash >= 0; hash = text.indexOf('#', hash + 1)) {
            const qsizetype start = text.lastIndexOf('\n', hash) + 1;
            index += countLineFeeds(QByteArrayView(text).sliced(lineStart, start - lineStart));
            lineStart = start;
            qsizetype end = text.indexOf('\n', start);
            if (end < 0)
                end = text.size();
            const QByteArrayView line = QByteArrayView(text).sliced(start, end - start);
            hash = end; // the line's other '#'s are passed over
            if (!trimmed(line).startsWith('#'))
                continue;
            scanDirective(line, inMacro);
            const LineOrigin& origin = mapped.origins[index];
            if (!inMacro && origin.isKnown())
                read(line, origin);
        }
        for (QList<Renumbering>& list : byFile) {
            std::sort(list.begin(), list.end(),
                      [](const Renumbering& a, const Renumbering& b) { return a.line < b.line; });
            // A directive copied with the lines around it is read once.
            list.erase(std::unique(list.begin(), list.end(),
                                   [](const Renumbering& a, const Renumbering& b) {
                                       return a.line == b.line;
                                   }),
                       list.end());
            // A directive without a name keeps the name the one above it set.
            for (qsizetype i = 1; i < list.size(); ++i)
                if (!list[i].named)
                    list[i].start.fileNumber = list[i - 1].start.fileNumber;
        }
    }

    bool isEmpty() const { return byFile.isEmpty(); }

    // Where the compiler would place origin's line in the unrewritten file.
    LineOrigin of(const LineOrigin& origin) const {
        const QList<Renumbering>* list = listOf(origin);
        if (!list)
            return origin;
        const auto after = std::upper_bound(
            list->begin(), list->end(), origin.line,
            [](int line, const Renumbering& renumbering) { return line <= renumbering.line; });
        if (after == list->begin())
            return origin;
        const Renumbering& above = *(after - 1);
        return above.start.atLine(above.start.line + origin.line - above.line);
    }

    // The number a directive standing at origin gives its own line, or
    // nullptr when origin holds none.
    const LineOrigin* setBy(const LineOrigin& origin) const {
        const QList<Renumbering>* list = listOf(origin);
        if (!list)
            return nullptr;
        const auto at = std::lower_bound(
            list->begin(), list->end(), origin.line,
            [](const Renumbering& renumbering, int line) { return renumbering.line < line; });
        return at != list->end() && at->line == origin.line ? &at->start : nullptr;
    }

private:
    struct Renumbering {
        int line;         // where the directive stands in its file
        LineOrigin start; // the file and number it gives its own line
        bool named;
    };
    QHash<int, QList<Renumbering>> byFile;

    const QList<Renumbering>* listOf(const LineOrigin& origin) const {
        if (byFile.isEmpty())
            return nullptr;
        const auto found = byFile.constFind(origin.fileNumber);
        return found == byFile.cend() ? nullptr : &*found;
    }

    void read(QByteArrayView line, const LineOrigin& origin) {
        bool metacommand = false;
        qsizetype at = directiveArgumentAt(line, "line", false, &metacommand);
        if (at < 0 || metacommand)
            return;
        qsizetype digitsEnd = at;
        while (digitsEnd < line.size() && line[digitsEnd] >= '0' && line[digitsEnd] <= '9')
            ++digitsEnd;
        if (digitsEnd == at || digitsEnd - at > 9)
            return;
        const int number = QByteArrayView(line).sliced(at, digitsEnd - at).toInt();
        at = digitsEnd;
        while (at < line.size() && isBlank(line[at]))
            ++at;
        Renumbering renumbering{origin.line, origin.atLine(number), false};
        if (at < line.size() && line[at] == '"') {
            const qsizetype close = line.indexOf('"', at + 1);
            if (close < 0)
                return;
            renumbering.start =
                LineOrigin(fileNameFromBytes(line.sliced(at + 1, close - at - 1)), number);
            renumbering.named = true;
        }
        byFile[origin.fileNumber].append(renumbering);
    }
};

// Where a directive goes: before the line that starts at position at.
struct Directive {
    qsizetype at;
    LineOrigin origin;
};

// Where the compiler stands before a line: the file and number it believes
// the line has, and what the lines before it leave open.
struct ScanState {
    LineOrigin current;
    CodeLexer lexer;
    bool inMacro = false;
    bool continued = false; // the line before ends in a continuation

    bool leavesNothingOpen() const { return !inMacro && !continued && !lexer.endsInComment(); }
};

// The directives of one run of lines, and how many bytes they add in all.
struct FoundDirectives {
    QList<Directive> directives;
    qsizetype added = 0;
};

// Finds where the directives go among mapped's lines from line first on,
// which starts at byte start, up to the line that starts at byte stop, from
// the state before line first; leaves state as it stands after the last. With
// mayHaveBlockComments false ("/'" nowhere in the text) no line is inside a
// comment, and a line can only be continued by a "_" in it: the lines without
// one need no lexing.
void findDirectives(const MappedText& mapped, qsizetype first, qsizetype start, qsizetype stop,
                    bool mayHaveBlockComments, const UserNumbering& numbering, ScanState& state,
                    DirectiveNames& names, FoundDirectives& found) {
    const QByteArray& text = mapped.text;
    const qsizetype end = mapped.origins.size();
    for (qsizetype index = first; index < end && start < stop; ++index) {
        bool hasUnderscore = false;
        const qsizetype lineEnd = lineEndNoting(text, start, '_', &hasUnderscore);
        const QByteArrayView line = QByteArrayView(text).sliced(start, lineEnd - start);
        const LineOrigin origin = numbering.of(mapped.origins[index]);

        // A blank line gives the compiler nothing to report, so its number
        // does not matter and it needs no directive of its own. The cheap
        // tests come first: most lines are numbered right already.
        if (origin.isKnown() && state.leavesNothingOpen() && origin != state.current &&
            !isBlankLine(line)) {
            if (const QByteArray* name = names.of(origin)) {
                found.added += directiveLength(origin, *name);
                found.directives.append(Directive{start, origin});
                state.current = origin;
            }
        }
        if (!numbering.isEmpty() && !state.inMacro && !state.lexer.startedInComment()) {
            // The program's own directive: the compiler numbers its line,
            // and the lines after it, as it says.
            if (const LineOrigin* set = numbering.setBy(mapped.origins[index]))
                state.current = *set;
        }
        ++state.current.line;

        if (mayHaveBlockComments || hasUnderscore) {
            state.lexer.next(line);
            state.continued = state.lexer.isContinued();
        } else {
            state.continued = false;
        }
        if (!state.lexer.startedInComment())
            scanDirective(line, state.inMacro);
        if (lineEnd == text.size())
            break;
        start = lineEnd + 1;
    }
}

// Finds where the directives go in mapped's text. A text of besideFromBytes
// and more is read in two halves at once: the second from the state the
// first most likely leaves (nothing open, and the line after the first
// half's last numbered right), and again after the first when it does not.
FoundDirectives findDirectives(const MappedText& mapped, const QString& fileName,
                               DirectiveNames& names, qsizetype besideFromBytes) {
    const QByteArray& text = mapped.text;
    const UserNumbering numbering(mapped);
    const bool mayHaveBlockComments = containsCommentOpening(text);
    ScanState state;
    state.current = LineOrigin(fileName, 1);
    FoundDirectives found;
    const qsizetype half = text.size() / 2;
    const char* middle = text.size() >= besideFromBytes && text.size() > 0
                             ? static_cast<const char*>(std::memchr(text.constData() + half, '\n',
                                                                    size_t(text.size() - half)))
                             : nullptr;
    const qsizetype wholeText = text.size() + 1; // a stop past every line
    if (!middle) {
        findDirectives(mapped, 0, 0, wholeText, mayHaveBlockComments, numbering, state, names,
                       found);
        return found;
    }
    // The thread finds where its half starts among the lines, too.
    const qsizetype secondStart = middle + 1 - text.constData();
    qsizetype secondFirst = 0;
    ScanState guessed;
    ScanState second;
    DirectiveNames secondNames;
    FoundDirectives secondFound;
    runBeside(
        [&] {
            secondFirst = countLineFeeds(QByteArrayView(text).first(secondStart));
            const LineOrigin before = numbering.of(mapped.origins[secondFirst - 1]);
            guessed.current = before.atLine(before.line + 1);
            second = guessed;
            findDirectives(mapped, secondFirst, secondStart, wholeText, mayHaveBlockComments,
                           numbering, second, secondNames, secondFound);
        },
        [&] {
            findDirectives(mapped, 0, 0, secondStart, mayHaveBlockComments, numbering, state, names,
                           found);
        });
    if (state.leavesNothingOpen() && state.current == guessed.current) {
        found.directives.append(secondFound.directives);
        found.added += secondFound.added;
    } else {
        findDirectives(mapped, secondFirst, secondStart, wholeText, mayHaveBlockComments, numbering,
                       state, names, found);
    }
    return found;
}

} // namespace

QByteArray withLineDirectives(MappedText mapped, const QString& fileName,
                              qsizetype besideFromBytes) {
    // First find where the directives go, then grow the text once and move
    // its lines into place from the back, so no second copy of a text that
    // may be the largest thing the program holds is ever made.
    DirectiveNames names;
    const FoundDirectives found = findDirectives(mapped, fileName, names, besideFromBytes);
    const QList<Directive>& directives = found.directives;
    const qsizetype added = found.added;
    QByteArray out = std::move(mapped.text);
    mapped = MappedText(); // the origins are not needed any longer
    if (directives.isEmpty())
        return out;
    qsizetype readEnd = out.size();
    // Room of exactly the size needed first: resizing alone rounds the
    // capacity up, and room never written still takes memory where the
    // allocator uses huge pages.
    out.reserve(readEnd + added);
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
