#include "typerecord.h"

#include "characters.h"
#include "lines.h"

RecordIndex::RecordIndex(const QList<TypeRecord>& records) {
    lastByName.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i)
        lastByName.insert(caseFolded(records[i].typeName), i);
}

qsizetype RecordIndex::find(QByteArrayView name) const {
    return lastByName.value(caseFolded(name), -1);
}

namespace {

template <typename Part> MappedText joinedEntries(const QList<MemberEntry>& members, Part part) {
    MappedTextBuilder text;
    for (const MemberEntry& member : members)
        text.add(part(member), member.origin);
    return text.take();
}

} // namespace

MappedText forwarderTextOf(const QList<MemberEntry>& members) {
    return joinedEntries(members, [](const MemberEntry& member) { return member.forwarder; });
}

MappedText declareTextOf(const QList<MemberEntry>& members) {
    return joinedEntries(members, [](const MemberEntry& member) { return member.declaration; });
}

bool anyImplementationLine(const TypeRecord& record,
                           const std::function<bool(QByteArrayView line)>& test) {
    const auto anyIn = [&test](const QByteArray& text) {
        for (const QByteArrayView line : splitLines(text)) {
            if (test(line))
                return true;
        }
        return false;
    };
    if (anyIn(record.methodText.text))
        return true;
    for (const PlacedText& method : record.laterMethods) {
        if (anyIn(method.text.text))
            return true;
    }
    return false;
}

bool implementsPrivately(const TypeRecord& record) {
    return anyImplementationLine(
        record, [](QByteArrayView line) { return isKeyword(firstToken(line), "private"); });
}
