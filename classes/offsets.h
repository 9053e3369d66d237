#pragma once

#include "typerecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

// FreeBASIC's offsetof(Type, field) takes the address of the field through a
// null pointer of the type. On an extending type an inherited field is a
// property, whose address the compiler refuses; the field itself lies in
// the embedded parent, so offsetof(Circle, parent.x) gives its offset in a
// Circle (parent.parent.x for a field inherited two levels up).

// Of every extending type (its name case-folded): each inherited field
// (case-folded) and how many "parent." lead to it.
using InheritedFieldDepths = QHash<QByteArray, QHash<QByteArray, int>>;

// Read from the records once their inherited members are known.
InheritedFieldDepths inheritedFieldDepths(const QList<TypeRecord>& records);

// Whether text names offsetof at all, in any letter case: only then is any
// line read for it.
bool mentionsOffsetof(QByteArrayView text);

// Each offsetof(Type, field) in the code of text (not in strings or
// comments) whose type extends another and whose field it inherits is
// given the field through its parents. Lines keep their number.
void reachInheritedOffsets(QByteArray& text, const InheritedFieldDepths& depths);
