#include "twins.h"

#include "beside.h"
#include "blockscanner.h"
#include "characters.h"
#include "codelexer.h"
#include "fieldforms.h"
#include "lines.h"
#include "membersyntax.h"
#include "typescan.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cctype>

#include <optional>

namespace {

// "private:" (or the keyword given) however it is spaced, indented or
// written, and nothing else on the line but a comment ("private: ' state",
// "private : rem helpers").
bool isPrivateLine(QByteArrayView line, QByteArrayView keyword = "private:") {
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

// The access word that starts a line with more statements after it
// ("private: cents as integer"), a view into line; empty when there is none.
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

// The twin's type line: the tokens joined with single spaces, the second one
// with the twin suffix.
QByteArray twinTypeLine(QByteArrayView typeLine) {
    const Tokens tokens = lineTokens(typeLine);
    QByteArray line;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (i > 0)
            line += ' ';
        line += tokens[i];
        if (i == 1)
            line += twinSuffix;
    }
    return line;
}

// Static data shared with the type: the names (case-folded) of a "static"
// line of the block that the twin can declare "static byref", or nothing.
// Only single values qualify: FreeBASIC has no reference to an array or to a
// fixed-length string.
QList<QByteArray> sharedStaticsOf(QByteArrayView line) {
    const QByteArrayView code = codeOf(line);
    qsizetype at = 0;
    while (at < code.size() && isBlank(code[at]))
        ++at;
    const QByteArrayView keyword = firstToken(code.sliced(at));
    if (!isKeyword(keyword, "static"))
        return {};
    const QByteArrayView rest = code.sliced(at + keyword.size());
    if (rest.contains('(') || rest.contains('*') || rest.contains('=') || rest.contains('"'))
        return {};
    QList<QByteArray> names;
    for (const FieldForm& field : fieldsOfLine(rest)) {
        if (field.shape != FieldForm::Shape::scalar)
            return {};
        names.append(caseFolded(field.name));
    }
    return names;
}

// The twin's block: the type's block under the twin's type line, "private:"
// lines made public. The twin's public static data are references to the
// type's own ("static byref"), so that the type's members, run on the twin,
// count in the same place as when they run on the type; their names go to
// shared. (The twin cannot reach the type's private static data.)
MappedText twinBlockOf(const MappedText& block, QSet<QByteArray>& shared) {
    const Lines lines = splitLines(block.text);
    MappedTextBuilder twin;
    twin.reserve(block.text.size() + twinSuffix.size(), lines.size());
    bool inPrivate = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const LineOrigin origin = block.origins.value(i);
        if (i == 0) {
            twin.add(twinTypeLine(lines[i]), origin);
        } else if (isPrivateLine(lines[i])) {
            twin.add("public:", origin);
            inPrivate = true;
        } else if (const QByteArrayView access = leadingAccess(lines[i]);
                   !access.isEmpty() && isKeyword(access, "private")) {
            // "private: x as integer": the rest of the line is public too.
            const qsizetype at = access.data() - lines[i].data();
            twin.addLine(lines[i].first(at).toByteArray() + "public" +
                             lines[i].sliced(at + access.size()).toByteArray(),
                         origin);
            inPrivate = true;
        } else if (const QList<QByteArray> names =
                       inPrivate ? QList<QByteArray>() : sharedStaticsOf(lines[i]);
                   !names.isEmpty()) {
            qsizetype after = 0;
            while (isBlank(lines[i][after]))
                ++after;
            after += qsizetype(sizeof("static")) - 1;
            twin.addLine(lines[i].first(after).toByteArray() + " byref" +
                             lines[i].sliced(after).toByteArray(),
                         origin);
            for (const QByteArray& name : names)
                shared.insert(name);
        } else {
            if (isPrivateLine(lines[i], "public:") || !leadingAccess(lines[i]).isEmpty())
                inPrivate = false;
            twin.addLine(lines[i], origin);
        }
    }
    return twin.take();
}

// Reads FreeBASIC text forward, knowing whether the byte it stands at is
// code or belongs to a string literal or a comment: a string ("", or !"" with
// backslash escapes) and a ' comment end with their line, /' '/ comments nest
// and span lines.
struct CodeReader {
    QByteArrayView text;
    qsizetype at = 0;
    int blockComments = 0;
    bool inString = false, escapes = false, inComment = false;

    // Reads up to position to; whether the byte there is code.
    bool isCodeAt(qsizetype to) {
        for (; at < to; ++at) {
            if (blockComments == 0 && !inString && !inComment) {
                // In code only these bytes can start a string or a comment.
                while (at < to && text[at] != '"' && text[at] != '/' && text[at] != '\'' &&
                       text[at] != '\n')
                    ++at;
                if (at == to)
                    break;
            }
            const char c = text[at];
            const char next = at + 1 < text.size() ? text[at + 1] : '\0';
            if (c == '\n') {
                inString = inComment = false;
            } else if (blockComments > 0) {
                if (c == '\'' && next == '/')
                    --blockComments, ++at;
                else if (c == '/' && next == '\'')
                    ++blockComments, ++at;
            } else if (inComment) {
            } else if (inString) {
                if (escapes && c == '\\' && next != '\n')
                    ++at;
                else if (c == '"')
                    inString = false;
            } else if (c == '"') {
                inString = true;
                escapes = at > 0 && text[at - 1] == '!';
            } else if (c == '/' && next == '\'') {
                ++blockComments, ++at;
            } else if (c == '\'') {
                inComment = true;
            }
        }
        return at == to && blockComments == 0 && !inString && !inComment;
    }
};

} // namespace

void renameConstructors(QByteArray& text, const QByteArray& typeName) {
    const QByteArray twinName = twinNameOf(typeName);
    QByteArray result;
    qsizetype copied = 0;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        const QByteArrayView line = QByteArrayView(text).sliced(start, end - start);
        if (!firstTokenMayBe(line, "constructor") && !firstTokenMayBe(line, "destructor") &&
            !firstTokenMayBe(line, "private")) {
            start = end + 1;
            continue;
        }
        // "private constructor Shape" too.
        const Tokens tokens = lineTokens(withoutProcedurePrefix(line));
        if (tokens.size() >= 2 &&
            (isKeyword(tokens[0], "constructor") || isKeyword(tokens[0], "destructor")) &&
            namesType(tokens[1], typeName)) {
            const qsizetype nameAt = start + (tokens[1].data() - line.data());
            result += QByteArrayView(text).sliced(copied, nameAt - copied);
            result += twinName;
            copied = nameAt + typeName.size();
        }
        start = end + 1;
    }
    if (copied == 0)
        return;
    result += QByteArrayView(text).sliced(copied);
    text = result;
}

void replaceQualifier(QByteArray& text, QByteArrayView qualifier, QByteArrayView replacement,
                      Qt::CaseSensitivity sensitivity) {
    if (qualifier.isEmpty())
        return;
    const TextFinder qualifiers(qualifier);
    const auto find = [&](qsizetype from) {
        return sensitivity == Qt::CaseSensitive ? qualifiers.in(text, from)
                                                : indexOfIgnoringCase(text, qualifier, from);
    };
    qsizetype found = find(0);
    if (found < 0)
        return;
    QByteArray result;
    result.reserve(text.size() + text.size() / 8);
    qsizetype copied = 0;
    CodeReader reader{text};
    for (; found >= 0; found = find(found)) {
        if ((found > 0 && isNameChar(text[found - 1])) || !reader.isCodeAt(found)) {
            ++found;
            continue;
        }
        result += QByteArrayView(text).sliced(copied, found - copied);
        result += replacement;
        found += qualifier.size();
        copied = found;
    }
    result += QByteArrayView(text).sliced(copied);
    text = result;
}

namespace {

// The position of the first byte before at that is not blank, or -1.
qsizetype lastNonBlankBefore(QByteArrayView text, qsizetype at) {
    while (at > 0 && isBlank(text[at - 1]))
        --at;
    return at - 1;
}

// Whether the this between before (the last code byte in front of it) and
// next (the first after it) is the "@this" of "(@this)->".
bool reachesThroughAddress(QByteArrayView code, qsizetype before, qsizetype next) {
    if (before < 0 || code[before] != '@' || next >= code.size() || code[next] != ')')
        return false;
    const qsizetype open = lastNonBlankBefore(code, before);
    qsizetype arrow = next + 1;
    while (arrow < code.size() && isBlank(code[arrow]))
        ++arrow;
    return open >= 0 && code[open] == '(' && code.sliced(arrow).startsWith("->");
}

// Whether the this at position at is the subject of "with this".
bool followsWith(QByteArrayView text, qsizetype at) {
    const qsizetype last = lastNonBlankBefore(text, at);
    constexpr QByteArrayView with = "with";
    const qsizetype start = last + 1 - with.size();
    return start >= 0 && equalsIgnoringCase(text.sliced(start, with.size()), with) &&
           (start == 0 || !isNameChar(text[start - 1]));
}

} // namespace

void castThisToType(QByteArray& text, QByteArrayView typeName) {
    constexpr QByteArrayView word = "this";
    if (indexOfIgnoringCase(text, word) < 0)
        return;
    const QByteArray value = "(*cptr(" + typeName.toByteArray() + " ptr, @this))";
    QByteArray result;
    qsizetype copied = 0;
    CodeLexer lexer;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        // The line's code: strings and comments masked, positions kept.
        const QByteArrayView code = lexer.next(QByteArrayView(text).sliced(start, end - start));
        for (qsizetype found = indexOfIgnoringCase(code, word); found >= 0;
             found = indexOfIgnoringCase(code, word, found + word.size())) {
            const qsizetype after = found + word.size();
            if ((found > 0 && isNameChar(code[found - 1])) ||
                (after < code.size() && isNameChar(code[after])))
                continue;
            qsizetype next = after;
            while (next < code.size() && isBlank(code[next]))
                ++next;
            const qsizetype before = lastNonBlankBefore(code, found);
            // "this.x" and "a.this" name members, not values; so does
            // "(@this)->x", which reaches the twin's own member.
            if ((next < code.size() && code[next] == '.') || (before >= 0 && code[before] == '.') ||
                followsWith(code, found) || reachesThroughAddress(code, before, next))
                continue;
            result += QByteArrayView(text).sliced(copied, start + found - copied);
            result += value;
            copied = start + after;
        }
        start = end + 1;
    }
    if (copied == 0)
        return;
    result += QByteArrayView(text).sliced(copied);
    text = result;
}

namespace {

// The name a token starts with: "scores" of "scores()", "area" of "area(".
QByteArrayView leadingName(QByteArrayView token) {
    qsizetype length = 0;
    while (length < token.size() && isNameChar(token[length]))
        ++length;
    return token.first(length);
}

// Whether name stands in text as a whole word anywhere, strings and comments
// included: only a text that names the type itself (not its twin) can
// declare a value of it.
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

// The names (case-folded) that a type's block declares under "private:": its
// private fields and members, which only the type's own members may reach.
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

// The twin's definitions of shared static data ("dim Shape_generic_public_member.count as
// integer", after the qualifier was replaced) become references to the type's
// own: "dim byref Shape_generic_public_member.count as integer = Shape.count".
// Lines keep their places, so the text keeps its origins.
void shareStaticDefinitions(QByteArray& text, const QByteArray& typeName,
                            const QSet<QByteArray>& shared) {
    if (shared.isEmpty())
        return;
    const QByteArray qualifier = twinNameOf(typeName) + '.';
    QByteArrayList lines = text.split('\n');
    bool changed = false;
    for (QByteArray& line : lines) {
        if (!firstTokenMayBe(line, "dim"))
            continue;
        const QByteArrayView code = codeOf(line);
        const Tokens tokens = lineTokens(code);
        const QByteArrayView name = staticDefinitionName(code);
        if (tokens.size() < 3 || !isKeyword(tokens[0], "dim") ||
            !startsWithIgnoringCase(name, qualifier) ||
            !shared.contains(caseFolded(name.sliced(qualifier.size()))))
            continue;
        const qsizetype as = topLevelAs(code);
        if (as < 0)
            continue;
        const qsizetype typeStart = as + 2;
        const qsizetype nameAt = name.data() - code.data();
        // "dim as integer Shape.count": the type stands before the name.
        const qsizetype typeEnd = nameAt > as ? nameAt : [&] {
            const qsizetype equals = topLevelIndexOf(code, '=', typeStart);
            return equals < 0 ? code.size() : equals;
        }();
        const QByteArrayView type = code.sliced(typeStart, typeEnd - typeStart).trimmed();
        const qsizetype indent = tokens[0].data() - code.data();
        line = line.first(indent) + "dim byref " + name.toByteArray() + " as " +
               type.toByteArray() + " = " + typeName + '.' +
               name.sliced(qualifier.size()).toByteArray();
        changed = true;
    }
    if (changed)
        text = lines.join('\n');
}

namespace {

// A type's copy constructor and its "let" from a value of the type take the
// type itself, so on the twin they would not copy a twin: an extending type
// copied or assigned would copy its parent part byte for byte, sharing what
// the parent's own copy would have duplicated. For each such declaration of
// the block (outside #if branches), the twin gets one that takes a twin and
// passes it on, read as the type, to its copy of the original.
void addTwinCopies(TypeRecord& record, bool generatedPrivate) {
    const QByteArray typeKey = caseFolded(record.typeName);
    const QByteArray twinName = twinNameOf(record.typeName);
    const Lines lines = splitLines(record.twinBlockText.text);
    QByteArray declarations;
    QByteArray implementations;
    int conditionDepth = 0;
    qsizetype lastAt = -1; // the last declaration line that gets a twin's copy
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArrayView code = codeOf(lines[i]);
        const QByteArrayView first = firstToken(code);
        if (isKeyword(first, "#if") || isKeyword(first, "#ifdef") || isKeyword(first, "#ifndef"))
            ++conditionDepth;
        else if (isKeyword(first, "#endif") && conditionDepth > 0)
            --conditionDepth;
        if (conditionDepth > 0)
            continue;
        // "declare constructor (...)" or "declare operator let (...)", with
        // one parameter.
        QByteArrayView rest = code;
        const auto takeWord = [&rest](QByteArrayView keyword) {
            rest = rest.trimmed();
            if (rest.size() < keyword.size() || !isKeyword(rest.first(keyword.size()), keyword) ||
                (rest.size() > keyword.size() && isNameChar(rest[keyword.size()])))
                return false;
            rest = rest.sliced(keyword.size());
            return true;
        };
        if (!takeWord("declare"))
            continue;
        const bool isConstructor = takeWord("constructor");
        const bool isLet = !isConstructor && takeWord("operator") && takeWord("let");
        rest = rest.trimmed();
        if ((!isConstructor && !isLet) || !rest.startsWith('(') || !rest.contains(')'))
            continue;
        const QByteArrayView parameters = rest.sliced(1, rest.indexOf(')') - 1);
        if (parameters.contains(','))
            continue;
        const qsizetype as = topLevelAs(parameters);
        if (as < 0)
            continue;
        const Tokens type = lineTokens(parameters.sliced(as + 2));
        const bool isConst = type.size() == 2 && isKeyword(type[0], "const");
        if (!(type.size() == 1 || isConst) || caseFolded(type.last()) != typeKey)
            continue;
        const QByteArray constWord = isConst ? "const " : "";
        const QByteArray parameter = "byref other_ as " + constWord + twinName;
        const QByteArray asType = "*cptr(" + constWord + record.typeName + " ptr, @other_)";
        if (isConstructor) {
            declarations += "\n  declare constructor(" + parameter + ")";
            implementations += "constructor " + twinName + "(" + parameter + ")\n  constructor(" +
                               asType + ")\nend constructor\n";
        } else {
            declarations += "\n  declare operator let(" + parameter + ")";
            implementations += "operator " + twinName + ".let(" + parameter +
                               ")\n  this = " + asType + "\nend operator\n";
        }
        lastAt = i;
    }
    if (lastAt < 0)
        return;
    if (generatedPrivate || implementsPrivately(record)) {
        implementations.replace("\nconstructor ", "\nprivate constructor ");
        implementations.replace("\noperator ", "\nprivate operator ");
        implementations.prepend("private ");
    }
    // The declarations go after the last of the originals, in the part of the
    // block it stands in.
    qsizetype position = 0;
    for (qsizetype i = 0; i <= lastAt; ++i)
        position += lines[i].size() + 1;
    record.twinBlockText.insert(position - 1, MappedText(declarations, LineOrigin()));
    record.twinMethodText.append(MappedText("\n" + implementations, LineOrigin()));
}

} // namespace

namespace {

// How a static variable of a member's body is shared by the type and its
// twin. A variable of a built-in type or a pointer: the statement becomes a
// reference to a module-level variable. A variable of a user-defined type:
// a reference to the static variable of a module-level function, which is
// built when the member first runs, as the member's own would be (a
// module-level variable would be built when the program starts). An array
// or a fixed-length string, which FreeBASIC cannot reference: the statement
// goes, and the lines after it name the module-level variable instead.
enum class Sharing { reference, function, byName };

// One variable of a static statement that the type and its twin can share.
struct StaticLocal {
    QByteArray name;
    QByteArray bounds; // an array's "(0 to 9)", else empty
    QByteArray type;
    QByteArray initializer; // empty when it has none
    Sharing sharing = Sharing::reference;
};

bool isBuiltinType(QByteArrayView name) {
    for (const char* builtin :
         {"byte", "ubyte", "short", "ushort", "integer", "uinteger", "long", "ulong", "longint",
          "ulongint", "single", "double", "boolean", "string"}) {
        if (isKeyword(name, builtin))
            return true;
    }
    return false;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A name, with no "." (a name inside another type or namespace).
bool isPlainName(QByteArrayView text) {
    return !text.isEmpty() && !isDigit(text[0]) &&
           std::all_of(text.cbegin(), text.cend(), isNameChar);
}

// How a static variable of the type (its words; the whole text, blanks
// left out, in compact) can be shared, or nothing. A type named through the
// type itself ("Shape.Kind") is another type on the twin; so are arrays of
// pointers to the type, whose private parts the twin reaches only through
// the variables it knows.
std::optional<Sharing> sharingOfType(const Tokens& type, QByteArrayView compact,
                                     QByteArrayView typeName, bool array) {
    if (type.isEmpty())
        return std::nullopt;
    qsizetype pointers = 0;
    while (pointers < type.size() - 1 && (isKeyword(type[type.size() - 1 - pointers], "ptr") ||
                                          isKeyword(type[type.size() - 1 - pointers], "pointer")))
        ++pointers;
    const Sharing scalar = array ? Sharing::byName : Sharing::reference;
    if (pointers + 1 == type.size() && isPlainName(type[0])) {
        if (pointers > 0)
            return array && isKeyword(type[0], typeName) ? std::nullopt
                                                         : std::optional<Sharing>(scalar);
        if (isBuiltinType(type[0]))
            return scalar;
        for (const char* other : {"zstring", "wstring", "any"}) {
            if (isKeyword(type[0], other))
                return std::nullopt;
        }
        // Elements of a user-defined type would all be built at the start.
        return array ? std::nullopt : std::optional<Sharing>(Sharing::function);
    }
    // A fixed-length string: "string * 8", "zstring*8", "wstring * 8".
    const qsizetype star = compact.indexOf('*');
    if (star < 0 || star + 1 == compact.size())
        return std::nullopt;
    const QByteArrayView base = compact.first(star);
    const QByteArrayView length = compact.sliced(star + 1);
    if ((!isKeyword(base, "string") && !isKeyword(base, "zstring") &&
         !isKeyword(base, "wstring")) ||
        !std::all_of(length.cbegin(), length.cend(), isDigit))
        return std::nullopt;
    return Sharing::byName;
}

// Whether an initializer is made of literals alone, so that the variable
// can start with it away from the member as well: numbers ("5", "&hFF",
// "2.5e3", "1.5!"), string literals, true and false, joined by operators
// and brackets ("1 shl 4", "{1, 2, 3}"); allowedName is the one name it may
// use besides (a type's constructor, "Point(1, 2)"). Any other name may
// mean something else, or nothing, outside the member.
bool isLiteralInitializer(QByteArrayView value, QByteArrayView allowedName) {
    bool anything = false;
    for (qsizetype at = 0; at < value.size();) {
        const char c = value[at];
        if (isBlank(c)) {
            ++at;
            continue;
        }
        anything = true;
        if (c == '"' || ((c == '!' || c == '$') && at + 1 < value.size() && value[at + 1] == '"')) {
            at = pastString(value, c == '"' ? at : at + 1);
        } else if (c == '&' && at + 1 < value.size() &&
                   QByteArrayView("hHoObB").contains(value[at + 1])) {
            at += 2;
            while (at < value.size() && isNameChar(value[at]))
                ++at;
        } else if (isDigit(c) || (c == '.' && at + 1 < value.size() && isDigit(value[at + 1]))) {
            // Digits, a point, an exponent and a type suffix.
            while (at < value.size() &&
                   (isNameChar(value[at]) || QByteArrayView(".!#%&@$").contains(value[at])))
                ++at;
        } else if (isNameChar(c)) {
            const qsizetype start = at;
            while (at < value.size() && isNameChar(value[at]))
                ++at;
            const QByteArrayView word = value.sliced(start, at - start);
            bool allowed = isKeyword(word, allowedName);
            for (const char* keyword : {"true", "false", "and", "or", "xor", "not", "mod", "shl",
                                        "shr", "imp", "eqv", "andalso", "orelse"})
                allowed = allowed || isKeyword(word, keyword);
            if (!allowed)
                return false;
        } else if (QByteArrayView("+-*/\\^=<>(){},&").contains(c)) {
            ++at;
        } else {
            return false;
        }
    }
    return anything;
}

// Whether an array's bounds are "()": it is dynamic, sized by redim.
bool isDynamic(QByteArrayView bounds) {
    return bounds.size() >= 2 && bounds.sliced(1, bounds.size() - 2).trimmed().isEmpty();
}

// Whether bounds ("(9)", "(0 to 9)", "(1 to 3, -2 to 2)") are numbers
// alone, or there are none (a dynamic array, "()"): the module-level array
// has the same elements.
bool hasLiteralBounds(QByteArrayView bounds) {
    if (isDynamic(bounds))
        return bounds.front() == '(' && bounds.back() == ')';
    const auto isNumber = [](QByteArrayView text) {
        text = text.trimmed();
        if (!text.isEmpty() && (text[0] == '-' || text[0] == '+'))
            text = text.sliced(1).trimmed();
        return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), isDigit);
    };
    if (bounds.size() < 2 || bounds.front() != '(' || bounds.back() != ')')
        return false;
    for (const QByteArrayView dimension :
         topLevelPieces(bounds.sliced(1, bounds.size() - 2), ',')) {
        const qsizetype to = indexOfWord(dimension, "to");
        if (!(to < 0 ? isNumber(dimension)
                     : isNumber(dimension.first(to)) && isNumber(dimension.sliced(to + 2))))
            return false;
    }
    return true;
}

// The name and the bounds of "seen", "seen(9)" or "seen (0 to 9)": the name
// empty when the text is not one of those.
std::pair<QByteArrayView, QByteArrayView> nameAndBounds(QByteArrayView text) {
    text = text.trimmed();
    qsizetype end = 0;
    while (end < text.size() && isNameChar(text[end]))
        ++end;
    const QByteArrayView name = text.first(end);
    const QByteArrayView bounds = text.sliced(end).trimmed();
    if (!isPlainName(name) || (!bounds.isEmpty() && bounds.front() != '('))
        return {};
    return {name, bounds};
}

// The variables of a "static" statement of a member's body (or of a "dim"
// one in a procedure whose variables are all static) when the type and its
// twin can share every one of them; nothing otherwise. Read from the
// statement's code (strings masked) and its text, at the same positions.
// "static n as integer = 1, seen(9) as byte" and "static as integer a, b = 2"
// declare several.
QList<StaticLocal> staticLocalsOf(QByteArrayView code, QByteArrayView statement,
                                  QByteArrayView typeName, QByteArrayView keyword) {
    const QByteArrayView first = firstToken(code);
    if (!isKeyword(first, keyword))
        return {};
    const QByteArrayView rest = code.sliced(first.data() - code.data() + first.size());
    if (indexOfIgnoringCase(rest, typeName.toByteArray() + '.') >= 0)
        return {};
    const Pieces declarations = topLevelPieces(rest, ',');
    const QByteArrayView leading = firstToken(rest);
    const bool typeFirst = isKeyword(leading, "as"); // "static as integer a, b"
    QByteArrayView sharedType;
    QList<StaticLocal> locals;
    for (qsizetype i = 0; i < declarations.size(); ++i) {
        const QByteArrayView piece = declarations[i];
        const qsizetype equals = topLevelIndexOf(piece, '=');
        const QByteArrayView declaration = equals < 0 ? piece : piece.first(equals).trimmed();
        QByteArrayView named = declaration;
        QByteArrayView type;
        if (typeFirst && i == 0) {
            // "as TYPE name[(bounds)]": the name is the last word before any bounds.
            QByteArrayView words = declaration.sliced(leading.size()).trimmed();
            qsizetype end = words.size();
            if (words.endsWith(')')) {
                end = matchingOpen(words, words.size() - 1);
                if (end < 0)
                    return {};
            }
            qsizetype start = end;
            while (start > 0 && isBlank(words[start - 1]))
                --start;
            while (start > 0 && isNameChar(words[start - 1]))
                --start;
            named = words.sliced(start);
            sharedType = words.first(start).trimmed();
        } else if (!typeFirst) {
            const qsizetype as = topLevelAs(declaration);
            if (as < 0)
                return {};
            named = declaration.first(as);
            type = declaration.sliced(as + 2).trimmed();
        }
        if (typeFirst)
            type = sharedType;
        const auto [name, bounds] = nameAndBounds(named);
        const Tokens words = lineTokens(type);
        QByteArray compact = type.toByteArray();
        compact.removeIf([](char c) { return isBlank(c); });
        const std::optional<Sharing> sharing =
            name.isEmpty() ? std::nullopt
                           : sharingOfType(words, compact, typeName, !bounds.isEmpty());
        if (!sharing || (!bounds.isEmpty() && !hasLiteralBounds(bounds)))
            return {};
        StaticLocal local{
            name.toByteArray(), bounds.toByteArray(), type.toByteArray(), {}, *sharing};
        if (equals >= 0) {
            if (isDynamic(bounds))
                return {};
            const qsizetype from = piece.data() - code.data() + equals + 1;
            const qsizetype size = piece.data() + piece.size() - code.data() - from;
            local.initializer = statement.sliced(from, size).trimmed().toByteArray();
            // A string literal only for a fixed-length string or a
            // constructor: a variable-length string cannot start with one,
            // nor can a number.
            const bool text = local.sharing == Sharing::function ||
                              (local.sharing == Sharing::byName && bounds.isEmpty());
            if (!isLiteralInitializer(local.initializer, local.sharing == Sharing::function
                                                             ? type
                                                             : QByteArrayView()) ||
                (!text && local.initializer.contains('"')))
                return {};
        }
        locals.append(local);
    }
    return locals;
}

// Whether a procedure's header makes every variable of its body static
// ("sub Shape.tag() static").
bool makesLocalsStatic(QByteArrayView header) {
    const Tokens tokens = lineTokens(codeOf(firstStatementOf(header)));
    return tokens.size() > 1 && isKeyword(tokens.last(), "static");
}

// Renames the names of renames (by their case-folded names) that line uses
// as names of its own: in its code (strings and comments masked, the same
// positions), where no "." or "->" reaches a member of that name. code is
// renamed alike. Whether anything was.
bool renameNames(QByteArray& line, QByteArray& code, const QHash<QByteArray, QByteArray>& renames) {
    struct Renaming {
        qsizetype at;
        qsizetype size;
        QByteArray name;
    };
    QList<Renaming> found;
    forEachName(code, [&](qsizetype at, qsizetype end) {
        if (!isReachedThrough(code, at) && !isDigit(code[at])) {
            const auto renamed = renames.constFind(caseFolded(code.sliced(at, end - at)));
            if (renamed != renames.cend())
                found.append(Renaming{at, end - at, *renamed});
        }
        return end;
    });
    for (qsizetype i = found.size() - 1; i >= 0; --i) {
        line.replace(found[i].at, found[i].size, found[i].name);
        code.replace(found[i].at, found[i].size, found[i].name);
    }
    return !found.isEmpty();
}

// One of the scanned texts of implementations, read once: its lines, the
// code of those noted (comments and strings masked; empty for a line that
// goes on or continues another, which is left as it is), those of them that
// stand inside a compound statement, and the lines that are written
// otherwise on the twin.
struct ReadText {
    Lines lines;
    QHash<qsizetype, QByteArray> codes;
    QSet<qsizetype> nested;
    QMap<qsizetype, QByteArray> rewritten;
};

ReadText readText(const MappedText& text, const QSet<qsizetype>& noted) {
    ReadText read{splitLines(text.text), {}, {}, {}};
    CodeLexer lexer;
    BlockScanner blocks;
    bool continued = false;
    for (qsizetype i = 0; i < read.lines.size(); ++i) {
        const bool inCompound = blocks.insideCompound();
        const QByteArrayView code = lexer.next(read.lines[i]);
        if (noted.contains(i)) {
            read.codes.insert(i,
                              continued || lexer.isContinued() ? QByteArray() : code.toByteArray());
            if (inCompound)
                read.nested.insert(i);
        }
        blocks.next(i, code, lexer);
        continued = lexer.isContinued();
    }
    return read;
}

// What one implementation's noted lines become: the lines, by their index
// in its text, and the module-level variables they refer to, each standing
// for the line of its statement (a message about one names that line).
struct SharedLines {
    QMap<qsizetype, QByteArray> lines;
    MappedTextBuilder variables;
    bool declares = false;
    bool complete = true; // every declaration of an all-static body shared
};

// The shared form of the noted lines of one implementation (candidates
// from to to, all of the same header: the lines from its first static
// statement on). An array or a fixed-length string, which no reference can
// reach, is shared when its statement stands alone on its line directly in
// the procedure's body, where its name means the variable to the end of the
// body: the statement goes, and the lines after it name the module-level
// variable instead. In a procedure whose variables are all static, every
// "dim" statement is one too, and the body is shared only whole: a variable
// left its own would count apart beside those shared.
SharedLines shareImplementation(const QList<StaticCandidate>& candidates, qsizetype from,
                                qsizetype to, const ReadText& read, const MappedText& source,
                                const QByteArray& typeName, int& counter) {
    SharedLines shared;
    const bool allStatic = makesLocalsStatic(read.lines.value(candidates[from].headerIndex));
    QHash<QByteArray, QByteArray> renames; // of the arrays and strings shared so far
    for (qsizetype i = from; i < to; ++i) {
        const StaticCandidate& candidate = candidates[i];
        QByteArray code = read.codes.value(candidate.index);
        QByteArray line = read.lines.value(candidate.index).toByteArray();
        if (code.isEmpty()) {
            // A continued line: left as it is, so a body all static with a
            // declaration in it is not shared.
            if (allStatic && indexOfWord(line, "dim") >= 0)
                shared.complete = false;
            continue;
        }
        const bool renamed = !renames.isEmpty() && renameNames(line, code, renames);
        const Pieces pieces = topLevelPieces(code, ':');
        QByteArray rewritten;
        qsizetype copied = 0;
        for (qsizetype p = 0; p < pieces.size(); ++p) {
            const QByteArrayView piece = pieces[p];
            if (piece.isEmpty())
                continue; // may point nowhere
            const qsizetype at = piece.data() - code.constData();
            const QByteArrayView text = QByteArrayView(line).sliced(at, piece.size());
            const bool headerPiece = candidate.index == candidate.headerIndex && p == 0;
            QList<StaticLocal> locals = staticLocalsOf(piece, text, typeName, "static");
            if (allStatic && locals.isEmpty())
                locals = staticLocalsOf(piece, text, typeName, "dim");
            if (allStatic && locals.isEmpty() && !headerPiece) {
                for (const char* declares : {"dim", "static", "var", "redim"}) {
                    if (indexOfWord(piece, declares) >= 0)
                        shared.complete = false;
                }
            }
            if (locals.isEmpty())
                continue;
            const bool byName =
                std::any_of(locals.cbegin(), locals.cend(), [](const StaticLocal& local) {
                    return local.sharing == Sharing::byName;
                });
            if (byName) {
                bool renamable = pieces.size() == 1 && !read.nested.contains(candidate.index);
                // A line after it that goes on, or continues another, is not renamed.
                for (qsizetype j = i + 1; renamable && j < to; ++j) {
                    if (!read.codes.value(candidates[j].index).isEmpty())
                        continue;
                    for (const StaticLocal& local : std::as_const(locals)) {
                        if (local.sharing == Sharing::byName &&
                            indexOfWord(read.lines.value(candidates[j].index), local.name) >= 0)
                            renamable = false;
                    }
                }
                if (!renamable) {
                    shared.complete = false;
                    continue;
                }
            }
            QByteArrayList statements;
            for (const StaticLocal& local : std::as_const(locals)) {
                const QByteArray variable =
                    typeName + "__fbext_static" + QByteArray::number(++counter) + '_' + local.name;
                const QByteArray initial =
                    local.initializer.isEmpty() ? QByteArray() : " = " + local.initializer;
                QByteArray declaration;
                switch (local.sharing) {
                case Sharing::reference:
                    declaration = "dim shared " + variable + " as " + local.type + initial;
                    statements.append("dim byref " + local.name + " as " + local.type + " = " +
                                      variable);
                    break;
                case Sharing::function:
                    declaration = "private function " + variable + "() byref as " + local.type +
                                  "\n  static " + local.name + " as " + local.type + initial +
                                  "\n  return " + local.name + "\nend function";
                    statements.append("dim byref " + local.name + " as " + local.type + " = " +
                                      variable + "()");
                    break;
                case Sharing::byName:
                    declaration =
                        "dim shared " + variable + local.bounds + " as " + local.type + initial;
                    renames.insert(caseFolded(local.name), variable);
                    break;
                }
                shared.variables.add(declaration, source.origins.value(candidate.index));
                shared.declares = true;
            }
            rewritten += QByteArrayView(line).sliced(copied, at - copied);
            rewritten += statements.join(": ");
            // The statement of an array or a string goes, with its comment.
            copied = byName ? line.size() : at + piece.size();
        }
        if (copied == 0) {
            if (renamed)
                shared.lines.insert(candidate.index, line);
            continue;
        }
        rewritten += QByteArrayView(line).sliced(copied);
        shared.lines.insert(candidate.index, rewritten);
    }
    if (allStatic && !shared.complete)
        return {};
    return shared;
}

// A static variable of a member's body would be the member's own on the
// type and another one on the twin's copy of the member: values of the type
// and of the types that extend it would count apart. Each static statement
// that can be shared refers to one module-level variable declared before
// both copies ("dim shared Shape__fbext_static1_lastId as integer",
// "dim byref lastId as integer = Shape__fbext_static1_lastId"), on the
// type's own line (an edit of the kept line, which keeps its place and
// origin) and in the twin's copy of it. The variables of implementations
// that follow the block stand at the start of the twin's implementations
// (before those of the type), under the #if branches the implementation
// stands in; those of one written after other code stand before its header.
void shareStaticLocals(TypeRecord& record) {
    if (record.staticCandidates.isEmpty())
        return;
    QMap<qint32, LineEdit> edits;
    MappedTextBuilder blockVariables;
    bool blockDeclares = false;
    int counter = 0;
    const auto sourceOf = [&](qint32 which) -> const MappedText& {
        return which < 0 ? record.methodText : record.laterMethods[which].text;
    };
    QHash<qint32, QSet<qsizetype>> noted; // by text: -1 methodText, else the later one
    for (const StaticCandidate& candidate : std::as_const(record.staticCandidates))
        noted[candidate.text].insert(candidate.index);
    QHash<qint32, ReadText> texts;
    for (auto text = noted.cbegin(); text != noted.cend(); ++text)
        texts.insert(text.key(), readText(sourceOf(text.key()), *text));
    const QList<StaticCandidate>& candidates = record.staticCandidates;
    for (qsizetype start = 0, end = 0; start < candidates.size(); start = end) {
        const StaticCandidate& header = candidates[start];
        end = start + 1;
        while (end < candidates.size() && candidates[end].text == header.text &&
               candidates[end].headerIndex == header.headerIndex)
            ++end;
        ReadText& read = texts[header.text];
        const MappedText& source = sourceOf(header.text);
        SharedLines shared =
            shareImplementation(candidates, start, end, read, source, record.typeName, counter);
        if (shared.lines.isEmpty())
            continue;
        for (qsizetype i = start; i < end; ++i) {
            const auto line = shared.lines.constFind(candidates[i].index);
            if (line == shared.lines.cend())
                continue;
            read.rewritten.insert(candidates[i].index, *line);
            edits[candidates[i].line].line = candidates[i].line;
            edits[candidates[i].line].replacement = *line;
        }
        if (!shared.declares)
            continue;
        if (header.text >= 0) {
            LineEdit& edit = edits[header.headerLine];
            edit.line = header.headerLine;
            edit.before = shared.variables.take();
            continue;
        }
        // The opening lines the twin's copy stands under precede its header.
        for (qint32 i = header.headerIndex - header.openingLines; i < header.headerIndex; ++i)
            blockVariables.addLine(read.lines.value(i), source.origins.value(i));
        blockVariables.add(shared.variables.take());
        for (qint32 level = 0; level < header.openingLevels; ++level)
            blockVariables.add("#endif");
        blockDeclares = true;
    }
    // The twin's copies (still the texts as scanned) get the same lines.
    for (auto read = texts.cbegin(); read != texts.cend(); ++read) {
        if (read->rewritten.isEmpty())
            continue;
        QByteArray& copy = read.key() < 0 ? record.twinMethodText.text
                                          : record.twinLaterMethods[read.key()].text.text;
        QByteArray text;
        text.reserve(copy.size() + copy.size() / 4);
        for (qsizetype i = 0; i < read->lines.size(); ++i) {
            if (i > 0)
                text += '\n';
            const auto rewritten = read->rewritten.constFind(i);
            text +=
                rewritten != read->rewritten.cend() ? QByteArrayView(*rewritten) : read->lines[i];
        }
        copy = text;
    }
    for (const LineEdit& edit : std::as_const(edits))
        record.ownLineEdits.append(edit);
    if (blockDeclares) {
        // Ends with a line feed: the twin's first line keeps its origin.
        blockVariables.add("");
        record.twinMethodText.insert(0, blockVariables.take());
    }
}

} // namespace

namespace {

// The twin's block is a copy of the type's, so its declarations name what the
// type declares inside (an enum, "byval m as Shape.Mode") through the type.
// After the qualifier was replaced in the twin's copies of the members, their
// headers say "Shape_generic_public_member.Mode" there, which the compiler
// takes for another signature than the declaration's. So in each header line,
// past the member's own qualifier, the type's name is put back.
void keepTypeNamesInHeaders(QByteArray& text, const QByteArray& typeName) {
    const QByteArray twinQualifier = twinNameOf(typeName) + '.';
    if (!text.contains(twinQualifier))
        return;
    static const QByteArrayView headerKeywords[] = {"sub",      "function",    "property",
                                                    "operator", "constructor", "destructor"};
    QByteArray result;
    qsizetype copied = 0;
    bool continued = false; // the line goes on a header continued with " _"
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        const QByteArrayView line = QByteArrayView(text).sliced(start, end - start);
        // A line without "_" names no twin and is continued by none: most
        // lines of a body need no closer look.
        if (!continued && !line.contains('_')) {
            start = end + 1;
            continue;
        }
        const Tokens tokens = lineTokens(withoutProcedurePrefix(line));
        bool keyword = false;
        for (const QByteArrayView headerKeyword : headerKeywords)
            keyword = keyword || (tokens.size() >= 2 && isKeyword(tokens[0], headerKeyword));
        // "sub Shape_generic_public_member.f(...)", "constructor Shape(...)"
        // (renamed later); not a statement such as "function = Shape.count".
        const bool qualified = keyword && startsWithIgnoringCase(tokens[1], twinQualifier);
        const bool header = qualified || (keyword && namesType(tokens[1], typeName));
        if (header || continued) {
            // The member's own qualifier stays the twin's.
            const qsizetype from =
                header ? tokens[1].data() - line.data() + (qualified ? twinQualifier.size() : 0)
                       : 0;
            continued = endsInContinuation(codeOf(line));
            for (qsizetype found = line.indexOf(twinQualifier, from); found >= 0;
                 found = line.indexOf(twinQualifier, found + twinQualifier.size())) {
                result += QByteArrayView(text).sliced(copied, start + found - copied);
                result += typeName;
                result += '.';
                copied = start + found + twinQualifier.size();
            }
        }
        start = end + 1;
    }
    if (copied == 0)
        return;
    result += QByteArrayView(text).sliced(copied);
    text = result;
}

} // namespace

namespace {

// Makes the twin of one record, from its own texts alone.
void buildTwin(TypeRecord& record, const Inheritance& inheritance) {
    record.hasTwin = true;
    QSet<QByteArray> shared;
    record.twinBlockText = twinBlockOf(record.blockText, shared);
    std::optional<QSet<QByteArray>> privateNames; // made for the first copy that may need them
    const auto copyOntoTwin = [&](QByteArray& text) {
        replaceQualifier(text, record.typeName + '.', twinNameOf(record.typeName) + '.',
                         Qt::CaseInsensitive);
        keepTypeNamesInHeaders(text, record.typeName);
        shareStaticDefinitions(text, record.typeName, shared);
        renameConstructors(text, record.typeName);
        castThisToType(text, record.typeName);
        if (!namesAsWord(text, record.typeName))
            return;
        if (!privateNames)
            privateNames = privateNamesOf(record.blockText);
        reachPrivatePartsThroughTwin(text, record.typeName, *privateNames);
    };
    record.twinMethodText = record.methodText;
    record.twinLaterMethods = record.laterMethods;
    shareStaticLocals(record);
    copyOntoTwin(record.twinMethodText.text);
    addTwinCopies(record, inheritance.generatedPrivate);
    for (PlacedText& method : record.twinLaterMethods)
        copyOntoTwin(method.text.text);
}

} // namespace

void buildTwins(QList<TypeRecord>& records, const Inheritance& inheritance, bool beside) {
    // The first record of each name that needs one gets the twin.
    QList<qsizetype> twinned;
    QSet<QByteArray> seenTypeNames;
    qsizetype work = 0;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QByteArray key = caseFolded(records[i].typeName);
        if (!inheritance.needsTwin(key) || seenTypeNames.contains(key))
            continue;
        seenTypeNames.insert(key);
        twinned.append(i);
        work += records[i].blockText.text.size() + records[i].methodText.text.size();
    }
    const auto build = [&](qsizetype from, qsizetype to) {
        for (qsizetype t = from; t < to; ++t)
            buildTwin(records[twinned[t]], inheritance);
    };
    // Each twin is made from its own record's texts: in a large file the
    // first half of the work is done beside the second.
    qsizetype half = 0;
    for (qsizetype done = 0; half < twinned.size() && done < work / 2; ++half)
        done += records[twinned[half]].blockText.text.size() +
                records[twinned[half]].methodText.text.size();
    if (beside)
        runBeside([&] { build(0, half); }, [&] { build(half, twinned.size()); });
    else
        build(0, twinned.size());
}
