// fbc inc.bi main.bas: both files go through the class pass as command-line
// files, and main.bas's include names a file rewritten already.

#include "fuzzharness.h"
#include "pipeline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::check(data, size,
                   [](const QString& source, const QString& included, SnapshotRegistry& registry) {
                       rewriteSourceFile(included, registry);
                       rewriteSourceFile(source, registry);
                   });
    return 0;
}
