#include "monitor/FMAlarm.h"

#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "app/Hourglass.h"
#include "app/Messenger.h"
#include "monitor/RPAlarm.h"
#include "params/FMParameterFileDialog.h"
#include "testrun/DMAdjust.h"
#include "testrun/FMAdjust.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int PollMs = 500;

QString Display(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A grid the user only reads: no selection, no editing, no focus.
QTableWidget *MakeGrid(QWidget *parent, const QString &name, int rows, const QList<int> &widths)
{
    auto *g = new QTableWidget(rows, int(widths.size()), parent);
    g->setObjectName(name);
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    g->setSelectionMode(QAbstractItemView::NoSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setFocusPolicy(Qt::NoFocus);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setWordWrap(true);
    const int line = g->fontMetrics().height() + 8;
    int width = 2 * g->frameWidth();
    for (int c = 0; c < widths.size(); ++c) {
        g->setColumnWidth(c, widths[c]);
        width += widths[c];
    }
    for (int r = 0; r < rows; ++r) {
        g->setRowHeight(r, line);
        for (int c = 0; c < widths.size(); ++c)
            g->setItem(r, c, new QTableWidgetItem);
    }
    g->horizontalHeader()->setStretchLastSection(true);
    g->setMinimumWidth(width);
    return g;
}

void FitHeight(QTableWidget *g)
{
    int height = 2 * g->frameWidth();
    for (int r = 0; r < g->rowCount(); ++r)
        height += g->rowHeight(r);
    g->setFixedHeight(height);
}

// The header row: centred, two lines high.
void SetHeader(QTableWidget *g)
{
    const QStringList headers = TDMAlarm::ColumnHeaders();
    for (int c = 0; c < headers.size() && c < g->columnCount(); ++c) {
        g->item(0, c)->setText(Display(headers[c]));
        g->item(0, c)->setTextAlignment(Qt::AlignCenter);
        g->item(0, c)->setBackground(g->palette().button());
    }
    g->setRowHeight(0, 2 * g->fontMetrics().height() + 10);
    FitHeight(g);
}

void SetRow(QTableWidget *g, int row, const QString &label, const TDMAlarm::TRow &texts)
{
    g->item(row, 0)->setText(label);
    g->item(row, 0)->setTextAlignment(Qt::AlignCenter);
    g->item(row, 0)->setBackground(g->palette().button());
    g->item(row, 1)->setText(texts.symbol);
    g->item(row, 2)->setText(texts.name);
    g->item(row, 3)->setText(texts.state);
}

} // namespace

TFMAlarm::TFMAlarm(TAppContext &context, QWidget *owner) : QDialog(owner), ctx(context), dm(context)
{
    setObjectName(QStringLiteral("FMAlarm"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto *top = new QVBoxLayout(this);
    auto *menus = new QMenuBar(this);
    top->setMenuBar(menus);

    actFileOpen = new QAction(tr("開く(&O)..."), this);
    actFileOpen->setObjectName(QStringLiteral("actFileOpen"));
    actFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    actFileOpen->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    actFileClose = new QAction(tr("閉じる(&C)"), this);
    actFileClose->setObjectName(QStringLiteral("actFileClose"));
    actExit = new QAction(tr("終了(&X)"), this);
    actExit->setObjectName(QStringLiteral("actExit"));
    actAlarmReset = new QAction(tr("アラームリセット(&R)..."), this);
    actAlarmReset->setObjectName(QStringLiteral("actAlarmReset"));
    actAlarmClear = new QAction(tr("アラームトレースクリア(&C)..."), this);
    actAlarmClear->setObjectName(QStringLiteral("actAlarmClear"));
    actPrint = new QAction(tr("印刷(&P)"), this);
    actPrint->setObjectName(QStringLiteral("actPrint"));
    actPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    actPrint->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    actPrintPreview = new QAction(tr("印刷プレビュー(&V)..."), this);
    actPrintPreview->setObjectName(QStringLiteral("actPrintPreview"));
    actPrintPreview->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));

    QMenu *file = menus->addMenu(tr("ファイル(&F)"));
    file->addAction(actFileOpen);
    file->addAction(actFileClose);
    file->addSeparator();
    file->addAction(actExit);
    QMenu *amp = menus->addMenu(tr("アンプ(&A)"));
    amp->addAction(actAlarmReset);
    amp->addAction(actAlarmClear);
    QMenu *print = menus->addMenu(tr("印刷(&P)"));
    print->addAction(actPrint);
    print->addAction(actPrintPreview);
    for (QAction *a : {actFileOpen, actFileClose, actExit, actAlarmReset, actAlarmClear, actPrint, actPrintPreview})
        addAction(a);

    auto *tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("tbrMain"));
    tools->addAction(actFileOpen);
    tools->addSeparator();
    tools->addAction(actPrint);
    tools->addAction(actPrintPreview);
    top->addWidget(tools);

    auto *sourceRow = new QHBoxLayout;
    sources = new QButtonGroup(this);
    sources->setExclusive(true);
    auto makeButton = [&](const QString &text, const QString &name, int tag) {
        auto *b = new QToolButton(this);
        b->setText(text);
        b->setObjectName(name);
        b->setCheckable(true);
        b->setAutoRaise(false);
        b->setMinimumWidth(34);
        sources->addButton(b, tag);
        sourceRow->addWidget(b);
        return b;
    };
    sbtnFile = makeButton(tr("File"), QStringLiteral("sbtnFile"), 0);
    sbtnFile->setMinimumWidth(48);
    for (int n = 1; n <= 15; ++n) {
        const QString digit = QString::number(n, 16).toUpper();
        sbtnAxis[size_t(n - 1)] = makeButton(QStringLiteral("#") + digit, QStringLiteral("sbtnAxis") + digit, n);
    }
    sourceRow->addStretch(1);
    top->addLayout(sourceRow);
    connect(sources, &QButtonGroup::idClicked, this, [this](int tag) { ChooseSource(tag); });

    const int label = fontMetrics().horizontalAdvance(QStringLiteral("Last7")) + 24;
    const int symbol = fontMetrics().horizontalAdvance(QStringLiteral("アラーム発生時の")) + 16;
    const int name = fontMetrics().horizontalAdvance(QStringLiteral("アラーム内容アラーム内容アラーム")) + 16;
    const QList<int> columns{label, symbol, name, symbol};

    sgrdVersion = MakeGrid(this, QStringLiteral("sgrdVersion"), 1, {label + symbol, name + symbol});
    sgrdVersion->item(0, 0)->setText(TDMAlarm::VersionCaption());
    sgrdVersion->item(0, 0)->setBackground(palette().button());
    sgrdVersion->setColumnWidth(0, fontMetrics().horizontalAdvance(TDMAlarm::VersionCaption()) + 24);
    FitHeight(sgrdVersion);
    top->addWidget(sgrdVersion);

    auto *nowGroup = new QGroupBox(TDMAlarm::NowCaption(), this);
    nowGroup->setObjectName(QStringLiteral("grpNow"));
    auto *ng = new QVBoxLayout(nowGroup);
    sgrdNow = MakeGrid(nowGroup, QStringLiteral("sgrdNow"), 2, columns);
    SetHeader(sgrdNow);
    ng->addWidget(sgrdNow);
    sgrdTimeTemp = MakeGrid(nowGroup, QStringLiteral("sgrdTimeTemp"), 1, {label + symbol, name + symbol});
    sgrdTimeTemp->item(0, 0)->setText(TDMAlarm::ElapsedCaption());
    sgrdTimeTemp->item(0, 0)->setTextAlignment(Qt::AlignCenter);
    sgrdTimeTemp->item(0, 0)->setBackground(palette().button());
    FitHeight(sgrdTimeTemp);
    ng->addWidget(sgrdTimeTemp);
    top->addWidget(nowGroup);

    auto *historyGroup = new QGroupBox(TDMAlarm::HistoryCaption(), this);
    historyGroup->setObjectName(QStringLiteral("grpHistory"));
    auto *hg = new QVBoxLayout(historyGroup);
    sgrdHistory = MakeGrid(historyGroup, QStringLiteral("sgrdHistory"), 1 + TDMAlarm::Shown, columns);
    SetHeader(sgrdHistory);
    hg->addWidget(sgrdHistory);
    top->addWidget(historyGroup);
    top->addStretch(1);

    tmrAmpRead.setObjectName(QStringLiteral("tmrAmpRead"));
    tmrAmpRead.setInterval(PollMs);
    tmrAmpRead.setSingleShot(true);
    connect(&tmrAmpRead, &QTimer::timeout, this, &TFMAlarm::Tick);

    connect(actFileOpen, &QAction::triggered, this, &TFMAlarm::FileOpen);
    connect(actFileClose, &QAction::triggered, this, &TFMAlarm::CloseFile);
    connect(actExit, &QAction::triggered, this, &QDialog::reject);
    connect(actAlarmReset, &QAction::triggered, this, &TFMAlarm::AlarmReset);
    connect(actAlarmClear, &QAction::triggered, this, &TFMAlarm::AlarmClear);
    connect(actPrint, &QAction::triggered, this, &TFMAlarm::Print);
    connect(actPrintPreview, &QAction::triggered, this, &TFMAlarm::PrintPreview);

    AskOpenName = [this] { return TFMParameterFileDialog::AskOpenName(this, fileName); };
    RunOperation = [this](int type) { TFMAdjust::Execute(type, 1, ctx, this); };
    ShowReport = [](TRPAlarm &report, bool preview) {
        if (preview)
            report.Preview();
        else
            report.Print();
    };

    {
        THourglass hourglass;
        dm.OpenTables();
    }
    source = ctx.Online() ? 1 : -1;
    SetActions();
    SetCaption();
}

TFMAlarm::~TFMAlarm()
{
    StopPolling();
    dm.CloseTables();
}

void TFMAlarm::Execute(TAppContext &context, QWidget *owner)
{
    TFMAlarm window(context, owner);
    window.exec();
}

void TFMAlarm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown)
        return;
    shown = true;
    // Choosing an axis only arms the timer, so this is quick; the grids are
    // filled by the first tick.
    SelectSource();
}

void TFMAlarm::done(int result)
{
    StopPolling();
    QDialog::done(result);
}

void TFMAlarm::StopPolling()
{
    running = false;
    tmrAmpRead.stop();
}

void TFMAlarm::StartPolling()
{
    running = true;
    tmrAmpRead.start();
}

void TFMAlarm::ChooseSource(int newSource)
{
    if (newSource == 0 && fileName.isEmpty())
        newSource = -1;
    if (newSource == source) {
        RefreshButtons();
        return;
    }
    source = newSource;
    SelectSource();
}

void TFMAlarm::RefreshButtons()
{
    for (int n = 1; n <= 15; ++n)
        sbtnAxis[size_t(n - 1)]->setEnabled(ctx.env.AxisInUse(n));
    if (source >= 1 && !ctx.env.AxisInUse(source)) {
        source = ctx.FirstAxisInUse();
        if (source < 1) {
            source = fileName.isEmpty() ? -1 : 0;
            TMessenger::Instance().Warning(tr("通信可能なサーボアンプが存在しません。"));
        }
    }
    QAbstractButton *pressed = source >= 1 ? sbtnAxis[size_t(source - 1)] : sbtnFile;
    pressed->setChecked(true);
}

void TFMAlarm::SelectSource()
{
    StopPolling();
    RefreshButtons();
    if (source >= 1) {
        StartPolling();
    } else {
        ReadFileView();
    }
    SetActions();
    SetCaption();
    FillGrids();
}

void TFMAlarm::ReadFileView()
{
    if (!dm.ReadFile(source == 0 ? fileName : QString())) {
        fileName.clear();
        source = -1;
        dm.Clear();
        RefreshButtons();
    }
}

void TFMAlarm::Tick()
{
    tmrAmpRead.stop();
    if (!running)
        return;
    RefreshButtons();
    while (source >= 1) {
        QCoreApplication::processEvents();
        if (!running)
            return; // closed or paused meanwhile
        if (dm.ReadAmp(source)) {
            tmrAmpRead.start();
            break;
        }
        // The failed axis is out of use now: the next one, or the file view.
        RefreshButtons();
    }
    if (source < 1) {
        running = false;
        ReadFileView();
    }
    SetActions();
    SetCaption();
    FillGrids();
}

void TFMAlarm::SetActions()
{
    const bool axis = source >= 1;
    actFileOpen->setEnabled(!axis);
    actFileClose->setEnabled(!axis);
    actAlarmReset->setEnabled(axis);
    actAlarmClear->setEnabled(axis);
    const bool printable = axis || !fileName.isEmpty();
    actPrint->setEnabled(printable);
    actPrintPreview->setEnabled(printable);
    for (QTableWidget *g : {sgrdNow, sgrdTimeTemp}) {
        g->setEnabled(axis);
        QPalette pal = g->palette();
        pal.setBrush(QPalette::Base, axis ? palette().base() : palette().button());
        g->setPalette(pal);
    }
}

void TFMAlarm::SetCaption()
{
    if (source >= 1)
        setWindowTitle(tr("アラーム履歴表示"));
    else
        setWindowTitle(tr("アラーム履歴表示 - [%1]").arg(fileName.isEmpty() ? tr("無題") : QFileInfo(fileName).fileName()));
}

void TFMAlarm::FillGrids()
{
    sgrdVersion->item(0, 1)->setText(dm.version);
    SetRow(sgrdNow, 1, QStringLiteral("Now"), dm.now);
    sgrdTimeTemp->item(0, 1)->setText(dm.elapsed);
    for (int k = 0; k < TDMAlarm::Shown; ++k)
        SetRow(sgrdHistory, k + 1, TDMAlarm::HistoryLabel(k), dm.history[size_t(k)]);
}

void TFMAlarm::FileOpen()
{
    const QString name = AskOpenName();
    if (!name.isEmpty())
        OpenFile(name);
}

void TFMAlarm::OpenFile(const QString &name)
{
    if (name.isEmpty())
        return;
    fileName = name;
    source = 0;
    SelectSource();
}

void TFMAlarm::CloseFile()
{
    fileName.clear();
    source = -1;
    SelectSource();
}

void TFMAlarm::Operation(int type)
{
    if (source < 1)
        return;
    StopPolling();
    RunOperation(type);
    StartPolling();
}

void TFMAlarm::AlarmReset()
{
    Operation(TDMAdjust::atAlarmReset);
}

void TFMAlarm::AlarmClear()
{
    Operation(TDMAdjust::atAlarmTraceClear);
}

void TFMAlarm::Print()
{
    PrintOrPreview(false);
}

void TFMAlarm::PrintPreview()
{
    PrintOrPreview(true);
}

void TFMAlarm::PrintOrPreview(bool preview)
{
    if (!actPrint->isEnabled() || !TRPCustom::PrinterInstalled())
        return;
    const bool wasRunning = running;
    StopPolling();
    if (source >= 1) {
        THourglass hourglass;
        if (!dm.ReadModelTexts(source)) {
            SelectSource();
            return;
        }
    }
    {
        TRPAlarm report(this);
        report.SetContent(dm, source < 1);
        ShowReport(report, preview);
    }
    if (wasRunning && source >= 1)
        StartPolling();
}
