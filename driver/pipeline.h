#pragma once

#include "mappedtext.h"
#include "sourcepass.h"
#include "text.h"

#include <QString>

#include <optional>

struct SnapshotRegistry;

// The road of one source file named on the command line to the text the
// compiler reads: the template pass (which hands back the files it includes,
// rewritten), the class-extension pass over its text, the "#line" directives
// that point the compiler's messages at the user's own lines, and the bytes
// written in place of the file. Every file is read, registered and written
// through the registry; included files are written on the journal's thread.
//
// A file is left alone when it cannot be read (not registered, not written,
// not created: the compiler reports it), when it is in UTF-16 or UTF-32, and
// when the passes leave its text as it was (not written at all, so it keeps
// its times and may be read-only); the same holds for the files it includes.
// Returns whether the file was rewritten. When passText is given, it receives
// the text as the passes produced it, each line with its origin, before the
// directives were added.
//
// run carries what the template pass learns from one file to the next in a
// run: a file is read and rewritten at most once per run, and the templates
// of a header reach every file that includes it. The form without it is a
// run of one file.
bool rewriteSourceFile(const QString& path, SnapshotRegistry& registry, TemplateRun& run,
                       MappedText* passText = nullptr);
bool rewriteSourceFile(const QString& path, SnapshotRegistry& registry,
                       MappedText* passText = nullptr);

// A fault in a file's generic types (a missing end line, a runaway template,
// too few type arguments) is printed in the compiler's form and stops the run
// before its compile, the registry's problem saying this about the file.
QString sourceFaultMessage(const QString& file);

// How a file's rewritten text is written: with the directives under
// compilerName and the byte order mark it was read with, unless the text is
// what the file holds already (original, its bytes as read): then nothing is
// written. rewrittenBytes makes the bytes (nothing for such a text);
// writeRewrittenFile writes them through the registry and returns whether it
// did. A text of splitFromBytes and more has its directives found by two
// threads.
struct RewrittenFile {
    QString path;
    QString compilerName;
    QByteArray original;
    SourceForm form = SourceForm::Bytes;
};
std::optional<QByteArray> rewrittenBytes(const RewrittenFile& file, MappedText text,
                                         qsizetype splitFromBytes);
bool writeRewrittenFile(SnapshotRegistry& registry, const RewrittenFile& file, MappedText text,
                        qsizetype splitFromBytes = qsizetype(1) << 20);
