#include "SettingsFixture.h"

#include "app/SettingsLocation.h"

#include <QDir>
#include <QSet>

namespace {

// Which settings file a copy of the program uses, by what exists beside it
// and what the user may write. Writability is given by the case, so that the
// table also holds when the suite runs as root (who may write anything).
struct TWhereCase {
    const char *name;
    bool fileBeside;       // Tuvanta.ini exists beside the program
    bool folderWritable;
    bool fileWritable;
    bool expectBeside;
    bool expectDefaults;   // the file beside supplies the defaults
};

void PrintTo(const TWhereCase &c, std::ostream *os)
{
    *os << c.name;
}

class SettingsWhere : public SettingsFixture, public ::testing::WithParamInterface<TWhereCase> {};

TEST_P(SettingsWhere, BesideTheProgramWhenItMayBeRewrittenElseTheUsersFolder)
{
    const TWhereCase &c = GetParam();
    const QString program = FilePath(QStringLiteral("program"));
    const QString config = FilePath(QStringLiteral("config/Tuvanta"));
    ASSERT_TRUE(QDir().mkpath(program));
    const QString beside = QDir(program).filePath(QStringLiteral("Tuvanta.ini"));
    if (c.fileBeside)
        WriteBytes(beside, "[Database]\nName=Sample.ad0\n");
    QSet<QString> writable;
    if (c.folderWritable)
        writable << program;
    if (c.fileWritable)
        writable << beside;

    const TSettingsLocation where = TSettingsLocation::Choose(
        program, QStringLiteral("Tuvanta.ini"), config,
        [&writable](const QString &path) { return writable.contains(path); });

    EXPECT_EQ(where.besideProgram, c.expectBeside);
    EXPECT_EQ(where.file, c.expectBeside ? beside : QDir(config).filePath(QStringLiteral("Tuvanta.ini")));
    EXPECT_EQ(where.defaults, c.expectDefaults ? beside : QString());
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsWhere, ::testing::Values(
    // A build folder or a portable copy: the file is made beside the program.
    TWhereCase{"no file, folder writable", false, true, false, true, false},
    TWhereCase{"file and folder writable", true, true, true, true, false},
    // An installed program.
    TWhereCase{"no file, folder read-only", false, false, false, false, false},
    TWhereCase{"read-only defaults beside", true, false, false, false, true},
    // Writable folder, read-only file: it was meant to stay as it is.
    TWhereCase{"read-only file in a writable folder", true, true, false, false, true},
    // The file alone is writable: the rename into the folder would fail.
    TWhereCase{"writable file in a read-only folder", true, false, true, false, true}),
    [](const auto &info) {
        std::string n = info.param.name;
        for (char &ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

TEST_F(SettingsFixture, UsersFileTakesMissingKeysFromTheDefaultsAndIsCreatedWithItsFolder)
{
    const QString program = FilePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(program));
    const QString defaults = QDir(program).filePath(QStringLiteral("Tuvanta.ini"));
    const QByteArray defaultsText = "; site defaults\n[Database]\nName=Sample.ad0\n[Generic]\nLanguage=Japanese\n"
                                    "[Communication]\nBaudRate=57600\n";
    WriteBytes(defaults, defaultsText);
    const QString user = FilePath(QStringLiteral("config/Tuvanta/Tuvanta.ini"));

    // First run: nothing of the user's yet; everything from the defaults.
    {
        TDMEnvironment env(TSettingsLocation{user, defaults, false}, QDir(program).filePath(QStringLiteral("Tuvanta")));
        EXPECT_EQ(env.SettingsPath(), user);
        EXPECT_EQ(env.DefaultsPath(), defaults);
        EXPECT_EQ(env.DatabaseName, QStringLiteral("Sample.ad0"));
        EXPECT_TRUE(env.Japanese);
        EXPECT_EQ(env.BaudRate, 57600);
        EXPECT_EQ(env.CommPort, 1) << "missing from both: the built-in default";
        EXPECT_EQ(env.PrinterSettingsPath(), FilePath(QStringLiteral("config/Tuvanta/Tuvanta.Printers.ini")));
        env.BaudRate = 19200;
        env.DatabaseName = QStringLiteral("Other.ad0");
    }
    ASSERT_TRUE(QFile::exists(user)) << "the folder is made on the first write";
    QFile d(defaults);
    ASSERT_TRUE(d.open(QIODevice::ReadOnly));
    EXPECT_EQ(d.readAll(), defaultsText) << "the defaults are never written";

    // The user's own values win over the defaults from then on, also where
    // the defaults change later.
    WriteBytes(defaults, "[Communication]\nBaudRate=4800\nCommPort=7\n");
    TDMEnvironment env(TSettingsLocation{user, defaults, false}, QDir(program).filePath(QStringLiteral("Tuvanta")));
    EXPECT_EQ(env.BaudRate, 19200);
    EXPECT_EQ(env.DatabaseName, QStringLiteral("Other.ad0"));
    EXPECT_EQ(env.CommPort, 1) << "written at the end of the first run, so the user's file has it";
}

TEST_F(SettingsFixture, LanguageFilesLieBesideTheProgramNotBesideTheUsersFile)
{
    const QString program = FilePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(program));
    const QString english = QStringLiteral(TUVANTA_BIN_DIR "/Tuvanta.ENU");
    ASSERT_TRUE(QFile::exists(english)) << "build the target tuvanta_translations";
    ASSERT_TRUE(QFile::copy(english, QDir(program).filePath(QStringLiteral("Tuvanta.ENU"))));
    const QString user = FilePath(QStringLiteral("config/Tuvanta.ini"));
    TDMEnvironment env(TSettingsLocation{user, QString(), false}, QDir(program).filePath(QStringLiteral("Tuvanta")));
    EXPECT_EQ(env.LanguageFile(), QDir(program).filePath(QStringLiteral("Tuvanta.ENU")));
}

} // namespace
