#pragma once

#include "params/DMLoadSave.h"
#include "app/FMProgressView.h"
#include "app/AppContext.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "パラメータの転送": the whole parameter area of an axis into a new file,
// or chosen kinds of parameters from a file into an axis.
class TFMLoadSave : public QDialog
{
    Q_OBJECT
public:
    enum class TDirection { AmpToFile, FileToAmp };

    TFMLoadSave(TDirection direction, int startAxis, TAppContext &context, QWidget *owner = nullptr);
    ~TFMLoadSave() override;

    // Opens the window modally for the direction and starting axis.
    static void Execute(TDirection direction, int startAxis, TAppContext &context, QWidget *owner);

    TDirection Direction() const { return direction; }
    int Axis() const { return axis; }
    QString FileName() const;
    void SetFileName(const QString &name);
    // The kinds checked (TDMLoadSave::TKind bits).
    int Kinds() const;

    // The file dialogs; tests put their own answers here. Empty: cancelled.
    std::function<QString(const QString &current)> AskSaveName;
    std::function<QString(const QString &current)> AskOpenName;

    QGroupBox *grpAmplifier;
    std::array<QRadioButton *, 15> rbtnAxis{};
    QLabel *lblModel;
    QLineEdit *edtModel;
    QGroupBox *grpFile;
    QLabel *lblFile;
    QLineEdit *edtFile;
    QPushButton *btnBrowse;
    QGroupBox *grpKind;
    QCheckBox *cboxGeneral;
    QCheckBox *cboxSystem;
    QCheckBox *cboxMotor;
    QPushButton *btnExecute;
    QPushButton *btnExit;

    TDMLoadSave &Module() { return dm; }

public slots:
    void Browse();
    void ExecuteTransfer();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void SelectAxis();
    void AxisClicked(int clicked);
    void UpdateExecute();
    QString DefaultSaveName(const QString &current);
    QString DefaultOpenName(const QString &current);

    TDirection direction;
    int axis;
    TAppContext &ctx;
    TDMLoadSave dm;
    TFMProgressView progress;
    bool shown = false;
    bool busy = false;
};
