// Pulse-feed JOG against the simulator: one feed per click, the monitors,
// the stop and every reply the feed can end with.
#include "TestRunSupport.h"
#include "support/Shots.h"

#include "testrun/FMPJogRun.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class PJogRun : public TTestRunFixture
{
protected:
    void SetUp() override
    {
        TTestRunFixture::SetUp();
        // Only the program's commands may stop a feed in these tests.
        Control("testrun 1 watchdog 60000");
        ASSERT_TRUE(dm->LocateRow(1));
        window = std::make_unique<TFMPJogRun>(*ctx, *dm, 1, "TVA-S10A  ");
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
    }
    void Settings(const QString &feed, const QString &speed)
    {
        window->ClickEdit();
        window->edtFeed->setText(feed);
        window->edtSpeed->setText(speed);
        window->ClickWrite();
        ASSERT_FALSE(window->EditMode());
    }
    qint32 SimApmon() { return qint32(PeekValue(1, Common + 8, 4)); }

    std::unique_ptr<TFMPJogRun> window;
};

TEST_F(PJogRun, ShowsTheSettings)
{
    EXPECT_EQ(window->windowTitle(), "パルス送りJOG運転 [#1 : TVA-S10A  ]");
    EXPECT_EQ(window->objectName(), "FMPJogRun");
    EXPECT_EQ(window->edtFeed->text(), "10000");
    EXPECT_EQ(window->edtSpeed->text(), "100");
    EXPECT_EQ(window->edtFeed->maxLength(), 10);
    EXPECT_EQ(window->edtSpeed->maxLength(), 5);
    EXPECT_EQ(window->lblUnit->text(), "min-1");
    EXPECT_TRUE(WaitFor([&] { return window->edtApmon->text() == "0"; }));
    Shot(window.get(), "testrun_pjog");
}

TEST_F(PJogRun, AFeedMovesByExactlyTheFeedAmount)
{
    Settings("2000", "600");
    ASSERT_TRUE(WaitFor([&] { return PeekValue(1, Common + 4, 4) == 2000 && PeekValue(1, Common, 2) == 600; }));
    ServoOn();
    window->btnForward->click();
    EXPECT_TRUE(window->btnForward->isChecked());
    ASSERT_TRUE(WaitFor([&] { return Sent("W94"); }));
    // Reply 12 ends the feed without a message; the next idle tick lets the button up.
    ASSERT_TRUE(WaitFor([&] { return window->Request() == TFMPJogRun::TRequest::None; }));
    ASSERT_TRUE(WaitFor([&] { return !window->btnForward->isChecked(); }));
    EXPECT_EQ(SimApmon(), 2000);
    EXPECT_TRUE(WaitFor([&] { return window->edtApmon->text() == "2000"; }));
    EXPECT_EQ(window->edtPmon->text(), "0");
    EXPECT_TRUE(messages.entries.isEmpty());

    window->btnReverse->click();
    ASSERT_TRUE(WaitFor([&] { return Sent("W95"); }));
    ASSERT_TRUE(WaitFor([&] { return !window->btnReverse->isChecked() && SimApmon() == 0; }));
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(PJogRun, StopEndsTheFeedAndClearsTheDeviation)
{
    Settings("2000000", "100"); // a long feed
    ServoOn();
    window->btnForward->click();
    // The feed loop runs until the request changes: look and stop from inside it.
    bool feeding = false, deviation = false, fired = false;
    QTimer::singleShot(3 * TFMRunBase::TickMs, window.get(), [&] {
        feeding = SimHas("feed=fwd");
        deviation = window->edtPmon->text().toInt() > 0;
        window->btnStop->click();
        fired = true;
    });
    ASSERT_TRUE(WaitFor([&] { return fired && Sent("W98"); }));
    EXPECT_TRUE(feeding);
    EXPECT_TRUE(deviation);
    EXPECT_TRUE(SimHas("feed=none"));
    EXPECT_TRUE(SimHas("pmon=0"));
    EXPECT_LT(SimApmon(), 2000000);
    EXPECT_TRUE(WaitFor([&] { return !window->btnForward->isChecked(); }));
}

TEST_F(PJogRun, StopWhileIdleSendsTheStop)
{
    window->btnStop->click();
    EXPECT_TRUE(WaitFor([&] { return Sent("W98"); }));
}

TEST_F(PJogRun, FeedRepliesAndTheirMessages)
{
    struct TCase {
        const char *replies; // W94 then W96
        QString text;
        bool servoStays;
    };
    const TCase cases[] = {
        {"11", "パルス送りJOG運転ができない設定値です。\r\n送りパルス量、移動速度を変更してください。", true},
        {"0 9", "オーバートラベル中です。", true},
        {"7", "アラーム発生中です。\r\nサーボオンできません。", false},
        {"0 44", "サーボオンできません。\r\nサーボアンプの状態を確認してください。", false},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.replies);
        if (!window->ServoOn())
            ServoOn();
        messages.Clear();
        const std::string r = c.replies;
        Control("testrun 1 W94 " + r.substr(0, r.find(' ')));
        if (r.find(' ') != std::string::npos)
            Control("testrun 1 W96 " + r.substr(r.find(' ') + 1));
        window->btnForward->click();
        ASSERT_TRUE(WaitFor([&] { return !messages.entries.isEmpty(); }));
        EXPECT_EQ(messages.Texts(), QStringList{c.text});
        EXPECT_EQ(window->ServoOn(), c.servoStays);
        EXPECT_EQ(window->Request(), TFMPJogRun::TRequest::None);
        ASSERT_TRUE(WaitFor([&] { return SimHas("feed=none"); }));
    }
}

TEST_F(PJogRun, ASettingOfZeroIsRefusedByTheAmplifier)
{
    Settings("0", "100");
    ServoOn();
    window->btnForward->click();
    ASSERT_TRUE(WaitFor([&] { return !messages.entries.isEmpty(); }));
    EXPECT_EQ(messages.Texts(),
              QStringList{"パルス送りJOG運転ができない設定値です。\r\n送りパルス量、移動速度を変更してください。"});
}

TEST_F(PJogRun, SettingChecks)
{
    window->ClickEdit();
    window->edtFeed->setText("-1");
    window->ClickWrite();
    EXPECT_TRUE(window->EditMode());
    window->edtFeed->setText("2147483647");
    window->edtSpeed->setText("32768");
    window->ClickWrite();
    EXPECT_TRUE(window->EditMode());
    EXPECT_EQ(messages.Texts(), (QStringList{"設定範囲外です。", "設定範囲外です。"}));
    window->edtSpeed->setText("32767");
    window->ClickWrite();
    EXPECT_FALSE(window->EditMode());
    ASSERT_TRUE(WaitFor([&] { return PeekValue(1, Common + 4, 4) == 2147483647u; }));
    ASSERT_TRUE(WaitFor([&] { return PeekValue(1, Common, 2) == 32767u; }));
}

TEST_F(PJogRun, ClosingDuringAFeedStopsIt)
{
    Settings("2000000", "100");
    ServoOn();
    window->btnForward->click();
    bool feeding = false;
    QTimer::singleShot(3 * TFMRunBase::TickMs, window.get(), [&] {
        feeding = SimHas("feed=fwd");
        window->close();
    });
    ASSERT_TRUE(WaitFor([&] { return !window->isVisible(); }));
    EXPECT_TRUE(feeding);
    EXPECT_EQ(window->Request(), TFMPJogRun::TRequest::None);
    EXPECT_TRUE(SimHas("feed=none"));
    EXPECT_TRUE(SimHas("kind=-1"));
}

} // namespace
