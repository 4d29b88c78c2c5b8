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
    static constexpr int ItemRows = SystemItemRows;

    TDMSystemParameter(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment, TDMTran &tran);

    // Reads the system items of the axis with R, then the decimal-point
    // settings; clears every input. Without a SYSTEM row nothing is read.
    bool ReadFromAmplifier(int axis) override;
    // Every row of the model from the file, when the model has a SYSTEM row.
    bool LoadFromFile(const QString &fileName) override;
    // The changed inputs of the model's rows.
    bool WriteToAmplifier(int axis) override;

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

private:
    bool ReadItem(int axis, qint64 address);
};
