// The general parameter window while a series runs: what the user does then
// must change nothing (a tab switch during a write once indexed past the
// filtered rows).
#include "Keys.h"
#include "SimFixture.h"
#include "support/MessageRecorder.h"

#include "app/Busy.h"
#include "params/FMUserParameter.h"
#include "params/FMUserParameterEdit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

void Settle(int ms = 50)
{
    QElapsedTimer t;
    t.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    while (t.elapsed() < ms);
}

void ClickAt(QWidget *w, QPoint at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

class ParamsReentry : public TSimFixture
{
protected:
    std::unique_ptr<TFMUserParameter> Open()
    {
        ctx->online = [this] { return !wentOffline; };
        auto w = std::make_unique<TFMUserParameter>(*ctx);
        w->show();
        Settle();
        return w;
    }

    // During the next transaction: clicks on the second tab and on the axis
    // #2 button, keys into the grid, and the keyboard shortcut of a re-read.
    void InterfereDuringNextTransaction(TFMUserParameter &w)
    {
        QTimer::singleShot(0, &w, [this, &w] {
            interfered = TBusy::Active();
            ClickAt(w.tabGroup, w.tabGroup->tabRect(1).center());
            ClickAt(w.sbtnAxis[1], w.sbtnAxis[1]->rect().center());
            PressKey(w.grdMode, Qt::Key_Down);
            PressKey(w.grdMode, Qt::Key_Return, QStringLiteral("\r"));
            PressKey(&w, Qt::Key_F5);
        });
    }

    bool interfered = false;
    TMessageRecorder messages;
};

TEST_F(ParamsReentry, InputDuringAReadChangesNothing)
{
    auto w = Open();
    ASSERT_EQ(w->Source(), 1);
    const int tab = w->tabGroup->currentIndex();
    const int row = w->grdMode->currentIndex().row();
    InterfereDuringNextTransaction(*w);
    w->actAmplifierRead->trigger();
    Settle();
    EXPECT_TRUE(interfered);
    EXPECT_EQ(w->tabGroup->currentIndex(), tab);
    EXPECT_EQ(w->grdMode->currentIndex().row(), row);
    EXPECT_EQ(w->Source(), 1);
    EXPECT_FALSE(TBusy::Active());
}

TEST_F(ParamsReentry, TabSwitchDuringAWriteIsDropped)
{
    auto w = Open();
    w->Module().RunEditDialog = [](TDMUserParameterEdit &m) {
        TFMUserParameterEdit d(m);
        d.show();
        d.edtValue->selectAll();
        TypeText(d.edtValue, QStringLiteral("25.5"));
        d.btnOk->click();
        return d.result() == QDialog::Accepted;
    };
    int row = -1;
    for (int i = 0; i < w->Module().RowCount(); ++i)
        if (w->Module().Definition(w->Module().RowIdAt(i)).address == 0xF8004)
            row = i;
    ASSERT_GE(row, 0);
    w->grdMode->selectRow(row);
    w->btnEdit->click();
    ASSERT_TRUE(w->Module().HasChanges());

    QTimer::singleShot(0, w.get(), [&] {
        interfered = TBusy::Active();
        ClickAt(w->tabGroup, w->tabGroup->tabRect(2).center());
        ClickAt(w->sbtnAxis[2], w->sbtnAxis[2]->rect().center());
    });
    w->actAmplifierWrite->trigger();
    Settle();
    EXPECT_TRUE(interfered);
    EXPECT_EQ(w->tabGroup->currentIndex(), 0);
    EXPECT_EQ(w->Source(), 1);
    EXPECT_EQ(PeekValue(1, 0xF8004, 2), 255u);
    EXPECT_FALSE(w->Module().HasChanges());
    EXPECT_TRUE(messages.entries.isEmpty());
}

} // namespace
