// The automatic tunings and the tuning-result save against the simulator:
// results from the plant, every reply's message, the cancel, the settings'
// checks and what a save writes.
#include "TestRunSupport.h"
#include "support/Shots.h"

#include "app/cli/Cli.h"
#include "support/CliRunner.h"
#include "testrun/DMTuning.h"
#include "testrun/FMAFTuning.h"
#include "testrun/FMANFTuning.h"
#include "testrun/FMAdjustRun.h"
#include "testrun/FMATuningRSV.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

class Tuning : public TTestRunFixture
{
protected:
    void SetUp() override
    {
        TTestRunFixture::SetUp();
        ASSERT_TRUE(dm->LocateRow(1));
        Control("tuning 1 time notch 300");
        Control("tuning 1 time frequency 300");
    }
    void TearDown() override
    {
        if (window && window->isVisible())
            window->reject();
        window.reset();
        TTestRunFixture::TearDown();
    }
    template <typename W>
    W *Open()
    {
        auto *w = new W(*ctx, *dm, 1, "TVA-S10A  ");
        window.reset(w);
        window->windowActive = [] { return true; };
        if (auto *t = dynamic_cast<TFMTuningRun *>(w))
            t->execResult = [this](TFMANFTuningResult &r) {
                result = {r.lblText->text(), r.lblName->text(), r.edtValue->text(), r.lblUnit->text(),
                          r.lblNote->isVisibleTo(&r)};
                ++results;
                if (!resultShot.isEmpty())
                    Shot(&r, resultShot);
                return int(QDialog::Accepted);
            };
        window->show();
        EXPECT_TRUE(WaitFor([&] { return window->Running(); }));
        return w;
    }
    std::string Tune() { return Control("tuning 1"); }
    bool TuneHas(const std::string &part) { return Tune().find(part) != std::string::npos; }
    void ServoOn()
    {
        window->SetServo(true);
        ASSERT_TRUE(WaitFor([&] { return TuneHas("servo=on"); }));
    }
    bool Closed() { return WaitFor([&] { return !window->isVisible(); }); }

    struct TResult {
        QString text, name, value, unit;
        bool note = false;
    } result;
    int results = 0;
    QString resultShot;
    std::unique_ptr<TFMRunBase> window;
};

TEST_F(Tuning, NotchReportsThePlantResonance)
{
    Control("plant 1 320");
    auto *w = Open<TFMANFTuning>();
    EXPECT_EQ(w->windowTitle(), "オートノッチフィルタチューニング [#1 : TVA-S10A  ]");
    EXPECT_EQ(w->lblTorqueRange->text(), "( 10 - 1000 )");
    EXPECT_FALSE(w->btnRun->isEnabled()) << "servo off";
    Shot(w, "tuning_notch");
    ServoOn();
    EXPECT_TRUE(w->btnRun->isEnabled());
    resultShot = "tuning_result";
    w->ClickRun();
    ASSERT_TRUE(WaitFor([&] { return results == 1; }, 5000));
    EXPECT_EQ(result.value, "320");
    EXPECT_EQ(result.name, "共振周波数 :");
    EXPECT_EQ(result.unit, "Hz");
    EXPECT_FALSE(result.note);
    EXPECT_EQ(result.text, "オートノッチフィルタチューニングを正常終了しました。\n\"OK\"をクリックするとサーボオフします。");
    EXPECT_FALSE(w->ServoOn());
    EXPECT_FALSE(w->TuningRequested());
    ASSERT_TRUE(WaitFor([&] { return Sent("WA1"); })) << "back to the servo-off poll";
    EXPECT_TRUE(TuneHas("cancelled=0"));
    EXPECT_EQ(PeekValue(1, Common + 4, 2), 320u);
    EXPECT_TRUE(messages.entries.isEmpty()) << messages.Texts().join(" | ").toStdString();
    window->reject();
    EXPECT_TRUE(Sent("WA0"));
}

TEST_F(Tuning, EveryReplyHasItsMessage)
{
    const QString notReady = TDMJog::NotReadyText(TDMJog::tyNotchTuning);
    struct TCase {
        const char *control; // forced replies
        QString message;     // empty: none
        int end;             // -1: stays open, else the window's result
        bool servoAfter;
        QString value;       // the result window's value, or empty
    } cases[] = {
        {"WA4 1", notReady, QDialog::Rejected, false, {}},
        {"WA4 7", TDMJog::AlarmText(), -1, false, {}},
        {"WA4 8", TDMJog::ServoRefusedText(), -1, false, {}},
        {"WA4 3", TDMJog::ServoRefusedText(), -1, false, {}},
        {"WA6 1", notReady, QDialog::Rejected, false, {}},
        {"WA6 6", TDMTuning::FailureText(TDMJog::tyNotchTuning), -1, false, {}},
        {"WA6 4,4,5", {}, -1, false, "-2"},
        {"WA6 9", TDMTuning::CommFaultText(1), TFMRunBase::Abort, false, {}},
    };
    // What the amplifier left at C + 4 when its progress said "finished".
    Poke(1, Common + 4, QByteArray::fromHex("FEFF"));
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.control);
        env->SetAmpCode(1, CodeA);
        messages.Clear();
        results = 0;
        auto *w = Open<TFMANFTuning>();
        ServoOn();
        Control(std::string("tuning 1 ") + c.control);
        w->ClickRun();
        if (c.end >= 0) {
            ASSERT_TRUE(Closed());
            EXPECT_EQ(w->result(), c.end);
        } else {
            ASSERT_TRUE(WaitFor([&] { return !w->TuningRequested(); }));
            EXPECT_TRUE(w->isVisible());
            EXPECT_TRUE(WaitFor([&] { return w->Timer().isActive(); })) << "the poll goes on";
        }
        if (c.end < 0) {
            EXPECT_EQ(w->ServoOn(), c.servoAfter);
            EXPECT_FALSE(w->btnRun->isEnabled());
        }
        EXPECT_EQ(messages.Texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(results, c.value.isEmpty() ? 0 : 1);
        if (!c.value.isEmpty()) {
            EXPECT_EQ(result.value, c.value);
        }
        if (c.end == TFMRunBase::Abort) {
            EXPECT_EQ(env->AmpCode(1), -1) << "the axis is marked not in use";
        }
        window.reset();
    }
}

TEST_F(Tuning, FrequencyCancelLeavesTheProgressPoll)
{
    Control("tuning 1 time frequency 60000");
    auto *w = Open<TFMAFTuning>();
    Shot(w, "tuning_frequency");
    ServoOn();
    // The poll runs inside the window's tick: look and press from there.
    bool pressed = false, shown = false, buttons = false, titled = false;
    QTimer inside;
    inside.setInterval(20);
    QObject::connect(&inside, &QTimer::timeout, [&] {
        if (pressed || !w->progress->isVisible() || !TuneHas("run=running"))
            return;
        shown = true;
        buttons = w->progress->btnCancel->isVisible() && w->progress->lblElapsed->isVisible();
        titled = w->progress->windowTitle() == w->Title();
        Shot(w->progress, "tuning_progress");
        Control("log 1 clear");
        pressed = true;
        TT::mouseClick(w->progress->btnCancel, Qt::LeftButton);
    });
    inside.start();
    w->ClickRun();
    ASSERT_TRUE(WaitFor([&] { return pressed; }, 10000));
    inside.stop();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(buttons) << "Cancel and the seconds";
    EXPECT_TRUE(titled);
    ASSERT_TRUE(WaitFor([&] { return TuneHas("run=idle") && TuneHas("cancelled=1"); }));
    EXPECT_TRUE(WaitFor([&] { return !w->progress->isVisible(); }));
    EXPECT_TRUE(Sent("WD3")) << "the idle poll with the servo still on";
    EXPECT_FALSE(Sent("WD0")) << "the run window stays open";
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->ServoOn());
    EXPECT_FALSE(w->TuningRequested());
    EXPECT_TRUE(WaitFor([&] { return w->btnRun->isEnabled(); }));
    EXPECT_TRUE(messages.entries.isEmpty());
}

TEST_F(Tuning, FrequencyReportsTheAntiResonanceWithItsNote)
{
    Control("plant 1 400");
    auto *w = Open<TFMAFTuning>();
    ServoOn();
    w->ClickRun();
    ASSERT_TRUE(WaitFor([&] { return results == 1; }, 5000));
    EXPECT_EQ(result.value, "283");
    EXPECT_EQ(result.name, "制振周波数 :");
    EXPECT_EQ(result.unit, "Hz");
    EXPECT_TRUE(result.note);
    EXPECT_EQ(result.text, "オート制振周波数チューニングを正常終了しました。");
    EXPECT_FALSE(w->ServoOn());
}

TEST_F(Tuning, SettingsAreCheckedBeforeTheyAreWritten)
{
    struct TCase {
        bool frequency;
        const char *torque;
        const char *friction;
        bool accepted;
    } cases[] = {
        {false, "10", nullptr, true},    {false, "1000", nullptr, true}, {false, "9", nullptr, false},
        {false, "1001", nullptr, false}, {false, "x", nullptr, false},   {true, "200", "50", true},
        {true, "200", "51", false},      {true, "5", "10", false},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(std::string(c.torque) + "/" + (c.friction ? c.friction : "-"));
        Poke(1, Common, QByteArray::fromHex("6400")); // torque 100
        Poke(1, Common + 6, QByteArray::fromHex("0000"));
        messages.Clear();
        auto *t = c.frequency ? static_cast<TFMTuningRun *>(Open<TFMAFTuning>()) : Open<TFMANFTuning>();
        t->ClickEdit();
        t->edtTorque->setText(QString::fromLatin1(c.torque));
        if (c.friction)
            static_cast<TFMAFTuning *>(t)->edtFriction->setText(QString::fromLatin1(c.friction));
        t->ClickWrite();
        EXPECT_EQ(t->EditMode(), !c.accepted);
        EXPECT_EQ(messages.Texts(), c.accepted ? QStringList() : QStringList{TDMJog::OutOfRangeText()});
        if (c.accepted) {
            ASSERT_TRUE(WaitFor([&] { return PeekValue(1, Common, 2) == QString::fromLatin1(c.torque).toUInt(); }));
            if (c.friction) {
                EXPECT_TRUE(WaitFor([&] { return PeekValue(1, Common + 6, 2) == QString::fromLatin1(c.friction).toUInt(); }));
            }
        } else {
            TT::qWait(3 * TFMRunBase::TickMs);
            EXPECT_EQ(PeekValue(1, Common, 2), 100u);
            EXPECT_EQ(PeekValue(1, Common + 6, 2), 0u);
        }
        window.reset();
    }
}

TEST_F(Tuning, AlarmTurnsTheServoOff)
{
    auto *w = Open<TFMANFTuning>();
    ServoOn();
    Control("alarm 1 21");
    ASSERT_TRUE(WaitFor([&] { return !w->ServoOn(); }));
    EXPECT_EQ(messages.Texts(), QStringList{TDMJog::AlarmText()});
    EXPECT_FALSE(w->btnRun->isEnabled());
    Control("alarm 1 clear");
}

class ResultSave : public Tuning
{
protected:
    // gains: the monitored gains once the mode is open.
    TFMATuningRSV *OpenSave(const std::string &gains = {})
    {
        // The selection window's pre-check opens the mode.
        uint32_t reply = 0;
        EXPECT_TRUE(ctx->tran.TestRunStatus(1, TDMJog::tyTuningResultSave, reply));
        if (!gains.empty())
            Control("tuning 1 save gains=" + gains);
        auto *w = Open<TFMATuningRSV>();
        EXPECT_TRUE(WaitFor([&] { return !w->edtStored[4]->text().isEmpty(); }));
        return w;
    }
};

TEST_F(ResultSave, ShowsModeCharacteristicAndValues)
{
    Control("tuning 1 save mode=1 char=7 resp=12 choice=3 stored=30,40,125,200,50 hold=on");
    auto *w = OpenSave("31,41,126,201,51");
    EXPECT_EQ(w->windowTitle(), "オートチューニング結果保存 [#1 : TVA-S10A  ]");
    EXPECT_EQ(w->edtMode->text(), "オートチューニング(JRATマニュアル設定)");
    EXPECT_EQ(w->edtCharacteristic->text(), "0x07");
    EXPECT_EQ(w->cboxChoice->currentText(), "KP1,KVP1,TVI1,TCFIL1,-----");
    EXPECT_EQ(w->edtResponsiveness->text(), "12");
    ASSERT_TRUE(WaitFor([&] { return w->edtMonitor[0]->text() == "31"; }));
    const QStringList stored = {"30", "40", "12.5", "200", "50"};
    const QStringList monitored = {"31", "41", "12.6", "201", "51"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(w->edtStored[size_t(i)]->text(), stored[i]);
        EXPECT_EQ(w->edtMonitor[size_t(i)]->text(), monitored[i]);
    }
    EXPECT_FALSE(w->cboxChoice->isEnabled());
    EXPECT_FALSE(w->edtResponsiveness->isEnabled());
    Shot(w, "tuning_result_save");
    window->reject();
    EXPECT_TRUE(Sent("W70"));
}

TEST_F(ResultSave, WritesExactlyTheChosenParameters)
{
    Control("tuning 1 save mode=0 resp=10 choice=0 stored=11,12,13,14,15 hold=on");
    auto *w = OpenSave("21,22,23,24,25");
    // Only the choice changes: the word at C + 2 keeps the responsiveness.
    w->ClickEdit();
    EXPECT_TRUE(w->cboxChoice->isEnabled());
    EXPECT_FALSE(w->btnSave->isEnabled());
    w->cboxChoice->setCurrentIndex(2);
    w->ClickWrite();
    ASSERT_TRUE(WaitFor([&] { return PeekValue(1, Common + 2, 2) == (2u << 8 | 10u); }));
    EXPECT_TRUE(Sent("Y" + QString::number(Common + 2, 16).toUpper().toStdString() + "020A"));

    const QByteArray paramsBefore = Peek(1, 0xF8000, 0x4C8);
    const QByteArray areaBefore = Peek(1, Common, 0x40);
    w->ClickSave();
    ASSERT_TRUE(WaitFor([&] { return TuneHas("saves=1"); }));
    ASSERT_TRUE(WaitFor([&] { return w->edtStored[4]->text() == "25"; }));
    EXPECT_EQ(Peek(1, 0xF8000, 0x4C8), paramsBefore);
    QByteArray expected = areaBefore;
    expected[26] = 25; // JRAT1 only
    expected[27] = 0;
    EXPECT_EQ(Peek(1, Common, 0x40).toHex().toStdString(), expected.toHex().toStdString());
    const QStringList kept = {"11", "12", "1.3", "14"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w->edtStored[size_t(i)]->text(), kept[i]) << i;
    EXPECT_TRUE(messages.entries.isEmpty());

    // Closing gives the responsiveness back; the choice stays.
    window->reject();
    EXPECT_EQ(PeekValue(1, Common + 2, 1), 0u) << "the area as it was before the mode";
    EXPECT_TRUE(TuneHas("choice=2"));
    EXPECT_TRUE(TuneHas("resp=10"));
}

TEST_F(ResultSave, ResponsivenessOutsideItsRangeIsRefused)
{
    Control("tuning 1 save mode=0 resp=10 choice=0");
    struct TCase {
        const char *text;
        bool accepted;
        bool warned;
    } cases[] = {{"31", false, true}, {"0", false, true}, {"", false, false}, {"30", true, false}, {"1", true, false}};
    auto *w = OpenSave();
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.text);
        messages.Clear();
        const quint32 before = PeekValue(1, Common + 2, 1);
        w->ClickEdit();
        w->edtResponsiveness->setText(QString::fromLatin1(c.text));
        w->ClickWrite();
        EXPECT_EQ(w->EditMode(), !c.accepted);
        EXPECT_EQ(messages.Texts(), c.warned ? QStringList{TDMJog::OutOfRangeText()} : QStringList());
        if (c.accepted) {
            EXPECT_TRUE(WaitFor([&] { return PeekValue(1, Common + 2, 1) == QString::fromLatin1(c.text).toUInt(); }));
        } else {
            if (c.warned) {
                EXPECT_EQ(w->edtResponsiveness->text(), QString::number(before)) << "the remembered value is back";
            }
            w->ClickEdit(); // "編集中止"
            TT::qWait(2 * TFMRunBase::TickMs);
            EXPECT_EQ(PeekValue(1, Common + 2, 1), before);
        }
    }
}

TEST_F(ResultSave, NotReadyRepliesCloseTheWindow)
{
    for (const char *control : {"W71 1", "W74 1"}) {
        SCOPED_TRACE(control);
        env->SetAmpCode(1, CodeA);
        messages.Clear();
        auto *w = OpenSave();
        Control(std::string("tuning 1 ") + control);
        if (std::string(control).rfind("W74", 0) == 0)
            w->ClickSave();
        ASSERT_TRUE(Closed());
        EXPECT_EQ(messages.Texts(), QStringList{"オートチューニング結果保存を実行することができません。（準備未完了）"});
        window.reset();
    }
}

// The windows in English, for looking at (only when pictures are asked for).
TEST_F(ResultSave, EnglishPictures)
{
    if (qEnvironmentVariableIsEmpty("TUVANTA_SHOTS"))
        GTEST_SKIP() << "TUVANTA_SHOTS not set";
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(TUVANTA_BIN_DIR "/Tuvanta.ENU")));
    QCoreApplication::installTranslator(&english);
    {
        Shot(Open<TFMANFTuning>(), "tuning_notch-en");
        window.reset();
        Shot(Open<TFMAFTuning>(), "tuning_frequency-en");
        window.reset();
        Shot(OpenSave("31,41,126,201,51"), "tuning_result_save-en");
        window.reset();
        TFMANFTuningResult result({"Title", TDMTuning::SuccessText(TDMJog::tyFrequencyTuning),
                                   TDMTuning(*ctx, *dm).ResultName(TDMJog::tyFrequencyTuning), "Hz", 283, true});
        Shot(&result, "tuning_result-en");
    }
    QCoreApplication::removeTranslator(&english);
}

TEST(TuningTexts, SaveBytesAndWords)
{
    struct TCase {
        int value;
        QString characteristic;
        QString mode;
    } cases[] = {
        {0, "位置決め制御1", "オートチューニング"},        {2, "位置決め制御3", "マニュアルチューニング"},
        {4, "軌跡制御2", "0x04"},                          {5, "0x05", "0x05"},
        {7, "0x07", "0x07"},                               {254, "0xFE", "0xFE"},
        {255, "", "0xFF"},
    };
    for (const TCase &c : cases) {
        EXPECT_EQ(TDMTuning::CharacteristicText(c.value), c.characteristic) << c.value;
        EXPECT_EQ(TDMTuning::ModeText(c.value), c.mode) << c.value;
    }
    EXPECT_EQ(TDMTuning::GainText(2, 125), "12.5");
    EXPECT_EQ(TDMTuning::GainText(2, 0), "0.0");
    EXPECT_EQ(TDMTuning::GainText(2, 65535), "6553.5");
    EXPECT_EQ(TDMTuning::GainText(0, 65535), "65535") << "the gains are unsigned";
}

class CliTune : public TSimFixture
{
protected:
    void SetUp() override
    {
        TSimFixture::SetUp();
        engine.ClosePort();
        Control("tuning 1 time notch 200");
        Control("tuning 1 time frequency 200");
        Control("log 1 clear");
    }
    TCliResult Run(const QString &line) { return RunCli(dir.filePath("tty"), line); }
    std::string Log() { return " " + Control("log 1") + " "; }
};

TEST_F(CliTune, RunsToTheEndOnlyWithYes)
{
    Control("plant 1 320");
    const TCliResult no = Run("tune notch 1 --torque 100");
    EXPECT_EQ(no.status, TCli::ExitRefused);
    EXPECT_EQ(Log().find(" WA"), std::string::npos) << "nothing of the tuning is sent";
    EXPECT_EQ(Log().find(" Y"), std::string::npos) << "nothing is written";

    const TCliResult yes = Run("tune notch 1 --torque 100 --yes");
    EXPECT_EQ(yes.status, TCli::ExitOk) << yes.err.toStdString();
    // The model's result name in the settings' language.
    EXPECT_TRUE(yes.out.endsWith(": 320 Hz\n")) << yes.out.toStdString();
    EXPECT_EQ(PeekValue(1, 0xF9800, 2), 100u);
    EXPECT_NE(Log().find(" WA0 "), std::string::npos) << "the mode is left";

    Control("plant 1 400");
    const TCliResult frequency = Run("tune frequency 1 --torque 50 --friction 20 --yes");
    EXPECT_EQ(frequency.status, TCli::ExitOk) << frequency.err.toStdString();
    EXPECT_TRUE(frequency.out.endsWith(": 283 Hz\n")) << frequency.out.toStdString();
    EXPECT_EQ(PeekValue(1, 0xF9806, 2), 20u);
}

TEST_F(CliTune, RefusalsAndBadArguments)
{
    struct TCase {
        const char *line;
        int status;
    } cases[] = {
        {"tune notch 1", TCli::ExitUsage},
        {"tune sideways 1 --torque 100", TCli::ExitUsage},
        {"tune notch 1 --torque 5 --yes", TCli::ExitUsage},
        {"tune notch 1 --torque 100 --friction 3 --yes", TCli::ExitUsage},
        {"tune frequency 1 --torque 100 --friction 51 --yes", TCli::ExitUsage},
        {"tune notch 4 --torque 100 --yes", TCli::ExitRefused}, // model C has no test run
    };
    for (const TCase &c : cases) {
        const TCliResult r = Run(QString::fromLatin1(c.line));
        EXPECT_EQ(r.status, c.status) << c.line << " " << r.err.toStdString();
    }
    // A failed tuning is no success.
    Control("plant 1 0");
    const TCliResult failed = Run("tune notch 1 --torque 100 --yes");
    EXPECT_EQ(failed.status, TCli::ExitRefused);
    EXPECT_TRUE(failed.out.isEmpty());
    EXPECT_TRUE(failed.err.contains(TDMTuning::FailureText(TDMJog::tyNotchTuning).left(20))) << failed.err.toStdString();
}

} // namespace
