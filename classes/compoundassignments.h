#pragma once

#include "lines.h"
#include "mappedtext.h"
#include "typerecord.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>

// The inherited fields that extending types reach as properties giving a
// copy: fields of a number, a string or a pointer, and one-dimensional arrays
// of them, reached one element at a time through a property with an index.
// FreeBASIC properties take "=" but no compound assignment ("+=", "&=",
// "mod=", ...).
struct PropertyFields {
    // Of every extending type: the case-folded names, of the fields and of
    // the arrays.
    QSet<QByteArray> all;
    QSet<QByteArray> indexed;
    // The names of every inherited field reached as a property, of a copy or
    // by reference ("declare property pos() byref as Vec"), none of which
    // swap takes: of the fields and of the arrays.
    QSet<QByteArray> swappable;
    QSet<QByteArray> swappableIndexed;
    // The lines (by origin, keyOf) of the extending types' member
    // implementations where a bare name assigned compoundly (or swapped) is
    // such a field:
    // the members' own lines and their copies on a twin share their origins.
    QSet<quint64> bareLines;

    static quint64 keyOf(const LineOrigin& origin) {
        return (quint64(quint32(origin.fileNumber)) << 32) | quint32(origin.line);
    }
};

// The property fields of the records' extending types, once their inherited
// members are known, and the lines (origins: those of lines) where a member
// assigns one bare. A name that any type block of the file (lines) declares
// as a field of a type of the program's is left out: for such a value
// "x += y" may mean another operator than "x = x + y".
// compoundLines are the lines that may hold a compound assignment or a swap
// (compoundAssignmentLines), which need no records and so can be found beside
// other scans. headerEnums are the enums the file's headers declare, whose
// "+=" is their "+" as the file's own enums' is.
PropertyFields propertyFieldsOf(const QList<TypeRecord>& records, const LineIndex& lines,
                                const QList<LineOrigin>& origins,
                                const QList<qsizetype>& compoundLines,
                                const QSet<QByteArray>& headerEnums = {});
QList<qsizetype> compoundAssignmentLines(const LineIndex& lines);

// Writes each compound assignment to a property field ("c.hits += 10",
// ".hits -= 1" in a with block, and "hits *= 2" or "this.hits \= 2" in a
// member of the extending type), or to an element of an inherited array
// ("c.scores(i) += 1"), as the assignment it stands for
// ("c.hits = c.hits + (10)"), which a number, a string or a pointer reads
// alike. The target must be names joined by "." or "->" and stand first in
// its statement; as it is written twice, a name in it may be an element only
// of an array of the file, with an index that reads the same twice
// ("enemies(i + 1).hp", "a(i)->hp"; no call in it), or of a pointer that no
// call gives ("p[i].hp"), and so may the inherited
// array's element it ends in. What it is assigned ends
// with the statement, on a later line when it is continued with " _".
// A swap of which an operand is such a target ("swap c.x, c.y", "swap x, y"
// in a member) is written out alike, as the statements that exchange the two
// through a copy, on its line; its other operand must read the same twice
// as well.
// So is a "line input" into such a field ("line input #1, c.name"), as the
// reading of a string of its own then assigned to it, and each such target
// of a "read" ("read a, c.hits"), read into a value of its type. A target
// begun on a line the operator's line continues ("c _" then ".x += 1") is
// read whole. An assignment through
// such a field of a pointer ("*c.link = 5", "*p->link += 1") gets its target
// in brackets ("*(c.link) = 5"), which the compiler reads as the property.
// Strings, comments and directives are left alone, and every line keeps its
// place.
void spellOutCompoundAssignments(MappedText& text, const PropertyFields& fields);
