#pragma once

#include "direct/FMMakerWindow.h"

#include <array>

class QLabel;
class QPushButton;
class TFMHexEdit;

// "Maker Parameter Setting Mode ( EEPROM Write )": four words of amplifier
// memory by address, each written back on its own or all four at once.
class TFMMakerParameter : public TFMMakerWindow
{
    Q_OBJECT
public:
    TFMMakerParameter(TAppContext &context, QWidget *owner = nullptr);

    static void Execute(TAppContext &context, QWidget *owner);

    std::array<TFMHexEdit *, 4> edtNew{};
    std::array<QPushButton *, 4> btnSet{};
    QLabel *lblNew;
    QLabel *lblSetting;
    QLabel *lblValue;
    QPushButton *btnAllSet;
    QPushButton *btnRefresh;

public slots:
    // Word i (0 to 3, at Base() + 2i).
    void SetWord(int i);
    void SetAll();

protected:
    void Jumped() override;
    void StateChanged() override;

private:
    // The fresh words when the shown ones still hold for the words in
    // mask (bit i: word i), or after the user said Yes; false for No
    // (fresh values shown for the words in mask), Cancel, or a failed read.
    bool ConfirmFresh(unsigned mask);
    // P of word i; false after a refusal or a failure (then state 0).
    bool Write(int i, uint16_t value);
};
