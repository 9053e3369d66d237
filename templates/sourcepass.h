#pragma once

#include "mappedtext.h"
#include "templatetable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

// The files the template pass reads, and where the included files it rewrites
// go. The pass touches no file itself: the program reads each file through
// its snapshot registry and writes what it is handed (driver/pipeline.h).
struct SourceFiles {
    // The text of the file at path, or nothing when it cannot be read: a
    // command-line file is then left alone, an include line not followed.
    std::function<std::optional<QByteArray>(const QString& path)> readText;
    // Whether the file at path was read already in this run, under any spelling.
    std::function<bool(const QString& path)> isExpanded;
    // Takes the rewritten text of an included file; compilerName is the name
    // the compiler knows the file by, which its lines' origins carry.
    std::function<void(const QString& path, const QString& compilerName, MappedText text)>
        takeIncluded;
};

// The template pass over a source file named on the command line: reads it,
// expands the files it includes through "#include once" lines first (depth
// first; each is handed to files.takeIncluded with its final text), captures
// and instantiates templates, and returns the rewritten text with the
// generated instances on its first line, each line with its origin. Nothing
// when the file cannot be read.
std::optional<MappedText> expandTemplates(const QString& sourcePath, const SourceFiles& files);

// The directory that relative include names in sourcePath are resolved against.
QString includeDirectory(const QString& sourcePath);

// The path an include line names, or an empty string when the line is no
// "#include once" line with a quoted name.
QString includedPath(QByteArrayView line, const QString& directory);
