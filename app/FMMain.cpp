#include "app/FMMain.h"

#include "app/AppContext.h"
#include "app/Busy.h"
#include "app/DMEnvironment.h"
#include "app/FMAbout.h"
#include "app/FMAnimate.h"
#include "app/FMInputGuard.h"
#include "app/FMLineView.h"
#include "app/Hourglass.h"
#include "app/Messenger.h"
#include "app/Product.h"
#include "comm/Comm.h"
#include "comm/DMTran.h"
#include "comm/FMAxesCheck.h"
#include "comm/FMCommSetting.h"
#include "comm/FMLineStats.h"
#include "comm/OpenProblem.h"
#include "comm/TranAmp.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

namespace {

TFMMain *g_main = nullptr;

constexpr int CableWatchMs = 500;

// Tool-bar pictures: a coloured tile per menu group with a short mark.
QIcon TileIcon(const QString &mark, const QColor &colour)
{
    QIcon icon;
    for (int side : {16, 24, 32}) {
        QPixmap pm(side, side);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(0.5, 0.5, side - 1, side - 1), side / 5.0, side / 5.0);
        p.fillPath(path, colour);
        p.setPen(colour.darker(140));
        p.drawPath(path);
        QFont f = QApplication::font();
        f.setBold(true);
        // Marks are one or two characters: anything longer is unreadable at 16 pixels.
        f.setPixelSize(mark.size() > 1 ? side * 7 / 16 : side * 5 / 8);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 0, side, side), Qt::AlignCenter, mark);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

// Why the line did not open, naming the device that was tried.
QString OpenProblemText(const TDMEnvironment &env, int error)
{
    const QString device = env.CommDevice.isEmpty() ? TComm::PortDeviceName(env.CommPort) : env.CommDevice;
    return TOpenProblem(device, error).Text();
}

const QColor CommColour(40, 90, 170);
const QColor ParamColour(40, 130, 70);
const QColor MonitorColour(200, 110, 20);
const QColor TestColour(120, 60, 150);
const QColor TraceColour(20, 120, 130);

} // namespace

TFMMain::TFMMain(TDMEnvironment &environment, TDMInterface &loader, TDMMain &mainTables, TDMTran &tran,
                 const QString &programDir, QWidget *parent)
    : QMainWindow(parent), env(environment), intf(loader), dmMain(mainTables), dmTran(tran),
      folder(programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir),
      previousInstance(g_main)
{
    g_main = this;
    setObjectName(QStringLiteral("FMMain"));
    setWindowIcon(ProgramIcon());
    resize(1024, 720);

    InstallCursorBackend();
    qApp->installEventFilter(this);
    TFMInputGuard::Install();

    context.reset(new TAppContext{env, intf, dmMain, dmTran,
                                  [this] { return FirstAxisInUse(); },
                                  [this] { return online; },
                                  [this] { actCommAxesCheck->trigger(); },
                                  [this] {
                                      if (!online)
                                          SetOnline(true);
                                      return online;
                                  }});

    const QString sep = QStringLiteral("|");
    actExit = MakeAction("actExit", tr("終了(&X)"),
                         tr("終了") + sep + tr("プログラムを終了します"));
    actCommSet = MakeAction("actCommSet", tr("通信設定(&S)..."),
                            tr("通信設定") + sep
                                + tr("通信ポート、通信速度、使用する軸番号を設定します"),
                            TileIcon(tr("設", "tool-bar mark"), CommColour));
    actCommOnline = MakeAction("actCommOnline", tr("オフライン->オンライン(&N)..."),
                               tr("オンライン") + sep
                                   + tr("通信ポートを開き、サーボアンプとの通信を始めます"),
                               TileIcon(tr("接", "tool-bar mark"), CommColour));
    actCommAxesCheck = MakeAction("actCommAxesCheck", tr("通信状態の確認(&C)..."),
                                  tr("通信状態の確認") + sep
                                      + tr("どの軸番号のサーボアンプが応答するかを確認します"),
                                  TileIcon(tr("確", "tool-bar mark"), CommColour));
    actCommOffline = MakeAction("actCommOffline", tr("オンライン->オフライン(&F)"),
                                tr("オフライン") + sep
                                    + tr("サーボアンプとの通信を終え、通信ポートを閉じます"),
                                TileIcon(tr("断", "tool-bar mark"), CommColour));
    actCommReset = MakeAction("actCommReset", tr("通信リセット(&R)"),
                              tr("通信リセット") + sep
                                  + tr("通信ラインをリセットし、オフラインにします"));
    actCommStats = MakeAction("actCommStats", tr("回線統計(&T)..."),
                              tr("回線統計") + sep
                                  + tr("軸ごとの送受信回数、リトライ、NAK、タイムアウト、チェックエラーを表示します"));
    actParamGeneralSet = MakeAction("actParamGeneralSet", tr("一般パラメータ設定(&G)..."),
                                    tr("一般パラメータ") + sep
                                        + tr("一般パラメータを表示、編集します"),
                                    TileIcon(tr("一般", "tool-bar mark"), ParamColour));
    actParamSystemSet = MakeAction("actParamSystemSet", tr("システムパラメータ設定(&S)..."),
                                   tr("システムパラメータ") + sep
                                       + tr("システムパラメータを表示、編集します"),
                                   TileIcon(tr("シス", "tool-bar mark"), ParamColour));
    actParamMotorSet = MakeAction("actParamMotorSet", tr("モータパラメータ設定(&M)..."),
                                  tr("モータパラメータ") + sep
                                      + tr("モータパラメータを表示、編集します"),
                                  TileIcon(tr("モ", "tool-bar mark"), ParamColour));
    actParamSave = MakeAction("actParamSave", tr("パラメータの転送 [アンプ->ファイル](&F)..."),
                              tr("アンプ->ファイル") + sep
                                  + tr("サーボアンプのパラメータをファイルに保存します"),
                              TileIcon(tr("保", "tool-bar mark"), ParamColour));
    actParamLoad = MakeAction("actParamLoad", tr("パラメータの転送 [ファイル->アンプ](&A)..."),
                              tr("ファイル->アンプ") + sep
                                  + tr("ファイルのパラメータをサーボアンプに書き込みます"),
                              TileIcon(tr("書", "tool-bar mark"), ParamColour));
    actMonitorDisp = MakeAction("actMonitorDisp", tr("モニタ表示(&D)..."),
                                tr("モニタ表示") + sep
                                    + tr("サーボアンプのモニタ値を表示します"),
                                TileIcon(QStringLiteral("MO"), MonitorColour));
    actMonitorMulti = MakeAction("actMonitorMulti", tr("マルチモニタ表示(&M)..."),
                                 tr("マルチモニタ表示") + sep
                                     + tr("複数のサーボアンプのモニタ値を並べて表示します"),
                                 TileIcon(QStringLiteral("MM"), MonitorColour));
    actMonitorAlarm = MakeAction("actMonitorAlarm", tr("アラーム履歴表示(&A)..."),
                                 tr("アラーム履歴") + sep
                                     + tr("現在のアラームとアラーム履歴を表示します"),
                                 TileIcon(QStringLiteral("AL"), MonitorColour));
    actTestVelocityJog = MakeAction("actTestVelocityJog", tr("速度JOG運転(&J)..."),
                                    tr("速度JOG運転") + sep
                                        + tr("速度指令でモータを試運転します"),
                                    TileIcon(QStringLiteral("VJ"), TestColour));
    actTestPulseJog = MakeAction("actTestPulseJog", tr("パルス送りJOG運転(&P)..."),
                                 tr("パルス送りJOG運転") + sep
                                     + tr("パルス送りでモータを試運転します"),
                                 TileIcon(QStringLiteral("PJ"), TestColour));
    actTestANFTuning = MakeAction("actTestANFTuning", tr("オートノッチフィルタチューニング(&N)..."),
                                  tr("オートノッチフィルタ") + sep
                                      + tr("ノッチフィルタを自動で調整します"),
                                  TileIcon(QStringLiteral("NF"), TestColour));
    actTextAutoFrequencyTuning = MakeAction("actTextAutoFrequencyTuning",
                                            tr("オート周波数チューニング(&F)"),
                                            tr("オート制振周波数チューニング") + sep
                                                + tr("制振周波数を自動で調整します"));
    actTestAutoTunigResultSave = MakeAction("actTestAutoTunigResultSave",
                                            tr("オートチューニング結果保存(&G)"),
                                            tr("オートチューニング結果保存") + sep
                                                + tr("オートチューニングの結果をパラメータに保存します"));
    actTestSystemAnalysis = MakeAction("actTestSystemAnalysis", tr("システムアナリシス(&S)..."),
                                       tr("システムアナリシス") + sep
                                           + tr("機械の周波数特性を測定し、表示します"),
                                       TileIcon(QStringLiteral("SA"), TestColour));
    actTestExcitation = MakeAction("actTestExcitation", tr("固定励磁操作(&E)..."),
                                   tr("固定励磁操作") + sep
                                       + tr("モータを固定励磁します"));
    actTestOffsetVRef = MakeAction("actTestOffsetVRef", tr("アナログオフセット調整(V-REF)(&V)..."),
                                   tr("オフセット調整(V-REF)") + sep
                                       + tr("アナログ速度/トルク指令のオフセットを調整します"));
    actTestOffsetTComp = MakeAction("actTestOffsetTComp", tr("アナログオフセット調整(T-COMP)(&T)..."),
                                    tr("オフセット調整(T-COMP)") + sep
                                        + tr("アナログトルク加算指令のオフセットを調整します"));
    actTestAlarmReset = MakeAction("actTestAlarmReset", tr("アラームリセット(&R)..."),
                                   tr("アラームリセット") + sep
                                       + tr("サーボアンプのアラームをリセットします"),
                                   TileIcon(QStringLiteral("AR"), TestColour));
    actTestAbsEncClear = MakeAction("actTestAbsEncClear", tr("アブソリュートエンコーダクリア(&A)..."),
                                    tr("アブソリュートエンコーダクリア") + sep
                                        + tr("アブソリュートエンコーダの多回転データをクリアします"));
    actTrace = MakeAction("actTrace", tr("運転トレース(&O)..."),
                          tr("運転トレース") + sep
                              + tr("運転中の波形を記録し、表示します"),
                          TileIcon(QStringLiteral("TR"), TraceColour));
    actMakerPara = MakeAction("actMakerPara", tr("ダイレクトパラメータ設定(&P)..."),
                              tr("ダイレクトパラメータ") + sep
                                  + tr("アドレスを指定してメモリを読み書きします"));
    actMakerMonitor = MakeAction("actMakerMonitor", tr("ダイレクトモニタ(&M)..."),
                                 tr("ダイレクトモニタ") + sep
                                     + tr("アドレスを指定してメモリを監視します"));
    actMakerLoad = MakeAction("actMakerLoad", tr("全領域ロード(&L)..."),
                              tr("全領域ロード") + sep
                                  + tr("パラメータ領域全体をファイルからロードします"));
    actHelpAbout = MakeAction("actHelpAbout", tr("バージョン情報(&A)..."),
                              tr("バージョン情報") + sep
                                  + tr("バージョン情報を表示します"));

    onlineOnly = {actCommAxesCheck,  actCommOffline,     actParamSave,       actParamLoad,
                  actMonitorDisp,    actMonitorMulti,    actTestVelocityJog, actTestPulseJog,
                  actTestANFTuning,  actTextAutoFrequencyTuning, actTestAutoTunigResultSave,
                  actTestExcitation, actTestOffsetVRef,  actTestOffsetTComp, actTestAlarmReset,
                  actTestAbsEncClear};
    offlineOnly = {actCommSet, actCommOnline};

    connect(actExit, &QAction::triggered, this, &QWidget::close);
    auto bind = [this](QAction *a, void (TFMMain::*work)()) {
        connect(a, &QAction::triggered, this, [this, a, work] { Run(a, [this, work] { (this->*work)(); }); });
    };
    bind(actCommSet, &TFMMain::CommSet);
    bind(actCommOnline, &TFMMain::CommOnline);
    bind(actCommAxesCheck, &TFMMain::OpenAxesCheck);
    bind(actCommOffline, &TFMMain::OfflineAction);
    bind(actCommReset, &TFMMain::CommReset);
    bind(actHelpAbout, &TFMMain::About);
    bind(actCommStats, &TFMMain::LineStats);
    for (QAction *a : WindowActions())
        connect(a, &QAction::triggered, this, [this, a] { Run(a, [this, a] { Open(a); }); });

    BuildMenus();
    BuildToolBar();

    pnlState = new QLabel(this);
    pnlState->setObjectName(QStringLiteral("pnlState"));
    pnlState->setAlignment(Qt::AlignCenter);
    pnlState->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlState->setMinimumWidth(pnlState->fontMetrics().horizontalAdvance(QStringLiteral("OFFLINE")) + 40);
    pnlHint = new QLabel(this);
    pnlHint->setObjectName(QStringLiteral("pnlHint"));
    pnlHint->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addWidget(pnlState);
    statusBar()->addWidget(pnlHint, 1);
    statusBar()->setSizeGripEnabled(true);

    lineView = new TFMLineView(env, dmMain, this);
    setCentralWidget(lineView);

    tmrDisconnect.setInterval(CableWatchMs);
    connect(&tmrDisconnect, &QTimer::timeout, this, &TFMMain::CableWatch);

    PlaceWindow();
    const QString avi = QDir(folder).filePath(QStringLiteral("Online.avi"));
    if (QFileInfo::exists(avi))
        anmOnline->Open(avi);

    online = false;
    UpdateActions();
}

TFMMain::~TFMMain()
{
    qApp->removeEventFilter(this);
    while (!cursorWindows.isEmpty()) {
        cursorWindows.removeLast();
        THourglass::Pop();
    }
    THourglass::SetBackend({}, {});
    if (g_main == this)
        g_main = previousInstance;
}

TFMMain *TFMMain::Instance()
{
    return g_main;
}

const QStringList &TFMMain::AmplifierWindowNames()
{
    static const QStringList names = {
        QStringLiteral("FMAxesCheck"),    QStringLiteral("FMVerify"),     QStringLiteral("FMMonitor"),
        QStringLiteral("FMMultiMonitor"), QStringLiteral("FMAdjustRun"),  QStringLiteral("FMVJogRun"),
        QStringLiteral("FMPJogRun"),      QStringLiteral("FMANFTuning"),  QStringLiteral("FMANFTuningResult"),
        QStringLiteral("FMAFTuning"),     QStringLiteral("FMATuningRSV"), QStringLiteral("FMMakerParameter"),
        QStringLiteral("FMMakerMonitor"), QStringLiteral("FMMakerLoad"),  QStringLiteral("FMMeasurement"),
    };
    return names;
}

void TFMMain::InstallCursorBackend()
{
    // The cursor stack of the whole program: Qt's override cursors nest the
    // same way.
    THourglass::SetBackend(
        [](THourglass::TShape shape) {
            QGuiApplication::setOverrideCursor(shape == THourglass::TShape::Wait ? Qt::WaitCursor
                                                                                 : Qt::ArrowCursor);
        },
        [] { QGuiApplication::restoreOverrideCursor(); });
}

QIcon TFMMain::ProgramIcon()
{
    return TileIcon(QStringLiteral("T"), QColor(30, 60, 120));
}

QAction *TFMMain::MakeAction(const char *name, const QString &caption, const QString &hint, const QIcon &icon)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    // A hint is "short|long": the short part is the tool tip, the long part
    // goes to the status bar.
    const int bar = hint.indexOf(QLatin1Char('|'));
    a->setToolTip(bar < 0 ? hint : hint.left(bar));
    a->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    if (!icon.isNull())
        a->setIcon(icon);
    return a;
}

void TFMMain::BuildMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = bar->addMenu(tr("ファイル(&F)"));
    file->addAction(actExit);

    QMenu *comm = bar->addMenu(tr("通信(&C)"));
    comm->addAction(actCommSet);
    comm->addAction(actCommOnline);
    comm->addSeparator();
    comm->addAction(actCommAxesCheck);
    comm->addAction(actCommOffline);
    comm->addSeparator();
    comm->addAction(actCommReset);
    comm->addSeparator();
    comm->addAction(actCommStats);

    QMenu *param = bar->addMenu(tr("パラメータ(&P)"));
    param->addAction(actParamGeneralSet);
    param->addAction(actParamSystemSet);
    param->addAction(actParamMotorSet);
    param->addSeparator();
    param->addAction(actParamSave);
    param->addAction(actParamLoad);

    QMenu *monitor = bar->addMenu(tr("モニタ(&M)"));
    monitor->addAction(actMonitorDisp);
    monitor->addAction(actMonitorMulti);
    monitor->addSeparator();
    monitor->addAction(actMonitorAlarm);

    QMenu *test = bar->addMenu(tr("試運転と調整(&T)"));
    test->addAction(actTestVelocityJog);
    test->addAction(actTestPulseJog);
    test->addAction(actTestANFTuning);
    // The menu names this action more fully than its caption does.
    QAction *frequencyItem = test->addAction(tr("オート制振周波数チューニング(&F)"));
    frequencyItem->setObjectName(QStringLiteral("mnuTextAutoFrequencyTuning"));
    frequencyItem->setStatusTip(actTextAutoFrequencyTuning->statusTip());
    connect(frequencyItem, &QAction::triggered, actTextAutoFrequencyTuning, &QAction::trigger);
    connect(actTextAutoFrequencyTuning, &QAction::changed, frequencyItem,
            [this, frequencyItem] { frequencyItem->setEnabled(actTextAutoFrequencyTuning->isEnabled()); });
    test->addAction(actTestSystemAnalysis);
    test->addAction(actTestExcitation);
    test->addSeparator();
    test->addAction(actTestOffsetVRef);
    test->addAction(actTestOffsetTComp);
    test->addAction(actTestAutoTunigResultSave);
    test->addSeparator();
    test->addAction(actTestAlarmReset);
    test->addAction(actTestAbsEncClear);

    QMenu *trace = bar->addMenu(tr("運転トレース(&O)"));
    trace->addAction(actTrace);

    mnuDirect = bar->addMenu(tr("ダイレクトモード(&D)"));
    mnuDirect->setObjectName(QStringLiteral("mnuDirect"));
    mnuDirect->addAction(actMakerPara);
    mnuDirect->addAction(actMakerMonitor);
    mnuDirect->addAction(actMakerLoad);
    mnuDirect->menuAction()->setVisible(false);

    QMenu *help = bar->addMenu(tr("ヘルプ(&H)"));
    help->addAction(actHelpAbout);
}

void TFMMain::BuildToolBar()
{
    tbMain = addToolBar(QStringLiteral("tbMain"));
    tbMain->setObjectName(QStringLiteral("tbMain"));
    tbMain->setMovable(false);
    tbMain->setFloatable(false);
    tbMain->setIconSize(QSize(24, 24));
    tbMain->setContextMenuPolicy(Qt::PreventContextMenu);
    const QList<QList<QAction *>> groups = {
        {actCommSet, actCommOnline, actCommAxesCheck, actCommOffline},
        {actParamGeneralSet, actParamSystemSet, actParamMotorSet, actParamSave, actParamLoad},
        {actMonitorDisp, actMonitorMulti, actMonitorAlarm},
        {actTestVelocityJog, actTestPulseJog, actTestANFTuning, actTestSystemAnalysis, actTestAlarmReset},
        {actTrace},
    };
    for (int g = 0; g < groups.size(); ++g) {
        if (g > 0)
            tbMain->addSeparator();
        for (QAction *a : groups[g])
            tbMain->addAction(a);
    }
    // The animation stands at the right end of the bar.
    auto *spacer = new QWidget(tbMain);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tbMain->addWidget(spacer);
    anmOnline = new TFMAnimate(tbMain);
    tbMain->addWidget(anmOnline);
}

void TFMMain::PlaceWindow()
{
    // The stored left edge is WindowLeft (key "Top"), the top edge
    // WindowTop (key "Left"); the settings module keeps the crossing.
    QPoint pos(env.WindowLeft, env.WindowTop);
    // A position on a screen that is gone would hide the window: keep at
    // least its corner on some screen.
    bool onScreen = false;
    for (QScreen *screen : QGuiApplication::screens())
        onScreen |= screen->availableGeometry().adjusted(0, 0, -40, -40).contains(pos);
    if (!onScreen && QGuiApplication::primaryScreen())
        pos = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    move(pos);
    normalPos = pos;
    if (env.WindowMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TFMMain::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        normalPos = pos();
}

void TFMMain::SetOpener(QAction *action, TOpener opener, bool online)
{
    openers.insert(action, TOpenerRow{std::move(opener), online});
    if (unavailable.removeOne(action)) {
        action->setStatusTip(action->property("tuvantaHint").toString());
        UpdateActions();
    }
}

QList<QAction *> TFMMain::WindowActions() const
{
    return {actParamGeneralSet, actParamSystemSet, actParamMotorSet, actParamSave, actParamLoad,
            actMonitorDisp, actMonitorMulti, actMonitorAlarm, actTestVelocityJog, actTestPulseJog,
            actTestANFTuning, actTextAutoFrequencyTuning, actTestAutoTunigResultSave,
            actTestSystemAnalysis, actTestExcitation, actTestOffsetVRef, actTestOffsetTComp,
            actTestAlarmReset, actTestAbsEncClear, actTrace, actMakerPara, actMakerMonitor, actMakerLoad};
}

void TFMMain::DisableActionsWithoutOpener(const QString &hint)
{
    for (QAction *a : WindowActions()) {
        if (openers.contains(a) || unavailable.contains(a))
            continue;
        unavailable.append(a);
        a->setProperty("tuvantaHint", a->statusTip());
        a->setStatusTip(hint);
    }
    UpdateActions();
}

void TFMMain::Run(QAction *action, const std::function<void()> &work)
{
    Q_UNUSED(action);
    THourglass hourglass;
    work();
}

void TFMMain::Open(QAction *action)
{
    const auto it = openers.constFind(action);
    if (it == openers.constEnd() || !it->open)
        return;
    if (it->online && !context->GoOnline())
        return;
    const TOpener open = it->open;
    open(*this);
    RefreshLineView();
}

bool TFMMain::event(QEvent *event)
{
    // The long hint goes to panel 1; the state panel stays.
    if (event->type() == QEvent::StatusTip) {
        pnlHint->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TFMMain::eventFilter(QObject *watched, QEvent *event)
{
    // A modal window or message box waits for the user: it gets the normal
    // cursor even when it opened under a running hourglass.
    const QEvent::Type type = event->type();
    if (type == QEvent::Show || type == QEvent::Hide) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->isWindow()) {
            const int at = int(cursorWindows.indexOf(w));
            if (type == QEvent::Show && at < 0 && w->isModal() && THourglass::Waiting()) {
                cursorWindows.append(w);
                connect(w, &QObject::destroyed, this, [this](QObject *gone) {
                    if (cursorWindows.removeOne(gone))
                        THourglass::Pop();
                });
                THourglass::Push(THourglass::TShape::Normal);
            } else if (type == QEvent::Hide && at >= 0) {
                cursorWindows.removeAt(at);
                disconnect(w, &QObject::destroyed, this, nullptr);
                THourglass::Pop();
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFMMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!shown) {
        shown = true;
        FirstShow();
    }
}

void TFMMain::FirstShow()
{
    QCoreApplication::setApplicationName(Product::Title());
    setWindowTitle(Product::Title());
    SetOnline(false);
    mnuDirect->menuAction()->setVisible(env.DisplayLevel == dlService);
    if (intf.DatabaseBroken()) {
        TMessenger::Instance().Error(tr("アンプ定義ファイルが壊れています。"));
        // Closing from inside the show would leave the show half done.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    dmMain.CloseMainTables();
    dmMain.LoadMainTables();
}

void TFMMain::UpdateActions()
{
    for (QAction *a : onlineOnly)
        a->setEnabled(online);
    for (QAction *a : offlineOnly)
        a->setEnabled(!online);
    // Never silently inert: an action whose window is not there stays off.
    for (QAction *a : unavailable)
        a->setEnabled(false);
    actCommStats->setEnabled(amp != nullptr);
}

void TFMMain::SetOnline(bool on)
{
    if (on) {
        const int port = env.CommPort;
        bool tried = false;
        if (amp && !amp->PortOpen()) {
            amp->SetDevicePath(env.CommDevice);
            // The serial component numbers ports with 8 bits: a number
            // beyond that cannot be opened.
            tried = port >= 1 && port <= 255;
            if (tried)
                amp->OpenPort(env.BaudRate, uint8_t(port));
        }
        if (amp && amp->PortOpen()) {
            amp->SetRts(true);
            if (!amp->CtsOn()) {
                TMessenger::Instance().Warning(tr("通信ケーブルが接続されていません。"));
                on = false;
            }
        } else {
            // The device path that was tried and why it failed, so that a
            // user can act (join the device's group, plug the adapter in).
            QString text = tr("通信ポートが使用できません。(COM%1)").arg(port);
            if (tried)
                text += QStringLiteral("\r\n\r\n") + OpenProblemText(env, amp->LastOpenErrorCode());
            TMessenger::Instance().Warning(text);
            on = false;
        }
    }
    if (!on && amp) {
        amp->SetRts(false);
        amp->ClosePort();
    }
    online = on;
    if (online)
        tmrDisconnect.start();
    else
        tmrDisconnect.stop();
    if (anmOnline->IsOpen()) {
        if (online)
            anmOnline->Play();
        else
            anmOnline->Stop();
    }
    UpdateActions();
    pnlState->setText(online ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE"));
    RefreshLineView();
}

void TFMMain::RefreshLineView()
{
    lineView->Refresh(online);
}

int TFMMain::FirstAxisInUse()
{
    for (int axis = 1; axis <= 15; ++axis)
        if (env.AmpCode(axis) > 0)
            return axis;
    OfflineAction();
    return 0;
}

void TFMMain::OfflineAction()
{
    // One series: no action may start between two releases.
    TBusy::TScope busy;
    bool lineGone = false;
    for (int axis = 1; axis <= 15; ++axis) {
        if (env.AmpCode(axis) <= 0)
            continue;
        env.SetAmpCode(axis, -1);
        if (lineGone)
            continue;
        const TTranResult r = amp ? amp->CmdH1(axis) : trTimeout;
        if (r == trOk)
            continue;
        // Without the cable every release fails; the cable watch speaks.
        // The remaining axes are not released but still leave the in-use
        // set: an offline line has no axis in use.
        if (!amp || !amp->CtsOn()) {
            lineGone = true;
            continue;
        }
        TMessenger::Instance().Warning(TDMTran::FailureText(r, axis));
    }
    SetOnline(false);
}

void TFMMain::CommSet()
{
    TFMCommSetting dialog(this, env);
    dialog.exec();
}

void TFMMain::CommOnline()
{
    SetOnline(true);
    if (online)
        OpenAxesCheck();
}

void TFMMain::OpenAxesCheck()
{
    TFMAxesCheck window(this, env, amp, dmMain, [this] { return FirstAxisInUse(); });
    window.exec();
    RefreshLineView();
}

void TFMMain::CommReset()
{
    TBusy::TScope busy;
    SetOnline(true);
    if (online && amp)
        amp->ResetLine();
    OfflineAction();
}

void TFMMain::About()
{
    TFMAbout about(this, dmMain);
    about.exec();
}

void TFMMain::LineStats()
{
    if (!amp)
        return;
    TFMLineStats window(*amp, this);
    window.exec();
}

void TFMMain::CableWatch()
{
    tmrDisconnect.stop();
    if (amp && amp->CtsOn()) {
        tmrDisconnect.start();
        return;
    }
    TMessenger::Instance().Warning(tr("通信ケーブルが接続されていません。"));
    for (int axis = 1; axis <= 15; ++axis)
        env.SetAmpCode(axis, -1);
    SetOnline(false);
    CloseAmplifierWindows();
}

void TFMMain::CloseAmplifierWindows()
{
    TMessenger::Instance().CloseAll();
    const QStringList &names = AmplifierWindowNames();
    const QWidgetList windows = QApplication::topLevelWidgets();
    QList<QPointer<QWidget>> toClose;
    QList<QPointer<QMessageBox>> boxes;
    for (QWidget *w : windows) {
        if (w == this || !w->isVisible())
            continue;
        // Message boxes that did not come through the messenger have no name either.
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->objectName().isEmpty())
            boxes.append(box);
        else if (names.contains(w->objectName()))
            toClose.append(w);
    }
    for (const QPointer<QMessageBox> &box : boxes)
        if (box)
            box->done(QDialog::Rejected);
    TFMInputGuard::TProgramClose closing;
    for (const QPointer<QWidget> &w : toClose)
        if (w)
            w->close();
}

void TFMMain::closeEvent(QCloseEvent *event)
{
    if (amp && amp->PortOpen())
        OfflineAction();
    tmrDisconnect.stop();
    const bool maximized = isMaximized();
    env.WindowMaximized = maximized;
    const QPoint pos = maximized ? normalPos : this->pos();
    env.WindowLeft = pos.x();
    env.WindowTop = pos.y();
    dmMain.CloseMainTables();
    event->accept();
}
