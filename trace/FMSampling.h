#pragma once

#include "trace/TraceWaitView.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The window shown while the amplifier waits for the trigger and records:
// the state, the time left, "サンプリング停止(&S)" (stop sampling and read
// what is there) and "キャンセル" (give up without reading).
class TFMSampling : public QDialog, public TTraceWaitView
{
    Q_OBJECT
public:
    explicit TFMSampling(QWidget *owner = nullptr);

    void ShowWaiting() override;
    void ShowRecording(double remainingSeconds) override;
    void HideWait() override { hide(); }
    bool TakeStopRequest() override { return std::exchange(stopRequested, false); }
    bool WaitCancelled() const override { return cancelled; }

    QLabel *lblText;
    QPushButton *btnStop;
    QPushButton *btnCancel;

protected:
    void reject() override;

private:
    bool stopRequested = false;
    bool cancelled = false;
};
