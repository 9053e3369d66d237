#pragma once

#include <QByteArray>

// Whether a source file's bytes may use the extensions: they contain "<<<",
// "template" or "extends" (in any letter case, anywhere, comments and strings
// included). The template pass changes only files that declare or use
// generic types, and the class pass only files with a type that extends
// another, so a file without any of them is never rewritten; unchanged text
// is not written.
bool mayUseExtensions(const QByteArray& bytes);
