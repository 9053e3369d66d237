// fbc main.bas: the template pass follows main.bas's include to inc.bi, takes
// its templates and writes it; the class pass runs over main.bas alone.

#include "fuzzharness.h"
#include "pipeline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::check(data, size,
                   [](const QString& source, const QString& included, SnapshotRegistry& registry) {
                       static_cast<void>(included);
                       rewriteSourceFile(source, registry);
                   });
    return 0;
}
