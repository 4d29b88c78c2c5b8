// The display settings of the frequency-response window.
#include "app/DMEnvironment.h"
#include "sysanalysis/FMMachineColor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(MachineColor, LoadsClampedAndStoresOnOkOnly)
{
    QTemporaryDir dir;
    TDMEnvironment env(dir.filePath(QStringLiteral("t.ini")));
    env.Gain = {clBlue, 9, 3};
    env.Phase = {clRed, 0, 7};
    env.SetAnalysisCursor(1, {clLime, 4});
    env.SetAnalysisCursor(2, {clAqua, -2});
    {
        TFMMachineColor d(env);
        // Widths outside 1 to 5 show as 1.
        EXPECT_EQ(d.edtWidth[0]->value(), 1);
        EXPECT_EQ(d.edtWidth[1]->value(), 1);
        EXPECT_EQ(d.edtWidth[2]->value(), 4);
        EXPECT_EQ(d.edtWidth[3]->value(), 1);
        EXPECT_EQ(d.cmbMark[0]->currentIndex(), 3);
        EXPECT_EQ(d.cmbMark[1]->currentIndex(), 7);
        EXPECT_EQ(d.colors[0], QColor(0, 0, 255));
        d.edtWidth[0]->setValue(5);
        d.reject();
    }
    EXPECT_EQ(env.Gain.width, 9);
    {
        TFMMachineColor d(env);
        d.SetColor(1, QColor(1, 2, 3));
        d.edtWidth[2]->setValue(2);
        d.cmbMark[0]->setCurrentIndex(5);
        d.chkGray->setChecked(true);
        d.accept();
    }
    EXPECT_EQ(env.Phase.color, ColorFromRgb(1, 2, 3));
    EXPECT_EQ(env.Phase.width, 1);
    EXPECT_EQ(env.Gain.mark, 5);
    EXPECT_EQ(env.AnalysisCursor(1).width, 2);
    EXPECT_EQ(env.AnalysisCursor(1).color, clLime);
    EXPECT_TRUE(env.GrayScale);
}

} // namespace
