#pragma once

#include <QColor>
#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;
class TDMEnvironment;

// The display settings of the system-analysis window: colour, width and
// mark of the gain and phase curves, colour and width of the two cursors,
// and grey-scale printing. Loads from the settings when shown and stores
// into them on OK.
class TFMMachineColor : public QDialog
{
    Q_OBJECT
public:
    TFMMachineColor(TDMEnvironment &env, QWidget *owner = nullptr);
    static bool Execute(TDMEnvironment &env, QWidget *owner);

    // Gain, Phase, t1, t2.
    std::array<QPushButton *, 4> btnColor{};
    std::array<QSpinBox *, 4> edtWidth{};
    std::array<QComboBox *, 2> cmbMark{};
    QCheckBox *chkGray;
    std::array<QColor, 4> colors;
    void SetColor(int item, const QColor &color);

    void accept() override;

private:
    TDMEnvironment &env;
};
