// The test-function selection window: axis choice, confirmation, the
// pre-check and its replies, what happens after the run window.
#include "TestRunSupport.h"
#include "support/Shots.h"

#include "testrun/FMJog.h"
#include "testrun/FMPJogRun.h"
#include "testrun/FMRunBase.h"
#include "testrun/FMVJogRun.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>
#include <QTranslator>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

class JogSelect : public TTestRunFixture
{
protected:
    std::unique_ptr<TFMJog> Open(int type, int axis = 1)
    {
        auto w = std::make_unique<TFMJog>(*ctx, type, axis);
        w->execRun = [this](TFMRunBase &run) {
            opened.append(run.objectName());
            return runResult;
        };
        w->show();
        EXPECT_TRUE(WaitFor([&] { return !w->edtModel->text().isEmpty() || !w->btnExec->isEnabled(); }));
        return w;
    }

    QStringList opened;
    int runResult = QDialog::Rejected;
};

TEST_F(JogSelect, ShowsTheAxesInUseAndTheModel)
{
    env->SetAmpCode(2, -1);
    auto w = Open(TDMJog::tyVelocityJog, 2);
    EXPECT_EQ(w->windowTitle(), "速度JOG運転");
    EXPECT_EQ(w->objectName(), "FMJog");
    EXPECT_EQ(w->SelectedAxis(), 1); // 2 is not in use: the lowest one in use
    EXPECT_TRUE(w->rbtnAxis[0]->isChecked());
    EXPECT_FALSE(w->rbtnAxis[1]->isEnabled());
    EXPECT_TRUE(w->rbtnAxis[2]->isEnabled());
    EXPECT_FALSE(w->rbtnAxis[5]->isEnabled());
    EXPECT_EQ(w->edtModel->text().trimmed(), "TVA-S10A");
    Shot(w.get(), "testrun_select");
    w->rbtnAxis[2]->click();
    EXPECT_EQ(w->SelectedAxis(), 3);
    EXPECT_EQ(w->edtModel->text().trimmed(), "TVA-S20A");
}

TEST_F(JogSelect, NoAxisLeft)
{
    for (int axis = 1; axis <= 15; ++axis)
        env->SetAmpCode(axis, -1);
    auto w = Open(TDMJog::tyPulseJog);
    EXPECT_FALSE(w->btnExec->isEnabled());
    EXPECT_TRUE(w->edtModel->text().isEmpty());
    EXPECT_EQ(messages.Texts(), QStringList{"通信可能なサーボアンプが存在しません。"});
}

TEST_F(JogSelect, PreCheckRepliesOfEachType)
{
    struct TCase {
        int type;
        const char *code;
        const char *replies;
        QStringList messages; // after the confirmation
        QString window;       // the run window that opens
    };
    const TCase cases[] = {
        {TDMJog::tyVelocityJog, "W81", "0", {}, "FMVJogRun"},
        {TDMJog::tyVelocityJog, "W81", "10,10,10,0", {}, "FMVJogRun"},
        {TDMJog::tyVelocityJog, "W81", "1", {"速度JOG運転を実行することができません。（準備未完了）"}, ""},
        {TDMJog::tyPulseJog, "W91", "2", {"パルス送りJOG運転を使用することはできません。"}, ""},
        {TDMJog::tyPulseJog, "W91", "10,0", {}, "FMPJogRun"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.replies);
        auto w = Open(c.type);
        messages.Clear();
        opened.clear();
        Control(std::string("testrun 1 ") + c.code + " " + c.replies);
        w->btnExec->click();
        ASSERT_FALSE(messages.entries.isEmpty());
        EXPECT_EQ(messages.entries[0].kind, TMsgKind::Question);
        EXPECT_EQ(messages.entries[0].text, TDMJog::ConfirmText(c.type));
        EXPECT_EQ(messages.entries[0].caption, TDMJog::Title(c.type, 1, w->edtModel->text()));
        EXPECT_TRUE(messages.entries[0].caption.startsWith(TDMJog::FunctionName(c.type) + " [#1 : TVA-S10A"));
        messages.entries.removeFirst();
        EXPECT_EQ(messages.Texts(), c.messages);
        EXPECT_EQ(opened, c.window.isEmpty() ? QStringList() : QStringList{c.window});
    }
}

TEST_F(JogSelect, CancelledConfirmationSendsNothing)
{
    auto w = Open(TDMJog::tyVelocityJog);
    Control("log 1 clear");
    messages.Script({TMsgAnswer::Cancel});
    w->btnExec->click();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_FALSE(Sent("W81"));
}

TEST_F(JogSelect, BusyTooLongForFrequencyTuning)
{
    auto w = Open(TDMJog::tyFrequencyTuning);
    Control("op 1 WD1 10");
    QElapsedTimer t;
    t.start();
    w->btnExec->click();
    EXPECT_GE(t.elapsed(), TFMJog::BusyLimitShortMs);
    EXPECT_EQ(messages.Texts().last(), "オート制振周波数チューニングを実行することができません。（準備未完了）");
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(JogSelect, AbortedRunMovesToTheLowestAxisInUse)
{
    auto w = Open(TDMJog::tyVelocityJog);
    w->rbtnAxis[1]->click();
    ASSERT_EQ(w->SelectedAxis(), 2);
    w->execRun = [this](TFMRunBase &) {
        env->SetAmpCode(2, -1); // what a failed command does
        return int(TFMRunBase::Abort);
    };
    w->btnExec->click();
    EXPECT_EQ(w->SelectedAxis(), 1);
    EXPECT_FALSE(w->rbtnAxis[1]->isEnabled());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(JogSelect, AcceptedRunClosesWithOk)
{
    auto w = Open(TDMJog::tyVelocityJog);
    runResult = QDialog::Accepted;
    w->btnExec->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

TEST_F(JogSelect, RunWindowOpensModallyAndEndsTheRunOnClose)
{
    auto w = Open(TDMJog::tyVelocityJog);
    w->execRun = [this](TFMRunBase &run) {
        QTimer::singleShot(600, &run, [&run] { run.reject(); });
        return run.exec();
    };
    w->btnExec->click();
    EXPECT_TRUE(Sent("W80"));
    EXPECT_TRUE(SimHas("kind=-1"));
}

} // namespace

namespace {

// The three windows in English, for looking at (only when pictures are asked for).
TEST_F(JogSelect, EnglishPictures)
{
    if (qEnvironmentVariableIsEmpty("TUVANTA_SHOTS"))
        GTEST_SKIP() << "TUVANTA_SHOTS not set";
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(TUVANTA_BIN_DIR "/Tuvanta.ENU")));
    QCoreApplication::installTranslator(&english);
    {
        auto w = Open(TDMJog::tyPulseJog);
        Shot(w.get(), "testrun_select-en");
        ASSERT_TRUE(dm->LocateRow(1));
        TFMVJogRun v(*ctx, *dm, 1, w->edtModel->text());
        v.show();
        ASSERT_TRUE(WaitFor([&] { return v.Running(); }));
        Shot(&v, "testrun_vjog-en");
        v.reject();
        TFMPJogRun p(*ctx, *dm, 1, w->edtModel->text());
        p.show();
        ASSERT_TRUE(WaitFor([&] { return p.Running(); }));
        Shot(&p, "testrun_pjog-en");
        p.reject();
    }
    QCoreApplication::removeTranslator(&english);
}

} // namespace
