#include "sysanalysis/FMMeasurement.h"

#include "app/FMProgressView.h"
#include "sysanalysis/MachineResult.h"
#include "testrun/DMJog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

TFMMeasurement::TFMMeasurement(TAppContext &context, TDMJog &module, TDMMachine &m, int axis, const QString &model,
                               QWidget *owner)
    : TFMRunBase(context, module, TDMJog::tySystemAnalysis, axis, model, owner), machine(m),
      progress(std::make_unique<TFMProgressView>(this))
{
    setObjectName(QStringLiteral("FMMeasurement"));
    setProperty("kind", TDMJog::tySystemAnalysis);
    auto *top = new QVBoxLayout(this);

    auto *settings = new QGroupBox(tr("システムアナリシス設定"), this);
    auto *form = new QGridLayout(settings);
    edtTorque = new QSpinBox(settings);
    edtTorque->setRange(0, 200);
    form->addWidget(new QLabel(tr("トルク（推力）指令 :"), settings), 0, 0);
    form->addWidget(edtTorque, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("[%]"), settings), 0, 2);
    form->addWidget(new QLabel(RangeText(0, 200), settings), 0, 3);
    cmbFrequency = new QComboBox(settings);
    for (int c = 1; c <= TMachineResult::FrequencyCodes; ++c)
        cmbFrequency->addItem(TMachineResult::FrequencyText(c), c);
    form->addWidget(new QLabel(tr("測定周波数 :"), settings), 1, 0);
    form->addWidget(cmbFrequency, 1, 1, 1, 3);
    top->addWidget(settings);

    auto *middle = new QHBoxLayout;
    middle->addWidget(MakeServoGroup());
    auto *run = new QGroupBox(tr("データ測定実行"), this);
    auto *runLayout = new QVBoxLayout(run);
    btnExecute = new QPushButton(tr("実行"), run);
    runLayout->addWidget(btnExecute);
    middle->addWidget(run);
    top->addLayout(middle);
    connect(btnExecute, &QPushButton::clicked, this, &TFMMeasurement::ClickExecute);

    QGroupBox *end = MakeEndActionGroup();
    end->setTitle(tr("データ測定終了時のオプション"));
    top->addWidget(end);

    auto *monitor = new QGroupBox(tr("制御ループパラメータモニタ"), this);
    auto *grid = new QGridLayout(monitor);
    const char *names[] = {"JRAT_MON :", "KVP_MON :", "TVI_MON :", "TCNFILA_MON :", "TCNFILB_MON :", "TCFIL_MON :"};
    const char *units[] = {"[%]", "[Hz]", "[ms]", "[Hz]", "[Hz]", "[Hz]"};
    for (int i = 0; i < 6; ++i) {
        edtMonitor[size_t(i)] = new QLineEdit(monitor);
        edtMonitor[size_t(i)]->setReadOnly(true);
        edtMonitor[size_t(i)]->setAlignment(Qt::AlignRight);
        edtMonitor[size_t(i)]->setMinimumWidth(70);
        const int row = i % 3, column = 3 * (i / 3);
        grid->addWidget(new QLabel(QLatin1String(names[i]), monitor), row, column);
        grid->addWidget(edtMonitor[size_t(i)], row, column + 1);
        grid->addWidget(new QLabel(QLatin1String(units[i]), monitor), row, column + 2);
    }
    top->addWidget(monitor);

    top->addLayout(MakeCautionRow(tr("注意 : この機能を使用するとモータが動作します。\r\n"
                                     "周囲の安全を確保してから実施してください。")));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btnClose = new QPushButton(tr("閉じる(&C)"), this);
    buttons->addWidget(btnClose);
    top->addLayout(buttons);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    UpdateRunButtons();
}

TFMMeasurement::~TFMMeasurement() = default;

bool TFMMeasurement::ReadSettings()
{
    uint16_t torque = 0, endOption = 0, frequency = 0;
    if (!dm.ReadMeasurementSettings(Axis(), torque, endOption, frequency))
        return false;
    edtTorque->setValue(std::min<int>(torque, 200));
    SetEndAction(endOption);
    // A code outside the table selects nothing; "実行" then refuses.
    cmbFrequency->setCurrentIndex(cmbFrequency->findData(int(frequency)));
    return true;
}

void TFMMeasurement::UpdateRunButtons()
{
    if (btnExecute)
        btnExecute->setEnabled(ServoOn() && !requested && !awaiting);
}

void TFMMeasurement::ClickExecute()
{
    QStringList problems;
    const int torque = edtTorque->value();
    if (torque < 0 || torque > 200)
        problems << tr("トルク（推力）指令が設定範囲外です。");
    if (cmbFrequency->currentIndex() < 0)
        problems << tr("測定周波数が設定範囲外です。");
    if (!problems.isEmpty()) {
        Warn(problems.join(QStringLiteral("\r\n")));
        return;
    }
    requested = true;
    UpdateRunButtons();
}

void TFMMeasurement::DropRequest()
{
    requested = false;
    awaiting = false;
    answer = 0;
    if (confirmation)
        confirmation->hide();
    setEnabled(true);
    UpdateRunButtons();
}

bool TFMMeasurement::ReadMonitors()
{
    uint16_t w[8] = {};
    if (!dm.ReadMeasurementResults(Axis(), w))
        return false;
    monitors.jrat = w[1];
    monitors.kvp = w[3];
    monitors.tvi = w[4];
    monitors.tcfil = w[5];
    monitors.tcnfila = w[6];
    monitors.tcnfilb = w[7];
    ShowMonitors();
    return true;
}

void TFMMeasurement::ShowMonitors()
{
    const uint16_t values[] = {monitors.jrat, monitors.kvp, 0, monitors.tcnfila, monitors.tcnfilb, monitors.tcfil};
    for (int i = 0; i < 6; ++i)
        edtMonitor[size_t(i)]->setText(i == 2 ? QString::number(monitors.tvi / 10.0, 'f', 1)
                                              : QString::number(values[i]));
}

void TFMMeasurement::IdleTick()
{
    // The first poll after サーボオフ is still one role-3 poll (WB3).
    const bool on = ServoOn() || servoOffPoll;
    servoOffPoll = false;
    IdlePoll(
        [this] {
            if (ReadMonitors())
                return true;
            AbortRun();
            return false;
        },
        on, true);
}

void TFMMeasurement::RunTick()
{
    if (awaiting)
        Confirming();
    else
        StartStep();
}

void TFMMeasurement::StartStep()
{
    uint32_t reply = 0;
    if (!Send(TDMTran::opTuningStart, reply))
        return;
    if (reply == 1) {
        requested = false;
        NotReadyClose();
        return;
    }
    if (reply != 0) {
        DropRequest();
        SetServo(false);
        Rearm();
        Warn(reply == 7 ? TDMJog::AlarmText() : TDMJog::ServoRefusedText());
        return;
    }
    TDMMachine::TConditions c = monitors;
    c.torque = edtTorque->value();
    c.frequency = cmbFrequency->currentData().toInt();
    const TDMMachine::TEnd end = machine.Measure(dm, Axis(), c, progress.get(), Title());
    if (!Running())
        return; // closed meanwhile (the cable watch)
    switch (end) {
    case TDMMachine::TEnd::Done: {
        progress->Hide();
        setEnabled(false);
        awaiting = true;
        answer = 0;
        if (!confirmation) {
            confirmation = new QMessageBox(QMessageBox::Information, Title(),
                                           tr("データ測定を正常終了しました。") + QStringLiteral("\n") +
                                               tr("\"OK\"をクリックするとデータ測定を終了し、解析を開始します。"
                                                  "(データ測定終了時はサーボオフします。)"),
                                           QMessageBox::Ok | QMessageBox::Cancel, this);
            confirmation->setObjectName(QStringLiteral("MeasurementConfirmation"));
            confirmation->setWindowModality(Qt::NonModal);
            connect(confirmation, &QMessageBox::finished, this,
                    [this](int button) { answer = button == QMessageBox::Ok ? QMessageBox::Ok : QMessageBox::Cancel; });
        }
        confirmation->show();
        if (const QScreen *screen = confirmation->screen())
            confirmation->move(screen->geometry().center() - confirmation->rect().center());
        Rearm();
        return;
    }
    case TDMMachine::TEnd::Failed:
        AbortRun();
        return;
    case TDMMachine::TEnd::NotReady:
        requested = false;
        NotReadyClose();
        return;
    case TDMMachine::TEnd::ServoOff:
        DropRequest();
        SetServo(false);
        servoOffPoll = true;
        Rearm();
        return;
    case TDMMachine::TEnd::Cancelled:
        DropRequest();
        Rearm();
        return;
    case TDMMachine::TEnd::Alarm:
    case TDMMachine::TEnd::Refused:
        DropRequest();
        SetServo(false);
        Rearm();
        Warn(TDMMachine::EndText(end));
        return;
    case TDMMachine::TEnd::Overtravel:
    case TDMMachine::TEnd::Abnormal:
        DropRequest();
        Rearm();
        Warn(TDMMachine::EndText(end));
        return;
    }
}

void TFMMeasurement::Confirming()
{
    if (answer == QMessageBox::Ok) {
        awaiting = false;
        done(QDialog::Accepted);
        return;
    }
    if (answer == QMessageBox::Cancel) {
        DropRequest();
        Rearm();
        return;
    }
    uint32_t reply = 0;
    if (!Send(TDMTran::opTuningProgress, reply))
        return;
    if (reply == 12) {
        Rearm();
        return;
    }
    const TDMMachine::TEnd end = TDMMachine::ProgressEnd(reply);
    DropRequest();
    if (end == TDMMachine::TEnd::NotReady) {
        NotReadyClose();
        return;
    }
    if (end == TDMMachine::TEnd::Alarm || end == TDMMachine::TEnd::Refused)
        SetServo(false);
    Rearm();
    Warn(TDMMachine::EndText(end));
}

void TFMMeasurement::done(int result)
{
    if (confirmation)
        confirmation->hide();
    setEnabled(true);
    TFMRunBase::done(result);
}
