// Where the programs keep their files: a portable copy keeps them beside its
// executables, an installed copy in the machine-wide folder (from the
// configuration file) with its shipped files from the data folder. A folder
// shared by a group gets group-writable files, and a user outside the group is
// told so before anything is written.
#include "AppSub.h"
#include "DB.h"
#include "ProgramFolder.h"
#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>

namespace {

void touch(const QString& path, const QByteArray& content = {}) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(content);
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode;
}

struct DecideCase {
    const char* name;
    bool masterBesideExecutables;
    const char* conf; // nullptr: no configuration file
    const char* expectedFolder; // "@" stands for the temporary root
    bool installed;
};

void PrintTo(const DecideCase& c, std::ostream* os) { *os << c.name; }

class Decide : public testing::TestWithParam<DecideCase> {};

TEST_P(Decide, ChoosesTheFolderFromTheLayoutAndTheConfigurationFile) {
    const DecideCase& c = GetParam();
    QTemporaryDir root;
    const QString stage = root.path();
    touch(stage + "/usr/share/zentry01/UserData.org");
    if (c.masterBesideExecutables)
        touch(stage + "/usr/bin/Quillon01.mst");
    const QString conf = stage + "/etc/zentry01/zentry01.conf";
    if (c.conf)
        touch(conf, QByteArray(c.conf).replace("@", stage.toUtf8()));

    const ProgramFolder::Choice choice = ProgramFolder::decide(stage + "/usr/bin", conf, stage + "/var/lib/zentry01");
    EXPECT_EQ(choice.installed, c.installed);
    EXPECT_EQ(choice.folder, QString::fromUtf8(c.expectedFolder).replace("@", stage));
    EXPECT_EQ(choice.sharedData, c.installed ? stage + "/usr/share/zentry01/" : stage + "/usr/bin/");
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, Decide,
    testing::Values(
        DecideCase{"PortableCopyKeepsItsOwnFolder", true, "folder=@/srv/elsewhere\n", "@/usr/bin/", false},
        DecideCase{"InstalledWithoutConfiguration", false, nullptr, "@/var/lib/zentry01/", true},
        DecideCase{"InstalledWithTheSampleConfiguration", false, "# folder=/nowhere\n#folder=@/x\n\n",
                   "@/var/lib/zentry01/", true},
        DecideCase{"ConfigurationNamesTheFolder", false, "# shared\n  Folder = @/srv/zentry  \n", "@/srv/zentry/",
                   true},
        DecideCase{"LastNamedFolderWins", false, "folder=@/a\nfolder=@/b/\n", "@/b/", true},
        DecideCase{"RelativeFolderIsIgnored", false, "folder=data/zentry\n", "@/var/lib/zentry01/", true},
        DecideCase{"OtherKeysAreIgnored", false, "folders=@/a\nuser_db=@/b\n", "@/var/lib/zentry01/", true}),
    [](const testing::TestParamInfo<DecideCase>& info) { return std::string(info.param.name); });

// A folder as the package creates it: set-group-ID, group-writable.
class SharedFolder : public testing::Test {
protected:
    void SetUp() override {
        m_umask = ::umask(022);
        ::umask(022); // a usual login umask: group writes must come from the programs
        ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 02770), 0);
        setProgramFolder(folder.path()); // as the programs do when they start
    }
    void TearDown() override {
        ProgramFolder::setIdentityForCheck(std::nullopt);
        ::umask(m_umask);
    }
    TestFolder folder;
    mode_t m_umask = 022;
};

TEST_F(SharedFolder, EveryFileTheProgramsCreateIsGroupWritable) {
    // The shipped template is read-only for everyone, as under /usr/share.
    QFile::setPermissions(folder.file("UserData.org"), QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                            QFileDevice::ReadOther);
    CDB user;
    user.OpenUser();
    AppSub::WriteProfileString("mst_path", folder.file("Quillon01.mst"));
    const QString analysis = AppSub::AnalysisFolder(true);
    touch(analysis + "/probe.csv");

    for (const char* name : {"UserData.mdb", "UserData.mdb-wal", "UserData.mdb-shm", "Quillon01.ini"}) {
        const QString path = folder.file(name);
        ASSERT_TRUE(QFileInfo::exists(path)) << name;
        EXPECT_EQ(modeOf(path) & 060, 060u) << name << " is not group read-write";
    }
    EXPECT_EQ(modeOf(analysis) & (S_ISGID | 070), mode_t(S_ISGID | 070)) << "the analysis folder";
    EXPECT_EQ(modeOf(analysis + "/probe.csv") & 060, 060u) << "an analysis file";
    user.Close();
}

struct AccessCase {
    const char* name;
    bool member;
    bool allowed;
};

void PrintTo(const AccessCase& c, std::ostream* os) { *os << c.name; }

class Access : public SharedFolder, public testing::WithParamInterface<AccessCase> {};

TEST_P(Access, OnlyTheGroupsMembersMayWrite) {
    const AccessCase& c = GetParam();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(folder.path()).constData(), &st), 0);
    ProgramFolder::Identity who;
    who.uid = 54321; // neither root nor the folder's owner
    if (c.member)
        who.groups << 54320 << uint(st.st_gid);
    else
        who.groups << 54320;
    ProgramFolder::setIdentityForCheck(who);

    const QString problem = ProgramFolder::writeProblem(programFolder());
    if (c.allowed) {
        EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
        return;
    }
    const struct group* g = ::getgrgid(st.st_gid);
    const QString group = g ? QString::fromLocal8Bit(g->gr_name) : QString::number(st.st_gid);
    EXPECT_TRUE(problem.contains(QDir::cleanPath(folder.path()))) << problem.toStdString();
    EXPECT_TRUE(problem.contains(QStringLiteral("グループ %1 に加えて").arg(group))) << problem.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Users, Access,
                         testing::Values(AccessCase{"Member", true, true},
                                         AccessCase{"Stranger", false, false}),
                         [](const testing::TestParamInfo<AccessCase>& info) { return std::string(info.param.name); });

TEST(ProgramFolderProblem, AMissingFolderIsNamed) {
    QTemporaryDir root;
    const QString missing = root.path() + "/var/lib/zentry01";
    const QString problem = ProgramFolder::writeProblem(missing);
    EXPECT_TRUE(problem.contains(missing + QStringLiteral(" がありません"))) << problem.toStdString();
}

} // namespace
