#include "twins.h"

#include "blockscanner.h"
#include "characters.h"
#include "codelexer.h"
#include "conditionals.h"
#include "fieldforms.h"
#include "lines.h"
#include "membersyntax.h"
#include "privateparts.h"
#include "staticlocals.h"
#include "typescan.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cctype>

#include <optional>

namespace {

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
    QByteArrayView typeName;
    int nestedDepth = 0; // inside a named type nested in the block: its depth there
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const LineOrigin origin = block.origins.value(i);
        if (nestedDepth > 0) {
            // The nested type's own lines: the alias stands for them.
            const Tokens tokens = lineTokens(codeOf(lines[i]), 3);
            if (tokens.size() >= 2 && isKeyword(tokens[0], "end") &&
                (isKeyword(tokens[1], "type") || isKeyword(tokens[1], "union") ||
                 isKeyword(tokens[1], "enum")))
                --nestedDepth;
            else if (!tokens.isEmpty() &&
                     (isKeyword(tokens[0], "type") || isKeyword(tokens[0], "union") ||
                      isKeyword(tokens[0], "enum")) &&
                     !(tokens.size() >= 2 && isKeyword(tokens[1], "as")) &&
                     !(tokens.size() >= 3 && isKeyword(tokens[2], "as")))
                ++nestedDepth;
            twin.add("", origin);
        } else if (i == 0) {
            twin.add(twinTypeLine(lines[i]), origin);
            const Tokens tokens = lineTokens(codeOf(lines[i]), 2);
            if (tokens.size() >= 2)
                typeName = tokens[1];
        } else if (const QByteArrayView nested = nestedTypeName(lines[i]);
                   !nested.isEmpty() && !typeName.isEmpty()) {
            // A type nested in the block is the type's own on the twin too, so
            // that what the twin holds and takes of it is what the type does.
            twin.addLine("type " + nested.toByteArray() + " as " + typeName.toByteArray() + '.' +
                             nested.toByteArray(),
                         origin);
            nestedDepth = 1;
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

namespace {

// Writes replacement over the length bytes at each of positions (in
// ascending order) of text, in one copy.
void replaceEach(QByteArray& text, const QList<qsizetype>& positions, qsizetype length,
                 QByteArrayView replacement) {
    if (positions.isEmpty())
        return;
    QByteArray result;
    result.reserve(text.size() + positions.size() * (replacement.size() - length));
    qsizetype copied = 0;
    for (const qsizetype at : positions) {
        result += QByteArrayView(text).sliced(copied, at - copied);
        result += replacement;
        copied = at + length;
    }
    result += QByteArrayView(text).sliced(copied);
    text = result;
}

} // namespace

void renameConstructors(QByteArray& text, const QByteArray& typeName) {
    QList<qsizetype> names; // where a constructor or destructor names the type
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
            namesType(tokens[1], typeName))
            names.append(start + (tokens[1].data() - line.data()));
        start = end + 1;
    }
    replaceEach(text, names, typeName.size(), twinNameOf(typeName));
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

// Takes keyword, in any letter case and as a whole word, from the front of
// rest (blanks before it passed over). Whether it was there.
bool takeKeyword(QByteArrayView& rest, QByteArrayView keyword) {
    rest = rest.trimmed();
    if (rest.size() < keyword.size() || !isKeyword(rest.first(keyword.size()), keyword) ||
        (rest.size() > keyword.size() && isNameChar(rest[keyword.size()])))
        return false;
    rest = rest.sliced(keyword.size());
    return true;
}

// Of a parameter list from its "(" on: 0 when it is one parameter of the
// type (typeKey, case-folded), 1 when of the type const, -1 otherwise.
int copyParameterOf(QByteArrayView rest, const QByteArray& typeKey) {
    rest = rest.trimmed();
    if (!rest.startsWith('(') || !rest.contains(')'))
        return -1;
    const QByteArrayView parameters = rest.sliced(1, rest.indexOf(')') - 1);
    if (parameters.contains(','))
        return -1;
    const qsizetype as = topLevelAs(parameters);
    if (as < 0)
        return -1;
    const Tokens type = lineTokens(parameters.sliced(as + 2));
    const bool isConst = type.size() == 2 && isKeyword(type[0], "const");
    if (!(type.size() == 1 || isConst) || caseFolded(type.last()) != typeKey)
        return -1;
    return isConst ? 1 : 0;
}

// Whether the file implements the type's copy constructor, or its "let"
// (isLet), from a value of the type, const or not as constness says. A type
// may declare them without implementing them, under "private:", so that
// its values are never copied.
bool implementsCopy(const TypeRecord& record, bool isLet, int constness) {
    const QByteArray typeKey = caseFolded(record.typeName);
    return anyImplementationLine(record, [&](QByteArrayView line) {
        QByteArrayView rest = withoutProcedurePrefix(codeOf(line));
        if (!takeKeyword(rest, isLet ? "operator" : "constructor"))
            return false;
        rest = rest.trimmed();
        qsizetype nameEnd = 0;
        while (nameEnd < rest.size() && isNameChar(rest[nameEnd]))
            ++nameEnd;
        if (caseFolded(rest.first(nameEnd)) != typeKey)
            return false;
        rest = rest.sliced(nameEnd).trimmed();
        if (isLet) {
            if (!rest.startsWith('.'))
                return false;
            rest = rest.sliced(1);
            if (!takeKeyword(rest, "let"))
                return false;
        }
        // Parameters continued on the next lines with " _" are not read:
        // such a header counts as the copy, as it may be one.
        const bool continued = !rest.trimmed().contains(')');
        return continued || copyParameterOf(rest, typeKey) == constness;
    });
}

// A type's copy constructor and its "let" from a value of the type take the
// type itself, so on the twin they would not copy a twin: an extending type
// copied or assigned would copy its parent part byte for byte, sharing what
// the parent's own copy would have duplicated. For each such declaration of
// the block, the twin gets one that takes a twin and passes it on, read as
// the type, to its copy of the original. One written under #if branches of
// the block gets its twin's declaration right after it, in the same branch,
// and its implementation under the same branches, as the original exists
// only where they are taken.
void addTwinCopies(TypeRecord& record, bool generatedPrivate) {
    const QByteArray typeKey = caseFolded(record.typeName);
    const QByteArray twinName = twinNameOf(record.typeName);
    const Lines lines = splitLines(record.twinBlockText.text);
    QByteArray declarations;
    QByteArray implementations;
    ConditionalBlocks conditionals;
    QList<std::pair<qsizetype, QByteArray>> conditionedDeclarations; // after line, text
    qsizetype lastAt = -1; // the last declaration line outside branches that gets a copy
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (conditionals.note(qint32(i), lines[i]))
            continue;
        const QByteArrayView code = codeOf(lines[i]);
        // "declare constructor (...)" or "declare operator let (...)", with
        // one parameter, implemented in the file.
        QByteArrayView rest = code;
        if (!takeKeyword(rest, "declare"))
            continue;
        const bool isConstructor = takeKeyword(rest, "constructor");
        const bool isLet =
            !isConstructor && takeKeyword(rest, "operator") && takeKeyword(rest, "let");
        if (!isConstructor && !isLet)
            continue;
        const int constness = copyParameterOf(rest, typeKey);
        if (constness < 0 || !implementsCopy(record, isLet, constness))
            continue;
        const QByteArray constWord = constness == 1 ? "const " : "";
        const QByteArray parameter = "byref other_ as " + constWord + twinName;
        const QByteArray asType = "*cptr(" + constWord + record.typeName + " ptr, @other_)";
        QByteArray declaration;
        QByteArray implementation;
        if (isConstructor) {
            declaration = "\n  declare constructor(" + parameter + ")";
            implementation = "constructor " + twinName + "(" + parameter + ")\n  constructor(" +
                             asType + ")\nend constructor\n";
        } else {
            declaration = "\n  declare operator let(" + parameter + ")";
            implementation = "operator " + twinName + ".let(" + parameter +
                             ")\n  this = " + asType + "\nend operator\n";
        }
        const ConditionalBlocks::Opening opening = conditionals.openingFor(qint32(i), 0);
        if (opening.levels == 0) {
            declarations += declaration;
            implementations += implementation;
            lastAt = i;
            continue;
        }
        conditionedDeclarations.append({i, declaration});
        for (const qint32 line : opening.lines) {
            implementations += lines[line];
            implementations += '\n';
        }
        implementations += implementation + closingOf(opening);
    }
    if (lastAt < 0 && conditionedDeclarations.isEmpty())
        return;
    if (generatedPrivate || implementsPrivately(record)) {
        implementations.prepend('\n');
        implementations.replace("\nconstructor ", "\nprivate constructor ");
        implementations.replace("\noperator ", "\nprivate operator ");
        implementations.remove(0, 1);
    }
    // The declarations outside branches go after the last of those originals,
    // in the part of the block it stands in; each other one right after its
    // original. From the last position back, so that each position holds.
    if (lastAt >= 0)
        conditionedDeclarations.append({lastAt, declarations});
    std::sort(conditionedDeclarations.begin(), conditionedDeclarations.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto& [after, text] : conditionedDeclarations) {
        qsizetype position = 0;
        for (qsizetype i = 0; i <= after; ++i)
            position += lines[i].size() + 1;
        after = position - 1; // the end of that line, before the texts change
    }
    for (const auto& [at, text] : conditionedDeclarations)
        record.twinBlockText.insert(at, MappedText(text, LineOrigin()));
    record.twinMethodText.append(MappedText("\n" + implementations, LineOrigin()));
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
    QList<qsizetype> twinNames; // where the twin's qualifier stands for the type's
    bool continued = false;     // the line goes on a header continued with " _"
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
                 found = line.indexOf(twinQualifier, found + twinQualifier.size()))
                twinNames.append(start + found);
        }
        start = end + 1;
    }
    replaceEach(text, twinNames, twinQualifier.size(), typeName + '.');
}

// FreeBASIC takes the value of an iteration operator ("for", "step",
// "next") as the type itself, and the twin's copies are members of the twin:
// there the parameters that name the type ("operator next(byref e as Vec)")
// name the twin, which has the same layout, in the declarations and headers.
void iterationOperatorsTakeTwins(QByteArray& text, const QByteArray& typeName) {
    QList<qsizetype> names; // where such a parameter names the type
    // Only the lines that say "operator" are read.
    for (qsizetype word = indexOfIgnoringCase(text, "operator"); word >= 0;) {
        const qsizetype start = word == 0 ? 0 : text.lastIndexOf('\n', word - 1) + 1;
        qsizetype end = text.indexOf('\n', word);
        if (end < 0)
            end = text.size();
        word = end == text.size() ? -1 : indexOfIgnoringCase(text, "operator", end + 1);
        const QByteArrayView code = codeOf(QByteArrayView(text).sliced(start, end - start));
        const Tokens tokens = lineTokens(withoutProcedurePrefix(code), 3);
        QByteArrayView name; // the operator's name, with what follows it in its token
        if (tokens.size() >= 3 && isKeyword(tokens[0], "declare") &&
            isKeyword(tokens[1], "operator")) {
            name = tokens[2];
        } else if (tokens.size() >= 2 && isKeyword(tokens[0], "operator")) {
            const qsizetype dot = tokens[1].indexOf('.');
            if (dot >= 0)
                name = tokens[1].sliced(dot + 1);
        }
        qsizetype length = 0;
        while (length < name.size() && isNameChar(name[length]))
            ++length;
        name = name.first(length);
        const qsizetype open =
            name.isEmpty() ? -1 : code.indexOf('(', name.data() - code.data() + length);
        if (open < 0 ||
            !(isKeyword(name, "for") || isKeyword(name, "step") || isKeyword(name, "next")))
            continue;
        for (qsizetype found = indexOfWord(code, typeName, open); found >= 0;
             found = indexOfWord(code, typeName, found + typeName.size())) {
            const qsizetype after = found + typeName.size();
            // "Vec.Kind" names something declared inside the type.
            if ((found > 0 && code[found - 1] == '.') ||
                (after < code.size() && code[after] == '.'))
                continue;
            names.append(code.data() - text.constData() + found);
        }
    }
    replaceEach(text, names, typeName.size(), twinNameOf(typeName));
}

} // namespace

void buildTwin(TypeRecord& record, const Inheritance& inheritance) {
    record.hasTwin = true;
    QSet<QByteArray> shared;
    record.twinBlockText = twinBlockOf(record.blockText, shared);
    iterationOperatorsTakeTwins(record.twinBlockText.text, record.typeName);
    std::optional<QSet<QByteArray>> privateNames; // made for the first copy that may need them
    const auto copyOntoTwin = [&](QByteArray& text) {
        replaceQualifier(text, record.typeName + '.', twinNameOf(record.typeName) + '.',
                         Qt::CaseInsensitive);
        keepTypeNamesInHeaders(text, record.typeName);
        iterationOperatorsTakeTwins(text, record.typeName);
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

QList<qsizetype> recordsToTwin(const QList<TypeRecord>& records, const Inheritance& inheritance) {
    QList<qsizetype> twinned;
    QSet<QByteArray> seenTypeNames;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QByteArray key = caseFolded(records[i].typeName);
        if (!inheritance.needsTwin(key) || seenTypeNames.contains(key))
            continue;
        seenTypeNames.insert(key);
        twinned.append(i);
    }
    return twinned;
}

void buildTwins(QList<TypeRecord>& records, const Inheritance& inheritance) {
    for (const qsizetype at : recordsToTwin(records, inheritance))
        buildTwin(records[at], inheritance);
}
