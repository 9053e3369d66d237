#pragma once

#include "typerecord.h"

#include <QList>
#include <QStringList>

struct SnapshotRegistry;

// The text of a record that takes the place of its type block: the twin block,
// the twin's implementations, the finished block and the inherited forwarders,
// each followed by "\n".
MappedText replacementText(const TypeRecord& record);

// The file's lines with every type block (an opening line "type Name" or
// "type D extends P" through the first end line after it) replaced by its
// record's replacement text. Generated text is not examined again. A block
// without an end line is dropped with everything after it; a block whose type
// has no record is left as written.
MappedText replaceTypeBlocks(const QStringList& lines, const QList<LineOrigin>& origins,
                             const QList<TypeRecord>& records);

// Every line "type D extends P ..." becomes "type D": the compiler sees only
// plain types.
void stripExtendsClauses(MappedText& text);

// Writes the finished text to the file through the registry.
void writeResult(const MappedText& text, const QString& targetPath, SnapshotRegistry& registry);
