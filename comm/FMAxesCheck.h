#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QPushButton;
class QTableWidget;
class TDMEnvironment;
class TDMMain;
class TTranAmp;

// "通信状態の確認": identifies each selected axis with H0 and looks its code
// up in the AMPLIFIER table. Shows no message boxes: each axis's outcome is
// its state text. Closing it lets the main window choose the first axis in
// use (which takes the line offline when there is none).
class TFMAxesCheck : public QDialog
{
    Q_OBJECT
public:
    TFMAxesCheck(QWidget *owner, TDMEnvironment &environment, TTranAmp *engine, TDMMain &mainTables,
                 std::function<int()> firstAxisInUse);

    // The state texts.
    static QString Connected() { return tr("Connected"); }
    static QString NotCorresponding() { return tr("Not corresponding"); }
    static QString Error() { return tr("Error"); }
    static QString Overlap() { return tr("Overlap"); }
    static QString NotConnected() { return tr("Not connected"); }

    // The state cell of an axis (1 to 15).
    QString State(int axis) const;
    // Rows handled in the current (or last) check pass.
    int RowsHandled() const { return rowCounter; }
    bool Checking() const { return checking; }

    // One pass over the fifteen axes ("確認(&C)").
    void Check();

    QTableWidget *grdState;
    std::array<QCheckBox *, 15> cboxAxis{};
    QPushButton *btnCheck;
    QPushButton *btnClose;

public slots:
    void done(int result) override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void UpdateCheckButton();
    void PaintRows();

    TDMEnvironment &env;
    TTranAmp *amp;
    TDMMain &dmMain;
    std::function<int()> firstAxis;
    int rowCounter = 0;
    bool checking = false;
    bool stopRequested = false;
};
