#pragma once

#include "testrun/FMRunBase.h"

class QLineEdit;
class QLabel;
class QPushButton;

// "速度JOG運転": turns the motor at the speed command for as long as a
// direction button is held down (mouse button, or Enter/Space while it has
// the focus). Letting go, the button or the window losing the focus, a servo
// switch and closing all end the movement at once.
class TFMVJogRun : public TFMRunBase
{
    Q_OBJECT
public:
    enum class TRequest { None, Forward, Reverse };

    TFMVJogRun(TAppContext &context, TDMJog &module, int axis, const QString &modelName, QWidget *owner = nullptr);

    TRequest Request() const { return request; }

    QLineEdit *edtSpeed = nullptr;
    QLabel *lblUnit = nullptr;
    QLabel *lblRange = nullptr;
    QPushButton *btnForward = nullptr;
    QPushButton *btnReverse = nullptr;

protected:
    bool ReadSettings() override;
    bool WriteSettings() override;
    bool RunRequested() const override { return request != TRequest::None; }
    void RunTick() override;
    void IdleTick() override;
    void MovementStop() override;
    void UpdateRunButtons() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TRequest request = TRequest::None;
};
