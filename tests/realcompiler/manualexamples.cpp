#include "manualexamples.h"

#include "commandrun.h"
#include "folderstate.h"
#include "stagedcompiler.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

const int compileTimeoutMs = 120000;

// A fresh copy of the files of the folder that holds file (its subfolders
// are not needed: the examples include only files beside them).
bool freshCopy(const QString& sourceFolder, const QString& copy) {
    QDir(copy).removeRecursively();
    if (!QDir().mkpath(copy))
        return false;
    const QDir from(sourceFolder);
    for (const QString& name : from.entryList(QDir::Files | QDir::Hidden)) {
        // Writable as a user's own sources are, even when the manual is not.
        const QString target = QDir(copy).filePath(name);
        if (!QFile::copy(from.filePath(name), target) ||
            !QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner))
            return false;
    }
    return true;
}

struct Compile {
    int exitCode = -1;
    QString messages;
};

Compile compileIn(const QString& program, const QString& copy, const QString& name,
                  const QProcessEnvironment& environment) {
    const CommandResult run = runCommand(program, {QStringLiteral("-c"), name}, copy, environment,
                                         true, compileTimeoutMs);
    Compile result{run.exitCode, withFolderReplaced(QString::fromLocal8Bit(run.output), copy,
                                                    QStringLiteral("<folder>/"))};
    if (!run.problem.isEmpty())
        result.messages += QStringLiteral("(%1)\n").arg(run.problem);
    return result;
}

ExampleComparison compareOne(const QString& manualDir, const QString& file,
                             const StagedCompiler& staged, const QString& realCompiler) {
    ExampleComparison result;
    result.file = file;
    const QString folder = QFileInfo(QDir(manualDir).filePath(file)).absolutePath();
    const QString name = QFileInfo(file).fileName();
    const QString direct = QDir(staged.dir()).filePath(QStringLiteral("direct"));
    const QString through = QDir(staged.dir()).filePath(QStringLiteral("fbext"));
    if (!freshCopy(folder, direct) || !freshCopy(folder, through)) {
        result.same = false;
        result.difference = QStringLiteral("cannot copy ") + folder;
        return result;
    }
    const FolderState before = recordFolder(through);
    const Compile plain = compileIn(realCompiler, direct, name, staged.environment());
    const Compile viaFbext = compileIn(staged.fbc(), through, name, staged.environment());
    for (const QString& change : folderChanges(before, through))
        result.damage.append(QStringLiteral("source not left as it was: ") + change);
    for (const QString& left : staged.leftovers())
        result.damage.append(QStringLiteral("fbext left ") + left);
    if (plain.exitCode != viaFbext.exitCode || plain.messages != viaFbext.messages) {
        result.same = false;
        result.difference =
            QStringLiteral("--- real compiler alone: status %1\n%2--- through fbext: status %3\n%4")
                .arg(plain.exitCode)
                .arg(plain.messages)
                .arg(viaFbext.exitCode)
                .arg(viaFbext.messages);
    }
    return result;
}

} // namespace

QStringList manualExamples(const QString& manualDir, int sampleStep,
                           const QStringList& alwaysIncluded) {
    QStringList all;
    QDirIterator it(manualDir, {QStringLiteral("*.bas")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        all.append(QDir(manualDir).relativeFilePath(it.next()));
    all.sort();
    if (sampleStep <= 1)
        return all;
    QStringList sample;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (i % sampleStep == 0 || alwaysIncluded.contains(all[i]))
            sample.append(all[i]);
    }
    return sample;
}

QList<ExampleComparison> compareManualExamples(const QString& manualDir, const QStringList& files,
                                               const QString& fbextProgram,
                                               const QString& realCompiler, int jobs) {
    QList<ExampleComparison> results(files.size());
    std::atomic<qsizetype> next{0};
    std::vector<std::thread> workers;
    for (int job = 0; job < qMax(1, jobs); ++job) {
        workers.emplace_back([&] {
            // Each job is an installation and a user of its own, so runs on
            // different jobs never wait for each other's lock.
            const StagedCompiler staged(fbextProgram, realCompiler);
            for (qsizetype i = next++; i < files.size(); i = next++) {
                if (!staged.problem().isEmpty()) {
                    results[i] = {files[i], false, staged.problem(), {}};
                    continue;
                }
                results[i] = compareOne(manualDir, files[i], staged, realCompiler);
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    return results;
}

QMap<QString, QString> readKnownDifferences(const QString& listFile, QString* problem) {
    QMap<QString, QString> known;
    QFile file(listFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = listFile + QStringLiteral(": cannot be read");
        return known;
    }
    int number = 0;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        ++number;
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype colon = line.indexOf(QStringLiteral(": issue "));
        if (colon < 0) {
            *problem = QStringLiteral("%1(%2): not \"path: issue N\"").arg(listFile).arg(number);
            return known;
        }
        known.insert(line.left(colon), line.mid(colon + 2));
    }
    return known;
}
