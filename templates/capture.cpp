#include "capture.h"

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
// captured members are stored.
enum MemberKind { Sub, Function, Constructor, Destructor, Operator, Property, KindCount };

const QByteArrayView memberKeywords[KindCount] = {
    "sub", "function", "constructor", "destructor", "operator", "property",
};

// How the second token of a member's first line names its template.
bool acceptsDotted(int kind) { // "Name.member"
    return kind == Sub || kind == Function || kind == Operator || kind == Property;
}
bool acceptsBare(int kind) { // exactly "Name"
    return kind == Constructor || kind == Destructor || kind == Operator;
}
bool acceptsCall(int kind) { // "Name(..."
    return kind == Constructor || kind == Destructor;
}

int memberKindOf(QByteArrayView token) {
    for (int kind = 0; kind < KindCount; ++kind) {
        if (isKeyword(token, memberKeywords[kind]))
            return kind;
    }
    return -1;
}

quint64 startKey(int kind, int nameNode) {
    return (quint64(nameNode) << 8) | quint64(kind);
}

struct Capture {
    Lines& lines;
    QList<LineOrigin>& origins;
    qsizetype size;

    // What the tokens of each line say, worked out once.
    QList<QByteArrayView> secondTokens; // token 1, empty when a line has fewer than two
    QList<bool> isHeader;               // "template" and a name
    QList<bool> isEndTemplate;          // "end" "template"
    QList<qint8> endKind;               // "end" and a member keyword, or -1
    QList<qsizetype> endIndex;          // position of the line in ends[endKind]

    NameTrie names;
    QHash<quint64, QList<qsizetype>> starts; // (kind, template name) -> first lines, in order
    QList<qsizetype> ends[KindCount];        // end lines of each kind, in order
    QList<TakenMarks> endMarks;
    TakenMarks marks;

    Capture(Lines& lines, QList<LineOrigin>& origins)
        : lines(lines), origins(origins), size(lines.size()), secondTokens(size),
          isHeader(size, false), isEndTemplate(size, false), endKind(size, -1), endIndex(size, -1),
          marks(size) {}

    void classifyLines();
    void indexMemberStarts(const QList<qint8>& startKind);
    void take(qsizetype line);
    qsizetype nextEnd(int kind, qsizetype from);
    void append(CapturedTemplate& captured, qsizetype line) const;
    void captureDeclaration(qsizetype header, TemplateSet& templates);
    void captureMembers(int kind, int nameNode, qsizetype from, CapturedTemplate& captured);
    void dropTakenLines();
};

void Capture::classifyLines() {
    QList<qint8> startKind(size, -1);
    for (qsizetype i = 0; i < size; ++i) {
        // Only a line that opens with one of the keywords matters here.
        const QByteArrayView first = firstToken(lines[i]);
        if (!isKeyword(first, "template") && !isKeyword(first, "end") && memberKindOf(first) < 0)
            continue;
        const Tokens tokens = lineTokens(lines[i]);
        if (tokens.size() < 2)
            continue;
        secondTokens[i] = tokens[1];
        if (isKeyword(tokens[0], "template")) {
            isHeader[i] = true;
            names.add(tokens[1]);
        } else if (isKeyword(tokens[0], "end")) {
            if (isKeyword(tokens[1], "template")) {
                isEndTemplate[i] = true;
            } else if (const int kind = memberKindOf(tokens[1]); kind >= 0) {
                endKind[i] = qint8(kind);
                endIndex[i] = ends[kind].size();
                ends[kind].append(i);
            }
        } else {
            startKind[i] = qint8(memberKindOf(tokens[0]));
        }
    }
    for (int kind = 0; kind < KindCount; ++kind)
        endMarks.append(TakenMarks(ends[kind].size()));
    indexMemberStarts(startKind);
}

// Files each member's first line under every template name its second token
// can stand for: the names it begins with followed by "." or "(", or equals,
// as its kind allows.
void Capture::indexMemberStarts(const QList<qint8>& startKind) {
    for (qsizetype i = 0; i < size; ++i) {
        const int kind = startKind[i];
        if (kind < 0)
            continue;
        const QByteArrayView token = secondTokens[i];
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
    if (endKind[line] >= 0)
        endMarks[endKind[line]].take(endIndex[line]);
}

// The first end line of the kind at or after from that is still in the file, or -1.
qsizetype Capture::nextEnd(int kind, qsizetype from) {
    const QList<qsizetype>& list = ends[kind];
    const qsizetype position = std::lower_bound(list.cbegin(), list.cend(), from) - list.cbegin();
    const qsizetype free = endMarks[kind].firstFree(position);
    return free < list.size() ? list[free] : -1;
}

void Capture::append(CapturedTemplate& captured, qsizetype line) const {
    captured.lines.append(lines[line].toByteArray()); // outlives the file's text
    captured.origins.append(origins[line]);
}

void appendLineFeed(CapturedTemplate& captured) {
    captured.lines.append(QByteArray("\n"));
    captured.origins.append(LineOrigin());
}

void Capture::captureDeclaration(qsizetype header, TemplateSet& templates) {
    const QByteArray name = secondTokens[header].toByteArray();
    ++templates.templateCount;

    CapturedTemplate captured;
    captured.headerOrigin = origins[header];
    qsizetype endLine = -1;
    for (qsizetype i = header; i < size; i = marks.firstFree(i + 1)) {
        append(captured, i);
        if (isEndTemplate[i]) {
            endLine = i;
            break;
        }
        take(i);
    }

    // A declaration without an end line has taken the rest of the file as it stands.
    if (endLine >= 0) {
        captured.lines.removeFirst();
        captured.origins.removeFirst();
        captured.lines.last().replace("template", "type ");
        captured.lines.first().replace("template ", "type ");
        appendLineFeed(captured);
        take(endLine);

        const int nameNode = names.find(name);
        for (int kind = 0; kind < KindCount; ++kind)
            captureMembers(kind, nameNode, endLine + 1, captured);
    }
    templates.templateTable.insert(name, captured);
}

// Takes every procedure of the kind written for the template at or below from:
// each from its first line through the next end line of its kind, or through
// the end of the file when no such end line follows.
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
        const qsizetype endLine = nextEnd(kind, first + 1);
        const qsizetype last = endLine >= 0 ? endLine : size - 1;
        for (qsizetype i = marks.firstFree(first); i <= last; i = marks.firstFree(i + 1)) {
            append(captured, i);
            take(i);
        }
        if (endLine < 0)
            break;
        appendLineFeed(captured);
        resume = endLine + 1;
    }
    // Every first line at or below from is taken now, so a later declaration of
    // the same name, which starts further down, has nothing to find here.
    firstLines.resize(below);
}

void Capture::dropTakenLines() {
    Lines keptLines;
    QList<LineOrigin> keptOrigins;
    keptLines.reserve(size);
    keptOrigins.reserve(size);
    for (qsizetype i = marks.firstFree(0); i < size; i = marks.firstFree(i + 1)) {
        keptLines.append(lines[i]);
        keptOrigins.append(origins[i]);
    }
    lines = std::move(keptLines);
    origins = std::move(keptOrigins);
}

} // namespace

void captureTemplates(Lines& lines, QList<LineOrigin>& origins, TemplateSet& templates) {
    origins.resize(lines.size()); // lines without a known origin get none
    Capture capture(lines, origins);
    capture.classifyLines();
    bool capturedAny = false;
    for (qsizetype i = capture.marks.firstFree(0); i < capture.size;
         i = capture.marks.firstFree(i + 1)) {
        if (capture.isHeader[i]) {
            capture.captureDeclaration(i, templates);
            capturedAny = true;
        }
    }
    if (capturedAny)
        capture.dropTakenLines();
}
