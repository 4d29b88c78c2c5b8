#pragma once

#include "testrun/FMTuningRun.h"

class QLabel;
class QLineEdit;

// "オート制振周波数チューニング": about 30 s of excitation find the
// vibration-suppression frequency. Like the notch tuning, with a friction
// compensation setting, a "Cancel" button and the seconds in the progress
// window, and the servo-off note in the result.
class TFMAFTuning : public TFMTuningRun
{
    Q_OBJECT
public:
    TFMAFTuning(TAppContext &context, TDMJog &module, int axis, const QString &modelName, QWidget *owner = nullptr);

    static constexpr int FrictionMax = 50;

    QLineEdit *edtFriction = nullptr;
    QLabel *lblFrictionRange = nullptr;

protected:
    bool ReadSettings() override;
    bool WriteSettings() override;
};
