#pragma once

// What every fuzz target checks: the program's pipeline over arbitrary bytes,
// as a source file and as the file it includes, never crashes or hangs (the
// sanitizers and libFuzzer watch that), gives the same text every time, and
// the files come back exactly as they were: once through the registry's
// restore, once through the journal, as the next run would repair a run that
// was killed. The targets differ in which files the command line names.

#include "pipeline.h"
#include "recovery.h"
#include "runjournal.h"
#include "snapshotregistry.h"
#include "sourcefile.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace fuzzing {

// The input: two bytes that say how long the source file is, the source file,
// and the rest as the included file "inc.bi" beside it.
struct SourcePair {
    QByteArray source;
    QByteArray included;
};

inline SourcePair splitInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    if (size < 2)
        return {QByteArray(bytes, qsizetype(size)), {}};
    const size_t length = ((size_t(data[0]) << 8) | data[1]) % (size - 1);
    return {QByteArray(bytes + 2, qsizetype(length)),
            QByteArray(bytes + 2 + length, qsizetype(size - 2 - length))};
}

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

struct Folder {
    QTemporaryDir temporary;
    QString source = temporary.filePath(QStringLiteral("main.bas"));
    QString included = temporary.filePath(QStringLiteral("inc.bi"));
    QString kept = temporary.filePath(QStringLiteral("kept"));
};

inline const Folder& folder() {
    static const Folder instance;
    return instance;
}

inline QByteArray bytesAt(const QString& path) {
    return readFileBytes(path).value_or(QByteArray("<unreadable>"));
}

// Runs pass over the pair once: returns what it left in both files, after
// checking that the files come back with the exact original bytes, put back
// by the registry or, as after a killed run, from the journal.
using Pass = std::function<void(const QString& sourcePath, const QString& includedPath,
                                SnapshotRegistry& registry)>;

enum class Restore { ByRegistry, FromJournal };

inline SourcePair runOnce(const SourcePair& input, const Pass& pass, Restore restore) {
    const Folder& files = folder();
    if (!writeFileBytes(files.source, input.source) ||
        !writeFileBytes(files.included, input.included))
        fail("cannot write the input files");
    PrivateFolder root;
    PrivateFolder journals;
    QString reason;
    if (!openPrivateFolder(files.temporary.path(), &root, &reason) ||
        !openPrivateSubfolder(root, QStringLiteral("journals"), true, &journals, &reason))
        fail("cannot open the journal folder");
    RunJournal journal;
    if (restore == Restore::FromJournal && !journal.create(journals, &reason))
        fail("cannot create a journal");
    SnapshotRegistry registry(journal.isOpen() ? &journal : nullptr);
    pass(files.source, files.included, registry);
    // A fault in the input's generic types stops the run, as it should; the
    // files must still come back.
    if (const std::optional<RunProblem> problem = registry.problem();
        problem && problem->message != sourceFaultMessage(problem->path))
        fail("the run met a problem");
    const SourcePair output{bytesAt(files.source), bytesAt(files.included)};
    if (restore == Restore::ByRegistry) {
        if (!registry.restoreSources().isComplete())
            fail("restore reported a file it could not put back");
        registry.releaseFiles();
    } else {
        journal.abandon(); // the run dies here; the next one repairs its files
        registry.releaseFiles();
        if (recoverInterruptedRuns(root) != RecoveryOutcome::Complete)
            fail("recovery could not put a file back");
        if (!folderEntries(journals).isEmpty() || QDir(files.kept).exists())
            fail("recovery left a journal behind");
    }
    if (bytesAt(files.source) != input.source)
        fail("the source file was not restored byte for byte");
    if (bytesAt(files.included) != input.included)
        fail("the included file was not restored byte for byte");
    return output;
}

inline void check(const uint8_t* data, size_t size, const Pass& pass) {
    const SourcePair input = splitInput(data, size);
    const SourcePair first = runOnce(input, pass, Restore::ByRegistry);
    const SourcePair second = runOnce(input, pass, Restore::FromJournal);
    if (first.source != second.source || first.included != second.included)
        fail("the same input gave different text");
}

} // namespace fuzzing
