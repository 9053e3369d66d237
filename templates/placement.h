#pragma once

#include "instantiate.h"
#include "lines.h"
#include "mappedtext.h"

#include <QList>

// The text of a file with the instances it uses put in: each before the line
// its anchor names, in the order given for one line, and each wrapped in a
// guard,
//
//     #ifndef __FBEXT_INSTANCE_Stack_double__
//     #define __FBEXT_INSTANCE_Stack_double__
//     type Stack_double ... (its members)
//     #endif
//
// so that when a header and the file that includes it both generate one, the
// first copy the compiler reads is the one it keeps. The file's lines keep
// their origins; an instance's lines keep those of the template's lines.
// Without instances the text is the file's own, byte for byte.
MappedText withInstances(const Lines& lines, const QList<LineOrigin>& origins,
                         const QList<Instance>& instances);

// The name of the macro that guards an instance.
QByteArray instanceGuard(const QByteArray& instanceName);

// The name of the macro that an instance's type part defines for its member
// procedures, which come later: they are compiled only when this copy of the
// type block was, and not when an included file declared the instance first.
// The file's last line undefines it.
QByteArray pendingMembersGuard(const QByteArray& instanceName);
