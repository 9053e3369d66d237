#include "classexpander.h"

#include "extends.h"
#include "inheritance.h"
#include "lines.h"
#include "twins.h"
#include "typeblocks.h"
#include "typescan.h"

namespace {

// Makes the scanned texts the pass emits: a type that is extended needs its
// block, implementations, forwarders and declarations (for its twin and the
// types that extend it); a type that only extends another needs its block;
// the blocks of all other types stay as written, so theirs are not made.
void fillUsedTexts(QList<TypeRecord>& records, const LineIndex& lines,
                   const QList<LineOrigin>& origins, const Inheritance& inheritance) {
    for (TypeRecord& record : records) {
        const bool extended = inheritance.needsTwin(record.typeName);
        if (extended || inheritance.isDerived(record.typeName))
            fillScannedTexts(record, lines, origins, extended);
        else
            record.found = ScannedLines();
    }
}

// Once every parent is embedded, a record's implementations and members as
// the scan found them are copied into its twin and into the types that extend
// it, and are not needed again.
void dropScanTexts(QList<TypeRecord>& records) {
    for (TypeRecord& record : records) {
        record.methodText = MappedText();
        record.laterMethods = QList<PlacedText>();
        record.members = QList<MemberEntry>();
        record.inherited = QList<InheritedMember>();
    }
}

} // namespace

MappedText expandClassText(MappedText source) {
    LineIndex lines(source.text); // source.text holds their bytes
    QList<LineOrigin>& origins = source.origins;
    Q_ASSERT(origins.size() == lines.size()); // one origin per line, as MappedText keeps

    QList<TypeRecord> records = findTypes(lines);
    const Inheritance inheritance = analyseInheritance(lines, records);
    fillUsedTexts(records, lines, origins, inheritance);
    buildTwins(records, inheritance);
    resolveExtends(records, lines, origins, inheritance);
    embedParents(records);
    dropScanTexts(records);
    MappedText result =
        replaceTypeBlocks(std::move(source), std::move(lines), records, inheritance);
    stripExtendsClauses(result, inheritance);
    return result;
}
