#pragma once

#include "sysanalysis/DMMachine.h"
#include "testrun/FMRunBase.h"

#include <memory>

class QComboBox;
class QLineEdit;
class QMessageBox;
class QSpinBox;
class TFMProgressView;

// The measurement dialog of the system analysis: torque amplitude and
// measurement frequency, servo on and off, "実行" (the measurement under
// the progress window with "中止" and "サーボオフ"), the end option and the
// control-loop monitors. A measurement that completed waits for the user's
// confirmation; OK closes the dialog with OK (the analysis follows in the
// system-analysis window), Cancel drops it.
class TFMMeasurement : public TFMRunBase
{
    Q_OBJECT
public:
    TFMMeasurement(TAppContext &context, TDMJog &module, TDMMachine &machine, int axis, const QString &modelName,
                   QWidget *owner = nullptr);
    ~TFMMeasurement() override;

    // "実行": checks the inputs and asks for a measurement at the next tick.
    void ClickExecute();
    bool MeasurementRequested() const { return requested; }
    bool AwaitingConfirmation() const { return awaiting; }

    QSpinBox *edtTorque = nullptr;
    QComboBox *cmbFrequency = nullptr;
    QPushButton *btnExecute = nullptr;
    // JRAT_MON, KVP_MON, TVI_MON, TCNFILA_MON, TCNFILB_MON, TCFIL_MON.
    std::array<QLineEdit *, 6> edtMonitor{};
    // The confirmation after a completed measurement (modeless).
    QMessageBox *confirmation = nullptr;
    TFMProgressView &Progress() { return *progress; }

    void done(int result) override;

protected:
    bool ReadSettings() override;
    bool RunRequested() const override { return requested || awaiting; }
    void RunTick() override;
    void IdleTick() override;
    void UpdateRunButtons() override;

private:
    void StartStep();
    void Confirming();
    void DropRequest();
    bool ReadMonitors();
    void ShowMonitors();

    TDMMachine &machine;
    std::unique_ptr<TFMProgressView> progress;
    TDMMachine::TConditions monitors;
    bool requested = false;
    bool awaiting = false;
    bool servoOffPoll = false; // the next idle poll is one WB3
    int answer = 0;            // the confirmation's button, 0 while open
};
