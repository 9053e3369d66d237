#include "snapshotregistry.h"
#include "sourcefile.h"
#include "sourcepass.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Folder {
    QTemporaryDir temporary;
    QString path(const QString& name) const {
        return QDir::cleanPath(QDir(temporary.path()).filePath(name));
    }
    void write(const QString& name, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        ASSERT_TRUE(writeFileBytes(path(name), bytes));
    }
    QByteArray read(const QString& name) const { return readFileBytes(path(name)).value_or("?"); }
    QString key(const QString& name) const { return canonicalSourcePath(path(name)); }
};

TEST(IncludeLine, RecognisesOnlyIncludeOnceWithAQuotedName) {
    const QString dir = QStringLiteral("/src/");
    struct Case {
        const char* line;
        const char* path; // empty: not followed
    };
    const Case cases[] = {
        {"#include once \"list.bi\"", "/src/list.bi"},
        {"  #INCLUDE ONCE \"list.bi\"", "/src/list.bi"},
        {"#include once \"lib/list.bi\" ' comment", "/src/lib/list.bi"},
        {"#include \"list.bi\"", ""},
        {"#include\tonce \"list.bi\"", ""},
        {"#include once", ""},
        {"#include once \"\"", ""},
        {"#include once list.bi", ""},
        {"#include once \"/abs/list.bi\"", "/abs/list.bi"},
#ifndef Q_OS_WIN
        {"#include once \"lib\\list.bi\"", "/src/lib/list.bi"},
#endif
    };
    for (const Case& c : cases)
        EXPECT_EQ(includedPath(QString::fromLatin1(c.line), dir), QString::fromLatin1(c.path))
            << c.line;
}

TEST(IncludeLine, DirectoryIsThePathUpToItsLastSeparator) {
    EXPECT_EQ(includeDirectory(QStringLiteral("C:\\src\\main.bas")), QStringLiteral("C:\\src\\"));
    EXPECT_EQ(includeDirectory(QStringLiteral("/src/main.bas")), QStringLiteral("/src/"));
    EXPECT_EQ(includeDirectory(QStringLiteral("a\\b/main.bas")), QStringLiteral("a\\b/"));
    EXPECT_EQ(includeDirectory(QStringLiteral("main.bas")), QDir::currentPath());
}

TEST(SourcePass, WritesAnEmptyInstanceLineOnTopAndKeepsTheFinalLineFeed) {
    Folder folder;
    folder.write(QStringLiteral("main.bas"), "print 1\r\nprint 2\n");
    SnapshotRegistry registry;
    registry.registerSource(folder.path(QStringLiteral("main.bas")), "print 1\r\nprint 2\n");
    expandTemplates(folder.path(QStringLiteral("main.bas")),
                    folder.path(QStringLiteral("main.bas")), registry);
    EXPECT_EQ(folder.read(QStringLiteral("main.bas")),
              sourceBytesFromText(QStringLiteral("\nprint 1\nprint 2\n")));
}

TEST(SourcePass, FollowsIncludesDepthFirstAndEachFileOnce) {
    Folder folder;
    folder.write(QStringLiteral("main.bas"), "#include once \"a.bi\"\n"
                                             "#include once \"lib/b.bi\"\n"
                                             "#include once \"a.bi\"\n"
                                             "#include once \"missing.bi\"\n"
                                             "#include \"c.bi\"\n");
    folder.write(QStringLiteral("a.bi"), "#include once \"lib/b.bi\"\n");
    folder.write(QStringLiteral("lib/b.bi"), "#include once \"d.bi\"\n");
    folder.write(QStringLiteral("lib/d.bi"), "d\n");
    folder.write(QStringLiteral("c.bi"), "c\n");
    const QString main = folder.path(QStringLiteral("main.bas"));
    SnapshotRegistry registry;
    expandTemplates(main, main, registry);

    const QStringList expected = {
        folder.key(QStringLiteral("main.bas")), folder.key(QStringLiteral("a.bi")),
        folder.key(QStringLiteral("lib/b.bi")), folder.key(QStringLiteral("lib/d.bi"))};
    EXPECT_EQ(registry.touchedFiles, expected);
    EXPECT_EQ(folder.read(QStringLiteral("c.bi")), QByteArray("c\n"));
    EXPECT_EQ(folder.read(QStringLiteral("lib/d.bi")),
              sourceBytesFromText(QStringLiteral("\nd\n")));
}

TEST(SourcePass, AFileReachedUnderTwoSpellingsIsExpandedOnce) {
    Folder folder;
    folder.write(QStringLiteral("sub/main.bas"), "#include once \"../sub/./x.bi\"\n"
                                                 "#include once \"x.bi\"\n");
    folder.write(QStringLiteral("sub/x.bi"), "x\n");
    const QString main = folder.path(QStringLiteral("sub/main.bas"));
    SnapshotRegistry registry;
    expandTemplates(main, main, registry);
    EXPECT_EQ(registry.touchedFiles.count(folder.key(QStringLiteral("sub/x.bi"))), 1);
    EXPECT_EQ(registry.touchedFiles.size(), 2);
    EXPECT_EQ(registry.originalTexts.value(folder.key(QStringLiteral("sub/x.bi"))).bytes,
              QByteArray("x\n"));
}

} // namespace
