#include "testrun/FMAFTuning.h"

#include "testrun/DMJog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFMAFTuning::TFMAFTuning(TAppContext &context, TDMJog &module, int axis, const QString &modelName, QWidget *owner)
    : TFMTuningRun(context, module, TDMJog::tyFrequencyTuning, axis, modelName, true, owner)
{
    setObjectName(QStringLiteral("FMAFTuning"));
    auto *top = new QVBoxLayout(this);
    top->addLayout(MakeCautionRow(tr("注意 : この機能を使用すると、約30秒間モータが動作します。\r\n"
                                     "周囲の安全を確保してから実施してください。\r\n"
                                     "(チューニングにかかる時間は使用条件で短くなることがあります。)")));
    top->addWidget(MakeCaution(tr("チューニング中は保持トルクが低下します。重力軸での使用はご注意ください。")));
    top->addWidget(MakeEndActionGroup());

    auto *grpParams = new QGroupBox(tr("パラメータ設定"), this);
    auto *grid = new QGridLayout(grpParams);
    AddTorqueRow(grid, 0, tr("チューニングのトルク(推力)指令値 :"));
    edtFriction = new QLineEdit(grpParams);
    edtFriction->setObjectName(QStringLiteral("edtFriction"));
    edtFriction->setAlignment(Qt::AlignRight);
    edtFriction->setValidator(new QIntValidator(0, FrictionMax, edtFriction));
    edtFriction->setMaxLength(RangeLength(0, FrictionMax));
    lblFrictionRange = new QLabel(RangeText(0, FrictionMax), grpParams);
    grid->addWidget(new QLabel(tr("摩擦トルク(推力)補償量"), grpParams), 1, 0);
    grid->addWidget(edtFriction, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("[%]"), grpParams), 1, 2);
    grid->addWidget(lblFrictionRange, 1, 3);
    AddSetting(edtFriction, [this](const QString &text) {
        qint64 v = 0;
        return dm.CheckFriction(text, v, Title());
    });
    AddEditRow(grid, 2);
    top->addWidget(grpParams);

    top->addWidget(MakeServoGroup());
    top->addWidget(MakeRunGroup());
    MakeCloseButton(top);
    UpdateRunButtons();
}

bool TFMAFTuning::ReadSettings()
{
    int torque = 0, action = 0, friction = 0;
    if (!dm.ReadTuningSettings(Axis(), torque, action, friction))
        return false;
    SetEndAction(action);
    FillTorque(torque);
    SetSettingText(edtFriction, QString::number(friction));
    return true;
}

bool TFMAFTuning::WriteSettings()
{
    qint64 torque = 0, friction = 0;
    TDMJog::ParseWhole(edtTorque->text(), torque);
    TDMJog::ParseWhole(edtFriction->text(), friction);
    // The friction compensation only after the torque went through.
    return dm.WriteWord0(Axis(), uint16_t(torque)) && dm.WriteWord6(Axis(), uint16_t(friction));
}
