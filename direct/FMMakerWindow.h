#pragma once

#include "direct/DMMakerDirect.h"

#include <QDialog>

#include <array>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class TFMHexEdit;
struct TAppContext;

// What the direct parameter and direct monitor windows share: the axis
// connect, the base address with its jump and navigation, and the four
// present words. State 0: not connected; 1: connected, no address shown;
// 2: an address shown. Their texts are English whatever the display
// language. The windows derive and add their own column and buttons.
class TFMMakerWindow : public QDialog
{
    Q_OBJECT
public:
    enum TState { stNotConnected = 0, stConnected = 1, stShown = 2 };

    TState State() const { return state; }
    // The connected axis, -1 when not connected.
    int Axis() const { return axis; }
    uint32_t Base() const { return base; }
    TDMMakerDirect &Module() { return dm; }

    TFMHexEdit *edtAxis;
    QPushButton *btnConnect;
    TFMHexEdit *edtAddress;
    QPushButton *btnJump;
    QLabel *lblAxis;
    QLabel *lblBase;
    QLabel *lblAddressHead;
    QLabel *lblData;
    QLabel *lblPresentHead;
    std::array<QLabel *, 4> lblAddress{};
    std::array<QLabel *, 4> pnlPresent{};
    QPushButton *btnAddMinus2;
    QPushButton *btnAddPlus2;
    QPushButton *btnQuit;

public slots:
    // "&CONNECT" / "DIS&CONNECT".
    void ConnectClicked();
    void Connect();
    void Disconnect();
    // The address box's value (empty or not hex: refused).
    void JumpFromBox();
    // a below 0 stands for an empty box.
    void JumpTo(qint64 a);

protected:
    TFMMakerWindow(TAppContext &context, const QString &name, const QString &caption, QWidget *owner);

    // After a valid jump to Base(): read, or start polling.
    virtual void Jumped() = 0;
    // Stop whatever runs on its own (polling) before the state changes.
    virtual void StopWork() {}
    // The window's own controls follow the state.
    virtual void StateChanged() {}

    // Reads the four words at Base(); a failure has been reported and the
    // window is back in state 0.
    bool ReadPresent(TDMMakerDirect::TWords &words);
    void ShowPresent(int i, uint16_t value);
    uint16_t PresentValue(int i) const;
    // After a failed exchange: state 0, focus on the axis box.
    void Lost();
    void SetState(TState s);

    void changeEvent(QEvent *event) override;

    TAppContext &ctx;
    TDMMakerDirect dm;
    QGridLayout *grid;       // rows 0..: axis, base, heads, words 0..3
    QHBoxLayout *buttonRow;  // navigation and window buttons
    static constexpr int FirstWordRow = 4;

private:
    TState state = stNotConnected;
    int axis = -1;
    uint32_t base = TDMMakerDirect::DefaultBase;
};
