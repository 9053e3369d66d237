#pragma once

#include "mappedtext.h"

#include <QByteArray>
#include <QString>

// Writes the final text of a rewritten file with "#line" directives, so the
// compiler reports every line under the file and line number it came from.
//
// The compiler gives the directive's own line the number it names, so
// `#line 99 "main.bas"` makes the next line main.bas(100). Directives are only
// written where the numbering would otherwise go wrong, and never where the
// compiler cannot take one (and never for a blank line, which the compiler has
// nothing to report about): after a line continued with " _", inside a
// #macro ... #endmacro block or inside a multi-line /' ... '/ comment. There
// the directive moves down to the first line where it is allowed.
//
// fileName is the name the compiler itself uses for the written file (the
// argument as given for a command-line file, the absolute path for an included
// one). Removing the inserted directive lines gives mapped.text back exactly.
// Takes the text by value: a caller that hands it over has it widened in place.
QString withLineDirectives(MappedText mapped, const QString& fileName);

// The same text with its directives, as the bytes to write into the file (text
// mode: one byte per character, the platform's line ends), made straight from
// the text without a widened copy of it.
QByteArray sourceBytesWithLineDirectives(MappedText mapped, const QString& fileName);
