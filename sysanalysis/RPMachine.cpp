#include "sysanalysis/RPMachine.h"

#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "ZnLibs/ZnPrinter.h"
#include "sysanalysis/FMMachine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

TRPMachine::TRPMachine(TFMMachine &w) : TRPCustom(QStringLiteral("SystemAnalysis"), tr("システムアナリシス"), &w), window(w)
{
}

QString TRPMachine::DateText(const QString &japaneseLabel, const QString &englishLabel, const QDateTime &when,
                             bool japanese)
{
    if (japanese)
        return japaneseLabel + when.toString(QStringLiteral("yyyy/MM/dd hh:mm"));
    static const char *const Months[] = {"Jan.", "Feb.", "Mar.", "Apr.", "May.", "Jun.",
                                         "Jul.", "Aug.", "Sep.", "Oct.", "Nov.", "Dec."};
    return englishLabel + QLatin1String(Months[when.date().month() - 1]) +
           when.toString(QStringLiteral("/dd/yyyy hh:mm"));
}

void TRPMachine::BuildPages(TZnPrinter &p)
{
    const bool japanese = window.Context().env.Japanese;
    const QRect area = p.PrintableRect();
    int y = area.top();
    const int left = area.left(), width = area.width();
    auto line = [&](const QString &text, int x = 0, int w = 0, TZnPrinter::THAlign a = TZnPrinter::haLeft) {
        p.TextBox(QRect(left + x, y, w > 0 ? w : width - x, p.LineHeight()), text, a, false);
    };
    auto swatch = [&](const QColor &c, bool filled) {
        p.SetPen(QPen(c, 4));
        p.SetBrush(filled ? QBrush(c) : QBrush(Qt::NoBrush));
        p.Rectangle(left, y + 5, left + 30, y + 35);
        p.SetPen(QPen(Qt::black));
    };

    y = DrawPageHead(p, DateText(tr("印刷日時 : "), QStringLiteral("Print Date : "), QDateTime::currentDateTime(), japanese), 1);
    line(tr("モータ型番 : %1").arg(window.edtMotor->text()), 0, 900);
    line(tr("アンプ型番 : %1").arg(window.edtAmp->text()), 900, 900);
    y += p.LineHeight();
    if (window.Source() <= 0 && !window.FileName().isEmpty()) {
        const QFileInfo info(window.FileName());
        line(tr("ファイル名 : %1").arg(info.fileName()), 0, 900);
        line(DateText(tr("ファイル日時 : "), QStringLiteral("File Date : "), info.lastModified(), japanese), 900, 900);
        y += p.LineHeight();
    }
    y += 20;
    line(tr("トルク（推力）指令 : ") + window.edtTorque->text() + QStringLiteral(" [%]"), 0, 700);
    line(tr("測定周波数 : ") + window.edtFrequency->text(), 700, 900);
    y += p.LineHeight();
    const char *names[] = {"JRAT_MON : ", "KVP_MON : ", "TVI_MON : ", "TCNFILA_MON : ", "TCNFILB_MON : ", "TCFIL_MON : "};
    const char *units[] = {" [%]", " [Hz]", " [ms]", " [Hz]", " [Hz]", " [Hz]"};
    for (int i = 0; i < 6; ++i) {
        line(QLatin1String(names[i]) + window.edtMonitor[size_t(i)]->text() + QLatin1String(units[i]), 600 * (i % 3),
             600);
        if (i % 3 == 2)
            y += p.LineHeight();
    }
    y += 20;
    const TBodePlotData &d = window.plotGain->data;
    swatch(d.gain.color, window.chkGain->isChecked());
    line(QStringLiteral("Gain   ") + tr("レンジ : ") + window.cmbGainRange->currentText().trimmed() +
             QStringLiteral(" [dB/Div]"),
         50, 900);
    y += p.LineHeight();
    swatch(d.phase.color, window.chkPhase->isChecked());
    line(QStringLiteral("Phase  ") + tr("レンジ : ") + window.lblPhaseRange->text() + QStringLiteral(" [deg/Div]"), 50,
         900);
    y += p.LineHeight() + 10;
    for (int c = 0; c < 2; ++c) {
        swatch(d.cursorStyles[size_t(c)].color, true);
        line(QStringLiteral("t%1 : ").arg(c + 1) + window.edtCursorHz[size_t(c)]->text() + QStringLiteral(" [Hz]   ") +
                 window.edtCursorGain[size_t(c)]->text() + QStringLiteral(" [dB]   ") +
                 window.edtCursorPhase[size_t(c)]->text() + QStringLiteral(" [deg]"),
             50, 1200);
        y += p.LineHeight();
    }
    line(tr("測定中のトルク（推力）制限状態発生率 : ") + window.edtTorqueLimit->text() + QStringLiteral(" [%]"));
    y += p.LineHeight() + 40;

    // Both graphs, scaled to the page (one picture routine for screen and paper).
    const int pictureHeight = 2 * TFMBodePlot::PictureHeight() + 10;
    const double scale = std::min(double(width) / TFMBodePlot::PictureWidth(), double(area.bottom() - y) / pictureHeight);
    QPainter &canvas = p.Canvas();
    canvas.save();
    canvas.translate(left, y);
    canvas.scale(scale, scale);
    TFMBodePlot::Paint(canvas, window.plotGain->data, false);
    canvas.translate(0, TFMBodePlot::PictureHeight() + 10);
    TFMBodePlot::Paint(canvas, window.plotPhase->data, true);
    canvas.restore();
}
