#pragma once

#include "inheritance.h"
#include "lines.h"
#include "typerecord.h"

#include <QList>

// Embeds a parent's twin and inherited members into every type written
// "type D extends P".

// For every extends line of the file's lines the derived type takes its
// parent's members: the parent's own and those it inherited, parents before
// the types that extend them, whatever the order of the lines. Lines left to
// the compiler's own inheritance are passed over.
void inheritParents(QList<TypeRecord>& records, const QList<LineOrigin>& origins,
                    const Inheritance& inheritance);

// Then each extending type gets the declarations and forwarders of what it
// inherits, and so does its twin; its own members' parameters named like
// inherited ones are renamed. Reads the other records' members and changes
// only the extending type's own texts, so the types may be written in any
// order, and what else reads the members may run beside.
void writeExtendingTypes(QList<TypeRecord>& records, const LineIndex& lines,
                         const QList<LineOrigin>& origins, const Inheritance& inheritance);

// The two steps of writeExtendingTypes. Per record, whether its forwarders
// are private: where the type or one of its ancestors writes its
// implementations private, or where the file wants all of them so. Only an
// extending type has forwarders: a type that extends none is not read.
QList<bool> forwardersKeptPrivate(const QList<TypeRecord>& records, const Inheritance& inheritance);
// Writes the record at r, if it extends a type.
void writeExtendingType(QList<TypeRecord>& records, qsizetype r, bool keepsPrivate,
                        const LineIndex& lines, const QList<LineOrigin>& origins);

// Finishes each type's block (inherited declarations and the parent member
// after its type line) and its twin block (the parent member after its type line).
void embedParents(QList<TypeRecord>& records);
// The same for one type, from its own record alone.
void embedParent(TypeRecord& record);
