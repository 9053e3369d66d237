// The whole installed program against the floor of copying the bytes.
//
// For each project size it generates a project, installs the built front end
// as fbc beside a compiler that exits at once, runs `fbc main.bas` several
// times and reports the median wall time, the throughput, the peak resident
// memory, and the ratio to the floor: reading every source file and writing it
// twice (the rewrite and the restore), measured in the same run on the same
// files. Last come small programs (200 lines, the first with a header of the
// templates it uses): what they add to the compiler's own time, beside what a
// Qt program that does nothing costs.
//
// Two project shapes are measured: a main file with a dozen headers that hold
// most of the lines (spread), and one large main file with the types and uses
// and a dozen small headers that declare the templates (large).
//
//   project_bench --fbc PATH --compiler PATH [--qt-minimal PATH]
//                 [--sizes 10000,100000] [--shapes spread,large] [--runs 5]
//   project_bench --write DIR [--sizes 1000000]   (only writes the projects, for profiling)

#include "benchtools.h"
#include "projectgenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Measure {
    double milliseconds = 0;
    long peakKilobytes = 0;
};

// Runs program with arguments in folder and waits for it.
Measure runProcess(const QString& program, const QStringList& arguments, const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(QFile::encodeName(folder).constData()) != 0)
            _exit(126);
        QList<QByteArray> storage{QFile::encodeName(program)};
        for (const QString& argument : arguments)
            storage.append(QFile::encodeName(argument));
        std::vector<char*> argv;
        for (QByteArray& item : storage)
            argv.push_back(item.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    Measure measure;
    measure.milliseconds = double(timer.nsecsElapsed()) / 1e6;
    measure.peakKilobytes = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "warning: %s exited with status %d\n", qPrintable(program), status);
    return measure;
}

// Writes every file's data that waits in memory to disk, outside any time
// taken: each measure pays for its own writes only. The floor flushes
// nothing, and the kernel writes its data out seconds later, in the middle
// of a later measure, whose own flushes then wait behind it.
void settleDisk() {
    ::sync();
}

// Reading every file and writing it twice: what any rewrite-and-restore costs.
double measureFloor(const GeneratedProject& project, const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    for (const GeneratedFile& generated : project.files) {
        const QString path = QDir(folder).filePath(generated.name);
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        const QByteArray bytes = in.readAll();
        in.close();
        for (int pass = 0; pass < 2; ++pass) {
            QFile out(path);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                out.write(bytes) != bytes.size())
                qFatal("cannot write %s", qPrintable(path));
        }
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

// What two costs that the program pays and the floor does not are on this
// machine, as the figures above depend on them: the first touch of a fresh
// page of memory (what every buffer the program grows costs once), and a
// flush of a small write to disk (the journal and every rewrite and restore
// wait for some). Medians of a few tries.
struct MachineCosts {
    double microsecondsPerPage = 0;
    double millisecondsPerFlush = 0;
};

MachineCosts measureMachineCosts(const QString& folder) {
    MachineCosts costs;
    const long page = sysconf(_SC_PAGESIZE);
    const size_t bytes = size_t(64) << 20;
    QList<double> perPage;
    for (int run = 0; run < 3; ++run) {
        void* mapped =
            mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            break;
        auto* data = static_cast<volatile char*>(mapped);
        QElapsedTimer timer;
        timer.start();
        for (size_t at = 0; at < bytes; at += size_t(page))
            data[at] = 1;
        perPage.append(double(timer.nsecsElapsed()) / 1e3 / double(bytes / size_t(page)));
        munmap(mapped, bytes);
    }
    if (!perPage.isEmpty())
        costs.microsecondsPerPage = median(perPage);
    const QByteArray path = QFile::encodeName(QDir(folder).filePath(QStringLiteral("flush")));
    const int file = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file >= 0) {
        const QByteArray block(4096, 'x');
        QList<double> flushes;
        for (int run = 0; run < 20; ++run) {
            if (pwrite(file, block.constData(), size_t(block.size()), 0) != block.size())
                break;
            QElapsedTimer timer;
            timer.start();
            if (fsync(file) != 0)
                break;
            flushes.append(double(timer.nsecsElapsed()) / 1e6);
        }
        close(file);
        unlink(path.constData());
        if (!flushes.isEmpty())
            costs.millisecondsPerFlush = median(flushes);
    }
    return costs;
}

bool unchanged(const GeneratedProject& project, const QString& folder) {
    for (const GeneratedFile& file : project.files) {
        QFile in(QDir(folder).filePath(file.name));
        if (!in.open(QIODevice::ReadOnly) || in.readAll() != file.bytes)
            return false;
    }
    return true;
}

// The rows of one project shape.
void measureShape(ProjectShape shape, const QList<qint64>& sizes, int runs, const QString& program,
                  const QString& root, long baseline) {
    const char* label = shape == ProjectShape::Spread ? "spread" : "one large file";
    for (qint64 size : sizes) {
        const GeneratedProject project = generateProject(size, shape);
        const QString folder =
            QDir(root).filePath(QStringLiteral("project%1-%2").arg(int(shape)).arg(size));
        if (!writeProject(project, folder))
            qFatal("cannot write the project");
        runProcess(program, {QStringLiteral("main.bas")}, folder); // warm the caches
        QList<double> times;
        QList<double> floors;
        long peak = 0;
        for (int run = 0; run < runs; ++run) {
            settleDisk();
            const Measure measure = runProcess(program, {QStringLiteral("main.bas")}, folder);
            times.append(measure.milliseconds);
            peak = std::max(peak, measure.peakKilobytes);
            settleDisk();
            floors.append(measureFloor(project, folder));
        }
        if (!unchanged(project, folder))
            qFatal("the project was not restored byte for byte");
        QDir(folder).removeRecursively();
        const double megabytes = double(project.byteCount) / 1e6;
        const double time = median(times);
        const double floor = median(floors);
        std::printf(
            "| %s | %lld | %lld | %.1f | %.0f | %.1f | %.0f | %.1f | %.1f | %.1f | %.1f |\n", label,
            static_cast<long long>(project.lineCount), static_cast<long long>(project.files.size()),
            megabytes, time, megabytes / (time / 1000), double(peak) / 1024,
            double(peak) * 1024 / double(project.byteCount),
            double(peak - baseline) * 1024 / double(project.byteCount), floor, time / floor);
        std::fflush(stdout);
    }
}

// The templates a text uses ("Box12" of "Box12<<<integer>>>"), each once, in
// the order of their first use.
QList<QByteArray> templatesUsedIn(const QByteArray& text) {
    QList<QByteArray> names;
    for (qsizetype at = text.indexOf("<<<"); at >= 0; at = text.indexOf("<<<", at + 3)) {
        qsizetype start = at;
        while (start > 0 && std::isalnum(static_cast<unsigned char>(text[start - 1])))
            --start;
        const QByteArray name = text.mid(start, at - start);
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names;
}

// Writes main.bas, and header (when there is one) as templates.bi beside it.
QString writeSmallProgram(const QString& root, const QString& name, const QByteArray& text,
                          const QByteArray& header = QByteArray()) {
    const QString folder = QDir(root).filePath(name);
    QDir().mkpath(folder);
    const auto write = [&folder](const QString& fileName, const QByteArray& bytes) {
        QFile file(QDir(folder).filePath(fileName));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the small program");
    };
    write(QStringLiteral("main.bas"), text);
    if (!header.isEmpty())
        write(QStringLiteral("templates.bi"), header);
    return folder;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    auto option = [&](const char* name, const QString& fallback) {
        const qsizetype at = arguments.lastIndexOf(QString::fromLatin1(name)); // the last one wins
        return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : fallback;
    };
    const QString fbc = option("--fbc", QString());
    const QString compiler = option("--compiler", QString());
    const QString qtMinimalOption = option("--qt-minimal", QString());
    // Each run starts in the project's folder, so the path must not be relative.
    const QString qtMinimal =
        qtMinimalOption.isEmpty() ? QString() : QFileInfo(qtMinimalOption).absoluteFilePath();
    const int runs = option("--runs", QStringLiteral("5")).toInt();
    QList<qint64> sizes;
    for (const QString& size :
         option("--sizes", QStringLiteral("10000,100000,1000000")).split(u','))
        sizes.append(size.toLongLong());
    QList<ProjectShape> shapes;
    for (const QString& shape : option("--shapes", QStringLiteral("spread,large")).split(u','))
        shapes.append(shape == QLatin1StringView("large") ? ProjectShape::OneLargeFile
                                                          : ProjectShape::Spread);
    const QString writeOnly = option("--write", QString());
    if (!writeOnly.isEmpty()) {
        for (ProjectShape shape : shapes) {
            for (qint64 size : sizes) {
                const QString folder = QDir(writeOnly).filePath(
                    QStringLiteral("project%1-%2").arg(int(shape)).arg(size));
                if (!writeProject(generateProject(size, shape), folder))
                    qFatal("cannot write the project");
                std::printf("%s\n", qPrintable(folder));
            }
        }
        return 0;
    }
    if (fbc.isEmpty() || compiler.isEmpty()) {
        std::fprintf(stderr, "usage: project_bench --fbc PATH --compiler PATH [--qt-minimal PATH] "
                             "[--sizes N,N] [--shapes spread,large] [--runs N]\n");
        return 2;
    }

    QTemporaryDir rootFolder;
    const QString root = rootFolder.path();
    const QString program = QDir(root).filePath(QStringLiteral("fbc"));
    const QString nullCompiler = QDir(root).filePath(QStringLiteral("fbc2"));
    install(fbc, program);
    install(compiler, nullCompiler);

    // Two small programs: 200 lines with types, extending types and template
    // uses, with a header that declares the templates they use, and 200 lines
    // of ordinary FreeBASIC. The first one's run gives the fixed memory every
    // run takes whatever its input (the program, Qt, the C++ runtime, the code
    // of both passes), which the table shows apart from what grows with the
    // source.
    QByteArray smallText = "#include once \"templates.bi\"\n";
    const QList<QByteArray> mainLines = generateProject(4000).files.first().bytes.split('\n');
    for (int i = 13; i < 213; ++i)
        smallText += mainLines.value(i) + '\n';
    QByteArray plainText;
    for (int i = 0; i < 200; ++i)
        plainText += "print \"line " + QByteArray::number(i) + "\"\n";
    const QString small = writeSmallProgram(root, QStringLiteral("small"), smallText,
                                            templateHeader(templatesUsedIn(smallText)));
    const QString plain = writeSmallProgram(root, QStringLiteral("plain"), plainText);
    // The largest of as many runs as each project gets, whose peak is the
    // largest of its runs too: the noise of one run's memory counts alike.
    long baseline = 0;
    for (int run = 0; run < runs; ++run)
        baseline = std::max(baseline,
                            runProcess(program, {QStringLiteral("main.bas")}, small).peakKilobytes);

    std::printf("| shape | lines | files | MB | median ms | MB/s | peak RSS MB | RSS / source | "
                "(RSS - fixed) / source | floor ms | ratio to floor |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (ProjectShape shape : shapes)
        measureShape(shape, sizes, runs, program, root, baseline);

    // The small programs through fbc, straight to the compiler, and what a
    // Qt program that does nothing costs.
    const auto medianOf = [&](const QString& executable, const QString& folder) {
        QList<double> times;
        for (int run = 0; run < 30; ++run)
            times.append(runProcess(executable, {QStringLiteral("main.bas")}, folder).milliseconds);
        return median(times);
    };
    // The large projects' writes are on disk before the small runs flush.
    settleDisk();
    const double direct = medianOf(nullCompiler, small);
    const double qt = qtMinimal.isEmpty() ? 0 : medianOf(qtMinimal, small);
    const double through = medianOf(program, small);
    const double plainThrough = medianOf(program, plain);
    std::printf("\nsmall programs (200 lines; the first includes its templates), median of 30 "
                "runs:\n"
                "  straight to the compiler: %.1f ms\n"
                "  a Qt program that only constructs QCoreApplication: %.1f ms\n"
                "  through fbc, with both extensions: %.1f ms (%.1f ms added; fbext's own part "
                "above Qt: %.1f ms)\n"
                "  through fbc, ordinary FreeBASIC: %.1f ms (%.1f ms added; fbext's own part "
                "above Qt: %.1f ms)\n"
                "fixed memory of a run (the small program's peak RSS): %.1f MB\n",
                direct, qt, through, through - direct, through - direct - qt, plainThrough,
                plainThrough - direct, plainThrough - direct - qt, double(baseline) / 1024);
    const MachineCosts costs = measureMachineCosts(root);
    std::printf("this machine: the first touch of a fresh %ld-byte page of memory %.2f us; a flush "
                "of a small write %.2f ms\n",
                sysconf(_SC_PAGESIZE), costs.microsecondsPerPage, costs.millisecondsPerFlush);
    return 0;
}
