#pragma once

#include "lines.h"
#include "typerecord.h"

#include <QByteArrayList>
#include <QSet>

// Which extends lines this program rewrites and which types need a twin.
//
// A type whose extends line names a parent this file does not declare (such as
// Object, or a type from an included header), or a parent that is itself in
// that position, uses FreeBASIC's own inheritance: it is left to the compiler
// as written. Only a type that a rewritten extends line names as its parent
// gets a public twin; no other file can name it.
struct Inheritance {
    QSet<QByteArray> nativeTypes;  // case-folded names of derived types left to the compiler
    QSet<QByteArray> twinTypes;    // case-folded names of types that get a twin
    QSet<QByteArray> derivedTypes; // case-folded names of types whose extends line is rewritten

    bool isNative(QByteArrayView name) const;
    bool needsTwin(QByteArrayView name) const;
    bool isDerived(QByteArrayView name) const;
};

// Looks at every line "type D extends P ..." of the file's lines.
Inheritance analyseInheritance(const Lines& lines, const QList<TypeRecord>& records);

// Whether tokens are those of a line "type D extends P ...".
bool isExtendsLine(const Tokens& tokens);
