// Times template capture and instantiation on generated sources:
//   fbext_templates_bench [lines templates uses]...
// Without arguments: 100,000 lines / 200 templates / 20,000 uses and ten times that,
// followed by shapes that would be quadratic if handled naively, at n and 10 n.

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
        const QByteArray text = generateTemplateSource(size.lines, size.templates, size.uses);
        const Lines sourceLines = splitLines(text);
        QList<LineOrigin> sourceOrigins;
        for (qsizetype i = 0; i < sourceLines.size(); ++i)
            sourceOrigins.append(LineOrigin{QStringLiteral("big.bas"), int(i + 1)});

        Lines lines;
        QByteArrayList rewritten;
        QList<LineOrigin> origins;
        TemplateSet templates;
        QList<Instance> instances;
        const int rounds = size.lines > 500000 ? 3 : 5;
        const double capture = bestOf(rounds, [&] {
            lines = sourceLines;
            origins = sourceOrigins;
            templates = TemplateSet();
            captureTemplates(lines, origins, templates);
        });
        const Lines captured = lines;
        const double instantiate = bestOf(rounds, [&] {
            lines = captured;
            instances.clear();
            rewritten.clear();
            instantiateTemplates(lines, rewritten, templates, instances);
        });
        std::printf("%10lld %10d %8d %8lld %10lld %12.1f %12.1f %10.1f\n",
                    qlonglong(sourceLines.size()), size.templates, size.uses,
                    qlonglong(lines.size()), qlonglong(instances.size()), capture, instantiate,
                    capture + instantiate);
    }
    if (argc > 1)
        return 0;

    // One line holding n uses; one line with n "<<<" inside a string literal
    // before a far ">>>"; n declarations of one name, each with a member.
    std::printf("\n%-28s %10s %12s\n", "shape", "n", "total ms");
    for (const int n : {20000, 200000}) {
        const QString template0 = QStringLiteral("template Box\nv as t1\nend template\n");
        QString manyUses = template0 + QStringLiteral("dim a as ");
        QString quoted = template0 + QStringLiteral("print \"");
        QString redeclared;
        for (int i = 0; i < n; ++i) {
            manyUses += QStringLiteral("Box<<<t%1>>>, ").arg(i % 100);
            quoted += QStringLiteral("<<<");
            redeclared += QStringLiteral("template Box\nv as t1\nend template\n"
                                         "sub Box.f()\nend sub\ndim b%1 as Box<<<integer>>>\n")
                              .arg(i);
        }
        quoted += QStringLiteral(">>>\"");
        const std::pair<const char*, QByteArray> shapes[] = {
            {"uses in one line", manyUses.toLatin1()},
            {"quoted <<< before >>>", quoted.toLatin1()},
            {"one name declared n times", redeclared.toLatin1()},
        };
        for (const auto& [shape, text] : shapes) {
            const double ms = bestOf(3, [&] {
                Lines lines = splitLines(text);
                QList<LineOrigin> origins(lines.size());
                TemplateSet templates;
                QByteArrayList rewritten;
                QList<Instance> instances;
                captureTemplates(lines, origins, templates);
                instantiateTemplates(lines, rewritten, templates, instances);
            });
            std::printf("%-28s %10d %12.1f\n", shape, n, ms);
        }
    }
    return 0;
}
