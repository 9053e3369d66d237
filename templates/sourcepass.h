#pragma once

#include "mappedtext.h"
#include "templatetable.h"

#include <QString>

struct SnapshotRegistry;

// The template pass over a source file named on the command line: reads it,
// expands the files it includes through "#include once" lines first (depth
// first; each included file is written with its final text), captures and
// instantiates templates, and returns the file's rewritten text with the
// generated instances on its first line and the origin of each of its lines.
// Does not write the file itself.
MappedText templatePassText(const QString& sourcePath, SnapshotRegistry& registry);

// templatePassText, then writes the result to targetPath, with "#line"
// directives that map the compiler's messages back to the user's lines.
// Returns the text as the pass produced it (without the directives).
MappedText expandTemplates(const QString& sourcePath, const QString& targetPath,
                           SnapshotRegistry& registry);

// The same pass over an included file; hands back the templates it knows so the
// including file can use them.
TemplateSet expandIncludedTemplates(const QString& sourcePath, const QString& targetPath,
                                    SnapshotRegistry& registry);

// The directory that relative include names in sourcePath are resolved against.
QString includeDirectory(const QString& sourcePath);

// The path an include line names, or an empty string when the line is no
// "#include once" line with a quoted name.
QString includedPath(QStringView line, const QString& directory);
