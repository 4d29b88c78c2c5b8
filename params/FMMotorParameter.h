#pragma once

#include "params/DMMotorParameter.h"
#include "params/FMParameterWindow.h"

class QPushButton;
class QTableView;
class TFMParameterTable;

// "モータパラメータ設定": combines an amplifier with a motor chosen from the
// motor library, writing that motor's parameter set; shows the system items
// of the present combination.
class TFMMotorParameter : public TFMParameterWindow
{
    Q_OBJECT
public:
    explicit TFMMotorParameter(TAppContext &context, QWidget *owner = nullptr);

    static void Execute(TAppContext &context, QWidget *owner);

    TDMMotorParameter &Module() { return static_cast<TDMMotorParameter &>(Base()); }
    TFMParameterTable &SystemTable() { return *systemTable; }
    TFMParameterTable &MotorTable() { return *motorTable; }

    // The motor selection; tests put their own answer here. Takes the
    // preselected name, gives the chosen path (empty: cancelled).
    std::function<QString(const QString &preselect)> AskMotorFile;

    QTableView *sgrdSystem;
    QTableView *sgrdMotor;
    QPushButton *btnSelect;

public slots:
    // "一覧からモータを選択": the dialog, then the chosen file into the inputs.
    void SelectMotor();

protected:
    void ShowSource() override;
    void ValuesChanged() override;

private:
    TFMParameterTable *systemTable;
    TFMParameterTable *motorTable;
};
