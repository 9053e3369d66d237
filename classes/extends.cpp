#include "extends.h"

#include "blockscanner.h"
#include "codelexer.h"
#include "forwarding.h"
#include "membersyntax.h"
#include "twins.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// Inserts more directly before the first line feed of text; a text of one
// line receives nothing.
void insertAfterFirstLine(MappedText& text, const MappedText& more) {
    const qsizetype lineFeed = text.text.indexOf('\n');
    if (lineFeed < 0)
        return;
    // Room for exactly the text it becomes: grown by the insertion, a block
    // would keep up to as much again unused, and a large file holds
    // thousands of them until the type blocks are replaced.
    text.text.reserve(text.text.size() + more.text.size());
    text.origins.reserve(text.origins.size() + more.origins.size());
    text.insert(lineFeed, more);
}

MappedText joined(const MappedText& head, const MappedText& tail) {
    MappedTextBuilder text;
    text.reserve(head.text.size() + 1 + tail.text.size(), head.lineCount() + tail.lineCount());
    text.add(head);
    text.add(tail);
    return text.take();
}

// "\npublic:\n  parent as P_generic_public_member\n", its own lines standing
// for the extends line.
MappedText parentMember(const TypeRecord& record) {
    if (record.parentName.isEmpty())
        return MappedText();
    MappedText member;
    member.text = "\npublic:\n  parent as " + twinNameOf(record.parentName) + '\n';
    member.origins = {LineOrigin(), record.extendsOrigin, record.extendsOrigin, LineOrigin()};
    return member;
}

} // namespace

namespace {

// One extends line of a derived type.
struct Extension {
    qsizetype line;
    qsizetype parent; // the parent's record
};

// A type's own fields and members by name, for the test of what it hides
// (hides(), answered without a walk over every overload of a name): a field
// hides every member of its name, and an inherited field is hidden by any;
// a member hides one of its kind with its parameter types.
struct OwnMembers {
    struct OfName {
        bool field = false;
        QList<const MemberKey*> members; // its members, while they are few
        QSet<QByteArray> kinds; // the member class's byte, then the parameter types, once many
    };
    // A name overloaded more often than this is looked up by hash.
    static constexpr qsizetype fewMembers = 8;
    QHash<QByteArray, OfName> byName;

    static QByteArray kindOf(const MemberKey& key) { return char(key.memberClass) + key.signature; }
    explicit OwnMembers(const QList<MemberKey>& keys) {
        for (const MemberKey& key : keys) {
            OfName& own = byName[key.name];
            if (key.memberClass == MemberClass::field) {
                own.field = true;
            } else if (!own.kinds.isEmpty()) {
                own.kinds.insert(kindOf(key));
            } else if (own.members.size() < fewMembers) {
                own.members.append(&key);
            } else {
                for (const MemberKey* member : std::as_const(own.members))
                    own.kinds.insert(kindOf(*member));
                own.kinds.insert(kindOf(key));
                own.members.clear();
            }
        }
    }
    bool hide(const MemberKey& key) const {
        const auto found = byName.constFind(key.name);
        if (found == byName.cend())
            return false;
        if (found->field || key.memberClass == MemberClass::field)
            return true;
        if (!found->kinds.isEmpty())
            return found->kinds.contains(kindOf(key));
        for (const MemberKey* member : found->members) {
            if (member->memberClass == key.memberClass && member->signature == key.signature)
                return true;
        }
        return false;
    }
};

// The derived type inherits what the parent inherited and the parent's own
// members, in that order, each group after an empty line, except what it
// declares itself: along a chain the nearest declaration wins.
void inherit(QList<TypeRecord>& records, qsizetype derivedAt, qsizetype parentAt) {
    const QList<InheritedMember> parentInherited = records[parentAt].inherited;
    const QList<MemberEntry>& parentMembers = records[parentAt].members;
    TypeRecord& derived = records[derivedAt];
    const OwnMembers own(derived.ownKeys);
    // The derived type's own "parent", which holds the parent's part, hides a
    // field or member of that name too: it stays reachable as parent.parent.
    const auto hidden = [&](const InheritedMember& member) {
        if (member.record == InheritedMember::gap)
            return false;
        const MemberKey& key = records[member.record].members[member.member].key;
        return key.name == "parent" || own.hide(key);
    };
    // The names declared inside the parent's block, and those it takes from
    // its own parents, reach the derived type's members unless it declares
    // them itself.
    const TypeRecord& parent = records[parentAt];
    if (parentAt != derivedAt &&
        (!parent.insideNames.isEmpty() || !parent.inheritedInsideNames.isEmpty())) {
        // Its own name, which its implementations are qualified with, stays its own.
        const QByteArray ownName = caseFolded(derived.typeName);
        const auto take = [&](const QByteArray& name, const std::pair<QByteArray, bool>& from) {
            if (name != ownName && !derived.insideNames.contains(name) &&
                !own.byName.contains(name) && !derived.inheritedInsideNames.contains(name))
                derived.inheritedInsideNames.insert(name, from);
        };
        for (auto name = parent.insideNames.cbegin(); name != parent.insideNames.cend(); ++name)
            take(name.key(), {parent.typeName, name.value()});
        for (auto name = parent.inheritedInsideNames.cbegin();
             name != parent.inheritedInsideNames.cend(); ++name)
            take(name.key(), name.value());
    }
    QList<InheritedMember>& inherited = derived.inherited;
    if (inherited.isEmpty())
        inherited.append(InheritedMember());
    if (parentInherited.isEmpty())
        inherited.append(InheritedMember());
    for (const InheritedMember& member : parentInherited) {
        if (!hidden(member))
            inherited.append(member);
    }
    bool any = false;
    for (qsizetype m = 0; m < parentMembers.size(); ++m) {
        const InheritedMember member{qint32(parentAt), qint32(m)};
        if (hidden(member))
            continue;
        inherited.append(member);
        any = true;
    }
    if (!any)
        inherited.append(InheritedMember());
}

// The inherited members as one text of forwarders or of declarations, every
// placeholder naming the derived type.
// memberNames, for the forwarders: the names of the derived type's properties
// and members, which their parameters must not take.
template <typename Part>
MappedText inheritedText(const QList<TypeRecord>& records, const TypeRecord& derived, Part part,
                         const QSet<QByteArray>* memberNames = nullptr) {
    const QByteArray placeholder = ' ' + forwardPlaceholder().toByteArray();
    const QByteArray ownQualifier = ' ' + derived.typeName + '.';
    MappedTextBuilder text;
    // Room for the entries as written: the derived type's qualifier takes
    // about the room of the placeholder.
    qsizetype bytes = -1;
    qsizetype lineCount = 0;
    for (const InheritedMember& member : derived.inherited) {
        const QByteArrayView written = member.record == InheritedMember::gap
                                           ? QByteArrayView()
                                           : part(records[member.record].members[member.member]);
        bytes += written.size() + 1;
        lineCount += countLineFeeds(written) + 1;
    }
    text.reserve(bytes, lineCount);
    const TextFinder placeholders(placeholder);
    QByteArray piece; // reused: each entry is rewritten into the same bytes
    for (const InheritedMember& member : derived.inherited) {
        if (member.record == InheritedMember::gap) {
            text.add(QByteArrayView());
            continue;
        }
        const MemberEntry& entry = records[member.record].members[member.member];
        const QByteArrayView written = part(entry);
        piece.truncate(0);
        qsizetype copied = 0;
        for (qsizetype at = placeholders.in(written); at >= 0;
             at = placeholders.in(written, copied)) {
            piece += written.sliced(copied, at - copied);
            piece += ownQualifier;
            copied = at + placeholder.size();
        }
        piece += written.sliced(copied);
        if (memberNames && entry.key.memberClass != MemberClass::field) {
            const qsizetype qualifier = piece.indexOf(ownQualifier);
            if (qualifier >= 0)
                renameParametersNamedLikeMembers(piece, piece.lastIndexOf('\n', qualifier) + 1,
                                                 *memberNames);
        }
        text.add(piece, entry.origin);
    }
    return text.take();
}

// Puts "private" in front of each forwarder's first line (a sub, function or
// property of the type).
void makePrivate(MappedText& forwarders, const QByteArray& typeName) {
    QByteArray text;
    text.reserve(forwarders.text.size() + forwarders.text.size() / 8);
    bool first = true;
    for (const QByteArrayView line : splitLines(forwarders.text)) {
        if (!first)
            text += '\n';
        first = false;
        const Tokens tokens = lineTokens(line);
        if (tokens.size() >= 2 &&
            (isKeyword(tokens[0], "sub") || isKeyword(tokens[0], "function") ||
             isKeyword(tokens[0], "property")) &&
            tokens[1].startsWith(typeName + '.'))
            text += "private ";
        text += line;
    }
    forwarders.text = text;
}

// The key of a line's origin, for a set of them.
quint64 originKey(const LineOrigin& origin) {
    return (quint64(quint32(origin.fileNumber)) << 32) | quint32(origin.line);
}

// The edits already made to a type's own implementation lines (a static
// local made shared, a name renamed), by line: what a line holds now, and
// its new text.
class OwnLineEdits {
public:
    OwnLineEdits(TypeRecord& record, const LineIndex& lines) : record(record), lines(lines) {
        for (qsizetype e = 0; e < record.ownLineEdits.size(); ++e)
            editAt.insert(record.ownLineEdits[e].line, e);
    }

    QByteArrayView textOf(qint32 line) const {
        const auto found = editAt.constFind(line);
        if (found != editAt.cend() && !record.ownLineEdits[*found].replacement.isNull())
            return record.ownLineEdits[*found].replacement;
        return lines[line];
    }

    void set(qint32 line, const QByteArray& text) {
        const auto found = editAt.constFind(line);
        if (found != editAt.cend()) {
            record.ownLineEdits[*found].replacement = text;
            return;
        }
        editAt.insert(line, record.ownLineEdits.size());
        LineEdit added;
        added.line = line;
        added.replacement = text;
        record.ownLineEdits.append(added);
    }

private:
    TypeRecord& record;
    const LineIndex& lines;
    QHash<qint32, qsizetype> editAt;
};

// Edits the derived type's own implementations, each read whole by edit
// (lineAt(i) gives its lines, the header first, up to count of them; it
// returns the lines that change, each keeping its place): their lines are
// edited in their places, and the twin's copies of the implementations that
// changed are edited the same way there.
using ImplementationEdit = std::function<QList<RenamedLine>(
    const std::function<QByteArrayView(qsizetype)>& lineAt, qsizetype count)>;

void editOwnImplementations(TypeRecord& derived, const LineIndex& lines,
                            const QList<LineOrigin>& origins, const ImplementationEdit& edit) {
    const QList<qint32> methods = derived.ownMethodLines;
    // A line may already be emitted otherwise (a static local made shared):
    // the edit reads and changes that text.
    OwnLineEdits edits(derived, lines);
    QSet<quint64> editedHeaders;
    for (qsizetype start = 0; start < methods.size();) {
        qsizetype end = start;
        while (end < methods.size() && methods[end] != ScannedLines::memberEnd)
            ++end;
        const QList<RenamedLine> changed =
            edit([&](qsizetype i) { return edits.textOf(methods[start + i]); }, end - start);
        for (const RenamedLine& renamed : changed)
            edits.set(methods[start + renamed.index], renamed.text);
        if (!changed.isEmpty())
            editedHeaders.insert(originKey(origins.value(methods[start])));
        start = end + 1;
    }
    if (!derived.hasTwin || editedHeaders.isEmpty())
        return;
    // The twin's copies: each implementation whose header stands for one
    // edited above (the copies keep their lines' origins).
    const auto editCopies = [&](MappedText& copies) {
        const Lines copyLines = splitLines(copies.text);
        QHash<qsizetype, QByteArray> changedLines;
        for (qsizetype i = 0; i < copyLines.size() && i < copies.origins.size(); ++i) {
            if (!editedHeaders.contains(originKey(copies.origins[i])))
                continue;
            const QList<RenamedLine> changed =
                edit([&](qsizetype k) { return copyLines[i + k]; }, copyLines.size() - i);
            for (const RenamedLine& renamed : changed)
                changedLines.insert(i + renamed.index, renamed.text);
        }
        if (changedLines.isEmpty())
            return;
        QByteArray text;
        text.reserve(copies.text.size() + 16 * changedLines.size());
        for (qsizetype i = 0; i < copyLines.size(); ++i) {
            if (i > 0)
                text += '\n';
            const auto changed = changedLines.constFind(i);
            text += changed != changedLines.cend() ? QByteArrayView(*changed) : copyLines[i];
        }
        copies.text = text;
    };
    editCopies(derived.twinMethodText);
    for (PlacedText& method : derived.twinLaterMethods)
        editCopies(method.text);
}

// The compiler refuses a member implementation whose parameter has the name
// of a property or member of its type, and an extending type has one for each
// field and member it inherits; FreeBASIC's own inheritance has no such limit,
// and "constructor Circle(byval x as integer)" beside Shape's x is the usual
// way to write one. So in the derived type's own implementations each such
// parameter is renamed, its lines edited in their places, and in the twin's
// copies of the implementations renamed there. names: what it inherits,
// case-folded.
void renameOwnParameters(TypeRecord& derived, const QSet<QByteArray>& names, const LineIndex& lines,
                         const QList<LineOrigin>& origins) {
    if (names.isEmpty() || derived.ownMethodLines.isEmpty())
        return;
    // A new name must be none of its members' (asked only when one is made;
    // the members' names are gathered once, at the first question, as a type
    // may rename a parameter in each of thousands of members).
    QSet<QByteArray> ownNames;
    bool ownNamesGathered = false;
    const auto isTaken = [&](const QByteArray& name) {
        if (names.contains(name))
            return true;
        if (!ownNamesGathered) {
            for (const MemberKey& key : derived.ownKeys)
                ownNames.insert(key.name);
            ownNamesGathered = true;
        }
        return ownNames.contains(name);
    };
    editOwnImplementations(derived, lines, origins, [&](const auto& lineAt, qsizetype count) {
        return renameParametersNamedLike(lineAt, count, names, isTaken);
    });
}

// Whether an inherited entry is a field got by reference ("declare property
// pos() byref as Point", or an element of such an array): a value of a type
// of the program's, which a const member cannot read through the property,
// whose getter is not const so that "c.pos.x = 5" changes the parent's field.
bool isFieldGotByReference(const MemberEntry& entry) {
    if (entry.key.memberClass != MemberClass::field ||
        !entry.declaration.startsWith("  declare property "))
        return false;
    const qsizetype open = entry.declaration.indexOf('(');
    if (open < 0)
        return false;
    const QByteArrayView parameters = QByteArrayView(entry.declaration).sliced(open);
    return parameters.startsWith("() byref as ") ||
           parameters.startsWith("(byval index as integer) byref as ");
}

// The keys of the members the type's block declares const ("declare const
// function length() as double"): in their implementations "this" is constant,
// whether or not the header repeats the "const".
QList<MemberKey> constMemberKeys(const TypeRecord& record) {
    QList<MemberKey> keys;
    for (const QByteArrayView line : splitLines(record.blockText.text)) {
        if (!firstTokenMayBe(line, "declare") || indexOfWord(line, "const") < 0)
            continue;
        MemberDeclaration declaration;
        if (!parseDeclaration(line, declaration) || declaration.isStatic)
            continue;
        // "const" as a word of the declaration's prefix, before its kind.
        const QList<QByteArrayView> words = wordsOf(declaration.code);
        for (qsizetype w = 1; w < words.size(); ++w) {
            if (isKeyword(words[w], "const")) {
                keys.append(declaration.key);
                break;
            }
            if (!isKeyword(words[w], "virtual") && !isKeyword(words[w], "abstract"))
                break;
        }
    }
    return keys;
}

// Whether the name at position at of code is reached through "this."
// ("this.pos", blanks allowed around the dot), "this" itself being no
// member's.
bool followsThis(QByteArrayView code, qsizetype at) {
    while (at > 0 && isBlank(code[at - 1]))
        --at;
    if (at == 0 || code[at - 1] != '.')
        return false;
    qsizetype end = at - 1;
    while (end > 0 && isBlank(code[end - 1]))
        --end;
    qsizetype begin = end;
    while (begin > 0 && isNameChar(code[begin - 1]))
        --begin;
    return isKeyword(code.sliced(begin, end - begin), "this") && !isReachedThrough(code, begin);
}

// In one const implementation (lineAt, count as for renameParametersNamedLike),
// each bare use of a name of paths ("pos", "this.pos"; not "o.pos", not in
// strings or comments) gets that name's path to the field in front of it
// ("parent.pos", "this.parent.parent.pos"). A field not indexed and followed
// by "(" is left: "parent.pos()" would not be the property's call.
QList<RenamedLine> reachThroughParent(const std::function<QByteArrayView(qsizetype)>& lineAt,
                                      qsizetype count, const QHash<QByteArray, QByteArray>& paths,
                                      const QSet<QByteArray>& indexed) {
    QList<RenamedLine> changed;
    if (count <= 0)
        return changed;
    const Tokens tokens = lineTokens(withoutProcedurePrefix(lineAt(0)));
    if (tokens.isEmpty())
        return changed;
    const QByteArrayView kind = tokens[0];
    CodeLexer lexer;
    // The header, over its continued lines; a body after a ":" on its last
    // line is read from there.
    qsizetype line = 0;
    qsizetype from = -1;
    QByteArray headerCode;
    for (; line < count; ++line) {
        const QByteArrayView code = lexer.next(lineAt(line));
        if (lexer.isContinued())
            continue;
        const qsizetype first = firstStatementOf(code).size();
        if (first < code.size() && code[first] == ':') {
            headerCode = code.toByteArray();
            from = first + 1;
        }
        break;
    }
    struct Insertion {
        qsizetype at;
        QByteArrayView path;
    };
    QList<Insertion> insertions;
    for (qsizetype bodyLine = from >= 0 ? line : line + 1; bodyLine < count; ++bodyLine) {
        const bool onHeader = bodyLine == line;
        const QByteArrayView written = lineAt(bodyLine);
        const QByteArrayView code = onHeader ? QByteArrayView(headerCode) : lexer.next(written);
        const qsizetype start = onHeader ? from : 0;
        const Tokens words = lineTokens(code);
        const bool endLine = !onHeader && words.size() >= 2 && isKeyword(words[0], "end") &&
                             isKeyword(words[1], kind);
        insertions.clear();
        forEachName(code.sliced(start), [&](qsizetype nameAt, qsizetype nameEnd) {
            const qsizetype at = start + nameAt, end = start + nameEnd;
            const QByteArray key = caseFolded(code.sliced(at, end - at));
            const auto path = paths.constFind(key);
            if (path == paths.cend() || (isReachedThrough(code, at) && !followsThis(code, at)))
                return nameEnd;
            qsizetype next = end;
            while (next < code.size() && isBlank(code[next]))
                ++next;
            if (next < code.size() && code[next] == '(' && !indexed.contains(key))
                return nameEnd;
            insertions.append(Insertion{at, *path});
            return nameEnd;
        });
        if (!insertions.isEmpty()) {
            QByteArray text;
            text.reserve(written.size() + insertions.size() * insertions.first().path.size());
            qsizetype copied = 0;
            for (const Insertion& insertion : std::as_const(insertions)) {
                text += written.sliced(copied, insertion.at - copied);
                text += insertion.path;
                copied = insertion.at;
            }
            text += written.sliced(copied);
            changed.append(RenamedLine{bodyLine, text});
        }
        if (endLine || endsWithEndStatement(code, kind))
            break;
    }
    return changed;
}

// The derived type's own const implementations reach each field it inherits
// by reference through "parent" (through "parent.parent" for a grandparent's,
// and so on): the property that stands for the field on the derived type
// hands out a reference the caller may change, so the compiler refuses it on
// the constant "this" of a const member, while the parent's field read there
// is constant, as FreeBASIC's own inheritance makes it: it can be read, and
// an assignment to it is refused.
void reachInheritedFieldsInConstMembers(QList<TypeRecord>& records, qsizetype r,
                                        const LineIndex& lines, const QList<LineOrigin>& origins) {
    TypeRecord& derived = records[r];
    if (derived.ownMethodLines.isEmpty())
        return;
    QHash<QByteArray, QByteArray> paths;
    QSet<QByteArray> indexed;
    for (const InheritedMember& member : std::as_const(derived.inherited)) {
        if (member.record == InheritedMember::gap)
            continue;
        const MemberEntry& entry = records[member.record].members[member.member];
        if (!isFieldGotByReference(entry))
            continue;
        QByteArray path = "parent.";
        qsizetype at = derived.parentRecord;
        for (qsizetype steps = 0; at >= 0 && at != member.record && steps < records.size();
             ++steps) {
            at = records[at].parentRecord;
            path += "parent.";
        }
        if (at != member.record)
            continue;
        if (entry.declaration.contains("(byval index as integer) byref as "))
            indexed.insert(entry.key.name);
        paths.insert(entry.key.name, path);
    }
    if (paths.isEmpty())
        return;
    const QList<MemberKey> constKeys = constMemberKeys(derived);
    if (constKeys.isEmpty())
        return;
    editOwnImplementations(derived, lines, origins, [&](const auto& lineAt, qsizetype count) {
        if (count <= 0 || !constKeys.contains(keyOfHeader(withoutProcedurePrefix(lineAt(0)))))
            return QList<RenamedLine>();
        return reachThroughParent(lineAt, count, paths, indexed);
    });
}

// The names an extending type's members take from its ancestors' blocks
// ("LEG_COUNT" for Animal's "const LEG_COUNT = 4") mean nothing to the
// compiler in the extending type, which is not its parent's kind: in its own
// implementations, and in the twin's copies of them, each such name is
// written through the ancestor that declares it ("Animal.LEG_COUNT"). A name
// that an implementation declares as its own is left alone where it is its
// own: a parameter in the whole implementation, a variable ("dim", "var",
// "static", a "redim" of anything but an ancestor's static array, a "for"
// counter) from its declaration to the end of the block holding it. Lines
// keep their number.
void qualifyInheritedInsideNames(const QList<TypeRecord>& records, TypeRecord& derived,
                                 const LineIndex& lines, const QList<LineOrigin>& origins) {
    const QList<qint32> methods = derived.ownMethodLines;
    if (derived.inheritedInsideNames.isEmpty() || methods.isEmpty())
        return;
    OwnLineEdits edits(derived, lines);
    const auto textOf = [&edits](qint32 line) { return edits.textOf(line); };
    // Whether name is a static member variable of the ancestor it comes
    // from: "redim" resizes that one rather than declaring a variable.
    const auto isAncestorsStatic = [&](const QByteArray& name) {
        const QByteArray& ancestor = derived.inheritedInsideNames.value(name).first;
        qsizetype at = derived.parentRecord;
        for (qsizetype steps = 0; at >= 0 && steps < records.size(); ++steps) {
            if (caseFolded(records[at].typeName) == caseFolded(ancestor))
                return records[at].staticNames.contains(name);
            at = records[at].parentRecord;
        }
        return false;
    };
    const auto inherited = [&](QByteArrayView word) {
        QByteArray name = caseFolded(word);
        return derived.inheritedInsideNames.contains(name) ? name : QByteArray();
    };
    // For each line of one implementation, the inherited names it declares
    // as its own there; none at all when it declares none anywhere.
    const auto ownNamesOf = [&](const Lines& text) {
        QList<QSet<QByteArray>> own;
        QSet<QByteArray> parameters;
        struct Local {
            QByteArray name;
            int depth; // the compound statements open where it lives
        };
        QList<Local> locals;
        CodeLexer lexer;
        BlockScanner blocks;
        bool inHeader = true;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QByteArrayView code = lexer.next(text[i]);
            const int depthBefore = blocks.compoundDepth();
            blocks.next(i, code, lexer);
            bool added = false;
            if (inHeader) {
                // The parameters: each name followed by "as".
                forEachName(code, [&](qsizetype at, qsizetype end) {
                    const QByteArray name = inherited(code.sliced(at, end - at));
                    if (!name.isEmpty() && isKeyword(firstToken(code.sliced(end)), "as")) {
                        parameters.insert(name);
                        added = true;
                    }
                    return end;
                });
                inHeader = lexer.isContinued();
            }
            const Tokens words = lineTokens(code, 1);
            if (!words.isEmpty() && (isKeyword(words[0], "else") || isKeyword(words[0], "elseif") ||
                                     isKeyword(words[0], "case")))
                locals.removeIf(
                    [depthBefore](const Local& local) { return local.depth >= depthBefore; });
            for (const DeclaredLocal& declared : localsDeclaredIn(code, true)) {
                QByteArray name = inherited(declared.name);
                if (name.isEmpty() || (declared.redim && isAncestorsStatic(name)))
                    continue;
                locals.append(Local{std::move(name), depthBefore + (declared.loopCounter ? 1 : 0)});
                added = true;
            }
            if (added && own.isEmpty())
                own.resize(text.size());
            if (!own.isEmpty()) {
                own[i] = parameters;
                for (const Local& local : std::as_const(locals))
                    own[i].insert(local.name);
            }
            const int depthAfter = blocks.compoundDepth();
            locals.removeIf([depthAfter](const Local& local) { return local.depth > depthAfter; });
        }
        return own;
    };
    const auto qualify = [&](QByteArray& text, const QList<QSet<QByteArray>>& own) {
        // By the ancestor that declares them, as qualifyNamesInside names them.
        QHash<QByteArray, InsideNames> byAncestor;
        for (auto name = derived.inheritedInsideNames.cbegin();
             name != derived.inheritedInsideNames.cend(); ++name)
            byAncestor[name.value().first].insert(name.key(), name.value().second);
        for (auto names = byAncestor.cbegin(); names != byAncestor.cend(); ++names)
            qualifyNamesInside(text, names.value(), names.key(), {},
                               own.isEmpty() ? nullptr : &own);
    };

    QList<QList<QSet<QByteArray>>> owns; // per implementation, by line
    // A line's origin -> its implementation and its index there.
    QHash<quint64, std::pair<qsizetype, qsizetype>> ofOrigin;
    for (qsizetype start = 0; start < methods.size();) {
        qsizetype end = start;
        while (end < methods.size() && methods[end] != ScannedLines::memberEnd)
            ++end;
        QByteArray text;
        for (qsizetype i = start; i < end; ++i) {
            if (i > start)
                text += '\n';
            text += textOf(methods[i]);
            ofOrigin.insert(originKey(origins.value(methods[i])), {owns.size(), i - start});
        }
        owns.append(ownNamesOf(splitLines(text)));
        const QByteArray written = text;
        qualify(text, owns.constLast());
        if (text != written) {
            const Lines changed = splitLines(text);
            for (qsizetype i = start; i < end && i - start < changed.size(); ++i) {
                const qint32 line = methods[i];
                const QByteArrayView now = changed[i - start];
                if (now != textOf(line))
                    edits.set(line, now.toByteArray());
            }
        }
        start = end + 1;
    }
    if (!derived.hasTwin)
        return;
    // A line of no implementation leaves every name any of them declares.
    QSet<QByteArray> anyOwn;
    for (const QList<QSet<QByteArray>>& own : std::as_const(owns)) {
        for (const QSet<QByteArray>& names : own)
            anyOwn += names;
    }
    // The twin's copies, each run of lines standing for one implementation
    // with that implementation's own names left alone where they are its own.
    const auto qualifyCopies = [&](MappedText& copies) {
        const Lines copyLines = splitLines(copies.text);
        QByteArray result;
        result.reserve(copies.text.size() + copies.text.size() / 8);
        const auto placeOf = [&](qsizetype k) {
            return k < copies.origins.size()
                       ? ofOrigin.value(originKey(copies.origins[k]), {qsizetype(-1), 0})
                       : std::pair<qsizetype, qsizetype>(-1, 0);
        };
        for (qsizetype i = 0; i < copyLines.size();) {
            const qsizetype implementation = placeOf(i).first;
            qsizetype end = i + 1;
            while (end < copyLines.size() && placeOf(end).first == implementation)
                ++end;
            QByteArray run;
            QList<QSet<QByteArray>> own;
            const bool declares =
                implementation < 0 ? !anyOwn.isEmpty() : !owns[implementation].isEmpty();
            for (qsizetype k = i; k < end; ++k) {
                if (k > i)
                    run += '\n';
                run += copyLines[k];
                if (declares)
                    own.append(implementation < 0 ? anyOwn
                                                  : owns[implementation].value(placeOf(k).second));
            }
            qualify(run, own);
            if (i > 0)
                result += '\n';
            result += run;
            i = end;
        }
        copies.text = result;
    };
    qualifyCopies(derived.twinMethodText);
    for (PlacedText& method : derived.twinLaterMethods)
        qualifyCopies(method.text);
}

} // namespace

void inheritParents(QList<TypeRecord>& records, const QList<LineOrigin>& origins,
                    const Inheritance& inheritance) {
    const RecordIndex index(records);
    // A type declared twice (in two branches of a conditional block) extends
    // its parent in each of its blocks: an extends line gives its parent to
    // the record made from that very line.
    QHash<qsizetype, qsizetype> recordAtLine;
    for (qsizetype r = 0; r < records.size(); ++r)
        recordAtLine.insert(records[r].typeLine, r);
    QList<QList<Extension>> extensions(records.size());
    for (const ExtendsLines::Link& link : inheritance.links) {
        if (inheritance.isNative(link.derived))
            continue;
        const qsizetype derivedAt = recordAtLine.value(link.line, index.find(link.derived));
        const qsizetype parentAt = index.find(link.parent);
        if (derivedAt < 0 || parentAt < 0)
            continue;
        extensions[derivedAt].append(Extension{link.line, parentAt});
        records[derivedAt].parentName = link.parentAsWritten;
        records[derivedAt].parentRecord = qint32(parentAt);
        records[derivedAt].extendsOrigin = origins.value(link.line);
    }

    // Every parent inherits before the types that extend it, whatever the
    // order of the lines; a type met again while it is being resolved (a
    // cycle) is taken as it stands.
    enum : char { unresolved, resolving, resolved };
    QList<char> state(records.size(), unresolved);
    struct Step {
        qsizetype record;
        qsizetype next; // its next extension
    };
    QList<Step> stack;
    for (qsizetype start = 0; start < records.size(); ++start) {
        if (state[start] != unresolved)
            continue;
        state[start] = resolving;
        stack.append(Step{start, 0});
        while (!stack.isEmpty()) {
            Step& step = stack.last();
            if (step.next == extensions[step.record].size()) {
                state[step.record] = resolved;
                stack.removeLast();
                continue;
            }
            const qsizetype parentAt = extensions[step.record][step.next].parent;
            if (state[parentAt] == unresolved) {
                state[parentAt] = resolving;
                stack.append(Step{parentAt, 0});
                continue;
            }
            inherit(records, step.record, parentAt);
            ++step.next;
        }
    }
}

QList<bool> forwardersKeptPrivate(const QList<TypeRecord>& records,
                                  const Inheritance& inheritance) {
    QList<bool> keepsPrivate(records.size(), inheritance.generatedPrivate);
    if (inheritance.generatedPrivate)
        return keepsPrivate;
    // Whether a record's own implementations are written private, read once
    // for each record some chain reaches (-1: not read yet).
    QList<qint8> privately(records.size(), -1);
    // The record whose chain last met each record: a cycle ends the walk.
    QList<qsizetype> metBy(records.size(), -1);
    for (qsizetype r = 0; r < records.size(); ++r) {
        // Only an extending type gets forwarders.
        if (records[r].parentName.isEmpty())
            continue;
        for (qsizetype at = r; at >= 0 && metBy[at] != r && !keepsPrivate[r];
             at = records[at].parentName.isEmpty() ? -1 : records[at].parentRecord) {
            metBy[at] = r;
            if (privately[at] < 0)
                privately[at] = implementsPrivately(records[at]) ? 1 : 0;
            keepsPrivate[r] = privately[at] == 1;
        }
    }
    return keepsPrivate;
}

void writeExtendingType(QList<TypeRecord>& records, qsizetype r, bool keepsPrivate,
                        const LineIndex& lines, const QList<LineOrigin>& origins) {
    TypeRecord& derived = records[r];
    if (derived.parentName.isEmpty())
        return;
    QSet<QByteArray> memberNames;
    for (const InheritedMember& member : std::as_const(derived.inherited)) {
        if (member.record != InheritedMember::gap)
            memberNames.insert(records[member.record].members[member.member].key.name);
    }
    // So far the names it inherits.
    renameOwnParameters(derived, memberNames, lines, origins);
    reachInheritedFieldsInConstMembers(records, r, lines, origins);
    qualifyInheritedInsideNames(records, derived, lines, origins);
    for (const MemberKey& key : std::as_const(derived.ownKeys)) {
        if (key.memberClass != MemberClass::field) // a field may share a parameter's name
            memberNames.insert(key.name);
    }
    derived.inheritedForwarderText = inheritedText(
        records, derived,
        [](const MemberEntry& entry) -> const QByteArray& { return entry.forwarder; },
        &memberNames);
    if (keepsPrivate)
        makePrivate(derived.inheritedForwarderText, derived.typeName);
    derived.inheritedDeclareText =
        inheritedText(records, derived, [](const MemberEntry& entry) -> const QByteArray& {
            return entry.declaration;
        });
    if (!derived.hasTwin)
        return;
    const QByteArray qualifier = derived.typeName + '.';
    const QByteArray twinQualifier = twinNameOf(derived.typeName) + '.';
    derived.twinMethodText = joined(derived.inheritedForwarderText, derived.twinMethodText);
    replaceQualifier(derived.twinMethodText.text, qualifier, twinQualifier, Qt::CaseSensitive);
    insertAfterFirstLine(derived.twinBlockText, joined(derived.inheritedDeclareText, MappedText()));
    replaceQualifier(derived.twinBlockText.text, qualifier, twinQualifier, Qt::CaseSensitive);
}

void writeExtendingTypes(QList<TypeRecord>& records, const LineIndex& lines,
                         const QList<LineOrigin>& origins, const Inheritance& inheritance) {
    const QList<bool> keepsPrivate = forwardersKeptPrivate(records, inheritance);
    for (qsizetype r = 0; r < records.size(); ++r)
        writeExtendingType(records, r, keepsPrivate[r], lines, origins);
}

void embedParent(TypeRecord& record) {
    if (record.parentName.isEmpty() && record.inheritedDeclareText.text.isEmpty()) {
        record.inheritedDeclareText = record.blockText; // nothing to embed
        return;
    }
    const MappedText member = parentMember(record);
    MappedText block = record.blockText;
    MappedText inserted = record.inheritedDeclareText;
    inserted.append(member);
    insertAfterFirstLine(block, inserted);
    insertAfterFirstLine(record.twinBlockText, member);
    record.inheritedDeclareText = block;
}

void embedParents(QList<TypeRecord>& records) {
    for (TypeRecord& record : records)
        embedParent(record);
}
