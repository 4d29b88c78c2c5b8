#pragma once

#include "trace/DMTraceSetting.h"

#include <QDialog>

#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TDMTrace;

// The operation-trace settings dialog ("運転トレース設定") on a copy of the
// window's setting: mode, sampling multiplier, the eight channels with their
// trigger buttons, edge, level and position. On OK it checks the ranges and
// keeps the dialog open with the warnings when something is out of range.
class TFMTraceSetting : public QDialog
{
    Q_OBJECT
public:
    TFMTraceSetting(TDMTrace &dm, int ampCode, const TTraceSetting &setting, QWidget *owner = nullptr);
    // Edits the setting; true when the user confirmed.
    static bool Execute(TDMTrace &dm, int ampCode, TTraceSetting &setting, QWidget *owner);

    TTraceSetting Result() const;
    void accept() override;

    QComboBox *cmbMode, *cmbEdge;
    QSpinBox *edtSampling, *edtPosition;
    QLineEdit *edtLevel, *edtPeriod, *edtTime;
    QLabel *lblSamplingRange, *lblLevelRange, *lblBase;
    std::array<QComboBox *, 8> cmbChannel{};
    std::array<QLabel *, 4> lblUnit{};
    std::array<QRadioButton *, 9> rbTrigger{}; // CH1..CH8, none
    QPushButton *btnOpen;

private:
    void Fill(const TTraceSetting &s);
    void ApplyMode();
    void UpdateFields();

    TDMTrace &dm;
    TDMTraceSetting lists;
};
