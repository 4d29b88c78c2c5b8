#include "params/FMParameterWindow.h"

#include "app/DMEnvironment.h"
#include "app/FMEnvironment.h"
#include "app/Hourglass.h"
#include "app/Messenger.h"
#include "params/DMParameterBase.h"
#include "params/DMUserParameterEdit.h"
#include "params/FMLoadSave.h"
#include "params/FMParameterFileDialog.h"
#include "params/FMUserParameterEdit.h"
#include "params/DMVerify.h"
#include "params/FMVerify.h"
#include "params/RPUserParameter.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The hint of an action: its caption without the accelerator and the dots.
QString HintOf(QString caption)
{
    const qsizetype amp = caption.indexOf(QStringLiteral("(&"));
    if (amp >= 0) {
        const qsizetype close = caption.indexOf(u')', amp);
        if (close > amp)
            caption.remove(amp, close - amp + 1);
    }
    caption.remove(u'&');
    while (caption.endsWith(u'.'))
        caption.chop(1);
    return caption.trimmed();
}

constexpr int FileSourceId = 0;

} // namespace

TFMParameterWindow::TFMParameterWindow(TAppContext &context, std::unique_ptr<TDMParameterBase> module,
                                       const QString &objectName, const QString &caption, bool confirmWrites,
                                       QWidget *owner)
    : QDialog(owner), ctx(context), dm(std::move(module)), progress(this), captionName(caption),
      confirm(confirmWrites)
{
    setObjectName(objectName);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    source = ctx.Online() ? 1 : -1;
    dm->SetProgress(&progress);
    dm->RunEditDialog = [this](TDMUserParameterEdit &m) { return TFMUserParameterEdit::Execute(m, this); };
    dm->RunLevelDialog = [this] { return TFMEnvironment::Execute(ctx.env, this); };
    dm->RunTransfer = [this](TDMParameterBase::TTransfer kind, int axis) {
        TFMLoadSave::Execute(kind == TDMParameterBase::TTransfer::AmpToFile ? TFMLoadSave::TDirection::AmpToFile
                                                                           : TFMLoadSave::TDirection::FileToAmp,
                             axis, ctx, this);
    };
    AskOpenName = [this](const QString &current) { return TFMParameterFileDialog::AskOpenName(this, current); };
    AskSaveName = [this](const QString &current) { return TFMParameterFileDialog::AskSaveName(this, current); };

    BuildMenus();
    BuildFrame();
    UpdateCaption();
    UpdateActions();
}

TFMParameterWindow::~TFMParameterWindow()
{
    dm->CloseTables();
}

QAction *TFMParameterWindow::MakeAction(const char *name, const QString &caption, const QKeySequence &key,
                                      const QIcon &icon)
{
    auto *a = new QAction(icon, caption, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    a->setStatusTip(HintOf(caption));
    a->setToolTip(HintOf(caption));
    addAction(a);
    return a;
}

void TFMParameterWindow::BuildMenus()
{
    QStyle *s = style();
    actFileNew = MakeAction("actFileNew", tr("新規作成(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N));
    actFileNew->setVisible(false);
    actFileOpen = MakeAction("actFileOpen", tr("開く(&O)..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                             s->standardIcon(QStyle::SP_DialogOpenButton));
    actFileClose = MakeAction("actFileClose", tr("閉じる(&C)"));
    actFileSave = MakeAction("actFileSave", tr("上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S),
                             s->standardIcon(QStyle::SP_DialogSaveButton));
    actFileSaveAs = MakeAction("actFileSaveAs", tr("名前を付けて保存(&A)..."));
    actExit = MakeAction("actExit", tr("終了(&X)"));
    actAmplifierRead = MakeAction("actAmplifierRead", tr("アンプから読み出し(&R)"), QKeySequence(),
                                  s->standardIcon(QStyle::SP_ArrowDown));
    actAmplifierWrite = MakeAction("actAmplifierWrite", tr("アンプに書き込み(&W)"), QKeySequence(),
                                   s->standardIcon(QStyle::SP_ArrowUp));
    actAmplifierCheck = MakeAction("actAmplifierCheck", tr("通信状態の確認(&C)..."), QKeySequence(),
                                   s->standardIcon(QStyle::SP_BrowserReload));
    actDiskSave = MakeAction("actDiskSave", tr("パラメータの転送 [アンプ->ファイル](&F)..."), QKeySequence(),
                             s->standardIcon(QStyle::SP_DriveHDIcon));
    actDiskLoad = MakeAction("actDiskLoad", tr("パラメータの転送 [ファイル->アンプ](&A)..."), QKeySequence(),
                             s->standardIcon(QStyle::SP_ComputerIcon));
    actDiskVerify = MakeAction("actDiskVerify", tr("パラメータの照合(&M)..."));
    actPrint = MakeAction("actPrint", tr("印刷(&P)"), QKeySequence(Qt::CTRL | Qt::Key_P));
    actPrintPreview = MakeAction("actPrintPreview", tr("印刷プレビュー(&V)..."));
    actPrinterSetup = MakeAction("actPrinterSetup", tr("プリンタの設定(&S)..."));
    actPrinterSetup->setVisible(false);

    connect(actFileOpen, &QAction::triggered, this, &TFMParameterWindow::FileOpen);
    connect(actFileClose, &QAction::triggered, this, &TFMParameterWindow::FileClose);
    connect(actFileSave, &QAction::triggered, this, &TFMParameterWindow::FileSave);
    connect(actFileSaveAs, &QAction::triggered, this, &TFMParameterWindow::FileSaveAs);
    connect(actExit, &QAction::triggered, this, &QDialog::close);
    connect(actAmplifierRead, &QAction::triggered, this, &TFMParameterWindow::AmplifierRead);
    connect(actAmplifierWrite, &QAction::triggered, this, &TFMParameterWindow::AmplifierWrite);
    connect(actAmplifierCheck, &QAction::triggered, this, &TFMParameterWindow::AmplifierCheck);
    connect(actDiskSave, &QAction::triggered, this, &TFMParameterWindow::DiskSave);
    connect(actDiskLoad, &QAction::triggered, this, &TFMParameterWindow::DiskLoad);
    connect(actDiskVerify, &QAction::triggered, this, &TFMParameterWindow::DiskVerify);
    connect(actPrint, &QAction::triggered, this, [this] { PrintReport(rkPrint); });
    connect(actPrintPreview, &QAction::triggered, this, [this] { PrintReport(rkPreview); });
    connect(actPrinterSetup, &QAction::triggered, this, [this] { PrintReport(rkPrinterSetup); });

    mnuMain = new QMenuBar(this);
    QMenu *file = mnuMain->addMenu(tr("ファイル(&F)"));
    file->addAction(actFileNew);
    file->addAction(actFileOpen);
    file->addAction(actFileClose);
    file->addSeparator();
    file->addAction(actFileSave);
    file->addAction(actFileSaveAs);
    file->addSeparator();
    file->addAction(actExit);
    QMenu *amp = mnuMain->addMenu(tr("アンプ(&A)"));
    amp->addAction(actAmplifierRead);
    amp->addAction(actAmplifierWrite);
    amp->addSeparator();
    amp->addAction(actAmplifierCheck);
    QMenu *disk = mnuMain->addMenu(tr("ディスク(&D)"));
    disk->addAction(actDiskSave);
    disk->addAction(actDiskLoad);
    disk->addSeparator();
    disk->addAction(actDiskVerify);
    QMenu *print = mnuMain->addMenu(tr("印刷(&P)"));
    print->addAction(actPrint);
    print->addAction(actPrintPreview);
    print->addAction(actPrinterSetup);

    tbMain = new QToolBar(this);
    tbMain->setObjectName(QStringLiteral("tbMain"));
    tbMain->setIconSize(QSize(20, 20));
    tbMain->addAction(actFileOpen);
    tbMain->addAction(actFileSave);
    tbMain->addSeparator();
    tbMain->addAction(actAmplifierRead);
    tbMain->addAction(actAmplifierWrite);
    tbMain->addAction(actAmplifierCheck);
    tbMain->addSeparator();
    tbMain->addAction(actDiskSave);
    tbMain->addAction(actDiskLoad);
}

void TFMParameterWindow::BuildFrame()
{
    auto *top = new QVBoxLayout(this);
    top->setMenuBar(mnuMain);
    top->addWidget(tbMain);

    headRow = new QHBoxLayout;
    auto *sources = new QWidget(this);
    auto *sl = new QHBoxLayout(sources);
    sl->setContentsMargins(0, 0, 0, 0);
    sl->setSpacing(1);
    grpSources = new QButtonGroup(this);
    grpSources->setExclusive(true);
    for (int n = 1; n <= 15; ++n) {
        auto *b = new QToolButton(sources);
        b->setObjectName(QStringLiteral("sbtnAxis%1").arg(n));
        b->setText(QStringLiteral("#%1").arg(QString::number(n, 16).toUpper()));
        b->setCheckable(true);
        b->setMinimumWidth(34);
        sbtnAxis[size_t(n - 1)] = b;
        grpSources->addButton(b, n);
        sl->addWidget(b);
    }
    sbtnFile = new QToolButton(sources);
    sbtnFile->setObjectName(QStringLiteral("sbtnFile"));
    sbtnFile->setText(QStringLiteral("File"));
    sbtnFile->setCheckable(true);
    sbtnFile->setMinimumWidth(44);
    grpSources->addButton(sbtnFile, FileSourceId);
    sl->addWidget(sbtnFile);
    connect(grpSources, &QButtonGroup::idClicked, this, [this](int id) {
        ClickSource(id == FileSourceId ? (fileName.isEmpty() ? -1 : 0) : id);
    });
    headRow->addWidget(sources);
    headRow->addStretch(1);
    top->addLayout(headRow);

    body = new QVBoxLayout;
    top->addLayout(body, 1);

    stbMain = new QStatusBar(this);
    stbMain->setObjectName(QStringLiteral("stbMain"));
    stbMain->setSizeGripEnabled(false);
    top->addWidget(stbMain);
}

QTableView *TFMParameterWindow::MakeGrid(QWidget *parent, const char *name, QAbstractItemModel *model,
                                         bool selectable)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setModel(model);
    if (selectable) {
        grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
    } else {
        // The cells are shown, not chosen.
        grid->setSelectionMode(QAbstractItemView::NoSelection);
        grid->setFocusPolicy(Qt::NoFocus);
    }
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

void TFMParameterWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (opened)
        return;
    opened = true;
    {
        THourglass hourglass;
        dm->OpenTables();
        TablesOpened();
    }
    // The first reading once the window shows.
    QTimer::singleShot(0, this, [this] { Refresh(); });
}

void TFMParameterWindow::closeEvent(QCloseEvent *event)
{
    if (!AskUnsaved()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFMParameterWindow::keyPressEvent(QKeyEvent *event)
{
    // Esc closes through the same question as the close button.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFMParameterWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) && parentWidget()) {
        // A modal window minimised alone would leave a blocked main window.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        parentWidget()->window()->showMinimized();
    }
}

void TFMParameterWindow::UpdateAxisButtons()
{
    for (int n = 1; n <= 15; ++n)
        sbtnAxis[size_t(n - 1)]->setEnabled(ctx.env.AxisInUse(n));
}

void TFMParameterWindow::PressSourceButton()
{
    QAbstractButton *b = source >= 1 ? sbtnAxis[size_t(source - 1)] : sbtnFile;
    b->setChecked(true);
}

void TFMParameterWindow::Refresh()
{
    if (dm->HasChanges()) {
        // Reading the source again would drop the inputs. An axis that went
        // out of use (a cable pull) cannot take them: keep them on screen,
        // and let the unsaved-changes question decide when the user leaves.
        if (source >= 1 && !ctx.env.AxisInUse(source)) {
            UpdateAxisButtons();
            UpdateActions();
            TMessenger::Instance().Warning(
                tr("サーボアンプと通信できません。\r\n入力値はサーボアンプに書き込まれていません。"));
            return;
        }
        if (!AskUnsaved())
            return;
    }
    THourglass hourglass;
    for (;;) {
        UpdateAxisButtons();
        bool noAxis = false;
        if (source >= 1 && !ctx.env.AxisInUse(source)) {
            const int next = ctx.FirstAxisInUse();
            if (next >= 1) {
                source = next;
            } else {
                source = 0;
                noAxis = true;
            }
        }
        UpdateAxisButtons();
        PressSourceButton();
        if (noAxis)
            TMessenger::Instance().Warning(tr("通信可能なサーボアンプが存在しません。"));
        if (!dm->ReadModelTexts(source) || (source >= 1 && !dm->ReadFromAmplifier(source))) {
            // The transaction layer has taken the axis out of use; make
            // sure of it, so that the next round moves on.
            if (source >= 1 && ctx.env.AxisInUse(source))
                ctx.env.SetAmpCode(source, -1);
            continue;
        }
        if (source <= 0 && !dm->LoadFromFile(fileName)) {
            fileName.clear();
            source = -1;
            PressSourceButton();
        }
        break;
    }
    UpdateActions();
    ShowSource();
    UpdateCaption();
}

void TFMParameterWindow::UpdateActions()
{
    const bool online = source >= 1;
    const bool inUse = online && ctx.env.AxisInUse(source);
    actFileOpen->setEnabled(!online);
    actFileClose->setEnabled(!online);
    actFileSave->setEnabled(!online && !fileName.isEmpty());
    actFileSaveAs->setEnabled(!online && !fileName.isEmpty());
    actAmplifierRead->setEnabled(inUse);
    actAmplifierWrite->setEnabled(inUse);
    actAmplifierCheck->setEnabled(ctx.Online() && ctx.checkCommunication);
    actDiskSave->setEnabled(inUse);
    actDiskLoad->setEnabled(inUse);
    actDiskVerify->setEnabled(inUse);
    const bool printable = inUse || !fileName.isEmpty();
    actPrint->setEnabled(printable);
    actPrintPreview->setEnabled(printable);
    actPrinterSetup->setEnabled(printable);
}

void TFMParameterWindow::UpdateCaption()
{
    if (source >= 1)
        setWindowTitle(captionName);
    else
        setWindowTitle(tr("%1 - [%2]").arg(captionName, fileName.isEmpty() ? tr("無題") : fileName));
}

bool TFMParameterWindow::AskUnsaved()
{
    if (!dm->HasChanges())
        return true;
    const bool fileMode = source <= 0;
    const QString text = fileMode ? tr("パラメータが変更されています。\r\n変更をファイルに保存しますか?")
                                  : tr("パラメータが変更されています。\r\n変更をサーボアンプに書き込みますか?");
    switch (TMessenger::Instance().Show(TMsgKind::Question, text, TMsgButtons::YesNoCancel)) {
    case TMsgAnswer::Yes:
        // Cancelling the confirmation of the save or write stops the action.
        // A failed or cancelled save keeps the window where it is.
        return fileMode ? SaveFile() : WriteAmplifier();
    case TMsgAnswer::No:
        dm->ClearInputs();
        ValuesChanged();
        return true;
    default:
        return false;
    }
}

void TFMParameterWindow::ClickSource(int clicked)
{
    if (clicked == source) {
        PressSourceButton();
        return;
    }
    // The previous button stays pressed until the question lets go.
    PressSourceButton();
    if (!AskUnsaved())
        return;
    source = clicked;
    PressSourceButton();
    Refresh();
}

void TFMParameterWindow::FileOpen()
{
    if (source >= 1 || !AskUnsaved())
        return;
    const QString name = AskOpenName(fileName);
    if (name.isEmpty())
        return;
    fileName = name;
    source = 0;
    Refresh();
}

void TFMParameterWindow::FileClose()
{
    if (source >= 1)
        return;
    if (!fileName.isEmpty() && !AskUnsaved())
        return;
    fileName.clear();
    source = -1;
    Refresh();
}

void TFMParameterWindow::FileSave()
{
    SaveFile();
}

bool TFMParameterWindow::SaveFile()
{
    if (fileName.isEmpty())
        return SaveAs();
    const QFileInfo info(fileName);
    if (!info.exists() || !info.isWritable())
        return SaveAs();
    if (confirm && !TMessenger::Instance().AskOkCancel(tr("パラメータをファイルに保存します。\r\nよろしいですか?")))
        return false;
    THourglass hourglass;
    const bool ok = dm->SaveToFile(fileName);
    ValuesChanged();
    return ok;
}

void TFMParameterWindow::FileSaveAs()
{
    SaveAs();
}

bool TFMParameterWindow::SaveAs()
{
    const QString name = AskSaveName(fileName);
    if (name.isEmpty())
        return false;
    THourglass hourglass;
    const bool ok = dm->SaveToFile(name);
    ValuesChanged();
    if (ok) {
        fileName = name;
        UpdateCaption();
        UpdateActions();
    }
    return ok;
}

void TFMParameterWindow::AmplifierRead()
{
    if (source < 1 || !AskUnsaved())
        return;
    Refresh();
}

void TFMParameterWindow::AmplifierWrite()
{
    if (!WriteAmplifier() && source >= 1 && !ctx.env.AxisInUse(source))
        Refresh();
}

bool TFMParameterWindow::WriteAmplifier()
{
    if (source < 1 || !dm->HasChanges())
        return true;
    if (!ctx.env.AxisInUse(source)) {
        TMessenger::Instance().Warning(tr("サーボアンプと通信できません。\r\n入力値はサーボアンプに書き込まれていません。"));
        return false;
    }
    if (confirm && !TMessenger::Instance().AskOkCancel(tr("パラメータをサーボアンプに書き込みます。\r\nよろしいですか?")))
        return false;
    bool ok;
    {
        THourglass hourglass;
        ok = dm->WriteToAmplifier(source);
    }
    ValuesChanged();
    if (!ok) {
        // The transaction layer has taken the axis out of use; make sure of
        // it, so that the inputs are not offered to it again.
        if (ctx.env.AxisInUse(source))
            ctx.env.SetAmpCode(source, -1);
        UpdateAxisButtons();
        UpdateActions();
    }
    return ok;
}

void TFMParameterWindow::AmplifierCheck()
{
    if (!ctx.checkCommunication)
        return;
    ctx.checkCommunication();
    Refresh();
}

void TFMParameterWindow::DiskSave()
{
    if (source < 1)
        return;
    dm->TransferAmpToFile(source);
    Refresh();
}

void TFMParameterWindow::DiskLoad()
{
    if (source < 1)
        return;
    dm->TransferFileToAmp(source);
    Refresh();
}


void TFMParameterWindow::DiskVerify()
{
    if (source < 1)
        return;
    const QString name = AskOpenName(fileName);
    if (name.isEmpty())
        return;
    bool ok;
    {
        TDMVerify verify(ctx.intf, ctx.dmMain, ctx.env, ctx.tran);
        verify.SetProgress(&progress);
        verify.SetUnitSelector(dm->DecimalSettings().unitSelector);
        verify.RunWindow = [this](TDMVerify &v) {
            if (RunVerifyWindow)
                RunVerifyWindow(v);
            else
                TFMVerify::Execute(v, ctx.env.Japanese, this);
        };
        ok = verify.CompareWithFile(source, name);
    }
    if (!ok)
        Refresh();
}

bool TFMParameterWindow::PrintReport(TReportKind kind)
{
    if (!TRPCustom::PrinterInstalled())
        return true;
    TParameterReport content;
    bool ok;
    {
        THourglass hourglass;
        ok = dm->PrepareReport(source, fileName, content);
    }
    // The grid shows the values just read.
    ValuesChanged();
    if (!ok) {
        if (source >= 1 && ctx.env.AxisInUse(source))
            ctx.env.SetAmpCode(source, -1);
        Refresh();
        return false;
    }
    if (content.empty)
        return true;
    TRPUserParameter report(this);
    report.SetContent(content);
    if (RunReport) {
        RunReport(report, kind);
        return true;
    }
    switch (kind) {
    case rkPrint: report.Print(); break;
    case rkPreview: report.Preview(); break;
    case rkPrinterSetup: report.PrinterSetup(); break;
    }
    return true;
}
