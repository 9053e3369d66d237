#pragma once

#include "typerecord.h"

#include <QByteArray>
#include <QSet>

// Static data and static variables of a type's members, which the type and
// its public twin must share: each exists once for the type and its twin, as
// it exists once for the type alone.

// The twin's definitions of shared static data ("dim Shape_generic_public_member.count as
// integer", after the qualifier was replaced) become references to the type's
// own: "dim byref Shape_generic_public_member.count as integer = Shape.count".
// Lines keep their places, so the text keeps its origins.
void shareStaticDefinitions(QByteArray& text, const QByteArray& typeName,
                            const QSet<QByteArray>& shared);

// The static variables of the record's member implementations become
// references to, or names of, module-level ones, in its own texts and its
// twin's, so the type and its twin count with the same variables.
void shareStaticLocals(TypeRecord& record);
