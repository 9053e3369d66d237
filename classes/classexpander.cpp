#include "classexpander.h"

#include "inheritance.h"
#include "lines.h"
#include "snapshotregistry.h"
#include "sourcefile.h"
#include "twins.h"
#include "typeblocks.h"
#include "typescan.h"

MappedText expandClassText(const MappedText& source) {
    const QStringList lines = splitLines(source.text);
    QList<LineOrigin> origins = source.origins;
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
    const std::optional<QByteArray> bytes = readFileBytes(sourcePath);
    if (!bytes)
        return;
    registry.registerSource(sourcePath, *bytes);
    const QStringList lines = splitLines(sourceTextFromBytes(*bytes));
    QList<LineOrigin> origins;
    origins.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        origins.append(LineOrigin{sourcePath, int(i + 1)});
    writeResult(expandClassText(MappedText::fromLines(lines, origins)), targetPath, registry);
}
