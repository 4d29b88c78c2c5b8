// Velocity JOG against the simulator: the motor moves only while a direction
// button is held, and every way of letting go stops it.
#include "TestRunSupport.h"
#include "support/Shots.h"

#include "app/Busy.h"
#include "app/FMInputGuard.h"
#include "testrun/FMVJogRun.h"

#include <QApplication>
#include <QLabel>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

class VJogRun : public TTestRunFixture
{
protected:
    void SetUp() override
    {
        TTestRunFixture::SetUp();
        // Only the program's commands may stop the motor in these tests.
        Control("testrun 1 watchdog 60000");
        ASSERT_TRUE(dm->LocateRow(1));
        window = std::make_unique<TFMVJogRun>(*ctx, *dm, 1, "TVA-S10A  ");
        window->windowActive = [this] { return active; };
        window->show();
        window->activateWindow();
        ASSERT_TRUE(TT::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(WaitFor([&] { return window->Running(); }));
    }
    void TearDown() override
    {
        if (window && window->isVisible())
            window->reject();
        window.reset();
        TTestRunFixture::TearDown();
    }
    void ServoOn()
    {
        TT::mouseClick(window->btnServoOn, Qt::LeftButton);
        ASSERT_TRUE(WaitFor([&] { return SimHas("servo=on"); }));
        ASSERT_TRUE(window->btnForward->isEnabled());
    }
    // Holds the button down and, from inside the window's running JOG loop
    // (which only ends when the request changes), checks the motor turns and
    // lets go with letGo. Then the motor must stop at the first command after
    // letting go (at most one JOG command was already on its way), within
    // one tick.
    void HoldAndLetGo(QPushButton *button, const std::function<void()> &letGo, bool viaKey = false,
                      bool pollFollows = true)
    {
        if (viaKey) {
            button->setFocus();
            TT::keyPress(button, Qt::Key_Space);
        } else {
            TT::mousePress(button, Qt::LeftButton);
        }
        bool moved = false, fired = false;
        QElapsedTimer t;
        QTimer::singleShot(3 * TFMRunBase::TickMs, window.get(), [&] {
            moved = SimHas(button == window->btnForward ? "jog=fwd" : "jog=rev");
            Control("log 1 clear");
            t.start();
            letGo();
            fired = true;
        });
        ASSERT_TRUE(WaitFor([&] { return fired; }, 5000));
        EXPECT_TRUE(moved);
        ASSERT_TRUE(WaitFor([&] { return SimHas("jog=none"); }, 3000));
        EXPECT_LT(t.elapsed(), 3 * TFMRunBase::TickMs); // generous for a loaded machine
        const std::string log = Log();
        const size_t poll = std::min(log.find(" W83 "), log.find(" W81 "));
        if (window->isVisible() && pollFollows) {
            ASSERT_NE(poll, std::string::npos) << log;
            int jogs = 0;
            for (size_t at = log.find(" W84 "); at < poll; at = log.find(" W84 ", at + 1))
                ++jogs;
            for (size_t at = log.find(" W85 "); at < poll; at = log.find(" W85 ", at + 1))
                ++jogs;
            EXPECT_LE(jogs, 1) << log;
        }
        if (viaKey)
            TT::keyRelease(button, Qt::Key_Space);
        else
            TT::mouseRelease(button, Qt::LeftButton);
    }

    bool active = true;
    std::unique_ptr<TFMVJogRun> window;
};

TEST_F(VJogRun, ShowsTheSettingsAndTheRange)
{
    EXPECT_EQ(window->windowTitle(), "速度JOG運転 [#1 : TVA-S10A  ]");
    EXPECT_EQ(window->objectName(), "FMVJogRun");
    EXPECT_EQ(window->edtSpeed->text(), "100");
    EXPECT_EQ(window->lblRange->text(), "( 0 - 5000 )");
    EXPECT_EQ(window->lblUnit->text(), "min-1");
    EXPECT_EQ(window->edtSpeed->maxLength(), 4);
    EXPECT_TRUE(window->edtSpeed->isReadOnly());
    EXPECT_FALSE(window->btnForward->isEnabled()); // servo off
    EXPECT_TRUE(WaitFor([&] { return Sent("W81"); }));
    Shot(window.get(), "testrun_vjog");
}

TEST_F(VJogRun, HoldingMovesReleasingStops)
{
    ServoOn();
    HoldAndLetGo(window->btnForward, [&] {
        EXPECT_FALSE(window->btnReverse->isEnabled());
        TT::mouseRelease(window->btnForward, Qt::LeftButton);
    });
    // The idle poll follows with the servo still on.
    EXPECT_TRUE(Sent("W83"));
    EXPECT_TRUE(SimHas("servo=on"));
    EXPECT_TRUE(WaitFor([&] { return window->btnReverse->isEnabled(); }));
}

TEST_F(VJogRun, ReverseWithTheKeyboard)
{
    ServoOn();
    HoldAndLetGo(
        window->btnReverse, [&] { TT::keyRelease(window->btnReverse, Qt::Key_Space); }, true);
}

TEST_F(VJogRun, EveryWayOfLettingGoStops)
{
    struct TCase {
        const char *name;
        std::function<void(TFMVJogRun &)> letGo;
    };
    QWidget other;
    const TCase cases[] = {
        {"focus moves away", [](TFMVJogRun &w) { w.btnClose->setFocus(); }},
        {"another window comes to the front",
         [&other](TFMVJogRun &) {
             other.show();
             other.activateWindow();
         }},
        {"servo switched off", [](TFMVJogRun &w) { TT::mouseClick(w.btnServoOff, Qt::LeftButton); }},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.name);
        other.hide();
        window->activateWindow();
        ASSERT_TRUE(TT::qWaitForWindowActive(window.get()));
        if (!window->btnServoOn->isChecked())
            ServoOn();
        window->btnForward->setFocus();
        HoldAndLetGo(window->btnForward, [&] { c.letGo(*window); });
        EXPECT_EQ(window->Request(), TFMVJogRun::TRequest::None);
    }
}

TEST_F(VJogRun, LettingGoGetsThroughWhileATransactionRuns)
{
    ServoOn();
    HoldAndLetGo(window->btnForward, [&] {
        // What the user does while a command is on the line.
        TBusy::TScope busy;
        TT::mouseClick(window->btnServoOff, Qt::LeftButton);
        EXPECT_TRUE(window->ServoOn()); // an ordinary click is dropped
        TT::mouseRelease(window->btnForward, Qt::LeftButton);
        EXPECT_EQ(window->Request(), TFMVJogRun::TRequest::None);
    });
}

TEST_F(VJogRun, ClosingWhileHeldEndsTheTestRun)
{
    ServoOn();
    HoldAndLetGo(window->btnForward, [&] { window->btnClose->click(); });
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_TRUE(SimHas("kind=-1"));
    EXPECT_TRUE(Sent("W80"));
}

TEST_F(VJogRun, AlarmDuringTheRunReturnsToServoOff)
{
    ServoOn();
    HoldAndLetGo(
        window->btnForward, [&] { Control("alarm 1 10"); }, false, false);
    ASSERT_TRUE(WaitFor([&] { return !messages.entries.isEmpty(); }));
    EXPECT_EQ(messages.Texts(), QStringList{"アラーム発生中です。\r\nサーボオンできません。"});
    EXPECT_EQ(messages.entries[0].caption, window->windowTitle());
    EXPECT_FALSE(window->ServoOn());
    EXPECT_TRUE(SimHas("servo=off"));
    EXPECT_FALSE(window->btnForward->isEnabled());
}

TEST_F(VJogRun, RunRepliesAndTheirMessages)
{
    struct TCase {
        const char *reply;
        QString text;
        bool servoStays;
    };
    const TCase cases[] = {
        {"9", "オーバートラベル中です。", true},
        {"8", "サーボオンできません。\r\nサーボアンプの状態を確認してください。", false},
        {"33", "サーボオンできません。\r\nサーボアンプの状態を確認してください。", false},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.reply);
        if (!window->ServoOn())
            ServoOn();
        messages.Clear();
        Control(std::string("testrun 1 W84 0,") + c.reply);
        TT::mousePress(window->btnForward, Qt::LeftButton);
        ASSERT_TRUE(WaitFor([&] { return !messages.entries.isEmpty(); }));
        EXPECT_EQ(messages.Texts(), QStringList{c.text});
        EXPECT_EQ(window->ServoOn(), c.servoStays);
        EXPECT_EQ(window->Request(), TFMVJogRun::TRequest::None);
        TT::mouseRelease(window->btnForward, Qt::LeftButton);
        EXPECT_TRUE(WaitFor([&] { return SimHas("jog=none"); }));
    }
}

TEST_F(VJogRun, IdleRepliesWhileActiveOnly)
{
    ServoOn();
    // Another window in front: the reply is not looked at.
    active = false;
    Control("testrun 1 W83 7");
    TT::qWait(2 * TFMRunBase::TickMs);
    EXPECT_TRUE(window->ServoOn());
    EXPECT_TRUE(messages.entries.isEmpty());
    active = true;
    Control("testrun 1 W83 8");
    ASSERT_TRUE(WaitFor([&] { return !messages.entries.isEmpty(); }));
    EXPECT_FALSE(window->ServoOn());
    EXPECT_EQ(messages.Texts(), QStringList{"サーボオンできません。\r\nサーボアンプの状態を確認してください。"});
}

TEST_F(VJogRun, NotReadyWarnsAndCloses)
{
    Control("testrun 1 W81 1");
    ASSERT_TRUE(WaitFor([&] { return !window->isVisible(); }));
    EXPECT_EQ(messages.Texts(), QStringList{"速度JOG運転を実行することができません。（準備未完了）"});
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_TRUE(Sent("W80"));
}

TEST_F(VJogRun, EndActionIsWritten)
{
    window->rbtnEndAlarm->click();
    ASSERT_TRUE(WaitFor([&] { return PeekValue(1, Common + 2, 2) == 1; }));
    window->rbtnEndNoAlarm->click();
    ASSERT_TRUE(WaitFor([&] { return PeekValue(1, Common + 2, 2) == 0; }));
}

TEST_F(VJogRun, EditingTheSpeedCommand)
{
    ServoOn();
    const quint32 writes0 = PeekValue(1, Common, 2);
    window->ClickEdit();
    EXPECT_EQ(window->btnEdit->text(), "編集中止");
    EXPECT_TRUE(window->btnWrite->isVisible());
    EXPECT_FALSE(window->btnForward->isEnabled());
    window->edtSpeed->setText("4000");
    window->ClickEdit(); // cancel: nothing is written
    EXPECT_EQ(window->edtSpeed->text(), "100");
    TT::qWait(2 * TFMRunBase::TickMs);
    EXPECT_EQ(PeekValue(1, Common, 2), writes0);
    EXPECT_FALSE(Log().find(" Y") != std::string::npos);

    window->ClickEdit();
    window->edtSpeed->setText("5001");
    window->ClickWrite();
    EXPECT_EQ(messages.Texts(), QStringList{"設定範囲外です。"});
    EXPECT_TRUE(window->EditMode());
    window->edtSpeed->setText("5000");
    TT::keyClick(window->edtSpeed, Qt::Key_Return);
    EXPECT_FALSE(window->EditMode());
    ASSERT_TRUE(WaitFor([&] { return PeekValue(1, Common, 2) == 5000; }));
    EXPECT_TRUE(WaitFor([&] { return window->btnForward->isEnabled(); }));
}

TEST_F(VJogRun, CommunicationLossAborts)
{
    ServoOn();
    TT::mousePress(window->btnForward, Qt::LeftButton);
    QTimer::singleShot(3 * TFMRunBase::TickMs, window.get(), [&] { Control("pull"); });
    ASSERT_TRUE(WaitFor([&] { return !window->isVisible(); }, 30000));
    EXPECT_EQ(window->result(), TFMRunBase::Abort);
    EXPECT_EQ(window->Request(), TFMVJogRun::TRequest::None);
    EXPECT_GE(messages.closeAllCount, 1);
    TT::mouseRelease(window->btnForward, Qt::LeftButton);
}

TEST_F(VJogRun, EndIsSentAfterAFailedCommand)
{
    ServoOn();
    // The next poll fails on every try; the line itself stays.
    Control("fault 1 failfirst 5 silent");
    ASSERT_TRUE(WaitFor([&] { return !window->isVisible(); }, 20000));
    EXPECT_EQ(window->result(), TFMRunBase::Abort);
    EXPECT_TRUE(WaitFor([&] { return SimHas("kind=-1"); }));
    EXPECT_TRUE(SimHas("servo=off"));
}

} // namespace
