#pragma once

#include "lines.h"
#include "typerecord.h"

#include <QByteArrayList>
#include <QHash>
#include <QSet>

// The lines "type D extends P ..." of a file, outside comments, and whether
// each stands inside a procedure or a compound statement. Needs no scan of the
// types, so it can be found beside it.
struct ExtendsLines {
    struct Link {
        QByteArray derived, parent; // case-folded
        QByteArray parentAsWritten;
        qsizetype line;
        bool insideCode;
        bool insideMacro = false; // in the body of a "#macro"
    };
    QList<Link> links;
    QList<bool> commentedLines; // as Inheritance::commentedLines
    // With links, the lines that implement a member through a qualified name
    // ("sub Geo.Shape.move", "constructor Geo.Shape()").
    QList<qsizetype> qualifiedImplementations;
    // With links, the family representative of each type they name (as
    // Families::up in the analysis), and one type of each cycle they form.
    QHash<QByteArray, QByteArray> familyLinks;
    QList<QByteArray> inCycles;
};
ExtendsLines findExtendsLines(const LineIndex& lines);

// Which extends lines this program rewrites and which types need a twin.
//
// The types that extends lines join, directly or through others, form a
// family. A family uses FreeBASIC's own inheritance, and is left to the
// compiler as written, when one of its extends lines names a parent this file
// does not declare (such as Object, or a type from an included header) or
// declares only as an alias ("type Coat as Paint"), when its extends lines
// form a cycle, or when one of its types shows that it is written for that inheritance: a
// member implementation that names "base" ("base.x", "base(...)") or converts
// this to another type of the family ("cast(P, this)", "cptr(P ptr, @this)"),
// a "protected:" section, or a member declared virtual, abstract or override,
// and when one of its types is declared in a procedure or a compound
// statement, where it can have no member procedures.
// Only a type that a rewritten extends line names as its parent gets a public
// twin; no other file can name it.
struct Inheritance {
    QSet<QByteArray> nativeTypes;  // case-folded names of types left to the compiler
    QSet<QByteArray> twinTypes;    // case-folded names of types that get a twin
    QSet<QByteArray> derivedTypes; // case-folded names of types whose extends line is rewritten
    // For each of the file's lines, whether it starts inside a /' ... '/
    // comment, where nothing is declared or rewritten; empty when none does.
    QList<bool> commentedLines;
    // The file's extends lines, in order (ExtendsLines::links).
    QList<ExtendsLines::Link> links;
    // Every procedure generated for the file is private to its module.
    bool generatedPrivate = false;

    bool isNative(QByteArrayView name) const;
    bool startsInComment(qsizetype line) const {
        return !commentedLines.isEmpty() && commentedLines[line];
    }
    bool needsTwin(QByteArrayView name) const;
    bool isDerived(QByteArrayView name) const;
};

// Looks at the file's extends lines, and at the blocks and implementations the
// scan found (TypeRecord::found) of the types they name; beside: on two
// threads (a large file).
Inheritance analyseInheritance(const LineIndex& lines, const QList<TypeRecord>& records,
                               ExtendsLines extendsLines, bool beside = false);

// Whether tokens are those of a line "type D extends P ...".
bool isExtendsLine(const Tokens& tokens);
