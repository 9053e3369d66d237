#include "privateparts.h"

#include "characters.h"
#include "codelexer.h"
#include "fieldforms.h"
#include "lines.h"
#include "membersyntax.h"
#include "typerecord.h"

#include <QHash>

bool isPrivateLine(QByteArrayView line, QByteArrayView keyword) {
    QByteArrayView code = codeOf(line);
    if (const qsizetype colon = code.indexOf(':'); colon >= 0) {
        if (isKeyword(firstToken(code.sliced(colon + 1)), "rem"))
            code = code.first(colon + 1);
    }
    qsizetype matched = 0;
    for (const char c : code) {
        if (isBlank(c))
            continue;
        if (matched == keyword.size() || foldCase(c) != keyword[matched])
            return false;
        ++matched;
    }
    return matched == keyword.size();
}

QByteArrayView leadingAccess(QByteArrayView line) {
    if (!line.contains(':'))
        return {};
    const Pieces statements = statementsOf(line);
    if (statements.size() < 2)
        return {};
    const QByteArrayView first = statements[0];
    for (const char* access : {"private", "public", "protected"}) {
        if (isKeyword(first, access))
            return first;
    }
    return {};
}

namespace {

// The name a token starts with: "scores" of "scores()", "area" of "area(".
QByteArrayView leadingName(QByteArrayView token) {
    qsizetype length = 0;
    while (length < token.size() && isNameChar(token[length]))
        ++length;
    return token.first(length);
}

} // namespace

bool namesAsWord(QByteArrayView text, QByteArrayView name) {
    for (qsizetype at = indexOfIgnoringCase(text, name); at >= 0;
         at = indexOfIgnoringCase(text, name, at + 1)) {
        const qsizetype after = at + name.size();
        if ((at == 0 || !isNameChar(text[at - 1])) &&
            (after == text.size() || !isNameChar(text[after])))
            return true;
    }
    return false;
}

namespace {

// A line of a text, and its code: strings and comments masked, positions kept.
struct CodeLine {
    qsizetype start = 0;
    qsizetype size = 0;
    QByteArray code;
};

QList<CodeLine> codeLinesOf(QByteArrayView text) {
    QList<CodeLine> lines;
    CodeLexer lexer;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        lines.append(CodeLine{start, end - start,
                              lexer.next(text.sliced(start, end - start)).toByteArray()});
        start = end + 1;
    }
    return lines;
}

// Where the operand of the "with" statement whose keyword is first starts.
qsizetype withOperandStart(QByteArrayView code, QByteArrayView first) {
    qsizetype at = first.data() - code.data() + first.size();
    while (at < code.size() && isBlank(code[at]))
        ++at;
    return at;
}

// Whether the block of the "with" on line index reads one of the private
// names through the with ("... .cents"), outside the blocks of "with"
// statements inside it.
bool withBlockReaches(const QList<CodeLine>& lines, qsizetype index,
                      const QSet<QByteArray>& privateNames) {
    int depth = 1;
    for (qsizetype i = index + 1; i < lines.size(); ++i) {
        const QByteArrayView code = lines[i].code;
        const Tokens tokens = lineTokens(code);
        if (!tokens.isEmpty() && isKeyword(tokens[0], "with")) {
            ++depth;
            continue;
        }
        if (tokens.size() >= 2 && isKeyword(tokens[0], "end") && isKeyword(tokens[1], "with")) {
            if (--depth == 0)
                return false;
            continue;
        }
        if (depth > 1)
            continue;
        for (qsizetype at = code.indexOf('.'); at >= 0; at = code.indexOf('.', at + 1)) {
            if (at > 0 && (isNameChar(code[at - 1]) || code[at - 1] == ')'))
                continue; // a member of something else, or a number
            qsizetype nameStart = at + 1;
            while (nameStart < code.size() && isBlank(code[nameStart]))
                ++nameStart;
            if (privateNames.contains(caseFolded(leadingName(code.sliced(nameStart)))))
                return true;
        }
    }
    return false;
}

} // namespace

QSet<QByteArray> privateNamesOf(const MappedText& block) {
    QSet<QByteArray> names;
    bool inPrivate = false;
    const Lines lines = splitLines(block.text);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (isPrivateLine(lines[i])) {
            inPrivate = true;
        } else if (isPrivateLine(lines[i], "public:") || isPrivateLine(lines[i], "protected:")) {
            inPrivate = false;
        } else {
            // "private: x as integer" opens the section on the line itself.
            if (const QByteArrayView access = leadingAccess(lines[i]); !access.isEmpty())
                inPrivate = isKeyword(access, "private");
            if (!inPrivate)
                continue;
            for (const QByteArrayView statement : statementsOf(lines[i])) {
                const Tokens tokens = lineTokens(codeOf(statement));
                if (tokens.isEmpty() || !isKeyword(tokens[0], "declare")) {
                    for (const FieldForm& field : fieldsOfLine(statement))
                        names.insert(caseFolded(field.name));
                    continue;
                }
                // "declare [static|const] sub|function|property name(...)"
                for (qsizetype t = 1; t + 1 < tokens.size(); ++t) {
                    if (isKeyword(tokens[t], "sub") || isKeyword(tokens[t], "function") ||
                        isKeyword(tokens[t], "property")) {
                        names.insert(caseFolded(leadingName(tokens[t + 1])));
                        break;
                    }
                }
            }
        }
    }
    return names;
}

namespace {

// The variables of one implementation that hold a value of the type, or a
// pointer to one (case-folded names).
struct TypedNames {
    QSet<QByteArray> values;
    QSet<QByteArray> pointers;
};

// Notes which of the variables that fields declare (as a type block's field
// lines are read) hold a value of the type, or a pointer to one.
void noteTyped(const QList<FieldForm>& fields, QByteArrayView typeName, TypedNames& names) {
    for (const FieldForm& field : fields) {
        const Tokens type = lineTokens(field.type);
        const qsizetype at = !type.isEmpty() && isKeyword(type[0], "const") ? 1 : 0;
        if (at >= type.size() || !equalsIgnoringCase(type[at], typeName))
            continue;
        const bool pointer = at + 1 < type.size() &&
                             (isKeyword(type[at + 1], "ptr") || isKeyword(type[at + 1], "pointer"));
        (pointer ? names.pointers : names.values).insert(caseFolded(field.name));
    }
}

// A parameter list's declarations: "[byref|byval] name[()] as Type", each
// read as a field line is.
void noteParameters(QByteArrayView list, QByteArrayView typeName, TypedNames& names) {
    for (QByteArrayView parameter : topLevelPieces(list, ',')) {
        const QByteArrayView passing = firstToken(parameter);
        if (isKeyword(passing, "byref") || isKeyword(passing, "byval"))
            parameter = parameter.sliced(passing.data() - parameter.data() + passing.size());
        noteTyped(fieldsOfLine(parameter), typeName, names);
    }
}

bool isImplementationKeyword(QByteArrayView word) {
    for (const char* keyword :
         {"sub", "function", "property", "operator", "constructor", "destructor"}) {
        if (isKeyword(word, keyword))
            return true;
    }
    return false;
}

} // namespace

void reachPrivatePartsThroughTwin(QByteArray& text, QByteArrayView typeName,
                                  const QSet<QByteArray>& privateNames) {
    if (privateNames.isEmpty() || !namesAsWord(text, typeName))
        return; // nothing private to reach, or no value of the type to reach it in
    const QByteArray twinPointer = "cptr(" + twinNameOf(typeName) + " ptr, ";
    const QList<CodeLine> lines = codeLinesOf(text);
    QByteArray result;
    qsizetype copied = 0;
    TypedNames typed;
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const qsizetype start = lines[index].start;
        const QByteArrayView line = QByteArrayView(text).sliced(start, lines[index].size);
        const QByteArrayView code = lines[index].code;
        const QByteArrayView statement = withoutProcedurePrefix(code);
        const QByteArrayView first = firstToken(statement);
        if (isImplementationKeyword(first)) {
            // A new implementation: its parameters are all it knows so far.
            typed = TypedNames();
            if (const qsizetype open = statement.indexOf('('); open >= 0) {
                const QByteArrayView rest = statement.sliced(open + 1);
                const qsizetype close = topLevelIndexOf(rest, ')');
                noteParameters(rest.first(close < 0 ? rest.size() : close), typeName, typed);
            }
        } else if (isKeyword(first, "dim") || isKeyword(first, "static")) {
            QByteArrayView rest = statement.sliced(first.data() - statement.data() + first.size());
            for (const char* word : {"shared", "byref"}) {
                const QByteArrayView next = firstToken(rest);
                if (isKeyword(next, word))
                    rest = rest.sliced(next.data() - rest.data() + next.size());
            }
            noteTyped(fieldsOfLine(rest), typeName, typed);
        } else if (isKeyword(first, "with")) {
            // "with o" over a block that reads ".cents": the block reads the
            // twin, which has the same members and nothing private.
            const qsizetype operandStart = withOperandStart(code, first);
            qsizetype operandEnd = code.size();
            while (operandEnd > operandStart && isBlank(code[operandEnd - 1]))
                --operandEnd;
            const QByteArrayView operand = code.sliced(operandStart, operandEnd - operandStart);
            const QByteArrayView variable = leadingName(operand);
            if (!variable.isEmpty() && typed.values.contains(caseFolded(variable)) &&
                (operand.size() == variable.size() || operand.back() == ')') &&
                withBlockReaches(lines, index, privateNames)) {
                result += QByteArrayView(text).sliced(copied, start + operandStart - copied);
                result += '*';
                result += twinPointer;
                result += '@';
                result += line.sliced(operandStart, operand.size());
                result += ')';
                copied = start + operandEnd;
            }
            continue;
        }
        for (qsizetype at = 0; at < code.size(); ++at) {
            const bool arrow = code[at] == '-' && at + 1 < code.size() && code[at + 1] == '>';
            if (code[at] != '.' && !arrow)
                continue;
            const qsizetype after = at + (arrow ? 2 : 1);
            // The member reached, whole: one of the type's private names?
            qsizetype nameStart = after;
            while (nameStart < code.size() && isBlank(code[nameStart]))
                ++nameStart;
            const QByteArrayView member = leadingName(code.sliced(nameStart));
            if (member.isEmpty() || !privateNames.contains(caseFolded(member)))
                continue;
            // The value it is reached through: a variable, perhaps indexed.
            qsizetype operandEnd = at;
            while (operandEnd > 0 && isBlank(code[operandEnd - 1]))
                --operandEnd;
            qsizetype nameEnd = operandEnd;
            if (nameEnd > 0 && code[nameEnd - 1] == ')') {
                nameEnd = matchingOpen(code, nameEnd - 1);
                while (nameEnd > 0 && isBlank(code[nameEnd - 1]))
                    --nameEnd;
            }
            qsizetype operandStart = nameEnd;
            while (operandStart > 0 && isNameChar(code[operandStart - 1]))
                --operandStart;
            if (nameEnd <= 0 || operandStart == nameEnd ||
                (operandStart > 0 &&
                 (code[operandStart - 1] == '.' || code[operandStart - 1] == '>')))
                continue;
            const QByteArray variable =
                caseFolded(code.sliced(operandStart, nameEnd - operandStart));
            if (!(arrow ? typed.pointers : typed.values).contains(variable))
                continue;
            // "o.cents" is read as "cptr(Shape_generic_public_member ptr, @o)->cents".
            result += QByteArrayView(text).sliced(copied, start + operandStart - copied);
            result += twinPointer;
            if (!arrow)
                result += '@';
            result += line.sliced(operandStart, operandEnd - operandStart);
            result += ")->";
            copied = start + after;
            at = after - 1;
        }
    }
    if (copied == 0)
        return;
    result += QByteArrayView(text).sliced(copied);
    text = result;
}
