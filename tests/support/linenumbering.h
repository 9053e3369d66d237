#pragma once

#include <QList>
#include <QString>

// How the compiler numbers the lines of a file it reads, with "#line N "name""
// directives taken into account: a directive gives its own line the number N,
// so the next line is N + 1 of that name. Directive lines are not listed.
struct NumberedLine {
    QString text;
    QString file;
    int line = 0;
};

QList<NumberedLine> numberLines(const QString& text, const QString& fileName);

// The text with its directive lines taken out.
QString withoutLineDirectives(const QString& text);
QByteArray withoutLineDirectives(const QByteArray& bytes);
