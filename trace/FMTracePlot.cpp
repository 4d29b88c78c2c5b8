#include "trace/FMTracePlot.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
int Round(double v)
{
    return int(std::lround(v)); // halves away from zero
}

// The y of a channel's sample in the picture, or nothing.
bool PointOf(const TTracePlotData &d, int channel, const TTraceSample &s, int &y)
{
    if (!s.HasValue(channel))
        return false;
    if (channel < 4) {
        const double v = double(s.analog[size_t(channel)]);
        y = Round((d.offset[size_t(channel)] - v / double(d.range[size_t(channel)])) * TFMTracePlot::AnalogDiv);
    } else {
        const int lane = channel - 3;
        y = TFMTracePlot::DigitalTop + Round((lane - s.digital[size_t(channel - 4)] * 0.7) * TFMTracePlot::LaneHeight);
    }
    return true;
}
} // namespace

TFMTracePlot::TFMTracePlot(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TracePlot"));
    Redraw();
}

double TFMTracePlot::SamplesPerDivision(const TTracePlotData &d)
{
    if (!d.trace || d.trace->Setting.Mode == TTrace::MonitorMode || d.samplingMs <= 0)
        return 100;
    return d.timeRangeMs / d.samplingMs;
}

int TFMTracePlot::ColumnX(const TTracePlotData &d, int column)
{
    return Round(column * double(Division) / SamplesPerDivision(d));
}

int TFMTracePlot::ColumnAt(const TTracePlotData &d, int x)
{
    const int n = d.trace ? int(d.trace->Samples.size()) : 1;
    int lo = 0, hi = n - 1;
    if (x < ColumnX(d, 0))
        return 0;
    while (lo < hi) { // columns grow with j: the last x(j) <= x
        const int mid = (lo + hi + 1) / 2;
        if (ColumnX(d, mid) <= x)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

void TFMTracePlot::PaintMark(QPainter &p, QPoint c, int mark, const QColor &color)
{
    if (mark <= 0 || mark > 7)
        return;
    const QRect box(c.x() - 2, c.y() - 2, 5, 5);
    p.setBrush(mark >= 5 ? QBrush(color) : Qt::NoBrush);
    switch (mark) {
    case 1:
        p.drawLine(box.topLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomLeft());
        break;
    case 2:
    case 5: p.drawEllipse(box); break;
    case 3:
    case 6: p.drawRect(box.adjusted(0, 0, -1, -1)); break;
    default: {
        const QPoint tri[3] = {{c.x(), c.y() - 3}, {c.x() - 3, c.y() + 2}, {c.x() + 3, c.y() + 2}};
        p.drawPolygon(tri, 3);
        break;
    }
    }
    p.setBrush(Qt::NoBrush);
}

void TFMTracePlot::Paint(QPainter &p, const TTracePlotData &d)
{
    const int width = Width(d) - TagWidth;
    p.save();
    p.fillRect(QRect(0, 0, Width(d), Height), Qt::white);

    // Channel tags at their zero lines and lanes.
    const TTrace *t = d.trace;
    auto visible = [&](int c) { return t && t->InUse[size_t(c)] && d.shown[size_t(c)]; };
    std::array<int, 4> shift{};
    int onFirst = 0;
    for (int c = 0; c < 4; ++c) {
        if (!visible(c))
            continue;
        for (int b = 0; b < c; ++b)
            if (visible(b) && d.offset[size_t(b)] == d.offset[size_t(c)])
                shift[size_t(c)] += 2;
        if (d.offset[0] == d.offset[size_t(c)])
            ++onFirst;
    }
    if (onFirst == 4)
        shift[0] = -2;
    QFont tagFont = p.font();
    tagFont.setPixelSize(9);
    p.setFont(tagFont);
    for (int c = 7; c >= 0; --c) {
        if (!visible(c))
            continue;
        const int y = c < 4 ? d.offset[size_t(c)] * AnalogDiv : DigitalTop + (c - 3) * LaneHeight;
        const int x = 1 + (c < 4 ? shift[size_t(c)] : 0);
        QColor body = d.styles[size_t(c)].color;
        const QPoint tag[5] = {{x, y - 8}, {x + 13, y - 8}, {x + 19, y}, {x + 13, y + 8}, {x, y + 8}};
        p.setPen(Qt::NoPen);
        p.setBrush(body);
        p.drawPolygon(tag, 5);
        p.setPen(body.lightness() > 140 ? Qt::black : Qt::white);
        p.drawText(QRect(x, y - 8, 14, 17), Qt::AlignCenter, QString::number(c + 1));
    }
    p.setBrush(Qt::NoBrush);

    p.translate(TagWidth, 0);
    const QPen solid(QColor(128, 128, 128), 0);
    QPen dotted(QColor(192, 192, 192), 0, Qt::DotLine);
    for (int i = 0, x = 0; x < width; ++i, x += Division) {
        p.setPen(i % 5 == 0 ? solid : dotted);
        p.drawLine(x, 0, x, AnalogHeight - 1);
        p.drawLine(x, DigitalTop, x, Height - 1);
    }
    for (int i = 0; i <= 10; ++i) {
        p.setPen(i % 5 == 0 ? solid : dotted);
        p.drawLine(0, i * AnalogDiv, width - 1, i * AnalogDiv);
    }
    for (int i = 0; i <= 5; ++i) {
        p.setPen(i % 5 == 0 ? solid : dotted);
        p.drawLine(0, DigitalTop + i * LaneHeight, width - 1, DigitalTop + i * LaneHeight);
    }
    if (!t || t->Samples.empty() || d.blank) {
        p.restore();
        return;
    }
    const int n = int(t->Samples.size());
    if (!d.monitoring)
        for (int k = 1; k >= 0; --k) {
            const int x = ColumnX(d, std::clamp(d.cursor[size_t(k)], 0, n - 1));
            p.setPen(QPen(d.cursorStyles[size_t(k)].color, d.cursorStyles[size_t(k)].width));
            p.drawLine(x, 0, x, Height - 1);
        }
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int c : {3, 2, 1, 0, 4, 5, 6, 7}) {
        if (!visible(c))
            continue;
        const TTracePlotData::TStyle &st = d.styles[size_t(c)];
        p.setPen(QPen(st.color, st.width));
        p.setClipRect(c < 4 ? QRect(0, 0, width, AnalogHeight) : QRect(0, DigitalTop, width, Height - DigitalTop));
        bool have = false;
        QPoint last;
        for (int j = 0; j < n; ++j) {
            int y = 0;
            if (!PointOf(d, c, t->At(j), y)) {
                have = false;
                continue;
            }
            const QPoint pt(ColumnX(d, j), y);
            if (have) {
                if (c < 4) {
                    p.drawLine(last, pt);
                } else {
                    p.drawLine(last, QPoint(pt.x(), last.y()));
                    p.drawLine(QPoint(pt.x(), last.y()), pt);
                }
            }
            PaintMark(p, pt, st.mark, st.color);
            last = pt;
            have = true;
        }
    }
    p.setClipping(false);
    if (!d.monitoring && t->TriggerNo >= 0 && t->TriggerNo < n) {
        const int x = ColumnX(d, t->TriggerNo);
        const QPoint shape[8] = {{x - 4, 2}, {x - 4, 4}, {x - 1, 4}, {x - 1, 12}, {x + 1, 12}, {x + 1, 4}, {x + 4, 4}, {x + 4, 2}};
        p.setPen(QPen(Qt::black, 0));
        p.drawPolygon(shape, 8);
    }
    p.restore();
}

void TFMTracePlot::Redraw()
{
    const QSize size(Width(data), Height);
    if (image.size() != size) {
        image = QImage(size, QImage::Format_RGB32);
        setFixedSize(size);
        updateGeometry();
    }
    QPainter p(&image);
    Paint(p, data);
    p.end();
    update();
}

void TFMTracePlot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, image);
}

void TFMTracePlot::MoveCursor(QMouseEvent *e)
{
    if (data.monitoring || data.blank || dragging < 0 || !data.trace)
        return;
    const int column = ColumnAt(data, int(e->position().x()) - TagWidth);
    data.cursor[size_t(dragging)] = column;
    if (cursorMoved)
        cursorMoved(dragging, column);
    Redraw();
}

void TFMTracePlot::mousePressEvent(QMouseEvent *e)
{
    dragging = e->button() == Qt::LeftButton ? 0 : e->button() == Qt::RightButton ? 1 : -1;
    MoveCursor(e);
}

void TFMTracePlot::mouseMoveEvent(QMouseEvent *e)
{
    if (e->buttons() & Qt::LeftButton)
        dragging = 0;
    else if (e->buttons() & Qt::RightButton)
        dragging = 1;
    else
        return;
    MoveCursor(e);
}
