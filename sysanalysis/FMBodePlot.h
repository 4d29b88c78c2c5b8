#pragma once

#include "sysanalysis/MachineResult.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QPainter;

// What the two graphs of a frequency response show.
struct TBodePlotData {
    struct TStyle {
        QColor color = Qt::black;
        int width = 1;
        int mark = 0;
    };
    const TMachineResult *result = nullptr;
    int firstRow = -1; // first plotted DATA2 row
    int count = 0;     // plotted rows
    int gainRange = 10;
    int gainOffset = 0;
    bool blank = true;
    bool showGain = true, showPhase = true;
    bool frequencyLabels = true; // the FREQUENCY code is a known one
    TStyle gain{Qt::black, 1, 0};
    TStyle phase{Qt::red, 1, 0};
    std::array<TStyle, 2> cursorStyles{{{Qt::green, 1, 0}, {Qt::cyan, 1, 0}}};
    std::array<int, 2> cursor{{0, 0}};

    // x of each plotted point.
    std::vector<int> Xs() const;
};

// One graph of the frequency response (gain or phase) with its scale and
// frequency labels. Paint is the one routine that draws it for the screen,
// the printer, PDF and the command line's picture; the widget keeps an
// off-screen bitmap and moves the cursors with the mouse (left t1, right t2).
class TFMBodePlot : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Left = 48;  // room for the scale labels
    static constexpr int Top = 20;   // room for the unit
    static constexpr int Bottom = 36; // frequency labels and the axis name
    static int PictureWidth();
    static int PictureHeight();

    TFMBodePlot(bool phase, QWidget *parent = nullptr);

    // The whole picture (labels and graph) with its top left at (0, 0).
    static void Paint(QPainter &p, const TBodePlotData &d, bool phase);
    // Gain and phase one above the other, as the command line renders them.
    static QImage Render(const TBodePlotData &d);
    // A result drawn as the window first shows it (Auto scale, cursors at
    // the first point) into a PNG file, written whole or not at all.
    static bool SavePng(const TMachineResult &result, const QString &path, QString *error);

    bool IsPhase() const { return phase; }
    TBodePlotData data;
    void Redraw();
    const QImage &Image() const { return image; }
    // A cursor moved by the mouse: 0 t1, 1 t2, to a point number.
    std::function<void(int cursor, int point)> cursorMoved;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    QSize sizeHint() const override { return image.size(); }

private:
    void Move(int x);
    bool phase;
    QImage image;
    int dragging = -1;
};
