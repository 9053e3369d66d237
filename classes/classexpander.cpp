#include "classexpander.h"

#include "extends.h"
#include "inheritance.h"
#include "lines.h"
#include "twins.h"
#include "typeblocks.h"
#include "typescan.h"

MappedText expandClassText(MappedText source) {
    const Lines lines = splitLines(source.text); // source.text holds their bytes
    QList<LineOrigin> origins = std::move(source.origins);
    if (origins.size() != lines.size())
        origins.resize(lines.size());

    QList<TypeRecord> records = scanTypes(lines, origins);
    const Inheritance inheritance = analyseInheritance(lines, records);
    buildTwins(records, inheritance);
    resolveExtends(records, lines, origins, inheritance);
    embedParents(records);
    MappedText result = replaceTypeBlocks(lines, origins, records, inheritance);
    stripExtendsClauses(result, inheritance);
    return result;
}
