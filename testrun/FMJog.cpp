#include "testrun/FMJog.h"

#include "app/AppContext.h"
#include "app/Busy.h"
#include "app/DMEnvironment.h"
#include "app/FMAxisChoice.h"
#include "app/Hourglass.h"
#include "app/Messenger.h"
#include "comm/DMTran.h"
#include "sysanalysis/FMMeasurement.h"
#include "testrun/FMPJogRun.h"
#include "testrun/FMAFTuning.h"
#include "testrun/FMANFTuning.h"
#include "testrun/FMATuningRSV.h"
#include "testrun/FMVJogRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFMJog::TFMJog(TAppContext &context, int t, int a, QWidget *owner)
    : QDialog(owner), ctx(context), dm(context), type(t), axis(a)
{
    setObjectName(QStringLiteral("FMJog"));
    setProperty("kind", type);
    setWindowTitle(TDMJog::FunctionName(type));
    execRun = [](TFMRunBase &w) { return w.exec(); };

    auto *top = new QVBoxLayout(this);
    auto *group = new QGroupBox(tr("サーボアンプ選択"), this);
    auto *grid = new QGridLayout(group);
    for (int i = 0; i < 15; ++i) {
        auto *b = new QRadioButton(QStringLiteral("#%1").arg(QString::number(i + 1, 16).toUpper()), group);
        b->setObjectName(QStringLiteral("rbtnAxis%1").arg(QString::number(i + 1, 16).toUpper()));
        rbtnAxis[size_t(i)] = b;
        grid->addWidget(b, i / 8, i % 8);
        connect(b, &QRadioButton::clicked, this, [this, i] { SelectAxis(i + 1); });
    }
    auto *modelRow = new QHBoxLayout;
    modelRow->addWidget(new QLabel(tr("サーボアンプ型番 :"), group));
    edtModel = new QLineEdit(group);
    edtModel->setReadOnly(true);
    modelRow->addWidget(edtModel, 1);
    grid->addLayout(modelRow, 2, 0, 1, 8);
    top->addWidget(group);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btnExec = new QPushButton(tr("実行"), this);
    btnClose = new QPushButton(tr("終了(&X)"), this);
    btnExec->setDefault(true);
    buttons->addWidget(btnExec);
    buttons->addWidget(btnClose);
    top->addLayout(buttons);
    connect(btnExec, &QPushButton::clicked, this, &TFMJog::ExecuteFunction);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    dm.OpenTables();
}

TFMJog::~TFMJog()
{
    dm.CloseTables();
}

int TFMJog::Execute(TAppContext &context, int type, int axis, QWidget *owner)
{
    TFMJog window(context, type, axis, owner);
    return window.exec();
}

void TFMJog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown)
        return;
    shown = true;
    QMetaObject::invokeMethod(this, [this] { RefreshAxes(); }, Qt::QueuedConnection);
}

void TFMJog::SelectAxis(int clicked)
{
    THourglass wait;
    axis = clicked;
    RefreshAxes();
}

void TFMJog::RefreshAxes()
{
    const auto result = TFMAxisChoice::Settle(
        ctx, rbtnAxis, axis, [this](int n, QString &t) { return dm.ReadModelName(n, t); }, modelName);
    edtModel->setText(modelName);
    btnExec->setEnabled(result != TFMAxisChoice::NoAxis);
    if (result == TFMAxisChoice::NoAxis)
        TMessenger::Instance().Warning(TDMJog::NoAmplifierText(), TDMJog::FunctionName(type));
}

TFMRunBase *TFMJog::CreateRunWindow()
{
    switch (type) {
    case TDMJog::tyVelocityJog: return new TFMVJogRun(ctx, dm, axis, modelName, this);
    case TDMJog::tyPulseJog: return new TFMPJogRun(ctx, dm, axis, modelName, this);
    case TDMJog::tySystemAnalysis:
        return machine ? new TFMMeasurement(ctx, dm, *machine, axis, modelName, this) : nullptr;
    case TDMJog::tyNotchTuning: return new TFMANFTuning(ctx, dm, axis, modelName, this);
    case TDMJog::tyTuningResultSave: return new TFMATuningRSV(ctx, dm, axis, modelName, this);
    case TDMJog::tyFrequencyTuning: return new TFMAFTuning(ctx, dm, axis, modelName, this);
    }
    return nullptr;
}

void TFMJog::ExecuteFunction()
{
    if (axis < 1)
        return;
    const QString title = TDMJog::Title(type, axis, modelName);
    if (!TMessenger::Instance().AskOkCancel(TDMJog::ConfirmText(type), title))
        return;

    const int limit = type == TDMJog::tyTuningResultSave || type == TDMJog::tyFrequencyTuning ? BusyLimitShortMs
                                                                                              : BusyLimitLongMs;
    uint32_t reply = 0;
    {
        // One series: no click gets in between the repeated pre-checks.
        TBusy::TScope busy;
        QElapsedTimer since;
        since.start();
        for (;;) {
            if (!ctx.tran.TestRunStatus(axis, type, reply)) {
                RefreshAxes();
                return;
            }
            if (reply != 10)
                break;
            if (since.elapsed() > limit) {
                reply = 1;
                break;
            }
            QCoreApplication::processEvents();
        }
    }
    if (reply == 1) {
        TMessenger::Instance().Warning(TDMJog::NotReadyText(type), title);
        return;
    }
    if (reply == 2) {
        TMessenger::Instance().Warning(TDMJog::NotUsableText(type), title);
        return;
    }
    TFMRunBase *run = CreateRunWindow();
    if (!run)
        return;
    const int result = execRun(*run);
    delete run;
    if (result == TFMRunBase::Abort)
        RefreshAxes();
    else if (result == QDialog::Accepted)
        accept();
}
