// The class-extension pass over arbitrary source bytes (the included file is
// there too, though this pass does not follow includes).

#include "classexpander.h"
#include "fuzzharness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::check(data, size, [](const QString& source, SnapshotRegistry& registry) {
        expandClasses(source, source, registry);
    });
    return 0;
}
