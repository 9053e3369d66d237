// Line mapping on generated projects: the file the compiler is handed, with
// its "#line" directives taken out, is exactly the text the passes produce,
// and read back the way the compiler reads it, every line is numbered as the
// line it came from.

#include "currentdirectory.h"
#include "linenumbering.h"
#include "pipeline.h"
#include "projectgenerator.h"
#include "snapshotregistry.h"
#include "sourcefile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(LineMapping, GeneratedProjectsKeepTheirTextAndTheirNumbers) {
    for (qint64 size : {3000, 12000}) {
        SCOPED_TRACE(size);
        QTemporaryDir folder;
        ASSERT_TRUE(writeProject(generateProject(size), folder.path()));
        const CurrentDirectory inProject(folder.path());
        const QString main = QStringLiteral("main.bas");

        // What the passes produce, and the file the program writes from it.
        SnapshotRegistry registry;
        MappedText rewritten;
        ASSERT_TRUE(rewriteSourceFile(main, registry, &rewritten));
        const QByteArray written = readFileBytes(main).value_or(QByteArray());

        EXPECT_EQ(withoutLineDirectives(written), rewritten.text);
        const QList<NumberedLine> numbered = numberLines(written, main);
        ASSERT_EQ(numbered.size(), rewritten.origins.size());
        int checked = 0;
        for (qsizetype i = 0; i < numbered.size(); ++i) {
            const LineOrigin& origin = rewritten.origins[i];
            if (!origin.isKnown() || numbered[i].text.trimmed().isEmpty())
                continue;
            ASSERT_EQ(numbered[i].file, origin.file())
                << i << ": " << numbered[i].text.toStdString();
            ASSERT_EQ(numbered[i].line, origin.line) << i << ": " << numbered[i].text.toStdString();
            ++checked;
        }
        EXPECT_GT(checked, size / 2);
        EXPECT_TRUE(registry.restoreSources().isComplete());
    }
}

} // namespace
