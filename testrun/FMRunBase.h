#pragma once

#include "comm/DMTran.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

class QBoxLayout;
class QButtonGroup;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
struct TAppContext;
class TDMJog;

// What every test-run window shares (velocity and pulse-feed JOG, notch and
// frequency tuning, tuning-result save, the system-analysis measurement).
//
// A window derived from it builds its controls with the Make... pieces,
// fills its settings in ReadSettings and writes them in WriteSettings, and
// does its own run handling in RunTick while RunRequested says so. The base
// runs the rest:
//  - the 300 ms one-shot tick. Each tick lets pending messages run and then
//    does one thing, first that applies: write the end action, write the
//    settings, the window's run handling, the idle poll (role 1 with the
//    servo off, role 3 with it on). The timer is re-armed only after work
//    that succeeded (Rearm); any failed command aborts (Abort).
//  - the end-action group, the edit/write/cancel cycle of the settings, the
//    servo group, captioned dialogs (Warn, Confirm) and the not-ready close.
//  - closing: the timer stops, MovementStop runs and role 0 is sent once,
//    whatever closes the window (its button, Escape, the cable watch, an
//    abort); a failed role 0 turns the result into Abort.
// Results: Accepted (only the measurement uses it), Rejected (the user
// closed the window), Abort (communication with the amplifier was lost).
class TFMRunBase : public QDialog
{
    Q_OBJECT
public:
    enum { Abort = 3 };
    static constexpr int TickMs = 300;

    TFMRunBase(TAppContext &context, TDMJog &module, int type, int axis, const QString &modelName,
               QWidget *owner = nullptr);
    ~TFMRunBase() override;

    int Type() const { return type; }
    int Axis() const { return axis; }
    QString ModelName() const { return modelName; }
    QString Title() const;
    bool ServoOn() const { return servo; }
    bool EditMode() const { return editing; }
    bool Running() const { return running; }
    int EndAction() const { return endAction; }
    const QTimer &Timer() const { return timer; }
    // Whether the window counts as the active one for the replies of its
    // polls; tests may replace it.
    std::function<bool()> windowActive;

    // The shared controls, for the derived windows' layouts and the tests.
    QGroupBox *grpEndAction = nullptr;
    QRadioButton *rbtnEndNoAlarm = nullptr;
    QRadioButton *rbtnEndAlarm = nullptr;
    QGroupBox *grpServo = nullptr;
    QPushButton *btnServoOn = nullptr;
    QPushButton *btnServoOff = nullptr;
    QPushButton *btnEdit = nullptr;
    QPushButton *btnWrite = nullptr;
    QPushButton *btnClose = nullptr;

    // As the buttons do.
    void SetServo(bool on);
    void ClickEdit();
    void ClickWrite();

    void done(int result) override;

protected:
    // Reads the settings from the common area and fills the window; false
    // (a failed read) aborts.
    virtual bool ReadSettings() = 0;
    // Writes the settings marked by the edit cycle; false aborts.
    virtual bool WriteSettings() { return true; }
    // A run request is pending: the tick goes to RunTick instead of the idle
    // poll. RunTick must end with Rearm, Abort or a close.
    virtual bool RunRequested() const { return false; }
    virtual void RunTick() {}
    // The idle tick; by default the shared poll.
    virtual void IdleTick() { IdlePoll(); }
    // Drops every movement request (servo switched, focus lost, closing).
    virtual void MovementStop() {}
    // The run buttons follow servo state and edit mode.
    virtual void UpdateRunButtons() {}
    // Settings that are no line edit (a drop-down) join the edit cycle:
    // remembered when editing begins, restored by "編集中止", and counted as
    // changed by "書き込み".
    virtual void RememberOther() {}
    virtual void RestoreOther() {}
    virtual bool OtherChanged() const { return false; }

    // Builders for the shared parts.
    QLabel *MakeCaution(const QString &text);
    // "閉じる(&C)" at the right of its own row at the end of the layout.
    QPushButton *MakeCloseButton(QBoxLayout *layout);
    // The caution with the warning sign before it, as a row for the layout.
    QHBoxLayout *MakeCautionRow(const QString &text);
    QGroupBox *MakeEndActionGroup();
    QGroupBox *MakeServoGroup(const QString &note = QString());
    // The settings group's edit and write buttons; fields added with
    // AddSetting are read-only outside edit mode and checked on write.
    void MakeEditButtons(QWidget *parent);
    void AddSetting(QLineEdit *field, std::function<bool(const QString &text)> check);
    // "( %d - %d )" and the longer decimal length of the bounds.
    static QString RangeText(qint64 low, qint64 high);
    static int RangeLength(qint64 low, qint64 high);
    // Sets the field's text and the remembered value.
    void SetSettingText(QLineEdit *field, const QString &text);
    void SetEndAction(int action);

    // How an event on a hold-to-run button moves its request: pressed (left
    // mouse button, or Enter/Space while it has the focus), let go (their
    // release, the focus leaving), or neither.
    enum class THold { Press, Release, Other };
    static THold HoldEvent(QEvent *event);

    // Sends one test-run command of the window's kind; a failure aborts and
    // returns false.
    bool Send(TDMTran::TTestRunOp op, uint32_t &reply);
    // The idle poll: role 1 with the servo off, role 3 with it on. Replies
    // count only while the window is active: 1 closes after the not-ready
    // warning, 7 and 8 (servo on) return to servo off with their warning,
    // 0 runs onNormal (false from it: the window aborted, no re-arm).
    // servoOn: the state to poll for (default: the window's); overtravel: a
    // reply 9 with the servo on also switches it off with its warning.
    void IdlePoll(const std::function<bool()> &onNormal = {}, std::optional<bool> servoOn = {},
                  bool overtravel = false);
    // A movement ended with a reply other than 0 (JOG and feed commands):
    // 1 not ready, 7 alarm, 9 overtravel (servo stays), anything else servo
    // on refused. The movement request is dropped and the timer re-armed.
    void EndMovement(uint32_t reply);
    void Rearm();
    void AbortRun();
    void NotReadyClose();
    void Warn(const QString &text);
    bool Confirm(const QString &text);
    bool Active() const;
    // Lets pending window messages run; false when the window has stopped
    // meanwhile (closed or aborted).
    bool LetMessagesRun();
    // Starts the run: servo off, running flag and timer on.
    void StartRunning();

    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

    TAppContext &ctx;
    TDMJog &dm;

private:
    void Tick();
    void LeaveEdit(bool restore);

    int type;
    int axis;
    QString modelName;
    QTimer timer;
    QButtonGroup *endGroup = nullptr;
    bool running = false;
    bool servo = false;
    bool editing = false;
    bool closing = false;
    bool aborting = false;
    bool shown = false;
    int endAction = 0;
    bool endActionDirty = false;
    bool settingsDirty = false;
    struct TSetting {
        QLineEdit *field;
        std::function<bool(const QString &)> check;
        QString remembered;
    };
    QList<TSetting> settings;
};
