#include "classexpander.h"

#include "inheritance.h"
#include "lines.h"
#include "snapshotregistry.h"
#include "sourcefile.h"
#include "twins.h"
#include "typeblocks.h"
#include "typescan.h"

MappedText expandClassText(MappedText source) {
    const QStringList lines = splitLinesOver(source.text); // source.text holds their characters
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

void expandClasses(const QString& sourcePath, const QString& targetPath,
                   SnapshotRegistry& registry) {
    // A file that cannot be read is left alone rather than rewritten from
    // nothing: were it registered with no bytes, the restore would empty it.
    const std::optional<QByteArray> bytes = registry.readSource(sourcePath);
    if (!bytes)
        return;
    const QStringList lines = splitLines(sourceTextFromBytes(*bytes));
    QList<LineOrigin> origins;
    origins.reserve(lines.size());
    const LineOrigin firstLine(sourcePath, 1);
    for (qsizetype i = 0; i < lines.size(); ++i)
        origins.append(firstLine.atLine(int(i + 1)));
    writeResult(expandClassText(MappedText::fromLines(lines, origins)), targetPath, registry);
}
