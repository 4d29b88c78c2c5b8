#pragma once

#include "testrun/FMRunBase.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

// "パルス送りJOG運転": one feed of the set number of pulses at the set speed
// per click on a direction button, which stays down while its feed runs.
// Shows the current-position and position-deviation monitors.
class TFMPJogRun : public TFMRunBase
{
    Q_OBJECT
public:
    enum class TRequest { None, Forward, Reverse };

    TFMPJogRun(TAppContext &context, TDMJog &module, int axis, const QString &modelName, QWidget *owner = nullptr);

    TRequest Request() const { return request; }
    bool StopRequested() const { return stopRequest; }

    QLineEdit *edtFeed = nullptr;
    QLineEdit *edtSpeed = nullptr;
    QLabel *lblUnit = nullptr;
    QPushButton *btnForward = nullptr;
    QPushButton *btnReverse = nullptr;
    QPushButton *btnStop = nullptr;
    QLineEdit *edtApmon = nullptr;
    QLineEdit *edtPmon = nullptr;

protected:
    bool ReadSettings() override;
    bool WriteSettings() override;
    bool RunRequested() const override { return request != TRequest::None; }
    void RunTick() override;
    void IdleTick() override;
    void MovementStop() override;
    void UpdateRunButtons() override;

private:
    bool ShowMonitors();
    void ReleaseFeedButtons();

    TRequest request = TRequest::None;
    bool stopRequest = false;
};
