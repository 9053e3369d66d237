#pragma once

#include "lines.h"
#include "typerecord.h"

#include <QSet>

#include <QList>

// Finds every type declaration of a file's lines and where its block, its
// fields and the member implementations written outside the block with the
// type's qualifier are (TypeRecord::found).
//
// Implementations are taken out of a working list as they are found, so an
// implementation belongs to the first type (in file order) that claims it, and
// lines inside it are no longer seen by later scans.
QList<TypeRecord> findTypes(const LineIndex& lines);

// Makes a record's block from its lines and, with members, its member
// implementations and the forwarders and declarations of its fields and
// members. origins holds one entry per line. A record whose texts the pass
// will not emit need not be filled.
// A field of an enum (enums holds the names of those the file and its
// headers declare, case-folded: enumNamesOf) is set from a number, as the
// field itself is.
void fillScannedTexts(TypeRecord& record, const LineIndex& lines, const QList<LineOrigin>& origins,
                      bool withMembers, const QSet<QByteArray>& enums);

// Whether the second token of a constructor or destructor header names the
// type: it is the type's name, or the name followed by "(", ignoring case.
bool namesType(QByteArrayView token, QByteArrayView typeName);

// The name a line inside a type's block gives a nested type or union of its
// own ("type Point2", "union Bits field = 1"), or nothing: an anonymous one
// ("union", "type field = 1") and an alias open no named block.
QByteArrayView nestedTypeName(QByteArrayView line);
