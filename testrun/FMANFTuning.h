#pragma once

#include "testrun/FMTuningRun.h"

// "オートノッチフィルタチューニング": the amplifier excites the machine with the
// torque command, finds its resonance and sets its notch filter to it.
class TFMANFTuning : public TFMTuningRun
{
    Q_OBJECT
public:
    TFMANFTuning(TAppContext &context, TDMJog &module, int axis, const QString &modelName, QWidget *owner = nullptr);

protected:
    bool ReadSettings() override;
    bool WriteSettings() override;
};
