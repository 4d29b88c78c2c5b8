#pragma once

#include "monitor/DMAlarm.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <functional>

class QAction;
class QButtonGroup;
class QTableWidget;
class QToolButton;
class TRPAlarm;
struct TAppContext;

// "アラーム履歴表示": the alarm history of one amplifier, refreshed every
// 500 ms, or of a parameter file; alarm reset and alarm trace clear through
// the one-shot operation window, and the printed list.
class TFMAlarm : public QDialog
{
    Q_OBJECT
public:
    explicit TFMAlarm(TAppContext &context, QWidget *owner = nullptr);
    ~TFMAlarm() override;

    // Opens the window modally (the main window's action).
    static void Execute(TAppContext &context, QWidget *owner);

    // The source: an axis 1..15, 0 for the file view, -1 for none.
    int Source() const { return source; }
    QString FileName() const { return fileName; }
    bool Polling() const { return running; }

    // Chooses a source as the buttons do (nothing when it stays the same).
    void ChooseSource(int newSource);
    // Loads a parameter file into the file view / drops it.
    void OpenFile(const QString &name);
    void CloseFile();

    // One tick of the refresh timer (tests call it instead of waiting).
    void Tick();

    // The open dialog; tests put their own answer here. Empty: cancelled.
    std::function<QString()> AskOpenName;
    // Opens the one-shot operation window for a type (tests replace it).
    std::function<void(int type)> RunOperation;
    // Shows the finished report (preview by default; tests save a PDF).
    std::function<void(TRPAlarm &report, bool preview)> ShowReport;

    TDMAlarm &Module() { return dm; }

    QToolButton *sbtnFile;
    std::array<QToolButton *, 15> sbtnAxis{};
    QTableWidget *sgrdVersion;
    QTableWidget *sgrdNow;
    QTableWidget *sgrdTimeTemp;
    QTableWidget *sgrdHistory;
    QAction *actFileOpen;
    QAction *actFileClose;
    QAction *actExit;
    QAction *actAlarmReset;
    QAction *actAlarmClear;
    QAction *actPrint;
    QAction *actPrintPreview;
    QTimer tmrAmpRead;

public slots:
    void FileOpen();
    void AlarmReset();
    void AlarmClear();
    void Print();
    void PrintPreview();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void SelectSource();
    void RefreshButtons();
    void StopPolling();
    void StartPolling();
    void ReadFileView();
    void SetActions();
    void SetCaption();
    void FillGrids();
    void Operation(int type);
    void PrintOrPreview(bool preview);

    TAppContext &ctx;
    TDMAlarm dm;
    QButtonGroup *sources;
    int source = -1;
    QString fileName;
    bool running = false;
    bool shown = false;
};
