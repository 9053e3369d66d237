// A parallel build through fbext against the same build with the plain
// compiler.
//
// For each N it generates a program of N modules, each including one shared
// template header and a header of its own, with a Makefile that compiles
// every module with "$(FBC) -c", and times `make -jN -B`:
//  - through fbext, installed as fbc in front of a compiler that takes a
//    fixed time per compile (sleepcompiler.cpp);
//  - with that compiler alone, given the text fbext hands it (the modules and
//    headers already expanded, kept by the compiler on a first build);
//  - through fbext again, each module including a copy of the header of its
//    own: what fbext costs a run when no run waits for another.
// Since the compiler's time is the same in all, the ratios measure what fbext
// adds; the difference between the first and the last is what the runs'
// coordination on the shared header costs. It checks that every source is
// left byte for byte as it was.
//
//   parallel_bench --fbc PATH --compiler PATH [--modules 2,4,8] [--compile-ms 500] [--runs 5]

#include "benchtools.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int templateCount = 24;

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The header every module includes: generic containers with members.
QByteArray sharedHeader() {
    QByteArray text = "' shared.bi: generic containers every module uses.\n\n";
    for (int t = 0; t < templateCount; ++t) {
        const QByteArray name = "Box" + QByteArray::number(t);
        text += "template " + name +
                "\n  items(Any) As t1\n  count As Integer\n"
                "  Declare Sub push(ByRef value As t1)\n  Declare Function pop() As t1\n"
                "  Declare Function isEmpty() As Boolean\nend template\n\n"
                "Sub " +
                name +
                ".push(ByRef value As t1)\n"
                "  If count > UBound(items) Then ReDim Preserve items(count * 2 + 3)\n"
                "  items(count) = value\n  count += 1\nEnd Sub\n\n"
                "Function " +
                name +
                ".pop() As t1\n  count -= 1\n  Return items(count)\n"
                "End Function\n\nFunction " +
                name +
                ".isEmpty() As Boolean\n"
                "  Return count = 0\nEnd Function\n\n";
    }
    return text;
}

QByteArray moduleHeader(int module) {
    const QByteArray n = QByteArray::number(module);
    return "' m" + n + ".bi: module " + n + "'s own declarations.\n\nType Record" + n +
           "\n  id As Integer\n  label As String\nEnd Type\n\nDeclare Function total" + n +
           "() As Integer\n";
}

QByteArray moduleSource(int module) {
    const QByteArray n = QByteArray::number(module);
    QByteArray text =
        "' m" + n + ".bas\n\n#include once \"shared.bi\"\n#include once \"m" + n + ".bi\"\n\n";
    for (int t = 0; t < 6; ++t) {
        const QByteArray box = "Box" + QByteArray::number((module + t) % templateCount);
        text += "Dim Shared values" + QByteArray::number(t) + " As " + box +
                (t % 2 ? "<<<integer>>>\n" : "<<<string>>>\n");
    }
    text += "\nFunction total" + n + "() As Integer\n  Dim sum As Integer = 0\n";
    for (int line = 0; line < 120; ++line)
        text += "  sum += " + QByteArray::number(line * module + 1) + "\n";
    text += "  Return sum\nEnd Function\n";
    return text;
}

QByteArray makefile(int modules) {
    QByteArray objects;
    for (int m = 1; m <= modules; ++m)
        objects += " m" + QByteArray::number(m) + ".o";
    return "FBC ?= fbc\n\nall:" + objects + "\n\n%.o: %.bas\n\t$(FBC) -c $<\n";
}

// The program's sources, by name; with copies, each module includes a copy
// of the shared header of its own instead.
QMap<QString, QByteArray> program(int modules, bool copies) {
    QMap<QString, QByteArray> files;
    files.insert(QStringLiteral("shared.bi"), sharedHeader());
    for (int m = 1; m <= modules; ++m) {
        files.insert(QStringLiteral("m%1.bi").arg(m), moduleHeader(m));
        QByteArray source = moduleSource(m);
        if (copies) {
            const QByteArray copy = "shared" + QByteArray::number(m) + ".bi";
            files.insert(QString::fromLatin1(copy), sharedHeader());
            source.replace("\"shared.bi\"", '"' + copy + '"');
        }
        files.insert(QStringLiteral("m%1.bas").arg(m), source);
    }
    return files;
}

void writeProgram(const QDir& folder, const QMap<QString, QByteArray>& files, int modules) {
    QDir().mkpath(folder.path());
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        writeFile(folder.filePath(it.key()), it.value());
    writeFile(folder.filePath(QStringLiteral("Makefile")), makefile(modules));
}

void expectUnchanged(const QDir& folder, const QMap<QString, QByteArray>& files) {
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (readFile(folder.filePath(it.key())) != it.value())
            qFatal("%s was not left as it was", qPrintable(folder.filePath(it.key())));
    }
}

// The environment of the builds: the compiler's time for each compile, and
// a journal folder of the benchmark's own for fbext.
QProcessEnvironment buildEnvironment(const QString& compileMs, const QString& dataFolder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FBEXT_BENCH_COMPILE_MS"), compileMs);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataFolder);
    return environment;
}

// Runs the program in folder and waits; returns the wall time in milliseconds.
double timed(const QString& program, const QStringList& arguments, const QString& folder,
             const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        qFatal("%s %s failed in %s", qPrintable(program), qPrintable(arguments.join(u' ')),
               qPrintable(folder));
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    auto option = [&](const char* name, const QString& fallback) {
        const qsizetype at = arguments.indexOf(QString::fromLatin1(name));
        return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : fallback;
    };
    const QString fbc = option("--fbc", QString());
    const QString compiler = option("--compiler", QString());
    const int runs = option("--runs", QStringLiteral("5")).toInt();
    const QString compileMs = option("--compile-ms", QStringLiteral("500"));
    if (fbc.isEmpty() || compiler.isEmpty()) {
        std::fprintf(stderr, "usage: parallel_bench --fbc PATH --compiler PATH [--modules 2,4,8] "
                             "[--compile-ms 500] [--runs 5]\n");
        return 2;
    }

    QTemporaryDir root;
    const QDir bin(root.filePath(QStringLiteral("bin")));
    QDir().mkpath(bin.path());
    install(fbc, bin.filePath(QStringLiteral("fbc")));
    install(compiler, bin.filePath(QStringLiteral("fbc2")));
    const QString data = root.filePath(QStringLiteral("data"));
    const QProcessEnvironment compiling = buildEnvironment(compileMs, data);

    std::printf("compiler: %s ms a module; median of %d builds\n\n", qPrintable(compileMs), runs);
    std::printf("| modules (make -jN) | plain compiler ms | through fbext ms | ratio | "
                "fbext, a header copy a module, ms | ratio |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|\n");
    for (const QString& count : option("--modules", QStringLiteral("2,4,8")).split(u',')) {
        const int modules = count.toInt();
        const QDir source(root.filePath(QStringLiteral("source%1").arg(modules)));
        const QDir copies(root.filePath(QStringLiteral("copies%1").arg(modules)));
        const QDir expanded(root.filePath(QStringLiteral("expanded%1").arg(modules)));
        const QMap<QString, QByteArray> files = program(modules, false);
        const QMap<QString, QByteArray> copiedFiles = program(modules, true);
        writeProgram(source, files, modules);
        writeProgram(copies, copiedFiles, modules);
        writeProgram(expanded, {}, modules);

        // The text fbext hands the compiler, kept for the plain build.
        QProcessEnvironment keeping = buildEnvironment(QStringLiteral("0"), data);
        keeping.insert(QStringLiteral("FBEXT_BENCH_KEEP_TEXT"), expanded.path());
        for (int m = 1; m <= modules; ++m)
            timed(bin.filePath(QStringLiteral("fbc")),
                  {QStringLiteral("-c"), QStringLiteral("m%1.bas").arg(m)}, source.path(), keeping);

        const QStringList make{QStringLiteral("-s"), QStringLiteral("-B"),
                               QStringLiteral("-j%1").arg(modules)};
        const QStringList throughFbext{QStringLiteral("FBC=") +
                                       bin.filePath(QStringLiteral("fbc"))};
        const QStringList plainCompiler{QStringLiteral("FBC=") +
                                        bin.filePath(QStringLiteral("fbc2"))};
        QList<double> plain;
        QList<double> through;
        QList<double> copied;
        for (int run = 0; run <= runs; ++run) { // the first of each warms the caches
            const double plainMs =
                timed(QStringLiteral("make"), make + plainCompiler, expanded.path(), compiling);
            const double throughMs =
                timed(QStringLiteral("make"), make + throughFbext, source.path(), compiling);
            const double copiedMs =
                timed(QStringLiteral("make"), make + throughFbext, copies.path(), compiling);
            if (run > 0) {
                plain.append(plainMs);
                through.append(throughMs);
                copied.append(copiedMs);
            }
        }
        expectUnchanged(source, files);
        expectUnchanged(copies, copiedFiles);
        if (!QDir(data + QStringLiteral("/fbext/journals"))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                 .isEmpty())
            qFatal("a journal was left behind");
        std::printf("| %d | %.0f | %.0f | %.2f | %.0f | %.2f |\n", modules, median(plain),
                    median(through), median(through) / median(plain), median(copied),
                    median(copied) / median(plain));
        std::fflush(stdout);
    }
    return 0;
}
