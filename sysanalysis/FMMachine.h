#pragma once

#include "sysanalysis/DMMachine.h"
#include "sysanalysis/FMBodePlot.h"

#include <QDialog>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolBar;
struct TAppContext;

// The system-analysis window ("システムアナリシス"): the result of a
// measurement on an axis or of a saved file, as the conditions, the
// control-loop monitors and a Bode plot (gain and phase over 1 to 2000 Hz)
// with two cursors, the torque-limit rate, files and printing.
class TFMMachine : public QDialog
{
    Q_OBJECT
public:
    explicit TFMMachine(TAppContext &context, QWidget *owner = nullptr);
    ~TFMMachine() override;
    static void Execute(TAppContext &context, QWidget *owner);

    TAppContext &Context() { return ctx; }
    int Source() const { return source; }
    QString FileName() const { return fileName; }
    bool HasData() const { return hasData; }
    bool Blank() const { return plotGain->data.blank; }
    int GainOffset() const { return plotGain->data.gainOffset; }
    int GainRange() const { return plotGain->data.gainRange; }
    int FirstRow() const { return plotGain->data.firstRow; }
    int Points() const { return plotGain->data.count; }

    // The actions as the menus run them.
    void OpenFile(const QString &name);
    void CloseFile();
    void StartMeasurement();
    void ClearData();
    void GainUp();
    void GainDown();
    void GainDefault();
    void GainAuto();
    void SetCursor(int cursor, int point);
    // Refresh: the source's axis, the file, the display set-up, the drawing.
    void Refresh();
    // Shows a measured result of the axis (after a successful analysis).
    void ShowMeasured(int axis);

    // Opens the selection window and the measurement; tests replace it.
    // Returns the selection window's result and sets the axis it chose.
    std::function<int(int &axis)> execSelection;
    // Waits for the analyser; tests replace it (null: the wait box).
    TAnalyserWait *analyserWait = nullptr;

    TDMMachine dm;
    TFMBodePlot *plotGain, *plotPhase;
    QLineEdit *edtAxis, *edtMotor, *edtAmp, *edtTorque, *edtFrequency;
    std::array<QLineEdit *, 6> edtMonitor{}; // JRAT, KVP, TVI, TCNFILA, TCNFILB, TCFIL
    QCheckBox *chkGain, *chkPhase;
    QLabel *lblGainSwatch, *lblPhaseSwatch, *lblGain, *lblPhase, *lblPhaseRange;
    QComboBox *cmbGainRange;
    QPushButton *btnAuto, *btnDefault, *btnUp, *btnDown;
    std::array<QLabel *, 2> lblCursorSwatch{};
    QScrollBar *ScrollBarT1, *ScrollBarT2;
    std::array<QLineEdit *, 2> edtCursorHz{}, edtCursorGain{}, edtCursorPhase{};
    std::array<QLabel *, 2> lblCursorDb{}, lblCursorDeg{};
    QLineEdit *edtTorqueLimit;
    QAction *actOpen, *actClose, *actSave, *actSaveAs, *actExit, *actStart, *actGeneral, *actClear, *actDisplay,
        *actPrint, *actPreview, *actPrinterSetup, *actHelp;
    QToolBar *toolBar;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ApplyStyles();
    void UpdateActions();
    void UpdateCaption();
    void SetupDisplay();
    void Redraw();
    void OnOpen();
    void OnSaveAs();
    void OnSave();
    void OnDisplay();
    void OnPrint(bool preview);
    void OnHelp();
    bool HasResult() const;

    TAppContext &ctx;
    int source = -1;
    QString fileName;
    bool hasData = false;
    bool shown = false;
};
