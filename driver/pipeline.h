#pragma once

#include "mappedtext.h"

#include <QString>

struct SnapshotRegistry;

// The road of one source file named on the command line to the text the
// compiler reads: the template pass (which hands back the files it includes,
// rewritten), the class-extension pass over its text, the "#line" directives
// that point the compiler's messages at the user's own lines, and the bytes
// written in place of the file. Every file is read, registered and written
// through the registry; included files are written on the journal's thread.
//
// A file that cannot be read is left alone: not registered, not written, not
// created (the compiler reports it). Returns whether the file was rewritten.
// When passText is given, it receives the text as the passes produced it,
// each line with its origin, before the directives were added.
bool rewriteSourceFile(const QString& path, SnapshotRegistry& registry,
                       MappedText* passText = nullptr);
