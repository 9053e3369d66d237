#include "placement.h"

#include <algorithm>

QByteArray instanceGuard(const QByteArray& instanceName) {
    return "__FBEXT_INSTANCE_" + instanceName + "__";
}

QByteArray pendingMembersGuard(const QByteArray& instanceName) {
    return "__FBEXT_MEMBERS_" + instanceName + "__";
}

MappedText withInstances(const Lines& lines, const QList<LineOrigin>& origins,
                         const QList<Instance>& instances) {
    QList<const Instance*> ordered;
    ordered.reserve(instances.size());
    for (const Instance& instance : instances)
        ordered.append(&instance);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Instance* a, const Instance* b) { return a->anchor < b->anchor; });

    MappedTextBuilder written;
    qsizetype bytes = lines.size();
    qsizetype lineCount = lines.size();
    for (const Instance* instance : std::as_const(ordered)) {
        bytes += instance->text.text.size() + 2 * instance->name.size() + 64;
        lineCount += instance->text.lineCount() + 3;
    }
    for (const QByteArrayView line : lines)
        bytes += line.size();
    written.reserve(bytes, lineCount);

    qsizetype next = 0;
    // Past the last line: what goes after the end of the file.
    for (qsizetype i = 0; i <= lines.size();) {
        for (; next < ordered.size() && ordered[next]->anchor <= i; ++next) {
            const Instance& instance = *ordered[next];
            if (instance.part == Instance::Part::Members) {
                written.add("#ifdef " + pendingMembersGuard(instance.name));
            } else {
                const QByteArray guard = instanceGuard(instance.name);
                written.add("#ifndef " + guard);
                written.add("#define " + guard);
                if (instance.part == Instance::Part::Type)
                    written.add("#define " + pendingMembersGuard(instance.name));
            }
            written.add(instance.text);
            written.add("#endif");
        }
        // The lines up to the next instance's place.
        const qsizetype upTo =
            next < ordered.size() ? std::min(ordered[next]->anchor, lines.size()) : lines.size();
        written.addLines(lines, origins, i, upTo);
        i = upTo == i ? i + 1 : upTo;
    }
    // The macro that let member procedures follow their type block holds to
    // the end of the file, where the class pass may put their forwarders
    // under it, and no further: a file that includes this one, and so
    // skips its own copy of the type block, must skip the members too.
    for (const Instance* instance : std::as_const(ordered)) {
        if (instance->part == Instance::Part::Type)
            written.add("#undef " + pendingMembersGuard(instance->name));
    }
    return written.take();
}
