#pragma once

#include "inheritance.h"
#include "typerecord.h"

#include <QList>
#include <QStringList>

// Gives types their public twins and embeds a parent's twin and inherited
// members into every type written "type D extends P".

// Every type that needs one (the first record of its name) gets a public twin:
// its block under the twin's name with "private:" lines made public, and its
// member implementations moved onto the twin.
void buildTwins(QList<TypeRecord>& records, const Inheritance& inheritance);

// For every extends line of the file's lines, in file order, the derived type
// and its twin take the parent's declarations and forwarders (the parent's own
// and those it inherited so far). Lines left to the compiler's own
// inheritance are passed over.
void resolveExtends(QList<TypeRecord>& records, const QStringList& lines,
                    const QList<LineOrigin>& origins, const Inheritance& inheritance);

// Finishes each type's block (inherited declarations and the parent member
// after its type line) and its twin block (the parent member after its type line).
void embedParents(QList<TypeRecord>& records);

// Puts the twin's name in place of the type's name in every constructor and
// destructor header of text ("constructor shape(byval n as integer)"), keeping
// the rest of the line as written.
void renameConstructors(QString& text, const QString& typeName);

// Replaces every occurrence of qualifier that does not continue a longer name
// (is not preceded by a letter, a digit or "_") by replacement.
void replaceQualifier(QString& text, QStringView qualifier, QStringView replacement,
                      Qt::CaseSensitivity sensitivity);
