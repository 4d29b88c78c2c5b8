#pragma once

#include "sysanalysis/DMMachine.h"

#include <QMessageBox>
#include <QPointer>

class QWidget;

// The box shown while the analyser runs: the waiting text with the elapsed
// time and only a Cancel button, centred on the screen and without
// title-bar buttons; the owner window is disabled meanwhile.
class TFMAnalyserWait final : public TAnalyserWait
{
public:
    explicit TFMAnalyserWait(QWidget *owner);
    ~TFMAnalyserWait() override;

    void Begin() override;
    bool Step(int seconds) override;
    void End() override;

    QMessageBox *Box() const { return box; }

private:
    QWidget *owner;
    QPointer<QMessageBox> box;
    bool cancelled = false;
};
