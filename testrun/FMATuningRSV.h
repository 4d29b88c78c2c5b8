#pragma once

#include "testrun/FMRunBase.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "オートチューニング結果保存": every 300 ms the gains the real-time auto-tuning
// has arrived at, next to the parameters as stored; the choice of the
// parameters a save overwrites and the responsiveness for the time the
// window is open; "モニタ値を書き込む" saves with one command. No servo or
// end-action controls: the mode does not move the motor.
class TFMATuningRSV : public TFMRunBase
{
    Q_OBJECT
public:
    TFMATuningRSV(TAppContext &context, TDMJog &module, int axis, const QString &modelName, QWidget *owner = nullptr);

    static constexpr int ResponsivenessMin = 1;
    static constexpr int ResponsivenessMax = 30;

    bool SaveRequested() const { return saveRequested; }
    // "モニタ値を書き込む", as the button does.
    void ClickSave();

    QLineEdit *edtMode = nullptr;
    QLineEdit *edtCharacteristic = nullptr;
    QComboBox *cboxChoice = nullptr;
    QLineEdit *edtResponsiveness = nullptr;
    QPushButton *btnSave = nullptr;
    // KP, KVP, TVI, TCFIL, JRAT: monitored, and as stored.
    std::array<QLineEdit *, 5> edtMonitor{};
    std::array<QLineEdit *, 5> edtStored{};

protected:
    bool ReadSettings() override;
    bool WriteSettings() override;
    bool RunRequested() const override { return saveRequested; }
    void RunTick() override;
    void IdleTick() override;
    void UpdateRunButtons() override;
    void RememberOther() override;
    void RestoreOther() override;
    bool OtherChanged() const override;

private:
    bool CheckResponsiveness(const QString &text);
    bool ReadValues(bool stored);

    bool saveRequested = false;
    int rememberedChoice = -1;
    QString rememberedResponsiveness;
};
