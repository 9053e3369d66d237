// The rewritten texts of generated projects, pinned by a digest.
//
// Each project is expanded the way the installed program expands `fbc main.bas`
// in the project folder; every file it rewrote is read before the restore, and
// the SHA-256 of all those texts is compared with the digest recorded when the
// output was last known good. Any change to what the passes write, however
// small, changes the digest, so a rework for speed cannot slip a different
// byte through. When the output changes on purpose, the new digest is printed
// by the failing test and recorded here in a commit that says why.

#include "currentdirectory.h"
#include "pipeline.h"
#include "projectgenerator.h"
#include "snapshotregistry.h"
#include "sourcefile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct GoldenCase {
    qint64 lines;
    const char* digest; // SHA-256 of the rewritten project, hex
};

const GoldenCase goldenCases[] = {
    {2000, "576903699801e50fa697d3b53686e8898521b12b6b871dea866b3f628a6842c9"},
    {20000, "c925333656dda6bf5bfdbe290f5cd43bc645edf83027010a6bda30aa12f5703d"},
};

// The digest of every rewritten file, in the order the files were first
// touched, each under its name relative to the folder. Included files are
// named in "#line" directives by their absolute path, which holds the
// temporary folder's name; that part is written as "<project>".
QByteArray rewrittenDigest(SnapshotRegistry& registry, const QString& folder) {
    const QByteArray canonical = QFile::encodeName(QFileInfo(folder).canonicalFilePath());
    const QByteArray plain = QFile::encodeName(QDir::cleanPath(folder));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QStringList seen;
    for (const QString& path : registry.touchedFiles()) {
        if (seen.contains(path))
            continue;
        seen.append(path);
        QByteArray bytes = readFileBytes(path).value_or(QByteArray("<unreadable>"));
        bytes.replace(canonical, "<project>").replace(plain, "<project>");
        hash.addData(QFile::encodeName(QDir(folder).relativeFilePath(path)));
        hash.addData(QByteArrayView("\0", 1));
        hash.addData(bytes);
        hash.addData(QByteArrayView("\0", 1));
    }
    return hash.result().toHex();
}

// Each project twice: as a run expands it, and with every included file
// instantiated on the pass's own thread and every text split over two.
TEST(GoldenTest, GeneratedProjectsAreRewrittenToTheRecordedBytesAndRestored) {
    for (const GoldenCase& golden : goldenCases)
        for (const qsizetype besideFromBytes : {TemplateRun().besideFromBytes, qsizetype(0)}) {
            SCOPED_TRACE(golden.lines);
            SCOPED_TRACE(besideFromBytes);
            const GeneratedProject project = generateProject(golden.lines);
            QTemporaryDir temporary;
            ASSERT_TRUE(temporary.isValid());
            const QString folder = QFileInfo(temporary.path()).canonicalFilePath();
            ASSERT_TRUE(writeProject(project, folder));

            CurrentDirectory inFolder(folder);
            SnapshotRegistry registry;
            TemplateRun run;
            run.besideFromBytes = besideFromBytes;
            if (besideFromBytes == 0)
                run.splitFromBytes = 0;
            ASSERT_TRUE(rewriteSourceFile(QStringLiteral("main.bas"), registry, run));
            const QStringList touched = registry.touchedFiles();
            ASSERT_EQ(QSet<QString>(touched.cbegin(), touched.cend()).size(), project.files.size())
                << "every generated file is reached from main.bas";

            EXPECT_EQ(rewrittenDigest(registry, folder).toStdString(), std::string(golden.digest));

            EXPECT_TRUE(registry.restoreSources().isComplete());
            for (const GeneratedFile& file : project.files)
                EXPECT_EQ(readFileBytes(QDir(folder).filePath(file.name)), file.bytes)
                    << file.name.toStdString();
        }
}

} // namespace
