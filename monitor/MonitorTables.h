#pragma once

#include "defdb/DataSet.h"
#include "defdb/DecimalSettings.h"
#include "defdb/ParamDef.h"

#include <optional>
#include <vector>

class TDMInterface;
class TDMTran;

// The monitor set of the definition database as both monitor windows use it:
// AMPLIFIER, the monitor AMP_PARA with its PARAMETER lookups and the code
// texts, loaded when a window opens and closed with it. The definitions are
// read once per load so that a refresh never walks the tables.
class TMonitorTables
{
public:
    TMonitorTables();
    ~TMonitorTables();
    TMonitorTables(const TMonitorTables &) = delete;
    TMonitorTables &operator=(const TMonitorTables &) = delete;

    // Loads the four tables in the display language; false when one failed
    // (the others stay loaded, the missing one is empty).
    bool Open(TDMInterface &intf, bool japanese);
    void Close();

    // AMPLIFIER.ID of the code, -1 when the code is unknown.
    int ModelKey(int code);

    // Row ids of the model's displayed items (those with a PAGE_NO) in
    // PAGE_NO order.
    std::vector<int> DisplayedRows(int key);
    // The row of the model's item on that page, or -1.
    int RowOfPage(int key, int page);
    // The model's whole monitor area, rows without a page included, widened
    // to even addresses; first == end when the model has no rows.
    void ModelArea(int key, qint64 &first, qint64 &end) const;

    const TParamDef &Definition(int rowId) const { return definitions[size_t(rowId)]; }
    const TTableDataRows &TableData() const { return tableData; }

    // Reads the decimal-point bytes of the axis with R. A failed read of a
    // decimal count sets both counts to 0 and leaves the unit selector as it
    // was; false then (the transaction layer has reported it).
    static bool ReadDecimals(TDMTran &tran, int axis, TDecimalSettings &settings);

    TDataSet cdsAmplifier;
    TDataSet cdsParameter;
    TDataSet cdsAmp_Para;
    TDataSet cdsTable_Data;

private:
    std::vector<TParamDef> definitions; // by row id
    TTableDataRows tableData;
};
