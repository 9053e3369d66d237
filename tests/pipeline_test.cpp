// The write at the end of the pipeline: a file's rewritten text goes in with
// its byte order mark, and a text the passes left as it was is not written.

#include "filetime.h"
#include "pipeline.h"
#include "qtprinting.h"
#include "snapshotregistry.h"
#include "sourcefile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

MappedText linesOf(const QByteArray& text, const QString& file) {
    MappedTextBuilder builder;
    int number = 0;
    for (const QByteArray& line : text.split('\n'))
        builder.add(line, LineOrigin(file, ++number));
    return builder.take();
}

// Whatever its line ends or mark, a file whose text comes back unchanged is
// not written: not even its change time moves, and the restore leaves it be.
TEST(Pipeline, AFileWhoseTextIsUnchangedIsNotWritten) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("plain.bi"));
    for (const QByteArray& bytes :
         {QByteArray("print 1\n"), QByteArray("print 1\r\n"), QByteArray("print 1\r"),
          QByteArray("\xef\xbb\xbfprint 1\n"), QByteArray("print 1\n\0junk", 13)}) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        ASSERT_TRUE(writeFileBytes(path, bytes));
        const FileStamp before = readFileStamp(path);
        SnapshotRegistry registry;
        registry.registerSource(path, bytes);
        const RewrittenFile file{
            path, path, bytes, bytes.startsWith("\xef") ? SourceForm::Utf8Mark : SourceForm::Bytes};
        EXPECT_FALSE(writeRewrittenFile(registry, file, linesOf("print 1\n", path)));
        EXPECT_TRUE(readFileStamp(path).sameAs(before));
        EXPECT_TRUE(registry.restoreSources().isComplete());
        EXPECT_TRUE(readFileStamp(path).sameAs(before));
    }
}

// A changed text is written, its byte order mark first, and put back after.
TEST(Pipeline, AChangedTextIsWrittenWithItsMark) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("main.bas"));
    const QByteArray original = "\xef\xbb\xbfprint 1\r\n";
    ASSERT_TRUE(writeFileBytes(path, original));
    SnapshotRegistry registry;
    registry.registerSource(path, original);
    EXPECT_TRUE(writeRewrittenFile(registry,
                                   RewrittenFile{path, path, original, SourceForm::Utf8Mark},
                                   linesOf("print 2\n", path)));
    EXPECT_EQ(readFileBytes(path), QByteArray("\xef\xbb\xbfprint 2\n"));
    EXPECT_TRUE(registry.restoreSources().isComplete());
    EXPECT_EQ(readFileBytes(path), original);
}

} // namespace
