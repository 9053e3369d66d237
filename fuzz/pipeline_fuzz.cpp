// fbc main.bas inc.bi: the included file is named on the command line too, so
// its second pass reads what the first one's rewrite left, as the program does.

#include "fuzzharness.h"
#include "pipeline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::check(data, size,
                   [](const QString& source, const QString& included, SnapshotRegistry& registry) {
                       rewriteSourceFile(source, registry);
                       rewriteSourceFile(included, registry);
                   });
    return 0;
}
