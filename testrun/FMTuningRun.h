#pragma once

#include "testrun/FMANFTuningResult.h"
#include "testrun/FMRunBase.h"

#include <functional>
#include <memory>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TDMTuning;
class TFMAdjustRun;

// What the notch-filter and the frequency tuning windows share on top of the
// run-window base: the torque field, the "チューニング実行" group, and the run
// itself. "実行" requests the start; the next tick sends role 4 and, when the
// amplifier accepts, polls role 6 back to back under the progress window
// until the tuning ends, then shows the result (and turns the servo off) or
// the failure.
class TFMTuningRun : public TFMRunBase
{
    Q_OBJECT
public:
    ~TFMTuningRun() override;

    bool TuningRequested() const { return requested; }
    // "実行", as the button does.
    void ClickRun();

    // Shows the result window modally; tests replace it.
    std::function<int(TFMANFTuningResult &)> execResult;

    QLineEdit *edtTorque = nullptr;
    QLabel *lblTorqueRange = nullptr;
    QPushButton *btnRun = nullptr;
    TFMAdjustRun *progress = nullptr;

protected:
    // cancellable: the progress window offers "Cancel" and counts seconds.
    TFMTuningRun(TAppContext &context, TDMJog &module, int type, int axis, const QString &modelName,
                 bool cancellable, QWidget *owner);

    // The torque row of the settings grid.
    void AddTorqueRow(QGridLayout *grid, int row, const QString &label);
    // "編集" and "書き込み" on their own row across the grid.
    void AddEditRow(QGridLayout *grid, int row);
    QGroupBox *MakeRunGroup();
    // Fills the torque field and its range from the settings just read.
    void FillTorque(int torque);
    bool CheckTorque(const QString &text);

    bool RunRequested() const override { return requested; }
    void RunTick() override;
    void MovementStop() override;
    void UpdateRunButtons() override;

private:
    std::unique_ptr<TDMTuning> tuning;
    bool cancellable;
    bool requested = false;
    bool polling = false;
};
