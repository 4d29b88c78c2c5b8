// The shell and the transaction layer against an engine without a line:
// these run on every machine, also where the simulator is not built.
#include "FakeAmp.h"

#include "support/MessageRecorder.h"

#include "app/DMEnvironment.h"
#include "app/FMMain.h"
#include "comm/DMTran.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class FakeLine : public ::testing::Test
{
protected:
    FakeLine()
        : env(dir.filePath("Tuvanta.ini")),
          // No database is needed for these: a broken loader has no tables.
          loader(dir.filePath("none.ad0"), TStgManager::TAccess::Shared), tables(loader), tran(env, &amp)
    {
        for (int axis = 1; axis <= 15; ++axis)
            env.SetAmpCode(axis, 0x1234);
    }

    QTemporaryDir dir;
    TMessageRecorder messages;
    TDMEnvironment env;
    TDMInterface loader;
    TDMMain tables;
    TFakeAmp amp;
    TDMTran tran;
};

TEST_F(FakeLine, FailurePathWarnsOnlyWhileCtsIsOn)
{
    struct {
        TTranResult result;
        bool cts;
        const char *text; // nullptr: no message
    } cases[] = {
        {trCommError, true, "通信異常です。（軸番号[#A]）"},
        {trNak, true, "軸番号が重複しています。（軸番号[#A]）"},
        {trTimeout, true, "通信タイムアウト。（軸番号[#A]）"},
        {trCommError, false, nullptr},
        {trNak, false, nullptr},
        {trTimeout, false, nullptr},
    };
    amp.open = true;
    for (const auto &c : cases) {
        messages.Clear();
        env.SetAmpCode(10, 0x1234);
        env.SetAmpCode(11, 0x1234);
        amp.cts = c.cts;
        amp.results = {{10, c.result}};
        uint32_t v32 = 0;
        EXPECT_FALSE(tran.AdjustProgress(10, TDMTran::akAlarmReset, v32));
        EXPECT_EQ(env.AmpCode(10), -1) << "the failed axis leaves the in-use set";
        EXPECT_EQ(env.AmpCode(11), 0x1234) << "only that one";
        if (c.text) {
            ASSERT_EQ(messages.entries.size(), 1);
            EXPECT_EQ(messages.entries[0].kind, TMsgKind::Warning);
            EXPECT_EQ(messages.entries[0].buttons, TMsgButtons::Ok);
            EXPECT_EQ(messages.entries[0].text, QString::fromUtf8(c.text));
        } else {
            EXPECT_TRUE(messages.entries.isEmpty());
        }
    }
}

TEST_F(FakeLine, EveryOperationSendsItsCommand)
{
    amp.open = true;
    TDMTran::TWords w{};
    QByteArray bytes;
    uint32_t v = 0;
    uint8_t s = 0;
    uint32_t n = 0;
    bool usable = false;
    struct {
        std::function<bool()> call;
        const char *sent;
    } cases[] = {
        {[&] { return tran.ReadWords4(1, 0xF8000, 2, w); }, "R1 F8000"},
        {[&] { return tran.ReadWords8(2, 0xF8008, 4, w); }, "M2 F8008"},
        {[&] { return tran.ReadBytes8(3, 0xFA000, bytes); }, "M3 FA000"},
        {[&] { return tran.WriteByte(4, 0xF8001, 0x5A); }, "O4 F8001 5A"},
        {[&] { return tran.WriteWord(5, 0xF8002, 0x1234); }, "P5 F8002 12 34"},
        {[&] { return tran.WriteLong(6, 0xF8004, 0x11223344); }, "Q6 F8004 11 22 33 44"},
        {[&] { return tran.WriteWorkWord(7, 0xF9800, 0xBEEF); }, "Y7 F9800 BE EF"},
        {[&] { return tran.WriteWorkLong(8, 0xF9802, 0xA0B0C0D0); }, "Z8 F9802 A0 B0 C0 D0"},
        {[&] { return tran.AdjustEnd(1, TDMTran::akOffsetVRef, v); }, "W10 1"},
        {[&] { return tran.AdjustQuery(1, TDMTran::akOffsetTComp, v); }, "W21 1"},
        {[&] { return tran.AdjustStart(1, TDMTran::akAbsEncoderClear, v); }, "W42 1"},
        {[&] { return tran.AdjustProgress(1, TDMTran::akExcitation, v); }, "W63 1"},
        {[&] { return tran.TestRunEnd(1, TDMTran::tkTuningResultSave, v); }, "W70 1"},
        {[&] { return tran.TestRunStatus(1, TDMTran::tkFrequencyTuning, v); }, "WD1 1"},
        {[&] { return tran.TestRunRunStatus(1, TDMTran::tkSystemAnalysis, v); }, "WB3 1"},
        {[&] { return tran.JogForward(1, TDMTran::tkPulseJog, v); }, "W94 1"},
        {[&] { return tran.JogReverse(1, TDMTran::tkVelocityJog, v); }, "W85 1"},
        {[&] { return tran.TuningStart(1, TDMTran::tkNotchTuning, v); }, "WA4 1"},
        {[&] { return tran.TuningProgress(1, TDMTran::tkFrequencyTuning, v); }, "WD6 1"},
        {[&] { return tran.PulseJogForwardRepeat(1, TDMTran::tkPulseJog, v); }, "W96 1"},
        {[&] { return tran.PulseJogReverseRepeat(1, TDMTran::tkPulseJog, v); }, "W97 1"},
        {[&] { return tran.PulseJogStop(1, TDMTran::tkPulseJog, v); }, "W98 1"},
        {[&] { return tran.TuningSave(1, TDMTran::tkTuningResultSave, v); }, "W74 1"},
        {[&] { return tran.TraceUsable(1, usable); }, "W01 1"},
        {[&] { return tran.TraceStatus(1, s, n); }, "L00 1"},
        {[&] { return tran.TraceStart(1, s, n); }, "L01 1"},
        {[&] { return tran.TraceStop(1, s, n); }, "L03 1"},
        {[&] { return tran.TraceClear(1, s, n); }, "L04 1"},
    };
    for (const auto &c : cases) {
        amp.calls.clear();
        EXPECT_TRUE(c.call()) << c.sent;
        EXPECT_EQ(amp.calls, QStringList({QString::fromLatin1(c.sent)}));
    }
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(FakeLine, AnswersAreConvertedAndImpossibleCallsSendNothing)
{
    amp.open = true;
    TDMTran::TWords w{};
    // The byte at the even address is the low half of each word.
    ASSERT_TRUE(tran.ReadWords4(1, 0xF8000, 2, w));
    EXPECT_EQ(w[0], 0x2211);
    EXPECT_EQ(w[1], 0x4433);
    ASSERT_TRUE(tran.ReadWords8(1, 0xF8000, 4, w));
    EXPECT_EQ(w, (TDMTran::TWords{0x2211, 0x4433, 0x6655, 0x8877}));
    bool usable = true;
    amp.value = 5;
    ASSERT_TRUE(tran.TraceUsable(1, usable));
    EXPECT_FALSE(usable) << "the exchange worked; the trace is not usable";
    amp.value = 0x02000123;
    uint8_t s = 0;
    uint32_t n = 0;
    ASSERT_TRUE(tran.TraceStatus(1, s, n));
    EXPECT_EQ(s, 2);
    EXPECT_EQ(n, 0x123u);

    amp.calls.clear();
    uint32_t v = 0;
    EXPECT_FALSE(tran.ReadWords4(1, 0xF8000, 3, w));
    EXPECT_FALSE(tran.ReadWords8(1, 0xF8000, 0, w));
    EXPECT_FALSE(tran.TuningStart(1, TDMTran::tkVelocityJog, v));
    EXPECT_FALSE(tran.JogForward(1, TDMTran::tkNotchTuning, v));
    EXPECT_FALSE(tran.AdjustStart(1, 6, v));
    EXPECT_FALSE(tran.WriteByte(0, 0xF8000, 1));
    EXPECT_FALSE(tran.WriteByte(16, 0xF8000, 1));
    EXPECT_TRUE(amp.calls.isEmpty());
    EXPECT_TRUE(messages.entries.isEmpty());
    EXPECT_EQ(env.AmpCode(1), 0x1234);
}

TEST(TranWithoutEngine, FailsLikeASilentLine)
{
    TMessageRecorder messages;
    QTemporaryDir dir;
    TDMEnvironment env(dir.filePath("Tuvanta.ini"));
    env.SetAmpCode(4, 0x123);
    TDMTran tran(env);
    EXPECT_EQ(TDMTran::Instance(), &tran);
    TDMTran::TWords words{};
    EXPECT_FALSE(tran.ReadWords8(4, 0, 1, words));
    EXPECT_TRUE(messages.entries.isEmpty());
    EXPECT_EQ(env.AmpCode(4), -1);
}

class FakeMain : public FakeLine
{
protected:
    FakeMain() : main(env, loader, tables, tran, dir.path())
    {
        main.SetEngine(&amp);
        env.CommPort = 4;
    }
    TFMMain main;
};

TEST_F(FakeMain, GoingOnlineWithCtsOffWarnsAboutTheCableAndClosesThePort)
{
    amp.cts = false;
    main.actCommOnline->trigger();
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("通信ケーブルが接続されていません。")}));
    EXPECT_FALSE(main.Online());
    EXPECT_FALSE(amp.open);
    EXPECT_EQ(amp.calls.value(0), QStringLiteral("open 4"));
}

TEST_F(FakeMain, PortThatDoesNotOpenIsNamed)
{
    amp.canOpen = false;
    main.actCommOnline->trigger();
    // The device of port 4; the engine gave no reason.
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("通信ポートが使用できません。(COM4)\r\n\r\n/dev/ttyS3 を開けません。")}));
    EXPECT_FALSE(main.Online());
}

TEST_F(FakeMain, CableWatchNoticesCtsWithinAboutHalfASecond)
{
    main.SetOnline(true);
    ASSERT_TRUE(main.Online());
    QDialog run(&main);
    run.setObjectName("FMVJogRun");
    QElapsedTimer clock;
    QTimer::singleShot(20, [&] {
        clock.start();
        amp.cts = false;
    });
    QTimer::singleShot(5000, &run, &QDialog::reject);
    run.exec();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("通信ケーブルが接続されていません。")}));
    EXPECT_EQ(messages.closeAllCount, 1);
    EXPECT_FALSE(main.Online());
    for (int axis = 1; axis <= 15; ++axis)
        EXPECT_EQ(env.AmpCode(axis), -1);
    // The watch itself never talks to the amplifiers.
    EXPECT_FALSE(amp.calls.join(' ').contains("H"));
}

TEST_F(FakeMain, CommunicationResetResetsTheLineThenReleasesTheAxes)
{
    main.actCommReset->trigger();
    EXPECT_EQ(amp.calls.mid(0, 2), QStringList({"open 4", "reset"}));
    EXPECT_EQ(amp.calls.count(), 2 + 15) << "H1 to every axis in use";
    EXPECT_EQ(amp.calls.last(), QStringLiteral("H1F"));
    EXPECT_FALSE(main.Online());
}

TEST_F(FakeMain, OfflineWarnsForEachFailedReleaseWhileTheCableIsThere)
{
    main.SetOnline(true);
    for (int axis = 3; axis <= 15; ++axis)
        env.SetAmpCode(axis, -1);
    amp.results = {{1, trNak}, {2, trCommError}};
    main.actCommOffline->trigger();
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("軸番号が重複しています。（軸番号[#1]）"),
                                             QStringLiteral("通信異常です。（軸番号[#2]）")}));
    EXPECT_EQ(amp.calls.filter("H1"), QStringList({"H11", "H12"}));
    EXPECT_FALSE(main.Online());
}

} // namespace
