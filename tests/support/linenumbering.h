#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// How the compiler numbers the lines of a file it reads, with "#line N "name""
// directives taken into account: a directive gives its own line the number N,
// so the next line is N + 1 of that name. A line ends at a line feed, a
// carriage return and line feed, or a carriage return alone. Directive lines
// are not listed; names in them are the file system's bytes.
struct NumberedLine {
    QString text; // one character per byte
    QString file;
    int line = 0;
};

QList<NumberedLine> numberLines(const QByteArray& bytes, const QString& fileName);

// The text with its directive lines taken out (lines split at line feeds).
QByteArray withoutLineDirectives(const QByteArray& bytes);
