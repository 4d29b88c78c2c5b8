#pragma once

#include "params/DMUserParameter.h"
#include "params/FMParameterWindow.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTableView;
class TFMParameterTable;

// "一般パラメータ設定": reads an amplifier's general parameters (or those of
// a parameter file), lets the user change them through the edit dialog and
// writes them back (or saves the file). Changes are only marked until then.
class TFMUserParameter : public TFMParameterWindow
{
    Q_OBJECT
public:
    explicit TFMUserParameter(TAppContext &context, QWidget *owner = nullptr);

    // Opens the window modally.
    static void Execute(TAppContext &context, QWidget *owner);

    TDMUserParameter &Module() { return static_cast<TDMUserParameter &>(Base()); }
    TFMParameterTable &Table() { return *table; }
    // The group number of a tab ("Group A" is 10, "-" is -1).
    int TabGroup(int index) const;

    QGroupBox *grpModel;
    QLineEdit *edtMotorModel;
    QLineEdit *edtAmpModel;
    QLineEdit *edtLevel;
    QPushButton *btnLevel;
    QTabBar *tabGroup;
    QTableView *grdMode;
    QPushButton *btnEdit;

public slots:
    void ChangeLevel();
    void EditRow();

protected:
    void TablesOpened() override;
    void ShowSource() override;
    void ValuesChanged() override;

private:
    void BuildWindow();
    void BuildTabs();
    void TabChanged(int index);
    void FitNameColumn();
    void UpdateStatus();
    void RowChanged();

    TFMParameterTable *table;
    int currentTab = -1;
};
