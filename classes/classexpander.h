#pragma once

#include "mappedtext.h"

#include <QString>

struct SnapshotRegistry;

// The class-extension pass over a source file named on the command line: reads
// it (as the template pass left it), registers it, and writes it back with
// every "type D extends P" turned into plain FreeBASIC. A file that cannot be
// read is neither registered nor written.
void expandClasses(const QString& sourcePath, const QString& targetPath,
                   SnapshotRegistry& registry);

// The same pass in memory: the rewritten text, each line with its origin.
MappedText expandClassText(const MappedText& source);
