#include "extends.h"

#include "forwarding.h"
#include "twins.h"

namespace {

// Inserts more directly before the first line feed of text; a text of one
// line receives nothing.
void insertAfterFirstLine(MappedText& text, const MappedText& more) {
    const qsizetype lineFeed = text.text.indexOf('\n');
    if (lineFeed >= 0)
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

void resolveExtends(QList<TypeRecord>& records, const Lines& lines,
                    const QList<LineOrigin>& origins, const Inheritance& inheritance) {
    const RecordIndex index(records);
    const QByteArray placeholder = ' ' + forwardPlaceholder().toByteArray();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!firstTokenMayBe(lines[i], "type"))
            continue;
        const Tokens tokens = lineTokens(lines[i]);
        if (!isExtendsLine(tokens) || inheritance.isNative(tokens[1]))
            continue;
        const qsizetype derivedAt = index.find(tokens[1]);
        const qsizetype parentAt = index.find(tokens[3]);
        if (derivedAt < 0 || parentAt < 0)
            continue;
        // Copies: a type may name itself as its parent.
        const TypeRecord parent = records[parentAt];
        TypeRecord& derived = records[derivedAt];
        const QByteArray d = derived.typeName;
        const QByteArray p = parent.typeName;
        const QByteArray ownQualifier = ' ' + d + '.';

        MappedText inheritedForwarders = parent.inheritedForwarderText;
        inheritedForwarders.text.replace(' ' + p + '.', ownQualifier);
        derived.inheritedForwarderText =
            joined(derived.inheritedForwarderText, inheritedForwarders);
        derived.inheritedDeclareText =
            joined(derived.inheritedDeclareText, parent.inheritedDeclareText);
        derived.inheritedForwarderText =
            joined(derived.inheritedForwarderText, parent.forwarderText);
        derived.inheritedForwarderText.text.replace(placeholder, ownQualifier);
        derived.inheritedDeclareText = joined(derived.inheritedDeclareText, parent.declareText);
        derived.inheritedDeclareText.text.replace(placeholder, ownQualifier);
        derived.parentName = tokens[3].toByteArray();
        derived.extendsOrigin = origins.value(i);
        if (!derived.hasTwin)
            continue;

        const QByteArray qualifier = d + '.';
        const QByteArray twinQualifier = twinNameOf(d) + '.';
        derived.twinMethodText = joined(derived.inheritedForwarderText, derived.twinMethodText);
        replaceQualifier(derived.twinMethodText.text, qualifier, twinQualifier, Qt::CaseSensitive);
        insertAfterFirstLine(derived.twinBlockText,
                             joined(derived.inheritedDeclareText, MappedText()));
        replaceQualifier(derived.twinBlockText.text, qualifier, twinQualifier, Qt::CaseSensitive);
    }
}

void embedParents(QList<TypeRecord>& records) {
    for (TypeRecord& record : records) {
        const MappedText member = parentMember(record);
        MappedText block = record.blockText;
        MappedText inserted = record.inheritedDeclareText;
        inserted.append(member);
        insertAfterFirstLine(block, inserted);
        insertAfterFirstLine(record.twinBlockText, member);
        record.inheritedDeclareText = block;
    }
}
