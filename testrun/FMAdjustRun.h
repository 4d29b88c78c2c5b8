#pragma once

#include "app/Progress.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;

// The small window shown while a one-shot operation or a tuning runs: a
// warning icon, the progress text, a "Cancel" button for the runs that can
// be stopped and, when its owner asks, the seconds since the run began.
//
// It is not modal: the owner's loop drives it through the TProgress
// interface (Start shows it, Finish hides it) and reads Request() between
// two commands; "Cancel" and the window's close box set rqCancel while the
// button is offered. The owner decides what a cancel means.
//
//   TFMAdjustRun run(this);
//   run.ShowElapsed(true);                  // tunings count the seconds
//   module.SetProgress(&run);
//   ... ShowButtons(cancellable, false); Start(title, text, 0) ...
//   ... while running: processEvents(); if (run.Request() & rqCancel) ...
//   ... Finish()
class TFMAdjustRun final : public QDialog, public TProgress
{
    Q_OBJECT
public:
    explicit TFMAdjustRun(QWidget *owner = nullptr);
    ~TFMAdjustRun() override;

    // The "経過時間:%d秒" label; off unless the owner asks.
    void ShowElapsed(bool on);
    int ElapsedSeconds() const { return elapsed; }

    void Start(const QString &title, const QString &text, int max) override;
    void Step() override {}
    void Finish() override;
    void SetText(const QString &text) override;
    void SetMax(int value) override { max = value; }
    void SetPosition(int value) override { position = value < 0 ? 0 : (value > max ? max : value); }
    int Position() const override { return position; }
    void ShowButtons(bool cancel, bool servoOff) override;
    int Request() const override { return request; }
    void ClearRequest() override { request = rqNone; }
    void Hide() override;
    void Show() override;

    // What "Cancel" does: the cancel request, while the button is offered.
    void CancelPressed();

    QLabel *lblIcon;
    QLabel *lblText;
    QLabel *lblElapsed;
    QPushButton *btnCancel;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void reject() override;

private:
    void Tick();
    void UpdateElapsed();

    QTimer tmrElapsed;
    int elapsed = 0;
    int max = 0;
    int position = 0;
    int request = rqNone;
    bool running = false;
    bool cancelOffered = false;
};
