#pragma once

#include "testrun/DMJog.h"

#include <QDialog>
#include <array>
#include <functional>

class QLineEdit;
class QPushButton;
class QRadioButton;
struct TAppContext;
class TDMMachine;
class TFMRunBase;

// The test-function selection window: the user picks the amplifier and
// confirms; the pre-check asks the amplifier whether it can run the function
// (role 1, "busy" answers asked again) and then the function's run window
// opens modally. Ends with Accepted only when the run window did (the
// measurement); the system-analysis window relies on that.
class TFMJog : public QDialog
{
    Q_OBJECT
public:
    // How long "busy" (10) answers to the pre-check are asked again before
    // the not-ready warning: 1000 ms for result save and frequency tuning,
    // and a generous limit for the others so that a stuck amplifier cannot
    // hold the window for ever.
    static constexpr int BusyLimitShortMs = 1000;
    static constexpr int BusyLimitLongMs = 10000;

    TFMJog(TAppContext &context, int type, int axis, QWidget *owner = nullptr);
    ~TFMJog() override;

    // Opens the window modally; its modal result.
    static int Execute(TAppContext &context, int type, int axis, QWidget *owner);

    int Type() const { return type; }
    int SelectedAxis() const { return axis; }
    TDMJog &Module() { return dm; }

    // Refreshes the axis choice (enabled buttons, lowest axis in use, model).
    void RefreshAxes();
    void SelectAxis(int axis);
    // "実行": confirmation, pre-check, run window.
    void ExecuteFunction();

    // Shows a run window modally and returns its result; tests replace it.
    std::function<int(TFMRunBase &)> execRun;
    // The result a measurement (type 3) goes into: the system-analysis
    // window's; without one the measurement has no run window.
    TDMMachine *machine = nullptr;

    std::array<QRadioButton *, 15> rbtnAxis{};
    QLineEdit *edtModel = nullptr;
    QPushButton *btnExec = nullptr;
    QPushButton *btnClose = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    TFMRunBase *CreateRunWindow();

    TAppContext &ctx;
    TDMJog dm;
    int type;
    int axis;
    QString modelName;
    bool shown = false;
};
