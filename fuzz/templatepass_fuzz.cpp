// The template pass over arbitrary source and included-file bytes.

#include "fuzzharness.h"
#include "sourcepass.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::check(data, size, [](const QString& source, SnapshotRegistry& registry) {
        expandTemplates(source, source, registry);
    });
    return 0;
}
