#include "typescan.h"

#include "forwarding.h"
#include "lines.h"

#include <QHash>

#include <algorithm>

namespace {

// The first tokens of a line and how many it has in all, taken once per line.
struct LineInfo {
    QStringView first, second, third;
    int count = 0;
};

LineInfo infoOf(QStringView line) {
    const Tokens tokens = lineTokens(line);
    LineInfo info;
    info.count = int(tokens.size());
    if (tokens.size() > 0)
        info.first = tokens[0];
    if (tokens.size() > 1)
        info.second = tokens[1];
    if (tokens.size() > 2)
        info.third = tokens[2];
    return info;
}

// The member kinds, scanned in this order for each type. Subs, functions and
// properties are forwarded to extending types; constructors, destructors and
// operators are not inherited through "parent" and only reach the twin.
// Constructors and destructors name the type itself ("constructor Shape",
// "constructor Shape(byval n as integer)"); every other header names the member
// with the type's qualifier ("sub Shape.move()", "operator Shape.cast()").
struct MemberKind {
    QLatin1StringView keyword;
    bool forwarded;
    bool namesType;
};

const MemberKind memberKinds[] = {
    {QLatin1StringView("sub"), true, false},        {QLatin1StringView("function"), true, false},
    {QLatin1StringView("property"), true, false},   {QLatin1StringView("constructor"), false, true},
    {QLatin1StringView("destructor"), false, true}, {QLatin1StringView("operator"), false, false},
};
constexpr int memberKindCount = int(sizeof(memberKinds) / sizeof(memberKinds[0]));

QString indexKey(int kind, QStringView qualifier) {
    return QChar(u'0' + kind) + qualifier.toString().toCaseFolded();
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
    Scan(const QStringList& lines, const QList<LineOrigin>& origins)
        : lines(lines), origins(origins), working(lines.size()) {
        infos.reserve(lines.size());
        for (const QString& line : lines)
            infos.append(infoOf(line));
        indexHeaders();
    }

    QList<TypeRecord> run() {
        QList<TypeRecord> records;
        for (int j = lines.isEmpty() ? -1 : 0; j >= 0; j = working.next[j]) {
            const LineInfo& info = infos[j];
            if (info.count >= 2 && isKeyword(info.first, QLatin1StringView("type")))
                records.append(scanType(j));
        }
        return records;
    }

private:
    const QStringList& lines;
    const QList<LineOrigin>& origins;
    QList<LineInfo> infos;
    WorkingLines working;
    // Header lines by kind and qualifier: for every "." of a header's second
    // token, the text up to and including it, case-folded. Lines in file order.
    QHash<QString, QList<int>> headers;

    QList<MappedText> forwarders, declarations, blockLines, methodLines;

    void indexHeaders() {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const LineInfo& info = infos[i];
            if (info.count < 2)
                continue;
            for (int kind = 0; kind < memberKindCount; ++kind) {
                if (!isKeyword(info.first, memberKinds[kind].keyword))
                    continue;
                if (memberKinds[kind].namesType) {
                    // Under the whole token and under each piece before a "(".
                    headers[indexKey(kind, info.second)].append(int(i));
                    for (qsizetype open = info.second.indexOf(u'('); open >= 0;
                         open = info.second.indexOf(u'(', open + 1))
                        headers[indexKey(kind, info.second.left(open))].append(int(i));
                    continue;
                }
                for (qsizetype dot = info.second.indexOf(u'.'); dot >= 0;
                     dot = info.second.indexOf(u'.', dot + 1))
                    headers[indexKey(kind, info.second.left(dot + 1))].append(int(i));
            }
        }
    }

    void addEntry(const ForwardEntry& entry, const LineOrigin& origin) {
        forwarders.append(MappedText(entry.forwarder, origin));
        declarations.append(MappedText(entry.declaration, origin));
    }

    TypeRecord scanType(int typeLine) {
        TypeRecord record;
        record.typeName = infos[typeLine].second.toString();
        record.typeLine = typeLine;
        const QString memberPrefix = record.typeName + u'.';
        forwarders.clear();
        declarations.clear();
        blockLines.clear();
        methodLines.clear();

        scanBlock(typeLine);
        for (int kind = 0; kind < memberKindCount; ++kind)
            scanMembers(typeLine, kind,
                        memberKinds[kind].namesType ? record.typeName : memberPrefix);

        record.forwarderText = MappedText::joinLines(forwarders);
        record.declareText = MappedText::joinLines(declarations);
        record.blockText = MappedText::joinLines(blockLines);
        record.methodText = MappedText::joinLines(methodLines);
        return record;
    }

    // The type line through the first end line after it, or the end of the
    // file; every "name as Type" line is a field.
    void scanBlock(int typeLine) {
        for (int k = typeLine; k >= 0; k = working.next[k]) {
            blockLines.append(MappedText(lines[k], origins[k]));
            const LineInfo& info = infos[k];
            if (info.count < 2)
                continue;
            if (info.count == 3 && isKeyword(info.second, QLatin1StringView("as")))
                addEntry(forwardField(info.first, info.third), origins[k]);
            if (isKeyword(info.first, QLatin1StringView("end")) &&
                isKeyword(info.second, QLatin1StringView("type")))
                return;
        }
    }

    // qualifier: the type's name for kinds that name the type, its member
    // prefix for the others.
    static bool isHeader(const LineInfo& info, int kind, const QString& qualifier) {
        if (info.count < 2 || !isKeyword(info.first, memberKinds[kind].keyword))
            return false;
        if (memberKinds[kind].namesType)
            return namesType(info.second, qualifier);
        return startsWithIgnoringCase(info.second, qualifier);
    }

    void generate(int line, int kind, const QString& memberPrefix) {
        if (!memberKinds[kind].forwarded)
            return;
        const QString& header = lines[line];
        addEntry(forwardMember(QString(memberKinds[kind].keyword), lineTokens(header),
                               memberNameOf(header), argumentListOf(header), memberPrefix),
                 origins[line]);
    }

    // Outside an implementation only a header matters, so the scan jumps from
    // header to header through the index; inside one it takes every line up
    // to the end line of the same kind.
    void scanMembers(int typeLine, int kind, const QString& qualifier) {
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
                const LineInfo& info = infos[k];
                if (isHeader(info, kind, qualifier))
                    generate(k, kind, qualifier);
                ended = info.count >= 2 && isKeyword(info.first, QLatin1StringView("end")) &&
                        isKeyword(info.second, memberKinds[kind].keyword);
                methodLines.append(MappedText(lines[k], origins[k]));
                if (ended)
                    methodLines.append(MappedText(QStringLiteral("\n"), LineOrigin()));
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

bool namesType(QStringView token, QStringView typeName) {
    if (!startsWithIgnoringCase(token, typeName))
        return false;
    return token.size() == typeName.size() || token[typeName.size()] == u'(';
}

QList<TypeRecord> scanTypes(const QStringList& lines, const QList<LineOrigin>& origins) {
    return Scan(lines, origins).run();
}
