#pragma once

#include "direct/FMMakerWindow.h"

#include <QTimer>

class QPushButton;

// "Maker Parameter Monitor Mode": four words of amplifier memory by address,
// read again every 300 ms.
class TFMMakerMonitor : public TFMMakerWindow
{
    Q_OBJECT
public:
    static constexpr int PollMs = 300;

    TFMMakerMonitor(TAppContext &context, QWidget *owner = nullptr);

    static void Execute(TAppContext &context, QWidget *owner);

    bool Polling() const { return polling; }

    QPushButton *btnAddPlus8;
    QTimer tmrReadParam;

public slots:
    void done(int result) override;

protected:
    void Jumped() override;
    void StopWork() override;
    void StateChanged() override;

private:
    void Tick();

    bool polling = false;
};
