#include "pipeline.h"

#include "classexpander.h"
#include "filetime.h"
#include "linedirectives.h"
#include "messages.h"
#include "snapshotregistry.h"
#include "sourcepass.h"
#include "text.h"

#include <QHash>

#include <limits>
#include <mutex>

namespace {

// The files one pipeline has read, by the path they were read under: what
// their writes need to know of them. The template pass finishes included
// files on a thread of its own while it reads the next ones.
struct ReadFiles {
    std::mutex mutex; // guards files
    QHash<QString, RewrittenFile> files;

    void add(const RewrittenFile& file) {
        const std::lock_guard<std::mutex> lock(mutex);
        files.insert(file.path, file);
    }
    RewrittenFile value(const QString& path) {
        const std::lock_guard<std::mutex> lock(mutex);
        return files.value(path);
    }
    RewrittenFile take(const QString& path) {
        const std::lock_guard<std::mutex> lock(mutex);
        return files.take(path);
    }
};

// The template pass's files, read and registered through the registry; an
// included file's rewritten text is written with its directives, the bytes
// made where the pass finishes the file (the directives found by one thread:
// the pass's other thread is busy meanwhile), the write queued in order.
SourceFiles sourceFilesOver(SnapshotRegistry& registry, ReadFiles& read) {
    SourceFiles files;
    files.readText = [&registry, &read](const QString& path) -> std::optional<QByteArray> {
        // Read whole through the registry, which holds the file for the run
        // and keeps its original; a UTF-16 or UTF-32 file whose characters
        // cannot be read is left as it is.
        const std::optional<QByteArray> bytes = registry.readSource(path);
        if (!bytes)
            return std::nullopt;
        std::optional<SourceText> source = sourceTextFromBytes(*bytes);
        if (!source)
            return std::nullopt;
        read.add(RewrittenFile{path, path, *bytes, source->form});
        return std::move(source->text);
    };
    files.fileKey = [](const QString& path) {
        // A file is one file under every name it has: its device and inode
        // say so, hard links included.
        const FileStamp stamp = readFileStamp(path);
        if (stamp.valid)
            return QStringLiteral("%1:%2").arg(stamp.device).arg(stamp.inode);
        return canonicalSourcePath(path);
    };
    files.finishIncluded = [&read](const QString& path, const QString& compilerName,
                                   MappedText text) {
        RewrittenFile file = read.value(path);
        file.compilerName = compilerName;
        return rewrittenBytes(file, std::move(text), std::numeric_limits<qsizetype>::max());
    };
    files.takeIncluded = [&registry, &read](const QString& path, std::optional<QByteArray> bytes) {
        read.take(path);
        // Nothing reads an included file again in this run, so its write may
        // go on beside the rest of the pass.
        if (bytes)
            registry.queueRewrittenBytes(path, *bytes);
    };
    return files;
}

} // namespace

std::optional<QByteArray> rewrittenBytes(const RewrittenFile& file, MappedText text,
                                         qsizetype splitFromBytes) {
    if (isSourceTextOf(text.text, file.original))
        return std::nullopt;
    return sourceBytesFromText(
        withLineDirectives(std::move(text), file.compilerName, splitFromBytes), file.form);
}

bool writeRewrittenFile(SnapshotRegistry& registry, const RewrittenFile& file, MappedText text,
                        qsizetype splitFromBytes) {
    const std::optional<QByteArray> bytes = rewrittenBytes(file, std::move(text), splitFromBytes);
    return bytes && registry.writeRewrittenBytes(file.path, *bytes);
}

QString sourceFaultMessage(const QString& file) {
    return QStringLiteral("the generic types of %1 cannot be expanded (see above)").arg(file);
}

bool rewriteSourceFile(const QString& path, SnapshotRegistry& registry, TemplateRun& run,
                       MappedText* passText) {
    registry.settleJournal();
    ReadFiles read;
    // A file named twice, or included by an earlier one, was expanded then.
    std::optional<MappedText> text = expandTemplates(path, sourceFilesOver(registry, read), run);
    if (run.error && !registry.hasStopped()) {
        // Nothing is compiled: the compiler would only report the text
        // generated from the fault.
        reportSourceError(run.error->message());
        registry.stop(run.error->origin.file(), sourceFaultMessage(run.error->origin.file()));
    }
    if (!text)
        return false;
    Q_ASSERT(text->hasOneOriginPerLine());
    // The class pass gets the template pass's text in memory, the text the
    // file would hold, and the file is written once.
    // A header named with -include is read by every module of the program:
    // what the pass generates for it stays in each.
    // In a dialect other than fb, "extends" is the compiler's own inheritance
    // of fields, and types hold no forwarders.
    // Its headers' enums and "#lang" count as its own.
    if (readInFbDialect(text->text, run.dialect, run.dialectForced, run.headerDialect))
        *text = expandClassText(std::move(*text), run.preIncludes.contains(path),
                                run.splitFromBytes, run.headerEnums);
    Q_ASSERT(text->hasOneOriginPerLine());
    if (passText)
        *passText = *text;
    return writeRewrittenFile(registry, read.take(path), std::move(*text), run.splitFromBytes);
}

bool rewriteSourceFile(const QString& path, SnapshotRegistry& registry, MappedText* passText) {
    TemplateRun run;
    return rewriteSourceFile(path, registry, run, passText);
}
