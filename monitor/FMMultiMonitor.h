#pragma once

#include "monitor/DMMultiMonitor.h"

#include <QDialog>
#include <functional>

struct TAppContext;
class QAction;
class QMenuBar;
class QPushButton;
class QTimer;
class TFMMonitorGrid;

// "マルチモニタ表示": sixteen monitor items of any axes, one slot read per
// 100 ms tick in turn. The slots are chosen in the settings window.
class TFMMultiMonitor : public QDialog
{
    Q_OBJECT
public:
    static constexpr int Interval = 100;

    explicit TFMMultiMonitor(TAppContext &context, QWidget *owner = nullptr);
    ~TFMMultiMonitor() override;

    static void Execute(TAppContext &context, QWidget *owner);

    int CurrentSlot() const { return current; }
    bool Running() const { return running; }
    TDMMultiMonitor &Module() { return dm; }
    TFMMonitorGrid &Grid() { return *sgrdMonitor; }

    // One timer tick (tests call it to step without waiting).
    void Tick();
    // The settings button: pauses, opens the settings window, resumes.
    void OpenSettings();
    // Opens the settings window modally; tests replace it.
    std::function<void()> RunSettings;

    QMenuBar *mnuMain;
    QAction *actExit;
    QPushButton *btnSetting;
    TFMMonitorGrid *sgrdMonitor;
    QTimer *tmrAmpRead;

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Retranslate();
    // Advance, decimal-point settings, one slot read and the timer on.
    void Resume();
    void AdvanceAndClear();
    void ReadCurrent();
    void UpdateRow(int slot);

    TAppContext &ctx;
    TDMMultiMonitor dm;
    int current = 0;
    bool running = false;
    bool shown = false;
    bool closing = false;
};
