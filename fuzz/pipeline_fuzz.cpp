// The whole pipeline the driver runs over one source-file argument: register
// it, the template pass (which follows its include), then the class pass.

#include "fuzzharness.h"
#include "sourcepass.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::check(data, size, [](const QString& source, SnapshotRegistry& registry) {
        registry.registerSource(source, fuzzing::bytesAt(source));
        expandTemplates(source, source, registry);
    });
    return 0;
}
