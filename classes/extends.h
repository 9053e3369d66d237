#pragma once

#include "inheritance.h"
#include "lines.h"
#include "typerecord.h"

#include <QList>

// Embeds a parent's twin and inherited members into every type written
// "type D extends P".

// For every extends line of the file's lines, in file order, the derived type
// and its twin take the parent's declarations and forwarders (the parent's own
// and those it inherited so far). Lines left to the compiler's own
// inheritance are passed over.
void resolveExtends(QList<TypeRecord>& records, const LineIndex& lines,
                    const QList<LineOrigin>& origins, const Inheritance& inheritance);

// Finishes each type's block (inherited declarations and the parent member
// after its type line) and its twin block (the parent member after its type line).
void embedParents(QList<TypeRecord>& records);
