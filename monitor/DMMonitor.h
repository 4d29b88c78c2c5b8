#pragma once

#include "defdb/Buffer.h"
#include "defdb/DecimalSettings.h"
#include "monitor/MonitorTables.h"

#include <QString>
#include <optional>
#include <vector>

struct TAppContext;

// The data behind the monitor window (and the command line's monitor): the
// monitor tables, the memory image of one amplifier's monitor area, the
// displayed items with their last values, and their texts.
class TDMMonitor
{
public:
    enum TColumn { colPage, colSymbol, colName, colNow, colUnit, ColumnCount };

    explicit TDMMonitor(TAppContext &context);
    ~TDMMonitor();
    TDMMonitor(const TDMMonitor &) = delete;
    TDMMonitor &operator=(const TDMMonitor &) = delete;

    bool OpenTables();
    void CloseTables();

    // The decimal-point bytes of the axis (see TMonitorTables::ReadDecimals).
    bool ReadDecimals(int axis);
    const TDecimalSettings &Decimals() const { return decimals; }

    // Reads the displayed items of the axis in 8-byte M blocks over their
    // span. With rebuild, the row set and image follow the axis's model
    // first (and every value is forgotten). False when a read failed: the
    // transaction layer has reported it and marked the axis.
    bool ReadValues(int axis, bool rebuild);
    // Positions whose value changed in the last ReadValues.
    const std::vector<int> &ChangedRows() const { return changed; }

    int RowCount() const { return int(rows.size()); }
    const TParamDef &Definition(int position) const { return tables.Definition(rows[size_t(position)]); }
    std::optional<qint32> NowValue(int position) const { return now[size_t(position)]; }
    QString CellText(int position, TColumn column) const;
    static QString ColumnTitle(TColumn column);

    // The span the last rebuild computed ([first, end), even addresses);
    // first == end when nothing is read.
    qint64 SpanFirst() const { return spanFirst; }
    qint64 SpanEnd() const { return spanEnd; }
    const TBuffer &Image() const { return image; }

    TMonitorTables tables;

private:
    void Rebuild(int axis);

    TAppContext &ctx;
    TDecimalSettings decimals;
    TBuffer image;
    std::vector<int> rows;                 // row ids in PAGE_NO order
    std::vector<std::optional<qint32>> now; // NOW_VALUE per position
    std::vector<int> changed;
    qint64 spanFirst = 0, spanEnd = 0;
};
