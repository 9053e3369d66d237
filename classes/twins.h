#pragma once

#include "inheritance.h"
#include "typerecord.h"

#include <QList>
#include <QSet>

// Every type that needs one (the first record of its name) gets a public twin:
// its block under the twin's name with "private:" lines made public, and its
// member implementations moved onto the twin.
void buildTwins(QList<TypeRecord>& records, const Inheritance& inheritance);

// The two steps of buildTwins: the positions of the records that get a twin,
// and the making of one, from its record's own texts alone.
QList<qsizetype> recordsToTwin(const QList<TypeRecord>& records, const Inheritance& inheritance);
void buildTwin(TypeRecord& record, const Inheritance& inheritance);

// Puts the twin's name in place of the type's name in every constructor and
// destructor header of text ("constructor shape(byval n as integer)"), keeping
// the rest of the line as written.
void renameConstructors(QByteArray& text, const QByteArray& typeName);

// Replaces every occurrence of qualifier in code (not in a string literal or a
// comment) that does not continue a longer name (is not preceded by a letter,
// a digit or "_") by replacement: a message that names the type keeps its
// text on the twin.
void replaceQualifier(QByteArray& text, QByteArrayView qualifier, QByteArrayView replacement,
                      Qt::CaseSensitivity sensitivity);

// In the type's member implementations copied onto its twin, this is the
// twin; where the code uses this as a value (assigns it, returns it, passes
// it, takes its address, hands it to an operator), it is written as the
// type's own value, "(*cptr(Shape ptr, @this))", which the twin's identical
// layout makes sound. Member access ("this.x", "with this") stays on the
// twin, which can reach what the type keeps private. Strings and comments are
// left alone.
void castThisToType(QByteArray& text, QByteArrayView typeName);
