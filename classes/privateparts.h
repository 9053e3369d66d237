#pragma once

#include "mappedtext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>

// The private part of a type: what its block declares under "private:", and
// how the copies of its members on the public twin still reach it in other
// values of the type.

// "private:" (or the keyword given) however it is spaced, indented or
// written, and nothing else on the line but a comment ("private: ' state",
// "private : rem helpers").
bool isPrivateLine(QByteArrayView line, QByteArrayView keyword = "private:");

// The access word that starts a line with more statements after it
// ("private: cents as integer"), a view into line; empty when there is none.
QByteArrayView leadingAccess(QByteArrayView line);

// Whether name stands in text as a whole word anywhere, strings and comments
// included: only a text that names the type itself (not its twin) can
// declare a value of it.
bool namesAsWord(QByteArrayView text, QByteArrayView name);

// The names (case-folded) that a type's block declares under "private:": its
// private fields and members, which only the type's own members may reach.
QSet<QByteArray> privateNamesOf(const MappedText& block);

// In the type's member implementations copied onto its twin, a private field
// or member of another value of the type ("o.cents", "a(i).cents",
// "p->cents") cannot be reached: the copy is a member of the twin, not of the
// type. Where the value is a parameter or a "dim" variable declared as the
// type (or a pointer to it), it is reached through the twin instead, which
// has the type's layout and keeps nothing private:
// "cptr(Shape_generic_public_member ptr, @o)->cents". privateNames: the
// type's private names, case-folded.
void reachPrivatePartsThroughTwin(QByteArray& text, QByteArrayView typeName,
                                  const QSet<QByteArray>& privateNames);
