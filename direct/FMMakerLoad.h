#pragma once

#include "app/FMProgressView.h"
#include "direct/DMMakerDirect.h"
#include "direct/DMMakerLoad.h"

#include <QDialog>

#include <array>
#include <functional>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TFMHexEdit;
struct TAppContext;

// "Maker Parameter Loading Mode": a parameter file into one amplifier, the
// parameters chosen by type level.
class TFMMakerLoad : public QDialog
{
    Q_OBJECT
public:
    TFMMakerLoad(TAppContext &context, QWidget *owner = nullptr);
    ~TFMMakerLoad() override;

    static void Execute(TAppContext &context, QWidget *owner);

    bool Connected() const { return axis >= 0; }
    int Axis() const { return axis; }
    // The selected load mode, 1 to 3.
    int Mode() const;
    TDMMakerLoad &Module() { return dm; }

    // The file dialog; tests put their own answer here. Empty: cancelled.
    std::function<QString()> AskOpenName;

    QLabel *lblAxis;
    TFMHexEdit *edtAxis;
    QPushButton *btnConnect;
    QGroupBox *grpMode;
    std::array<QRadioButton *, 3> rbtnMode{};
    QPlainTextEdit *memHelp;
    QPushButton *btnLoad;
    QPushButton *btnQuit;

public slots:
    void ConnectClicked();
    void Connect();
    void Disconnect();
    void LoadClicked();

private:
    void SetConnected(bool on);
    void ShowHelp();

    TAppContext &ctx;
    TDMMakerDirect direct;
    TDMMakerLoad dm;
    TFMProgressView progress;
    int axis = -1;
    QString lastFile;
};
