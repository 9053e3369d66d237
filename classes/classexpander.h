#pragma once

#include "mappedtext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>

// The class-extension pass over the text of a source file named on the command
// line (as the template pass left it): every "type D extends P" turned into
// plain FreeBASIC, each line of the result with its origin.
// Takes the source by value: the pass's lines refer to its text's bytes,
// so a caller that hands the text over saves a copy of it. With
// generatedPrivate, every procedure the pass generates is private to its
// module: for a header that every module of a program includes (named with
// -include), whose copies must not meet at link time. A text of besideFromBytes
// and more has some of its scans made on a second thread, to the same result.
// headerEnums names the enums that the files it includes declare (case-folded,
// as enumNamesOf gives them), which a field's type may name as well as the
// file's own.
MappedText expandClassText(MappedText source, bool generatedPrivate = false,
                           qsizetype besideFromBytes = qsizetype(1) << 20,
                           const QSet<QByteArray>& headerEnums = {});

// Whether the compiler reads a source file's text in its fb dialect, the only
// one with member procedures and properties, which an extending type's
// forwarders are. A "#lang" directive or "'$lang:" metacommand of the file
// names its dialect, unless the command line forces one (-forcelang); else
// the command line's -lang does (commandLineDialect, empty when none is
// given). In another dialect "type D extends P" is the compiler's own
// inheritance of fields, and the pass is not run.
// A dialect that the file's headers name (headerDialect: the last "#lang"
// of the files it includes) counts as the command line's would, and the
// file's own "#lang" after it.
bool readInFbDialect(QByteArrayView text, QByteArrayView commandLineDialect, bool forced,
                     QByteArrayView headerDialect = {});
