#pragma once

#include "trace/Trace.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class QPainter;

// What one picture of a trace shows: the samples and how to draw them.
struct TTracePlotData {
    struct TStyle {
        QColor color = Qt::black;
        int width = 1;
        int mark = 0; // 0 none .. 7 filled triangle
    };
    const TTrace *trace = nullptr;
    double samplingMs = 1;
    double timeRangeMs = 10;  // per horizontal division
    int divisions = 10;       // plot width in divisions (at least 10)
    std::array<int64_t, 4> range{{1000, 1000, 1000, 1000}}; // raw units per division
    std::array<int, 4> offset{{5, 5, 5, 5}};                 // zero line, divisions from the top
    std::array<TStyle, 8> styles{};
    std::array<bool, 8> shown{{true, true, true, true, true, true, true, true}};
    std::array<TStyle, 2> cursorStyles{{{Qt::green, 1, 0}, {Qt::blue, 1, 0}}};
    std::array<int, 2> cursor{{0, 0}}; // columns of t1 and t2
    bool blank = true;
    bool monitoring = false;
};

// The trace plot: four analog channels on a grid of 10 divisions with a
// zero line each, four digital channels in lanes below, two cursors and the
// trigger mark. Paint is the one routine that draws it for the screen, the
// printer and PDF; the widget keeps an off-screen bitmap and moves the
// cursors with the mouse (left t1, right t2).
class TFMTracePlot : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Division = 42;     // pixels per time division
    static constexpr int AnalogDiv = 25;    // pixels per analog division
    static constexpr int AnalogHeight = 251;
    static constexpr int LaneHeight = 19;
    static constexpr int DigitalTop = 259;  // the digital area below a gap
    static constexpr int Height = DigitalTop + 5 * LaneHeight + 1;
    static constexpr int TagWidth = 22;     // channel tags left of the plot

    explicit TFMTracePlot(QWidget *parent = nullptr);

    // Samples per division (100 in monitor mode) and a column's x.
    static double SamplesPerDivision(const TTracePlotData &d);
    static int ColumnX(const TTracePlotData &d, int column);
    // The column under x: the last one whose x is not beyond it.
    static int ColumnAt(const TTracePlotData &d, int x);
    static int Width(const TTracePlotData &d) { return TagWidth + std::max(d.divisions, 10) * Division + 1; }
    // Draws the whole picture (tags and plot) with its top left at (0, 0).
    static void Paint(QPainter &p, const TTracePlotData &d);
    static void PaintMark(QPainter &p, QPoint at, int mark, const QColor &color);

    TTracePlotData data;
    // Redraws the bitmap from data and shows it.
    void Redraw();
    const QImage &Image() const { return image; }
    // A cursor moved by the mouse: index 0 t1, 1 t2.
    std::function<void(int cursor, int column)> cursorMoved;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    QSize sizeHint() const override { return image.size(); }

private:
    void MoveCursor(QMouseEvent *e);
    QImage image;
    int dragging = -1;
};
