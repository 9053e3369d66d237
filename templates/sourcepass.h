#pragma once

#include "mappedtext.h"
#include "templatetable.h"

#include <QString>

struct SnapshotRegistry;

// The template pass over a source file named on the command line: reads it,
// expands the files it includes through "#include once" lines first (depth
// first), captures and instantiates templates, and writes the result to
// targetPath with the generated instances on its first line. Returns the
// written text with the origin of each of its lines.
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
