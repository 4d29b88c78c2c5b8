// The system analysis against the simulator, end to end: the measurement
// dialog drives the simulated amplifier's measurement, the recording is read
// back, the analyser finds the plant in it, and the window shows the result.
#include "testrun/TestRunSupport.h"
#include "support/Shots.h"

#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "sysanalysis/BodeScale.h"
#include "sysanalysis/FMBodePlot.h"
#include "sysanalysis/FMMachine.h"
#include "sysanalysis/FMMeasurement.h"
#include "sysanalysis/MachineFile.h"
#include "sysanalysis/RPMachine.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QRegularExpression>
#include <QTextStream>
#include <QTranslator>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// Gives up at once: the user's Cancel in the wait box.
class TCancelWait final : public TAnalyserWait
{
public:
    bool Step(int) override { return false; }
};

class Measurement : public TTestRunFixture
{
protected:
    void SetUp() override
    {
        TTestRunFixture::SetUp();
        // The analyser beside the test's own files, so the exchange files of
        // parallel tests do not meet.
        respana = dir.filePath(QStringLiteral("Respana"));
        ASSERT_TRUE(QFile::link(QStringLiteral(TUVANTA_BIN_DIR "/Respana"), respana));
        env->AnalyserPath = respana;
        machine = std::make_unique<TDMMachine>(*ctx);
        machine->OpenTables();
        machine->programDir = dir.path();
        Control("sysan 1 time 50");
    }
    void TearDown() override
    {
        machine.reset();
        TTestRunFixture::TearDown();
    }

    // The measurement without a window: pre-check, servo on, start, the
    // measurement itself and the end of the test run.
    TDMMachine::TEnd MeasureDirectly(int torque, int code)
    {
        uint32_t r = 0;
        EXPECT_TRUE(ctx->tran.TestRunStatus(1, 3, r));
        EXPECT_TRUE(ctx->tran.TestRunRunStatus(1, 3, r));
        EXPECT_TRUE(ctx->tran.TuningStart(1, 3, r));
        EXPECT_EQ(r, 0u);
        TDMMachine::TConditions c;
        c.torque = torque;
        c.frequency = code;
        const TDMMachine::TEnd end = machine->Measure(*dm, 1, c, nullptr, QStringLiteral("t"));
        EXPECT_TRUE(ctx->tran.TestRunEnd(1, 3, r));
        return end;
    }

    // The selection window's pre-check, which starts the mode (and brings
    // its settings into the common area) before the dialog opens.
    void PreCheck()
    {
        uint32_t r = 0;
        EXPECT_TRUE(ctx->tran.TestRunStatus(1, 3, r));
    }

    // The measurement dialog as the user runs it: servo on, "実行", and OK
    // in the confirmation. Returns the dialog's result.
    int RunDialog(TDMMachine &into, int torque = 50, int code = 1, bool confirm = true)
    {
        PreCheck();
        TFMMeasurement d(*ctx, *dm, into, 1, QStringLiteral("TVA-S10A  "));
        d.windowActive = [] { return true; };
        d.show();
        if (!WaitFor([&] { return d.Running(); }))
            return -1;
        d.edtTorque->setValue(torque);
        d.cmbFrequency->setCurrentIndex(d.cmbFrequency->findData(code));
        TT::mouseClick(d.btnServoOn, Qt::LeftButton);
        if (!WaitFor([&] { return Control("sysan 1").find("servo=on") != std::string::npos; }))
            return -2;
        d.ClickExecute();
        if (!WaitFor([&] { return d.AwaitingConfirmation() || !d.isVisible(); }, 20000))
            return -3;
        if (d.isVisible()) {
            EXPECT_FALSE(d.isEnabled());
            (confirm ? d.confirmation->button(QMessageBox::Ok) : d.confirmation->button(QMessageBox::Cancel))->click();
            if (!confirm) {
                EXPECT_TRUE(WaitFor([&] { return !d.AwaitingConfirmation() && d.isEnabled(); }));
                d.reject();
            }
        }
        WaitFor([&] { return !d.isVisible(); });
        return d.result();
    }

    // The strongest gain between two frequencies.
    static double PeakHz(const std::vector<TMachineResult::TRow> &rows, double from, double to)
    {
        double best = -1e9, at = 0;
        for (const auto &r : rows)
            if (r.frequency >= from && r.frequency <= to && r.gain > best) {
                best = r.gain;
                at = r.frequency;
            }
        return at;
    }

    QString respana;
    std::unique_ptr<TDMMachine> machine;
};

TEST_F(Measurement, WindowShowsThePlantResonanceAsGainPeak)
{
    Control("plant 1 300");
    TFMMachine window(*ctx);
    window.dm.programDir = dir.path();
    int dialogResult = -9;
    window.execSelection = [&](int &axis) {
        axis = 1;
        // The window's own result module takes the measurement.
        dialogResult = RunDialog(window.dm, 50, 1);
        return dialogResult;
    };
    window.show();
    WaitFor([&] { return window.windowTitle().startsWith(QStringLiteral("システムアナリシス")); });
    window.StartMeasurement();
    ASSERT_EQ(dialogResult, int(QDialog::Accepted));
    EXPECT_TRUE(Sent("WB0"));
    ASSERT_TRUE(window.HasData());
    EXPECT_EQ(window.Source(), 1);
    EXPECT_EQ(window.edtAxis->text(), QStringLiteral("#1"));
    EXPECT_FALSE(window.Blank());
    const auto &rows = window.dm.result.DATA2;
    ASSERT_EQ(rows.size(), 460u);
    const double peak = PeakHz(rows, 220, 700);
    EXPECT_NEAR(peak, 300, 15) << "gain peak at " << peak << " Hz";
    EXPECT_GT(window.Points(), 400);
    EXPECT_EQ(window.edtTorque->text(), QStringLiteral("50"));
    EXPECT_EQ(window.edtFrequency->text(), QStringLiteral("10.0 to 2000 [Hz]"));
    EXPECT_EQ(window.edtMonitor[1]->text(), QStringLiteral("10")); // KVP_MON
    EXPECT_EQ(window.edtMonitor[2]->text(), QStringLiteral("20.0")); // TVI_MON in ms
    // Cursors on the peak and at 1 kHz, as the screenshot shows them.
    const std::vector<int> xs = window.plotGain->data.Xs();
    int onPeak = 0;
    for (int k = 0; k < window.Points(); ++k)
        if (rows[size_t(window.FirstRow() + k)].frequency <= peak)
            onPeak = k;
    window.SetCursor(0, onPeak);
    window.ScrollBarT2->setValue(window.Points() - 40);
    EXPECT_EQ(window.edtCursorHz[0]->text(), QString::number(peak, 'f', 2));
    EXPECT_FALSE(window.edtCursorGain[1]->text().isEmpty());
    window.GainAuto();
    Shot(&window, QStringLiteral("sysanalysis-bode"));
    window.reject();
}

TEST_F(Measurement, PureGainPlantGivesAFlatResponse)
{
    Control("plant 1 0");
    ASSERT_EQ(MeasureDirectly(50, 1), TDMMachine::TEnd::Done);
    ASSERT_TRUE(machine->ReadModelNames(1));
    ASSERT_TRUE(machine->RunAnalyser(false));
    std::vector<double> gains;
    for (const auto &r : machine->result.DATA2)
        if (TBodeScale::Plotted(r.frequency))
            gains.push_back(r.gain);
    ASSERT_GT(gains.size(), 400u);
    std::sort(gains.begin(), gains.end());
    const double median = gains[gains.size() / 2];
    EXPECT_LE(gains.back() - median, 1.0);
    EXPECT_LE(median - gains.front(), 1.0);
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(Measurement, RecordingReadsTheSameFromAnyRingStart)
{
    Control("sysan 1 noise 0");
    Control("plant 1 0");
    Control("sysan 1 ring 0");
    ASSERT_EQ(MeasureDirectly(60, 2), TDMMachine::TEnd::Done);
    const auto first = machine->result.DATA1;
    Control("sysan 1 ring 1020");
    ASSERT_EQ(MeasureDirectly(60, 2), TDMMachine::TEnd::Done);
    EXPECT_EQ(machine->result.DATA1, first);
    EXPECT_EQ(machine->result.TriggerNo, 1);
    EXPECT_EQ(machine->result.TC, 60);
    EXPECT_EQ(machine->result.FREQUENCY, 2);
    EXPECT_EQ(machine->result.MENP, 1048576);
    // The loop answers the disturbance one sample later, in the opposite
    // direction: -0.0314 % per r/min x 10 r/min per % x 60 % x 4096 / 100.
    EXPECT_EQ(first[1].analog, 0);
    EXPECT_NEAR(double(first[2].analog), 0.314 * 60 * 40.96, 2.0);
    EXPECT_FLOAT_EQ(machine->result.T_LIM, 0.0f);
}

TEST_F(Measurement, TorqueLimitShowsAsRate)
{
    Control("plant 1 0");
    Control("sysan 1 limit 40"); // the 60 % disturbance always exceeds it
    ASSERT_EQ(MeasureDirectly(60, 1), TDMMachine::TEnd::Done);
    EXPECT_GT(machine->result.T_LIM, 90.0f);
}

TEST_F(Measurement, ProgressRepliesEndTheMeasurementWithTheirWarning)
{
    struct TCase {
        const char *replies;
        TDMMachine::TEnd end;
        QString text;
    };
    const TCase cases[] = {
        {"11,11,12,12", TDMMachine::TEnd::Done, QString()},
        {"11,1", TDMMachine::TEnd::NotReady, QStringLiteral("データ測定＆解析を実行することができません。（準備未完了）")},
        {"7", TDMMachine::TEnd::Alarm, QStringLiteral("アラーム発生中です。\r\nサーボオンできません。")},
        {"9", TDMMachine::TEnd::Overtravel, QStringLiteral("オーバートラベル中です。")},
        {"10", TDMMachine::TEnd::Abnormal, QStringLiteral("データ測定＆解析できません。（異常終了）")},
        {"13", TDMMachine::TEnd::Refused, QStringLiteral("サーボオンできません。\r\nサーボアンプの状態を確認してください。")},
        {"11,12,10", TDMMachine::TEnd::Abnormal, QStringLiteral("データ測定＆解析できません。（異常終了）")},
    };
    for (const TCase &c : cases) {
        Control(std::string("sysan 1 WB6 ") + c.replies);
        EXPECT_EQ(MeasureDirectly(50, 1), c.end) << c.replies;
        EXPECT_EQ(TDMMachine::EndText(c.end), c.text) << c.replies;
        Control("sysan 1 WB6 12");
    }
}

TEST_F(Measurement, DialogStartRepliesAndRefusals)
{
    struct TCase {
        const char *command;
        QString warning;
        bool closes;
    };
    const TCase cases[] = {
        {"sysan 1 WB4 7", QStringLiteral("アラーム発生中です。\r\nサーボオンできません。"), false},
        {"sysan 1 WB4 8", QStringLiteral("サーボオンできません。\r\nサーボアンプの状態を確認してください。"), false},
        {"sysan 1 WB4 1", QStringLiteral("データ測定＆解析を実行することができません。（準備未完了）"), true},
        {"sysan 1 WB6 10", QStringLiteral("データ測定＆解析できません。（異常終了）"), false},
        {"sysan 1 WB6 7", QStringLiteral("アラーム発生中です。\r\nサーボオンできません。"), false},
    };
    for (const TCase &c : cases) {
        Control(c.command);
        messages.Clear();
        PreCheck();
        TFMMeasurement d(*ctx, *dm, *machine, 1, QStringLiteral("TVA-S10A  "));
        d.windowActive = [] { return true; };
        d.show();
        ASSERT_TRUE(WaitFor([&] { return d.Running(); }));
        TT::mouseClick(d.btnServoOn, Qt::LeftButton);
        ASSERT_TRUE(WaitFor([&] { return Control("sysan 1").find("servo=on") != std::string::npos; }));
        d.ClickExecute();
        ASSERT_TRUE(WaitFor([&] { return !messages.entries.isEmpty(); }, 10000)) << c.command;
        EXPECT_EQ(messages.entries.first().text, c.warning) << c.command;
        EXPECT_EQ(messages.entries.first().caption, QStringLiteral("データ測定＆解析 [#1 : TVA-S10A  ]"));
        if (c.closes) {
            EXPECT_TRUE(WaitFor([&] { return !d.isVisible(); })) << c.command;
        } else {
            EXPECT_TRUE(d.isVisible()) << c.command;
            EXPECT_FALSE(d.MeasurementRequested()) << c.command;
            d.reject();
        }
        Control("sysan 1 WB4 0");
        Control("sysan 1 WB6 12");
        Control("reset 1");
    }
}

TEST_F(Measurement, DialogRefusesAFrequencyCodeOutsideTheTable)
{
    Control("sysan 1 settings 70,1,9");
    PreCheck();
    TFMMeasurement d(*ctx, *dm, *machine, 1, QStringLiteral("TVA-S10A  "));
    d.windowActive = [] { return true; };
    d.show();
    ASSERT_TRUE(WaitFor([&] { return d.Running(); }));
    EXPECT_EQ(d.cmbFrequency->currentIndex(), -1);
    EXPECT_EQ(d.edtTorque->value(), 70);
    EXPECT_TRUE(d.rbtnEndAlarm->isChecked());
    d.SetServo(true);
    d.ClickExecute();
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("測定周波数が設定範囲外です。")});
    EXPECT_FALSE(d.MeasurementRequested());
    // The monitors of the idle poll.
    EXPECT_TRUE(WaitFor([&] { return d.edtMonitor[0]->text() == QStringLiteral("100"); }));
    EXPECT_EQ(d.edtMonitor[2]->text(), QStringLiteral("20.0"));
    d.cmbFrequency->setCurrentIndex(0);
    Shot(&d, QStringLiteral("sysanalysis-measurement"));
    d.reject();
    EXPECT_TRUE(Sent("WB0"));
}

TEST_F(Measurement, CancelInTheConfirmationKeepsTheDialogOpen)
{
    Control("plant 1 0");
    EXPECT_EQ(RunDialog(*machine, 50, 1, false), int(QDialog::Rejected));
    EXPECT_TRUE(Sent("WB6"));
}

TEST_F(Measurement, RelativeAnalyserPathsHangOffTheProgramFolder)
{
    Control("plant 1 0");
    ASSERT_EQ(MeasureDirectly(50, 1), TDMMachine::TEnd::Done);
    ASSERT_TRUE(machine->ReadModelNames(1));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("tools")));
    ASSERT_TRUE(QFile::link(QStringLiteral(TUVANTA_BIN_DIR "/Respana"), dir.filePath(QStringLiteral("tools/Respana"))));
    for (const QString &name : {QStringLiteral("tools/Respana"), QStringLiteral("tools\\Respana")}) {
        env->AnalyserPath = name;
        QFile::remove(dir.filePath(QStringLiteral("tools/_sysan01.CSV")));
        EXPECT_EQ(machine->AnalyserProgram(), dir.filePath(QStringLiteral("tools/Respana")));
        machine->result.DATA2.clear();
        ASSERT_TRUE(machine->RunAnalyser(false)) << name.toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("tools/_sysan01.CSV"))));
        EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("tools/_sysan02.CSV"))));
        EXPECT_EQ(machine->result.DATA2.size(), 460u);
    }
}

TEST_F(Measurement, AnalyserFailuresAreWarnedAndKeepThePreviousResult)
{
    machine->result.DATA2 = {{1, 2, 3}};
    auto script = [&](const QString &name, const QByteArray &body) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + body);
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        return path;
    };
    struct TCase {
        QString program;
        QString warning;
    };
    const TCase cases[] = {
        {dir.filePath(QStringLiteral("Missing")), QStringLiteral("Missing ファイルが見つかりません。")},
        {script(QStringLiteral("Silent"), "exit 0\n"), QStringLiteral("_sysan02.CSV を作成できません。")},
        {script(QStringLiteral("Garbage"), "echo 'x,0,0' > _sysan02.CSV\n"),
         QStringLiteral("システムアナリシスファイルではありません。")},
    };
    for (const TCase &c : cases) {
        env->AnalyserPath = c.program;
        messages.Clear();
        // A stale result of an earlier run must not count as this one's.
        QFile stale(dir.filePath(QStringLiteral("_sysan02.CSV")));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("1,0,0\r\n5,5,5\r\n");
        stale.close();
        EXPECT_FALSE(machine->RunAnalyser(false)) << c.program.toStdString();
        EXPECT_EQ(messages.Texts(), QStringList{c.warning});
        ASSERT_EQ(machine->result.DATA2.size(), 1u);
        EXPECT_EQ(machine->result.DATA2[0].frequency, 1);
    }
}

TEST_F(Measurement, CancelWhileTheAnalyserRunsReadsNothing)
{
    const QString path = dir.filePath(QStringLiteral("Slow"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\nsleep 2\nprintf '1,0,0\\r\\n7,7,7\\r\\n' > _sysan02.CSV\n");
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    env->AnalyserPath = path;
    machine->result.DATA2.clear();
    TCancelWait cancel;
    EXPECT_FALSE(machine->RunAnalyser(false, &cancel));
    EXPECT_TRUE(machine->result.DATA2.empty());
    EXPECT_TRUE(messages.entries.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("_sysan02.CSV"))));
}

TEST_F(Measurement, EmptyAnalyserSettingDisablesTheFunction)
{
    env->AnalyserPath.clear();
    TFMMachine window(*ctx);
    bool opened = false;
    window.execSelection = [&](int &) {
        opened = true;
        return int(QDialog::Rejected);
    };
    window.StartMeasurement();
    EXPECT_FALSE(opened);
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("縮小インストールされたTuvantaでは、この機能は使用できません。")});
}

TEST_F(Measurement, WindowOpensSavedFilesAndForgetsRejectedOnes)
{
    Control("plant 1 300");
    ASSERT_EQ(MeasureDirectly(50, 1), TDMMachine::TEnd::Done);
    ASSERT_TRUE(machine->ReadModelNames(1));
    ASSERT_TRUE(machine->RunAnalyser(false));
    const QString saved = dir.filePath(QStringLiteral("one.csv"));
    ASSERT_TRUE(machine->SaveAnalysisFile(saved));

    TFMMachine window(*ctx);
    window.OpenFile(saved);
    EXPECT_EQ(window.Source(), 0);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("システムアナリシス - [%1]").arg(saved));
    EXPECT_EQ(window.edtAxis->text(), QStringLiteral("File"));
    EXPECT_FALSE(window.Blank());
    EXPECT_EQ(window.dm.result.DATA2.size(), 460u);
    EXPECT_EQ(window.dm.result.DATA1, machine->result.DATA1);
    EXPECT_TRUE(window.actPrint->isEnabled());
    EXPECT_TRUE(window.actClose->isEnabled());
    EXPECT_FALSE(window.actClear->isEnabled());
    {
        // The printed page, as PDF.
        TRPMachine report(window);
        const QString pdf = dir.filePath(QStringLiteral("one.pdf"));
        QString error;
        ASSERT_TRUE(report.SavePdf(pdf, &error)) << error.toStdString();
        EXPECT_GT(QFileInfo(pdf).size(), 2000);
    }

    QFile broken(dir.filePath(QStringLiteral("broken.csv")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("AMP-CODE,0x00A101\r\ntc,0x10\r\n");
    broken.close();
    window.OpenFile(broken.fileName());
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("システムアナリシスファイルではありません。")});
    EXPECT_TRUE(window.FileName().isEmpty());
    EXPECT_TRUE(window.Blank());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("システムアナリシス - [無題]"));
    EXPECT_FALSE(window.actPrint->isEnabled());
    EXPECT_TRUE(window.edtTorque->text().isEmpty());
}

TEST_F(Measurement, GainScaleButtons)
{
    TFMMachine window(*ctx);
    window.dm.result.DATA2 = {{1, -80, 0}, {100, -65, 0}, {2000, -70, 0}};
    for (auto &sample : window.dm.result.DATA1)
        sample = {0, 0};
    window.dm.result.FREQUENCY = 1;
    const QString path = dir.filePath(QStringLiteral("g.csv"));
    ASSERT_TRUE(window.dm.SaveAnalysisFile(path));
    window.OpenFile(path);
    ASSERT_EQ(window.Points(), 3);
    window.GainAuto();
    EXPECT_EQ(window.GainRange(), 10);
    EXPECT_EQ(window.GainOffset(), 2);
    window.GainDefault();
    for (int i = 0; i < 7; ++i)
        window.GainDown();
    EXPECT_EQ(window.GainOffset(), -6);
    for (int i = 0; i < 12; ++i)
        window.GainUp();
    EXPECT_EQ(window.GainOffset(), 3);
    window.GainDefault();
    EXPECT_EQ(window.GainOffset(), 0);
    EXPECT_EQ(window.GainRange(), 10);
    window.SetCursor(1, 99);
    EXPECT_EQ(window.edtCursorHz[1]->text(), QStringLiteral("2000.00"));
    EXPECT_EQ(window.edtCursorGain[1]->text(), QStringLiteral("-70.0"));
    EXPECT_EQ(window.edtCursorPhase[1]->text(), QStringLiteral("0"));
}

TEST_F(Measurement, CommandLineAnalysesIntoAFile)
{
    Control("plant 1 300");
    engine.ClosePort();
    const QString out = dir.filePath(QStringLiteral("cli.csv"));
    QStringList args = {QStringLiteral("--device"), dir.filePath("tty"), QStringLiteral("--baud"), QStringLiteral("57600"),
                        QStringLiteral("--db"), SampleDatabasePath(), QStringLiteral("analyse"), QStringLiteral("1"),
                        QStringLiteral("--torque"), QStringLiteral("50"), QStringLiteral("--frequency"),
                        QStringLiteral("1"), QStringLiteral("-o"), out, QStringLiteral("--analyser"), respana,
                        QStringLiteral("--yes")};
    const QString png = dir.filePath(QStringLiteral("bode.png"));
    {
        // A program that cannot draw refuses --bode before the motor moves.
        SetCliBodeWriter(nullptr);
        QString o, e;
        QTextStream os(&o), es(&e);
        EXPECT_EQ(TCli(os, es).Run(args + QStringList{QStringLiteral("--bode"), png}), TCli::ExitCannotWrite);
        EXPECT_FALSE(QFileInfo::exists(out));
    }
    SetCliBodeWriter(&TFMBodePlot::SavePng);
    QString o, e;
    {
        QTextStream os(&o), es(&e);
        EXPECT_EQ(TCli(os, es).Run(args + QStringList{QStringLiteral("--bode"), png}), 0) << e.toStdString();
    }
    SetCliBodeWriter(nullptr);
    TMachineResult r;
    QByteArray bytes;
    ASSERT_TRUE(TMachineFile::Load(out, bytes));
    ASSERT_TRUE(TMachineFile::Read(bytes, r));
    EXPECT_EQ(r.DATA2.size(), 460u);
    EXPECT_NEAR(PeakHz(r.DATA2, 220, 700), 300, 15);
    EXPECT_EQ(r.AmpCode, CodeA);
    // The picture: gain above phase, each with its curve in its colour.
    const QImage bode(png);
    ASSERT_EQ(bode.size(), QSize(TFMBodePlot::PictureWidth(), 2 * TFMBodePlot::PictureHeight()));
    auto hasColour = [&](int top, QRgb colour) {
        for (int y = top; y < top + TFMBodePlot::PictureHeight(); ++y)
            for (int x = TFMBodePlot::Left; x < bode.width(); ++x)
                if (bode.pixel(x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasColour(0, QColor(Qt::black).rgb()));
    EXPECT_TRUE(hasColour(TFMBodePlot::PictureHeight(), QColor(Qt::red).rgb()));
    EXPECT_FALSE(hasColour(0, QColor(Qt::red).rgb()));

    // Without --yes nothing moves.
    args.removeLast();
    QString o2, e2;
    QTextStream os2(&o2), es2(&e2);
    EXPECT_EQ(TCli(os2, es2).Run(args), TCli::ExitRefused);
}

// With the English file loaded neither window keeps a Japanese text.
TEST_F(Measurement, EnglishLeavesNoJapanese)
{
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(TUVANTA_BIN_DIR "/Tuvanta.ENU")));
    QCoreApplication::installTranslator(&english);
    const QRegularExpression japanese(QStringLiteral("[\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
    auto check = [&](QWidget &w) {
        for (QWidget *c : w.findChildren<QWidget *>()) {
            QString text = c->property("text").toString() + c->property("title").toString();
            if (auto *a = qobject_cast<QAbstractButton *>(c))
                text += a->text();
            EXPECT_FALSE(text.contains(japanese)) << text.toStdString();
        }
        for (QAction *a : w.findChildren<QAction *>())
            EXPECT_FALSE(a->text().contains(japanese)) << a->text().toStdString();
        EXPECT_FALSE(w.windowTitle().contains(japanese)) << w.windowTitle().toStdString();
    };
    {
        PreCheck();
        TFMMeasurement d(*ctx, *dm, *machine, 1, QStringLiteral("TVA-S10A  "));
        d.windowActive = [] { return true; };
        d.show();
        ASSERT_TRUE(WaitFor([&] { return d.Running(); }));
        check(d);
        Shot(&d, QStringLiteral("sysanalysis-measurement_en"));
        d.reject();
    }
    {
        TFMMachine window(*ctx);
        window.show();
        WaitFor([] { return false; }, 100);
        check(window);
        EXPECT_EQ(TDMMachine::WaitText(3725), QStringLiteral("Analysing the data. Please wait. (From a few seconds to a few "
                                                             "minutes)\r\n1 h 2 min 5 s elapsed"));
        window.reject();
    }
    QCoreApplication::removeTranslator(&english);
}

TEST(MachineWaitText, ElapsedTimeNamesOnlyItsNonZeroParts)
{
    EXPECT_EQ(TDMMachine::ElapsedText(0), QString());
    EXPECT_EQ(TDMMachine::ElapsedText(59), QStringLiteral("59秒"));
    EXPECT_EQ(TDMMachine::ElapsedText(3600), QStringLiteral("1時間"));
    EXPECT_EQ(TDMMachine::ElapsedText(3661), QStringLiteral("1時間1分1秒"));
    EXPECT_TRUE(TDMMachine::WaitText(61).endsWith(QStringLiteral("\r\n1分1秒 経過")));
}

TEST(MachineReport, DatesInBothLanguages)
{
    const QDateTime when(QDate(2026, 1, 5), QTime(9, 7));
    EXPECT_EQ(TRPMachine::DateText(QStringLiteral("印刷日時 : "), QStringLiteral("Print Date : "), when, true),
              QStringLiteral("印刷日時 : 2026/01/05 09:07"));
    EXPECT_EQ(TRPMachine::DateText(QStringLiteral("印刷日時 : "), QStringLiteral("Print Date : "), when, false),
              QStringLiteral("Print Date : Jan./05/2026 09:07"));
    EXPECT_EQ(TRPMachine::DateText(QString(), QStringLiteral("File Date : "), QDateTime(QDate(2025, 12, 31), QTime(23, 59)),
                                   false),
              QStringLiteral("File Date : Dec./31/2025 23:59"));
}

} // namespace
