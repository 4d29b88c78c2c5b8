#pragma once

#include "app/DMEnvironment.h"

#include <QList>
#include <QString>
#include <array>

class TMonitorTables;

// The lists of the multi-monitor's settings window and the check and store
// of its sixteen slots.
class TDMMultiMonitorSet
{
public:
    static constexpr int SlotCount = 16;

    struct TEntry {
        QString text; // axis: "#3"; item: page, tab, symbol, tab, name
        int value = -1;
    };
    using TSlots = std::array<TMultiMonitorCell, SlotCount>;

    TDMMultiMonitorSet(TDMEnvironment &environment, TMonitorTables &tables);

    // "#n" for every axis in use, ascending; value: the axis.
    QList<TEntry> AxisEntries() const;
    // The displayed items of the axis's model in page order; value: PAGE_NO.
    QList<TEntry> ItemEntries(int axis);

    TSlots StoredSlots() const;
    // The warning for the shown slots without an axis or an item; empty
    // when every shown slot is complete.
    static QString Problems(const TSlots &cells);
    // Stores all sixteen slots in the settings module.
    void Store(const TSlots &cells);

private:
    TDMEnvironment &env;
    TMonitorTables &tables;
};
