#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class TDMEnvironment;
class TDMInterface;
class TDMMain;
class TDMTran;
class TFMAnimate;
class TTranAmp;
class TFMLineView;
struct TAppContext;

// The main window: menus, tool bar and actions, the online/offline state of
// the line and the cable watch. Every other window is opened from one of its
// actions, modally, with this window as owner.
class TFMMain : public QMainWindow
{
    Q_OBJECT
public:
    // programDir: where "Online.avi" is looked for (empty: the program's folder).
    TFMMain(TDMEnvironment &environment, TDMInterface &loader, TDMMain &mainTables, TDMTran &tran,
            const QString &programDir = QString(), QWidget *parent = nullptr);
    ~TFMMain() override;

    // The main window of the program, or nullptr.
    static TFMMain *Instance();

    // The engine is created after the main window at start-up.
    void SetEngine(TTranAmp *engine)
    {
        amp = engine;
        UpdateActions();
    }
    TTranAmp *Engine() const { return amp; }

    // The only way into and out of online mode.
    void SetOnline(bool on);
    bool Online() const { return online; }
    // The lowest axis in use (1 to 15); none: takes the line offline and
    // returns 0. Windows call it to choose their axis.
    int FirstAxisInUse();

    // What the windows share: this window's modules and its answers about
    // the line. Lives as long as the main window.
    TAppContext &Context() { return *context; }

    // What an action that opens another window does (TFMOpeners registers
    // them all). online: take the line online first, open only when that
    // worked.
    using TOpener = std::function<void(TFMMain &)>;
    void SetOpener(QAction *action, TOpener opener, bool online = false);
    bool HasOpener(QAction *action) const { return openers.contains(action); }
    // The window actions that have no opener stay disabled, with hint as
    // their status text.
    void DisableActionsWithoutOpener(const QString &hint);
    // Every action that opens a window of another subsystem.
    QList<QAction *> WindowActions() const;
    // Shows the axes in use again (after an axes check, online or offline).
    void RefreshLineView();

    // Windows that the cable watch closes, besides open message boxes.
    static const QStringList &AmplifierWindowNames();
    // Makes the hourglass stack change the real cursor; the program calls
    // it before the splash shows, the main window again when it is created.
    static void InstallCursorBackend();
    // Sixteen-pixel-or-larger program icon (window, About box).
    static QIcon ProgramIcon();

    QAction *actExit;
    QAction *actCommSet;
    QAction *actCommOnline;
    QAction *actCommAxesCheck;
    QAction *actCommOffline;
    QAction *actCommReset;
    QAction *actCommStats;
    QAction *actParamGeneralSet;
    QAction *actParamSystemSet;
    QAction *actParamMotorSet;
    QAction *actParamSave;
    QAction *actParamLoad;
    QAction *actMonitorDisp;
    QAction *actMonitorMulti;
    QAction *actMonitorAlarm;
    QAction *actTestVelocityJog;
    QAction *actTestPulseJog;
    QAction *actTestANFTuning;
    QAction *actTextAutoFrequencyTuning;
    QAction *actTestAutoTunigResultSave;
    QAction *actTestSystemAnalysis;
    QAction *actTestExcitation;
    QAction *actTestOffsetVRef;
    QAction *actTestOffsetTComp;
    QAction *actTestAlarmReset;
    QAction *actTestAbsEncClear;
    QAction *actTrace;
    QAction *actMakerPara;
    QAction *actMakerMonitor;
    QAction *actMakerLoad;
    QAction *actHelpAbout;

    QMenu *mnuDirect;
    QToolBar *tbMain;
    TFMAnimate *anmOnline;
    QLabel *pnlState; // status panel 0: "ONLINE" / "OFFLINE"
    QLabel *pnlHint;  // status panel 1: the long hint
    QTimer tmrDisconnect;
    TFMLineView *lineView;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    QAction *MakeAction(const char *name, const QString &caption, const QString &hint,
                        const QIcon &icon = QIcon());
    void BuildMenus();
    void BuildToolBar();
    void PlaceWindow();
    void FirstShow();
    void UpdateActions();
    void Run(QAction *action, const std::function<void()> &work);
    void Open(QAction *action);

    void CommSet();
    void CommOnline();
    void OpenAxesCheck();
    void OfflineAction();
    void CommReset();
    void About();
    void LineStats();
    void CableWatch();
    void CloseAmplifierWindows();

    TDMEnvironment &env;
    TDMInterface &intf;
    TDMMain &dmMain;
    TDMTran &dmTran;
    TTranAmp *amp = nullptr;
    QString folder;
    bool online = false;
    bool shown = false;
    QPoint normalPos;
    struct TOpenerRow {
        TOpener open;
        bool online = false;
    };
    QHash<QAction *, TOpenerRow> openers;
    QList<QAction *> unavailable;
    std::unique_ptr<TAppContext> context;
    QList<QAction *> onlineOnly;
    QList<QAction *> offlineOnly;
    // Modal windows that got the normal cursor over a running hourglass.
    QList<QObject *> cursorWindows;
    TFMMain *previousInstance = nullptr;
};
