#include "testrun/FMPJogRun.h"

#include "testrun/DMJog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>
#include <utility>

TFMPJogRun::TFMPJogRun(TAppContext &context, TDMJog &module, int axis, const QString &modelName, QWidget *owner)
    : TFMRunBase(context, module, TDMJog::tyPulseJog, axis, modelName, owner)
{
    setObjectName(QStringLiteral("FMPJogRun"));
    setProperty("kind", TDMJog::tyPulseJog);
    auto *top = new QVBoxLayout(this);

    top->addLayout(MakeCautionRow(tr("注意 : この機能を使用するとモータが動作します。\r\n"
                                     "周囲の安全を確保してから実施してください。\r\n"
                                     "パルス送りJOG運転終了時、位置偏差をクリアします。")));
    top->addWidget(MakeEndActionGroup());

    auto *grpParams = new QGroupBox(tr("パラメータ設定"), this);
    auto *grid = new QGridLayout(grpParams);
    auto *digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), this);
    edtFeed = new QLineEdit(grpParams);
    edtFeed->setMaxLength(10);
    edtSpeed = new QLineEdit(grpParams);
    edtSpeed->setMaxLength(5);
    for (QLineEdit *e : {edtFeed, edtSpeed}) {
        e->setAlignment(Qt::AlignRight);
        e->setValidator(digits);
    }
    lblUnit = new QLabel(grpParams);
    MakeEditButtons(grpParams);
    grid->addWidget(new QLabel(tr("送りパルス量 :"), grpParams), 0, 0);
    grid->addWidget(edtFeed, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("[Pulse]"), grpParams), 0, 2);
    grid->addWidget(new QLabel(RangeText(0, 2147483647), grpParams), 0, 3);
    grid->addWidget(new QLabel(tr("移動速度 :"), grpParams), 1, 0);
    grid->addWidget(edtSpeed, 1, 1);
    grid->addWidget(lblUnit, 1, 2);
    grid->addWidget(new QLabel(RangeText(0, 32767), grpParams), 1, 3);
    grid->addWidget(new QLabel(tr("パルス送りJOG運転中は、電子ギア設定=1/1、指令逓倍設定=1となります。"), grpParams), 2, 0,
                    1, 4);
    auto *editRow = new QHBoxLayout;
    editRow->addStretch();
    editRow->addWidget(btnEdit);
    editRow->addWidget(btnWrite);
    grid->addLayout(editRow, 3, 0, 1, 4);
    // Empty fields are allowed: they are not written.
    AddSetting(edtFeed, [this](const QString &text) {
        qint64 v = 0;
        return text.isEmpty() || dm.CheckFeedAmount(text, v, Title());
    });
    AddSetting(edtSpeed, [this](const QString &text) {
        qint64 v = 0;
        return text.isEmpty() || dm.CheckFeedSpeed(text, v, Title());
    });
    top->addWidget(grpParams);

    top->addWidget(MakeServoGroup(tr("（サーボオフ中は偏差クリアします）")));

    auto *grpRun = new QGroupBox(tr("ジョグ運転実行"), this);
    auto *runRow = new QHBoxLayout(grpRun);
    btnForward = new QPushButton(tr("正方向送り"), grpRun);
    btnReverse = new QPushButton(tr("逆方向送り"), grpRun);
    btnStop = new QPushButton(tr("停止＆偏差クリア"), grpRun);
    for (QPushButton *b : {btnForward, btnReverse, btnStop}) {
        b->setAutoDefault(false);
        b->setMinimumHeight(40);
        runRow->addWidget(b);
    }
    btnForward->setCheckable(true);
    btnReverse->setCheckable(true);
    connect(btnForward, &QPushButton::clicked, this, [this] {
        btnForward->setChecked(true); // a running feed cannot be clicked up
        request = TRequest::Forward;
    });
    connect(btnReverse, &QPushButton::clicked, this, [this] {
        btnReverse->setChecked(true);
        request = TRequest::Reverse;
    });
    connect(btnStop, &QPushButton::clicked, this, [this] {
        stopRequest = true;
        request = TRequest::None;
    });
    top->addWidget(grpRun);

    auto *grpMonitor = new QGroupBox(tr("モニタ表示"), this);
    auto *mon = new QGridLayout(grpMonitor);
    edtApmon = new QLineEdit(grpMonitor);
    edtPmon = new QLineEdit(grpMonitor);
    int row = 0;
    for (auto [label, edit] : {std::pair{tr("現在位置モニタ APMON :"), edtApmon}, std::pair{tr("位置偏差モニタ PMON :"), edtPmon}}) {
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignRight);
        mon->addWidget(new QLabel(label, grpMonitor), row, 0);
        mon->addWidget(edit, row, 1);
        mon->addWidget(new QLabel(QStringLiteral("[Pulse]"), grpMonitor), row, 2);
        ++row;
    }
    top->addWidget(grpMonitor);

    MakeCloseButton(top);
    UpdateRunButtons();
}

bool TFMPJogRun::ReadSettings()
{
    int speed = 0, action = 0;
    qint64 feed = 0;
    if (!dm.ReadPulseJog(Axis(), speed, action, feed))
        return false;
    SetEndAction(action);
    SetSettingText(edtFeed, QString::number(feed));
    SetSettingText(edtSpeed, QString::number(speed));
    lblUnit->setText(dm.VcmdUnit());
    return true;
}

bool TFMPJogRun::WriteSettings()
{
    qint64 v = 0;
    if (!edtFeed->text().isEmpty() && TDMJog::ParseWhole(edtFeed->text(), v) && !dm.WriteFeedAmount(Axis(), uint32_t(v)))
        return false;
    if (!edtSpeed->text().isEmpty() && TDMJog::ParseWhole(edtSpeed->text(), v) && !dm.WriteWord0(Axis(), uint16_t(v)))
        return false;
    return true;
}

void TFMPJogRun::MovementStop()
{
    request = TRequest::None;
}

void TFMPJogRun::ReleaseFeedButtons()
{
    btnForward->setChecked(false);
    btnReverse->setChecked(false);
}

void TFMPJogRun::UpdateRunButtons()
{
    if (!btnForward)
        return;
    const bool on = ServoOn() && !EditMode();
    btnForward->setEnabled(on);
    btnReverse->setEnabled(on);
    if (!on)
        ReleaseFeedButtons();
}

bool TFMPJogRun::ShowMonitors()
{
    qint32 apmon = 0, pmon = 0;
    if (!dm.ReadPositionMonitors(Axis(), apmon, pmon)) {
        AbortRun();
        return false;
    }
    edtApmon->setText(QString::number(apmon));
    edtPmon->setText(QString::number(pmon));
    return true;
}

void TFMPJogRun::RunTick()
{
    const TRequest held = request;
    const bool forward = held == TRequest::Forward;
    QPushButton *pressed = forward ? btnForward : btnReverse;
    (forward ? btnReverse : btnForward)->setEnabled(false);
    pressed->setChecked(true);
    uint32_t reply = 0;
    if (!Send(forward ? TDMTran::opJogForward : TDMTran::opJogReverse, reply))
        return;
    if (reply == 0 && !ShowMonitors())
        return;
    while (reply == 0 && request == held) {
        if (!LetMessagesRun())
            return;
        if (request != held)
            break;
        if (!Send(forward ? TDMTran::opPulseJogForwardRepeat : TDMTran::opPulseJogReverseRepeat, reply))
            return;
        if (reply == 0 && !ShowMonitors())
            return;
    }
    if (!Running())
        return;
    switch (reply) {
    case 0:
        Rearm(); // the user ended the feed; the next idle tick stops it
        return;
    case 11:
        request = TRequest::None;
        Rearm();
        Warn(tr("パルス送りJOG運転ができない設定値です。\r\n送りパルス量、移動速度を変更してください。"));
        return;
    case 12:
        request = TRequest::None; // the feed is done
        Rearm();
        return;
    default:
        EndMovement(reply);
        return;
    }
}

void TFMPJogRun::IdleTick()
{
    if (stopRequest) {
        stopRequest = false;
        uint32_t reply = 0;
        if (!Send(TDMTran::opPulseJogStop, reply))
            return;
    }
    if (ServoOn()) {
        UpdateRunButtons();
        ReleaseFeedButtons();
    }
    IdlePoll([this] { return ShowMonitors(); });
}
