#pragma once

// The class pass's steps as the tests run them one by one.

#include "classtext.h"
#include "codelexer.h"
#include "extends.h"
#include "inheritance.h"
#include "twins.h"
#include "typeblocks.h"
#include "typescan.h"

// Every type's record with all its scanned texts made.
inline QList<TypeRecord> scanTypes(const LineIndex& lines, const QList<LineOrigin>& origins) {
    QList<TypeRecord> records = findTypes(lines);
    for (TypeRecord& record : records)
        fillScannedTexts(record, lines, origins, true, enumNamesOf(lines));
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

// A file's text and lines with its records after the twin and parent steps.
struct ResolvedFile {
    MappedText mapped;
    LineIndex lines; // over mapped.text
    QList<TypeRecord> records;
    Inheritance inheritance;
};

inline ResolvedFile resolveFile(const QByteArray& source) {
    ResolvedFile file{sourceOf(source), {}, {}, {}};
    file.lines = LineIndex(file.mapped.text);
    file.records = findTypes(file.lines);
    file.inheritance = analyseInheritance(file.lines, file.records, findExtendsLines(file.lines));
    for (TypeRecord& record : file.records)
        fillScannedTexts(record, file.lines, file.mapped.origins, true, enumNamesOf(file.lines));
    buildTwins(file.records, file.inheritance);
    inheritParents(file.records, file.mapped.origins, file.inheritance);
    writeExtendingTypes(file.records, file.lines, file.mapped.origins, file.inheritance);
    embedParents(file.records);
    return file;
}

inline QList<TypeRecord> resolved(const QByteArray& source) {
    return resolveFile(source).records;
}
