#include "membersyntax.h"

#include "characters.h"
#include "lines.h"

namespace {

QByteArrayView trimmed(QByteArrayView text) {
    qsizetype start = 0, end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.sliced(start, end - start);
}

// Walks text outside strings, calling visit(position, depth) for every byte
// that is not inside a string literal; visit returns true to stop there.
template <typename Visit> qsizetype walkCode(QByteArrayView text, qsizetype from, Visit visit) {
    int depth = 0;
    for (qsizetype i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            i = pastString(text, i) - 1;
            continue;
        }
        if (c == '(' || c == '{' || c == '[')
            ++depth;
        else if ((c == ')' || c == '}' || c == ']') && depth > 0)
            --depth;
        else if (visit(i, depth))
            return i;
    }
    return -1;
}

// The parameter text between the "(" at open and the ")" that closes it
// (to the end when none does), and where the text after it starts.
QByteArrayView bracketed(QByteArrayView text, qsizetype open, qsizetype& after) {
    int depth = 0;
    for (qsizetype i = open; i < text.size(); ++i) {
        if (text[i] == '"') {
            i = pastString(text, i) - 1;
        } else if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')' && --depth == 0) {
            after = i + 1;
            return text.sliced(open + 1, i - open - 1);
        }
    }
    after = text.size();
    return text.sliced(qMin(open + 1, text.size()));
}

// Appends text with every run of white space made one space, ends trimmed;
// case-folded when fold is set.
void appendSingleSpaced(QByteArray& out, QByteArrayView text, bool fold) {
    bool first = true;
    for (const QByteArrayView word : lineTokens(text)) {
        if (!first)
            out += ' ';
        first = false;
        if (!fold) {
            out += word;
            continue;
        }
        const qsizetype at = out.size();
        out.resize(at + word.size());
        char* data = out.data() + at;
        for (const char c : word)
            *data++ = foldCase(c);
    }
}

// The word (blank-separated) that starts at or after position at, which then
// stands right after it; empty when there is none.
QByteArrayView nextWord(QByteArrayView text, qsizetype& at) {
    while (at < text.size() && isBlank(text[at]))
        ++at;
    const qsizetype start = at;
    while (at < text.size() && !isBlank(text[at]))
        ++at;
    return text.sliced(start, at - start);
}

// The parameter types of a parameter list, case-folded, ","-separated.
QByteArray signatureOf(QByteArrayView parameters) {
    QByteArray signature;
    bool first = true;
    for (const QByteArrayView piece : topLevelPieces(parameters, ',')) {
        if (piece.isEmpty())
            continue;
        if (!first)
            signature += ',';
        first = false;
        const qsizetype as = topLevelAs(piece);
        if (as < 0) {
            signature += piece == "..." ? "..." : "?";
            continue;
        }
        QByteArrayView type = piece.sliced(as + 2);
        const qsizetype equals = topLevelIndexOf(type, '=');
        if (equals >= 0)
            type = type.first(equals);
        appendSingleSpaced(signature, type, true);
        if (piece.first(as).contains('('))
            signature += "()";
    }
    return signature;
}

// The key of a member of kind `kind` whose name, parameters and result follow
// in rest; a qualifier before the name ("Shape.") is dropped.
MemberKey keyOf(QByteArrayView kind, QByteArrayView rest) {
    MemberKey key;
    if (isKeyword(kind, "sub") || isKeyword(kind, "function"))
        key.memberClass = MemberClass::procedure;
    else if (isKeyword(kind, "property"))
        key.memberClass = MemberClass::getter;
    rest = trimmed(rest);
    qsizetype nameEnd = 0;
    while (nameEnd < rest.size() && rest[nameEnd] != '(' && !isBlank(rest[nameEnd]))
        ++nameEnd;
    QByteArrayView name = rest.first(nameEnd);
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0)
        name = name.sliced(dot + 1);
    key.name = caseFolded(name);

    // Words that may stand between the name and its parameters
    // ("declare sub moveBy overload (...)", "cdecl", alias "name").
    qsizetype at = nameEnd;
    for (;;) {
        while (at < rest.size() && isBlank(rest[at]))
            ++at;
        qsizetype wordEnd = at;
        while (wordEnd < rest.size() && isNameChar(rest[wordEnd]))
            ++wordEnd;
        const QByteArrayView word = rest.sliced(at, wordEnd - at);
        if (isKeyword(word, "overload") || isKeyword(word, "cdecl") || isKeyword(word, "stdcall") ||
            isKeyword(word, "pascal")) {
            at = wordEnd;
        } else if (isKeyword(word, "alias")) {
            at = wordEnd;
            while (at < rest.size() && isBlank(rest[at]))
                ++at;
            if (at < rest.size() && rest[at] == '"') {
                const qsizetype close = rest.indexOf('"', at + 1);
                at = close < 0 ? rest.size() : close + 1;
            }
        } else {
            break;
        }
    }
    qsizetype after = at;
    if (at < rest.size() && rest[at] == '(')
        key.signature = signatureOf(bracketed(rest, at, after));
    if (key.memberClass == MemberClass::getter && topLevelAs(rest.sliced(after)) < 0)
        key.memberClass = MemberClass::setter;
    return key;
}

} // namespace

qsizetype pastString(QByteArrayView text, qsizetype open) {
    const bool escapes = open > 0 && text[open - 1] == '!';
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        if (escapes && text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            if (escapes || i + 1 == text.size() || text[i + 1] != '"')
                return i + 1;
            ++i;
        }
    }
    return text.size();
}

QByteArrayView codeOf(QByteArrayView line) {
    // Brackets do not matter here, so a walk over the strings does.
    qsizetype end = 0;
    for (;;) {
        end = indexOfEither(line, end, '\'', '"');
        if (end < 0) {
            end = line.size();
            break;
        }
        if (line[end] == '\'')
            break;
        end = pastString(line, end);
    }
    return trimmed(line.first(end));
}

bool endsInContinuation(QByteArrayView code) {
    return code.endsWith('_') && (code.size() == 1 || isBlank(code[code.size() - 2]));
}

QList<QByteArrayView> wordsOf(QByteArrayView text) {
    QList<QByteArrayView> words;
    for (qsizetype i = 0;;) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        if (i == text.size())
            return words;
        const qsizetype start = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        words.append(text.sliced(start, i - start));
    }
}

qsizetype topLevelIndexOf(QByteArrayView text, char separator, qsizetype from) {
    return walkCode(text, from,
                    [&](qsizetype i, int depth) { return depth == 0 && text[i] == separator; });
}

Pieces topLevelPieces(QByteArrayView text, char separator) {
    Pieces pieces;
    qsizetype start = 0;
    for (qsizetype at = topLevelIndexOf(text, separator); at >= 0;
         at = topLevelIndexOf(text, separator, start)) {
        pieces.append(trimmed(text.sliced(start, at - start)));
        start = at + 1;
    }
    pieces.append(trimmed(text.sliced(start)));
    return pieces;
}

Pieces statementsOf(QByteArrayView line) {
    Pieces statements;
    if (!line.contains(':')) {
        statements.append(line);
        return statements;
    }
    const Pieces pieces = topLevelPieces(codeOf(line), ':');
    bool split = false; // a ":" that separates statements
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QByteArrayView piece = pieces[i];
        const bool bits = i > 0 && !piece.isEmpty() && !pieces[i - 1].isEmpty() &&
                          ((piece[0] >= '0' && piece[0] <= '9') || piece[0] == '&');
        if (bits && !statements.isEmpty()) {
            // The bit count of the field before it: one statement with it.
            const QByteArrayView field = statements.back();
            statements.back() =
                QByteArrayView(field.data(), piece.data() + piece.size() - field.data());
            continue;
        }
        split = split || i > 0;
        if (!piece.isEmpty())
            statements.append(piece);
    }
    if (!split || statements.isEmpty()) {
        statements.clear();
        statements.append(line);
    }
    return statements;
}

namespace {

bool isWordAt(QByteArrayView text, qsizetype i, QByteArrayView word) {
    return i + word.size() <= text.size() && isKeyword(text.sliced(i, word.size()), word) &&
           (i == 0 || !isNameChar(text[i - 1])) &&
           (i + word.size() == text.size() || !isNameChar(text[i + word.size()]));
}

} // namespace

qsizetype matchingOpen(QByteArrayView text, qsizetype close) {
    int depth = 0;
    for (qsizetype i = close; i >= 0; --i) {
        if (text[i] == ')')
            ++depth;
        else if (text[i] == '(' && --depth == 0)
            return i;
    }
    return -1;
}

qsizetype topLevelAs(QByteArrayView text) {
    return walkCode(text, 0, [&](qsizetype i, int depth) {
        return depth == 0 && foldCase(text[i]) == 'a' && isWordAt(text, i, "as");
    });
}

qsizetype indexOfWord(QByteArrayView text, QByteArrayView word, qsizetype from) {
    // A whole word is a run of name characters, which never holds a quote, so
    // the walk compares each run outside strings once, as a whole.
    const char* data = text.data();
    for (qsizetype i = from; i < text.size(); ++i) {
        const char c = data[i];
        if (c == '"') {
            i = pastString(text, i) - 1;
            continue;
        }
        if (!isNameChar(c))
            continue;
        const bool startsRun = i == 0 || !isNameChar(data[i - 1]);
        const qsizetype start = i;
        while (i + 1 < text.size() && isNameChar(data[i + 1]))
            ++i;
        if (startsRun && i + 1 - start == word.size() &&
            isKeyword(text.sliced(start, word.size()), word))
            return start;
    }
    return -1;
}

QByteArray singleSpaced(QByteArrayView text) {
    QByteArray result;
    result.reserve(text.size());
    appendSingleSpaced(result, text, false);
    return result;
}

bool hides(const MemberKey& own, const MemberKey& inherited) {
    if (own.name != inherited.name)
        return false;
    if (own.memberClass == MemberClass::field || inherited.memberClass == MemberClass::field)
        return true;
    // A getter and a setter of one name are one property: each half stands
    // for itself, and an inherited half joins the extending type's own one.
    return own.memberClass == inherited.memberClass && own.signature == inherited.signature;
}

bool parseDeclaration(QByteArrayView line, MemberDeclaration& declaration) {
    const QByteArrayView code = codeOf(line);
    qsizetype at = 0;
    if (!isKeyword(nextWord(code, at), "declare"))
        return false;
    bool isStatic = false;
    QByteArrayView kind = nextWord(code, at);
    for (; !kind.isEmpty(); kind = nextWord(code, at)) {
        if (isKeyword(kind, "static"))
            isStatic = true;
        else if (!isKeyword(kind, "virtual") && !isKeyword(kind, "abstract") &&
                 !isKeyword(kind, "const"))
            break;
    }
    // "declare constructor(byval x as integer)": the parameters may follow
    // the kind directly, and their first name is no member's.
    if (const qsizetype open = kind.indexOf('('); open > 0) {
        at = kind.data() - code.data() + open;
        kind = kind.first(open);
    }
    // The kind needs a name after it.
    const qsizetype rest = at;
    if (kind.isEmpty() || nextWord(code, at).isEmpty())
        return false;
    declaration = MemberDeclaration();
    declaration.code = code;
    declaration.isStatic = isStatic;
    declaration.key = keyOf(kind, code.sliced(rest));
    return true;
}

MemberKey keyOfHeader(QByteArrayView line) {
    const QByteArrayView code = codeOf(line);
    const QByteArrayView kind = firstToken(code);
    const qsizetype rest = kind.data() - code.data() + kind.size();
    return keyOf(kind, code.sliced(rest));
}
