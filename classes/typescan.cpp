#include "typescan.h"

#include "characters.h"
#include "codelexer.h"
#include "conditionals.h"
#include "fieldforms.h"
#include "forwarding.h"
#include "keyedlines.h"
#include "lines.h"
#include "membersyntax.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <numeric>
#include <tuple>

namespace {

// The first two tokens of a line, and how many it has: 0, 1, or 2 for two or
// more. The rest of the line is not looked at.
struct LineView {
    QByteArrayView first, second;
    int count = 0;
};

// A space or a tab separates tokens, as it does for the compiler.
LineView viewOf(QByteArrayView line) {
    const Tokens tokens = lineTokens(line, 2);
    LineView view;
    view.count = int(tokens.size());
    if (view.count > 0)
        view.first = tokens[0];
    if (view.count > 1)
        view.second = tokens[1];
    return view;
}

// Whether a type line names another type ("type Handle as integer"): its
// third token is "as".
bool declaresAlias(QByteArrayView line) {
    const Tokens tokens = lineTokens(codeOf(line));
    return tokens.size() >= 3 && isKeyword(tokens[2], "as");
}

// The member kinds, scanned in this order for each type. Subs, functions and
// properties are forwarded to extending types; constructors, destructors and
// operators are not inherited through "parent" and only reach the twin, as do
// the definitions of static data ("dim Shape.count as integer"), one line each.
// Constructors and destructors name the type itself ("constructor Shape",
// "constructor Shape(byval n as integer)"); every other header names the member
// with the type's qualifier ("sub Shape.move()", "operator Shape.cast()").
struct MemberKind {
    QByteArrayView keyword;
    bool forwarded;
    bool namesType;
    bool oneLine = false;
};

const MemberKind memberKinds[] = {
    {"sub", true, false},         {"function", true, false},   {"property", true, false},
    {"constructor", false, true}, {"destructor", false, true}, {"operator", false, false},
    {"dim", false, false, true},
};
constexpr int memberKindCount = int(sizeof(memberKinds) / sizeof(memberKinds[0]));

// Whether the line's first token starts with the letter of "type" or of a
// member keyword. Lets most lines skip tokenizing.
bool mayOpenTypeOrMember(QByteArrayView line) {
    qsizetype at = 0;
    while (at < line.size() && isBlank(line[at]))
        ++at;
    if (at == line.size())
        return false;
    switch (foldCase(line[at])) {
    case 't': // type
    case 's': // sub
    case 'f': // function
    case 'p': // property
    case 'c': // constructor
    case 'd': // destructor, dim
    case 'o': // operator
        return true;
    default:
        return false;
    }
}

// The member kind whose keyword token is, or -1.
int memberKindOf(QByteArrayView token) {
    for (int kind = 0; kind < memberKindCount; ++kind) {
        const QByteArrayView keyword = memberKinds[kind].keyword;
        if (token.size() == keyword.size() && isKeyword(token, keyword))
            return kind;
    }
    return -1;
}

// Makes key the index key of a header of kind whose second token starts
// with qualifier. The key's bytes are reused, so a lookup allocates nothing.
void setIndexKey(QByteArray& key, int kind, QByteArrayView qualifier) {
    key.resize(qualifier.size() + 1);
    char* data = key.data();
    data[0] = char('0' + kind);
    for (qsizetype i = 0; i < qualifier.size(); ++i)
        data[i + 1] = foldCase(qualifier[i]);
}

// The working list: every line in file order, with the implementations already
// taken out unlinked, so each scan walks only what is left.
struct WorkingLines {
    QList<int> next, previous;
    QList<bool> alive;

    explicit WorkingLines(qsizetype count) : next(count), previous(count), alive(count, true) {
        for (qsizetype i = 0; i < count; ++i) {
            next[i] = i + 1 < count ? int(i + 1) : -1;
            previous[i] = int(i) - 1;
        }
    }
    void take(int line) {
        alive[line] = false;
        if (previous[line] >= 0)
            next[previous[line]] = next[line];
        if (next[line] >= 0)
            previous[next[line]] = previous[line];
    }
};

// "#ifdef __FBEXT_MEMBERS_List_integer__", the line the template pass opens
// an instance's later members with.
bool isMembersGuard(QByteArrayView line) {
    const Tokens tokens = lineTokens(line);
    return tokens.size() == 2 && isKeyword(tokens[0], "#ifdef") &&
           tokens[1].startsWith("__FBEXT_MEMBERS_") && tokens[1].endsWith("__");
}

class Scan {
public:
    explicit Scan(const LineIndex& lines)
        : lines(lines), working(lines.size()), commented(linesStartingInComment(lines)) {
        indexHeaders();
        findMacroBodies();
    }

    QList<TypeRecord> run() {
        QList<TypeRecord> records;
        records.reserve(typeLines);
        for (int j = lines.isEmpty() ? -1 : 0; j >= 0; j = working.next[j]) {
            if (!firstTokenMayBe(lines[j], "type") || inComment(j))
                continue;
            const LineView info = lineView(j);
            if (info.count < 2 || !isKeyword(info.first, "type"))
                continue;
            // A type a macro's body opens and leaves open ("#macro
            // BEGIN_TYPE(n)", "type n", "#endmacro") is closed where the
            // macro is used: the body is no block of the file's.
            const qsizetype bodyEnd = macroBodyEndAfter(j);
            if (bodyEnd >= 0 && !declaresAlias(lines[j])) {
                ScannedLines found;
                if (scanBlock(j, found, int(bodyEnd)) < 0)
                    continue;
            }
            records.append(scanType(j));
            // A block without an end line holds every line after it, and the
            // rewrite keeps them as written: a type line further on opens no
            // block of its own, and scanning each of them to the end of the
            // file again would take time and memory growing with the square
            // of the file.
            if (records.last().blockEnd < 0)
                break;
        }
        return records;
    }

private:
    const LineIndex& lines;

    LineView lineView(int line) const { return viewOf(lines[line]); }
    WorkingLines working;
    // Lines that start inside a /' ... '/ comment: code commented out, which
    // declares and implements nothing. Empty when there are none.
    const QList<bool> commented;
    bool inComment(qsizetype line) const { return !commented.isEmpty() && commented[line]; }
    // Header lines by kind and qualifier: for every "." of a header's second
    // token, the text up to and including it, case-folded. Lines in file order.
    KeyedLines headers;
    QByteArray key; // the bytes of the last index key looked up
    // The "#endmacro" line of each macro body, by the "#macro" line; none in
    // most files.
    QList<std::pair<qsizetype, qsizetype>> macroBodies;
    qsizetype macroAt = 0; // the first of them that may hold the next line asked about

    void findMacroBodies() {
        if (lines.isEmpty())
            return;
        const QByteArrayView last = lines[lines.size() - 1];
        const QByteArrayView text(lines[0].data(), last.data() + last.size() - lines[0].data());
        // Most files have no "#endmacro"; its rare letter pair "dm" is looked for.
        if (indexOfIgnoringCase(text, "dmacro") < 0)
            return;
        qsizetype opened = -1;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (inComment(i))
                continue;
            const QByteArrayView word = directiveWordOf(codeOf(lines[i]));
            if (opened < 0 && isKeyword(word, "macro")) {
                opened = i;
            } else if (opened >= 0 && isKeyword(word, "endmacro")) {
                macroBodies.append({opened, i});
                opened = -1;
            }
        }
    }

    // The "#endmacro" line of the macro body that holds line, or -1; asked
    // about lines in file order.
    qsizetype macroBodyEndAfter(qsizetype line) {
        while (macroAt < macroBodies.size() && macroBodies[macroAt].second < line)
            ++macroAt;
        return macroAt < macroBodies.size() && macroBodies[macroAt].first < line
                   ? macroBodies[macroAt].second
                   : -1;
    }
    ConditionalBlocks conditionals;
    qsizetype typeLines = 0; // lines that may open a type block: room for the records

    void indexUnder(int kind, QByteArrayView qualifier, int line) {
        setIndexKey(key, kind, qualifier);
        headers.add(key, line);
    }

    void indexHeaders() {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (inComment(i) || conditionals.note(qint32(i), lines[i]) ||
                !mayOpenTypeOrMember(lines[i]))
                continue;
            const QByteArrayView first = firstToken(lines[i]);
            if (isKeyword(first, "type")) {
                ++typeLines;
                continue;
            }
            const QByteArrayView header = withoutProcedurePrefix(lines[i]);
            const int kind = memberKindOf(firstToken(header));
            if (kind < 0)
                continue;
            LineView info = viewOf(header);
            if (info.count < 2)
                continue;
            if (memberKinds[kind].oneLine) {
                // "dim shared Shape.count as integer" and "dim as integer
                // Shape.count" define the same static data as "dim
                // Shape.count as integer": index it under its name.
                const QByteArrayView name = staticDefinitionName(codeOf(header));
                if (name.isEmpty())
                    continue;
                info.second = name;
            }
            if (memberKinds[kind].namesType) {
                // Under the whole token and under each piece before a "(".
                indexUnder(kind, info.second, int(i));
                for (qsizetype open = info.second.indexOf('('); open >= 0;
                     open = info.second.indexOf('(', open + 1))
                    indexUnder(kind, info.second.first(open), int(i));
                continue;
            }
            for (qsizetype dot = info.second.indexOf('.'); dot >= 0;
                 dot = info.second.indexOf('.', dot + 1))
                indexUnder(kind, info.second.first(dot + 1), int(i));
        }
        headers.finish();
    }

    TypeRecord scanType(int typeLine) {
        TypeRecord record;
        record.typeName = lineView(typeLine).second.toByteArray();
        record.typeLine = typeLine;
        const QByteArray memberPrefix = record.typeName + '.';
        if (declaresAlias(lines[typeLine])) {
            // "type Handle as integer" opens no block: it is its own line.
            record.found.block.append(typeLine);
            record.blockEnd = typeLine;
        } else {
            record.blockEnd = scanBlock(typeLine, record.found);
        }
        for (int kind = 0; kind < memberKindCount; ++kind)
            scanMembers(typeLine, kind,
                        memberKinds[kind].namesType ? record.typeName : memberPrefix, record.found);
        return record;
    }

    // The type line through the end line that closes it (returned), or the
    // end of the file (-1). Anonymous unions and types nested in the block have end lines of
    // their own, and their fields are the type's fields; the lines of an enum
    // and of a named type or union nested in the block are not fields. Every
    // other line may declare fields or members.
    int scanBlock(int typeLine, ScannedLines& found, int stopAt = -1) {
        int depth = 0;
        int enumDepth = 0;      // the depth inside an enum or a named nested type, or 0
        bool continued = false; // the line goes on from the one before ("... _")
        for (int k = typeLine; k >= 0 && (stopAt < 0 || k < stopAt); k = working.next[k]) {
            found.block.append(k);
            const QByteArrayView code = codeOf(lines[k]);
            const bool wasContinued = continued;
            continued = endsInContinuation(code);
            if (k == typeLine || wasContinued || inComment(k))
                continue;
            const LineView words = viewOf(code);
            if (words.count == 0)
                continue;
            if (isKeyword(words.first, "end") && words.count >= 2) {
                if (depth == 0 && isKeyword(words.second, "type"))
                    return k;
                if (depth > 0 &&
                    (isKeyword(words.second, "type") || isKeyword(words.second, "union") ||
                     isKeyword(words.second, "enum"))) {
                    if (depth-- == enumDepth)
                        enumDepth = 0;
                }
                continue;
            }
            const bool typeOrUnion =
                isKeyword(words.first, "union") || isKeyword(words.first, "type");
            if (typeOrUnion && (words.count == 1 || isKeyword(words.second, "field"))) {
                ++depth;
            } else if (isKeyword(words.first, "enum") ||
                       (typeOrUnion && !nestedTypeName(code).isEmpty())) {
                if (enumDepth == 0)
                    enumDepth = depth + 1;
                ++depth;
            } else if (enumDepth == 0 && code.contains(':')) {
                // Several statements on the line ("x as integer : declare sub
                // a()"): it may declare members as well as fields.
                bool declares = false;
                bool other = false;
                for (const QByteArrayView statement : statementsOf(code))
                    (isKeyword(firstToken(statement), "declare") ? declares : other) = true;
                if (declares)
                    found.declarations.append(k);
                if (other) {
                    found.entries.append(ScannedLines::Entry{k, ScannedLines::field});
                    noteConditions(k, typeLine, found);
                }
            } else if (isKeyword(words.first, "declare")) {
                found.declarations.append(k);
            } else if (enumDepth == 0) {
                found.entries.append(ScannedLines::Entry{k, ScannedLines::field});
                noteConditions(k, typeLine, found);
            }
        }
        return -1;
    }

    void noteConditions(int line, int typeLine, ScannedLines& found) const {
        if (conditionals.isEmpty())
            return;
        ConditionalBlocks::Opening opening = conditionals.openingFor(line, typeLine);
        // The template pass puts an instance's members that wait for another
        // type under "#ifdef __FBEXT_MEMBERS_List_integer__", which holds
        // when this file's copy of the instance is the one compiled. When a
        // header read before declared the instance, that copy and its guard
        // are skipped, but the header has the same members: what stands for
        // them on an extending type does not depend on the guard.
        if (!opening.lines.isEmpty() && isMembersGuard(lines[opening.lines.first()])) {
            opening.lines.removeFirst();
            --opening.levels;
        }
        if (opening.levels > 0)
            found.conditioned.append(ScannedLines::Conditioned{line, std::move(opening)});
    }

    // "sub Shape.Point2.length()" implements a member of a type nested in
    // the block (prefix "Shape."), which the twin shares through an alias:
    // it is no member of the type to forward, nor to copy onto the twin.
    // So does "dim Shape.Point2.count as integer" its static data (oneLine).
    static bool implementsNestedMember(QByteArrayView line, const QByteArray& prefix,
                                       bool oneLine) {
        const QByteArrayView header = withoutProcedurePrefix(line);
        const QByteArrayView name =
            oneLine ? staticDefinitionName(codeOf(header)) : viewOf(header).second;
        if (name.size() <= prefix.size() || !startsWithIgnoringCase(name, prefix))
            return false;
        const QByteArrayView member = name.sliced(prefix.size());
        const qsizetype dot = member.indexOf('.');
        const qsizetype bracket = member.indexOf('(');
        return dot >= 0 && (bracket < 0 || dot < bracket);
    }

    // qualifier: the type's name for kinds that name the type, its member
    // prefix for the others.
    static bool isHeader(const LineView& info, int kind, const QByteArray& qualifier) {
        if (info.count < 2 || !isKeyword(info.first, memberKinds[kind].keyword))
            return false;
        if (memberKinds[kind].namesType)
            return namesType(info.second, qualifier);
        return startsWithIgnoringCase(info.second, qualifier);
    }

    // Outside an implementation only a header matters, so the scan jumps from
    // header to header through the index; inside one it takes every line up
    // to the end line of the same kind.
    void scanMembers(int typeLine, int kind, const QByteArray& qualifier, ScannedLines& into) {
        setIndexKey(key, kind, qualifier);
        const KeyedLines::Run candidates = headers.linesOf(key);
        const int* candidate = std::upper_bound(candidates.begin, candidates.end, typeLine);
        int position = typeLine;
        while (true) {
            while (candidate != candidates.end &&
                   (*candidate <= position || !working.alive[*candidate]))
                ++candidate;
            if (candidate == candidates.end)
                return;
            int k = *candidate;
            if (!memberKinds[kind].namesType &&
                implementsNestedMember(lines[k], qualifier, memberKinds[kind].oneLine)) {
                ++candidate;
                continue;
            }
            noteConditions(k, typeLine, into);
            bool ended = false;
            while (k >= 0 && !ended) {
                // Only a line that starts with "end" or the kind's keyword
                // can end the implementation or be a header.
                // A header may also open with "private", "public", "static"
                // or "const".
                const bool mayMatter = firstTokenMayBe(lines[k], "end") ||
                                       firstTokenMayBe(lines[k], memberKinds[kind].keyword) ||
                                       firstTokenMayBe(lines[k], "private") ||
                                       firstTokenMayBe(lines[k], "static") ||
                                       firstTokenMayBe(lines[k], "const");
                const LineView info = mayMatter && !inComment(k)
                                          ? viewOf(withoutProcedurePrefix(lines[k]))
                                          : LineView();
                if (memberKinds[kind].forwarded && isHeader(info, kind, qualifier))
                    into.entries.append(ScannedLines::Entry{k, qint8(kind)});
                // A procedure written on one line ends on its first line.
                ended =
                    memberKinds[kind].oneLine ||
                    (info.count >= 2 && isKeyword(info.first, "end") &&
                     isKeyword(info.second, memberKinds[kind].keyword)) ||
                    (k == *candidate && endsWithEndStatement(lines[k], memberKinds[kind].keyword));
                into.methods.append(k);
                if (ended)
                    into.methods.append(ScannedLines::memberEnd);
                const int following = working.next[k];
                working.take(k);
                position = k;
                k = following;
            }
            if (!ended) {
                into.unended = true;
                return; // the implementation ran to the end of the file
            }
        }
    }
};

} // namespace

QByteArrayView nestedTypeName(QByteArrayView line) {
    // Most lines say at once that they open no type: their first word is
    // another, and no comment stands before it.
    const QByteArrayView first = firstToken(line);
    if (!isKeyword(first, "type") && !isKeyword(first, "union") && !containsCommentOpening(line))
        return {};
    const Tokens tokens = lineTokens(codeOf(line), 3);
    if (tokens.size() < 2 || !(isKeyword(tokens[0], "type") || isKeyword(tokens[0], "union")) ||
        isKeyword(tokens[1], "field") || isKeyword(tokens[1], "as") || declaresAlias(line))
        return {};
    return tokens[1];
}

bool namesType(QByteArrayView token, QByteArrayView typeName) {
    if (!startsWithIgnoringCase(token, typeName))
        return false;
    return token.size() == typeName.size() || token[typeName.size()] == '(';
}

QList<TypeRecord> findTypes(const LineIndex& lines) {
    return Scan(lines).run();
}

namespace {

// A statement that goes on over the lines after its first (each ending in
// " _"), as one line: the lines from first on, continuation marks and
// comments taken out.
QByteArray continuedStatement(const LineIndex& lines, qint32 first) {
    QByteArray statement;
    for (qsizetype at = first; at < lines.size(); ++at) {
        const QByteArrayView code = codeOf(lines[at]);
        if (!endsInContinuation(code)) {
            statement += code;
            break;
        }
        statement += code.chopped(1);
    }
    return statement;
}

// The block's own declaration of a member implementation: the one of the same
// name, kind and parameter types, or else the only one of that name and kind.
// All are added before the first find.
struct Declarations {
    QList<MemberDeclaration> all;
    // Positions in all by name, kind and parameter types, those alike as
    // added: a member overloaded many times is found without a walk over
    // every overload.
    QList<qsizetype> byKey;

    void add(const MemberDeclaration& declaration) { all.append(declaration); }
    void index() {
        byKey.resize(all.size());
        std::iota(byKey.begin(), byKey.end(), 0);
        std::stable_sort(byKey.begin(), byKey.end(), [&](qsizetype a, qsizetype b) {
            const MemberKey &x = all[a].key, &y = all[b].key;
            return std::tie(x.name, x.memberClass, x.signature) <
                   std::tie(y.name, y.memberClass, y.signature);
        });
    }
    // The declaration of the key's name and kind with its parameter types,
    // else the only one of that name and kind.
    const MemberDeclaration* find(const MemberKey& key) const {
        // -1 stands for the key looked up.
        const auto keyAt = [&](qsizetype d) -> const MemberKey& {
            return d < 0 ? key : all[d].key;
        };
        const auto sameKind = std::equal_range(
            byKey.cbegin(), byKey.cend(), qsizetype(-1), [&](qsizetype a, qsizetype b) {
                return std::tie(keyAt(a).name, keyAt(a).memberClass) <
                       std::tie(keyAt(b).name, keyAt(b).memberClass);
            });
        const auto same = std::lower_bound(sameKind.first, sameKind.second, key.signature,
                                           [&](qsizetype d, const QByteArray& signature) {
                                               return all[d].key.signature < signature;
                                           });
        if (same != sameKind.second && all[*same].key.signature == key.signature)
            return &all[*same];
        return sameKind.second - sameKind.first == 1 ? &all[*sameKind.first] : nullptr;
    }
};

// The entry's two texts under the #if branches its line was written in.
void putUnder(ForwardEntry& forward, const ConditionalBlocks::Opening& opening,
              const LineIndex& lines) {
    QByteArray before;
    for (const qint32 line : opening.lines) {
        before += lines[line];
        before += '\n';
    }
    const QByteArray after = closingOf(opening);
    forward.forwarder = before + forward.forwarder + after;
    forward.declaration = before + forward.declaration + '\n' + after.chopped(1);
}

void addMember(TypeRecord& record, MemberKey key, ForwardEntry forward, const LineOrigin& origin) {
    record.members.append(MemberEntry{std::move(key), std::move(forward.forwarder),
                                      std::move(forward.declaration), origin});
}

// The first line after a type's block, at blockEnd, that holds code other
// than the type's own implementations (the lines in methods): up to there
// nothing is declared that a copy of an implementation standing right after
// the block would miss. The number of lines when there is none.
qint32 firstOtherLine(const LineIndex& lines, qint32 blockEnd, const QList<qint32>& methods) {
    if (blockEnd < 0)
        return qint32(lines.size());
    QSet<qint32> own;
    for (const qint32 line : methods)
        own.insert(line);
    CodeLexer lexer;
    lexer.next(lines[blockEnd]);
    for (qint32 k = blockEnd + 1; k < lines.size(); ++k) {
        const QByteArrayView code = lexer.next(lines[k]);
        if (own.contains(k))
            continue;
        if (!std::all_of(code.cbegin(), code.cend(), isSpaceChar))
            return k;
    }
    return qint32(lines.size());
}

// A builder with room for exactly the text of the taken lines, each added as
// a piece of its own; a memberEnd stands for the piece "\n" that follows an
// implementation.
MappedTextBuilder builderFor(const LineIndex& lines, const QList<qint32>& taken) {
    MappedTextBuilder builder;
    qsizetype bytes = -1; // the first piece needs no line feed before it
    qsizetype lineCount = 0;
    for (const qint32 line : taken) {
        const bool end = line == ScannedLines::memberEnd;
        bytes += (end ? 1 : lines[line].size()) + 1;
        lineCount += end ? 2 : 1;
    }
    if (lineCount > 0)
        builder.reserve(bytes, lineCount);
    return builder;
}

} // namespace

void fillScannedTexts(TypeRecord& record, const LineIndex& lines, const QList<LineOrigin>& origins,
                      bool withMembers, const QSet<QByteArray>& enums) {
    ScannedLines found = std::move(record.found);
    record.found = ScannedLines();
    MappedTextBuilder block = builderFor(lines, found.block);
    for (const qint32 line : std::as_const(found.block))
        block.addLine(lines[line], origins[line]);
    record.blockText = block.take();

    // What the block declares itself: an extending type's own fields and
    // members are not inherited.
    Declarations declarations;
    QByteArrayList continuedDeclarations; // the text the declarations' views refer to
    continuedDeclarations.reserve(found.declarations.size());
    for (const qint32 line : std::as_const(found.declarations)) {
        MemberDeclaration declaration;
        QByteArrayView statement = lines[line];
        if (endsInContinuation(codeOf(statement))) {
            continuedDeclarations.append(continuedStatement(lines, line));
            statement = continuedDeclarations.last();
        }
        for (const QByteArrayView one : statementsOf(statement)) {
            if (parseDeclaration(one, declaration)) {
                record.ownKeys.append(declaration.key);
                declarations.add(declaration);
            }
        }
    }
    if (!withMembers) {
        for (const ScannedLines::Entry& entry : std::as_const(found.entries)) {
            if (entry.kind != ScannedLines::field)
                continue;
            for (const FieldForm& field : fieldsOfLine(lines[entry.line]))
                record.ownKeys.append(MemberKey{caseFolded(field.name), MemberClass::field, {}});
        }
        return;
    }
    declarations.index();

    QHash<qint32, const ConditionalBlocks::Opening*> conditions;
    for (const ScannedLines::Conditioned& conditioned : std::as_const(found.conditioned))
        conditions.insert(conditioned.line, &conditioned.opening);
    const auto openingAt = [&](qint32 line) {
        return conditions.isEmpty() ? nullptr : conditions.value(line, nullptr);
    };

    // Implementations that follow the block directly stay together in
    // methodText; the twin's copies of them stand right after its block. One
    // written after other code (a procedure it calls, a variable, an #if or a
    // namespace line) is kept apart, so that its copy can stand beside it.
    // (An implementation that runs to the end of the file takes the lines of
    // those found after it: then all stay together, as written.)
    const qint32 otherCode = found.unended ? qint32(lines.size())
                                           : firstOtherLine(lines, record.blockEnd, found.methods);
    MappedTextBuilder methods = builderFor(lines, found.methods);
    const ConditionalBlocks::Opening* opening = nullptr; // of the implementation being copied
    bool starting = true;
    MappedTextBuilder later;
    bool isLater = false;
    qint32 lastLine = 0;
    // The lines each text has so far, and where the implementation being
    // copied starts: lines that name "static" are noted with their places.
    qint32 methodLines = 0;
    qint32 laterLines = 0;
    StaticCandidate header;
    bool afterStatic = false;
    for (const qint32 line : std::as_const(found.methods)) {
        if (line == ScannedLines::memberEnd) {
            if (isLater) {
                record.laterMethods.append(PlacedText{lastLine, later.take()});
                later = MappedTextBuilder();
                laterLines = 0;
            } else {
                for (int level = 0; opening && level < opening->levels; ++level)
                    methods.add("#endif");
                methods.add("\n");
                methodLines += (opening ? opening->levels : 0) + 2;
            }
            starting = true;
            continue;
        }
        if (starting) {
            isLater = line > otherCode;
            opening = isLater ? nullptr : openingAt(line);
            for (qsizetype i = 0; opening && i < opening->lines.size(); ++i)
                methods.addLine(lines[opening->lines[i]], origins[opening->lines[i]]);
            methodLines += opening ? qint32(opening->lines.size()) : 0;
            header.headerLine = line;
            header.headerIndex = isLater ? laterLines : methodLines;
            header.text = isLater ? qint32(record.laterMethods.size()) : -1;
            header.conditioned = opening != nullptr;
            header.openingLines = opening ? qint32(opening->lines.size()) : 0;
            header.openingLevels = opening ? opening->levels : 0;
            afterStatic = false;
            starting = false;
        }
        qint32& textLines = isLater ? laterLines : methodLines;
        if (afterStatic || indexOfIgnoringCase(lines[line], "static") >= 0) {
            // The lines after a static statement may name its variable.
            afterStatic = true;
            StaticCandidate candidate = header;
            candidate.line = line;
            candidate.index = textLines;
            record.staticCandidates.append(candidate);
        }
        (isLater ? later : methods).addLine(lines[line], origins[line]);
        ++textLines;
        lastLine = line;
    }
    record.methodText = methods.take();

    // Enums and constants declared inside the block are named through the
    // type in what an extending type copies of its declarations.
    // A field of a type nested in the block has, on an extending type, the
    // twin's copy of that type, which is what "parent" holds.
    QList<QByteArrayView> blockLines;
    QSet<QByteArray> nestedTypes;
    bool declaresInside = false;
    for (const qint32 line : std::as_const(found.block)) {
        const QByteArrayView first = firstToken(lines[line]);
        declaresInside = declaresInside || isKeyword(first, "enum") || isKeyword(first, "const") ||
                         isKeyword(first, "static");
        if (line != record.typeLine && (isKeyword(first, "type") || isKeyword(first, "union"))) {
            if (const QByteArrayView nested = nestedTypeName(lines[line]); !nested.isEmpty())
                nestedTypes.insert(caseFolded(nested));
        }
        blockLines.append(lines[line]);
    }
    declaresInside = declaresInside || !nestedTypes.isEmpty();
    // Its static member variables are named through it by the members of
    // the types that extend it, as its constants are; its own forwarders
    // name none of them.
    InsideNames staticNames;
    if (declaresInside)
        record.insideNames = namesDeclaredInside(blockLines, &staticNames);
    const InsideNames inside = record.insideNames;
    for (auto name = staticNames.cbegin(); name != staticNames.cend(); ++name) {
        if (!record.insideNames.contains(name.key())) {
            record.insideNames.insert(name.key(), name.value());
            record.staticNames.insert(name.key());
        }
    }

    // The names of the fields and members an extending type gets, which hide
    // types of the same names there.
    QSet<QByteArray> memberNames;
    for (const ScannedLines::Entry& entry : std::as_const(found.entries)) {
        if (entry.kind != ScannedLines::field) {
            memberNames.insert(caseFolded(
                memberNameOf(withoutProcedurePrefix(firstStatementOf(lines[entry.line])))));
            continue;
        }
        for (const FieldForm& field : fieldsOfLine(lines[entry.line])) {
            if (field.shape != FieldForm::Shape::unforwarded)
                memberNames.insert(caseFolded(field.name));
        }
    }

    const QByteArray memberPrefix = record.typeName + '.';
    for (const ScannedLines::Entry& entry : std::as_const(found.entries)) {
        const QByteArrayView line = lines[entry.line];
        const LineOrigin& origin = origins[entry.line];
        const ConditionalBlocks::Opening* opening = openingAt(entry.line);
        if (entry.kind == ScannedLines::field) {
            for (const FieldForm& field : fieldsOfLine(line)) {
                MemberKey key{caseFolded(field.name), MemberClass::field, {}};
                record.ownKeys.append(key);
                if (field.shape == FieldForm::Shape::unforwarded)
                    continue;
                // A field of an enum declared inside: the extending type's
                // property has the parent's enum, the twin's field its own
                // copy of it, so it is passed as the number it is. A field of
                // any enum is got as one, and set from a number.
                const QByteArray fieldType = caseFolded(field.type);
                const bool nestedType = nestedTypes.contains(fieldType);
                const bool insideEnum =
                    !nestedType && !inside.isEmpty() && inside.contains(fieldType);
                const bool number = insideEnum || (!nestedType && enums.contains(fieldType));
                QByteArray written = insideEnum ? QByteArray()
                                                : fieldTypeAsWritten(record.typeName, field.name,
                                                                     field.type, memberNames);
                if (nestedType)
                    written = "typeof(" + twinNameOf(record.typeName) + '.' + field.name + ')';
                ForwardEntry forward =
                    field.shape == FieldForm::Shape::scalar
                        ? forwardField(field.name, field.type, number, written)
                        : forwardIndexedField(field.name, field.type, number, written);
                qualifyNamesInside(forward.declaration, inside, record.typeName,
                                   fieldPropertyParameters());
                qualifyNamesInside(forward.forwarder, inside, record.typeName,
                                   fieldPropertyParameters());
                if (opening)
                    putUnder(forward, *opening, lines);
                addMember(record, std::move(key), std::move(forward), origin);
            }
            continue;
        }
        // A header that goes on over several lines is read as one, and one
        // followed by other statements on its line as the header alone.
        const QByteArray continued =
            endsInContinuation(codeOf(line)) ? continuedStatement(lines, entry.line) : QByteArray();
        const QByteArrayView header = withoutProcedurePrefix(
            firstStatementOf(continued.isEmpty() ? line : QByteArrayView(continued)));
        MemberKey key = keyOfHeader(header);
        // A call through a forwarder would lose the variable arguments, so
        // such a member is reached through parent ("c.parent.log(...)").
        if (takesVariableArguments(codeOf(header)))
            continue;
        const MemberHeader member = memberHeaderOf(memberKinds[entry.kind].keyword, header);
        ForwardEntry forward = forwardMember(member, memberPrefix, declarations.find(key));
        if (!inside.isEmpty()) {
            QSet<QByteArray> parameters;
            for (const QByteArray& name : member.argumentList.split(','))
                parameters.insert(caseFolded(name.endsWith("()") ? name.chopped(2) : name));
            qualifyNamesInside(forward.declaration, inside, record.typeName, parameters);
            qualifyNamesInside(forward.forwarder, inside, record.typeName, parameters);
            // An extending type that overrides the member names the types the
            // same way ("byval g as Runner.Gear").
            qualifyNamesInside(key.signature, inside, caseFolded(record.typeName));
        }
        if (opening)
            putUnder(forward, *opening, lines);
        addMember(record, std::move(key), std::move(forward), origin);
    }
}
