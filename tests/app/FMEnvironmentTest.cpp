#include "SettingsFixture.h"

#include "app/FMEnvironment.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

namespace {

class LevelDialog : public SettingsFixture, public ::testing::WithParamInterface<int> {};

TEST_P(LevelDialog, OffersTheLevelsAndPreselectsTheCurrentOne)
{
    TDMEnvironment env(Path());
    env.DisplayLevel = GetParam();
    TFMEnvironment dialog(env);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("パラメータ表示レベル"));
    EXPECT_EQ(dialog.grpLevel->title(), QStringLiteral("表示レベル"));
    QStringList entries;
    for (int i = 0; i < dialog.cmbLevel->count(); ++i)
        entries << dialog.cmbLevel->itemText(i);
    QStringList expected{"ベーシックレベル", "スタンダードレベル", "アドバンスドレベル"};
    if (GetParam() == dlService)
        expected << QStringLiteral("メーカエンジニアレベル");
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(dialog.cmbLevel->currentIndex(), GetParam());
    EXPECT_TRUE(dialog.grpLanguage->isHidden());
    EXPECT_EQ(dialog.grpLanguage->title(), QStringLiteral("使用言語"));
    EXPECT_EQ(dialog.cmbLanguage->count(), 2);
    EXPECT_EQ(dialog.btnOk->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.btnCancel->text(), QStringLiteral("キャンセル"));
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelDialog, ::testing::Values(dlBasic, dlStandard, dlAdvanced, dlService));

struct TChoiceCase {
    int start;
    int chosen;
    bool ok;
    int after;
};

void PrintTo(const TChoiceCase &c, std::ostream *os)
{
    *os << "level " << c.start << " choose " << c.chosen << (c.ok ? " OK" : " Cancel");
}

class LevelChoice : public SettingsFixture, public ::testing::WithParamInterface<TChoiceCase> {};

TEST_P(LevelChoice, OkTakesTheEntryAndCancelChangesNothing)
{
    const TChoiceCase c = GetParam();
    TDMEnvironment env(Path());
    env.DisplayLevel = c.start;
    TFMEnvironment dialog(env);
    dialog.show();
    dialog.cmbLevel->setCurrentIndex(c.chosen);
    (c.ok ? dialog.btnOk : dialog.btnCancel)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), c.ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(env.DisplayLevel, c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, LevelChoice, ::testing::Values(
    TChoiceCase{dlBasic, dlAdvanced, true, dlAdvanced},
    TChoiceCase{dlAdvanced, dlBasic, true, dlBasic},
    TChoiceCase{dlStandard, dlAdvanced, false, dlStandard},
    TChoiceCase{dlService, dlStandard, true, dlStandard},
    TChoiceCase{dlService, dlService, true, dlService},
    TChoiceCase{dlService, dlBasic, false, dlService}));

} // namespace
