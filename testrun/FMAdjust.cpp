#include "testrun/FMAdjust.h"

#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "app/FMAxisChoice.h"
#include "app/Hourglass.h"
#include "app/Messenger.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

TFMAdjust::TFMAdjust(int t, int startAxis, TAppContext &context, QWidget *owner)
    : QDialog(owner), type(t), axis(startAxis), ctx(context), dm(context), run(this)
{
    setObjectName(QStringLiteral("FMAdjust"));
    // The main window's wiring test tells the operations apart by it.
    setProperty("kind", type);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowTitle(TDMAdjust::Name(type));
    dm.SetProgress(&run);

    auto *top = new QVBoxLayout(this);
    auto *group = new QGroupBox(tr("サーボアンプ選択"), this);
    group->setObjectName(QStringLiteral("grpAmplifier"));
    auto *g = new QVBoxLayout(group);
    auto *axes = new QGridLayout;
    for (int n = 1; n <= 15; ++n) {
        auto *b = new QRadioButton(QStringLiteral("#%1").arg(QString::number(n, 16).toUpper()), group);
        b->setObjectName(QStringLiteral("rbtnAxis%1").arg(QString::number(n, 16).toUpper()));
        rbtnAxis[size_t(n - 1)] = b;
        axes->addWidget(b, (n - 1) / 8, (n - 1) % 8);
        connect(b, &QRadioButton::clicked, this, [this, n] { AxisClicked(n); });
    }
    g->addLayout(axes);
    auto *model = new QHBoxLayout;
    model->addWidget(new QLabel(tr("サーボアンプ型番 :"), group));
    edtModel = new QLineEdit(group);
    edtModel->setObjectName(QStringLiteral("edtModel"));
    edtModel->setReadOnly(true);
    model->addWidget(edtModel, 1);
    g->addLayout(model);
    top->addWidget(group);

    auto *buttons = new QHBoxLayout;
    btnExec = new QPushButton(tr("実行"), this);
    btnExec->setObjectName(QStringLiteral("btnExec"));
    btnClose = new QPushButton(tr("終了(&X)"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnExec->setAutoDefault(false);
    btnClose->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(btnExec);
    buttons->addWidget(btnClose);
    top->addLayout(buttons);

    connect(btnExec, &QPushButton::clicked, this, &TFMAdjust::ExecuteOperation);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    btnExec->setEnabled(false);
}

TFMAdjust::~TFMAdjust()
{
    run.Finish();
    dm.CloseTables();
}

void TFMAdjust::Execute(int type, int startAxis, TAppContext &context, QWidget *owner)
{
    TFMAdjust window(type, startAxis, context, owner);
    window.exec();
}

void TFMAdjust::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown)
        return;
    shown = true;
    dm.OpenTables();
    // After the window has painted, so that a warning shows over it.
    QTimer::singleShot(0, this, [this] { RefreshAxes(); });
}

void TFMAdjust::RefreshAxes()
{
    THourglass hourglass;
    QString name;
    const auto result = TFMAxisChoice::Settle(
        ctx, rbtnAxis, axis, [this](int n, QString &t) { return dm.ReadModelName(n, t); }, name);
    edtModel->setText(name);
    btnExec->setEnabled(result != TFMAxisChoice::NoAxis);
    if (result == TFMAxisChoice::NoAxis)
        TMessenger::Instance().Warning(tr("通信可能なサーボアンプが存在しません。"), TDMAdjust::Name(type));
}

void TFMAdjust::AxisClicked(int clicked)
{
    if (clicked == axis || busy)
        return;
    axis = clicked;
    RefreshAxes();
}

void TFMAdjust::ExecuteOperation()
{
    if (busy || axis < 1 || !btnExec->isEnabled())
        return;
    busy = true;
    outcome = dm.Execute(type, axis, edtModel->text());
    busy = false;
    if (outcome == TDMAdjust::TOutcome::CommFailure)
        RefreshAxes();
}
