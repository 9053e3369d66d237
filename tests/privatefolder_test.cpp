// The journal folder holds copies of the user's sources, and the originals
// that recovery writes back over the user's files: fbext uses it only when it
// and the folders in it are the user's own and nobody else may write them,
// never follows a link there, and trusts no journal that is not the user's.

#include "digest.h"
#include "journalformat.h"
#include "sandbox.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Who owns what a case plants: the user the run runs as, or another one (root,
// when the run runs as nobody).
enum class Owner { Runner, Other };

bool mayPlantForOthers() {
    return ::geteuid() == 0;
}

void own(const QString& path, Owner owner) {
    if (::geteuid() != 0)
        return;
    const uint user = owner == Owner::Runner ? unprivilegedUser : 0;
    ASSERT_EQ(::lchown(QFile::encodeName(path).constData(), user, user), 0);
}

void makeFolder(const QString& path, mode_t mode, Owner owner) {
    ASSERT_TRUE(QDir().mkpath(path));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    own(path, owner);
}

void makeFile(const QString& path, const QByteArray& bytes, Owner owner) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    own(path, owner);
}

// A journal in folder whose original for target would, if trusted, overwrite
// what the user wrote there with "planted".
void plantJournal(const QString& folder, const QString& target, Owner owner) {
    const FileStamp identity = readFileStamp(target);
    const QByteArray manifest =
        manifestHeader() +
        originalRecord(0, FileTime(), contentDigest("planted\n"), identity, target) +
        writeRecord(0, contentDigest("mine\n")) + doneRecord(0);
    makeFile(QDir(folder).filePath(manifestName()), manifest, owner);
    makeFile(QDir(folder).filePath(originalCopyName(0)), "planted\n", owner);
}

// journals/run-1-1-1 below the journal folder data, with a planted journal.
void plantRunJournal(const QString& data, Owner journalsOwner, Owner runOwner, Owner filesOwner,
                     const QString& target) {
    const QString run = data + QStringLiteral("/journals/run-1-1-1");
    makeFolder(run, 0700, runOwner);
    makeFolder(data + QStringLiteral("/journals"), 0700, journalsOwner);
    plantJournal(run, target, filesOwner);
}

struct FolderCase {
    const char* name;
    const char* refused; // "folder: problem" (folder relative to the journal folder), or
                         // nullptr when the run goes on without what was planted
    bool plantsForOthers;
    void (*plant)(const QString& data, const QString& target);
};

void PrintTo(const FolderCase& test, std::ostream* out) {
    *out << test.name;
}

class JournalFolder : public testing::TestWithParam<FolderCase> {};

TEST_P(JournalFolder, IsUsedOnlyWhenItIsTheUsersOwn) {
    const FolderCase& test = GetParam();
    if (test.plantsForOthers && !mayPlantForOthers())
        GTEST_SKIP() << "only root can make files of another user";
    Sandbox sandbox;
    sandbox.writeFile(QStringLiteral("main.bas"), "print 1\n");
    sandbox.writeFile(QStringLiteral("target.bas"), "mine\n");
    QDir().mkpath(QFileInfo(sandbox.userDataDir()).absolutePath());
    sandbox.giveAway(true);
    const QString data = sandbox.userDataDir();
    test.plant(data, sandbox.path(QStringLiteral("target.bas")));
    sandbox.scriptCompiler("compiled\n");

    Launch launch;
    launch.unprivileged = true;
    launch.giveAway = false;
    const auto run = sandbox.start({QStringLiteral("main.bas")}, launch);
    ASSERT_TRUE(run->waitForFinished(30000));

    EXPECT_EQ(sandbox.readFile(QStringLiteral("target.bas")), QByteArray("mine\n"));
    EXPECT_EQ(sandbox.readFile(QStringLiteral("main.bas")), QByteArray("print 1\n"));
    const QByteArray said = run->readAllStandardError();
    if (test.refused) {
        const QByteArray refused(test.refused);
        const qsizetype colon = refused.indexOf(':');
        const QString folder =
            QDir::cleanPath(data + u'/' + QString::fromLatin1(refused.left(colon)));
        EXPECT_EQ(said, "fbext: cannot use " + QFile::encodeName(folder) +
                            " for the journal that protects your source files" +
                            refused.mid(colon) + "; nothing was rewritten or compiled\n")
            << said.constData();
        EXPECT_EQ(run->exitCode(), 1);
        EXPECT_TRUE(sandbox.calls().isEmpty()) << "the compiler was run";
    } else {
        EXPECT_EQ(said, QByteArray());
        EXPECT_EQ(run->exitCode(), 0);
        EXPECT_EQ(run->readAllStandardOutput(), "compiled\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    PrivateFolder, JournalFolder,
    testing::Values(
        FolderCase{"PlantedByAnotherUser", ".: it belongs to another user", true,
                   [](const QString& data, const QString& target) {
                       makeFolder(data, 0755, Owner::Other);
                       plantRunJournal(data, Owner::Other, Owner::Other, Owner::Other, target);
                   }},
        FolderCase{"ALink", ".: it is a symbolic link", false,
                   [](const QString& data, const QString& target) {
                       // Even a link to a folder of the user's own: the link
                       // itself could be anyone's doing.
                       const QString elsewhere =
                           QFileInfo(target).absolutePath() + QStringLiteral("/elsewhere");
                       makeFolder(elsewhere, 0700, Owner::Runner);
                       plantRunJournal(elsewhere, Owner::Runner, Owner::Runner, Owner::Runner,
                                       target);
                       ASSERT_TRUE(QFile::link(elsewhere, data));
                       own(data, Owner::Runner);
                   }},
        FolderCase{
            "OthersMayWrite", ".: other users may write to it", false,
            [](const QString& data, const QString&) { makeFolder(data, 0770, Owner::Runner); }},
        FolderCase{"JournalsOfAnotherUser", "journals: it belongs to another user", true,
                   [](const QString& data, const QString& target) {
                       makeFolder(data, 0700, Owner::Runner);
                       plantRunJournal(data, Owner::Other, Owner::Other, Owner::Other, target);
                   }},
        FolderCase{"JournalsOthersMayWrite", "journals: other users may write to it", false,
                   [](const QString& data, const QString&) {
                       makeFolder(data, 0700, Owner::Runner);
                       makeFolder(data + QStringLiteral("/journals"), 0777, Owner::Runner);
                   }},
        FolderCase{"KeptIsNotAFolder", "kept: it is not a folder", false,
                   [](const QString& data, const QString&) {
                       makeFolder(data, 0700, Owner::Runner);
                       makeFile(data + QStringLiteral("/kept"), "", Owner::Runner);
                   }},
        FolderCase{"AJournalOfAnotherUser", nullptr, true,
                   [](const QString& data, const QString& target) {
                       plantRunJournal(data, Owner::Runner, Owner::Other, Owner::Other, target);
                       makeFolder(data, 0700, Owner::Runner);
                   }},
        FolderCase{"AManifestOfAnotherUser", nullptr, true,
                   [](const QString& data, const QString& target) {
                       plantRunJournal(data, Owner::Runner, Owner::Runner, Owner::Other, target);
                       makeFolder(data, 0700, Owner::Runner);
                   }},
        FolderCase{"AJournalThatIsALink", nullptr, false,
                   [](const QString& data, const QString& target) {
                       const QString elsewhere =
                           QFileInfo(target).absolutePath() + QStringLiteral("/elsewhere");
                       makeFolder(elsewhere, 0700, Owner::Runner);
                       plantJournal(elsewhere, target, Owner::Runner);
                       makeFolder(data + QStringLiteral("/journals"), 0700, Owner::Runner);
                       makeFolder(data, 0700, Owner::Runner);
                       ASSERT_TRUE(
                           QFile::link(elsewhere, data + QStringLiteral("/journals/run-1-1-1")));
                       own(data + QStringLiteral("/journals/run-1-1-1"), Owner::Runner);
                   }}),
    [](const testing::TestParamInfo<FolderCase>& info) { return info.param.name; });

} // namespace
