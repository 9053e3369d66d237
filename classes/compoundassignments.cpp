#include "compoundassignments.h"

#include "characters.h"
#include "codelexer.h"
#include "compoundtargets.h"
#include "fieldforms.h"
#include "forwarding.h"
#include "typescan.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

enum class Copy { none, field, element };

// Whether a field's declaration on the extending type is a property that
// gives a copy: "declare const property hits() as integer", or one element of
// an array, "declare const property scores(byval index as integer) as
// integer"; not "declare property pos() byref as" (a value of a type of the
// program's) unless byReference.
Copy copyGiven(QByteArrayView declaration, bool byReference = false) {
    qsizetype at = declaration.indexOf("declare const property ");
    if (at < 0)
        at = declaration.indexOf("declare property ");
    if (at < 0)
        return Copy::none;
    const qsizetype open = declaration.indexOf('(', at);
    if (open < 0)
        return Copy::none;
    const QByteArrayView parameters = declaration.sliced(open);
    if (parameters.startsWith("() as ") || (byReference && parameters.startsWith("() byref as ")))
        return Copy::field;
    return parameters.startsWith("(byval index as integer) as ") ||
                   (byReference && parameters.startsWith("(byval index as integer) byref as "))
               ? Copy::element
               : Copy::none;
}

// The set of the names that a field giving such a copy belongs to.
QSet<QByteArray>* namesOf(PropertyFields& fields, Copy copy) {
    switch (copy) {
    case Copy::field:
        return &fields.all;
    case Copy::element:
        return &fields.indexed;
    case Copy::none:
        break;
    }
    return nullptr;
}

// The operators FreeBASIC writes with "=" after them, as the plain
// assignment writes them: "+=" gives "+", "mod=" gives "mod".
bool isSymbolOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '\\' || c == '^' || c == '&';
}

bool isWordOperator(QByteArrayView word) {
    static constexpr QByteArrayView words[] = {"mod", "shl", "shr", "and",
                                               "or",  "xor", "imp", "eqv"};
    for (const QByteArrayView w : words) {
        if (equalsIgnoringCase(word, w))
            return true;
    }
    return false;
}

// Where the operator of a compound assignment whose "=" stands at equals
// starts ("+=", and a whole word such as "mod="), or -1 when the "=" is no
// such assignment's.
qsizetype operatorBefore(QByteArrayView text, qsizetype equals) {
    if (equals == 0)
        return -1;
    if (isSymbolOperator(text[equals - 1]))
        return equals - 1;
    qsizetype word = equals;
    while (word > 0 && equals - word < 3 && isNameChar(text[word - 1]))
        --word;
    if ((word > 0 && isNameChar(text[word - 1])) ||
        !isWordOperator(text.sliced(word, equals - word)))
        return -1;
    return word;
}

// A line that may hold a compound assignment: an "=" right after an
// operator ("+=", "mod="). Most lines have none and are not lexed.
bool mayAssignCompound(QByteArrayView line) {
    const char* data = line.data();
    for (qsizetype at = 0; at < line.size();) {
        const void* found = std::memchr(data + at, '=', size_t(line.size() - at));
        if (!found)
            return false;
        const qsizetype equals = static_cast<const char*>(found) - data;
        if (operatorBefore(line, equals) >= 0)
            return true;
        at = equals + 1;
    }
    return false;
}

// Finds a word of a text ("swap", "input"), in any letter case, by two of
// its letters that seldom stand together in code ("sw", "np"): a text
// without them costs one read of its bytes.
class Words {
public:
    // The word in lower case, and where the two letters start in it.
    Words(QByteArrayView text, QByteArrayView word, qsizetype key)
        : text(text), word(word), keyAt(key) {}

    // Where the next such word at or after from starts, or -1; from never
    // goes down between calls.
    qsizetype next(qsizetype from) {
        const char* data = text.data();
        const qsizetype size = text.size();
        for (qsizetype searchFrom = from + keyAt;;) {
            if (found != -1 && found < searchFrom)
                found = findLetterPair(text, searchFrom, word[keyAt], word[keyAt + 1]);
            if (found < 0)
                return -1;
            const qsizetype start = found - keyAt;
            const qsizetype end = start + word.size();
            if (start >= 0 && end <= size && (start == 0 || !isNameChar(data[start - 1])) &&
                (end == size || !isNameChar(data[end])) &&
                equalsIgnoringCase(QByteArrayView(data + start, word.size()), word))
                return start;
            searchFrom = found + 1;
        }
    }

private:
    QByteArrayView text;
    QByteArrayView word;
    qsizetype keyAt;
    qsizetype found = -2; // the last pair found, or -1 when there is none left
};

class SwapWords : public Words {
public:
    explicit SwapWords(QByteArrayView text) : Words(text, "swap", 0) {}
};

class InputWords : public Words {
public:
    explicit InputWords(QByteArrayView text) : Words(text, "input", 1) {}
};

class ReadWords : public Words {
public:
    explicit ReadWords(QByteArrayView text) : Words(text, "read", 2) {}
};

// Whether the word "input" at input follows the word "line" ("line input").
bool followsLine(QByteArrayView text, qsizetype input) {
    qsizetype end = input;
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    return end < input && end >= 4 && equalsIgnoringCase(text.sliced(end - 4, 4), "line") &&
           (end == 4 || !isNameChar(text[end - 5]));
}

// Where the words "line input" of the line stand, after from: the "line"
// (-1 when there are none left) and the end of the "input". A cheap look,
// which may find one where the lexer would not.
struct LineInput {
    qsizetype start = -1;
    qsizetype afterInput = -1;
};

LineInput nextLineInput(QByteArrayView line, InputWords& inputs, qsizetype from) {
    for (qsizetype at = inputs.next(from); at >= 0; at = inputs.next(at + 1)) {
        if (followsLine(line, at)) {
            qsizetype end = at;
            while (isBlank(line[end - 1]))
                --end;
            return LineInput{end - 4, at + 5};
        }
    }
    return LineInput();
}

bool mayLineInput(QByteArrayView line) {
    InputWords inputs(line);
    return nextLineInput(line, inputs, 0).start >= 0;
}

bool maySwap(QByteArrayView line) {
    return SwapWords(line).next(0) >= 0;
}

bool mayRead(QByteArrayView line) {
    return ReadWords(line).next(0) >= 0;
}

// The type whose member a procedure's first line implements, case-folded
// ("sub Circle.grow()", "private constructor Circle(...)"), or empty.
QByteArray implementedType(QByteArrayView code) {
    const Tokens tokens = lineTokens(withoutProcedurePrefix(code));
    if (tokens.size() < 2)
        return {};
    const QByteArrayView keyword = tokens[0];
    if (!isProcedureKind(keyword))
        return {};
    const bool qualified = !isKeyword(keyword, "constructor") && !isKeyword(keyword, "destructor");
    const QByteArrayView name = tokens[1];
    qsizetype end = 0;
    while (end < name.size() && isNameChar(name[end]))
        ++end;
    if (end == 0 || (qualified && (end == name.size() || name[end] != '.')))
        return {};
    return caseFolded(name.first(end));
}

// Whether the line is a procedure's first line: its keyword first, or after
// the words that may stand in front of it ("private sub ...").
bool opensProcedure(QByteArrayView line, QByteArrayView first) {
    switch (first[0] | 0x20) { // every such word starts with one of these
    case 's':
    case 'f':
    case 'p':
    case 'o':
    case 'c':
    case 'd':
        break;
    default:
        return false;
    }
    if (isProcedureKind(first))
        return true;
    if (!isKeyword(first, "private") && !isKeyword(first, "public") &&
        !isKeyword(first, "static") && !isKeyword(first, "const"))
        return false;
    return isProcedureKind(firstToken(withoutProcedurePrefix(line)));
}

// Whether the line ends a procedure: "end sub", or a procedure written on one
// line ("sub Circle.f() : x += 1 : end sub").
bool endsProcedure(QByteArrayView line, QByteArrayView first) {
    if (isKeyword(first, "end"))
        return isProcedureKind(firstToken(line.sliced(first.data() + first.size() - line.data())));
    if (!line.contains(':'))
        return false;
    for (const QByteArrayView kind : procedureKinds) {
        if (endsWithEndStatement(line, kind))
            return true;
    }
    return false;
}

// Whether set holds name, case-folded; a name is folded without a copy on
// the heap.
bool containsFolded(const QSet<QByteArray>& set, QByteArrayView name) {
    char folded[64];
    if (name.size() > qsizetype(sizeof folded))
        return set.contains(caseFolded(name));
    for (qsizetype i = 0; i < name.size(); ++i)
        folded[i] = foldCase(name[i]);
    return set.contains(QByteArray::fromRawData(folded, name.size()));
}

struct Rewrite {
    qsizetype from;
    qsizetype to;
    QByteArray text;
    // The value goes on over the next lines, its brackets open this deep at
    // the line's end: the closing bracket is written where it ends.
    bool open = false;
    int depth = 0;
};

qsizetype skipBlanksBack(QByteArrayView code, qsizetype at) {
    while (at > 0 && isBlank(code[at - 1]))
        --at;
    return at;
}

// Whether the target ending at lhsStart stands first in its statement: at the
// line's start, after ":" or after "then" or "else".
bool startsStatement(QByteArrayView code, qsizetype lhsStart) {
    const qsizetype before = skipBlanksBack(code, lhsStart);
    if (before == 0 || code[before - 1] == ':')
        return true;
    qsizetype word = before;
    while (word > 0 && isNameChar(code[word - 1]))
        --word;
    const QByteArrayView previous = code.sliced(word, before - word);
    return (isKeyword(previous, "then") || isKeyword(previous, "else")) &&
           (word == 0 || !isNameChar(code[word - 1]));
}

// Whether the word "else" starts at at.
bool startsElse(QByteArrayView code, qsizetype at) {
    return (at == 0 || !isNameChar(code[at - 1])) && code.size() - at >= 4 &&
           isKeyword(code.sliced(at, 4), "else") &&
           (code.size() - at == 4 || !isNameChar(code[at + 4]));
}

// A line that may assign through a pointer: a "*" that starts a statement
// ("*c.link = 5"). Most lines with a "*" multiply, and are not lexed.
bool mayAssignThroughPointer(QByteArrayView line) {
    for (qsizetype star = line.indexOf('*'); star >= 0; star = line.indexOf('*', star + 1)) {
        if (startsStatement(line, star))
            return true;
    }
    return false;
}

// The code up to a "rem", which comments out the rest of the line wherever it
// stands as a word, after a statement too ("x += 1 rem why").
QByteArrayView beforeRem(QByteArrayView code) {
    for (qsizetype at = 0; at + 3 <= code.size(); ++at) {
        if ((code[at] | 0x20) == 'r' && (at == 0 || !isNameChar(code[at - 1])) &&
            isWordAt(code, at, "rem"))
            return code.first(at);
    }
    return code;
}

// Where the statement that goes on at from ends: at a ":" or an "else"
// outside brackets, or at the code's end; depth counts the brackets open
// (before from, and at the end).
qsizetype statementEnd(QByteArrayView code, qsizetype from, int& depth) {
    for (qsizetype at = from; at < code.size(); ++at) {
        const char c = code[at];
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (depth == 0 && (c == ':' || startsElse(code, at)))
            return at;
    }
    return code.size();
}

// Where the name of the element that ends at end ("scores(i + 1)") ends, or
// -1 when its index may not read the same twice (unless written once: any).
qsizetype elementStart(QByteArrayView code, qsizetype end, FileNames& names, bool any = false) {
    int depth = 0;
    for (qsizetype open = end - 1; open >= 0; --open) {
        if (code[open] == ')') {
            ++depth;
        } else if (code[open] == '(' && --depth == 0) {
            if (!any && !isRepeatableIndex(code.sliced(open + 1, end - open - 2), names))
                return -1;
            return open;
        }
    }
    return -1;
}

// The name a target from start to end of a line's code ends in ("c.tags(i)":
// "tags"), where it starts, and whether the target is an element of it; an
// empty name when the target ends in none. any: as elementStart.
struct TargetName {
    QByteArrayView name;
    qsizetype start = -1;
    qsizetype end = -1;
    bool element = false;
};

TargetName targetNameOf(QByteArrayView code, qsizetype start, qsizetype end, FileNames& names,
                        bool any = false) {
    TargetName target;
    target.element = code[end - 1] == ')';
    target.end = target.element ? elementStart(code, end, names, any) : end;
    if (target.end <= start)
        return {};
    target.start = target.end;
    while (target.start > start && isNameChar(code[target.start - 1]))
        --target.start;
    target.name = code.sliced(target.start, target.end - target.start);
    if (target.name.isEmpty() || !isNameStart(target.name[0]))
        return {};
    return target;
}

// The code of the lines above the one that starts at lineStart which it
// continues (each ends in " _"), joined without the "_"s and the blanks
// around each, the nearest last; empty when the line continues none, and
// nothing when a string or a comment stands in them (no target is read from
// those) or when they are too many.
std::optional<QByteArray> continuedCodeAbove(QByteArrayView text, qsizetype lineStart) {
    QByteArray joined;
    // A statement continued over more lines is not read back that far, so
    // that a file of such lines is read in linear time.
    constexpr int mostLines = 64;
    int count = 0;
    for (qsizetype end = lineStart - 1; end > 0;) {
        if (++count > mostLines)
            return std::nullopt;
        const qsizetype start = text.lastIndexOf('\n', end - 1) + 1;
        const QByteArrayView above = text.sliced(start, end - start);
        CodeLexer lexer;
        const QByteArrayView code = lexer.next(above);
        if (!lexer.isContinued())
            break;
        qsizetype pieceEnd = skipBlanksBack(code, code.size());
        if (pieceEnd > 0 && code[pieceEnd - 1] == '_')
            pieceEnd = skipBlanksBack(code, pieceEnd - 1);
        qsizetype pieceStart = 0;
        while (pieceStart < pieceEnd && isBlank(code[pieceStart]))
            ++pieceStart;
        const QByteArrayView piece = code.sliced(pieceStart, pieceEnd - pieceStart);
        if (piece != above.sliced(pieceStart, pieceEnd - pieceStart))
            return std::nullopt;
        // Two names the continuation kept apart stay apart.
        if (!piece.isEmpty() && !joined.isEmpty() && isNameChar(piece.back()) &&
            isNameChar(joined.front()))
            joined.prepend(' ');
        joined.prepend(piece);
        end = start - 1;
    }
    return joined;
}

// The name of the temporary that swaps and reads of inherited fields go
// through: "t__fbext", unless the text names something so (a variable, a
// procedure, a parameter renamed so); then the first of "t__fbext2",
// "t__fbext3", ... it does not name. Any letter case counts.
QByteArray unusedTemporaryName(QByteArrayView text) {
    static constexpr QByteArrayView base = "t__fbext";
    QSet<QByteArray> used;
    for (qsizetype at = indexOfIgnoringCase(text, base); at >= 0;
         at = indexOfIgnoringCase(text, base, at + 1)) {
        if (at > 0 && isNameChar(text[at - 1]))
            continue;
        qsizetype end = at + base.size();
        while (end < text.size() && isNameChar(text[end]))
            ++end;
        used.insert(caseFolded(text.sliced(at, end - at)));
    }
    QByteArray name = base.toByteArray();
    for (int number = 2; used.contains(name); ++number)
        name = base.toByteArray() + QByteArray::number(number);
    return name;
}

// The compound assignments of one line (its code as the lexer shows it) to
// be written out: to the fields' names (fields.all) and to elements of the
// arrays (fields.indexed), joined by "." to what holds them, or bare in a
// member of an extending type (inMemberOfExtendingType(), asked
// only for such a name).
// A target begun on the lines above, which this one continues ("c _" then
// ".x += 1", ".hp _" then "+= 5"), is read whole: continuedAbove() gives
// their code joined, each without its "_" and blanks around (nothing when
// it cannot be read, and the line is left as written).
template <typename InMember, typename Above>
QList<Rewrite> rewritesOf(QByteArrayView line, QByteArrayView code, bool continued,
                          const InMember& inMemberOfExtendingType, const Above& continuedAbove,
                          FileNames& names, const PropertyFields& fields) {
    QList<Rewrite> rewrites;
    const qsizetype codeSize = code.size();
    code = beforeRem(code);
    continued = continued && code.size() == codeSize; // no "_" in a comment
    qsizetype searchFrom = 0;
    for (;;) {
        const qsizetype equals = code.indexOf('=', searchFrom);
        if (equals < 0)
            break;
        searchFrom = equals + 1;
        if (!rewrites.isEmpty() && equals < rewrites.last().to)
            continue;
        const qsizetype opStart = operatorBefore(code, equals);
        if (opStart < 0)
            continue;
        const qsizetype lhsEnd = skipBlanksBack(code, opStart);
        // The code the target is looked for in: this line's up to the
        // operator, after the lines' above it continues.
        qsizetype firstCode = 0;
        while (firstCode < lhsEnd && isBlank(code[firstCode]))
            ++firstCode;
        const std::optional<QByteArray>& above = continuedAbove();
        QByteArray joined;
        QByteArrayView whole = code.first(lhsEnd);
        qsizetype shift = 0; // a position in whole less the same one in line
        if (above && !above->isEmpty()) {
            joined = *above;
            // Two names the continuation kept apart stay apart.
            if (lhsEnd > firstCode && isNameChar(joined.back()) && isNameChar(code[firstCode]))
                joined += ' ';
            shift = joined.size() - firstCode;
            joined += code.sliced(firstCode, lhsEnd - firstCode);
            whole = joined;
        }
        const qsizetype wholeEnd = whole.size();
        // An inherited array's element ("c.scores(i) += 1") ends in its
        // index, which is written twice too.
        const qsizetype nameEnd = wholeEnd > 0 && whole[wholeEnd - 1] == ')'
                                      ? elementStart(whole, wholeEnd, names)
                                      : wholeEnd;
        if (nameEnd < 0)
            continue;
        qsizetype nameStart = nameEnd;
        while (nameStart > 0 && isNameChar(whole[nameStart - 1]))
            --nameStart;
        const QByteArrayView name = whole.sliced(nameStart, nameEnd - nameStart);
        if (name.isEmpty() || !isNameStart(name[0]) ||
            !containsFolded(nameEnd == wholeEnd ? fields.all : fields.indexed, name))
            continue;
        const qsizetype lhsStart = targetStart(whole, nameEnd, names);
        if (lhsStart < 0 || !startsStatement(whole, lhsStart) || (!above && lhsStart <= firstCode))
            continue;
        // The target, and the part of it on this line, which the rewrite
        // starts with, as written; no comment stands inside them.
        // (A target all on the lines above leaves the operator's line as
        // indented as it is.)
        const qsizetype from =
            lhsEnd == firstCode ? opStart : std::max(lhsStart - shift, firstCode);
        const qsizetype partSize = std::max(lhsEnd - from, qsizetype(0));
        const QByteArrayView part = line.sliced(from, partSize);
        if (part != code.sliced(from, partSize))
            continue;
        const QByteArrayView target = whole.sliced(lhsStart);
        const bool qualified = lhsStart != nameStart;
        if (!qualified && !inMemberOfExtendingType())
            continue;
        int depth = 0;
        const qsizetype end = statementEnd(code, equals + 1, depth);
        if (continued && end == code.size()) {
            // What is assigned goes on over the next line: the bracket is
            // opened here, and closed where the statement ends.
            QByteArray text = part.toByteArray();
            text += " = ";
            text += target;
            text += ' ';
            text += line.sliced(opStart, equals - opStart);
            text += " (";
            rewrites.append(Rewrite{from, equals + 1, std::move(text), true, depth});
            break;
        }
        // What is assigned, told by its code (a comment after it reads as
        // blanks there) and taken from the line (a string as written).
        qsizetype valueStart = equals + 1;
        while (valueStart < end && isBlank(code[valueStart]))
            ++valueStart;
        const qsizetype valueEnd = skipBlanksBack(code, end);
        if (valueEnd <= valueStart)
            continue;
        const QByteArrayView value = line.sliced(valueStart, valueEnd - valueStart);
        QByteArray text = part.toByteArray();
        text += " = ";
        text += target;
        text += ' ';
        text += line.sliced(opStart, equals - opStart);
        text += " (";
        text += value;
        text += ')';
        rewrites.append(Rewrite{from, valueEnd, std::move(text)});
        searchFrom = valueEnd;
    }
    return rewrites;
}

// The dereferenced pointers of one line (its code as the lexer shows it)
// that an assignment stands on: "*c.ptr = 5", "*c.ptr += 1", "*p->ptrs(i) =
// 5", first in its statement, the target names joined by "." or "->" (a with
// block's "." first) that end in an inherited field (or an element of an
// inherited array). The compiler reads "c.ptr = 5" there as the call of the
// property's setter with "*" in front, and refuses it; it reads "*(c.ptr) =
// 5" as the assignment through the pointer the property gives, which is
// what the star means on the parent. The target is written once, so its
// indexes may hold anything. A bare name, which the compiler reads right in
// a member of the extending type, is left alone.
QList<Rewrite> dereferenceRewritesOf(QByteArrayView line, QByteArrayView code,
                                     const PropertyFields& fields) {
    QList<Rewrite> rewrites;
    for (qsizetype star = code.indexOf('*'); star >= 0; star = code.indexOf('*', star + 1)) {
        if (!startsStatement(code, star))
            continue;
        qsizetype at = star + 1;
        while (at < code.size() && isBlank(code[at]))
            ++at;
        const qsizetype targetStart = at;
        // Names, "." and "->" between them, and brackets after a name.
        qsizetype nameStart = -1;
        qsizetype nameEnd = -1;
        bool qualified = false;
        bool indexed = false;
        while (at < code.size()) {
            const char c = code[at];
            if (isNameChar(c)) {
                nameStart = at;
                while (at < code.size() && isNameChar(code[at]))
                    ++at;
                nameEnd = at;
                indexed = false;
            } else if (c == '.' || (c == '-' && at + 1 < code.size() && code[at + 1] == '>')) {
                at += c == '.' ? 1 : 2;
                qualified = true;
                nameStart = -1;
            } else if ((c == '(' || c == '[') && nameEnd == at) {
                const char close = c == '(' ? ')' : ']';
                int depth = 0;
                qsizetype end = at;
                for (; end < code.size(); ++end) {
                    if (code[end] == c)
                        ++depth;
                    else if (code[end] == close && --depth == 0)
                        break;
                }
                if (end == code.size())
                    break;
                indexed = c == '(';
                at = end + 1;
                nameEnd = c == '(' ? nameEnd : -1;
            } else {
                break;
            }
        }
        const qsizetype targetEnd = at;
        if (!qualified || nameStart < 0 || (nameEnd != targetEnd && !indexed) ||
            !isNameStart(code[nameStart]))
            continue;
        const QByteArrayView name = code.sliced(nameStart, nameEnd - nameStart);
        if (!containsFolded(indexed ? fields.indexed : fields.all, name))
            continue;
        // An assignment: "=", or an operator written with "=" ("+=", "shl=").
        while (at < code.size() && isBlank(code[at]))
            ++at;
        const qsizetype equals = code.indexOf('=', at);
        if (equals < 0 || (equals != at && operatorBefore(code, equals) != at))
            continue;
        // The target as written; no comment stands inside it.
        const QByteArrayView target = line.sliced(targetStart, targetEnd - targetStart);
        if (target != code.sliced(targetStart, targetEnd - targetStart))
            continue;
        rewrites.append(Rewrite{targetStart, targetEnd, '(' + target.toByteArray() + ')'});
    }
    return rewrites;
}

// The "line input" statements of one line (its code as the lexer shows it)
// that read into an inherited field reached as a property: "line input
// c.name", "line input ; name" in a member of the extending type, "line input
// #1, c.name", "line input \"Name? \", p->name". The compiler refuses some
// forms and takes the others into a copy of the field, which is lost; they
// are written out as the reading of a string of their own that is then
// assigned, in a scope of their own on the line:
// "scope : dim t__fbext as string : line input t__fbext : c.name = t__fbext :
// end scope" (temporary names the string). The target is written once, after
// the reading, as it would have been set, so the index of an element is
// evaluated once whatever it calls ("c.tags(pick())"). A statement continued
// over lines with " _" is given here as one line (continuedStatementRewrites).
template <typename InMember>
QList<Rewrite> lineInputRewritesOf(QByteArrayView line, QByteArrayView code, bool continued,
                                   const InMember& inMemberOfExtendingType, FileNames& names,
                                   const PropertyFields& fields, QByteArrayView temporary) {
    QList<Rewrite> rewrites;
    InputWords inputs(code);
    for (LineInput input = nextLineInput(code, inputs, 0); input.start >= 0;
         input = nextLineInput(code, inputs, input.afterInput)) {
        const qsizetype start = input.start;
        const qsizetype afterInput = input.afterInput;
        if (!startsStatement(code, start))
            continue;
        int depth = 0;
        const qsizetype end = statementEnd(code, afterInput, depth);
        if (depth != 0 || (continued && end == code.size()))
            continue;
        // The operand read into: after the last "," or ";" outside brackets.
        qsizetype operand = afterInput;
        for (qsizetype at = afterInput; at < end; ++at) {
            const char c = code[at];
            if (c == '(')
                ++depth;
            else if (c == ')')
                --depth;
            else if (depth == 0 && (c == ',' || c == ';'))
                operand = at + 1;
        }
        while (operand < end && isBlank(code[operand]))
            ++operand;
        const qsizetype targetEnd = skipBlanksBack(code, end);
        if (targetEnd <= operand)
            continue;
        const TargetName field = targetNameOf(code, operand, targetEnd, names, true);
        if (field.name.isEmpty() ||
            !containsFolded(field.element ? fields.indexed : fields.all, field.name) ||
            targetStart(code, field.end, names) != operand)
            continue;
        if (field.start == operand && !inMemberOfExtendingType())
            continue;
        // The statement and its target as written (a prompt's string too);
        // no comment stands inside.
        bool commented = false;
        for (qsizetype at = start; at < targetEnd && !commented; ++at)
            commented = code[at] != line[at] && code[at] != CodeLexer::stringByte;
        if (commented)
            continue;
        const QByteArrayView statement = line.sliced(start, operand - start);
        const QByteArrayView target = line.sliced(operand, targetEnd - operand);
        QByteArray text = "scope : dim ";
        text += temporary;
        text += " as string : ";
        text += statement;
        text += temporary;
        text += " : ";
        text += target;
        text += " = ";
        text += temporary;
        text += " : end scope";
        rewrites.append(Rewrite{start, targetEnd, std::move(text)});
    }
    return rewrites;
}

// The "read" statements of one line (its code as the lexer shows it) with a
// target that is an inherited field reached as a property ("read q.id",
// "read a, q.label, b", "read id" in a member of the extending type), which
// the compiler refuses. Each such target is read on its own, into a value
// of its type that is then assigned, in a scope of its own; the targets
// around it keep their "read", in their order:
// "read a : scope : dim t__fbext as typeof(q.label) : read t__fbext :
// q.label = t__fbext : end scope : read b". typeof evaluates nothing, so the
// target, an index of an element too, is evaluated once, after the reading,
// as it would have been set. A statement continued over lines with " _" is
// given here as one line (continuedStatementRewrites).
template <typename InMember>
QList<Rewrite> readRewritesOf(QByteArrayView line, QByteArrayView code, bool continued,
                              const InMember& inMemberOfExtendingType, FileNames& names,
                              const PropertyFields& fields, QByteArrayView temporary) {
    QList<Rewrite> rewrites;
    const qsizetype codeSize = code.size();
    code = beforeRem(code);
    continued = continued && code.size() == codeSize;
    ReadWords reads(code);
    for (qsizetype at = reads.next(0); at >= 0; at = reads.next(at + 1)) {
        const qsizetype operands = at + 4;
        if (operands >= code.size() || !isBlank(code[operands]) || !startsStatement(code, at))
            continue;
        int depth = 0;
        const qsizetype end = statementEnd(code, operands, depth);
        if (depth != 0 || (continued && end == code.size()))
            continue;
        // The targets, between the "," outside brackets.
        QList<std::pair<qsizetype, qsizetype>> targets;
        bool anyField = false;
        bool complete = true; // every target is one
        bool plain = true;    // no comment or string stands in the statement
        for (qsizetype from = operands, to = operands; from <= end; from = to + 1) {
            for (to = from; to < end && (depth > 0 || code[to] != ','); ++to) {
                if (code[to] == '(')
                    ++depth;
                else if (code[to] == ')')
                    --depth;
            }
            qsizetype start = from;
            while (start < to && isBlank(code[start]))
                ++start;
            const qsizetype targetEnd = skipBlanksBack(code, to);
            if (targetEnd <= start) {
                complete = false;
                break;
            }
            for (qsizetype i = start; i < targetEnd; ++i)
                plain = plain && code[i] == line[i];
            targets.append({start, targetEnd});
            const TargetName target = targetNameOf(code, start, targetEnd, names, true);
            if (target.name.isEmpty() ||
                !containsFolded(target.element ? fields.indexed : fields.all, target.name))
                continue;
            const bool bare = target.start == start;
            if (!bare && !isReachedThrough(code, target.start))
                continue;
            if (bare && !inMemberOfExtendingType())
                continue;
            targets.last().first = -start - 1; // marks a field's target
            anyField = true;
        }
        if (!anyField || !complete || !plain)
            continue;
        QByteArray text;
        bool inRead = false; // after a "read" whose targets are still being written
        for (const auto& [first, targetEnd] : std::as_const(targets)) {
            const bool field = first < 0;
            const qsizetype start = field ? -first - 1 : first;
            const QByteArrayView target = line.sliced(start, targetEnd - start);
            if (!field) {
                if (inRead) {
                    text += ", ";
                } else {
                    text += text.isEmpty() ? "" : " : ";
                    text += line.sliced(at, 4); // "read" as written
                    text += ' ';
                }
                text += target;
                inRead = true;
                continue;
            }
            text += text.isEmpty() ? "scope : dim " : " : scope : dim ";
            text += temporary;
            text += " as typeof(";
            text += target;
            text += ") : read ";
            text += temporary;
            text += " : ";
            text += target;
            text += " = ";
            text += temporary;
            text += " : end scope";
            inRead = false;
        }
        rewrites.append(Rewrite{at, skipBlanksBack(code, end), std::move(text)});
    }
    return rewrites;
}

// An operand of a swap that may be written twice, from start to end of a
// line's code: names joined by "." or "->" as for a compound assignment's
// target, perhaps ending in an element of an array of the file or of an
// inherited array.
struct SwapOperand {
    qsizetype start = -1; // -1: no such operand
    qsizetype end = -1;
    bool propertyField = false; // ends in an inherited field reached as a property
    bool bare = false;          // "hits" or "scores(i)" alone
};

SwapOperand swapOperandOf(QByteArrayView code, qsizetype start, qsizetype end, FileNames& names,
                          const PropertyFields& fields) {
    while (start < end && isBlank(code[start]))
        ++start;
    end = skipBlanksBack(code, end);
    if (end <= start)
        return {};
    const TargetName target = targetNameOf(code, start, end, names);
    if (target.name.isEmpty() || targetStart(code, target.end, names) != start)
        return {};
    const bool propertyField =
        containsFolded(target.element ? fields.swappableIndexed : fields.swappable, target.name);
    // Any other element is one of an array of the file, which reads the same
    // twice.
    if (target.element && !propertyField &&
        (!names.isArray(target.name) || names.isCall(target.name)))
        return {};
    return SwapOperand{start, end, propertyField, target.start == start};
}

// The swaps of one line (its code as the lexer shows it) to be written out:
// those of which an operand is an inherited field reached as a property, of a
// copy or by reference (fields.swappable), which swap cannot take, as the
// statements that exchange the two values through a copy, in a scope of their
// own so that a line may hold several:
// "scope : var t__fbext = c.x : c.x = c.y : c.y = t__fbext : end scope". The
// compiler takes the scope after "then" and "else" of a one-line if too. A
// swap continued over lines with " _" is left as written.
template <typename InMember>
QList<Rewrite> swapRewritesOf(QByteArrayView line, QByteArrayView code, bool continued,
                              const InMember& inMemberOfExtendingType, FileNames& names,
                              const PropertyFields& fields, QByteArrayView temporary) {
    QList<Rewrite> rewrites;
    const qsizetype codeSize = code.size();
    code = beforeRem(code);
    continued = continued && code.size() == codeSize;
    SwapWords swaps(code);
    for (qsizetype at = swaps.next(0); at >= 0; at = swaps.next(at + 1)) {
        const qsizetype operands = at + 4;
        if (operands >= code.size() || !isBlank(code[operands]) || !startsStatement(code, at))
            continue;
        // The first operand ends at the "," outside brackets.
        int depth = 0;
        qsizetype comma = operands;
        for (; comma < code.size(); ++comma) {
            const char c = code[comma];
            if (c == '(' || c == '[')
                ++depth;
            else if (c == ')' || c == ']')
                --depth;
            else if (depth == 0 && (c == ',' || c == ':'))
                break;
        }
        if (comma == code.size() || code[comma] != ',')
            continue;
        depth = 0;
        const qsizetype end = statementEnd(code, comma + 1, depth);
        if (depth != 0 || (continued && end == code.size()))
            continue;
        const SwapOperand first = swapOperandOf(code, operands, comma, names, fields);
        const SwapOperand second = swapOperandOf(code, comma + 1, end, names, fields);
        if (first.start < 0 || second.start < 0)
            continue;
        // A bare name is an inherited field only in a member of the
        // extending type.
        const bool property =
            (first.propertyField && !first.bare) || (second.propertyField && !second.bare) ||
            ((first.propertyField || second.propertyField) && inMemberOfExtendingType());
        if (!property)
            continue;
        // The operands as written; no comment or string stands in them.
        const QByteArrayView a = line.sliced(first.start, first.end - first.start);
        const QByteArrayView b = line.sliced(second.start, second.end - second.start);
        if (a != code.sliced(first.start, a.size()) || b != code.sliced(second.start, b.size()))
            continue;
        QByteArray text = "scope : var ";
        text += temporary;
        text += " = ";
        text += a;
        text += " : ";
        text += a;
        text += " = ";
        text += b;
        text += " : ";
        text += b;
        text += " = ";
        text += temporary;
        text += " : end scope";
        rewrites.append(Rewrite{at, second.end, std::move(text)});
    }
    return rewrites;
}

// The names (case-folded) that swaps on the line may exchange bare ("swap
// hits, misses", "swap scores(i), scores(j)"), added to names, as
// bareTargetsOf looks for them. Returns whether it found any.
bool bareSwapTargetsOf(QByteArrayView line, QSet<QByteArray>& names) {
    bool found = false;
    SwapWords swaps(line);
    for (qsizetype at = swaps.next(0); at >= 0; at = swaps.next(at + 1)) {
        qsizetype from = at + 4;
        for (int operand = 0; operand < 2; ++operand) {
            while (from < line.size() && isBlank(line[from]))
                ++from;
            qsizetype end = from;
            while (end < line.size() && isNameChar(line[end]))
                ++end;
            if (end > from && (end == line.size() || line[end] != '.')) {
                names.insert(caseFolded(line.sliced(from, end - from)));
                found = true;
            }
            // On to the second operand, after the "," outside brackets.
            int depth = 0;
            while (end < line.size() && (depth > 0 || line[end] != ',')) {
                if (line[end] == '(')
                    ++depth;
                else if (line[end] == ')')
                    --depth;
                ++end;
            }
            from = end + 1;
        }
    }
    return found;
}

// The names (case-folded) that compound assignments on the line may assign
// bare ("hits += 1", not "c.hits += 1"), added to names: a cheap look, which
// may find one where the lexer would not. Returns whether it found any.
bool bareTargetsOf(QByteArrayView line, QSet<QByteArray>& names) {
    bool found = false;
    for (qsizetype equals = line.indexOf('='); equals > 0; equals = line.indexOf('=', equals + 1)) {
        const qsizetype op = operatorBefore(line, equals);
        if (op < 0)
            continue;
        qsizetype end = op;
        while (end > 0 && isBlank(line[end - 1]))
            --end;
        if (end > 0 && line[end - 1] == ')') {
            // An element: the name before its index ("scores(i) += 1").
            int depth = 0;
            while (end > 0) {
                const char c = line[--end];
                if (c == ')')
                    ++depth;
                else if (c == '(' && --depth == 0)
                    break;
            }
        }
        qsizetype start = end;
        while (start > 0 && isNameChar(line[start - 1]))
            --start;
        if (start < end && (start == 0 || (line[start - 1] != '.' && line[start - 1] != '>'))) {
            names.insert(caseFolded(line.sliced(start, end - start)));
            found = true;
        }
    }
    return found;
}

// The names (case-folded) that "line input" statements on the line may read
// into bare ("line input name", "line input #1, names(i)"), added to names, as
// bareTargetsOf looks for them. Returns whether it found any.
bool bareLineInputTargetsOf(QByteArrayView line, QSet<QByteArray>& names) {
    bool found = false;
    InputWords inputs(line);
    for (LineInput input = nextLineInput(line, inputs, 0); input.start >= 0;
         input = nextLineInput(line, inputs, input.afterInput)) {
        qsizetype from = input.afterInput;
        qsizetype operand = from;
        for (; from < line.size() && line[from] != ':'; ++from) {
            if (line[from] == ',' || line[from] == ';')
                operand = from + 1;
        }
        while (operand < line.size() && isBlank(line[operand]))
            ++operand;
        qsizetype end = operand;
        while (end < line.size() && isNameChar(line[end]))
            ++end;
        if (end > operand && (end == line.size() || (line[end] != '.' && line[end] != '-'))) {
            names.insert(caseFolded(line.sliced(operand, end - operand)));
            found = true;
        }
    }
    return found;
}

// The names (case-folded) that "read" statements on the line may read into
// bare ("read id, label", "read scores(i)"), added to names, as bareTargetsOf
// looks for them. Returns whether it found any.
bool bareReadTargetsOf(QByteArrayView line, QSet<QByteArray>& names) {
    bool found = false;
    ReadWords reads(line);
    for (qsizetype at = reads.next(0); at >= 0; at = reads.next(at + 1)) {
        int depth = 0;
        for (qsizetype from = at + 4; from < line.size() && line[from] != ':'; ++from) {
            if (line[from] == '(')
                ++depth;
            else if (line[from] == ')')
                --depth;
            if (from != at + 4 && (depth > 0 || line[from] != ','))
                continue;
            qsizetype start = from + 1;
            while (start < line.size() && isBlank(line[start]))
                ++start;
            qsizetype end = start;
            while (end < line.size() && isNameChar(line[end]))
                ++end;
            if (end > start && (end == line.size() || (line[end] != '.' && line[end] != '-'))) {
                names.insert(caseFolded(line.sliced(start, end - start)));
                found = true;
            }
        }
    }
    return found;
}

// The fields a record inherits, by name.
using InheritedFields = QMultiHash<QByteArray, const MemberEntry*>;

InheritedFields inheritedFieldsOf(const QList<TypeRecord>& records, const TypeRecord& record) {
    InheritedFields fields;
    for (const InheritedMember& member : record.inherited) {
        if (member.record == InheritedMember::gap)
            continue;
        const MemberEntry& entry = records[member.record].members[member.member];
        if (entry.key.memberClass == MemberClass::field)
            fields.insert(entry.key.name, &entry);
    }
    return fields;
}

// Whether one of names is a field of inherited that the type reaches as a
// property giving a copy (or a reference too, byReference).
bool inheritsPropertyField(const InheritedFields& inherited, const QSet<QByteArray>& names,
                           bool byReference) {
    for (const QByteArray& name : names) {
        for (auto it = inherited.constFind(name); it != inherited.cend() && it.key() == name; ++it)
            if (copyGiven((*it)->declaration, byReference) != Copy::none)
                return true;
    }
    return false;
}

// The lines of the file where a member implementation of an extending type
// assigns compoundly a bare name that the type inherits as such a field. The
// procedure of a line that may is looked for upwards, down to the line
// looked at before, so no line is read twice for it.
QSet<quint64> bareLinesOf(const QList<TypeRecord>& records, const LineIndex& lines,
                          const QList<LineOrigin>& origins, const PropertyFields& fields,
                          const QList<qsizetype>& compoundLines) {
    QSet<quint64> bareLines;
    std::optional<RecordIndex> index; // made for the first line that needs it
    QByteArrayView header;
    const TypeRecord* record = nullptr; // the extending type header implements a member of
    // The fields the type of the member being read inherits, gathered when a
    // line first asks (a member may hold thousands of lines that ask), and
    // kept for that type alone: a member's lines follow one another.
    const TypeRecord* fieldsOf = nullptr;
    InheritedFields inheritedFields;
    const auto fieldsInherited = [&](const TypeRecord& of) -> const InheritedFields& {
        if (fieldsOf != &of) {
            inheritedFields = inheritedFieldsOf(records, of);
            fieldsOf = &of;
        }
        return inheritedFields;
    };
    qsizetype knownFrom = -1;
    QSet<QByteArray> names;
    QSet<QByteArray> swapped;
    qsizetype joinedThrough = -1; // the last line of a statement joined
    for (const qsizetype i : compoundLines) {
        const QByteArrayView line = lines[i];
        names.clear();
        swapped.clear();
        const bool swapping = bareSwapTargetsOf(line, swapped);
        bool assigning = bareTargetsOf(line, names);
        if (i > 0) {
            // A target on the line above, which this one continues ("hp _"
            // then "+= 3").
            const QByteArrayView above = codeOf(lines[i - 1]).trimmed();
            if (above.endsWith('_'))
                assigning = bareTargetsOf(above.chopped(1).toByteArray() + ' ' + line.toByteArray(),
                                          names) ||
                            assigning;
        }
        bool reading = bareLineInputTargetsOf(line, names);
        bool readingData = bareReadTargetsOf(line, names);
        if ((reading || readingData) && i > joinedThrough && endsInContinuation(codeOf(line))) {
            // The statement goes on over the lines below ("read x, _" then
            // "  label"): its targets are read on it joined into one line
            // (once: a line it joined is not joined again).
            QByteArray statement;
            qsizetype last = i;
            for (; last + 1 < lines.size(); ++last) {
                const QByteArrayView code = codeOf(lines[last]);
                if (!endsInContinuation(code))
                    break;
                statement += code.chopped(1);
                statement += ' ';
            }
            statement += lines[last];
            joinedThrough = last;
            reading = bareLineInputTargetsOf(statement, names) || reading;
            readingData = bareReadTargetsOf(statement, names) || readingData;
        }
        if (!assigning && !reading && !readingData && !swapping)
            continue;
        const QByteArrayView was = header;
        for (qsizetype above = i; above > knownFrom; --above) {
            const QByteArrayView candidate = lines[above];
            const QByteArrayView word = firstToken(candidate);
            if (!word.isEmpty() && opensProcedure(candidate, word)) {
                const bool ended =
                    above != i && candidate.contains(':') && endsProcedure(candidate, word);
                header = ended ? QByteArrayView() : candidate;
                break;
            }
            if (above != i && isKeyword(word, "end") && endsProcedure(candidate, word)) {
                header = QByteArrayView();
                break;
            }
            if (above == 0)
                header = QByteArrayView();
        }
        knownFrom = i;
        if (header.data() != was.data() || header.size() != was.size()) {
            record = nullptr;
            if (!header.isNull()) {
                if (!index)
                    index.emplace(records);
                const qsizetype at = index->find(implementedType(codeOf(header)));
                if (at >= 0 && !records[at].inherited.isEmpty())
                    record = &records[at];
            }
        }
        bool any = false;
        for (const QByteArray& name : std::as_const(names))
            any = any || fields.all.contains(name) || fields.indexed.contains(name);
        bool anySwapped = false;
        for (const QByteArray& name : std::as_const(swapped))
            anySwapped = anySwapped || fields.swappable.contains(name) ||
                         fields.swappableIndexed.contains(name);
        if (record &&
            ((any && inheritsPropertyField(fieldsInherited(*record), names, false)) ||
             (anySwapped && inheritsPropertyField(fieldsInherited(*record), swapped, true))))
            bareLines.insert(PropertyFields::keyOf(origins.value(i)));
        if (header.data() == line.data() && line.contains(':') &&
            endsProcedure(line, firstToken(line))) {
            header = QByteArrayView();
            record = nullptr;
        }
    }
    return bareLines;
}

// A "read" or "line input" statement continued over lines with " _", read as
// one line from the line that starts it: each line's code and text up to its
// continuation "_", which with what follows it on its line reads as one
// blank, joined; parts says where each line's share of the joined line
// starts there and in the file. Empty when the file ends while the statement
// is still continued.
struct JoinedLines {
    QByteArray line;
    QByteArray code;
    QList<std::pair<qsizetype, qsizetype>> parts; // (in the joined line, in the file)
    qsizetype end = 0;                            // in the file, of its last line

    // Where a position of the joined line stands in the file.
    qsizetype inFile(qsizetype at) const {
        qsizetype part = parts.size() - 1;
        while (part > 0 && parts[part].first > at)
            --part;
        return parts[part].second + at - parts[part].first;
    }
};

std::optional<JoinedLines> joinContinuedLines(QByteArrayView all, qsizetype lineStart,
                                              QByteArrayView line, QByteArrayView code,
                                              CodeLexer lexer) {
    JoinedLines joined;
    qsizetype from = lineStart; // where the part of the line joined starts in the file
    for (;;) {
        joined.parts.append({joined.line.size(), from});
        if (!lexer.isContinued()) {
            joined.line += line;
            joined.code += code;
            joined.end = from + line.size();
            return joined;
        }
        // The code stops short of the "_", or has it blanked out.
        const qsizetype codeEnd = skipBlanksBack(code, code.size());
        joined.line += line.first(codeEnd);
        joined.line += ' ';
        joined.code += code.first(codeEnd);
        joined.code += ' ';
        lineStart = from + line.size() + 1;
        if (lineStart > all.size())
            return std::nullopt; // the file ends first
        qsizetype lineEnd = all.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = all.size();
        code = lexer.next(all.sliced(lineStart, lineEnd - lineStart));
        // The next line's indentation is not joined.
        qsizetype indent = 0;
        while (indent < code.size() && isBlank(code[indent]))
            ++indent;
        from = lineStart + indent;
        line = all.sliced(from, lineEnd - from);
        code = code.sliced(indent);
    }
}

// The rewrites of the "read" and "line input" statements that start on a
// line continued over the next ones, made on the statement read as one line
// and placed back in the file: each replaces its statement's text, on the
// lines it spans, with one line, followed by as many line ends as it took,
// so that the lines after it keep their numbers (positions from lineStart).
template <typename Rewriter>
QList<Rewrite> continuedStatementRewrites(QByteArrayView all, qsizetype lineStart,
                                          QByteArrayView line, QByteArrayView code,
                                          const CodeLexer& lexer, const Rewriter& rewritesOf,
                                          qsizetype& joinedTo) {
    const std::optional<JoinedLines> joined = joinContinuedLines(all, lineStart, line, code, lexer);
    if (!joined)
        return {};
    joinedTo = joined->end;
    QList<Rewrite> rewrites =
        rewritesOf(QByteArrayView(joined->line), QByteArrayView(joined->code));
    for (Rewrite& rewrite : rewrites) {
        const qsizetype from = joined->inFile(rewrite.from);
        const qsizetype to = joined->inFile(rewrite.to);
        rewrite.text += QByteArray(countLineFeeds(all.sliced(from, to - from)), '\n');
        rewrite.from = from - lineStart;
        rewrite.to = to - lineStart;
    }
    return rewrites;
}

} // namespace

namespace {

// What the cheap looks at a line search for: the "=" of a compound
// assignment, and the letter pairs that "swap", "input" and "read" are found
// by ("sw", "np", "ad", in any letter case).
enum LookedFor : unsigned { equalsSign = 1, swapPair = 2, inputPair = 4, readPair = 8 };

// Which of them a line holds, from one pass over its bytes: each look that
// needs what the line lacks (most lines lack all the pairs) is not taken. A
// pair is found by its second byte, kept only where the byte before it is
// the pair's first.
unsigned lookedForIn(QByteArrayView line) {
    using Table = std::array<unsigned char, 256>;
    static constexpr Table seconds = [] {
        Table table{};
        table['='] = equalsSign;
        table['w'] = table['W'] = swapPair;
        table['p'] = table['P'] = inputPair;
        table['d'] = table['D'] = readPair;
        return table;
    }();
    static constexpr Table after = [] {
        Table table{};
        for (unsigned char& bits : table)
            bits = equalsSign;
        table['s'] = table['S'] = equalsSign | swapPair;
        table['n'] = table['N'] = equalsSign | inputPair;
        table['a'] = table['A'] = equalsSign | readPair;
        return table;
    }();
    unsigned found = 0;
    const char* data = line.data();
    const qsizetype size = line.size();
    qsizetype at = 0;
#ifdef __SSE2__
    // Sixteen places at a time: each byte, and each pair of it and the byte
    // after it, the case bit set on both.
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const auto pairs = [&caseBit](__m128i here, __m128i next, char first, char second) {
        return _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(here, caseBit), _mm_set1_epi8(first)),
                             _mm_cmpeq_epi8(_mm_or_si128(next, caseBit), _mm_set1_epi8(second)));
    };
    __m128i equals = _mm_setzero_si128();
    __m128i swaps = _mm_setzero_si128();
    __m128i inputs = _mm_setzero_si128();
    __m128i reads = _mm_setzero_si128();
    for (; at + 17 <= size; at += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 1));
        equals = _mm_or_si128(equals, _mm_cmpeq_epi8(here, _mm_set1_epi8('=')));
        swaps = _mm_or_si128(swaps, pairs(here, next, 's', 'w'));
        inputs = _mm_or_si128(inputs, pairs(here, next, 'n', 'p'));
        reads = _mm_or_si128(reads, pairs(here, next, 'a', 'd'));
    }
    found |= _mm_movemask_epi8(equals) != 0 ? equalsSign : 0u;
    found |= _mm_movemask_epi8(swaps) != 0 ? swapPair : 0u;
    found |= _mm_movemask_epi8(inputs) != 0 ? inputPair : 0u;
    found |= _mm_movemask_epi8(reads) != 0 ? readPair : 0u;
#endif
    // The rest byte by byte (the pair that ends at the first of them was read
    // with the blocks).
    unsigned char previous = 0;
    for (; at < size; ++at) {
        const auto byte = static_cast<unsigned char>(data[at]);
        found |= seconds[byte] & after[previous];
        previous = byte;
    }
    return found;
}

} // namespace

// Whether a line of a type block declares an operator that assigns in place
// ("declare operator += (byref v as Vec)", "operator shl= (...)").
bool declaresInPlaceOperator(QByteArrayView line) {
    const QByteArrayView code = codeOf(line);
    const qsizetype at = indexOfWord(code, "operator");
    if (at < 0)
        return false;
    const qsizetype start = at + qsizetype(sizeof("operator")) - 1;
    qsizetype end = code.indexOf('(', start);
    if (end < 0)
        end = code.size();
    QByteArray name = code.sliced(start, end - start).toByteArray();
    name.removeIf([](char c) { return isBlank(c); });
    return name.size() > 1 && name.endsWith('=');
}

QList<qsizetype> compoundAssignmentLines(const LineIndex& lines) {
    QList<qsizetype> found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView line = lines[i];
        const unsigned bytes = lookedForIn(line);
        if (((bytes & equalsSign) && mayAssignCompound(line)) ||
            ((bytes & swapPair) && maySwap(line)) || ((bytes & inputPair) && mayLineInput(line)) ||
            ((bytes & readPair) && mayRead(line)))
            found.append(i);
    }
    return found;
}

PropertyFields propertyFieldsOf(const QList<TypeRecord>& records, const LineIndex& lines,
                                const QList<LineOrigin>& origins,
                                const QList<qsizetype>& compoundLines,
                                const QSet<QByteArray>& headerEnums) {
    PropertyFields fields;
    forEachInheritedField(
        records, [&fields](const TypeRecord&, const TypeRecord&, const MemberEntry& entry) {
            if (QSet<QByteArray>* names = namesOf(fields, copyGiven(entry.declaration)))
                names->insert(entry.key.name);
            const Copy reached = copyGiven(entry.declaration, true);
            if (reached == Copy::field)
                fields.swappable.insert(entry.key.name);
            else if (reached == Copy::element)
                fields.swappableIndexed.insert(entry.key.name);
        });
    if (fields.swappable.isEmpty() && fields.swappableIndexed.isEmpty())
        return fields;
    // A field of any type block with such a name and a type of the program's:
    // only lines that name one are read as fields ("hits as T", "dim hits as
    // T", "as T hits, misses").
    QSet<QByteArray> typedAsOwn;
    // An enum's value is a number: its "+=" is its "+". So is a value of a
    // type of the file that declares no operator assigning in place and
    // extends nothing: the compiler reads "x += y" on it as "x = x + y". The
    // file's enums and such types are found when a field of a type of the
    // program's is met; its headers' enums are known.
    std::optional<QSet<QByteArray>> enums;
    QSet<QByteArray> plainTypes;
    const auto ownType = [&](QByteArrayView type) {
        if (isBuiltinValue(type))
            return false;
        if (!enums) {
            enums = enumNamesOf(lines);
            QSet<QByteArray> inPlace;
            for (const TypeRecord& record : records) {
                const QByteArray name = caseFolded(record.typeName);
                bool assigns = !record.parentName.isEmpty() || record.blockEnd < 0;
                for (qsizetype i = record.typeLine + 1; !assigns && i < record.blockEnd; ++i)
                    assigns = declaresInPlaceOperator(lines[i]);
                if (assigns)
                    inPlace.insert(name);
                else
                    plainTypes.insert(name);
            }
            // A name declared twice counts with its every declaration.
            for (const QByteArray& name : std::as_const(inPlace))
                plainTypes.remove(name);
        }
        const QByteArray folded = caseFolded(type.trimmed());
        return !enums->contains(folded) && !headerEnums.contains(folded) &&
               !plainTypes.contains(folded);
    };
    for (const TypeRecord& record : records) {
        for (qsizetype i = record.typeLine + 1; i < record.blockEnd; ++i) {
            const QByteArrayView line = lines[i];
            QByteArrayView first = firstToken(line);
            if (isKeyword(first, "dim"))
                first = firstToken(line.sliced(first.data() + first.size() - line.data()));
            qsizetype nameEnd = 0;
            while (nameEnd < first.size() && isNameChar(first[nameEnd]))
                ++nameEnd;
            if (nameEnd == 0 ||
                (!isKeyword(first, "as") && !containsFolded(fields.all, first.first(nameEnd)) &&
                 !containsFolded(fields.indexed, first.first(nameEnd))))
                continue;
            // "hits as integer", most fields, told at once; other forms read
            // whole.
            if (nameEnd == first.size() && !isKeyword(first, "as")) {
                const QByteArrayView rest =
                    codeOf(line.sliced(first.data() + first.size() - line.data()));
                const QByteArrayView as = firstToken(rest);
                if (isKeyword(as, "as") && !rest.contains('=')) {
                    if (ownType(rest.sliced(as.data() + as.size() - rest.data()).trimmed()))
                        typedAsOwn.insert(caseFolded(first));
                    continue;
                }
            }
            for (const FieldForm& field : fieldsOfLine(line)) {
                const QByteArray name = caseFolded(field.name);
                if ((fields.all.contains(name) || fields.indexed.contains(name)) &&
                    ownType(field.type))
                    typedAsOwn.insert(name);
            }
        }
    }
    for (const QByteArray& name : std::as_const(typedAsOwn)) {
        fields.all.remove(name); // every name is looked up in all first
        fields.indexed.remove(name);
    }
    // A swap goes through a copy, which means the same for any value: its
    // operands keep every name.
    fields.bareLines = bareLinesOf(records, lines, origins, fields, compoundLines);
    return fields;
}

void spellOutCompoundAssignments(MappedText& text, const PropertyFields& fields) {
    if (fields.all.isEmpty() && fields.indexed.isEmpty() && fields.swappable.isEmpty() &&
        fields.swappableIndexed.isEmpty())
        return;
    const QByteArray& source = text.text;
    const QByteArrayView all(source);
    // Few lines hold a compound assignment, and they are found by their "="
    // alone; only those lines are read, and only as much before them as tells
    // whether they stand in a comment.
    const bool blockComments = containsCommentOpening(all);
    CommentTracker comments;
    qsizetype commentsAt = 0; // where the next line the tracker has not seen starts
    qsizetype lineNumber = 0; // of the line that starts at countedTo
    qsizetype countedTo = 0;
    QByteArray result;
    qsizetype copied = 0; // source bytes up to here are in result
    FileNames names(all); // asked about elements and pointers
    // Lines with a swap are found by its word, as cheaply.
    SwapWords swaps(all);
    // And lines with "line input" by the word "input", and "read" by its own.
    InputWords inputs(all);
    ReadWords reads(all);
    qsizetype equals = -2;
    qsizetype swap = -2;
    qsizetype input = -2;
    qsizetype read = -2;
    // The name of the copies that swaps and reads go through, chosen when
    // the first is written out.
    QByteArray temporary;
    // Where the last read or line input continued over lines, read whole,
    // ends.
    qsizetype joinedTo = -1;
    const auto temporaryName = [&]() -> QByteArrayView {
        if (temporary.isEmpty())
            temporary = unusedTemporaryName(all);
        return temporary;
    };
    for (qsizetype at = 0;;) {
        if (equals != -1 && equals < at)
            equals = all.indexOf('=', at);
        if (swap != -1 && swap < at)
            swap = swaps.next(at);
        if (input != -1 && input < at)
            input = inputs.next(at);
        if (read != -1 && read < at)
            read = reads.next(at);
        qsizetype found = -1;
        for (const qsizetype candidate : {equals, swap, input, read}) {
            if (candidate >= 0 && (found < 0 || candidate < found))
                found = candidate;
        }
        if (found < 0)
            break;
        const qsizetype lineStart = found == 0 ? 0 : all.lastIndexOf('\n', found - 1) + 1;
        qsizetype lineEnd = all.indexOf('\n', found);
        if (lineEnd < 0)
            lineEnd = all.size();
        at = lineEnd + 1;
        const QByteArrayView line = all.sliced(lineStart, lineEnd - lineStart);
        const bool compound = mayAssignCompound(line);
        const bool swapping = swap >= 0 && swap < lineEnd;
        const bool dereferencing = !fields.all.isEmpty() && mayAssignThroughPointer(line);
        const bool reading = input >= 0 && input < lineEnd && mayLineInput(line);
        const bool readingData = read >= 0 && read < lineEnd;
        if (!compound && !swapping && !dereferencing && !reading && !readingData)
            continue;
        bool startsInComment = false;
        if (blockComments) {
            bool inComment = false;
            while (commentsAt <= lineStart) {
                qsizetype end = all.indexOf('\n', commentsAt);
                if (end < 0)
                    end = all.size();
                inComment = comments.startsInComment(all.sliced(commentsAt, end - commentsAt));
                commentsAt = end + 1;
            }
            // A comment may end on the line, and code follow it.
            if (inComment && !line.contains("'/"))
                continue;
            startsInComment = inComment;
        }
        const QByteArrayView first = firstToken(line);
        if (first.startsWith('#'))
            continue;
        // Whether a bare name here is an inherited field: the line (or its
        // copy on a twin) was found to be one of an extending type's members
        // that assigns such a field (PropertyFields::bareLines).
        const auto inMemberOfExtendingType = [&]() -> bool {
            lineNumber += countLineFeeds(all.sliced(countedTo, lineStart - countedTo));
            countedTo = lineStart;
            return fields.bareLines.contains(PropertyFields::keyOf(text.origins.value(lineNumber)));
        };
        CodeLexer lexer;
        if (startsInComment)
            lexer.next("/'");
        const QByteArrayView code = lexer.next(line);
        QList<Rewrite> rewrites;
        // The code of the lines above that this one continues, joined.
        std::optional<std::optional<QByteArray>> above;
        const auto continuedAbove = [&]() -> const std::optional<QByteArray>& {
            if (!above)
                above = continuedCodeAbove(all, lineStart);
            return *above;
        };
        if (compound)
            rewrites = rewritesOf(line, code, lexer.isContinued(), inMemberOfExtendingType,
                                  continuedAbove, names, fields);
        QList<Rewrite> others;
        if (swapping)
            others = swapRewritesOf(line, code, lexer.isContinued(), inMemberOfExtendingType, names,
                                    fields, temporaryName());
        if (dereferencing)
            others += dereferenceRewritesOf(line, code, fields);
        const auto readRewrites = [&](QByteArrayView statement, QByteArrayView statementCode,
                                      bool continued) {
            QList<Rewrite> found;
            if (reading)
                found +=
                    lineInputRewritesOf(statement, statementCode, continued,
                                        inMemberOfExtendingType, names, fields, temporaryName());
            if (readingData)
                found += readRewritesOf(statement, statementCode, continued,
                                        inMemberOfExtendingType, names, fields, temporaryName());
            return found;
        };
        // A line of a statement read whole on a line above was read with it.
        if ((reading || readingData) && lineStart >= joinedTo) {
            if (lexer.isContinued())
                others += continuedStatementRewrites(
                    all, lineStart, line, code, lexer,
                    [&](QByteArrayView joined, QByteArrayView joinedCode) {
                        return readRewrites(joined, joinedCode, false);
                    },
                    joinedTo);
            else
                others += readRewrites(line, code, false);
        }
        if (!others.isEmpty()) {
            rewrites += others;
            std::stable_sort(rewrites.begin(), rewrites.end(),
                             [](const Rewrite& a, const Rewrite& b) { return a.from < b.from; });
            // A continued value's rewrite takes the rest of the line.
            for (qsizetype i = 1; i < rewrites.size();) {
                const Rewrite& before = rewrites[i - 1];
                if (rewrites[i].from < (before.open ? line.size() : before.to))
                    rewrites.removeAt(i);
                else
                    ++i;
            }
        }
        for (const Rewrite& rewrite : std::as_const(rewrites)) {
            if (lineStart + rewrite.from < copied)
                continue;         // in a value continued from a line above
            qsizetype close = -1; // where a continued value's bracket closes
            if (rewrite.open) {
                int depth = rewrite.depth;
                for (qsizetype next = lineEnd + 1; next <= all.size();) {
                    qsizetype nextEnd = all.indexOf('\n', next);
                    if (nextEnd < 0)
                        nextEnd = all.size();
                    const QByteArrayView lexed = lexer.next(all.sliced(next, nextEnd - next));
                    const QByteArrayView nextCode = beforeRem(lexed);
                    const qsizetype end = statementEnd(nextCode, 0, depth);
                    if (end < nextCode.size() || !lexer.isContinued() ||
                        nextCode.size() < lexed.size()) {
                        close = next + skipBlanksBack(nextCode, end);
                        break;
                    }
                    next = nextEnd + 1;
                }
                if (close < 0)
                    break; // the file ends first
            }
            if (result.isNull())
                result.reserve(source.size() + source.size() / 16);
            result.append(source.constData() + copied, lineStart + rewrite.from - copied);
            result += rewrite.text;
            copied = lineStart + rewrite.to;
            if (close >= 0) {
                result.append(source.constData() + copied, close - copied);
                result += ')';
                copied = close;
            }
        }
    }
    if (result.isNull())
        return;
    result.append(source.constData() + copied, source.size() - copied);
    text.text = std::move(result);
}
