// The alarm history against the simulator: the ring and its pointer, the
// texts, reset and clear, the file view, the window, the report and the
// command line.
#include "support/CliRunner.h"
#include "SimFixture.h"
#include "support/MessageRecorder.h"
#include "support/Shots.h"

#include "ZnLibs/ZnPrintSettings.h"
#include "ZnLibs/ZnPrinter.h"
#include "app/cli/Cli.h"
#include "monitor/DMAlarm.h"
#include "monitor/FMAlarm.h"
#include "monitor/RPAlarm.h"
#include "params/DMLoadSave.h"
#include "testrun/DMAdjust.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

constexpr int NowAlarm = 0xF9F00;
constexpr int History = 0xF8400;

QByteArray Words(std::initializer_list<quint16> words)
{
    QByteArray b;
    for (quint16 w : words) {
        b.append(char(w & 0xFF));
        b.append(char(w >> 8));
    }
    return b;
}

TEST(AlarmTexts, ElapsedTime)
{
    const struct {
        uint32_t ticks;
        const char *text;
    } cases[] = {
        {0, "-----"},
        {1, "0時間0分0秒 経過"},
        {250 * 61, "0時間1分1秒 経過"},
        {900000, "1時間0分0秒 経過"},
        {2000u * 900000u - 250, "1999時間59分59秒 経過"},
        {2000u * 900000u, "2000時間以上 経過"},
        {0xFFFFFFFFu, "2000時間以上 経過"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TDMAlarm::ElapsedText(c.ticks), QString::fromUtf8(c.text)) << c.ticks;
}

class Alarm : public TSimFixture
{
protected:
    void SetUp() override
    {
        TSimFixture::SetUp();
        dm = std::make_unique<TDMAlarm>(*ctx);
        dm->OpenTables();
    }
    QStringList Symbols() const
    {
        QStringList s;
        for (const auto &row : dm->history)
            s << row.symbol;
        return s;
    }
    void Raise(const QStringList &alarms, int axis = 1)
    {
        for (const QString &a : alarms)
            Control(QStringLiteral("alarm %1 %2").arg(axis).arg(a).toStdString());
    }
    QString SaveFile(int axis, const QString &name)
    {
        TDMLoadSave save(intf, dmMain, *env, *tran);
        save.OpenTables();
        const QString path = dir.filePath(name);
        EXPECT_TRUE(save.TransferAmpToFile(axis, path, QStringLiteral("TVA-S10A")));
        return path;
    }

    TMessageRecorder messages;
    std::unique_ptr<TDMAlarm> dm;
};

TEST_F(Alarm, HistoryIdListHoldsTheEightWords)
{
    EXPECT_EQ(dm->HistoryIdList().split(u',').size(), 8);
}

TEST_F(Alarm, RaisedAlarmsAppearNewestFirst)
{
    Raise({"10 3", "11 2", "20 1"});
    ASSERT_TRUE(dm->ReadAmp(1));
    EXPECT_EQ(dm->now.symbol, QStringLiteral("OL"));
    EXPECT_EQ(dm->now.name, QStringLiteral("過負荷"));
    EXPECT_EQ(dm->now.state, QStringLiteral("RDY"));
    EXPECT_TRUE(dm->elapsed.startsWith(QStringLiteral("0時間0分"))) << dm->elapsed.toStdString();
    EXPECT_EQ(Symbols().mid(0, 3), (QStringList{"OL", "OV", "OC"}));
    EXPECT_EQ(dm->history[1].state, QStringLiteral("SON"));
    EXPECT_EQ(dm->history[2].state, QStringLiteral("RUN"));
    EXPECT_EQ(dm->version.count(QStringLiteral(" - ")), 4);
}

TEST_F(Alarm, RingWrapsAfterEightAlarms)
{
    const QStringList codes{"10", "11", "12", "20", "21", "22", "30", "31", "40", "41"};
    Raise(codes);
    ASSERT_TRUE(dm->ReadAmp(1));
    EXPECT_EQ(dm->now.symbol, QStringLiteral("ENC2"));
    EXPECT_EQ(Symbols(), (QStringList{"ENC2", "ENC1", "OFE", "OS", "RGOL", "OH", "OL"}));
}

// Pointer parts 3 in w0 and 6 in h5 give p = 1: Last1 is entry 1, Last2
// entry 0, Last3 entry 7 (counted modulo 8).
TEST_F(Alarm, PointerIsTheSumOfAllNineParts)
{
    Poke(1, NowAlarm, Words({0x0300, 0, 0, 0}));
    Poke(1, History, Words({0x0010, 0x0011, 0x0012, 0x0020, 0x0021, 0x0622, 0x0030, 0x0031}));
    ASSERT_TRUE(dm->ReadAmp(1));
    EXPECT_EQ(Symbols(), (QStringList{"OV", "OC", "OFE", "OS", "RGOL", "OH", "OL"}));
    EXPECT_EQ(dm->elapsed, QStringLiteral("-----"));
    EXPECT_EQ(dm->now.symbol, QStringLiteral("---"));
}

TEST_F(Alarm, LongAlarmShowsTheCappedText)
{
    Poke(1, NowAlarm, Words({0x3010, 0, quint16((2000u * 900000u) & 0xFFFF), quint16((2000u * 900000u) >> 16)}));
    ASSERT_TRUE(dm->ReadAmp(1));
    EXPECT_EQ(dm->elapsed, QStringLiteral("2000時間以上 経過"));
    EXPECT_EQ(dm->now.symbol, QStringLiteral("OC"));
}

TEST_F(Alarm, UnknownCodesAreEmptyLiveAndMarkedInTheFile)
{
    Poke(1, History, Words({0x0099, 0, 0, 0, 0, 0, 0, 0}));
    Poke(1, NowAlarm, Words({0, 0, 0, 0}));
    ASSERT_TRUE(dm->ReadAmp(1));
    EXPECT_EQ(dm->history[0].symbol, QString());
    EXPECT_EQ(dm->history[0].name, QString());
    EXPECT_EQ(dm->history[0].state, QStringLiteral("INIT"));
    ASSERT_TRUE(dm->ReadFile(SaveFile(1, QStringLiteral("unknown.ap0"))));
    EXPECT_EQ(dm->history[0].symbol, QStringLiteral("?????"));
    EXPECT_EQ(dm->history[0].name, QStringLiteral("?????"));
}

TEST_F(Alarm, ResetClearsTheCurrentAlarmAndTraceClearTheHistory)
{
    Raise({"10 3", "30 2"});
    Control("op 1 alarm-reset time=0");
    Control("op 1 trace-clear time=0");
    TDMAdjust adjust(*ctx);
    adjust.OpenTables();
    ASSERT_EQ(adjust.Execute(TDMAdjust::atAlarmReset, 1, QString()), TDMAdjust::TOutcome::Succeeded);
    ASSERT_TRUE(dm->ReadAmp(1));
    EXPECT_EQ(dm->now.code, 0);
    EXPECT_EQ(dm->elapsed, QStringLiteral("-----"));
    EXPECT_EQ(Symbols().mid(0, 2), (QStringList{"OS", "OC"})) << "the history stays";

    ASSERT_EQ(adjust.Execute(TDMAdjust::atAlarmTraceClear, 1, QString()), TDMAdjust::TOutcome::Succeeded);
    ASSERT_TRUE(dm->ReadAmp(1));
    for (const auto &row : dm->history)
        EXPECT_EQ(row.code, 0);
}

// The ring pointer of the amplifier also counts w0's part, which a file does
// not hold; eight alarms bring that part round to 0 again.
TEST_F(Alarm, FileViewShowsTheHistoryOfTheLiveWindow)
{
    Raise({"10 1", "11 2", "12 3", "20 4", "21 5", "22 6", "30 7", "31 8"});
    ASSERT_TRUE(dm->ReadAmp(1));
    const auto live = dm->history;
    const QString path = SaveFile(1, QStringLiteral("alarms.ap0"));
    ASSERT_TRUE(dm->ReadFile(path));
    for (int k = 0; k < TDMAlarm::Shown; ++k) {
        EXPECT_EQ(dm->history[size_t(k)].symbol, live[size_t(k)].symbol) << k;
        EXPECT_EQ(dm->history[size_t(k)].name, live[size_t(k)].name) << k;
        EXPECT_EQ(dm->history[size_t(k)].state, live[size_t(k)].state) << k;
    }
    EXPECT_TRUE(dm->now.symbol.isEmpty());
    EXPECT_TRUE(dm->elapsed.isEmpty());
    EXPECT_EQ(dm->fileName, path);
}

TEST_F(Alarm, DamagedFileIsDropped)
{
    const QString path = dir.filePath(QStringLiteral("bad.ap0"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // The reader is tolerant of missing header lines, but not of a count the
    // file does not hold.
    f.write("AMP-CODE,0x00A101\r\nAMP-TYPE,\"X\"\r\nCPU-VER,\"\"\r\nHVX-VER,\"V\"\r\n"
            "PARAM-CNT,3\r\nPARAMETER,0,0x0001\r\nPARAMETER,1,0x0002\r\n");
    f.close();
    EXPECT_FALSE(dm->ReadFile(path));
    EXPECT_TRUE(dm->fileName.isEmpty());
    EXPECT_TRUE(messages.Texts().contains(QStringLiteral("アンプファイルが壊れています。")));
}

class AlarmWindow : public Alarm
{
protected:
    QString Cell(QTableWidget *g, int row, int column) { return g->item(row, column)->text(); }
};

TEST_F(AlarmWindow, PollsTheAxisAndSwitchesSources)
{
    Raise({"10 3", "41 2"});
    TFMAlarm window(*ctx);
    QTimer::singleShot(0, &window, [&] {
        QCoreApplication::processEvents();
        EXPECT_EQ(window.Source(), 1);
        EXPECT_TRUE(window.Polling());
        EXPECT_TRUE(window.sbtnAxis[0]->isChecked());
        window.Tick();
        EXPECT_TRUE(window.tmrAmpRead.isActive()) << "re-armed after a good read";
        EXPECT_EQ(window.windowTitle(), QStringLiteral("アラーム履歴表示"));
        EXPECT_EQ(Cell(window.sgrdNow, 1, 1), QStringLiteral("ENC2"));
        EXPECT_EQ(Cell(window.sgrdHistory, 1, 0), QStringLiteral("Last1"));
        EXPECT_EQ(Cell(window.sgrdHistory, 2, 1), QStringLiteral("OC"));
        EXPECT_EQ(Cell(window.sgrdNow, 0, 1), QStringLiteral("アラーム内容\n(シンボル)"));
        EXPECT_FALSE(Cell(window.sgrdVersion, 0, 1).isEmpty());
        EXPECT_TRUE(window.actAlarmReset->isEnabled());
        EXPECT_FALSE(window.actFileOpen->isEnabled());
        EXPECT_TRUE(window.sgrdNow->isEnabled());
        Shot(&window, QStringLiteral("alarm_window"));

        // "File" without a file: the empty view; again: nothing happens.
        window.sbtnFile->click();
        EXPECT_EQ(window.Source(), -1);
        EXPECT_FALSE(window.Polling());
        EXPECT_EQ(window.windowTitle(), QStringLiteral("アラーム履歴表示 - [無題]"));
        EXPECT_FALSE(window.actPrint->isEnabled());
        EXPECT_FALSE(window.actPrintPreview->isEnabled());
        EXPECT_TRUE(window.actFileOpen->isEnabled());
        EXPECT_FALSE(window.sgrdNow->isEnabled());
        EXPECT_TRUE(Cell(window.sgrdHistory, 2, 1).isEmpty());
        window.sbtnFile->click();
        EXPECT_EQ(window.Source(), -1);
        EXPECT_TRUE(window.sbtnFile->isChecked());

        window.AskOpenName = [&] { return SaveFile(1, QStringLiteral("w.ap0")); };
        window.actFileOpen->trigger();
        EXPECT_EQ(window.Source(), 0);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("アラーム履歴表示 - [w.ap0]"));
        EXPECT_TRUE(window.actPrint->isEnabled());
        EXPECT_FALSE(window.actAlarmReset->isEnabled());
        EXPECT_FALSE(Cell(window.sgrdHistory, 1, 1).isEmpty());
        EXPECT_TRUE(Cell(window.sgrdNow, 1, 1).isEmpty());
        Shot(&window, QStringLiteral("alarm_window_file"));
        window.actFileClose->trigger();
        EXPECT_EQ(window.Source(), -1);
        EXPECT_TRUE(window.FileName().isEmpty());
        window.sbtnAxis[1]->click();
        EXPECT_EQ(window.Source(), 2);
        EXPECT_TRUE(window.Polling());
        window.reject();
        EXPECT_FALSE(window.Polling()) << "closing stops the polling";
    });
    window.exec();
}

TEST_F(AlarmWindow, LosingAxesMovesOnAndWarnsOnceAtTheEnd)
{
    TFMAlarm window(*ctx);
    QTimer::singleShot(0, &window, [&] {
        QCoreApplication::processEvents();
        env->SetAmpCode(1, -1);
        window.Tick();
        EXPECT_EQ(window.Source(), 2);
        EXPECT_FALSE(window.sbtnAxis[0]->isEnabled());
        EXPECT_EQ(messages.entries.size(), 0);
        for (int n = 2; n <= 5; ++n)
            env->SetAmpCode(n, -1);
        window.Tick();
        EXPECT_EQ(window.Source(), -1);
        EXPECT_FALSE(window.Polling());
        EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("通信可能なサーボアンプが存在しません。")});
        window.reject();
    });
    window.exec();
}

TEST_F(AlarmWindow, OperationsPauseThePolling)
{
    TFMAlarm window(*ctx);
    QList<int> types;
    window.RunOperation = [&](int type) {
        types << type;
        EXPECT_FALSE(window.Polling());
    };
    QTimer::singleShot(0, &window, [&] {
        QCoreApplication::processEvents();
        window.actAlarmReset->trigger();
        EXPECT_TRUE(window.Polling());
        window.actAlarmClear->trigger();
        window.reject();
    });
    window.exec();
    EXPECT_EQ(types, (QList<int>{TDMAdjust::atAlarmReset, TDMAdjust::atAlarmTraceClear}));
}

TEST_F(AlarmWindow, ReportAsPdf)
{
    TZnPrintSettings::SetStoreFile(dir.filePath(QStringLiteral("print.ini")));
    TZnPrinter::OverrideHasPrinter(true);
    Raise({"10 3", "20 1", "51 2"});
    TFMAlarm window(*ctx);
    const QString pdf = qEnvironmentVariable("TUVANTA_SHOTS").isEmpty()
                            ? dir.filePath(QStringLiteral("alarms.pdf"))
                            : qEnvironmentVariable("TUVANTA_SHOTS") + QStringLiteral("/alarm_report.pdf");
    bool shown = false;
    window.ShowReport = [&](TRPAlarm &report, bool preview) {
        EXPECT_TRUE(preview);
        EXPECT_FALSE(window.Polling());
        QString error;
        EXPECT_TRUE(report.SavePdf(pdf, &error)) << error.toStdString();
        shown = true;
    };
    QTimer::singleShot(0, &window, [&] {
        QCoreApplication::processEvents();
        window.Tick();
        window.actPrintPreview->trigger();
        EXPECT_TRUE(window.Polling()) << "polling resumes";
        EXPECT_EQ(window.Module().ampModel.trimmed(), QStringLiteral("TVA-S10A"));
        window.reject();
    });
    window.exec();
    TZnPrinter::OverrideHasPrinter(std::nullopt);
    TZnPrintSettings::SetStoreFile(QString());
    ASSERT_TRUE(shown);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5).startsWith("%PDF"));
}

class AlarmCli : public Alarm
{
protected:
    void SetUp() override
    {
        Alarm::SetUp();
        engine.ClosePort(); // the command line opens the line itself
    }
    TCliResult Run(const QString &line) { return RunCli(dir.filePath("tty"), line); }
};

TEST_F(AlarmCli, JsonHasCurrentAndHistoryNewestFirst)
{
    TCliResult none = Run(QStringLiteral("alarms 1 --json"));
    ASSERT_EQ(none.status, 0) << none.err.toStdString();
    QJsonObject o = QJsonDocument::fromJson(none.out.toUtf8()).object();
    EXPECT_TRUE(o.value("current").isNull());
    EXPECT_TRUE(o.value("history").toArray().isEmpty());

    Raise({"10 3", "11 2"});
    TCliResult two = Run(QStringLiteral("alarms 1 --json"));
    ASSERT_EQ(two.status, 0) << two.err.toStdString();
    o = QJsonDocument::fromJson(two.out.toUtf8()).object();
    EXPECT_EQ(o.value("current").toObject().value("symbol").toString(), QStringLiteral("OV"));
    EXPECT_EQ(o.value("current").toObject().value("name").toString(), QStringLiteral("Overvoltage"));
    EXPECT_FALSE(o.value("current").toObject().value("elapsed").toString().isEmpty());
    const QJsonArray history = o.value("history").toArray();
    ASSERT_EQ(history.size(), 2);
    EXPECT_EQ(history[0].toObject().value("symbol").toString(), QStringLiteral("OV"));
    EXPECT_EQ(history[1].toObject().value("state").toString(), QStringLiteral("RUN"));

    TCliResult text = Run(QStringLiteral("alarms 1"));
    ASSERT_EQ(text.status, 0);
    EXPECT_TRUE(text.out.contains(QStringLiteral("current: OV  Overvoltage  [SON]"))) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(QStringLiteral("Last2: OC"))) << text.out.toStdString();
}

TEST_F(AlarmCli, ResetExitsNonZeroWhenRefused)
{
    Control("op 1 alarm-reset time=0");
    Raise({"20 1"});
    Control("alarm 1 persist on");
    EXPECT_EQ(Run(QStringLiteral("alarm-reset 1 --yes")).status, TCli::ExitRefused);
    EXPECT_EQ(PeekValue(1, NowAlarm, 1), 0x20u);
    EXPECT_EQ(Run(QStringLiteral("alarm-reset 1")).status, TCli::ExitRefused) << "not confirmed";
    Control("alarm 1 persist off");
    const TCliResult done = Run(QStringLiteral("alarm-reset 1 --yes"));
    EXPECT_EQ(done.status, 0) << done.err.toStdString();
    EXPECT_EQ(PeekValue(1, NowAlarm, 1), 0u);
    EXPECT_EQ(Run(QStringLiteral("alarms")).status, TCli::ExitUsage);
}

} // namespace
