// Times template capture and instantiation on generated sources:
//   fbext_templates_bench [lines templates uses]...
// Without arguments: 100,000 lines / 200 templates / 20,000 uses and ten times that.

#include "capture.h"
#include "generatesource.h"
#include "instantiate.h"
#include "lines.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Size {
    int lines, templates, uses;
};

template <typename Work> double bestOf(int rounds, const Work& work) {
    double best = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (round == 0 || ms < best)
            best = ms;
    }
    return best;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<Size> sizes;
    for (int i = 1; i + 2 < argc; i += 3)
        sizes.push_back({std::atoi(argv[i]), std::atoi(argv[i + 1]), std::atoi(argv[i + 2])});
    if (sizes.empty())
        sizes = {{100000, 200, 20000}, {1000000, 2000, 200000}};

    std::printf("%10s %10s %8s %8s %10s %12s %12s %10s\n", "lines", "templates", "uses", "written",
                "instances", "capture ms", "instant. ms", "total ms");
    for (const Size& size : sizes) {
        const QString text = generateTemplateSource(size.lines, size.templates, size.uses);
        const QStringList sourceLines = splitLines(text);
        QList<LineOrigin> sourceOrigins;
        for (qsizetype i = 0; i < sourceLines.size(); ++i)
            sourceOrigins.append(LineOrigin{QStringLiteral("big.bas"), int(i + 1)});

        QStringList lines;
        QList<LineOrigin> origins;
        TemplateSet templates;
        QList<MappedText> instances;
        const int rounds = size.lines > 500000 ? 3 : 5;
        const double capture = bestOf(rounds, [&] {
            lines = sourceLines;
            origins = sourceOrigins;
            templates = TemplateSet();
            captureTemplates(lines, origins, templates.templateNames, templates.templateTable);
        });
        const QStringList captured = lines;
        const double instantiate = bestOf(rounds, [&] {
            lines = captured;
            instances.clear();
            instantiateTemplates(lines, templates.templateNames, templates.templateTable,
                                 instances);
        });
        std::printf("%10lld %10d %8d %8lld %10lld %12.1f %12.1f %10.1f\n",
                    qlonglong(sourceLines.size()), size.templates, size.uses,
                    qlonglong(lines.size()), qlonglong(instances.size()), capture, instantiate,
                    capture + instantiate);
    }
    return 0;
}
