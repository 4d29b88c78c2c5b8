#include "testrun/FMRunBase.h"

#include "app/AppContext.h"
#include "app/Busy.h"
#include "app/Messenger.h"
#include "testrun/DMJog.h"

#include <QApplication>
#include <algorithm>
#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

TFMRunBase::TFMRunBase(TAppContext &context, TDMJog &module, int t, int a, const QString &model, QWidget *owner)
    : QDialog(owner), ctx(context), dm(module), type(t), axis(a), modelName(model)
{
    setWindowTitle(Title());
    timer.setSingleShot(true);
    timer.setInterval(TickMs);
    connect(&timer, &QTimer::timeout, this, &TFMRunBase::Tick);
}

TFMRunBase::~TFMRunBase() = default;

QString TFMRunBase::Title() const
{
    return TDMJog::Title(type, axis, modelName);
}

QLabel *TFMRunBase::MakeCaution(const QString &text)
{
    auto *label = new QLabel(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this);
    label->setObjectName(QStringLiteral("lblCaution"));
    return label;
}

QPushButton *TFMRunBase::MakeCloseButton(QBoxLayout *layout)
{
    btnClose = new QPushButton(tr("閉じる(&C)"), this);
    btnClose->setAutoDefault(false);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnClose);
    layout->addLayout(bottom);
    return btnClose;
}

QHBoxLayout *TFMRunBase::MakeCautionRow(const QString &text)
{
    auto *row = new QHBoxLayout;
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    row->addWidget(icon);
    row->addWidget(MakeCaution(text), 1);
    return row;
}

QGroupBox *TFMRunBase::MakeEndActionGroup()
{
    grpEndAction = new QGroupBox(tr("終了時の動作選択"), this);
    auto *layout = new QVBoxLayout(grpEndAction);
    rbtnEndNoAlarm = new QRadioButton(tr("終了時、「試運転終了アラーム」にしない"), grpEndAction);
    rbtnEndAlarm = new QRadioButton(tr("終了時、「試運転終了アラーム」にする"), grpEndAction);
    layout->addWidget(rbtnEndNoAlarm);
    layout->addWidget(rbtnEndAlarm);
    endGroup = new QButtonGroup(this);
    endGroup->addButton(rbtnEndNoAlarm, 0);
    endGroup->addButton(rbtnEndAlarm, 1);
    rbtnEndNoAlarm->setChecked(true);
    connect(endGroup, &QButtonGroup::idClicked, this, [this](int id) {
        endAction = id;
        endActionDirty = true;
    });
    return grpEndAction;
}

void TFMRunBase::SetEndAction(int action)
{
    endAction = action ? 1 : 0;
    if (endGroup)
        endGroup->button(endAction)->setChecked(true);
}

QGroupBox *TFMRunBase::MakeServoGroup(const QString &note)
{
    grpServo = new QGroupBox(tr("モータ励磁"), this);
    auto *layout = new QVBoxLayout(grpServo);
    auto *row = new QHBoxLayout;
    btnServoOn = new QPushButton(tr("サーボオン"), grpServo);
    btnServoOff = new QPushButton(tr("サーボオフ"), grpServo);
    for (QPushButton *b : {btnServoOn, btnServoOff}) {
        b->setCheckable(true);
        b->setAutoExclusive(true);
        row->addWidget(b);
    }
    btnServoOff->setChecked(true);
    layout->addLayout(row);
    if (!note.isEmpty())
        layout->addWidget(new QLabel(note, grpServo));
    connect(btnServoOn, &QPushButton::clicked, this, [this] { SetServo(true); });
    connect(btnServoOff, &QPushButton::clicked, this, [this] { SetServo(false); });
    return grpServo;
}

void TFMRunBase::SetServo(bool on)
{
    servo = on;
    if (btnServoOn) {
        btnServoOn->setChecked(on);
        btnServoOff->setChecked(!on);
    }
    MovementStop();
    UpdateRunButtons();
}

void TFMRunBase::MakeEditButtons(QWidget *parent)
{
    btnEdit = new QPushButton(tr("編集"), parent);
    btnWrite = new QPushButton(tr("書き込み"), parent);
    btnWrite->setVisible(false);
    connect(btnEdit, &QPushButton::clicked, this, &TFMRunBase::ClickEdit);
    connect(btnWrite, &QPushButton::clicked, this, &TFMRunBase::ClickWrite);
}

void TFMRunBase::AddSetting(QLineEdit *field, std::function<bool(const QString &)> check)
{
    field->setReadOnly(true);
    settings.append({field, std::move(check), field->text()});
    // Enter in a field writes like the button (and does not reach the dialog's default button).
    connect(field, &QLineEdit::returnPressed, this, [this] {
        if (editing)
            ClickWrite();
    });
}

void TFMRunBase::SetSettingText(QLineEdit *field, const QString &text)
{
    field->setText(text);
    for (TSetting &s : settings)
        if (s.field == field)
            s.remembered = text;
}

QString TFMRunBase::RangeText(qint64 low, qint64 high)
{
    return QStringLiteral("( %1 - %2 )").arg(low).arg(high);
}

int TFMRunBase::RangeLength(qint64 low, qint64 high)
{
    return int(std::max(QString::number(low).size(), QString::number(high).size()));
}

void TFMRunBase::ClickEdit()
{
    if (editing) {
        LeaveEdit(true);
        return;
    }
    editing = true;
    for (TSetting &s : settings) {
        s.remembered = s.field->text();
        s.field->setReadOnly(false);
    }
    RememberOther();
    btnEdit->setText(tr("編集中止"));
    btnWrite->setVisible(true);
    if (!settings.isEmpty())
        settings.first().field->setFocus();
    UpdateRunButtons();
}

void TFMRunBase::ClickWrite()
{
    if (!editing)
        return;
    for (TSetting &s : settings)
        if (s.check && !s.check(s.field->text())) {
            s.field->setFocus();
            s.field->selectAll();
            return;
        }
    for (const TSetting &s : settings)
        if (s.field->text() != s.remembered)
            settingsDirty = true;
    if (OtherChanged())
        settingsDirty = true;
    LeaveEdit(false);
}

void TFMRunBase::LeaveEdit(bool restore)
{
    editing = false;
    if (restore)
        RestoreOther();
    for (TSetting &s : settings) {
        if (restore)
            s.field->setText(s.remembered);
        s.remembered = s.field->text();
        s.field->setReadOnly(true);
    }
    if (btnEdit) {
        btnEdit->setText(tr("編集"));
        btnWrite->setVisible(false);
    }
    UpdateRunButtons();
}

void TFMRunBase::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown)
        return;
    shown = true;
    // Enter belongs to the fields (write) and the hold-to-run buttons; no
    // button of a run window may be pressed by it behind the user's back.
    for (QPushButton *b : findChildren<QPushButton *>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    // After the window is up, so that an abort can close it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (closing)
                return;
            if (!ReadSettings()) {
                AbortRun();
                return;
            }
            // The units and ranges just filled in need their room; the
            // group boxes' layouts catch up first (their requests are posted).
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            if (layout())
                layout()->activate();
            resize(size().expandedTo(sizeHint()));
            StartRunning();
        },
        Qt::QueuedConnection);
}

void TFMRunBase::StartRunning()
{
    SetServo(false);
    running = true;
    timer.start();
}

bool TFMRunBase::Active() const
{
    return windowActive ? windowActive() : isActiveWindow();
}

bool TFMRunBase::LetMessagesRun()
{
    QCoreApplication::processEvents();
    return running && !closing;
}

void TFMRunBase::Rearm()
{
    if (running && !closing)
        timer.start();
}

void TFMRunBase::Tick()
{
    timer.stop();
    if (!running || !LetMessagesRun())
        return;
    if (endActionDirty) {
        endActionDirty = false;
        if (dm.WriteEndAction(axis, endAction))
            Rearm();
        else
            AbortRun();
        return;
    }
    if (settingsDirty) {
        settingsDirty = false;
        if (WriteSettings())
            Rearm();
        else
            AbortRun();
        return;
    }
    if (RunRequested()) {
        RunTick();
        return;
    }
    IdleTick();
}

bool TFMRunBase::Send(TDMTran::TTestRunOp op, uint32_t &reply)
{
    bool ok = false;
    switch (op) {
    case TDMTran::opEnd: ok = ctx.tran.TestRunEnd(axis, type, reply); break;
    case TDMTran::opStatus: ok = ctx.tran.TestRunStatus(axis, type, reply); break;
    case TDMTran::opRunStatus: ok = ctx.tran.TestRunRunStatus(axis, type, reply); break;
    case TDMTran::opJogForward: ok = ctx.tran.JogForward(axis, type, reply); break;
    case TDMTran::opJogReverse: ok = ctx.tran.JogReverse(axis, type, reply); break;
    case TDMTran::opTuningStart: ok = ctx.tran.TuningStart(axis, type, reply); break;
    case TDMTran::opTuningProgress: ok = ctx.tran.TuningProgress(axis, type, reply); break;
    case TDMTran::opPulseJogForwardRepeat: ok = ctx.tran.PulseJogForwardRepeat(axis, type, reply); break;
    case TDMTran::opPulseJogReverseRepeat: ok = ctx.tran.PulseJogReverseRepeat(axis, type, reply); break;
    case TDMTran::opPulseJogStop: ok = ctx.tran.PulseJogStop(axis, type, reply); break;
    case TDMTran::opTuningSave: ok = ctx.tran.TuningSave(axis, type, reply); break;
    }
    if (!ok && op != TDMTran::opEnd)
        AbortRun();
    return ok;
}

void TFMRunBase::IdlePoll(const std::function<bool()> &onNormal, std::optional<bool> servoOn, bool overtravel)
{
    uint32_t reply = 0;
    const bool on = servoOn.value_or(servo);
    if (!Send(on ? TDMTran::opRunStatus : TDMTran::opStatus, reply))
        return;
    // Replies count only while the user is looking at this window.
    if (!Active()) {
        Rearm();
        return;
    }
    if (reply == 1) {
        NotReadyClose();
        return;
    }
    if (reply == 0 && onNormal && !onNormal())
        return;
    Rearm();
    if (on && reply == 7) {
        SetServo(false);
        Warn(TDMJog::AlarmText());
    } else if (on && reply == 8) {
        SetServo(false);
        Warn(TDMJog::ServoRefusedText());
    } else if (on && overtravel && reply == 9) {
        SetServo(false);
        Warn(TDMJog::OvertravelText());
    }
}

void TFMRunBase::EndMovement(uint32_t reply)
{
    if (reply == 1) {
        NotReadyClose();
        return;
    }
    MovementStop();
    if (reply == 9) {
        UpdateRunButtons();
        Rearm();
        Warn(TDMJog::OvertravelText());
        return;
    }
    SetServo(false);
    Rearm();
    Warn(reply == 7 ? TDMJog::AlarmText() : TDMJog::ServoRefusedText());
}

void TFMRunBase::NotReadyClose()
{
    running = false;
    timer.stop();
    MovementStop();
    Warn(TDMJog::NotReadyText(type));
    if (!closing)
        done(QDialog::Rejected);
}

void TFMRunBase::Warn(const QString &text)
{
    TMessenger::Instance().Warning(text, Title());
}

bool TFMRunBase::Confirm(const QString &text)
{
    return TMessenger::Instance().AskOkCancel(text, Title());
}

void TFMRunBase::AbortRun()
{
    running = false;
    timer.stop();
    MovementStop();
    if (aborting || closing)
        return;
    aborting = true;
    TMessenger::Instance().CloseAll();
    QMetaObject::invokeMethod(this, [this] { done(Abort); }, Qt::QueuedConnection);
}

void TFMRunBase::changeEvent(QEvent *event)
{
    // A window that is no longer in front stops every movement at once.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        MovementStop();
    QDialog::changeEvent(event);
}

void TFMRunBase::done(int result)
{
    if (closing)
        return;
    if (TBusy::State() == TBusy::TState::Transaction) {
        // Asked from inside a command's wait (a timer, the cable watch): stop
        // every movement now, send the end after that command, never nested.
        running = false;
        timer.stop();
        MovementStop();
        QMetaObject::invokeMethod(this, [this, result] { done(result); }, Qt::QueuedConnection);
        return;
    }
    closing = true;
    running = false;
    timer.stop();
    MovementStop();
    uint32_t reply = 0;
    if (!Send(TDMTran::opEnd, reply) || aborting)
        result = Abort;
    QDialog::done(result);
}

TFMRunBase::THold TFMRunBase::HoldEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton ? THold::Press : THold::Other;
    case QEvent::MouseButtonRelease:
        return static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton ? THold::Release : THold::Other;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool hold = key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!hold || key->isAutoRepeat())
            return THold::Other;
        return event->type() == QEvent::KeyPress ? THold::Press : THold::Release;
    }
    case QEvent::FocusOut:
    case QEvent::Hide:
    case QEvent::EnabledChange:
        return THold::Release;
    default:
        return THold::Other;
    }
}
