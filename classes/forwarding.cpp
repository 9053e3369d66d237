#include "forwarding.h"

#include "typerecord.h"

#include "blockscanner.h"
#include "codelexer.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

namespace {

// The piece of text starting at start, length bytes long; a negative
// length reaches the end, and a start at or past the end gives nothing.
QByteArrayView pieceOf(QByteArrayView text, qsizetype start, qsizetype length) {
    if (start < 0 || start >= text.size())
        return {};
    if (length < 0 || start + length > text.size())
        return text.sliced(start);
    return text.sliced(start, length);
}

// The text between the first "(" and the ")" that closes it, or the rest of
// the line when none does.
QByteArrayView parameterTextOf(QByteArrayView header) {
    const qsizetype open = header.indexOf('(');
    if (open < 0)
        return {};
    int depth = 0;
    for (qsizetype i = open + 1; i < header.size(); ++i) {
        if (header[i] == '"') {
            i = pastString(header, i) - 1;
        } else if (header[i] == '(') {
            ++depth;
        } else if (header[i] == ')') {
            if (depth == 0)
                return header.sliced(open + 1, i - open - 1);
            --depth;
        }
    }
    return header.sliced(open + 1);
}

// The parameters: the pieces between the commas that stand outside brackets
// and strings, so a default value such as "cast(T ptr, 0)" stays in one piece.
QList<QByteArrayView> parametersOf(QByteArrayView text) {
    QList<QByteArrayView> pieces;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            i = pastString(text, i) - 1;
        } else if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')') {
            depth = qMax(0, depth - 1);
        } else if (text[i] == ',' && depth == 0) {
            pieces.append(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    pieces.append(text.sliced(start));
    return pieces;
}

} // namespace

namespace {

// Whether a field of this type can never be assigned: "as const integer",
// "as const Point", "as zstring const ptr". A pointer to constant data
// ("as const zstring ptr") is itself assignable.
bool isConstantField(QByteArrayView type) {
    const QByteArray spaced = caseFolded(singleSpaced(type));
    if (spaced.endsWith(" const ptr") || spaced.endsWith(" const pointer"))
        return true;
    return spaced.startsWith("const ") && !spaced.endsWith(" ptr") && !spaced.endsWith(" pointer");
}

// The getter and setter of a field's property; an indexed one gets and sets
// one element of an array field. A field of a type of the program's is got
// by reference, so that "c.pos.x = 5" changes the parent's field rather than
// a copy of it; any other is got by a const getter, which reads the field of
// a constant value too (a "byref as const" parameter, in a const member), as
// on the parent. A constant field gets a getter only: the compiler refuses a
// setter that assigns it, as it refuses any assignment to the field.
ForwardEntry fieldProperty(QByteArrayView name, QByteArrayView decidingType, bool indexed,
                           bool number, QByteArrayView written) {
    const QByteArrayView placeholder = forwardPlaceholder();
    const bool byValue = number || isBuiltinValue(decidingType);
    const QByteArrayView result = byValue ? " as " : " byref as ";
    const QByteArrayView type = written.isEmpty() ? decidingType : written;
    const QByteArrayView getterParameters = indexed ? "(byval index as integer)" : "()";
    const QByteArrayView setterParameters =
        indexed ? "(byval index as integer, byval new_value as " : "(byval new_value as ";
    // An enum's field is set from a number as well as from the enum's values
    // ("c.mode = c.mode + 1"), which a parameter of the enum would refuse.
    const QByteArrayView setterType = number && !isBuiltinValue(decidingType) ? "integer" : type;
    const QByteArrayView element = indexed ? "(index)" : "";
    const bool settable = !isConstantField(decidingType);

    ForwardEntry entry;
    QByteArray& declaration = entry.declaration;
    declaration.reserve(2 * (name.size() + type.size()) + 96);
    declaration += byValue ? "  declare const property " : "  declare property ";
    declaration += name;
    declaration += getterParameters;
    declaration += result;
    declaration += type;
    if (settable) {
        declaration += "\n  declare property ";
        declaration += name;
        declaration += setterParameters;
        declaration += setterType;
        declaration += ')';
    }

    QByteArray& forwarder = entry.forwarder;
    forwarder.reserve(4 * name.size() + 2 * type.size() + 2 * placeholder.size() + 160);
    forwarder += "property ";
    forwarder += placeholder;
    forwarder += name;
    forwarder += getterParameters;
    forwarder += result;
    forwarder += type;
    forwarder += "\n  return parent.";
    forwarder += name;
    forwarder += element;
    forwarder += "\nend property\n";
    if (settable) {
        forwarder += "property ";
        forwarder += placeholder;
        forwarder += name;
        forwarder += setterParameters;
        forwarder += setterType;
        forwarder += ")\n  parent.";
        forwarder += name;
        forwarder += element;
        forwarder += " = new_value\nend property\n";
    }
    return entry;
}

} // namespace

// Whether a field of the type is one value of the language's own (a number,
// a string, a pointer), or else a type of the program's, such as a type of
// several fields.
bool isBuiltinValue(QByteArrayView type) {
    static const QByteArrayView builtins[] = {"byte",     "ubyte",  "short",  "ushort",  "integer",
                                              "uinteger", "long",   "ulong",  "longint", "ulongint",
                                              "single",   "double", "string", "zstring", "wstring",
                                              "boolean",  "any"};
    const QByteArray spaced = caseFolded(singleSpaced(type));
    if (spaced.endsWith(" ptr") || spaced.endsWith(" pointer"))
        return true;
    const qsizetype blank = spaced.indexOf(' ');
    const QByteArrayView first =
        blank < 0 ? QByteArrayView(spaced) : QByteArrayView(spaced).first(blank);
    for (const QByteArrayView builtin : builtins) {
        if (first == builtin)
            return true;
    }
    return false;
}

ForwardEntry forwardField(QByteArrayView name, QByteArrayView type, bool number,
                          QByteArrayView written) {
    return fieldProperty(name, type, false, number, written);
}

ForwardEntry forwardIndexedField(QByteArrayView name, QByteArrayView type, bool number,
                                 QByteArrayView written) {
    return fieldProperty(name, type, true, number, written);
}

QByteArray fieldTypeAsWritten(QByteArrayView typeName, QByteArrayView name, QByteArrayView type,
                              const QSet<QByteArray>& memberNames) {
    const QByteArrayView spelt = type.trimmed();
    qsizetype length = 0;
    while (length < spelt.size() && isNameChar(spelt[length]))
        ++length;
    if (length == 0 || !memberNames.contains(caseFolded(spelt.first(length))))
        return {};
    QByteArray written = "typeof(";
    written += twinNameOf(typeName);
    written += '.';
    written += name;
    written += ')';
    return written;
}

namespace {

// The name each piece of code between top-level commas and colons declares,
// case-folded: a piece that is a name alone or followed by "=" (an enum's
// value, a constant), or by "as" where asType allows it ("const N as
// integer = 2"). Anything else declares nothing here.
void addDeclaredNames(QByteArrayView code, bool asType, bool inPrivate, InsideNames& names) {
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= code.size(); ++i) {
        const char c = i < code.size() ? code[i] : ',';
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            depth = qMax(0, depth - 1);
        } else if ((c == ',' || c == ':') && depth == 0) {
            const QByteArrayView piece = code.sliced(start, i - start).trimmed();
            qsizetype length = 0;
            while (length < piece.size() && isNameChar(piece[length]))
                ++length;
            const QByteArrayView rest = piece.sliced(length).trimmed();
            const bool declares = rest.isEmpty() || rest.startsWith('=') ||
                                  (asType && isKeyword(firstToken(rest), "as"));
            if (length > 0 && !(piece[0] >= '0' && piece[0] <= '9') && declares)
                names.insert(caseFolded(piece.first(length)), inPrivate);
            start = i + 1;
        }
    }
}

} // namespace

// The access a line opens a section of ("private:", "public :"), or nothing.
std::optional<bool> opensPrivateSection(QByteArrayView code) {
    code = code.trimmed();
    for (const auto& [word, isPrivate] : {std::pair<QByteArrayView, bool>{"private", true},
                                          {"protected", true},
                                          {"public", false}}) {
        if (code.size() > word.size() && isKeyword(code.first(word.size()), word) &&
            code.sliced(word.size()).trimmed().startsWith(':'))
            return isPrivate;
    }
    return std::nullopt;
}

namespace {

// The names a "static" line of a type block declares, from the code after
// "static": "count as integer", "grid(3) as byte, total as long",
// "as integer a, b(2)".
void addStaticNames(QByteArrayView code, bool inPrivate, InsideNames& names) {
    const Pieces pieces = topLevelPieces(code, ',');
    const bool typeFirst = isKeyword(firstToken(code), "as");
    for (qsizetype p = 0; p < pieces.size(); ++p) {
        QByteArrayView piece = pieces[p].trimmed();
        if (typeFirst && p == 0) {
            // "as integer a": the last word before any dimensions.
            const qsizetype open = piece.indexOf('(');
            if (open >= 0)
                piece = piece.first(open).trimmed();
            qsizetype start = piece.size();
            while (start > 0 && isNameChar(piece[start - 1]))
                --start;
            piece = piece.sliced(start);
        }
        qsizetype length = 0;
        while (length < piece.size() && isNameChar(piece[length]))
            ++length;
        if (length > 0 && !(piece[0] >= '0' && piece[0] <= '9') &&
            !isKeyword(piece.first(length), "as"))
            names.insert(caseFolded(piece.first(length)), inPrivate);
    }
}

} // namespace

InsideNames namesDeclaredInside(const QList<QByteArrayView>& blockLines, InsideNames* staticNames) {
    InsideNames names;
    CodeLexer lexer;
    int enumDepth = 0; // inside an enum: its lines name its values
    int depth = 0;     // inside an anonymous union or type: its lines are fields
    bool inPrivate = false;
    for (qsizetype i = 1; i < blockLines.size(); ++i) {
        QByteArrayView code = lexer.next(blockLines[i]);
        if (const std::optional<bool> access = opensPrivateSection(code)) {
            inPrivate = *access;
            code = code.sliced(code.indexOf(':') + 1); // "private: const N = 1"
        }
        const Tokens tokens = lineTokens(code);
        if (tokens.isEmpty())
            continue;
        if (isKeyword(tokens[0], "end")) {
            if (tokens.size() >= 2 && isKeyword(tokens[1], "enum"))
                enumDepth = 0;
            else if (tokens.size() >= 2 &&
                     (isKeyword(tokens[1], "union") || isKeyword(tokens[1], "type")))
                depth = qMax(0, depth - 1);
            continue;
        }
        if (enumDepth > 0) {
            if (!isKeyword(tokens[0], "declare"))
                addDeclaredNames(code, false, inPrivate, names);
        } else if (isKeyword(tokens[0], "enum")) {
            enumDepth = 1;
            if (tokens.size() >= 2 && !isKeyword(tokens[1], "explicit"))
                addDeclaredNames(tokens[1], false, inPrivate, names);
        } else if (isKeyword(tokens[0], "union") || isKeyword(tokens[0], "type")) {
            // "type Point2": a type of the block's own, named through it too.
            if (tokens.size() >= 2 && !isKeyword(tokens[1], "field") &&
                !isKeyword(tokens[1], "as") && !(tokens.size() >= 3 && isKeyword(tokens[2], "as")))
                addDeclaredNames(tokens[1], false, inPrivate, names);
            ++depth;
        } else if (staticNames && depth == 0 && isKeyword(tokens[0], "static") &&
                   tokens.size() >= 2) {
            addStaticNames(code.sliced(tokens[1].data() - code.data()), inPrivate, *staticNames);
        } else if (depth == 0 && isKeyword(tokens[0], "const") && tokens.size() >= 2 &&
                   !isKeyword(tokens[1], "as")) {
            // "const STEP = 2, LIMIT = 10"
            addDeclaredNames(code.sliced(tokens[1].data() - code.data()), true, inPrivate, names);
        }
    }
    return names;
}

const QSet<QByteArray>& fieldPropertyParameters() {
    static const QSet<QByteArray> names{"index", "new_value"};
    return names;
}

void qualifyNamesInside(QByteArray& text, const InsideNames& names, QByteArrayView typeName,
                        const QSet<QByteArray>& except,
                        const QList<QSet<QByteArray>>* exceptOnLine) {
    if (names.isEmpty())
        return;
    QByteArray result;
    CodeLexer lexer;
    bool changed = false;
    qsizetype lineIndex = -1;
    for (const QByteArrayView line : splitLines(text)) {
        if (++lineIndex > 0)
            result += '\n';
        const QSet<QByteArray>* ownHere = exceptOnLine && lineIndex < exceptOnLine->size() &&
                                                  !(*exceptOnLine)[lineIndex].isEmpty()
                                              ? &(*exceptOnLine)[lineIndex]
                                              : nullptr;
        const QByteArrayView code = lexer.next(line);
        const QByteArrayView first = firstToken(code);
        if (!first.isEmpty() && first[0] == '#') {
            result += line;
            continue;
        }
        qsizetype copied = 0;
        QByteArray lastWords[2]; // the two words before this one, case-folded
        for (qsizetype at = 0; at < code.size();) {
            if (!isNameChar(code[at]) || (code[at] >= '0' && code[at] <= '9')) {
                ++at;
                continue;
            }
            qsizetype end = at;
            while (end < code.size() && isNameChar(code[end]))
                ++end;
            const QByteArray word = caseFolded(code.sliced(at, end - at));
            // A result got by reference ("byref as WalkMode") is the twin's
            // own, which the parent's cannot stand for.
            const bool reference = lastWords[0] == "byref" && lastWords[1] == "as";
            lastWords[0] = lastWords[1];
            lastWords[1] = word;
            qsizetype before = at;
            while (before > 0 && isBlank(code[before - 1]))
                --before;
            // "p.word", "p->word"; "a > word" compares with the name.
            const bool member =
                before > 0 && (code[before - 1] == '.' ||
                               (before > 1 && code[before - 1] == '>' && code[before - 2] == '-'));
            const QByteArrayView next = firstToken(code.sliced(end));
            if (names.contains(word) && !except.contains(word) &&
                !(ownHere && ownHere->contains(word)) && !member && word != "parent" &&
                !isKeyword(next, "as")) {
                result += line.sliced(copied, at - copied);
                result +=
                    reference || names.value(word) ? twinNameOf(typeName) : typeName.toByteArray();
                result += '.';
                copied = at;
                changed = true;
            }
            at = end;
        }
        result += line.sliced(copied);
    }
    if (changed)
        text = result;
}

MemberHeader memberHeaderOf(QByteArrayView kind, QByteArrayView header) {
    MemberHeader result;
    result.kind = kind;
    result.tokens = lineTokens(header);
    // A comment after the header may hold brackets of its own.
    const QByteArrayView code = codeOf(header);
    result.memberName = memberNameOf(code);
    result.argumentList = argumentListOf(code);
    if (isKeyword(kind, "property"))
        result.memberClass = keyOfHeader(header).memberClass;
    return result;
}

namespace {

// Appends the body line of a forwarder: the call, or for a property the
// access, passed on to target ("parent." or the twin's type).
void appendForwardedBody(QByteArray& body, const MemberHeader& header, QByteArrayView target) {
    body += "\n  ";
    const bool getter = header.memberClass == MemberClass::getter;
    if (!isKeyword(header.kind, "sub") && header.memberClass != MemberClass::setter)
        body += "return ";
    body += target;
    body += header.memberName;
    const QByteArrayView arguments = header.argumentList;
    if (header.memberClass == MemberClass::setter) {
        // The last parameter is the value; any before it are indexes.
        const qsizetype comma = arguments.lastIndexOf(',');
        if (comma >= 0) {
            body += '(';
            body += arguments.first(comma);
            body += ')';
        }
        body += " = ";
        body += arguments.sliced(comma + 1);
    } else if (!getter || !arguments.isEmpty()) {
        body += '(';
        body += arguments;
        body += ')';
    }
    body += "\nend ";
    for (const char c : header.kind)
        body += foldCase(c);
    body += '\n';
}

// The header's tokens joined with single spaces, the qualifier the header test
// matched (prefixLength bytes) taken from the second token and replaced by
// `replacement`.
void appendHeader(QByteArray& out, const Tokens& tokens, qsizetype prefixLength,
                  QByteArrayView replacement) {
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (i > 0)
            out += ' ';
        if (i == 1) {
            out += replacement;
            out += tokens[1].sliced(qMin(prefixLength, tokens[1].size()));
        } else {
            out += tokens[i];
        }
    }
}

} // namespace

ForwardEntry forwardMember(const MemberHeader& header, const QByteArray& memberPrefix,
                           const MemberDeclaration* declared) {
    // The header is copied token by token, so indentation goes and every run
    // of spaces becomes one. Only the qualifier the header test matched leaves
    // the second token, whatever its letter case.
    const bool isStatic = declared && declared->isStatic;
    // A parameter named "parent" (sub Node.attach(byval parent as Node ptr))
    // hides the member inside the forwarder, which then says "this.parent".
    bool parameterNamedParent = false;
    for (const QByteArray& argument : header.argumentList.split(',')) {
        const QByteArrayView name = QByteArrayView(argument).endsWith("()")
                                        ? QByteArrayView(argument).chopped(2)
                                        : QByteArrayView(argument);
        if (isKeyword(name, "parent"))
            parameterNamedParent = true;
    }
    const QByteArray target = isStatic ? twinNameOf(QByteArrayView(memberPrefix).chopped(1)) + '.'
                              : parameterNamedParent ? QByteArray("this.parent.")
                                                     : QByteArray("parent.");
    qsizetype headerSize = 0;
    for (const QByteArrayView token : header.tokens)
        headerSize += token.size() + 1;

    ForwardEntry entry;
    QByteArray& forwarder = entry.forwarder;
    forwarder.reserve(headerSize + forwardPlaceholder().size() + target.size() +
                      header.memberName.size() + header.argumentList.size() + header.kind.size() +
                      24);
    appendHeader(forwarder, header.tokens, memberPrefix.size(), forwardPlaceholder());
    forwarder += ' ';
    appendForwardedBody(forwarder, header, target);

    QByteArray& declaration = entry.declaration;
    if (declared) {
        // The declaration is copied as written, so a default such as "a  b"
        // keeps its spaces.
        declaration.reserve(declared->code.size() + 2);
        declaration += "  ";
        declaration += declared->code;
    } else {
        declaration.reserve(headerSize + 10);
        declaration += "  declare ";
        appendHeader(declaration, header.tokens, memberPrefix.size(), {});
    }
    return entry;
}

namespace {

// What a renamed parameter's name (case-folded) gets after it: the suffix,
// with a number after it where the name it makes is taken already.
QByteArray suffixFor(const QByteArray& name,
                     const std::function<bool(const QByteArray&)>& isTaken) {
    QByteArray suffix = renamedParameterSuffix.toByteArray();
    for (int attempt = 2; isTaken(name + caseFolded(suffix)); ++attempt)
        suffix = renamedParameterSuffix.toByteArray() + QByteArray::number(attempt);
    return suffix;
}

} // namespace

namespace {

// The passing mode the compiler gives a parameter of this type written
// without one: "byref" for a string and a type of the program's, "byval"
// for a number, a pointer and the like; nothing where the type alone does
// not tell (an alias, an enum or a type declared elsewhere look alike).
QByteArrayView defaultModeOf(QByteArrayView type) {
    QByteArray spaced = caseFolded(singleSpaced(type));
    if (spaced.startsWith("const "))
        spaced = spaced.sliced(6);
    if (!isBuiltinValue(spaced))
        return {};
    const bool pointer = spaced.endsWith(" ptr") || spaced.endsWith(" pointer");
    if (!pointer && (spaced.startsWith("string") || spaced.startsWith("zstring") ||
                     spaced.startsWith("wstring")))
        return "byref ";
    return "byval ";
}

// In the forwarder's header line at headerAt, each renamed parameter written
// without a passing mode gets the one it has by default: under "-w pedantic"
// the compiler warns of a parameter without one, and it does so at the
// parent's own lines already, so the forwarder's copy would only repeat the
// warning under a name the user never wrote ("x__fbext").
void writeDefaultModes(QByteArray& forwarder, qsizetype headerAt,
                       const QSet<QByteArray>& memberNames) {
    qsizetype headerEnd = forwarder.indexOf('\n', headerAt);
    if (headerEnd < 0)
        headerEnd = forwarder.size();
    const QByteArray header = forwarder.sliced(headerAt, headerEnd - headerAt);
    const QByteArrayView parameters = parameterTextOf(header);
    if (parameters.isEmpty())
        return;
    struct Insertion {
        qsizetype at;
        QByteArrayView mode;
    };
    QList<Insertion> insertions;
    for (const QByteArrayView piece : parametersOf(parameters)) {
        const Tokens tokens = lineTokens(piece);
        if (tokens.size() < 3 || !isKeyword(tokens[1], "as"))
            continue; // a mode written already, an array "x()", or "..."
        const QByteArrayView name = tokens[0];
        if (!std::all_of(name.begin(), name.end(), isNameChar))
            continue; // "values__fbext()": an array, always got by reference
        const qsizetype suffixAt = indexOfIgnoringCase(name, renamedParameterSuffix);
        if (suffixAt <= 0 || !memberNames.contains(caseFolded(name.first(suffixAt))))
            continue;
        // The type: up to a default value.
        const QByteArrayView rest = piece.sliced(tokens[2].data() - piece.data());
        const qsizetype equals = topLevelIndexOf(rest, '=');
        const QByteArrayView mode = defaultModeOf(equals < 0 ? rest : rest.first(equals));
        if (!mode.isEmpty())
            insertions.append(Insertion{headerAt + (name.data() - header.constData()), mode});
    }
    for (qsizetype i = insertions.size() - 1; i >= 0; --i)
        forwarder.insert(insertions[i].at, insertions[i].mode);
}

} // namespace

namespace {

// Whether a word after the first "(" of the header line at headerAt is one of
// names (case-folded), or the header goes on to another line: only then can
// a parameter have one of the names. Most forwarders are settled by this.
bool mayNameAnyAfterBracket(QByteArrayView forwarder, qsizetype headerAt,
                            const QSet<QByteArray>& names) {
    qsizetype end = forwarder.indexOf('\n', headerAt);
    if (end < 0)
        end = forwarder.size();
    const QByteArrayView header = forwarder.sliced(headerAt, end - headerAt);
    const qsizetype open = header.indexOf('(');
    if (open < 0 || header.contains('_'))
        return true;
    const QByteArrayView parameters = header.sliced(open);
    QByteArray key;
    bool named = false;
    forEachName(parameters, [&](qsizetype from, qsizetype to) {
        setCaseFolded(key, parameters.sliced(from, to - from));
        named = names.contains(key);
        return named ? parameters.size() : to;
    });
    return named;
}

} // namespace

void renameParametersNamedLikeMembers(QByteArray& forwarder, qsizetype headerAt,
                                      const QSet<QByteArray>& memberNames) {
    if (memberNames.isEmpty() || !mayNameAnyAfterBracket(forwarder, headerAt, memberNames))
        return;
    // A forwarder is an implementation like any other: its header, the call
    // that passes the parameters on, its end line.
    const Lines lines = splitLines(QByteArrayView(forwarder).sliced(headerAt));
    const QList<RenamedLine> changed = renameParametersNamedLike(
        [&lines](qsizetype i) { return lines[i]; }, lines.size(), memberNames,
        [&memberNames](const QByteArray& name) { return memberNames.contains(name); });
    if (changed.isEmpty())
        return;
    QByteArray result = forwarder.left(headerAt);
    qsizetype next = 0; // of changed
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            result += '\n';
        if (next < changed.size() && changed[next].index == i)
            result += changed[next++].text;
        else
            result += lines[i];
    }
    forwarder = result;
    writeDefaultModes(forwarder, headerAt, memberNames);
}

namespace {

// A name of a parameter to rename, or of its use: where it stands among the
// implementation's lines.
struct NameAt {
    qsizetype line;
    qsizetype end;   // the name ends here: the suffix goes here
    QByteArray name; // case-folded
};

bool isProcedureKeyword(QByteArrayView word) {
    static const QByteArrayView keywords[] = {"sub",      "function",    "property",
                                              "operator", "constructor", "destructor"};
    for (const QByteArrayView keyword : keywords) {
        if (isKeyword(word, keyword))
            return true;
    }
    return false;
}

// Whether the name at [at, end) of code is the digits of a number written
// "&h1F", "&o17" or "&b101".
bool isNumberAfterAmpersand(QByteArrayView code, qsizetype at, qsizetype end) {
    if (at == 0 || code[at - 1] != '&' || end - at < 2)
        return false;
    const char base = foldCase(code[at]);
    if (base != 'h' && base != 'o' && base != 'b')
        return false;
    for (qsizetype i = at + 1; i < end; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(code[i])))
            return false;
    }
    return true;
}

// How a statement changes the compound statements open: +1 for one that
// opens a loop or block ("for", "do", "while", "scope", "with", "select"),
// -1 for one that closes it, 0 for any other.
int blocksOpenedBy(const Tokens& words) {
    if (words.isEmpty())
        return 0;
    const QByteArrayView first = words[0];
    if (isKeyword(first, "for") || isKeyword(first, "do") || isKeyword(first, "while") ||
        isKeyword(first, "scope") || isKeyword(first, "with") || isKeyword(first, "select"))
        return 1;
    if (isKeyword(first, "next") || isKeyword(first, "loop") || isKeyword(first, "wend"))
        return -1;
    if (isKeyword(first, "end") && words.size() >= 2 &&
        (isKeyword(words[1], "scope") || isKeyword(words[1], "with") ||
         isKeyword(words[1], "select")))
        return -1;
    return 0;
}

// The pieces of text split at the commas outside brackets.
QList<QByteArrayView> topLevelPieces(QByteArrayView text) {
    QList<QByteArrayView> pieces;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(' || c == '{' || c == '[')
            ++depth;
        else if ((c == ')' || c == '}' || c == ']') && depth > 0)
            --depth;
        else if (c == ',' && depth == 0) {
            pieces.append(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    pieces.append(text.sliced(start));
    return pieces;
}

// The names at bracket depth 0 of piece, before a "=" there.
QList<QByteArrayView> namesBeforeInitializer(QByteArrayView piece) {
    QList<QByteArrayView> names;
    int depth = 0;
    for (qsizetype at = 0; at < piece.size();) {
        const char c = piece[at];
        if (c == '(' || c == '{' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == '}' || c == ']') && depth > 0) {
            --depth;
        } else if (c == '=' && depth == 0) {
            break;
        } else if (isNameChar(c)) {
            qsizetype end = at;
            while (end < piece.size() && isNameChar(piece[end]))
                ++end;
            if (depth == 0)
                names.append(piece.sliced(at, end - at));
            at = end;
            continue;
        }
        ++at;
    }
    return names;
}

} // namespace

QList<DeclaredLocal> localsDeclaredIn(QByteArrayView code, bool withRedimAndStatic) {
    QList<DeclaredLocal> found;
    const auto declares = [withRedimAndStatic](QByteArrayView word) {
        return isKeyword(word, "dim") || isKeyword(word, "var") ||
               (withRedimAndStatic && (isKeyword(word, "redim") || isKeyword(word, "static")));
    };
    // Most lines hold one statement, which declares nothing.
    if (!code.contains(':')) {
        const QByteArrayView first = firstToken(code);
        if (!declares(first) && !isKeyword(first, "for"))
            return found;
    }
    // A local declared after a loop opened on the same line ("for i as
    // integer = 1 to 3 : dim t as integer : next") lives inside that loop.
    int opened = 0;
    for (qsizetype start = 0; start <= code.size();) {
        qsizetype stop = code.indexOf(':', start);
        if (stop < 0)
            stop = code.size();
        const QByteArrayView statement = code.sliced(start, stop - start);
        start = stop + 1;
        const Tokens words = lineTokens(statement);
        const int before = opened;
        opened = std::max(0, opened + blocksOpenedBy(words));
        if (words.size() >= 3 && isKeyword(words[0], "for") && isNameChar(words[1][0]) &&
            isKeyword(words[2], "as")) {
            found.append(DeclaredLocal{words[1], true, false, before});
            continue;
        }
        if (words.size() < 2 || !declares(words[0]))
            continue;
        // What follows the keyword, past "shared", "byref" and "preserve".
        qsizetype next = 1;
        while (next < words.size() &&
               (isKeyword(words[next], "shared") || isKeyword(words[next], "byref") ||
                isKeyword(words[next], "preserve")))
            ++next;
        if (next >= words.size())
            continue;
        const bool redim = isKeyword(words[0], "redim");
        const QByteArrayView rest = statement.sliced(words[next].data() - statement.data());
        const bool typeFirst = isKeyword(words[next], "as"); // "dim as integer a, b"
        const QList<QByteArrayView> pieces = topLevelPieces(rest);
        for (qsizetype p = 0; p < pieces.size(); ++p) {
            QList<QByteArrayView> names = namesBeforeInitializer(pieces[p]);
            if (!names.isEmpty() && isKeyword(names.constFirst(), "byref"))
                names.removeFirst();
            if (names.isEmpty())
                continue;
            // In "as integer a" the name comes last; elsewhere it comes first.
            found.append(DeclaredLocal{typeFirst && p == 0 ? names.constLast() : names.constFirst(),
                                       false, redim, opened});
        }
    }
    return found;
}

namespace {

// Whether the line starts another branch of an if or select block ("else",
// "elseif", "case"): what the branch before it declared is gone there.
bool startsBranch(const Tokens& words) {
    return !words.isEmpty() && (isKeyword(words[0], "else") || isKeyword(words[0], "elseif") ||
                                isKeyword(words[0], "case"));
}

} // namespace

QList<RenamedLine>
renameParametersNamedLike(const std::function<QByteArrayView(qsizetype)>& lineAt, qsizetype count,
                          const QSet<QByteArray>& names,
                          const std::function<bool(const QByteArray&)>& isTaken) {
    if (count <= 0 || names.isEmpty())
        return {};
    const QByteArrayView first = lineAt(0);
    const QByteArrayView header = withoutProcedurePrefix(first);
    const Tokens tokens = lineTokens(header);
    if (tokens.size() < 2 || !isProcedureKeyword(tokens[0]) || !isNameChar(tokens[1][0]))
        return {};
    const QByteArrayView kind = tokens[0];

    // The header: the parameter list is the first "(" after the member's
    // name, before any "as" or ":"; a parameter's name is its first word after
    // "byval" or "byref".
    CodeLexer lexer;
    BlockScanner blocks; // the compound statements open in the body
    QList<NameAt> found;
    QSet<QByteArray> renamed;
    enum { beforeList, inList, afterList } state = beforeList;
    int depth = 0;
    bool expectName = false;
    qsizetype line = 0;
    qsizetype bodyFrom = -1; // where a body on the header's last line starts (after ":")
    QByteArray headerCode;   // that line's code
    for (; line < count; ++line) {
        const QByteArrayView code = lexer.next(lineAt(line));
        blocks.next(line, code, lexer);
        qsizetype at = line == 0 ? tokens[1].data() - first.data() : 0;
        while (at < code.size() && bodyFrom < 0) {
            const char c = code[at];
            if (isNameChar(c)) {
                qsizetype end = at;
                while (end < code.size() && isNameChar(code[end]))
                    ++end;
                const QByteArrayView word = code.sliced(at, end - at);
                if (state == beforeList && isKeyword(word, "as"))
                    state = afterList;
                if (state == inList && expectName && !isKeyword(word, "byval") &&
                    !isKeyword(word, "byref") && word != "_") {
                    expectName = false;
                    QByteArray key = caseFolded(word);
                    if (names.contains(key)) {
                        found.append(NameAt{line, end, key});
                        renamed.insert(std::move(key));
                    }
                }
                at = end;
                continue;
            }
            if (state == beforeList && c == '(') {
                state = inList;
                depth = 1;
                expectName = true;
            } else if (state == inList && c == '(') {
                ++depth;
            } else if (state == inList && c == ')') {
                if (--depth == 0)
                    state = afterList;
            } else if (state == inList && c == ',' && depth == 1) {
                expectName = true;
            } else if (state != inList && c == ':') {
                bodyFrom = at + 1;
            } else if (!isBlank(c)) {
                expectName = false;
            }
            ++at;
        }
        if (bodyFrom >= 0) {
            headerCode = code.toByteArray();
            break;
        }
        if (!lexer.isContinued())
            break;
    }
    // A parameter keeps its new name through the whole body.
    const QSet<QByteArray> parameters = renamed;

    // The body, up to the end line, or the rest of a header line that holds it.
    // A variable the body declares with one of the names (FreeBASIC's own
    // inheritance lets a member's local hide what the type inherits) is
    // renamed as a parameter is, from its declaration to the end of the
    // block that holds it.
    // The locals stand in the order of their depth, so those a line's end or
    // a new branch takes away are the last ones; liveLocals counts them by
    // name, so a word is looked up once however many are live.
    struct Local {
        QByteArray name;
        int depth; // the compound statements open where it lives
    };
    QList<Local> locals;
    QHash<QByteArray, int> liveLocals;
    const auto isLocal = [&liveLocals](const QByteArray& key) { return liveLocals.contains(key); };
    const auto addLocal = [&](QByteArray key, int localDepth) {
        ++liveLocals[key];
        qsizetype at = locals.size();
        while (at > 0 && locals[at - 1].depth > localDepth)
            --at;
        locals.insert(at, Local{std::move(key), localDepth});
    };
    // Drops the locals that live deeper than keptDepth.
    const auto dropLocalsBelow = [&](int keptDepth) {
        while (!locals.isEmpty() && locals.constLast().depth > keptDepth) {
            const auto live = liveLocals.find(locals.constLast().name);
            if (--*live == 0)
                liveLocals.erase(live);
            locals.removeLast();
        }
    };
    QSet<QByteArray> used; // names the implementation uses that may meet a new one
    const auto noteUse = [&](QByteArrayView word) {
        if (word.size() > renamedParameterSuffix.size() &&
            indexOfIgnoringCase(word, renamedParameterSuffix) >= 0)
            used.insert(caseFolded(word));
    };
    for (qsizetype bodyLine = bodyFrom >= 0 ? line : line + 1; bodyLine < count; ++bodyLine) {
        const bool onHeader = bodyLine == line;
        const QByteArrayView code =
            onHeader ? QByteArrayView(headerCode) : lexer.next(lineAt(bodyLine));
        const qsizetype from = onHeader ? bodyFrom : 0;
        const Tokens words = lineTokens(code);
        const bool endLine = !onHeader && words.size() >= 2 && isKeyword(words[0], "end") &&
                             isKeyword(words[1], kind);
        const int depthBefore = blocks.compoundDepth();
        if (!onHeader)
            blocks.next(bodyLine, code, lexer);
        if (startsBranch(words))
            dropLocalsBelow(depthBefore - 1);
        for (const DeclaredLocal& declared : localsDeclaredIn(code.sliced(from))) {
            QByteArray key = caseFolded(declared.name);
            if (!names.contains(key) || parameters.contains(key))
                continue;
            renamed.insert(key);
            addLocal(std::move(key),
                     depthBefore + declared.opened + (declared.loopCounter ? 1 : 0));
        }
        forEachName(code.sliced(from), [&](qsizetype start, qsizetype stop) {
            const qsizetype at = from + start, end = from + stop;
            const QByteArrayView word = code.sliced(at, end - at);
            noteUse(word);
            if ((!parameters.isEmpty() || !locals.isEmpty()) && !isReachedThrough(code, at) &&
                !isNumberAfterAmpersand(code, at, end)) {
                QByteArray key = caseFolded(word);
                if (parameters.contains(key) || isLocal(key))
                    found.append(NameAt{bodyLine, end, std::move(key)});
            }
            return stop;
        });
        const int depthAfter = blocks.compoundDepth();
        dropLocalsBelow(depthAfter);
        if (endLine || endsWithEndStatement(code, kind))
            break;
    }
    if (found.isEmpty())
        return {};

    // For each name, a suffix that makes a name of no member and none used here.
    QHash<QByteArray, QByteArray> suffixes;
    for (const QByteArray& name : std::as_const(renamed))
        suffixes.insert(name, suffixFor(name, [&](const QByteArray& newName) {
                            return isTaken(newName) || used.contains(newName);
                        }));

    QList<RenamedLine> lines;
    for (qsizetype i = 0; i < found.size();) {
        const qsizetype at = found[i].line;
        const QByteArrayView original = lineAt(at);
        QByteArray text;
        qsizetype copied = 0;
        for (; i < found.size() && found[i].line == at; ++i) {
            text += original.sliced(copied, found[i].end - copied);
            text += suffixes.value(found[i].name);
            copied = found[i].end;
        }
        text += original.sliced(copied);
        lines.append(RenamedLine{at, std::move(text)});
    }
    return lines;
}

QByteArray memberNameOf(QByteArrayView header) {
    const qsizetype dot = header.indexOf('.');
    const qsizetype open = header.indexOf('(');
    QByteArrayView piece = pieceOf(header, dot + 1, open - dot - 1);
    // Without brackets the name ends at the first blank after it, before the
    // result ("function Shape.area as integer").
    return firstToken(piece).toByteArray();
}

bool takesVariableArguments(QByteArrayView header) {
    const QByteArrayView parameters = parameterTextOf(header);
    return !parameters.isEmpty() && parametersOf(parameters).constLast().trimmed() == "...";
}

QByteArray argumentListOf(QByteArrayView header) {
    QByteArray list;
    const QByteArrayView parameters = parameterTextOf(header);
    if (parameters.isEmpty())
        return list;
    for (QByteArrayView piece : parametersOf(parameters)) {
        const Tokens tokens = lineTokens(piece);
        qsizetype at = 0;
        if (!tokens.isEmpty() && (isKeyword(tokens[0], "byval") || isKeyword(tokens[0], "byref")))
            at = 1;
        if (at >= tokens.size() || tokens[at] == "...")
            continue;
        if (!list.isEmpty())
            list += ',';
        list += tokens[at];
    }
    return list;
}
