#include "capture.h"

#include "characters.h"
#include "codelexer.h"
#include "conditionals.h"
#include "lines.h"
#include "nametrie.h"
#include "takenmarks.h"

#include <QHash>

#include <algorithm>

// Capture works on the file's lines without erasing any of them: captured lines
// are marked as taken and the remaining ones are gathered once at the end. Each
// line is tokenized once, and member procedures are indexed by kind and by the
// template name their qualifier begins with, so each declaration finds its
// members without rescanning the file. The lines captured, and their order, are
// those of a scan that walks the rest of the file once per member kind.

namespace {

// The member kinds in the order their scans run, which is the order in which
// captured members are stored. Dim is the definition of static data, "dim
// Counter.made as integer": one line, with no end line.
enum MemberKind { Sub, Function, Constructor, Destructor, Operator, Property, Dim, KindCount };

const QByteArrayView memberKeywords[KindCount] = {
    "sub", "function", "constructor", "destructor", "operator", "property", "dim",
};

// How the second token of a member's first line names its template.
bool acceptsDotted(int kind) { // "Name.member"
    return kind == Sub || kind == Function || kind == Operator || kind == Property || kind == Dim;
}
bool acceptsBare(int kind) { // exactly "Name"
    return kind == Constructor || kind == Destructor || kind == Operator;
}
bool acceptsCall(int kind) { // "Name(..."
    return kind == Constructor || kind == Destructor;
}

int memberKindOf(QByteArrayView token) {
    if (token.isEmpty())
        return -1;
    // The first letter tells the one keyword the token may be ("dim" and
    // "destructor" by their length too): most lines' first words are none.
    int kind = -1;
    switch (foldCase(token[0])) {
    case 's':
        kind = Sub;
        break;
    case 'f':
        kind = Function;
        break;
    case 'c':
        kind = Constructor;
        break;
    case 'd':
        kind = token.size() == 3 ? Dim : Destructor;
        break;
    case 'o':
        kind = Operator;
        break;
    case 'p':
        kind = Property;
        break;
    default:
        return -1;
    }
    return isKeyword(token, memberKeywords[kind]) ? kind : -1;
}

// Whether "template" and the token after it open a declaration: the token is
// a name. "template as string" and "template = x" are statements about a
// field or variable of that name, which plain FreeBASIC allows.
bool namesTemplate(QByteArrayView second) {
    const char c = second[0];
    return isNameChar(c) && !(c >= '0' && c <= '9') && !isKeyword(second, "as");
}

// A token up to a comment glued to it ("Box'", "template/'"), where the
// compiler ends the word: "template Box' a box" declares Box.
QByteArrayView beforeComment(QByteArrayView token) {
    for (qsizetype at = 0; at < token.size(); ++at) {
        if (token[at] == '\'' ||
            (token[at] == '/' && at + 1 < token.size() && token[at + 1] == '\''))
            return token.first(at);
    }
    return token;
}

quint64 startKey(int kind, int nameNode) {
    return (quint64(nameNode) << 8) | quint64(kind);
}

// A line that opens with one of the keywords and has a second token, and what
// its tokens say. Few lines do, so they are kept apart from the rest.
struct KeyLine {
    qsizetype line;
    QByteArrayView second;      // its second token
    bool isHeader = false;      // "template" and a name
    bool isEndTemplate = false; // "end" "template"
    qint8 startKind = -1;       // a member keyword and a name
    qint8 endKind = -1;         // "end" and a member keyword
    qsizetype endIndex = -1;    // position of the line in ends[endKind]
    bool declaresOnly = false;  // "declare operator ..." outside any type: one line
};

struct Capture {
    Lines& lines;
    QList<LineOrigin>& origins;
    qsizetype size;

    QList<KeyLine> keyLines; // in file order
    QList<qint32> keyLineOf; // per line: its entry in keyLines, or -1

    NameTrie names;
    QHash<quint64, QList<qsizetype>> starts; // (kind, template name) -> first lines, in order
    QList<qsizetype> ends[KindCount];        // end lines of each kind, in order
    QList<TakenMarks> endMarks;
    TakenMarks marks;
    QList<TemplateError>* errors;
    ConditionalBlocks conditionals;            // the file's #if blocks
    QHash<QByteArray, qsizetype> declaredHere; // this file's declarations: header line by key
    QHash<qsizetype, QByteArray> headerSpaces; // the namespace of each header that stands in one

    Capture(Lines& lines, QList<LineOrigin>& origins, QList<TemplateError>* errors)
        : lines(lines), origins(origins), size(lines.size()), keyLineOf(size, -1), marks(size),
          errors(errors) {}

    const KeyLine* keyLine(qsizetype line) const {
        const qint32 at = keyLineOf[line];
        return at < 0 ? nullptr : &keyLines[at];
    }

    void classifyLines(bool mayOpenComments);
    void indexMemberStarts();
    void take(qsizetype line);
    qsizetype nextEnd(int kind, qsizetype from);
    qsizetype nestedProcedure(qsizetype first, qsizetype endLine) const;
    void append(CapturedTemplate& captured, qsizetype line) const;
    void captureDeclaration(qsizetype header, TemplateSet& templates);
    void captureMembers(int kind, int nameNode, qsizetype from, CapturedTemplate& captured);
    void dropTakenLines();
    void reportUnended(qsizetype line, QByteArrayView endLine, const QByteArray& name);
};

void Capture::classifyLines(bool mayOpenComments) {
    CommentTracker comments(mayOpenComments);
    int typeDepth = 0;     // type, union and template blocks open around the line
    QByteArrayList spaces; // the namespace blocks open around the line, outermost first
    for (qsizetype i = 0; i < size; ++i) {
        const QByteArrayView line = std::as_const(lines)[i];
        // A line that starts inside a /' ... '/ comment (a declaration
        // commented out) declares nothing.
        if (comments.startsInComment(line) || conditionals.note(qint32(i), line))
            continue;
        // Only a line that opens with one of the keywords matters here.
        const QByteArrayView first = firstToken(line);
        if (first.size() < 3 || first.size() > 11) // "end" to "constructor"
            continue;
        if (isKeyword(first, "type") || isKeyword(first, "union")) {
            const Tokens tokens = lineTokens(line, 3);
            if (!(tokens.size() >= 3 && isKeyword(tokens[2], "as")))
                ++typeDepth;
            continue;
        }
        if (isKeyword(first, "namespace")) {
            const Tokens tokens = lineTokens(line, 2);
            spaces.append(tokens.size() < 2 ? QByteArray()
                                            : beforeComment(tokens[1]).toByteArray());
            continue;
        }
        if (isKeyword(first, "declare")) {
            // A global operator declared ahead of its implementation, which
            // a template's global operators may need. Most declarations stand
            // in types.
            if (typeDepth > 0)
                continue;
            const Tokens tokens = lineTokens(line, 3);
            if (tokens.size() >= 3 && isKeyword(tokens[1], "operator")) {
                KeyLine key{i, tokens[2]};
                key.startKind = Operator;
                key.declaresOnly = true;
                keyLineOf[i] = qint32(keyLines.size());
                keyLines.append(key);
            }
            continue;
        }
        const bool opensWithKeyword =
            isKeyword(first, "template") || isKeyword(first, "end") || memberKindOf(first) >= 0;
        // "private sub Stack.push", "static function Stack.capacity",
        // "const function Stack.size": a member that says its own linkage or
        // kind of member, in the order the compiler takes them.
        // The prefix is the line's first word: a line that opens with no
        // keyword and no prefix is passed over before it is read again.
        if (!opensWithKeyword && !isProcedurePrefix(first))
            continue;
        const QByteArrayView statement = opensWithKeyword ? line : withoutProcedurePrefix(line);
        if (!opensWithKeyword && statement.size() == line.size())
            continue;
        const Tokens tokens = lineTokens(statement, 2);
        if (!opensWithKeyword &&
            (tokens.isEmpty() || memberKindOf(tokens[0]) < 0 || isKeyword(tokens[0], "dim")))
            continue;
        if (tokens.size() < 2 || beforeComment(tokens[1]).isEmpty())
            continue;
        KeyLine key{i, beforeComment(tokens[1])};
        // "dim shared Counter.made as integer" and "dim as integer
        // Counter.made" define the same static data as "dim Counter.made as
        // integer".
        if (isKeyword(tokens[0], "dim")) {
            const QByteArrayView name = staticDefinitionName(statement);
            if (!name.isEmpty())
                key.second = name;
        }
        if (isKeyword(tokens[0], "template")) {
            if (!namesTemplate(key.second))
                continue;
            key.isHeader = true;
            names.add(key.second);
            if (!spaces.isEmpty())
                headerSpaces.insert(i, spaces.join('.'));
            ++typeDepth;
        } else if (isKeyword(tokens[0], "end")) {
            if (isKeyword(key.second, "namespace") && !spaces.isEmpty())
                spaces.removeLast();
            if (isKeyword(key.second, "type") || isKeyword(key.second, "union") ||
                isKeyword(key.second, "template"))
                typeDepth = std::max(0, typeDepth - 1);
            if (isKeyword(key.second, "template")) {
                key.isEndTemplate = true;
            } else if (const int kind = memberKindOf(key.second); kind >= 0 && kind != Dim) {
                key.endKind = qint8(kind);
                key.endIndex = ends[kind].size();
                ends[kind].append(i);
            }
        } else {
            key.startKind = qint8(memberKindOf(tokens[0]));
        }
        keyLineOf[i] = qint32(keyLines.size());
        keyLines.append(key);
    }
    for (int kind = 0; kind < KindCount; ++kind)
        endMarks.append(TakenMarks(ends[kind].size()));
    indexMemberStarts();
}

// The templates a global operator is written for ("operator + (byref a as
// Vec2, byref b as Vec2) as Vec2"): FreeBASIC takes most operators only
// outside a type, so a template's are written after it with its name in
// their parameters or result. Each template named there, once, in order.
QList<int> templatesOfGlobalOperator(const NameTrie& names, QByteArrayView line,
                                     QByteArrayView second) {
    QList<int> nodes;
    const qsizetype open = line.indexOf('(', second.data() - line.data());
    // The operator's own name goes up to its parameters; a qualified one
    // ("operator Vec2.+=") is a member, filed by its qualifier.
    if (open < 0 || line.sliced(second.data() - line.data(), open - (second.data() - line.data()))
                        .contains('.'))
        return nodes;
    // Its code: no name in a string or a comment counts.
    CodeLexer lexer;
    const QByteArrayView code = lexer.next(line); // as long as the line, or shorter
    const QByteArrayView rest = code.sliced(std::min(open, code.size()));
    forEachUnqualifiedName(rest, [&](qsizetype at, qsizetype end) {
        // Not a qualified name, nor the name of a use (an instance's type).
        const bool qualified = end < rest.size() && rest[end] == '.';
        const bool use = rest.sliced(end).startsWith("<<<");
        const int node = qualified || use ? NameTrie::none : names.find(rest.sliced(at, end - at));
        if (node != NameTrie::none && !nodes.contains(node))
            nodes.append(node);
        return end;
    });
    return nodes;
}

// Files each member's first line under every template name its second token
// can stand for: the names it begins with followed by "." or "(", or equals,
// as its kind allows; and a global operator under the templates it is
// written for.
void Capture::indexMemberStarts() {
    for (const KeyLine& key : std::as_const(keyLines)) {
        const int kind = key.startKind;
        if (kind < 0)
            continue;
        const qsizetype i = key.line;
        const QByteArrayView token = key.second;
        if (kind == Operator) {
            for (const int node : templatesOfGlobalOperator(names, lines[i], token))
                starts[startKey(kind, node)].append(i);
            if (key.declaresOnly)
                continue;
        }
        int node = NameTrie::root;
        for (qsizetype k = 0; node != NameTrie::none; ++k) {
            if (names.isName(node)) {
                const bool matches = k == token.size() ? acceptsBare(kind)
                                                       : (token[k] == '.' && acceptsDotted(kind)) ||
                                                             (token[k] == '(' && acceptsCall(kind));
                if (matches)
                    starts[startKey(kind, node)].append(i);
            }
            if (k == token.size())
                break;
            node = names.step(node, token[k]);
        }
    }
}

void Capture::take(qsizetype line) {
    marks.take(line);
    const KeyLine* key = keyLine(line);
    if (key && key->endKind >= 0)
        endMarks[key->endKind].take(key->endIndex);
}

// The first end line of the kind at or after from that is still in the file, or -1.
qsizetype Capture::nextEnd(int kind, qsizetype from) {
    const QList<qsizetype>& list = ends[kind];
    const qsizetype position = std::lower_bound(list.cbegin(), list.cend(), from) - list.cbegin();
    const qsizetype free = endMarks[kind].firstFree(position);
    return free < list.size() ? list[free] : -1;
}

// Whether the key line opens a procedure: "function = value" sets a
// function's result, and "dim" defines static data.
bool opensProcedure(const KeyLine& key) {
    return key.startKind >= 0 && key.startKind != Dim && !key.second.startsWith('=');
}

// The first line after first and before endLine that opens another procedure
// ("sub name", "function name", ...), or -1. A procedure line in another #if
// branch than first stands for the same procedure, written for that branch.
qsizetype Capture::nestedProcedure(qsizetype first, qsizetype endLine) const {
    for (qsizetype k = keyLineOf[first] + 1; k < keyLines.size() && keyLines[k].line < endLine;
         ++k) {
        const KeyLine& key = keyLines[k];
        if (!opensProcedure(key))
            continue;
        if (!conditionals.isEmpty() &&
            !conditionals.openingFor(qint32(key.line), qint32(first)).lines.isEmpty())
            continue;
        return key.line;
    }
    return -1;
}

void Capture::append(CapturedTemplate& captured, qsizetype line) const {
    captured.lines.append(lines[line].toByteArray()); // outlives the file's text
    captured.origins.append(origins[line]);
}

// The first line of a member procedure with "private" in front of it, unless
// it says "private" or "public" itself: every module that uses an instance
// has a copy of its members, and private ones do not meet at link time.
QByteArray privateMember(QByteArrayView line) {
    qsizetype at = 0;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
        ++at;
    const QByteArrayView first = firstToken(line.sliced(at));
    if (isKeyword(first, "private") || isKeyword(first, "public"))
        return line.toByteArray();
    return line.first(at).toByteArray() + "private " + line.sliced(at).toByteArray();
}

// The line with word, a view into it, replaced by replacement.
QByteArray replaceWord(QByteArrayView line, QByteArrayView word, QByteArrayView replacement) {
    const qsizetype at = word.data() - line.data();
    return line.first(at).toByteArray() + replacement.toByteArray() +
           line.sliced(at + word.size()).toByteArray();
}

void appendLineFeed(CapturedTemplate& captured) {
    captured.lines.append(QByteArray("\n"));
    captured.origins.append(LineOrigin());
}

// The parent and the packing a header gives its instances after the
// template's name, in the order a type line has them ("template Labelled
// extends Named field = 1"): the parent's name as written (Geo.Shape, with
// any blanks around its dots dropped) and "field", "=" and the alignment,
// single spaced as written; each empty when the header says nothing of it.
void headerClauses(QByteArrayView header, QByteArrayView name, QByteArray& parent,
                   QByteArray& packing) {
    QByteArrayView rest = header.sliced(name.data() - header.data() + name.size());
    const qsizetype comment = rest.indexOf('\'');
    if (comment >= 0)
        rest = rest.first(comment);
    rest = rest.trimmed();
    const auto wordEnd = [&rest] {
        qsizetype at = 0;
        while (at < rest.size() && isNameChar(rest[at]))
            ++at;
        return at;
    };
    qsizetype at = wordEnd();
    if (isKeyword(rest.first(at), "extends")) {
        rest = rest.sliced(at).trimmed();
        for (;;) {
            at = wordEnd();
            parent += rest.first(at);
            rest = rest.sliced(at).trimmed();
            if (at == 0 || !rest.startsWith('.'))
                break;
            parent += '.';
            rest = rest.sliced(1).trimmed();
        }
        // A parent that is an instance ("extends Holder<<<t1>>>"): its use,
        // through the ">>>" that closes it, is rewritten with the instance.
        int depth = 0;
        qsizetype use = 0;
        while (use + 2 < rest.size()) {
            const QByteArrayView triple = rest.sliced(use, 3);
            if (triple == "<<<")
                ++depth;
            else if (triple == ">>>" && depth > 0)
                --depth;
            else if (depth > 0) {
                ++use;
                continue;
            } else {
                break;
            }
            use += 3;
            if (depth == 0)
                break;
        }
        if (use > 0 && depth == 0) {
            parent += rest.first(use);
            rest = rest.sliced(use).trimmed();
        }
        at = wordEnd();
    }
    if (!isKeyword(rest.first(at), "field"))
        return;
    const QByteArrayView value = rest.sliced(at).trimmed();
    if (value.size() < 2 || value[0] != '=')
        return;
    packing = rest.first(at).toByteArray() + " = " + value.sliced(1).trimmed().toByteArray();
}

void Capture::captureDeclaration(qsizetype header, TemplateSet& templates) {
    const QByteArray name = keyLine(header)->second.toByteArray();
    ++templates.templateCount;

    CapturedTemplate captured;
    captured.name = name;
    captured.headerOrigin = origins[header];
    captured.space = headerSpaces.value(header);
    headerClauses(lines[header], keyLine(header)->second, captured.parent, captured.packing);
    qsizetype endLine = -1;
    bool crossed = false; // another declaration or a procedure met before the end line
    for (qsizetype i = header; i < size; i = marks.firstFree(i + 1)) {
        append(captured, i);
        const KeyLine* key = keyLine(i);
        if (key && key->isEndTemplate) {
            endLine = i;
            break;
        }
        if (key && i > header && !crossed)
            crossed = key->isHeader || opensProcedure(*key);
        take(i);
    }
    // An end line found past another declaration or procedure is that one's:
    // this declaration has none of its own. Its lines are taken all the same,
    // but a template never used would drop them unseen, so it is reported.
    if (endLine >= 0 && crossed)
        reportUnended(header, "end template", name);

    // A declaration without an end line has taken the rest of the file as it
    // stands, and says so at its first line.
    if (endLine < 0) {
        reportUnended(header, "end template", name);
    } else {
        // The header gives way to the instance's own "type" line, and
        // "end template" becomes "end type ", in whatever letter case.
        captured.lines.removeFirst();
        captured.origins.removeFirst();
        captured.lines.last() = replaceWord(lines[endLine], keyLine(endLine)->second, "type ");
        appendLineFeed(captured);
        take(endLine);

        const int nameNode = names.find(name);
        for (int kind = 0; kind < KindCount; ++kind)
            captureMembers(kind, nameNode, endLine + 1, captured);
    }
    // The same name declared again takes the place of the earlier
    // declaration. Under other #if branches than it, though, either may be
    // the one the compiler keeps, and in another namespace both are meant:
    // the later one then says where the earlier one stands.
    const QByteArray key = templateKey(name);
    const auto earlier = declaredHere.constFind(key);
    // That holds for one an included file declared too.
    const auto before = templates.templateTable.constFind(key);
    if (before != templates.templateTable.cend() &&
        (!equalsIgnoringCase(before->space, captured.space) ||
         (earlier != declaredHere.cend() &&
          (conditionals.openingFor(qint32(*earlier), qint32(header)).levels != 0 ||
           conditionals.openingFor(qint32(header), qint32(*earlier)).levels != 0)))) {
        captured.earlierHeader = before->headerOrigin;
        captured.earlierSpace = before->space;
    }
    declaredHere.insert(key, header);
    captured.plan();
    templates.templateTable.insert(key, captured);
}

// Takes every procedure of the kind written for the template at or below from:
// each from its first line through the next end line of its kind, or through
// the end of the file when no such end line follows. A procedure written in
// #if branches that the template's end line (at from - 1) is not in is
// captured under copies of those branches' directives, which stay in the
// file: the instance then has the members the compiler keeps.
void Capture::captureMembers(int kind, int nameNode, qsizetype from, CapturedTemplate& captured) {
    const auto found = starts.find(startKey(kind, nameNode));
    if (found == starts.end())
        return;
    QList<qsizetype>& firstLines = found.value();
    const qsizetype below =
        std::lower_bound(firstLines.cbegin(), firstLines.cend(), from) - firstLines.cbegin();
    qsizetype resume = from;
    for (qsizetype n = below; n < firstLines.size(); ++n) {
        const qsizetype first = firstLines[n];
        if (first < resume || marks.isTaken(first))
            continue;
        // A procedure written on one line ends on it.
        const KeyLine* key = keyLine(first);
        const bool declaresOnly = key && key->declaresOnly;
        const qsizetype endLine =
            kind == Dim || declaresOnly || endsWithEndStatement(lines[first], memberKeywords[kind])
                ? first
                : nextEnd(kind, first + 1);
        // An end line found past another procedure's first line belongs to
        // that procedure: this member has none of its own. The lines up to
        // that end line are taken all the same, but a template never used
        // would drop them unseen, so the missing end line is reported.
        if (endLine > first && nestedProcedure(first, endLine) >= 0)
            reportUnended(first, "end " + memberKeywords[kind].toByteArray(), captured.name);
        const ConditionalBlocks::Opening opening =
            conditionals.isEmpty() ? ConditionalBlocks::Opening()
                                   : conditionals.openingFor(qint32(first), qint32(from - 1));
        for (const qint32 directive : opening.lines) {
            captured.lines.append(lines[directive].toByteArray());
            captured.origins.append(origins[directive]);
        }
        const qsizetype firstCaptured = captured.lines.size();
        const qsizetype last = endLine >= 0 ? endLine : size - 1;
        for (qsizetype i = marks.firstFree(first); i <= last; i = marks.firstFree(i + 1)) {
            append(captured, i);
            take(i);
        }
        // Static data has no linkage to say, and a declaration takes the
        // implementation's.
        if (kind != Dim && !declaresOnly)
            captured.lines[firstCaptured] = privateMember(captured.lines[firstCaptured]);
        if (endLine < 0) {
            reportUnended(first, "end " + memberKeywords[kind].toByteArray(), captured.name);
            break;
        }
        for (int level = 0; level < opening.levels; ++level) {
            captured.lines.append(QByteArray("#endif"));
            captured.origins.append(LineOrigin());
        }
        appendLineFeed(captured);
        resume = endLine + 1;
    }
    // Every first line at or below from is taken now, so a later declaration of
    // the same name, which starts further down, has nothing to find here.
    firstLines.resize(below);
}

void Capture::reportUnended(qsizetype line, QByteArrayView endLine, const QByteArray& name) {
    if (errors)
        errors->append(TemplateError{origins[line], TemplateError::UnendedBlock,
                                     "'" + endLine.toByteArray() +
                                         "' not found for this block of template " + name});
}

// Moves the lines still in the file down over the taken ones.
void Capture::dropTakenLines() {
    qsizetype kept = 0;
    for (qsizetype i = marks.firstFree(0); i < size; i = marks.firstFree(i + 1)) {
        lines[kept] = lines[i];
        origins[kept] = origins[i];
        ++kept;
    }
    lines.resize(kept);
    origins.resize(kept);
}

} // namespace

void captureTemplates(Lines& lines, QList<LineOrigin>& origins, TemplateSet& templates,
                      QList<TemplateError>* errors, bool mayOpenComments) {
    origins.resize(lines.size()); // lines without a known origin get none
    Capture capture(lines, origins, errors);
    capture.classifyLines(mayOpenComments);
    bool capturedAny = false;
    for (qsizetype k = 0; k < capture.keyLines.size(); ++k) {
        const KeyLine& key = capture.keyLines[k];
        if (key.isHeader && !capture.marks.isTaken(key.line)) {
            capture.captureDeclaration(key.line, templates);
            capturedAny = true;
        }
    }
    if (capturedAny)
        capture.dropTakenLines();
}
