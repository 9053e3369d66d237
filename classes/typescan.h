#pragma once

#include "lines.h"
#include "typerecord.h"

#include <QList>

// Finds every type declaration of a file's lines and collects, per type, its
// block, its fields and the member implementations written outside the block
// with the type's qualifier, generating the forwarders and declarations of each.
//
// Implementations are taken out of a working list as they are found, so an
// implementation belongs to the first type (in file order) that claims it, and
// lines inside it are no longer seen by later scans. origins holds one entry
// per line.
QList<TypeRecord> scanTypes(const Lines& lines, const QList<LineOrigin>& origins);

// The same in two steps. findTypes finds the records and where their texts
// are (TypeRecord::found); fillScannedTexts makes a record's block from its
// lines and, with members, its implementations, forwarders and declarations.
// A record whose texts the pass will not emit need not be filled.
QList<TypeRecord> findTypes(const Lines& lines);
void fillScannedTexts(TypeRecord& record, const Lines& lines, const QList<LineOrigin>& origins,
                      bool withMembers);

// Whether the second token of a constructor or destructor header names the
// type: it is the type's name, or the name followed by "(", ignoring case.
bool namesType(QByteArrayView token, QByteArrayView typeName);
