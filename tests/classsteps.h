#pragma once

// The class pass's steps as the tests run them one by one.

#include "classtext.h"
#include "extends.h"
#include "inheritance.h"
#include "twins.h"
#include "typeblocks.h"
#include "typescan.h"

// Every type's record with all its scanned texts made.
inline QList<TypeRecord> scanTypes(const Lines& lines, const QList<LineOrigin>& origins) {
    QList<TypeRecord> records = findTypes(lines);
    for (TypeRecord& record : records)
        fillScannedTexts(record, lines, origins, true);
    return records;
}

// The text that takes the place of a record's type block.
inline MappedText replacementText(const TypeRecord& record) {
    MappedTextBuilder text;
    for (const MappedText* part : replacementParts(record))
        text.add(*part);
    text.add(QByteArrayView());
    return text.take();
}

// The records after the twin and parent steps.
inline QList<TypeRecord> resolved(const QByteArray& source) {
    const MappedText mapped = sourceOf(source);
    const Lines lines = splitLines(mapped.text);
    QList<TypeRecord> records = scanTypes(lines, mapped.origins);
    const Inheritance inheritance = analyseInheritance(lines, records);
    buildTwins(records, inheritance);
    resolveExtends(records, lines, mapped.origins, inheritance);
    embedParents(records);
    return records;
}
