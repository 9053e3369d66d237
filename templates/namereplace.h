#pragma once

#include <QString>
#include <QStringView>

// Replaces, left to right and without overlaps, every occurrence of
// lead + name + trail in text by lead + replacement + trail, where the name is
// written whole on its open side: when lead is empty the character before the
// occurrence, and when trail is empty the character after it, must not be a name
// character (a letter, a digit or '_'). An occurrence that fails the test is
// passed over and the search goes on from its next character.
QString replaceWholeName(const QString& text, QStringView lead, QStringView name, QStringView trail,
                         QStringView replacement);

// The type argument put in place of the type parameter "t1" wherever it stands
// next to a blank, a parenthesis or an operator (" t1", "t1)", "(t1", "=t1", ...).
QString substituteTypeParameter(const QString& text, const QString& argument);

// The template's name made the instance name wherever it is followed by ".",
// " " or "(" (in that order of replacement), as in "sub Stack.push",
// "as Stack ptr" and "constructor Stack(".
QString renameTemplate(const QString& text, const QString& templateName,
                       const QString& instanceName);
