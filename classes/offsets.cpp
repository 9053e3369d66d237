#include "offsets.h"

#include "characters.h"
#include "codelexer.h"
#include "lines.h"

InheritedFieldDepths inheritedFieldDepths(const QList<TypeRecord>& records) {
    QHash<QByteArray, qsizetype> byName;
    for (qsizetype r = 0; r < records.size(); ++r)
        byName.insert(caseFolded(records[r].typeName), r);
    InheritedFieldDepths depths;
    forEachInheritedField(records, [&](const TypeRecord& record, const TypeRecord& declaring,
                                       const MemberEntry& entry) {
        // Up the parents to the type that declares the field; a chain that
        // does not reach it (or goes round) names no offset.
        const TypeRecord* at = &record;
        int levels = 0;
        while (levels <= records.size() &&
               caseFolded(at->typeName) != caseFolded(declaring.typeName)) {
            const auto parent = byName.constFind(caseFolded(at->parentName));
            if (at->parentName.isEmpty() || parent == byName.cend()) {
                levels = -1;
                break;
            }
            at = &records[*parent];
            ++levels;
        }
        if (levels > 0 && levels <= records.size())
            depths[caseFolded(record.typeName)].insert(entry.key.name, levels);
    });
    return depths;
}

bool mentionsOffsetof(QByteArrayView text) {
    return indexOfIgnoringCase(text, "offsetof") >= 0;
}

namespace {

qsizetype skipBlanks(QByteArrayView code, qsizetype at) {
    while (at < code.size() && isBlank(code[at]))
        ++at;
    return at;
}

qsizetype nameEnd(QByteArrayView code, qsizetype at) {
    while (at < code.size() && isNameChar(code[at]))
        ++at;
    return at;
}

// Where "parent." goes in the line for each offsetof of code that needs it,
// and how many of them.
struct Insertion {
    qsizetype at;
    int levels;
};

QList<Insertion> insertionsIn(QByteArrayView code, const InheritedFieldDepths& depths) {
    QList<Insertion> found;
    for (qsizetype hit = indexOfIgnoringCase(code, "offsetof"); hit >= 0;
         hit = indexOfIgnoringCase(code, "offsetof", hit + 8)) {
        if ((hit > 0 && (isNameChar(code[hit - 1]) || code[hit - 1] == '.')) ||
            (hit + 8 < code.size() && isNameChar(code[hit + 8])))
            continue;
        qsizetype at = skipBlanks(code, hit + 8);
        if (at >= code.size() || code[at] != '(')
            continue;
        const qsizetype typeAt = skipBlanks(code, at + 1);
        const qsizetype typeEnd = nameEnd(code, typeAt);
        at = skipBlanks(code, typeEnd);
        if (typeEnd == typeAt || at >= code.size() || code[at] != ',')
            continue;
        const auto fields = depths.constFind(caseFolded(code.sliced(typeAt, typeEnd - typeAt)));
        if (fields == depths.cend())
            continue;
        const qsizetype fieldAt = skipBlanks(code, at + 1);
        const qsizetype fieldEnd = nameEnd(code, fieldAt);
        // The field alone: "offsetof(Circle, pos.x)" names the inherited
        // field's own member, which is reached the same way.
        if (fieldEnd == fieldAt)
            continue;
        const auto levels = fields->constFind(caseFolded(code.sliced(fieldAt, fieldEnd - fieldAt)));
        if (levels != fields->cend())
            found.append(Insertion{fieldAt, *levels});
    }
    return found;
}

} // namespace

void reachInheritedOffsets(QByteArray& text, const InheritedFieldDepths& depths) {
    if (depths.isEmpty() || !mentionsOffsetof(text))
        return;
    const LineIndex lines(text);
    CodeLexer lexer;
    QByteArray result;
    qsizetype copied = 0; // of text
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView line = lines[i];
        const QByteArrayView code = lexer.next(line);
        if (indexOfIgnoringCase(code, "offsetof") < 0)
            continue;
        const qsizetype lineAt = line.data() - text.constData();
        for (const Insertion& insertion : insertionsIn(code, depths)) {
            if (result.isEmpty())
                result.reserve(text.size() + 64);
            result += QByteArrayView(text).sliced(copied, lineAt + insertion.at - copied);
            for (int level = 0; level < insertion.levels; ++level)
                result += "parent.";
            copied = lineAt + insertion.at;
        }
    }
    if (copied == 0)
        return;
    result += QByteArrayView(text).sliced(copied);
    text = result;
}
