// Times the installed program on degenerate shapes that once took time
// growing faster than their size, each at n, 2n and 4n: a step should about
// double the time (a quadratic rule quadruples it).
//
//   degenerate_bench --fbc PATH --compiler PATH [--size N]     (default 2000)
//
// fbc is installed beside the compiler as fbc2 in a temporary folder, as the
// project benchmark does; each time is the fastest of three runs.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

QByteArray number(int i) {
    return QByteArray::number(i);
}

QByteArray parentOf(int n) {
    QByteArray text = "type P\n";
    for (int i = 0; i < n; ++i)
        text += "  f" + number(i) + " as integer\n";
    return text + "end type\n";
}

// A member of K, which extends P, with body lines made by line(i).
QByteArray memberOf(int n, const std::function<QByteArray(int)>& line) {
    QByteArray text = parentOf(n) + "type K extends P\n  declare sub h()\nend type\nsub K.h()\n";
    for (int i = 0; i < n; ++i)
        text += line(i);
    return text + "end sub\n";
}

QByteArray inNamespaces(int depth, const QByteArray& inside) {
    QByteArray text;
    for (int i = 0; i < depth; ++i)
        text += "namespace N" + number(i % 10) + "\n";
    text += inside;
    for (int i = 0; i < depth; ++i)
        text += "end namespace\n";
    return text;
}

const struct Shape {
    const char* name;
    std::function<QByteArray(int)> source;
} shapes[] = {
    {"locals named like n inherited fields, each assigned compoundly",
     [](int n) {
         return memberOf(n, [](int i) {
             return "  dim f" + number(i) + " as integer\n  f" + number(i) + " += 1\n";
         });
     }},
    {"n inherited fields assigned compoundly by their bare names",
     [](int n) { return memberOf(n, [](int i) { return "  f" + number(i) + " += 1\n"; }); }},
    {"n members, each with a parameter named like a field",
     [](int n) {
         QByteArray text = parentOf(n) + "type K extends P\n";
         for (int i = 0; i < n; ++i)
             text += "  declare sub s" + number(i) + "(byval f" + number(i) + " as integer)\n";
         text += "end type\n";
         for (int i = 0; i < n; ++i)
             text += "sub K.s" + number(i) + "(byval f" + number(i) + " as integer)\n  print f" +
                     number(i) + "\nend sub\n";
         return text;
     }},
    {"a template use in namespaces nested 5n deep",
     [](int n) {
         return "template Stack\n  items(0 to 3) as t1\nend template\n" +
                inNamespaces(5 * n, "dim s as Stack<<<integer>>>\n");
     }},
    {"an enum and an extending type in namespaces nested 5n deep",
     [](int n) {
         return inNamespaces(5 * n, "enum E : a : end enum\n") +
                "type Q\n  e as integer\nend type\ntype R extends Q\nend type\n";
     }},
};

// The fastest of three runs of the installed program over source, in ms.
double fastestRun(const QString& folder, const QByteArray& source) {
    QFile file(QDir(folder).filePath(QStringLiteral("main.bas")));
    if (!file.open(QIODevice::WriteOnly) || file.write(source) != source.size())
        qFatal("cannot write the source");
    file.close();
    double best = -1;
    for (int run = 0; run < 3; ++run) {
        QProcess fbc;
        fbc.setWorkingDirectory(folder);
        QElapsedTimer timer;
        timer.start();
        fbc.start(QDir(folder).filePath(QStringLiteral("fbc")), {QStringLiteral("main.bas")});
        if (!fbc.waitForFinished(600000) || fbc.exitCode() != 0)
            qFatal("fbc failed: %s", fbc.readAllStandardError().constData());
        const double took = double(timer.nsecsElapsed()) / 1e6;
        best = best < 0 ? took : std::min(best, took);
    }
    return best;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const auto valueOf = [&](const QString& option) {
        const qsizetype at = arguments.indexOf(option);
        return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : QString();
    };
    const QString fbc = valueOf(QStringLiteral("--fbc"));
    const QString compiler = valueOf(QStringLiteral("--compiler"));
    const int size = valueOf(QStringLiteral("--size")).isEmpty()
                         ? 2000
                         : valueOf(QStringLiteral("--size")).toInt();
    if (fbc.isEmpty() || compiler.isEmpty() || size <= 0) {
        std::fprintf(stderr, "usage: degenerate_bench --fbc PATH --compiler PATH [--size N]\n");
        return 2;
    }
    QTemporaryDir folder;
    QTemporaryDir journal;
    if (!QFile::copy(fbc, folder.filePath(QStringLiteral("fbc"))) ||
        !QFile::copy(compiler, folder.filePath(QStringLiteral("fbc2"))))
        qFatal("cannot install fbc and the compiler");
    // The journal of these runs stays apart from any real use of fbext.
    qputenv("XDG_DATA_HOME", journal.path().toLocal8Bit());
    std::printf("| shape | n | 2n | 4n | 4n / n |\n|---|---:|---:|---:|---:|\n");
    for (const Shape& shape : shapes) {
        double times[3];
        for (int step = 0; step < 3; ++step)
            times[step] = fastestRun(folder.path(), shape.source(size << step));
        std::printf("| %s (n = %d) | %.0f ms | %.0f ms | %.0f ms | %.1f |\n", shape.name, size,
                    times[0], times[1], times[2], times[2] / times[0]);
        std::fflush(stdout);
    }
    return 0;
}
