#include "trace/RPTrace.h"

#include "ZnLibs/ZnPrinter.h"
#include "trace/FMTrace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

TRPTrace::TRPTrace(TFMTrace &w) : TRPCustom(QStringLiteral("TraceOperation"), tr("運転トレース"), &w), window(w) {}

void TRPTrace::BuildPages(TZnPrinter &p)
{
    const QRect area = p.PrintableRect();
    int y = area.top();
    const int left = area.left(), width = area.width();
    auto line = [&](const QString &text, int x = 0, int w = 0, TZnPrinter::THAlign a = TZnPrinter::haLeft) {
        p.TextBox(QRect(left + x, y, w > 0 ? w : width - x, p.LineHeight()), text, a, false);
    };

    y = DrawPageHead(p, QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm")), 1);
    line(tr("アンプ : ") + window.edtAmp->text(), 0, 900);
    line(tr("モータ : ") + window.edtMotor->text(), 900, 900);
    y += p.LineHeight();
    if (window.Source() == 0 && !window.FileName().isEmpty()) {
        const QFileInfo info(window.FileName());
        line(tr("ファイル : ") + info.fileName() + QStringLiteral("  ") +
             info.lastModified().toString(QStringLiteral("yyyy/MM/dd hh:mm")));
        y += p.LineHeight();
    }
    y += 20;
    // Sampling and trigger fields.
    line(tr("サンプリング周期 : ") + window.edtSampling->text() + QStringLiteral(" [ms]"), 0, 600);
    line(tr("トリガ : ") + window.edtTrigger->text(), 600, 600);
    line(tr("トリガエッジ : ") + window.edtEdge->text(), 1200, 600);
    y += p.LineHeight();
    line(tr("トリガレベル : ") + window.edtLevel->text(), 600, 600);
    line(tr("トリガ位置 : ") + window.edtPosition->text() + QStringLiteral(" [%]"), 1200, 600);
    y += p.LineHeight() + 20;
    // Channels in their colours.
    for (int c = 0; c < 8; ++c) {
        if (!window.chkChannel[size_t(c)]->isEnabled())
            continue;
        const QColor colour = window.plot->data.styles[size_t(c)].color;
        p.SetPen(QPen(colour, 4));
        p.SetBrush(window.chkChannel[size_t(c)]->isChecked() ? QBrush(colour) : QBrush(Qt::NoBrush));
        p.Rectangle(left, y + 5, left + 30, y + 35);
        p.SetPen(QPen(Qt::black));
        line(QStringLiteral("CH%1 : ").arg(c + 1) + window.lblName[size_t(c)]->text() +
                 (c < 4 ? QStringLiteral(" ") + window.lblUnit[size_t(c)]->text() : QString()),
             50, 850);
        if (c < 4)
            line(tr("レンジ : ") + window.cmbRange[size_t(c)]->currentText().trimmed() + QStringLiteral(" /Div"), 900, 500);
        line(window.edtValue[size_t(c)]->text(), 1400, 300, TZnPrinter::haRight);
        y += p.LineHeight();
    }
    y += 20;
    line(tr("時間軸レンジ : ") + window.cmbTimeRange->currentText().trimmed() + QStringLiteral(" /Div"), 0, 600);
    line(tr("t1 - t2 : ") + window.edtLag->text() + QStringLiteral(" [ms]"), 600, 600);
    line(tr("1 / (t1 - t2) : ") + window.edtFrequency->text() + QStringLiteral(" [Hz]"), 1200, 600);
    y += p.LineHeight() + 40;

    // The plot, scaled to the page width (one pixel = one unit, then scaled).
    const TTracePlotData &d = window.plot->data;
    const double scale = std::min(double(width) / TFMTracePlot::Width(d),
                                  double(area.bottom() - y) / TFMTracePlot::Height);
    QPainter &canvas = p.Canvas();
    canvas.save();
    canvas.translate(left, y);
    canvas.scale(scale, scale);
    TFMTracePlot::Paint(canvas, d);
    canvas.restore();
}
