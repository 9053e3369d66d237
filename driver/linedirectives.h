#pragma once

#include "mappedtext.h"

#include <QByteArray>
#include <QString>

// The final text of a rewritten file with "#line" directives, so the compiler
// reports every line under the file and line number it came from.
//
// The compiler gives the directive's own line the number it names, so
// `#line 99 "main.bas"` makes the next line main.bas(100). Directives are only
// written where the numbering would otherwise go wrong, and never where the
// compiler cannot take one (and never for a blank line, which the compiler has
// nothing to report about): after a line continued with " _", inside a
// #macro ... #endmacro block or inside a multi-line /' ... '/ comment. There
// the directive moves down to the first line where it is allowed. File names
// are written in the file system's encoding; a line whose file's name a
// directive cannot hold (a double quote or a line break in it) gets none.
//
// fileName is the name the compiler itself uses for the written file (the
// argument as given for a command-line file, the absolute path for an included
// one). Removing the inserted directive lines gives mapped.text back exactly.
// Takes the text by value: the directives go into it in place. A text of
// besideFromBytes and more is read in two halves at once, to the same result.
QByteArray withLineDirectives(MappedText mapped, const QString& fileName,
                              qsizetype besideFromBytes = qsizetype(1) << 20);
