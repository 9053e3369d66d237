#include "staticlocals.h"

#include "blockscanner.h"
#include "characters.h"
#include "codelexer.h"
#include "lines.h"
#include "membersyntax.h"
#include "typescan.h"

#include <QHash>
#include <QMap>

#include <optional>

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
        text = joinedLines(lines);
}

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

} // namespace

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
        MappedText variables = blockVariables.take();
        record.twinStaticLines = qint32(variables.lineCount() - 1);
        record.twinMethodText.insert(0, variables);
    }
}
