#include "compoundtargets.h"

#include <cstring>

namespace {

bool isDeclarationWord(QByteArrayView word) {
    static constexpr QByteArrayView words[] = {"dim", "redim", "static", "common", "extern", "as"};
    for (const QByteArrayView w : words) {
        if (isKeyword(word, w))
            return true;
    }
    return false;
}

// Whether a name written right before a "(" outside brackets in code stands
// at position at, but for initial values ("= {1, 2}", "= new T(1)", up to
// the next ","); with emptyOnly, only before "()" (an array parameter).
bool indexedNameAt(QByteArrayView code, qsizetype at, bool emptyOnly) {
    int depth = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == ')') {
            --depth;
        } else if (c == '=' && depth == 0 && !emptyOnly) {
            int inner = 0;
            while (++i < code.size() && (inner > 0 || code[i] != ',')) {
                if (code[i] == '(' || code[i] == '{')
                    ++inner;
                else if (code[i] == ')' || code[i] == '}')
                    --inner;
            }
        } else if (c == '(') {
            ++depth;
            if ((depth != 1 && !emptyOnly) ||
                (emptyOnly && (i + 1 >= code.size() || code[i + 1] != ')')))
                continue;
            qsizetype start = i;
            while (start > 0 && isNameChar(code[start - 1]))
                --start;
            if (start == at)
                return true;
        }
    }
    return false;
}

// Whether a line of a property named name, whose parameters follow it, is
// one the class pass writes for an inherited field (in the case-folded
// text): a setter, which reading the name never runs ("(byval new_value
// as"), a getter declared right above such a setter, or a getter whose body
// returns the field ("return parent.hits"). Reading the name reads the field.
bool isFieldProperty(QByteArrayView parameters, QByteArrayView name, QByteArrayView next) {
    static constexpr QByteArrayView getters[] = {"() ", "(byval index as integer) "};
    static constexpr QByteArrayView setters[] = {"(byval new_value as ",
                                                 "(byval index as integer, byval new_value as "};
    for (const QByteArrayView setter : setters) {
        if (parameters.startsWith(setter))
            return true;
    }
    bool getter = false;
    for (const QByteArrayView form : getters)
        getter = getter || parameters.startsWith(form);
    if (!getter)
        return false;
    const QByteArrayView body = next.trimmed();
    for (const QByteArrayView start :
         {QByteArrayView("declare property "), QByteArrayView("declare const property "),
          QByteArrayView("return parent.")}) {
        if (!body.startsWith(start) || !body.sliced(start.size()).startsWith(name))
            continue;
        const QByteArrayView rest = body.sliced(start.size() + name.size());
        if (start.startsWith("return"))
            return rest.isEmpty() || rest == "(index)";
        for (const QByteArrayView setter : setters) {
            if (rest.startsWith(setter))
                return true;
        }
    }
    return false;
}

} // namespace

bool isRepeatableIndex(QByteArrayView index, FileNames& names) {
    for (qsizetype at = 0; at < index.size();) {
        const char c = index[at];
        if (c >= '0' && c <= '9') {
            while (at < index.size() && (isNameChar(index[at]) || index[at] == '.'))
                ++at; // a number, "1.5e3" and its suffix
            continue;
        }
        if (isNameChar(c)) {
            qsizetype end = at;
            while (end < index.size() && isNameChar(index[end]))
                ++end;
            const QByteArrayView name = index.sliced(at, end - at);
            if (names.isCall(name))
                return false;
            if (end < index.size() && index[end] == '(' && !names.isArray(name))
                return false;
            at = end;
            continue;
        }
        if (!isBlank(c) && !std::strchr("+-*/\\^<>=@.,()&", c))
            return false;
        ++at;
    }
    return true;
}

unsigned char FileNames::kindOf(QByteArrayView name) {
    QByteArray key = caseFolded(name);
    const auto known = kinds.constFind(key);
    if (known != kinds.cend())
        return known.value();
    static constexpr QByteArrayView builtins[] = {"rnd",      "timer", "inkey", "getkey",  "csrlin",
                                                  "freefile", "err",   "erl",   "command", "curdir",
                                                  "exepath",  "date",  "time",  "now",     "new"};
    unsigned char kind = none;
    for (const QByteArrayView builtin : builtins) {
        if (key == builtin)
            kind = call;
    }
    if (kind == none) {
        if (folded.isNull())
            folded = caseFolded(text);
        const QByteArrayView all(folded);
        for (qsizetype at = 0; (at = all.indexOf(key, at)) >= 0;) {
            qsizetype end = at + key.size();
            if ((at > 0 && isNameChar(all[at - 1])) || (end < all.size() && isNameChar(all[end]))) {
                while (end < all.size() && isNameChar(all[end]))
                    ++end; // past the longer name
                at = end;
                continue;
            }
            qsizetype lineStart = at;
            while (lineStart > 0 && all[lineStart - 1] != '\n')
                --lineStart;
            qsizetype first = lineStart;
            while (first < at && isBlank(all[first]))
                ++first;
            // Only lines that start with "#" or with one of the words above
            // (dim, sub, private, as, ...) or with the name itself can tell.
            if (first == at || all[first] == '#' ||
                (all[first] && std::strchr("acdefoprs", all[first]))) {
                qsizetype lineEnd = all.indexOf('\n', end);
                if (lineEnd < 0)
                    lineEnd = all.size();
                QByteArrayView next;
                if (lineEnd < all.size()) {
                    qsizetype nextEnd = all.indexOf('\n', lineEnd + 1);
                    if (nextEnd < 0)
                        nextEnd = all.size();
                    next = all.sliced(lineEnd + 1, nextEnd - lineEnd - 1);
                }
                kind |= kindAt(all.sliced(lineStart, lineEnd - lineStart), at - lineStart,
                               key.size(), next);
            }
            at = end;
        }
    }
    kinds.insert(key, kind);
    return kind;
}

// What the name of size letters at position at of a line makes of it; next
// is the line after it.
unsigned char FileNames::kindAt(QByteArrayView line, qsizetype at, qsizetype size,
                                QByteArrayView next) {
    const QByteArrayView first = firstToken(line);
    if (first.isEmpty())
        return none;
    const auto startsAt = [&](QByteArrayView token) {
        return !token.isEmpty() && token.data() == line.data() + at;
    };
    const auto after = [&](QByteArrayView token) {
        return line.sliced(token.data() + token.size() - line.data());
    };
    if (first[0] == '#') {
        // "#define NAME", "#macro NAME", "# define NAME"
        const QByteArrayView word = first.size() > 1 ? first.sliced(1) : firstToken(after(first));
        return (isKeyword(word, "define") || isKeyword(word, "macro")) &&
                       startsAt(firstToken(after(word)))
                   ? call
                   : none;
    }
    QByteArrayView statement = withoutProcedurePrefix(line);
    QByteArrayView keyword = firstToken(statement);
    if (isKeyword(keyword, "declare")) {
        statement = withoutProcedurePrefix(after(keyword)); // "declare const property"
        keyword = firstToken(statement);
    }
    if (isProcedureKind(keyword)) {
        // The procedure's own name, after its type's ("Squad.next"), or an
        // array parameter.
        const QByteArrayView name = firstToken(after(keyword));
        if (startsAt(name) || (at > 0 && line[at - 1] == '.' && name.data() < line.data() + at &&
                               name.data() + name.size() > line.data() + at &&
                               !name.first(at - (name.data() - line.data())).contains('('))) {
            // An inherited field's property reads the field.
            if (isKeyword(keyword, "property") &&
                isFieldProperty(line.sliced(at + size), line.sliced(at, size), next))
                return none;
            return call;
        }
        return indexedNameAt(line, at, true) ? array : none;
    }
    if (isDeclarationWord(keyword))
        return indexedNameAt(line, at, false) ? array : none;
    // A field of a type block: "items(0 to 9) as Item"
    if (startsAt(first) && at + size < line.size() && line[at + size] == '(') {
        const qsizetype close = line.indexOf(')', at + size);
        if (close > 0 && isKeyword(firstToken(line.sliced(close + 1)), "as"))
            return array;
    }
    return none;
}

qsizetype targetStart(QByteArrayView code, qsizetype end, FileNames& names) {
    qsizetype at = end;
    while (at > 0 && isNameChar(code[at - 1]))
        --at;
    if (at == end || !isNameStart(code[at]))
        return -1;
    for (;;) {
        // A separator before the name, or the target's start.
        const bool pointer = at > 1 && code[at - 1] == '>' && code[at - 2] == '-';
        if (pointer) {
            at -= 2;
        } else if (at > 0 && code[at - 1] == '.') {
            --at;
        } else {
            return at;
        }
        const char closing = at > 0 ? code[at - 1] : '\0';
        if (at == 0 || (!isNameChar(closing) && closing != ')' && closing != ']'))
            return code[at] == '.' ? at : -1; // ".hp" in a with block
        qsizetype nameEnd = at;
        // An array's element, "a(i).hp", or a pointer's, "p[i].hp", as made
        // by "new Enemy[5]".
        const bool pointerElement = closing == ']';
        if (closing == ')' || pointerElement) {
            const char opening = pointerElement ? '[' : '(';
            int depth = 0;
            qsizetype open = at - 1;
            for (; open >= 0; --open) {
                if (code[open] == closing)
                    ++depth;
                else if (code[open] == opening && --depth == 0)
                    break;
            }
            if (open <= 0 || !isRepeatableIndex(code.sliced(open + 1, at - open - 2), names))
                return -1;
            nameEnd = open;
        }
        qsizetype nameStart = nameEnd;
        while (nameStart > 0 && isNameChar(code[nameStart - 1]))
            --nameStart;
        if (nameStart == nameEnd || !isNameStart(code[nameStart]))
            return -1;
        if (nameEnd != at || pointer) {
            // An array's element, or a pointer that no call gives.
            const QByteArrayView name = code.sliced(nameStart, nameEnd - nameStart);
            if (names.isCall(name) || (nameEnd != at && !pointerElement && !names.isArray(name)))
                return -1;
        }
        at = nameStart;
    }
}
