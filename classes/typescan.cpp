#include "typescan.h"

#include "characters.h"
#include "forwarding.h"
#include "lines.h"

#include <QHash>

#include <algorithm>

namespace {

// The first tokens of a line and how many it has in all.
struct LineView {
    QByteArrayView first, second, third;
    int count = 0;
};

// The same, kept for every line of the file, as positions within the line:
// half the size of the views, which matters at one entry per line.
struct LineInfo {
    qint32 count = 0;
    qint32 starts[3] = {0, 0, 0};
    qint32 sizes[3] = {0, 0, 0};

    LineView viewIn(QByteArrayView line) const {
        return LineView{line.sliced(starts[0], sizes[0]), line.sliced(starts[1], sizes[1]),
                        line.sliced(starts[2], sizes[2]), count};
    }
};

LineInfo infoOf(QByteArrayView line) {
    const Tokens tokens = lineTokens(line);
    LineInfo info;
    info.count = qint32(tokens.size());
    for (qsizetype i = 0; i < 3 && i < tokens.size(); ++i) {
        info.starts[i] = qint32(tokens[i].data() - line.data());
        info.sizes[i] = qint32(tokens[i].size());
    }
    return info;
}

// The member kinds, scanned in this order for each type. Subs, functions and
// properties are forwarded to extending types; constructors, destructors and
// operators are not inherited through "parent" and only reach the twin.
// Constructors and destructors name the type itself ("constructor Shape",
// "constructor Shape(byval n as integer)"); every other header names the member
// with the type's qualifier ("sub Shape.move()", "operator Shape.cast()").
struct MemberKind {
    QByteArrayView keyword;
    bool forwarded;
    bool namesType;
};

const MemberKind memberKinds[] = {
    {"sub", true, false},         {"function", true, false},   {"property", true, false},
    {"constructor", false, true}, {"destructor", false, true}, {"operator", false, false},
};
constexpr int memberKindCount = int(sizeof(memberKinds) / sizeof(memberKinds[0]));

QByteArray indexKey(int kind, QByteArrayView qualifier) {
    return char('0' + kind) + caseFolded(qualifier);
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

class Scan {
public:
    Scan(const Lines& lines, const QList<LineOrigin>& origins)
        : lines(lines), origins(origins), working(lines.size()) {
        infos.reserve(lines.size());
        for (const QByteArrayView line : lines)
            infos.append(infoOf(line));
        indexHeaders();
    }

    QList<TypeRecord> run() {
        QList<TypeRecord> records;
        for (int j = lines.isEmpty() ? -1 : 0; j >= 0; j = working.next[j]) {
            const LineView info = lineView(j);
            if (info.count >= 2 && isKeyword(info.first, "type"))
                records.append(scanType(j));
        }
        return records;
    }

private:
    const Lines& lines;
    const QList<LineOrigin>& origins;
    QList<LineInfo> infos;

    LineView lineView(int line) const { return infos[line].viewIn(lines[line]); }
    WorkingLines working;
    // Header lines by kind and qualifier: for every "." of a header's second
    // token, the text up to and including it, case-folded. Lines in file order.
    QHash<QByteArray, QList<int>> headers;

    MappedTextBuilder forwarders, declarations, blockLines, methodLines;

    void indexHeaders() {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const LineView info = lineView(int(i));
            if (info.count < 2)
                continue;
            for (int kind = 0; kind < memberKindCount; ++kind) {
                if (!isKeyword(info.first, memberKinds[kind].keyword))
                    continue;
                if (memberKinds[kind].namesType) {
                    // Under the whole token and under each piece before a "(".
                    headers[indexKey(kind, info.second)].append(int(i));
                    for (qsizetype open = info.second.indexOf('('); open >= 0;
                         open = info.second.indexOf('(', open + 1))
                        headers[indexKey(kind, info.second.first(open))].append(int(i));
                    continue;
                }
                for (qsizetype dot = info.second.indexOf('.'); dot >= 0;
                     dot = info.second.indexOf('.', dot + 1))
                    headers[indexKey(kind, info.second.first(dot + 1))].append(int(i));
            }
        }
    }

    void addEntry(const ForwardEntry& entry, const LineOrigin& origin) {
        forwarders.add(entry.forwarder, origin);
        declarations.add(entry.declaration, origin);
    }

    TypeRecord scanType(int typeLine) {
        TypeRecord record;
        record.typeName = lineView(typeLine).second.toByteArray();
        record.typeLine = typeLine;
        const QByteArray memberPrefix = record.typeName + '.';
        scanBlock(typeLine);
        for (int kind = 0; kind < memberKindCount; ++kind)
            scanMembers(typeLine, kind,
                        memberKinds[kind].namesType ? record.typeName : memberPrefix);

        record.forwarderText = forwarders.take();
        record.declareText = declarations.take();
        record.blockText = blockLines.take();
        record.methodText = methodLines.take();
        return record;
    }

    // The type line through the first end line after it, or the end of the
    // file; every "name as Type" line is a field.
    void scanBlock(int typeLine) {
        for (int k = typeLine; k >= 0; k = working.next[k]) {
            blockLines.add(lines[k], origins[k]);
            const LineView info = lineView(k);
            if (info.count < 2)
                continue;
            if (info.count == 3 && isKeyword(info.second, "as"))
                addEntry(forwardField(info.first, info.third), origins[k]);
            if (isKeyword(info.first, "end") && isKeyword(info.second, "type"))
                return;
        }
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

    void generate(int line, int kind, const QByteArray& memberPrefix) {
        if (!memberKinds[kind].forwarded)
            return;
        const QByteArrayView header = lines[line];
        addEntry(forwardMember(memberKinds[kind].keyword, lineTokens(header), memberNameOf(header),
                               argumentListOf(header), memberPrefix),
                 origins[line]);
    }

    // Outside an implementation only a header matters, so the scan jumps from
    // header to header through the index; inside one it takes every line up
    // to the end line of the same kind.
    void scanMembers(int typeLine, int kind, const QByteArray& qualifier) {
        const auto found = headers.constFind(indexKey(kind, qualifier));
        if (found == headers.cend())
            return;
        const QList<int>& candidates = *found;
        auto candidate = std::upper_bound(candidates.cbegin(), candidates.cend(), typeLine);
        int position = typeLine;
        while (true) {
            while (candidate != candidates.cend() &&
                   (*candidate <= position || !working.alive[*candidate]))
                ++candidate;
            if (candidate == candidates.cend())
                return;
            int k = *candidate;
            bool ended = false;
            while (k >= 0 && !ended) {
                const LineView info = lineView(k);
                if (isHeader(info, kind, qualifier))
                    generate(k, kind, qualifier);
                ended = info.count >= 2 && isKeyword(info.first, "end") &&
                        isKeyword(info.second, memberKinds[kind].keyword);
                methodLines.add(lines[k], origins[k]);
                if (ended)
                    methodLines.add("\n");
                const int following = working.next[k];
                working.take(k);
                position = k;
                k = following;
            }
            if (!ended)
                return; // the implementation ran to the end of the file
        }
    }
};

} // namespace

bool namesType(QByteArrayView token, QByteArrayView typeName) {
    if (!startsWithIgnoringCase(token, typeName))
        return false;
    return token.size() == typeName.size() || token[typeName.size()] == '(';
}

QList<TypeRecord> scanTypes(const Lines& lines, const QList<LineOrigin>& origins) {
    return Scan(lines, origins).run();
}
