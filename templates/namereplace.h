#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Replaces, left to right and without overlaps, every occurrence of
// lead + name + trail in text by lead + replacement + trail, where the name is
// written whole on its open side: when lead is empty the byte before the
// occurrence, and when trail is empty the byte after it, must not be a name
// character (a letter, a digit or '_'). An occurrence that fails the test is
// passed over and the search goes on from its next byte.
QByteArray replaceWholeName(const QByteArray& text, QByteArrayView lead, QByteArrayView name,
                            QByteArrayView trail, QByteArrayView replacement);

// The type argument put in place of the type parameter "t1" wherever it stands
// next to a blank, a parenthesis or an operator (" t1", "t1)", "(t1", "=t1", ...).
QByteArray substituteTypeParameter(const QByteArray& text, const QByteArray& argument);

// The template's name made the instance name wherever it is followed by ".",
// " " or "(" (in that order of replacement), as in "sub Stack.push",
// "as Stack ptr" and "constructor Stack(".
QByteArray renameTemplate(const QByteArray& text, const QByteArray& templateName,
                          const QByteArray& instanceName);
