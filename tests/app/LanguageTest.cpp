#include "SettingsFixture.h"

#include "app/FMEnvironment.h"

#include <QCoreApplication>
#include <QPushButton>

namespace {

// The English language file the build puts beside the program.
QString BuiltEnglishFile()
{
    return QStringLiteral(TUVANTA_BIN_DIR "/Tuvanta.ENU");
}

QString Translated()
{
    return QCoreApplication::translate("TFMEnvironment", "表示レベル");
}

class Language : public SettingsFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::exists(BuiltEnglishFile())) << "build the target tuvanta_translations";
    }
    void Put(const char *ext) const
    {
        ASSERT_TRUE(QFile::copy(BuiltEnglishFile(), FilePath(QStringLiteral("Tuvanta.") + QLatin1String(ext))));
    }
    void PutJunk(const char *ext) const
    {
        WriteBytes(FilePath(QStringLiteral("Tuvanta.") + QLatin1String(ext)), "not a translation");
    }
    void SetJapanese(bool japanese) const
    {
        WriteSettings(japanese ? QStringLiteral("[Generic]\nLanguage=Japanese\n")
                               : QStringLiteral("[Generic]\nLanguage=English\n"));
    }
    QString Loaded(const TDMEnvironment &env) const
    {
        return env.LanguageFile().isEmpty() ? QString() : QFileInfo(env.LanguageFile()).suffix();
    }
};

TEST_F(Language, WithoutAFileTheJapaneseTextsApply)
{
    for (bool japanese : {false, true}) {
        SetJapanese(japanese);
        TDMEnvironment env(Path());
        EXPECT_TRUE(env.LanguageFile().isEmpty());
        EXPECT_EQ(Translated(), QStringLiteral("表示レベル"));
        TFMEnvironment dialog(env);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("パラメータ表示レベル"));
    }
}

TEST_F(Language, EnglishFileIsInstalledForTheRunOfTheModule)
{
    SetJapanese(false);
    Put("ENU");
    {
        TDMEnvironment env(Path());
        EXPECT_EQ(Loaded(env), QStringLiteral("ENU"));
        EXPECT_EQ(Translated(), QStringLiteral("Display level"));
        TFMEnvironment dialog(env);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Parameter Display Level"));
        EXPECT_EQ(dialog.btnCancel->text(), QStringLiteral("Cancel"));
    }
    EXPECT_EQ(Translated(), QStringLiteral("表示レベル"));
}

struct TPickCase {
    bool japanese;
    std::vector<const char *> valid;
    std::vector<const char *> junk;
    const char *expected;    // "" : none loads
};

void PrintTo(const TPickCase &c, std::ostream *os)
{
    *os << (c.japanese ? "Japanese" : "English") << " valid:";
    for (const char *e : c.valid)
        *os << " " << e;
    *os << " junk:";
    for (const char *e : c.junk)
        *os << " " << e;
}

class LanguagePick : public Language, public ::testing::WithParamInterface<TPickCase> {};

TEST_P(LanguagePick, ThreeLettersBeforeTwoAndOnlyFilesThatLoad)
{
    const TPickCase c = GetParam();
    SetJapanese(c.japanese);
    for (const char *ext : c.valid)
        Put(ext);
    for (const char *ext : c.junk)
        PutJunk(ext);
    TDMEnvironment env(Path());
    EXPECT_EQ(Loaded(env), QLatin1String(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, LanguagePick, ::testing::Values(
    TPickCase{true, {"JPN", "JP"}, {}, "JPN"},
    TPickCase{true, {"JP"}, {}, "JP"},
    TPickCase{true, {"JP"}, {"JPN"}, "JP"},
    TPickCase{true, {}, {"JPN", "JP"}, ""},
    TPickCase{true, {"ENU", "EN"}, {}, ""},
    TPickCase{false, {"ENU", "EN"}, {}, "ENU"},
    TPickCase{false, {"EN"}, {}, "EN"},
    TPickCase{false, {"JPN"}, {}, ""},
    // Not tempted by other names that a loose lookup would try.
    TPickCase{false, {"qm", "ENU.qm"}, {}, ""}));

} // namespace
