// The trace window against the simulator: a recording read through the
// menu, the cursors and their readouts, the display set-up rules, the
// settings dialog's checks, and the printed trace as PDF.
#include "MessageRecorder.h"
#include "PdfText.h"
#include "Shots.h"
#include "SimFixture.h"

#include "trace/FMTrace.h"
#include "trace/FMTraceSetting.h"
#include "trace/RPTrace.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

TEST(TraceDisplay, TimeAndAmplitudeRanges)
{
    // Mode 1 at 0.25 ms: T = 63.75 ms gives 1 ms (64 divisions) to 10 ms (7).
    const std::vector<int> ranges = TFMTrace::TimeRangesFor(63.75);
    ASSERT_EQ(ranges.size(), 4u);
    EXPECT_EQ(TFMTrace::TimeTable()[size_t(ranges.front())].first, "   1ms");
    EXPECT_EQ(TFMTrace::TimeTable()[size_t(ranges.back())].first, "  10ms");
    EXPECT_EQ(TFMTrace::AmplitudeTable().size(), 24u);
    EXPECT_EQ(TFMTrace::AmplitudeTable()[9].first, "  10*10^3");
    EXPECT_EQ(TFMTrace::AmplitudeTable()[23].second, 500000000);
    EXPECT_EQ(TFMTrace::AmplitudeTable()[size_t(TFMTrace::AmplitudeFor(60))].first, "  20");
    EXPECT_EQ(TFMTrace::AmplitudeFor(0), 0);
    EXPECT_EQ(TFMTrace::AmplitudeFor(INT64_MAX / 2), -1);
    const struct {
        double ms;
        const char *text;
    } times[] = {{5000, "5sec"}, {100, "100ms"}, {0.5, "0.5ms"}, {1e7, "10*10^3sec"}, {0, ""}};
    for (const auto &t : times)
        EXPECT_EQ(TFMTrace::FormatTime(t.ms), t.text) << t.ms;

    // Monitor mode with Start = 10: column 995 shows ring sample 5.
    TTrace m;
    m.Setting.Mode = 0;
    m.Reset();
    m.Start = 10;
    m.Samples[5].analog[0] = 55;
    EXPECT_EQ(m.At(995).analog[0], 55);
    TTracePlotData d;
    d.trace = &m;
    EXPECT_EQ(TFMTracePlot::ColumnX(d, 100), 42);
    EXPECT_EQ(TFMTracePlot::ColumnAt(d, 41), 98);
    EXPECT_EQ(TFMTracePlot::ColumnAt(d, -5), 0);
    EXPECT_EQ(TFMTracePlot::ColumnAt(d, 100000), 999);
}

class TraceWindowTest : public TSimFixture
{
protected:
    TMessageRecorder messages;
};

TEST_F(TraceWindowTest, RecordingCursorsReadoutsAndPrint)
{
    TFMTrace w(*ctx);
    EXPECT_EQ(w.objectName(), "FMTrace");
    EXPECT_EQ(w.Source(), 1);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("運転トレース"));
    EXPECT_EQ(w.edtAmp->text(), "TVA-S10A");

    ASSERT_EQ(Control("trace 1 feed 1 ramp -600 5"), "");
    ASSERT_EQ(Control("trace 1 feed 2 ramp 400 -3"), "");
    ASSERT_EQ(Control("trace 1 feed 5 square 16"), "");
    ASSERT_EQ(Control("trace 1 feed 6 square 40"), "");
    w.dm.trace.Setting = TTraceSetting{};
    w.dm.trace.Setting.TriggerChannel = 0;
    w.dm.trace.Setting.TriggerLevel = 0;
    w.dm.trace.Setting.TriggerPosition = 40;
    ASSERT_TRUE(w.dm.WriteTraceSetting(1));
    w.SelectSource(1);
    ASSERT_TRUE(w.actStartRead->isEnabled());
    EXPECT_FALSE(w.actMonitorStart->isEnabled());
    w.actStartRead->trigger();
    ASSERT_TRUE(messages.entries.isEmpty()) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(w.dm.trace.TriggerNo, 102);
    EXPECT_EQ(w.cmbTimeRange->currentText(), "  10ms");
    EXPECT_EQ(w.edtSampling->text(), "0.25");
    EXPECT_EQ(w.edtLevel->text(), "0");

    w.ScrollBarT1->setValue(102);
    w.ScrollBarT2->setValue(142);
    EXPECT_EQ(w.edtLag->text(), "10");
    EXPECT_EQ(w.edtFrequency->text(), "100");
    EXPECT_EQ(w.edtValue[0]->text(), "0");
    w.show();
    Shot(&w, QStringLiteral("trace-window"));

    // A gap in the sample under t1 empties its readout.
    w.dm.trace.Samples[102].analog[0] = TTraceSample::Gap;
    w.SetCursor(0, 102);
    EXPECT_TRUE(w.edtValue[0]->text().isEmpty());

    // The settings dialog on the window's setting, and its checks.
    TFMTraceSetting dialog(w.dm, CodeA, w.dm.trace.Setting, &w);
    EXPECT_EQ(dialog.Result(), w.dm.trace.Setting);
    dialog.show();
    Shot(&dialog, QStringLiteral("trace-settings"));
    dialog.edtLevel->setText(QStringLiteral("40000"));
    dialog.accept();
    EXPECT_EQ(messages.Texts().last(), QStringLiteral("トリガレベルが設定範囲外です。"));
    EXPECT_TRUE(dialog.isVisible());

    QTemporaryDir dir;
    TRPTrace report(w);
    QString error;
    const QString shots = qEnvironmentVariable("TUVANTA_SHOTS");
    const QString pdf = shots.isEmpty() ? dir.filePath("trace.pdf") : QDir(shots).filePath("trace.pdf");
    ASSERT_TRUE(report.SavePdf(pdf, &error)) << error.toStdString();
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    // Its text layer says what was drawn: the title, the labels and the
    // channel names as the window shows them.
    const QString text = PdfText(pdf);
    for (const QString &s : {QStringLiteral("運転トレース"), QStringLiteral("アンプ : TVA-S10A"),
                             QStringLiteral("サンプリング周期 : 0.25 [ms]"), QStringLiteral("時間軸レンジ"),
                             QStringLiteral("CH1 : ") + w.lblName[0]->text(), QStringLiteral("CH2 : ") + w.lblName[1]->text()})
        EXPECT_TRUE(text.contains(s)) << s.toStdString() << "\n" << text.toStdString();

    // Saved and loaded again in file mode: the same samples.
    const QString file = dir.filePath("t.csv");
    ASSERT_TRUE(w.dm.SaveToFile(file));
    const std::vector<TTraceSample> samples = w.dm.trace.Samples;
    ASSERT_TRUE(w.LoadFile(file));
    EXPECT_EQ(w.Source(), 0);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("運転トレース - [%1]").arg(file));
    EXPECT_EQ(w.dm.trace.Samples, samples);
    EXPECT_TRUE(w.actOpen->isEnabled());
    EXPECT_FALSE(w.actStartRead->isEnabled());
}
