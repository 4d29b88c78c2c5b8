#include "testrun/FMVJogRun.h"

#include "testrun/DMJog.h"
#include "app/FMInputGuard.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFMVJogRun::TFMVJogRun(TAppContext &context, TDMJog &module, int axis, const QString &modelName, QWidget *owner)
    : TFMRunBase(context, module, TDMJog::tyVelocityJog, axis, modelName, owner)
{
    setObjectName(QStringLiteral("FMVJogRun"));
    setProperty("kind", TDMJog::tyVelocityJog);
    auto *top = new QVBoxLayout(this);

    top->addLayout(MakeCautionRow(tr("注意 : この機能を使用するとモータが動作します。\r\n"
                                     "周囲の安全を確保してから実施してください。")));
    top->addWidget(MakeEndActionGroup());

    auto *grpParams = new QGroupBox(tr("パラメータ設定"), this);
    auto *grid = new QGridLayout(grpParams);
    edtSpeed = new QLineEdit(grpParams);
    edtSpeed->setAlignment(Qt::AlignRight);
    lblUnit = new QLabel(grpParams);
    lblRange = new QLabel(grpParams);
    MakeEditButtons(grpParams);
    grid->addWidget(new QLabel(tr("JOG速度指令 :"), grpParams), 0, 0);
    grid->addWidget(edtSpeed, 0, 1);
    grid->addWidget(lblUnit, 0, 2);
    grid->addWidget(lblRange, 0, 3);
    auto *editRow = new QHBoxLayout;
    editRow->addStretch();
    editRow->addWidget(btnEdit);
    editRow->addWidget(btnWrite);
    grid->addLayout(editRow, 1, 0, 1, 4);
    AddSetting(edtSpeed, [this](const QString &text) {
        qint64 v = 0;
        return dm.CheckJogSpeed(text, v, Title());
    });
    top->addWidget(grpParams);

    top->addWidget(MakeServoGroup());

    auto *grpRun = new QGroupBox(tr("ジョグ運転実行"), this);
    auto *runRow = new QHBoxLayout(grpRun);
    btnForward = new QPushButton(tr("正方向"), grpRun);
    btnReverse = new QPushButton(tr("逆方向"), grpRun);
    for (QPushButton *b : {btnForward, btnReverse}) {
        b->setAutoDefault(false);
        b->setMinimumHeight(40);
        TFMInputGuard::LetReleasesThrough(b);
        b->installEventFilter(this);
        runRow->addWidget(b);
    }
    top->addWidget(grpRun);

    MakeCloseButton(top);
    UpdateRunButtons();
}

bool TFMVJogRun::ReadSettings()
{
    int speed = 0, action = 0;
    if (!dm.ReadVelocityJog(Axis(), speed, action))
        return false;
    SetEndAction(action);
    const int lo = dm.VcmdMin(), hi = dm.VcmdMax();
    edtSpeed->setValidator(new QIntValidator(std::min(lo, 0), hi, edtSpeed));
    edtSpeed->setMaxLength(RangeLength(lo, hi));
    SetSettingText(edtSpeed, QString::number(speed));
    lblUnit->setText(dm.VcmdUnit());
    lblRange->setText(RangeText(lo, hi));
    return true;
}

bool TFMVJogRun::WriteSettings()
{
    qint64 v = 0;
    TDMJog::ParseWhole(edtSpeed->text(), v);
    return dm.WriteWord0(Axis(), uint16_t(v));
}

void TFMVJogRun::MovementStop()
{
    request = TRequest::None;
}

void TFMVJogRun::UpdateRunButtons()
{
    const bool on = ServoOn() && !EditMode();
    if (btnForward) {
        btnForward->setEnabled(on);
        btnReverse->setEnabled(on);
    }
}

bool TFMVJogRun::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == btnForward || watched == btnReverse) {
        const TRequest mine = watched == btnForward ? TRequest::Forward : TRequest::Reverse;
        switch (HoldEvent(event)) {
        case THold::Press:
            if (static_cast<QWidget *>(watched)->isEnabled())
                request = mine;
            break;
        case THold::Release:
            // Only the button that holds the request lets it go (disabling
            // the other one during the run must not end it).
            if (request == mine)
                request = TRequest::None;
            break;
        case THold::Other:
            break;
        }
    }
    return TFMRunBase::eventFilter(watched, event);
}

void TFMVJogRun::RunTick()
{
    const TRequest held = request;
    const bool forward = held == TRequest::Forward;
    (forward ? btnReverse : btnForward)->setEnabled(false);
    uint32_t reply = 0;
    while (request == held) {
        if (!LetMessagesRun())
            return;
        if (request != held)
            break;
        if (!Send(forward ? TDMTran::opJogForward : TDMTran::opJogReverse, reply))
            return;
        if (reply != 0)
            break;
    }
    if (!Running())
        return;
    if (reply != 0) {
        EndMovement(reply);
        return;
    }
    // The user let go: the idle poll follows at once, which stops the motor.
    IdleTick();
}

void TFMVJogRun::IdleTick()
{
    IdlePoll();
    if (ServoOn() && Running())
        UpdateRunButtons();
}
