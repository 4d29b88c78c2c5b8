#pragma once

#include "testrun/DMAdjust.h"
#include "testrun/FMAdjustRun.h"

#include <QDialog>
#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;
struct TAppContext;

// The one-shot operation window: choose an axis and run one operation of
// the adjustment family (the type, 0..5, see TDMAdjust) on it, as often as
// wanted.
class TFMAdjust : public QDialog
{
    Q_OBJECT
public:
    TFMAdjust(int type, int startAxis, TAppContext &context, QWidget *owner = nullptr);
    ~TFMAdjust() override;

    // Opens the window modally for the type with the starting axis.
    static void Execute(int type, int startAxis, TAppContext &context, QWidget *owner);

    int Type() const { return type; }
    int Axis() const { return axis; }
    TDMAdjust::TOutcome LastOutcome() const { return outcome; }

    std::array<QRadioButton *, 15> rbtnAxis{};
    QLineEdit *edtModel;
    QPushButton *btnExec;
    QPushButton *btnClose;

    TDMAdjust &Module() { return dm; }
    TFMAdjustRun &RunWindow() { return run; }

public slots:
    void ExecuteOperation();
    // Re-reads which axes are in use and the chosen axis's model name.
    void RefreshAxes();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void AxisClicked(int clicked);

    int type;
    int axis;
    TAppContext &ctx;
    TDMAdjust dm;
    TFMAdjustRun run;
    TDMAdjust::TOutcome outcome = TDMAdjust::TOutcome::Declined;
    bool shown = false;
    bool busy = false;
};
