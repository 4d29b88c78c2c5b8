#include "testrun/FMANFTuning.h"

#include "testrun/DMJog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFMANFTuning::TFMANFTuning(TAppContext &context, TDMJog &module, int axis, const QString &modelName, QWidget *owner)
    : TFMTuningRun(context, module, TDMJog::tyNotchTuning, axis, modelName, false, owner)
{
    setObjectName(QStringLiteral("FMANFTuning"));
    auto *top = new QVBoxLayout(this);
    top->addLayout(MakeCautionRow(tr("注意 : この機能を使用するとモータが動作します。\r\n"
                                     "周囲の安全を確保してから実施してください。\r\n"
                                     "チューニング実行中は、保持トルクが低下します。\r\n"
                                     "重力軸等では、この機能を使用しないでください。")));
    top->addWidget(MakeEndActionGroup());

    auto *grpParams = new QGroupBox(tr("パラメータ設定"), this);
    auto *grid = new QGridLayout(grpParams);
    AddTorqueRow(grid, 0, tr("チューニングのトルク指令値 :"));
    AddEditRow(grid, 1);
    top->addWidget(grpParams);

    top->addWidget(MakeServoGroup());
    top->addWidget(MakeRunGroup());
    MakeCloseButton(top);
    UpdateRunButtons();
}

bool TFMANFTuning::ReadSettings()
{
    int torque = 0, action = 0, word3 = 0;
    if (!dm.ReadTuningSettings(Axis(), torque, action, word3))
        return false;
    SetEndAction(action);
    FillTorque(torque);
    return true;
}

bool TFMANFTuning::WriteSettings()
{
    qint64 v = 0;
    TDMJog::ParseWhole(edtTorque->text(), v);
    return dm.WriteWord0(Axis(), uint16_t(v));
}
