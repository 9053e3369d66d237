#pragma once

// What every fuzz target checks: a pass over arbitrary bytes, as a source file
// and as the file it includes, never crashes or hangs (the sanitizers and
// libFuzzer watch that), gives the same text every time, and the registry puts
// back exactly the bytes each file held.

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
};

inline const Folder& folder() {
    static const Folder instance;
    return instance;
}

inline QByteArray bytesAt(const QString& path) {
    return readFileBytes(path).value_or(QByteArray("<unreadable>"));
}

// Runs pass over the pair once: returns what it left in both files, after
// checking that the restore gives back the exact original bytes.
using Pass = std::function<void(const QString& sourcePath, SnapshotRegistry& registry)>;

inline SourcePair runOnce(const SourcePair& input, const Pass& pass) {
    const Folder& files = folder();
    if (!writeFileBytes(files.source, input.source) ||
        !writeFileBytes(files.included, input.included))
        fail("cannot write the input files");
    SnapshotRegistry registry;
    pass(files.source, registry);
    const SourcePair output{bytesAt(files.source), bytesAt(files.included)};
    if (!registry.restoreSources().isComplete())
        fail("restore reported a file it could not put back");
    if (bytesAt(files.source) != input.source)
        fail("the source file was not restored byte for byte");
    if (bytesAt(files.included) != input.included)
        fail("the included file was not restored byte for byte");
    return output;
}

inline void check(const uint8_t* data, size_t size, const Pass& pass) {
    const SourcePair input = splitInput(data, size);
    const SourcePair first = runOnce(input, pass);
    const SourcePair second = runOnce(input, pass);
    if (first.source != second.source || first.included != second.included)
        fail("the same input gave different text");
}

} // namespace fuzzing
