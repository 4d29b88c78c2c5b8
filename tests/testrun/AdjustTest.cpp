// The one-shot operations against the simulator: every reply of the
// query / start / progress / end sequence, cancel, a cable pull, and the
// operation window.
#include "SimFixture.h"
#include "support/MessageRecorder.h"
#include "support/Shots.h"

#include "app/Busy.h"
#include "sim/SimAdjustment.h"
#include "testrun/DMAdjust.h"
#include "testrun/FMAdjust.h"
#include "testrun/FMAdjustRun.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int NowAlarm = 0xF9F00;

class Adjust : public TSimFixture
{
protected:
    void SetUp() override
    {
        TSimFixture::SetUp();
        dm = std::make_unique<TDMAdjust>(*ctx);
        dm->SetProgress(&run);
        dm->OpenTables();
        Control("log 1 clear");
    }
    // The W commands axis 1 received, in order.
    std::vector<std::string> Commands()
    {
        std::vector<std::string> out;
        std::string log = Control("log 1");
        size_t at = 0;
        while (at < log.size()) {
            const size_t end = std::min(log.find(' ', at), log.size());
            const std::string c = log.substr(at, end - at);
            if (!c.empty() && c[0] == 'W')
                out.push_back(c.substr(0, 3));
            at = end + 1;
        }
        return out;
    }
    static bool Sent(const std::vector<std::string> &commands, const std::string &code)
    {
        return std::find(commands.begin(), commands.end(), code) != commands.end();
    }

    TMessageRecorder messages;
    TFMAdjustRun run;
    std::unique_ptr<TDMAdjust> dm;
};

TEST_F(Adjust, TextsFollowTheOperationName)
{
    EXPECT_EQ(TDMAdjust::Name(TDMAdjust::atAbsEncoderClear), QStringLiteral("アブソリュートエンコーダクリア"));
    EXPECT_EQ(TDMAdjust::Title(TDMAdjust::atExcitation, 10, QStringLiteral("TVA-S10A")),
              QStringLiteral("固定励磁操作 [#A : TVA-S10A]"));
    EXPECT_EQ(TDMAdjust::NotReadyText(TDMAdjust::atAlarmReset),
              QStringLiteral("アラームリセットを実行することができません。（準備未完了）"));
    EXPECT_EQ(TDMAdjust::NotUsableText(TDMAdjust::atOffsetTComp),
              QStringLiteral("アナログトルク加算指令オートオフセット調整を使用することはできません。"));
    EXPECT_TRUE(TDMAdjust::Confirmation(TDMAdjust::atExcitation).contains(QStringLiteral("\"OK\"をクリックすると")));
    EXPECT_TRUE(TDMAdjust::Name(6).isEmpty());
    for (int type = 0; type < TDMAdjust::TypeCount; ++type)
        EXPECT_EQ(TDMAdjust::Cancellable(type), type == TDMAdjust::atExcitation) << type;
}

// Each reply of the protocol and what the user hears of it. The command
// digit of each type is its own (1, 2, 3, 5, 4, 6 for types 0..5).
TEST_F(Adjust, EveryReplyGivesItsMessage)
{
    struct TCase {
        int type;
        const char *settings; // for "op 1 <digit> ..."
        TMsgAnswer confirm;
        TDMAdjust::TOutcome outcome;
        std::vector<TMsgKind> kinds; // after the question
        QString (*text)(int);        // of the first message after the question
        bool endSent;
    };
    using O = TDMAdjust::TOutcome;
    const TCase cases[] = {
        {0, "query=2", TMsgAnswer::Ok, O::NotUsable, {TMsgKind::Warning}, TDMAdjust::NotUsableText, false},
        {1, "query=1", TMsgAnswer::Ok, O::NotReady, {TMsgKind::Warning}, TDMAdjust::NotReadyText, false},
        {2, "query=3", TMsgAnswer::Ok, O::Quiet, {}, nullptr, false},
        {3, "start=1", TMsgAnswer::Ok, O::NotReady, {TMsgKind::Warning}, TDMAdjust::NotReadyText, false},
        {4, "start=9", TMsgAnswer::Ok, O::Quiet, {}, nullptr, false},
        {0, "time=30", TMsgAnswer::Ok, O::Succeeded, {TMsgKind::Information}, TDMAdjust::SuccessText, true},
        {4, "result=6", TMsgAnswer::Ok, O::Failed, {TMsgKind::Warning}, TDMAdjust::FailureText, true},
        {1, "end=1", TMsgAnswer::Ok, O::Succeeded, {TMsgKind::Information, TMsgKind::Warning}, TDMAdjust::SuccessText,
         true},
        {5, "time=0", TMsgAnswer::Cancel, O::Declined, {}, nullptr, false},
    };
    const int digits[] = {1, 2, 3, 5, 4, 6};
    for (const TCase &c : cases) {
        SCOPED_TRACE(std::string(TSimAdjustment::Name(digits[c.type])) + " " + c.settings);
        Control("op 1 " + std::to_string(digits[c.type]) + " query=0 start=0 result=5 end=0 time=0");
        Control("op 1 " + std::to_string(digits[c.type]) + " " + c.settings);
        Control("log 1 clear");
        messages.Clear();
        messages.Script({c.confirm});
        const QString title = TDMAdjust::Title(c.type, 1, QStringLiteral("TVA-S10A"));
        EXPECT_EQ(dm->Execute(c.type, 1, QStringLiteral("TVA-S10A")), c.outcome);

        ASSERT_EQ(messages.entries.size(), qsizetype(1 + c.kinds.size()));
        EXPECT_EQ(messages.entries[0].kind, TMsgKind::Question);
        EXPECT_EQ(messages.entries[0].text, TDMAdjust::Confirmation(c.type));
        for (size_t i = 0; i < c.kinds.size(); ++i) {
            EXPECT_EQ(messages.entries[qsizetype(i + 1)].kind, c.kinds[i]);
            EXPECT_EQ(messages.entries[qsizetype(i + 1)].caption, title);
        }
        if (c.text)
            EXPECT_EQ(messages.entries[1].text, c.text(c.type));
        if (c.kinds.size() > 1)
            EXPECT_EQ(messages.entries[2].text, TDMAdjust::NotReadyText(c.type));

        const auto sent = Commands();
        const std::string w = "W" + std::to_string(digits[c.type]);
        EXPECT_EQ(Sent(sent, w + "1"), c.confirm == TMsgAnswer::Ok);
        EXPECT_EQ(Sent(sent, w + "0"), c.endSent);
        EXPECT_EQ(Sent(sent, w + "3"), c.endSent);
        EXPECT_FALSE(run.isVisible());
        EXPECT_FALSE(TBusy::Active());
        EXPECT_TRUE(env->AxisInUse(1));
    }
}

TEST_F(Adjust, UndefinedProgressReplyTakesTheAxisOutOfUse)
{
    Control("op 1 vref result=7 time=0");
    EXPECT_EQ(dm->Execute(TDMAdjust::atOffsetVRef, 1, QString()), TDMAdjust::TOutcome::CommFailure);
    ASSERT_EQ(messages.entries.size(), 2);
    EXPECT_EQ(messages.entries[1].text, QStringLiteral("通信異常です。（軸番号[#1]）"));
    EXPECT_FALSE(env->AxisInUse(1));
    EXPECT_FALSE(Sent(Commands(), "W10"));
}

TEST_F(Adjust, ExcitationCancelReachesTheAmplifier)
{
    Control("op 1 excitation time=60000");
    QTimer::singleShot(300, &run, [&] {
        EXPECT_TRUE(run.isVisible());
        EXPECT_TRUE(run.btnCancel->isVisible());
        run.btnCancel->click();
    });
    EXPECT_EQ(dm->Execute(TDMAdjust::atExcitation, 1, QString()), TDMAdjust::TOutcome::Cancelled);
    const auto sent = Commands();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), "W60");
    ASSERT_EQ(messages.entries.size(), 2);
    EXPECT_EQ(messages.entries[1].kind, TMsgKind::Warning);
    EXPECT_EQ(messages.entries[1].text, TDMAdjust::FailureText(TDMAdjust::atExcitation));
    EXPECT_FALSE(run.isVisible());
    // Having left the function, the amplifier starts it afresh.
    Control("op 1 excitation time=0");
    messages.Clear();
    EXPECT_EQ(dm->Execute(TDMAdjust::atExcitation, 1, QString()), TDMAdjust::TOutcome::Succeeded);
}

TEST_F(Adjust, OperationsWithoutCancelIgnoreTheButton)
{
    Control("op 1 vref time=400");
    QTimer::singleShot(100, &run, [&] {
        EXPECT_FALSE(run.btnCancel->isVisible());
        run.close(); // the close box: no cancel offered
        run.CancelPressed();
    });
    EXPECT_EQ(dm->Execute(TDMAdjust::atOffsetVRef, 1, QString()), TDMAdjust::TOutcome::Succeeded);
}

TEST_F(Adjust, CablePullMidRunEndsItSafely)
{
    Control("op 1 vref time=60000");
    QTimer::singleShot(200, &run, [&] { Control("pull"); });
    EXPECT_EQ(dm->Execute(TDMAdjust::atOffsetVRef, 1, QString()), TDMAdjust::TOutcome::CommFailure);
    EXPECT_FALSE(run.isVisible());
    EXPECT_FALSE(TBusy::Active());
    EXPECT_FALSE(env->AxisInUse(1));
}

TEST_F(Adjust, RunWindowCountsSecondsWhenAsked)
{
    run.ShowElapsed(true);
    run.ShowButtons(true, false);
    run.Start(QStringLiteral("T"), QStringLiteral("text"), 0);
    EXPECT_EQ(run.lblElapsed->text(), QStringLiteral("経過時間:0秒"));
    EXPECT_TRUE(run.lblElapsed->isVisibleTo(&run));
    run.CancelPressed();
    EXPECT_EQ(run.Request(), TProgress::rqCancel);
    run.Finish();
    EXPECT_FALSE(run.isVisible());
    EXPECT_FALSE(run.btnCancel->isVisibleTo(&run));
}

class AdjustWindow : public TSimFixture
{
protected:
    TMessageRecorder messages;
};

TEST_F(AdjustWindow, AlarmResetClearsTheAlarmUnlessTheCausePersists)
{
    Control("op 1 alarm-reset time=100");
    Control("alarm 1 10 3");
    TFMAdjust window(TDMAdjust::atAlarmReset, 1, *ctx);
    QTimer::singleShot(0, &window, [&] {
        QCoreApplication::processEvents();
        EXPECT_EQ(window.windowTitle(), QStringLiteral("アラームリセット"));
        EXPECT_EQ(window.property("kind").toInt(), TDMAdjust::atAlarmReset);
        EXPECT_TRUE(window.rbtnAxis[0]->isChecked());
        EXPECT_FALSE(window.edtModel->text().trimmed().isEmpty());
        for (int n = 1; n <= 15; ++n)
            EXPECT_EQ(window.rbtnAxis[size_t(n - 1)]->isEnabled(), n <= 5) << n;
        Shot(&window, QStringLiteral("adjust_window"));
        window.btnExec->click();
        EXPECT_EQ(PeekValue(1, NowAlarm, 1), 0u);
        EXPECT_EQ(window.LastOutcome(), TDMAdjust::TOutcome::Succeeded);

        Control("alarm 1 11 2");
        Control("alarm 1 persist on");
        window.btnExec->click();
        EXPECT_EQ(window.LastOutcome(), TDMAdjust::TOutcome::Failed);
        EXPECT_EQ(PeekValue(1, NowAlarm, 1), 0x11u);
        EXPECT_EQ(messages.entries.back().text, TDMAdjust::FailureText(TDMAdjust::atAlarmReset));
        window.btnClose->click();
    });
    window.exec();
}

TEST_F(AdjustWindow, CommunicationFaultMovesToTheNextAxis)
{
    Control("op 1 abs-clear result=7 time=0");
    TFMAdjust window(TDMAdjust::atAbsEncoderClear, 1, *ctx);
    QTimer::singleShot(0, &window, [&] {
        QCoreApplication::processEvents();
        window.btnExec->click();
        EXPECT_FALSE(env->AxisInUse(1));
        EXPECT_EQ(window.Axis(), 2);
        EXPECT_TRUE(window.rbtnAxis[1]->isChecked());
        EXPECT_FALSE(window.rbtnAxis[0]->isEnabled());
        window.reject();
    });
    window.exec();
}

TEST_F(AdjustWindow, NoAxisLeftOffersOnlyClose)
{
    for (int n = 1; n <= 5; ++n)
        env->SetAmpCode(n, -1);
    TFMAdjust window(TDMAdjust::atOffsetVRef, 1, *ctx);
    QTimer::singleShot(0, &window, [&] {
        QCoreApplication::processEvents();
        EXPECT_FALSE(window.btnExec->isEnabled());
        EXPECT_TRUE(window.edtModel->text().isEmpty());
        EXPECT_TRUE(messages.Texts().contains(QStringLiteral("通信可能なサーボアンプが存在しません。")));
        window.reject();
    });
    window.exec();
}

TEST_F(AdjustWindow, ProgressWindowPicture)
{
    TFMAdjustRun run;
    run.ShowButtons(true, false);
    run.Start(TDMAdjust::Title(TDMAdjust::atExcitation, 1, QStringLiteral("TVA-S10A")),
              TDMAdjust::ProgressText(TDMAdjust::atExcitation), 0);
    EXPECT_TRUE(run.lblText->text().endsWith(QStringLiteral("を実行中です。")));
    Shot(&run, QStringLiteral("adjust_run"));
    run.Finish();
}

} // namespace
