#pragma once

#include "params/DMSystemParameter.h"
#include "params/FMParameterWindow.h"

class QPushButton;
class QTableView;
class TFMParameterTable;

// "システムパラメータ設定": the sixteen system items of an amplifier (or of a
// parameter file) in fixed rows; the editable ones are changed through the
// edit dialog and written back or saved.
class TFMSystemParameter : public TFMParameterWindow
{
    Q_OBJECT
public:
    explicit TFMSystemParameter(TAppContext &context, QWidget *owner = nullptr);

    static void Execute(TAppContext &context, QWidget *owner);

    TDMSystemParameter &Module() { return static_cast<TDMSystemParameter &>(Base()); }
    TFMParameterTable &Table() { return *table; }
    // The item row (1..16) of the grid's current row; 0 for none.
    int CurrentItem() const;

    QTableView *sgrdSystem;
    QPushButton *btnEdit;

public slots:
    void EditRow();

protected:
    void ShowSource() override;
    void ValuesChanged() override;

private:
    void RowChanged();

    TFMParameterTable *table;
};
