#include "params/FMUserParameter.h"

#include "app/DMEnvironment.h"
#include "app/FMEnvironment.h"
#include "app/Hourglass.h"
#include "app/Messenger.h"
#include "params/DMUserParameterEdit.h"
#include "params/FMLoadSave.h"
#include "params/FMParameterFileDialog.h"
#include "params/FMParameterTable.h"
#include "params/FMUserParameterEdit.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
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

TFMUserParameter::TFMUserParameter(TAppContext &context, QWidget *owner)
    : QDialog(owner), ctx(context), dm(context.intf, context.dmMain, context.env, context.tran), progress(this)
{
    setObjectName(QStringLiteral("FMUserParameter"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    source = ctx.Online() ? 1 : -1;
    dm.SetProgress(&progress);
    dm.RunEditDialog = [this](TDMUserParameterEdit &m) { return TFMUserParameterEdit::Execute(m, this); };
    dm.RunLevelDialog = [this] { return TFMEnvironment::Execute(ctx.env, this); };
    dm.RunTransfer = [this](TDMUserParameter::TTransfer kind, int axis) {
        TFMLoadSave::Execute(kind == TDMUserParameter::TTransfer::AmpToFile ? TFMLoadSave::TDirection::AmpToFile
                                                                           : TFMLoadSave::TDirection::FileToAmp,
                             axis, ctx, this);
    };
    AskOpenName = [this](const QString &current) { return TFMParameterFileDialog::AskOpenName(this, current); };
    AskSaveName = [this](const QString &current) { return TFMParameterFileDialog::AskSaveName(this, current); };

    BuildMenus();
    BuildWindow();
    UpdateCaption();
    UpdateActions();
    resize(1000, 640);
}

TFMUserParameter::~TFMUserParameter()
{
    dm.CloseTables();
}

void TFMUserParameter::Execute(TAppContext &context, QWidget *owner)
{
    TFMUserParameter window(context, owner);
    window.exec();
}

QAction *TFMUserParameter::MakeAction(const char *name, const QString &caption, const QKeySequence &key,
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

void TFMUserParameter::BuildMenus()
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
    // Verification and printing come with their own windows; until then
    // the actions are shown but do nothing.
    actDiskVerify = MakeAction("actDiskVerify", tr("パラメータの照合(&M)..."));
    actPrint = MakeAction("actPrint", tr("印刷(&P)"), QKeySequence(Qt::CTRL | Qt::Key_P));
    actPrintPreview = MakeAction("actPrintPreview", tr("印刷プレビュー(&V)..."));
    actPrinterSetup = MakeAction("actPrinterSetup", tr("プリンタの設定(&S)..."));
    actPrinterSetup->setVisible(false);
    for (QAction *a : {actDiskVerify, actPrint, actPrintPreview, actPrinterSetup})
        a->setEnabled(false);

    connect(actFileOpen, &QAction::triggered, this, &TFMUserParameter::FileOpen);
    connect(actFileClose, &QAction::triggered, this, &TFMUserParameter::FileClose);
    connect(actFileSave, &QAction::triggered, this, &TFMUserParameter::FileSave);
    connect(actFileSaveAs, &QAction::triggered, this, &TFMUserParameter::FileSaveAs);
    connect(actExit, &QAction::triggered, this, &QDialog::close);
    connect(actAmplifierRead, &QAction::triggered, this, &TFMUserParameter::AmplifierRead);
    connect(actAmplifierWrite, &QAction::triggered, this, &TFMUserParameter::AmplifierWrite);
    connect(actAmplifierCheck, &QAction::triggered, this, &TFMUserParameter::AmplifierCheck);
    connect(actDiskSave, &QAction::triggered, this, &TFMUserParameter::DiskSave);
    connect(actDiskLoad, &QAction::triggered, this, &TFMUserParameter::DiskLoad);

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

void TFMUserParameter::BuildWindow()
{
    auto *top = new QVBoxLayout(this);
    top->setMenuBar(mnuMain);
    top->addWidget(tbMain);

    auto *head = new QHBoxLayout;
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
    head->addWidget(sources);
    head->addStretch(1);
    top->addLayout(head);

    auto *info = new QHBoxLayout;
    grpModel = new QGroupBox(tr("型番"), this);
    grpModel->setObjectName(QStringLiteral("grpModel"));
    auto *gm = new QGridLayout(grpModel);
    edtMotorModel = new QLineEdit(grpModel);
    edtMotorModel->setObjectName(QStringLiteral("edtMotorModel"));
    edtAmpModel = new QLineEdit(grpModel);
    edtAmpModel->setObjectName(QStringLiteral("edtAmpModel"));
    for (QLineEdit *e : {edtMotorModel, edtAmpModel}) {
        e->setReadOnly(true);
        e->setMinimumWidth(150);
    }
    gm->addWidget(new QLabel(tr("アンプ :"), grpModel), 0, 0);
    gm->addWidget(edtAmpModel, 0, 1);
    gm->addWidget(new QLabel(tr("モータ :"), grpModel), 0, 2);
    gm->addWidget(edtMotorModel, 0, 3);
    info->addWidget(grpModel);
    auto *level = new QGroupBox(tr("表示レベル"), this);
    auto *gl = new QHBoxLayout(level);
    edtLevel = new QLineEdit(level);
    edtLevel->setObjectName(QStringLiteral("edtLevel"));
    edtLevel->setReadOnly(true);
    edtLevel->setMinimumWidth(170);
    btnLevel = new QPushButton(tr("変更..."), level);
    btnLevel->setObjectName(QStringLiteral("btnLevel"));
    btnLevel->setAutoDefault(false);
    gl->addWidget(edtLevel);
    gl->addWidget(btnLevel);
    info->addWidget(level);
    info->addStretch(1);
    top->addLayout(info);
    connect(btnLevel, &QPushButton::clicked, this, &TFMUserParameter::ChangeLevel);

    tabGroup = new QTabBar(this);
    tabGroup->setObjectName(QStringLiteral("tabGroup"));
    tabGroup->setExpanding(false);
    tabGroup->setDrawBase(true);
    connect(tabGroup, &QTabBar::currentChanged, this, &TFMUserParameter::TabChanged);
    top->addWidget(tabGroup);

    table = new TFMParameterTable(dm, this);
    grdMode = new QTableView(this);
    grdMode->setObjectName(QStringLiteral("grdMode"));
    grdMode->setModel(table);
    grdMode->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdMode->setSelectionMode(QAbstractItemView::SingleSelection);
    grdMode->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdMode->verticalHeader()->hide();
    grdMode->verticalHeader()->setDefaultSectionSize(grdMode->fontMetrics().height() + 6);
    grdMode->horizontalHeader()->setHighlightSections(false);
    grdMode->horizontalHeader()->setStretchLastSection(false);
    const QFontMetrics fm(grdMode->font());
    const int widths[TDMUserParameter::ColumnCount] = {
        fm.horizontalAdvance(QStringLiteral("ﾍﾟｰｼﾞ")) + 24, fm.horizontalAdvance(QStringLiteral("MMMMMM")) + 8,
        fm.horizontalAdvance(QStringLiteral("速度ループ積分時定数")) + 16,
        fm.horizontalAdvance(QStringLiteral("-2147483648")) + 12, fm.horizontalAdvance(QStringLiteral("min-1/V")) + 12,
        fm.horizontalAdvance(QStringLiteral("-2147483648")) + 12, fm.horizontalAdvance(QStringLiteral("-2147483648")) + 12,
        fm.horizontalAdvance(QStringLiteral("-2147483648")) + 12, fm.horizontalAdvance(QStringLiteral("標準設定値")) + 16};
    for (int c = 0; c < TDMUserParameter::ColumnCount; ++c)
        if (widths[c] > 0)
            grdMode->setColumnWidth(c, widths[c]);
    connect(grdMode, &QTableView::doubleClicked, this, &TFMUserParameter::EditRow);
    connect(grdMode->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TFMUserParameter::RowChanged);
    top->addWidget(grdMode, 1);

    auto *bottom = new QHBoxLayout;
    btnEdit = new QPushButton(tr("編集(&E)..."), this);
    btnEdit->setObjectName(QStringLiteral("btnEdit"));
    btnEdit->setAutoDefault(false);
    connect(btnEdit, &QPushButton::clicked, this, &TFMUserParameter::EditRow);
    bottom->addStretch(1);
    bottom->addWidget(btnEdit);
    top->addLayout(bottom);

    stbMain = new QStatusBar(this);
    stbMain->setObjectName(QStringLiteral("stbMain"));
    stbMain->setSizeGripEnabled(false);
    top->addWidget(stbMain);
}

void TFMUserParameter::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (opened)
        return;
    opened = true;
    {
        THourglass hourglass;
        dm.OpenTables();
        edtLevel->setText(dm.LevelName());
        BuildTabs();
    }
    // The first reading once the window shows.
    QTimer::singleShot(0, this, [this] { Refresh(); });
}

void TFMUserParameter::closeEvent(QCloseEvent *event)
{
    if (!AskUnsaved()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFMUserParameter::keyPressEvent(QKeyEvent *event)
{
    // Esc closes through the same question as the close button.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFMUserParameter::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) && parentWidget()) {
        // A modal window minimised alone would leave a blocked main window.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        parentWidget()->window()->showMinimized();
    }
}

void TFMUserParameter::UpdateAxisButtons()
{
    for (int n = 1; n <= 15; ++n)
        sbtnAxis[size_t(n - 1)]->setEnabled(ctx.env.AxisInUse(n));
}

void TFMUserParameter::PressSourceButton()
{
    QAbstractButton *b = source >= 1 ? sbtnAxis[size_t(source - 1)] : sbtnFile;
    b->setChecked(true);
}

void TFMUserParameter::Refresh()
{
    if (dm.HasChanges()) {
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
        if (!dm.ReadModelTexts(source) || (source >= 1 && !dm.ReadFromAmplifier(source))) {
            // The transaction layer has taken the axis out of use; make
            // sure of it, so that the next round moves on.
            if (source >= 1 && ctx.env.AxisInUse(source))
                ctx.env.SetAmpCode(source, -1);
            continue;
        }
        if (source <= 0 && !dm.LoadFromFile(fileName)) {
            fileName.clear();
            source = -1;
            PressSourceButton();
        }
        break;
    }
    edtMotorModel->setText(dm.MotorModelText());
    edtAmpModel->setText(dm.AmpModelText());
    UpdateActions();
    BuildTabs();
}

void TFMUserParameter::UpdateActions()
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
}

int TFMUserParameter::TabGroup(int index) const
{
    const QString caption = tabGroup->tabText(index);
    if (caption.size() < 7)
        return -1;
    bool ok = false;
    const int g = caption.mid(6).toInt(&ok, 16);
    return ok ? g : -1;
}

void TFMUserParameter::BuildTabs()
{
    {
        const QSignalBlocker block(tabGroup);
        while (tabGroup->count() > 0)
            tabGroup->removeTab(0);
        for (int g = 0; g <= 15; ++g)
            if (dm.GroupExists(source, g))
                tabGroup->addTab(QStringLiteral("Group %1").arg(QString::number(g, 16).toUpper()));
        if (tabGroup->count() == 0)
            tabGroup->addTab(QStringLiteral("-"));
        tabGroup->setCurrentIndex(0);
    }
    currentTab = 0;
    dm.SelectGroup(source, TabGroup(0));
    table->Reload();
    FitNameColumn();
    if (dm.RowCount() > 0)
        grdMode->selectRow(0);
    UpdateCaption();
    UpdateStatus();
}

void TFMUserParameter::TabChanged(int index)
{
    if (index == currentTab || index < 0)
        return;
    if (!AskUnsaved()) {
        const QSignalBlocker block(tabGroup);
        tabGroup->setCurrentIndex(currentTab);
        return;
    }
    if (source >= 1 && !ctx.env.AxisInUse(source)) {
        // The inputs of a lost axis were let go: move to another source.
        Refresh();
        return;
    }
    currentTab = index;
    dm.SelectGroup(source, TabGroup(index));
    table->Reload();
    FitNameColumn();
    if (dm.RowCount() > 0)
        grdMode->selectRow(0);
    UpdateStatus();
}

void TFMUserParameter::FitNameColumn()
{
    // Names differ in length from group to group; none is cut.
    const int least = grdMode->fontMetrics().horizontalAdvance(QStringLiteral("速度ループ積分時定数")) + 16;
    grdMode->resizeColumnToContents(TDMUserParameter::colName);
    if (grdMode->columnWidth(TDMUserParameter::colName) < least)
        grdMode->setColumnWidth(TDMUserParameter::colName, least);
}

void TFMUserParameter::UpdateCaption()
{
    if (source >= 1)
        setWindowTitle(tr("一般パラメータ設定"));
    else
        setWindowTitle(tr("一般パラメータ設定 - [%1]").arg(fileName.isEmpty() ? tr("無題") : fileName));
}

void TFMUserParameter::UpdateStatus()
{
    stbMain->showMessage(dm.StatusText());
}

void TFMUserParameter::RowChanged()
{
    const QModelIndex current = grdMode->currentIndex();
    if (current.isValid())
        dm.cdsAmp_Para.SetRecNo(current.row());
    UpdateStatus();
}

bool TFMUserParameter::AskUnsaved()
{
    if (!dm.HasChanges())
        return true;
    const bool fileMode = source <= 0;
    const QString text = fileMode ? tr("パラメータが変更されています。\r\n変更をファイルに保存しますか?")
                                  : tr("パラメータが変更されています。\r\n変更をサーボアンプに書き込みますか?");
    switch (TMessenger::Instance().Show(TMsgKind::Question, text, TMsgButtons::YesNoCancel)) {
    case TMsgAnswer::Yes:
        // A failed or cancelled save keeps the window where it is.
        return fileMode ? SaveFile() : WriteChanges();
    case TMsgAnswer::No:
        dm.ClearInputs();
        table->ValuesChanged();
        return true;
    default:
        return false;
    }
}

void TFMUserParameter::ClickSource(int clicked)
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

void TFMUserParameter::FileOpen()
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

void TFMUserParameter::FileClose()
{
    if (source >= 1)
        return;
    if (!fileName.isEmpty() && !AskUnsaved())
        return;
    fileName.clear();
    source = -1;
    Refresh();
}

void TFMUserParameter::FileSave()
{
    SaveFile();
}

bool TFMUserParameter::SaveFile()
{
    if (fileName.isEmpty())
        return SaveAs();
    const QFileInfo info(fileName);
    if (!info.exists() || !info.isWritable())
        return SaveAs();
    THourglass hourglass;
    const bool ok = dm.SaveToFile(fileName);
    table->ValuesChanged();
    return ok;
}

void TFMUserParameter::FileSaveAs()
{
    SaveAs();
}

bool TFMUserParameter::SaveAs()
{
    const QString name = AskSaveName(fileName);
    if (name.isEmpty())
        return false;
    THourglass hourglass;
    const bool ok = dm.SaveToFile(name);
    table->ValuesChanged();
    if (ok) {
        fileName = name;
        UpdateCaption();
        UpdateActions();
    }
    return ok;
}

void TFMUserParameter::AmplifierRead()
{
    if (source < 1 || !AskUnsaved())
        return;
    Refresh();
}

void TFMUserParameter::AmplifierWrite()
{
    if (!WriteChanges())
        Refresh();
}

bool TFMUserParameter::WriteChanges()
{
    if (source < 1 || !dm.HasChanges())
        return true;
    if (!ctx.env.AxisInUse(source)) {
        TMessenger::Instance().Warning(tr("サーボアンプと通信できません。\r\n入力値はサーボアンプに書き込まれていません。"));
        return false;
    }
    bool ok;
    {
        THourglass hourglass;
        ok = dm.WriteToAmplifier(source);
    }
    table->ValuesChanged();
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

void TFMUserParameter::AmplifierCheck()
{
    if (!ctx.checkCommunication)
        return;
    ctx.checkCommunication();
    Refresh();
}

void TFMUserParameter::DiskSave()
{
    if (source < 1)
        return;
    dm.TransferAmpToFile(source);
    Refresh();
}

void TFMUserParameter::DiskLoad()
{
    if (source < 1)
        return;
    dm.TransferFileToAmp(source);
    Refresh();
}

void TFMUserParameter::ChangeLevel()
{
    if (!AskUnsaved())
        return;
    if (!dm.ChangeLevel())
        return;
    edtLevel->setText(dm.LevelName());
    Refresh();
}

void TFMUserParameter::EditRow()
{
    if (dm.RowCount() == 0)
        return;
    const QModelIndex current = grdMode->currentIndex();
    if (current.isValid())
        dm.cdsAmp_Para.SetRecNo(current.row());
    if (dm.EditCurrentRow())
        table->ValuesChanged();
}
