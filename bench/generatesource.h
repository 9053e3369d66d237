#pragma once

#include <QByteArray>

// A FreeBASIC source of about lineCount lines that declares templateCount
// templates (each with a sub, a function, a constructor and a property, some
// written right after the declaration and some at the end of the file) and
// uses them useCount times with a handful of type arguments, among ordinary
// procedures, string literals and plain statements.
QByteArray generateTemplateSource(int lineCount, int templateCount, int useCount);
