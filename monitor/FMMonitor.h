#pragma once

#include "monitor/DMMonitor.h"

#include <QDialog>
#include <array>

struct TAppContext;
class QAction;
class QButtonGroup;
class QMenuBar;
class QTimer;
class QToolButton;
class TFMMonitorGrid;

// "モニタ表示": the live monitor items of one amplifier, refreshed every
// 200 ms while the window is open. The user picks the axis by its button.
class TFMMonitor : public QDialog
{
    Q_OBJECT
public:
    static constexpr int Interval = 200;

    explicit TFMMonitor(TAppContext &context, QWidget *owner = nullptr);
    ~TFMMonitor() override;

    // Opens the window modally.
    static void Execute(TAppContext &context, QWidget *owner);

    // 1..15, or -1 when no axis is left.
    int Axis() const { return axis; }
    bool Running() const { return running; }
    TDMMonitor &Module() { return dm; }
    TFMMonitorGrid &Grid() { return *sgrdMonitor; }

    // What a click on an axis button does.
    void SelectAxis(int wish);
    // One timer tick (tests call it to step without waiting).
    void Tick();

    QMenuBar *mnuMain;
    QAction *actExit;
    std::array<QToolButton *, 15> sbtnAxis{};
    TFMMonitorGrid *sgrdMonitor;
    QTimer *tmrAmpRead;

public slots:
    void done(int result) override;

signals:
    // A tick read the values and updated the grid.
    void Refreshed();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Retranslate();
    // The axis buttons follow the axes in use; false when none is left.
    bool RefreshAxisButtons();
    void StopPolling();
    void StartPolling();
    void UpdateGrid(bool rebuild);

    TAppContext &ctx;
    TDMMonitor dm;
    QButtonGroup *grpAxes;
    int axis = 1;
    bool running = false;
    bool rebuild = false;
    bool shown = false;
    bool closing = false;
};
