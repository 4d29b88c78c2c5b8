#pragma once

#include "defdb/DecimalSettings.h"
#include "monitor/MonitorTables.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <array>
#include <optional>

struct TAppContext;

// The data behind the multi-monitor: sixteen slots, each an axis and a
// monitor page kept by the settings module, read one at a time with R, and
// the decimal-point settings of every axis.
class TDMMultiMonitor
{
public:
    static constexpr int SlotCount = 16;
    enum TColumn { colNo, colAxis, colPage, colSymbol, colName, colNow, colUnit, ColumnCount };

    explicit TDMMultiMonitor(TAppContext &context);
    ~TDMMultiMonitor();
    TDMMultiMonitor(const TDMMultiMonitor &) = delete;
    TDMMultiMonitor &operator=(const TDMMultiMonitor &) = delete;

    bool OpenTables();
    void CloseTables();

    // The slot is shown and its axis is in use.
    bool Displayable(int slot) const;
    // From slot on, the first displayable slot (at most one round); the
    // slots passed over are forgotten and listed in cleared.
    int Advance(int slot, QList<int> *cleared = nullptr);

    // Every displayable slot's axis gets its decimal-point bytes; the first
    // failed read ends the pass.
    void ReadDecimals();
    const TDecimalSettings &Decimals(int axis) const { return decimals[size_t(std::clamp(axis, 1, 15) - 1)]; }

    // Reads the slot's item with one R. True when the value was read or the
    // slot has nothing to read; false after a failed read (reported, the
    // axis marked).
    bool ReadSlot(int slot);
    // The row's cells; all empty but the number when the slot is not
    // displayable or its model has no such page.
    QString CellText(int slot, TColumn column) const;
    std::optional<qint32> NowValue(int slot) const { return values[size_t(slot)].now; }
    void ForgetSlot(int slot) { values[size_t(slot)] = {}; }

    static QString ColumnTitle(TColumn column, bool japanese);
    // The raw value of an item from the four bytes R read at its even address.
    static qint32 ValueFromWords(int address, int length, quint16 word0, quint16 word1);

    TMonitorTables tables;

private:
    struct TSlotValue {
        int rowId = -1;
        int axis = -1;
        std::optional<qint32> now;
    };

    TAppContext &ctx;
    std::array<TDecimalSettings, 15> decimals{};
    std::array<TSlotValue, SlotCount> values{};
};
