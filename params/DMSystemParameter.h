#pragma once

#include "params/DMParameterBase.h"
#include "params/ParameterGrid.h"

#include <QStringList>

// The data behind the system parameter window: every AMP_PARA row of the
// model, the model's SYSTEM row naming the items' addresses, and the
// sixteen fixed rows of its grid. Items are read one by one.
class TDMSystemParameter : public TDMParameterBase
{
public:
    enum TColumn { colPage, colName, colNow, colInput, ColumnCount };
    static constexpr int ItemRows = 16;

    TDMSystemParameter(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment, TDMTran &tran);

    // Reads the system items of the axis with R, then the decimal-point
    // settings; clears every input. Without a SYSTEM row nothing is read.
    bool ReadFromAmplifier(int axis) override;
    // Every row of the model from the file, when the model has a SYSTEM row.
    bool LoadFromFile(const QString &fileName) override;
    // The changed inputs of the model's rows.
    bool WriteToAmplifier(int axis) override;

    // The model has a SYSTEM row (after a read or load).
    bool HasSystemRow() const { return systemRow; }
    // The address in a SYSTEM field ("MOTDAT_ADDRESS"); null without one.
    TValue SystemField(const QString &field) const;
    // Row 12: "TEXT(c1-c2)" from the combined-motor block, or "-----".
    QString CombinedMotorText() const;

    // --- The grid ------------------------------------------------------------
    int GridRowCount() const { return RowCount() == 0 ? 1 : ItemRows; }
    QString GridText(int row, int column) const;
    // Rows 1 to 5 and 12 (counted from 1) are not edited.
    static bool Editable(int row);
    bool GridInputRed(int row) const;
    TParameterGrid Grid() const;
    // The edit dialog for an item row; true when its input changed. A row
    // without a parameter row does nothing.
    bool EditItem(int row);

protected:
    void TablesOpened() override;
    // The filter of the window's rows for a model.
    virtual QString ModelFilter(int key) const;
    // The SYSTEM fields read, in order; the combined-motor words follow the
    // field "MOTDAT_ADDRESS" itself (seven words).
    virtual QStringList ReadOrder() const;
    // Filters the rows of the model and locates its SYSTEM row.
    void SelectModel(int key);
    // The item at a SYSTEM address field: its row id or -1.
    int ItemRow(const QString &field) const;
    QString ItemNowText(const QString &field, const QString &missing) const;

private:
    bool ReadItem(int axis, qint64 address);

    bool systemRow = false;
};
