#include "compoundassignments.h"

#include "characters.h"
#include "codelexer.h"
#include "fieldforms.h"
#include "forwarding.h"

#include <cstring>

namespace {

bool isNameStart(char c) {
    return isNameChar(c) && !(c >= '0' && c <= '9');
}

// Whether a field's declaration on the extending type is a property that
// gives a copy: "declare property hits() as integer", not "() byref as" (a
// value of a type of the program's) nor an indexed one.
bool givesCopy(QByteArrayView declaration) {
    const qsizetype at = declaration.indexOf("declare property ");
    if (at < 0)
        return false;
    const qsizetype open = declaration.indexOf('(', at);
    return open >= 0 && declaration.sliced(open).startsWith("() as ");
}

// The operators FreeBASIC writes with "=" after them, as the plain
// assignment writes them: "+=" gives "+", "mod=" gives "mod".
bool isSymbolOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '\\' || c == '^' || c == '&';
}

bool isWordOperator(QByteArrayView word) {
    static const QByteArrayView words[] = {"mod", "shl", "shr", "and", "or", "xor", "imp", "eqv"};
    for (const QByteArrayView w : words) {
        if (equalsIgnoringCase(word, w))
            return true;
    }
    return false;
}

// A line that may hold a compound assignment: an "=" right after an
// operator's last character. Most lines have none and are not lexed.
bool mayAssignCompound(QByteArrayView line) {
    const char* data = line.data();
    for (qsizetype at = 0; at < line.size();) {
        const void* found = std::memchr(data + at, '=', size_t(line.size() - at));
        if (!found)
            return false;
        const qsizetype equals = static_cast<const char*>(found) - data;
        if (equals > 0 && (isSymbolOperator(data[equals - 1]) || isNameChar(data[equals - 1])))
            return true;
        at = equals + 1;
    }
    return false;
}

// The type whose member a procedure's first line implements, case-folded
// ("sub Circle.grow()", "private constructor Circle(...)"), or empty.
QByteArray implementedType(QByteArrayView code) {
    const Tokens tokens = lineTokens(withoutProcedurePrefix(code));
    if (tokens.size() < 2)
        return {};
    const QByteArrayView keyword = tokens[0];
    const bool qualified = isKeyword(keyword, "sub") || isKeyword(keyword, "function") ||
                           isKeyword(keyword, "property") || isKeyword(keyword, "operator");
    if (!qualified && !isKeyword(keyword, "constructor") && !isKeyword(keyword, "destructor"))
        return {};
    const QByteArrayView name = tokens[1];
    qsizetype end = 0;
    while (end < name.size() && isNameChar(name[end]))
        ++end;
    if (end == 0 || (qualified && (end == name.size() || name[end] != '.')))
        return {};
    return caseFolded(name.first(end));
}

// Whether a line with this first token may be a procedure's first line: its
// keyword, or a word that may stand in front of it.
bool mayOpenProcedure(QByteArrayView first) {
    for (const QByteArrayView word : {"sub", "function", "property", "operator", "constructor",
                                      "destructor", "private", "public", "static", "const"}) {
        if (isKeyword(first, word))
            return true;
    }
    return false;
}

bool endsProcedure(QByteArrayView code) {
    const Tokens tokens = lineTokens(code);
    if (tokens.size() >= 2 && isKeyword(tokens[0], "end")) {
        const QByteArrayView kind = tokens[1];
        return isKeyword(kind, "sub") || isKeyword(kind, "function") ||
               isKeyword(kind, "property") || isKeyword(kind, "operator") ||
               isKeyword(kind, "constructor") || isKeyword(kind, "destructor");
    }
    for (const QByteArrayView kind :
         {"sub", "function", "property", "operator", "constructor", "destructor"}) {
        if (endsWithEndStatement(code, kind))
            return true;
    }
    return false;
}

struct Rewrite {
    qsizetype from;
    qsizetype to;
    QByteArray text;
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

// Where the statement that goes on at from ends: at a ":" or an "else"
// outside brackets, or at the code's end.
qsizetype statementEnd(QByteArrayView code, qsizetype from) {
    int depth = 0;
    for (qsizetype at = from; at < code.size(); ++at) {
        const char c = code[at];
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (depth == 0 && c == ':')
            return at;
        else if (depth == 0 && (c == 'e' || c == 'E') && (at == 0 || !isNameChar(code[at - 1])) &&
                 code.size() - at >= 4 && isKeyword(code.sliced(at, 4), "else") &&
                 (code.size() - at == 4 || !isNameChar(code[at + 4])))
            return at;
    }
    return code.size();
}

// The compound assignments of one line (its code as the lexer shows it) to
// be written out: bare names of the extending type whose member the line is
// in (bare), and names joined by "." (all).
QList<Rewrite> rewritesOf(QByteArrayView line, QByteArrayView code, bool continued,
                          const QSet<QByteArray>* bare, const QSet<QByteArray>& all) {
    QList<Rewrite> rewrites;
    qsizetype searchFrom = 0;
    for (;;) {
        const qsizetype equals = code.indexOf('=', searchFrom);
        if (equals < 0)
            break;
        searchFrom = equals + 1;
        if (!rewrites.isEmpty() && equals < rewrites.last().to)
            continue;
        qsizetype opStart = equals;
        if (equals > 0 && isSymbolOperator(code[equals - 1])) {
            opStart = equals - 1;
        } else {
            while (opStart > 0 && isNameChar(code[opStart - 1]))
                --opStart;
            if (!isWordOperator(code.sliced(opStart, equals - opStart)) ||
                (opStart > 0 && !isBlank(code[opStart - 1])))
                continue;
        }
        const qsizetype lhsEnd = skipBlanksBack(code, opStart);
        qsizetype lhsStart = lhsEnd;
        while (lhsStart > 0 && (isNameChar(code[lhsStart - 1]) || code[lhsStart - 1] == '.'))
            --lhsStart;
        const QByteArrayView target = code.sliced(lhsStart, lhsEnd - lhsStart);
        if (target.isEmpty() || target.endsWith('.') || target.contains("..") ||
            !startsStatement(code, lhsStart))
            continue;
        const qsizetype dot = target.lastIndexOf('.');
        const QByteArray name = caseFolded(target.sliced(dot + 1));
        if (name.isEmpty() || !isNameStart(name[0]))
            continue;
        const bool qualified = dot >= 0;
        if (qualified ? !all.contains(name) : !(bare && bare->contains(name)))
            continue;
        const qsizetype end = statementEnd(code, equals + 1);
        if (continued && end == code.size())
            continue; // what is assigned goes on over the next line
        // What is assigned, told by its code (a comment after it reads as
        // blanks there) and taken from the line (a string as written).
        qsizetype valueStart = equals + 1;
        while (valueStart < end && isBlank(code[valueStart]))
            ++valueStart;
        const qsizetype valueEnd = skipBlanksBack(code, end);
        if (valueEnd <= valueStart)
            continue;
        const QByteArrayView value = line.sliced(valueStart, valueEnd - valueStart);
        QByteArray text = target.toByteArray();
        text += " = ";
        text += target;
        text += ' ';
        text += line.sliced(opStart, equals - opStart);
        text += " (";
        text += value;
        text += ')';
        rewrites.append(Rewrite{lhsStart, valueEnd, std::move(text)});
        searchFrom = valueEnd;
    }
    return rewrites;
}

} // namespace

PropertyFields propertyFieldsOf(const QList<TypeRecord>& records, const LineIndex& lines) {
    PropertyFields fields;
    QList<std::pair<QByteArray, QByteArray>> twins; // a twin's name, its type's
    for (const TypeRecord& record : records) {
        if (record.inherited.isEmpty())
            continue;
        // A type extended in turn has a twin, whose members are copies of
        // its own.
        QSet<QByteArray>& names = fields.byType[caseFolded(record.typeName)];
        if (record.hasTwin)
            twins.append({caseFolded(twinNameOf(record.typeName)), caseFolded(record.typeName)});
        for (const InheritedMember& member : record.inherited) {
            if (member.record == InheritedMember::gap)
                continue;
            const MemberEntry& entry = records[member.record].members[member.member];
            if (entry.key.memberClass != MemberClass::field || !givesCopy(entry.declaration))
                continue;
            names.insert(entry.key.name);
            fields.all.insert(entry.key.name);
        }
    }
    for (const auto& [twin, type] : std::as_const(twins))
        fields.byType.insert(twin, fields.byType.value(type));
    if (fields.all.isEmpty())
        return fields;
    // A field of any type block with such a name and a type of the program's.
    bool firstLetters[256] = {};
    for (const QByteArray& name : std::as_const(fields.all))
        firstLetters[uchar(name[0])] = true;
    QSet<QByteArray> typedAsOwn;
    for (const TypeRecord& record : records) {
        for (qsizetype i = record.typeLine + 1; i < record.blockEnd; ++i) {
            const QByteArrayView first = firstToken(lines[i]);
            if (first.isEmpty() || !(firstLetters[uchar(first[0] | 0x20)] ||
                                     isKeyword(first, "as") || isKeyword(first, "dim")))
                continue;
            for (const FieldForm& field : fieldsOfLine(lines[i])) {
                const QByteArray name = caseFolded(field.name);
                if (fields.all.contains(name) && !isBuiltinValue(field.type))
                    typedAsOwn.insert(name);
            }
        }
    }
    for (const QByteArray& name : std::as_const(typedAsOwn)) {
        fields.all.remove(name);
        for (QSet<QByteArray>& names : fields.byType)
            names.remove(name);
    }
    return fields;
}

void spellOutCompoundAssignments(MappedText& text, const PropertyFields& fields) {
    if (fields.all.isEmpty())
        return;
    const QByteArray& source = text.text;
    QByteArray result;
    qsizetype copied = 0; // source bytes up to here are in result
    CommentTracker comments;
    const QSet<QByteArray>* bare = nullptr; // the fields of the type whose member the line is in
    for (qsizetype start = 0; start <= source.size();) {
        const void* found = start < source.size() ? std::memchr(source.constData() + start, '\n',
                                                                size_t(source.size() - start))
                                                  : nullptr;
        const qsizetype end =
            found ? static_cast<const char*>(found) - source.constData() : source.size();
        const QByteArrayView line = QByteArrayView(source).sliced(start, end - start);
        const qsizetype next = end + 1;
        if (comments.startsInComment(line)) {
            start = next;
            continue;
        }
        const QByteArrayView first = firstToken(line);
        if (first.startsWith('#')) {
            start = next;
            continue;
        }
        if (mayOpenProcedure(first)) {
            const QByteArray type = implementedType(codeOf(line));
            if (!type.isEmpty()) {
                const auto own = fields.byType.constFind(type);
                bare = own == fields.byType.cend() ? nullptr : &own.value();
            }
        }
        if (mayAssignCompound(line)) {
            CodeLexer lexer;
            const QByteArrayView code = lexer.next(line);
            const QList<Rewrite> rewrites =
                rewritesOf(line, code, lexer.isContinued(), bare, fields.all);
            for (const Rewrite& rewrite : rewrites) {
                if (result.isNull())
                    result.reserve(source.size() + source.size() / 16);
                result.append(source.constData() + copied, start + rewrite.from - copied);
                result += rewrite.text;
                copied = start + rewrite.to;
            }
        }
        if (bare && endsProcedure(codeOf(line)))
            bare = nullptr;
        start = next;
    }
    if (result.isNull())
        return;
    result.append(source.constData() + copied, source.size() - copied);
    text.text = std::move(result);
}
