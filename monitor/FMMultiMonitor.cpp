#include "monitor/FMMultiMonitor.h"

#include "app/AppContext.h"
#include "app/Busy.h"
#include "app/DMEnvironment.h"
#include "app/Hourglass.h"
#include "monitor/FMMonitorGrid.h"
#include "monitor/FMMultiMonitorSet.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace {

QStringList Titles(bool japanese)
{
    QStringList t;
    for (int c = 0; c < TDMMultiMonitor::ColumnCount; ++c)
        t.append(TDMMultiMonitor::ColumnTitle(TDMMultiMonitor::TColumn(c), japanese));
    return t;
}

} // namespace

TFMMultiMonitor::TFMMultiMonitor(TAppContext &context, QWidget *owner) : QDialog(owner), ctx(context), dm(context)
{
    setObjectName(QStringLiteral("FMMultiMonitor"));

    mnuMain = new QMenuBar(this);
    QMenu *file = mnuMain->addMenu(QString());
    actExit = file->addAction(QString(), this, &QDialog::reject);
    actExit->setObjectName(QStringLiteral("actExit"));

    auto *top = new QVBoxLayout(this);
    top->setMenuBar(mnuMain);
    auto *buttons = new QHBoxLayout;
    btnSetting = new QPushButton(this);
    btnSetting->setObjectName(QStringLiteral("btnSetting"));
    btnSetting->setAutoDefault(false);
    connect(btnSetting, &QPushButton::clicked, this, &TFMMultiMonitor::OpenSettings);
    buttons->addWidget(btnSetting);
    buttons->addStretch(1);
    top->addLayout(buttons);

    sgrdMonitor = new TFMMonitorGrid(Titles(ctx.env.Japanese), TDMMultiMonitor::colNow, this);
    sgrdMonitor->SetCentred(TDMMultiMonitor::colAxis);
    sgrdMonitor->SetCentred(TDMMultiMonitor::colPage);
    sgrdMonitor->SetRowCount(TDMMultiMonitor::SlotCount);
    for (int s = 0; s < TDMMultiMonitor::SlotCount; ++s)
        sgrdMonitor->SetCell(s, TDMMultiMonitor::colNo, dm.CellText(s, TDMMultiMonitor::colNo));
    top->addWidget(sgrdMonitor, 1);

    tmrAmpRead = new QTimer(this);
    tmrAmpRead->setObjectName(QStringLiteral("tmrAmpRead"));
    tmrAmpRead->setSingleShot(true);
    tmrAmpRead->setInterval(Interval);
    connect(tmrAmpRead, &QTimer::timeout, this, &TFMMultiMonitor::Tick);

    RunSettings = [this] {
        TFMMultiMonitorSet set(ctx, dm.tables, this);
        set.exec();
    };

    Retranslate();
    resize(760, 600);
    dm.OpenTables();
}

TFMMultiMonitor::~TFMMultiMonitor()
{
    running = false;
    tmrAmpRead->stop();
    dm.CloseTables();
}

void TFMMultiMonitor::Execute(TAppContext &context, QWidget *owner)
{
    std::unique_ptr<TFMMultiMonitor> window;
    {
        THourglass wait;
        window = std::make_unique<TFMMultiMonitor>(context, owner);
    }
    window->exec();
}

void TFMMultiMonitor::Retranslate()
{
    setWindowTitle(tr("マルチモニタ表示"));
    mnuMain->actions().value(0)->setText(tr("ファイル(&F)"));
    actExit->setText(tr("終了(&X)"));
    btnSetting->setText(tr("表示設定(&S)..."));
    sgrdMonitor->setHorizontalHeaderLabels(Titles(ctx.env.Japanese));
}

void TFMMultiMonitor::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void TFMMultiMonitor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown)
        return;
    shown = true;
    QTimer::singleShot(0, this, [this] { Resume(); });
}

void TFMMultiMonitor::done(int result)
{
    running = false;
    tmrAmpRead->stop();
    closing = true;
    QDialog::done(result);
}

void TFMMultiMonitor::AdvanceAndClear()
{
    QList<int> cleared;
    current = dm.Advance(current, &cleared);
    for (int s : cleared)
        UpdateRow(s);
}

void TFMMultiMonitor::ReadCurrent()
{
    if (dm.Displayable(current))
        dm.ReadSlot(current);
    UpdateRow(current);
}

void TFMMultiMonitor::Resume()
{
    if (closing)
        return;
    AdvanceAndClear();
    dm.ReadDecimals();
    if (closing)
        return;
    ReadCurrent();
    current = (current + 1) % TDMMultiMonitor::SlotCount;
    running = !closing;
    if (running)
        tmrAmpRead->start();
}

void TFMMultiMonitor::Tick()
{
    tmrAmpRead->stop();
    if (!running)
        return;
    if (TBusy::Active()) {
        // Another series holds the line: try again on the next tick.
        tmrAmpRead->start();
        return;
    }
    QPointer<TFMMultiMonitor> self(this);
    AdvanceAndClear();
    ReadCurrent();
    if (!self || closing)
        return;
    current = (current + 1) % TDMMultiMonitor::SlotCount;
    if (running)
        tmrAmpRead->start();
}

void TFMMultiMonitor::OpenSettings()
{
    running = false;
    tmrAmpRead->stop();
    QPointer<TFMMultiMonitor> self(this);
    if (RunSettings)
        RunSettings();
    if (self)
        Resume();
}

void TFMMultiMonitor::UpdateRow(int slot)
{
    bool named = false;
    for (int c = TDMMultiMonitor::colAxis; c < TDMMultiMonitor::ColumnCount; ++c)
        if (sgrdMonitor->SetCell(slot, c, dm.CellText(slot, TDMMultiMonitor::TColumn(c))) && c == TDMMultiMonitor::colName)
            named = true;
    if (named)
        sgrdMonitor->FitColumns();
}
