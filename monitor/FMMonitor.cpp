#include "monitor/FMMonitor.h"

#include "app/AppContext.h"
#include "app/Busy.h"
#include "app/DMEnvironment.h"
#include "app/Hourglass.h"
#include "app/Messenger.h"
#include "monitor/FMMonitorGrid.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>
#include <utility>

namespace {

QStringList Titles()
{
    QStringList t;
    for (int c = 0; c < TDMMonitor::ColumnCount; ++c)
        t.append(TDMMonitor::ColumnTitle(TDMMonitor::TColumn(c)));
    return t;
}

} // namespace

TFMMonitor::TFMMonitor(TAppContext &context, QWidget *owner) : QDialog(owner), ctx(context), dm(context)
{
    setObjectName(QStringLiteral("FMMonitor"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    mnuMain = new QMenuBar(this);
    QMenu *file = mnuMain->addMenu(QString());
    file->setObjectName(QStringLiteral("mnuFile"));
    actExit = file->addAction(QString(), this, &QDialog::reject);
    actExit->setObjectName(QStringLiteral("actExit"));

    auto *top = new QVBoxLayout(this);
    top->setMenuBar(mnuMain);
    auto *axes = new QHBoxLayout;
    axes->setSpacing(1);
    grpAxes = new QButtonGroup(this);
    grpAxes->setExclusive(true);
    for (int n = 1; n <= 15; ++n) {
        auto *b = new QToolButton(this);
        b->setObjectName(QStringLiteral("sbtnAxis%1").arg(QString::number(n, 16).toUpper()));
        b->setText(QStringLiteral("#%1").arg(QString::number(n, 16).toUpper()));
        b->setCheckable(true);
        b->setMinimumWidth(34);
        sbtnAxis[size_t(n - 1)] = b;
        grpAxes->addButton(b, n);
        axes->addWidget(b);
    }
    axes->addStretch(1);
    top->addLayout(axes);
    connect(grpAxes, &QButtonGroup::idClicked, this, [this](int id) {
        if (id != axis)
            SelectAxis(id);
        else
            RefreshAxisButtons();
    });

    sgrdMonitor = new TFMMonitorGrid(Titles(), TDMMonitor::colNow, this);
    sgrdMonitor->SetCentred(TDMMonitor::colPage);
    top->addWidget(sgrdMonitor, 1);

    tmrAmpRead = new QTimer(this);
    tmrAmpRead->setObjectName(QStringLiteral("tmrAmpRead"));
    tmrAmpRead->setSingleShot(true);
    tmrAmpRead->setInterval(Interval);
    connect(tmrAmpRead, &QTimer::timeout, this, &TFMMonitor::Tick);

    Retranslate();
    resize(720, 560);
    dm.OpenTables();
}

TFMMonitor::~TFMMonitor()
{
    StopPolling();
    dm.CloseTables();
}

void TFMMonitor::Execute(TAppContext &context, QWidget *owner)
{
    std::unique_ptr<TFMMonitor> window;
    {
        THourglass wait;
        window = std::make_unique<TFMMonitor>(context, owner);
    }
    window->exec();
}

void TFMMonitor::Retranslate()
{
    setWindowTitle(tr("モニタ表示"));
    mnuMain->actions().value(0)->setText(tr("ファイル(&F)"));
    actExit->setText(tr("終了(&X)"));
    sgrdMonitor->setHorizontalHeaderLabels(Titles());
}

void TFMMonitor::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QDialog::changeEvent(event);
}

void TFMMonitor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown)
        return;
    shown = true;
    // Selecting the first axis talks to the amplifier: after the window is up.
    QTimer::singleShot(0, this, [this] { SelectAxis(1); });
}

void TFMMonitor::StopPolling()
{
    running = false;
    tmrAmpRead->stop();
}

void TFMMonitor::StartPolling()
{
    running = true;
    tmrAmpRead->start();
}

void TFMMonitor::done(int result)
{
    // Whatever closes the window stops the polling first; a tick that is
    // waiting for the line sees it and does not arm the timer again.
    StopPolling();
    closing = true;
    QDialog::done(result);
}

bool TFMMonitor::RefreshAxisButtons()
{
    for (int n = 1; n <= 15; ++n)
        sbtnAxis[size_t(n - 1)]->setEnabled(ctx.env.AxisInUse(n));
    if (axis < 1 || !ctx.env.AxisInUse(axis)) {
        // The main window's answer: none left takes the line offline.
        const int first = ctx.FirstAxisInUse();
        axis = first >= 1 ? first : -1;
    }
    if (axis < 0) {
        for (QToolButton *b : sbtnAxis)
            b->setEnabled(false);
        TMessenger::Instance().Warning(tr("通信可能なサーボアンプが存在しません。\r\nモニタ表示を終了します。"));
        return false;
    }
    sbtnAxis[size_t(axis - 1)]->setChecked(true);
    return true;
}

void TFMMonitor::SelectAxis(int wish)
{
    if (closing)
        return;
    THourglass wait;
    StopPolling();
    rebuild = true;
    axis = wish;
    if (!RefreshAxisButtons()) {
        reject();
        return;
    }
    dm.ReadDecimals(axis);
    if (!closing)
        StartPolling();
}

void TFMMonitor::Tick()
{
    tmrAmpRead->stop();
    if (!running)
        return;
    if (TBusy::Active()) {
        // Another series holds the line (the engine would refuse a nested
        // transaction): try again on the next tick.
        tmrAmpRead->start();
        return;
    }
    bool build = std::exchange(rebuild, false);
    QPointer<TFMMonitor> self(this);
    bool left = true;
    for (;;) {
        const int before = axis;
        if (!RefreshAxisButtons()) {
            left = false;
            break;
        }
        if (axis != before && before > 0) {
            // Moved by itself to another axis, maybe another model: its rows
            // and its scale are not those of the axis that failed.
            build = true;
            dm.ReadDecimals(axis);
            continue;
        }
        QApplication::processEvents();
        if (!self || closing)
            return;
        // The user picked another axis meanwhile: that selection's rebuild
        // belongs to this read.
        build = build || std::exchange(rebuild, false);
        if (!running)
            return;
        if (dm.ReadValues(axis, build)) {
            if (running)
                tmrAmpRead->start();
            break;
        }
        build = true;
    }
    if (!left) {
        reject();
        return;
    }
    UpdateGrid(build);
    emit Refreshed();
}

void TFMMonitor::UpdateGrid(bool build)
{
    const int rows = dm.RowCount();
    if (build) {
        sgrdMonitor->SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < TDMMonitor::ColumnCount; ++c)
                sgrdMonitor->SetCell(r, c, dm.CellText(r, TDMMonitor::TColumn(c)));
        sgrdMonitor->FitColumns();
        return;
    }
    for (int r : dm.ChangedRows())
        sgrdMonitor->SetCell(r, TDMMonitor::colNow, dm.CellText(r, TDMMonitor::colNow));
}
