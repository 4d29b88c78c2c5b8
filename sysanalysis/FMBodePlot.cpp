#include "sysanalysis/FMBodePlot.h"

#include "sysanalysis/BodeScale.h"
#include "trace/FMTracePlot.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>

#include <cmath>

std::vector<int> TBodePlotData::Xs() const
{
    std::vector<int> xs;
    if (!result)
        return xs;
    for (int k = 0; k < count; ++k)
        xs.push_back(TBodeScale::X(result->DATA2[size_t(firstRow + k)].frequency));
    return xs;
}

int TFMBodePlot::PictureWidth()
{
    return Left + TBodeScale::Width + 12;
}

int TFMBodePlot::PictureHeight()
{
    return Top + TBodeScale::Height + Bottom;
}

TFMBodePlot::TFMBodePlot(bool ph, QWidget *parent) : QWidget(parent), phase(ph)
{
    setObjectName(ph ? QStringLiteral("PhaseGraph") : QStringLiteral("GainGraph"));
    image = QImage(PictureWidth(), PictureHeight(), QImage::Format_RGB32);
    image.fill(Qt::white);
    setFixedSize(image.size());
}

void TFMBodePlot::Paint(QPainter &p, const TBodePlotData &d, bool ph)
{
    const int w = TBodeScale::Width, h = TBodeScale::Height;
    p.save();
    p.fillRect(QRect(0, 0, PictureWidth(), PictureHeight()), Qt::white);
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    const QFontMetrics fm(font);

    // Labels left of and below the graph.
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, Left - 4, Top), Qt::AlignRight | Qt::AlignVCenter,
               ph ? QStringLiteral("[deg]") : QStringLiteral("[dB]"));
    if (!d.blank) {
        const QStringList labels = ph ? TBodeScale::PhaseLabels() : TBodeScale::GainLabels(d.gainRange, d.gainOffset);
        const int step = ph ? TBodeScale::PhaseDivision : TBodeScale::GainDivision;
        for (int i = 0; i < labels.size(); ++i)
            p.drawText(QRect(0, Top + step * i - 7, Left - 4, 14), Qt::AlignRight | Qt::AlignVCenter, labels[i]);
        if (d.frequencyLabels)
            for (double f : {1.0, 10.0, 100.0, 1000.0}) {
                const QString text = QString::number(int(f));
                const int x = Left + TBodeScale::X(f) - fm.horizontalAdvance(text) / 2;
                p.drawText(QPoint(x, Top + h + fm.ascent() + 2), text);
            }
    }
    p.drawText(QRect(Left, Top + h + fm.height() + 2, w, fm.height() + 2), Qt::AlignHCenter,
               QStringLiteral("Frequency [Hz]"));

    p.translate(Left, Top);
    p.fillRect(QRect(0, 0, w, h), Qt::white);
    const QColor grey(128, 128, 128), silver(192, 192, 192);
    auto gridPen = [&](bool solid) {
        QPen pen(solid ? grey : silver, 1, solid ? Qt::SolidLine : Qt::DotLine);
        pen.setCosmetic(true);
        return pen;
    };
    for (double f : TBodeScale::GridFrequencies()) {
        const double decade = std::log10(f);
        p.setPen(gridPen(std::abs(decade - std::round(decade)) < 1e-9));
        const int x = TBodeScale::X(f);
        p.drawLine(x, 0, x, h - 1);
    }
    const int lines = ph ? TBodeScale::PhaseDivisions : TBodeScale::GainDivisions;
    for (int i = 0; i <= lines; ++i) {
        const bool solid = ph ? i % 3 == 0 : (i == 0 || i == lines || i == 3 - d.gainOffset);
        const int y = ph ? TBodeScale::PhaseDivision * i : TBodeScale::GainDivision * i;
        p.setPen(gridPen(solid));
        p.drawLine(0, y, w - 1, y);
    }
    if (!d.blank && d.result && d.count > 0) {
        const std::vector<int> xs = d.Xs();
        p.setClipRect(QRect(0, 0, w, h));
        for (int c = 0; c < 2; ++c) {
            const int k = std::clamp(d.cursor[size_t(c)], 0, d.count - 1);
            p.setPen(QPen(d.cursorStyles[size_t(c)].color, d.cursorStyles[size_t(c)].width));
            p.drawLine(xs[size_t(k)], 0, xs[size_t(k)], h - 1);
        }
        if (ph ? d.showPhase : d.showGain) {
            const TBodePlotData::TStyle &s = ph ? d.phase : d.gain;
            p.setPen(QPen(s.color, s.width));
            QPoint previous;
            for (int k = 0; k < d.count; ++k) {
                const TMachineResult::TRow &row = d.result->DATA2[size_t(d.firstRow + k)];
                const QPoint at(xs[size_t(k)], ph ? TBodeScale::PhaseY(row.phase)
                                                  : TBodeScale::GainY(row.gain, d.gainRange, d.gainOffset));
                if (k > 0)
                    p.drawLine(previous, at);
                if (s.mark)
                    TFMTracePlot::PaintMark(p, at, s.mark, s.color);
                previous = at;
            }
        }
    }
    p.restore();
}

QImage TFMBodePlot::Render(const TBodePlotData &d)
{
    QImage out(PictureWidth(), 2 * PictureHeight(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    Paint(p, d, false);
    p.translate(0, PictureHeight());
    Paint(p, d, true);
    return out;
}

bool TFMBodePlot::SavePng(const TMachineResult &result, const QString &path, QString *error)
{
    TBodePlotData d;
    d.result = &result;
    d.blank = false;
    d.frequencyLabels = !TMachineResult::FrequencyText(result.FREQUENCY).isEmpty();
    TBodeScale::PlottedRun(result, d.firstRow, d.count);
    const TBodeScale::TAuto a = TBodeScale::AutoOf(result);
    if (a.range > 0) {
        d.gainRange = a.range;
        d.gainOffset = a.offset;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && Render(d).save(&file, "PNG") && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

void TFMBodePlot::Redraw()
{
    image.fill(Qt::white);
    {
        QPainter p(&image);
        Paint(p, data, phase);
    }
    update();
}

void TFMBodePlot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, image);
}

void TFMBodePlot::Move(int x)
{
    if (dragging < 0 || data.count <= 0)
        return;
    const int point = TBodeScale::PointAt(data.Xs(), std::max(0, x - Left));
    if (cursorMoved)
        cursorMoved(dragging, point);
}

void TFMBodePlot::mousePressEvent(QMouseEvent *e)
{
    if (data.count <= 0)
        return;
    if (e->button() == Qt::LeftButton)
        dragging = 0;
    else if (e->button() == Qt::RightButton)
        dragging = 1;
    else
        return;
    Move(int(e->position().x()));
}

void TFMBodePlot::mouseMoveEvent(QMouseEvent *e)
{
    Move(int(e->position().x()));
}

void TFMBodePlot::mouseReleaseEvent(QMouseEvent *)
{
    dragging = -1;
}
