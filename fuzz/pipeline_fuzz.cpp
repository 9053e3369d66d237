// The whole pipeline the driver runs over one source-file argument: register
// it, the template pass (which rewrites the file it includes), the class pass
// over the template pass's text, and the write with line directives.

#include "classexpander.h"
#include "fuzzharness.h"
#include "linedirectives.h"
#include "sourcepass.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::check(data, size, [](const QString& source, SnapshotRegistry& registry) {
        registry.registerSource(source, fuzzing::bytesAt(source));
        const MappedText rewritten = expandClassText(templatePassText(source, registry));
        registry.writeRewrittenSource(source, withLineDirectives(rewritten, source));
    });
    return 0;
}
