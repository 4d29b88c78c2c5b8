#include "testrun/FMTuningRun.h"

#include "testrun/DMJog.h"
#include "testrun/DMTuning.h"
#include "testrun/FMAdjustRun.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFMTuningRun::TFMTuningRun(TAppContext &context, TDMJog &module, int type, int axis, const QString &modelName,
                           bool cancel, QWidget *owner)
    : TFMRunBase(context, module, type, axis, modelName, owner),
      tuning(std::make_unique<TDMTuning>(context, module)), cancellable(cancel)
{
    setProperty("kind", type);
    progress = new TFMAdjustRun(this);
    progress->ShowElapsed(cancel);
    execResult = [](TFMANFTuningResult &w) { return w.exec(); };
}

TFMTuningRun::~TFMTuningRun() = default;

void TFMTuningRun::AddTorqueRow(QGridLayout *grid, int row, const QString &label)
{
    QWidget *parent = grid->parentWidget();
    edtTorque = new QLineEdit(parent);
    edtTorque->setObjectName(QStringLiteral("edtTorque"));
    edtTorque->setAlignment(Qt::AlignRight);
    lblTorqueRange = new QLabel(parent);
    grid->addWidget(new QLabel(label, parent), row, 0);
    grid->addWidget(edtTorque, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("[%]"), parent), row, 2);
    grid->addWidget(lblTorqueRange, row, 3);
    AddSetting(edtTorque, [this](const QString &text) { return CheckTorque(text); });
}

void TFMTuningRun::AddEditRow(QGridLayout *grid, int row)
{
    MakeEditButtons(grid->parentWidget());
    auto *line = new QHBoxLayout;
    line->addStretch();
    line->addWidget(btnEdit);
    line->addWidget(btnWrite);
    grid->addLayout(line, row, 0, 1, 4);
}

bool TFMTuningRun::CheckTorque(const QString &text)
{
    qint64 v = 0;
    return dm.CheckTuningTorque(text, v, Title());
}

void TFMTuningRun::FillTorque(int torque)
{
    const int lo = dm.TcmdMin(), hi = dm.TcmdMax();
    edtTorque->setValidator(new QIntValidator(std::min(lo, 0), std::max(hi, 0), edtTorque));
    edtTorque->setMaxLength(RangeLength(lo, hi));
    SetSettingText(edtTorque, QString::number(torque));
    lblTorqueRange->setText(RangeText(lo, hi));
}

QGroupBox *TFMTuningRun::MakeRunGroup()
{
    auto *group = new QGroupBox(tr("チューニング実行"), this);
    auto *row = new QHBoxLayout(group);
    btnRun = new QPushButton(tr("実行"), group);
    btnRun->setObjectName(QStringLiteral("btnRun"));
    btnRun->setMinimumHeight(32);
    row->addWidget(btnRun);
    connect(btnRun, &QPushButton::clicked, this, &TFMTuningRun::ClickRun);
    return group;
}

void TFMTuningRun::ClickRun()
{
    if (ServoOn() && !EditMode() && Running())
        requested = true;
    UpdateRunButtons();
}

void TFMTuningRun::MovementStop()
{
    // A servo switch drops a start that has not gone out yet; a running
    // tuning ends only through its own replies.
    if (!polling)
        requested = false;
}

void TFMTuningRun::UpdateRunButtons()
{
    if (btnRun)
        btnRun->setEnabled(ServoOn() && !EditMode() && !requested);
}

void TFMTuningRun::RunTick()
{
    const int type = Type(), axis = Axis();
    uint32_t reply = 0;
    if (!Send(TDMTran::opTuningStart, reply))
        return;
    if (reply == 1) {
        NotReadyClose();
        return;
    }
    if (reply != 0) {
        requested = false;
        SetServo(false);
        Rearm();
        Warn(reply == 7 ? TDMJog::AlarmText() : TDMJog::ServoRefusedText());
        return;
    }

    int result = 0;
    polling = true;
    const TDMTuning::TEnd end =
        tuning->Poll(axis, type, Title(), progress, cancellable, [this] { return LetMessagesRun(); }, result);
    polling = false;
    switch (end) {
    case TDMTuning::TEnd::Finished: {
        requested = false;
        Rearm();
        TFMANFTuningResult window({Title(), TDMTuning::SuccessText(type), tuning->ResultName(type),
                                   tuning->ResultUnit(type), result, type == TDMJog::tyFrequencyTuning},
                                  this);
        execResult(window);
        SetServo(false);
        return;
    }
    case TDMTuning::TEnd::Failed:
        requested = false;
        Rearm();
        Warn(TDMTuning::FailureText(type));
        SetServo(false);
        return;
    case TDMTuning::TEnd::NotReady:
        requested = false;
        NotReadyClose();
        return;
    case TDMTuning::TEnd::Cancelled:
        // Nothing is sent for the cancel: the idle poll that follows at once
        // is what the amplifier sees.
        requested = false;
        IdlePoll();
        UpdateRunButtons();
        return;
    case TDMTuning::TEnd::Stopped:
        requested = false;
        return;
    case TDMTuning::TEnd::CommFault:
    case TDMTuning::TEnd::CommandFailed:
        requested = false;
        AbortRun();
        return;
    }
}
