#include "pipeline.h"

#include "classexpander.h"
#include "linedirectives.h"
#include "snapshotregistry.h"
#include "sourcefile.h"
#include "sourcepass.h"
#include "text.h"

#include <QFileInfo>

namespace {

// What goes into a rewritten file: its text with the directives that map each
// line back to its origin, with the platform's line ends.
QByteArray bytesToWrite(MappedText text, const QString& compilerName) {
    return sourceBytesFromText(withLineDirectives(std::move(text), compilerName));
}

// The template pass's files, read and registered through the registry; an
// included file's rewritten text is written with its directives.
SourceFiles sourceFilesOver(SnapshotRegistry& registry) {
    SourceFiles files;
    files.readText = [&registry](const QString& path) -> std::optional<QByteArray> {
        if (!QFileInfo(path).isFile())
            return std::nullopt;
        const std::optional<QByteArray> bytes = readFileBytes(path);
        if (!bytes)
            return std::nullopt;
        registry.registerSource(path, *bytes);
        return sourceTextFromBytes(*bytes);
    };
    files.isExpanded = [&registry](const QString& path) { return registry.isTouched(path); };
    files.takeIncluded = [&registry](const QString& path, const QString& compilerName,
                                     MappedText text) {
        // Nothing reads an included file again in this run, so its write may
        // go on beside the rest of the pass.
        registry.queueRewrittenBytes(path, bytesToWrite(std::move(text), compilerName));
    };
    return files;
}

} // namespace

bool rewriteSourceFile(const QString& path, SnapshotRegistry& registry, MappedText* passText) {
    // A file named twice, or also included by an earlier one, is read as the
    // earlier rewrite left it.
    registry.settleJournal();
    MappedText text;
    {
        std::optional<ExpandedFile> expanded = expandTemplates(path, sourceFilesOver(registry));
        if (!expanded)
            return false;
        text = std::move(expanded->text);
    }
    // The class pass gets the template pass's text in memory, the text the
    // file would hold, and the file is written once.
    text = expandClassText(std::move(text));
    if (passText)
        *passText = text;
    return registry.writeRewrittenBytes(path, bytesToWrite(std::move(text), path));
}
