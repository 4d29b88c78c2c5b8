#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;
class TDMEnvironment;

// The display settings of the trace window: colour, line width and mark of
// each channel, colour and width of the two cursors, and grey-scale
// printing. Loads from and, on OK, stores into the settings module.
class TFMTraceColor : public QDialog
{
    Q_OBJECT
public:
    explicit TFMTraceColor(TDMEnvironment &env, QWidget *owner = nullptr);
    // True when the user confirmed (the settings are stored then).
    static bool Execute(TDMEnvironment &env, QWidget *owner);

    std::array<QPushButton *, 10> btnColor{}; // CH1..CH8, t1, t2
    std::array<QSpinBox *, 10> edtWidth{};
    std::array<QComboBox *, 8> cmbMark{};
    QCheckBox *chkGray;

    void accept() override;

private:
    void ShowColor(int i);
    TDMEnvironment &env;
    std::array<QColor, 10> colors;
};
