// The multi-monitor and its settings window against the simulator.
#include "Shots.h"
#include "SimFixture.h"
#include "support/MessageRecorder.h"

#include "monitor/FMMonitorGrid.h"
#include "monitor/FMMultiMonitor.h"
#include "monitor/FMMultiMonitorSet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

void Settle(int ms = 30)
{
    QElapsedTimer t;
    t.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    while (t.elapsed() < ms);
}

class MultiMonitor : public TSimFixture
{
protected:
    void Slot(int slot, bool shown, int axis, int page) { env->SetMultiMonitorCell(slot, {shown, axis, page}); }
    std::unique_ptr<TFMMultiMonitor> Open()
    {
        auto w = std::make_unique<TFMMultiMonitor>(*ctx);
        w->show();
        Settle();
        return w;
    }
    // One full round of the sixteen slots.
    static void Round(TFMMultiMonitor &w)
    {
        for (int i = 0; i < TDMMultiMonitor::SlotCount; ++i)
            w.Tick();
    }
    static QStringList Row(TFMMultiMonitor &w, int slot)
    {
        QStringList cells;
        for (int c = 0; c < TDMMultiMonitor::ColumnCount; ++c)
            cells << w.Grid().Cell(slot, c);
        return cells;
    }
    static void Choose(QComboBox *box, int value)
    {
        box->setCurrentIndex(box->findData(value));
        emit box->activated(box->currentIndex());
    }
    TMessageRecorder messages;
};

TEST_F(MultiMonitor, ShowsEachSlotsItemFromItsOwnAxis)
{
    Poke(2, 0xF84A4, QByteArray::fromHex("030001"));
    ASSERT_EQ(Control("monitor 1 VFB -1500"), "");
    ASSERT_EQ(Control("monitor 2 VFB 25"), "");
    ASSERT_EQ(Control("monitor 1 MODE 2"), "");
    ASSERT_EQ(Control("monitor 2 VDSP -1500"), "");
    Slot(0, true, 6, 0x00);   // an axis not in use
    Slot(1, true, 1, 0x00);
    Slot(2, true, 1, 0x0B);   // a byte at an odd address
    Slot(3, true, 1, 0x00);   // the same item twice
    Slot(4, false, 1, 0x00);  // not shown
    Slot(5, true, 2, 0x0E);   // scaled by axis 2's settings
    Slot(6, true, 2, 0x00);
    Slot(7, true, 5, 0x00);   // a model the database does not know
    Slot(8, true, 4, 0x7F);   // a page the model does not have
    auto w = Open();
    Round(*w);
    const QStringList empty = {"", "", "", "", "", ""};
    EXPECT_EQ(Row(*w, 0), QStringList{" 0"} + empty);
    EXPECT_EQ(Row(*w, 1), (QStringList{" 1", "#1", "00", "VFB", "速度フィードバック", "-1500", "min-1"}));
    EXPECT_EQ(Row(*w, 2)[TDMMultiMonitor::colNow], "トルク");
    EXPECT_EQ(Row(*w, 3)[TDMMultiMonitor::colNow], "-1500");
    EXPECT_EQ(Row(*w, 4), QStringList{" 4"} + empty);
    EXPECT_EQ(Row(*w, 5)[TDMMultiMonitor::colNow], "-1.500");
    EXPECT_EQ(Row(*w, 5)[TDMMultiMonitor::colUnit], "mm/s");
    EXPECT_EQ(Row(*w, 6)[TDMMultiMonitor::colAxis], "#2");
    EXPECT_EQ(Row(*w, 6)[TDMMultiMonitor::colNow], "25");
    EXPECT_EQ(Row(*w, 7), QStringList{" 7"} + empty);
    EXPECT_EQ(Row(*w, 8), QStringList{" 8"} + empty);
    EXPECT_EQ(Row(*w, 15), QStringList{"15"} + empty);
    EXPECT_TRUE(messages.entries.isEmpty());
    EXPECT_TRUE(w->Running());
    Shot(w.get(), QStringLiteral("multimonitor"));
}

TEST_F(MultiMonitor, OneSlotPerTickRoundRobin)
{
    Slot(2, true, 1, 0x00);
    Slot(9, true, 2, 0x00);
    auto w = Open();
    w->tmrAmpRead->stop();
    // Opening read slot 2; the next ticks read 9, then 2 again.
    EXPECT_EQ(w->CurrentSlot(), 3);
    w->Tick();
    EXPECT_EQ(w->CurrentSlot(), 10);
    w->Tick();
    EXPECT_EQ(w->CurrentSlot(), 3);
    EXPECT_TRUE(w->tmrAmpRead->isActive());
}

TEST_F(MultiMonitor, SilentAxisEmptiesItsRowsAndTheOthersGoOn)
{
    ASSERT_EQ(Control("monitor 2 VFB 77"), "");
    Slot(0, true, 1, 0x00);
    Slot(1, true, 2, 0x00);
    auto w = Open();
    Round(*w);
    ASSERT_EQ(Row(*w, 0)[TDMMultiMonitor::colAxis], "#1");
    ASSERT_EQ(Control("fault 1 silent"), "");
    Round(*w);
    Round(*w);
    EXPECT_EQ(Row(*w, 0), (QStringList{" 0", "", "", "", "", "", ""}));
    EXPECT_EQ(Row(*w, 1)[TDMMultiMonitor::colNow], "77");
    EXPECT_EQ(messages.Count(TMsgKind::Warning), 1);
    EXPECT_TRUE(w->Running());
}

TEST_F(MultiMonitor, SettingsAreKeptByTheSettingsModuleAcrossARestart)
{
    TMonitorTables tables;
    ASSERT_TRUE(tables.Open(intf, true));
    {
        TFMMultiMonitorSet set(*ctx, tables);
        set.show();
        // Axis list: the axes in use.
        QStringList axes;
        for (int i = 0; i < set.cmbbxAxis[0]->count(); ++i)
            axes << set.cmbbxAxis[0]->itemText(i);
        EXPECT_EQ(axes, (QStringList{"#1", "#2", "#3", "#4", "#5"}));
        EXPECT_FALSE(set.cmbbxAxis[2]->isEnabled());
        set.chkbxNo[2]->setChecked(true);
        EXPECT_TRUE(set.cmbbxAxis[2]->isEnabled());
        Choose(set.cmbbxAxis[2], 3);
        ASSERT_GT(set.cmbbxParam[2]->count(), 10);
        EXPECT_EQ(set.cmbbxParam[2]->itemText(0), "00\tVFB\t速度フィードバック");
        Choose(set.cmbbxParam[2], 0x0E);
        set.chkbxNo[7]->setChecked(true);
        Choose(set.cmbbxAxis[7], 1);
        Choose(set.cmbbxParam[7], 0x1A);
        Shot(&set, QStringLiteral("multimonitorset"));
        set.buttons->button(QDialogButtonBox::Ok)->click();
        EXPECT_EQ(set.result(), QDialog::Accepted);
    }
    ASSERT_TRUE(env->Save());
    // A settings module started afresh from the file.
    TDMEnvironment restarted(env->SettingsPath());
    EXPECT_EQ(restarted.MultiMonitorCell(2), (TMultiMonitorCell{true, 3, 0x0E}));
    EXPECT_EQ(restarted.MultiMonitorCell(7), (TMultiMonitorCell{true, 1, 0x1A}));
    EXPECT_EQ(restarted.MultiMonitorCell(0), (TMultiMonitorCell{false, -1, -1}));
}

TEST_F(MultiMonitor, ShownSlotWithoutAnItemKeepsTheSettingsWindowOpen)
{
    Slot(5, true, 1, 0x00);
    TMonitorTables tables;
    ASSERT_TRUE(tables.Open(intf, true));
    TFMMultiMonitorSet set(*ctx, tables);
    set.show();
    // The stored choice shows.
    EXPECT_TRUE(set.chkbxNo[5]->isChecked());
    EXPECT_EQ(set.cmbbxParam[5]->currentData().toInt(), 0);
    set.chkbxNo[3]->setChecked(true);
    Choose(set.cmbbxAxis[3], 2);
    set.chkbxNo[9]->setChecked(true);
    // Choosing another axis forgets the item.
    Choose(set.cmbbxAxis[5], 2);
    EXPECT_EQ(set.cmbbxParam[5]->currentIndex(), -1);
    set.buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_TRUE(set.isVisible());
    ASSERT_EQ(messages.entries.size(), 1);
    EXPECT_EQ(messages.entries[0].text, "No. 3 の軸番号と表示パラメータを選択してください。\r\n"
                                        "No. 5 の軸番号と表示パラメータを選択してください。\r\n"
                                        "No. 9 の軸番号と表示パラメータを選択してください。");
    EXPECT_EQ(env->MultiMonitorCell(5), (TMultiMonitorCell{true, 1, 0x00}));
    set.buttons->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(env->MultiMonitorCell(3), (TMultiMonitorCell{}));
}

TEST_F(MultiMonitor, SettingsButtonPausesAndResumesWithTheNewSlots)
{
    auto w = Open();
    bool pausedWhileOpen = false;
    w->RunSettings = [&] {
        pausedWhileOpen = !w->Running() && !w->tmrAmpRead->isActive();
        env->SetMultiMonitorCell(4, {true, 1, 0x00});
    };
    w->btnSetting->click();
    EXPECT_TRUE(pausedWhileOpen);
    EXPECT_TRUE(w->Running());
    EXPECT_EQ(Row(*w, 4)[TDMMultiMonitor::colSymbol], "VFB");
}

} // namespace
