#include "monitor/DMMultiMonitor.h"

#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "comm/DMTran.h"
#include "monitor/DMMonitor.h"
#include "monitor/MonitorText.h"

#include <QCoreApplication>

TDMMultiMonitor::TDMMultiMonitor(TAppContext &context) : ctx(context) {}

TDMMultiMonitor::~TDMMultiMonitor()
{
    CloseTables();
}

bool TDMMultiMonitor::OpenTables()
{
    values = {};
    return tables.Open(ctx.intf, ctx.env.Japanese);
}

void TDMMultiMonitor::CloseTables()
{
    values = {};
    tables.Close();
}

bool TDMMultiMonitor::Displayable(int slot) const
{
    const TMultiMonitorCell cell = ctx.env.MultiMonitorCell(slot);
    return cell.shown && ctx.env.AxisInUse(cell.axis);
}

int TDMMultiMonitor::Advance(int slot, QList<int> *cleared)
{
    slot = ((slot % SlotCount) + SlotCount) % SlotCount;
    for (int i = 0; i < SlotCount; ++i) {
        if (Displayable(slot))
            return slot;
        values[size_t(slot)] = {};
        if (cleared)
            cleared->append(slot);
        slot = (slot + 1) % SlotCount;
    }
    return slot;
}

void TDMMultiMonitor::ReadDecimals()
{
    for (TDecimalSettings &d : decimals)
        d.places9 = d.places10 = 0;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!Displayable(slot))
            continue;
        const int axis = ctx.env.MultiMonitorCell(slot).axis;
        if (!TMonitorTables::ReadDecimals(ctx.tran, axis, decimals[size_t(axis - 1)]))
            return;
    }
}

qint32 TDMMultiMonitor::ValueFromWords(int address, int length, quint16 word0, quint16 word1)
{
    switch (length) {
    case 1: return (address & 1) ? word0 >> 8 : word0 & 0xFF;
    case 2: return word0;
    case 4: return qint32(quint32(word0) | (quint32(word1) << 16));
    default: return 0;
    }
}

bool TDMMultiMonitor::ReadSlot(int slot)
{
    TSlotValue &v = values[size_t(slot)];
    const TMultiMonitorCell cell = ctx.env.MultiMonitorCell(slot);
    if (cell.axis < 1 || cell.axis > 15) {
        v = {};
        return true;
    }
    const int key = tables.ModelKey(ctx.env.AmpCode(cell.axis));
    const int row = tables.RowOfPage(key, cell.page);
    if (row < 0) {
        v = {};
        return true;
    }
    const TParamDef &d = tables.Definition(row);
    // A byte at an odd address is the high half of the word below it.
    const int address = (d.length == 1) ? (d.address & ~1) : d.address;
    TDMTran::TWords w{};
    const bool ok = ctx.tran.ReadWords4(cell.axis, uint32_t(address), 2, w);
    const qint32 value = ok ? ValueFromWords(d.address, d.length, w[0], w[1]) : 0;
    if (v.rowId != row || v.now != value || v.axis != cell.axis)
        v = {row, cell.axis, value};
    return ok;
}

QString TDMMultiMonitor::CellText(int slot, TColumn column) const
{
    if (column == colNo)
        return QString::asprintf("%2d", slot);
    const TSlotValue &v = values[size_t(slot)];
    if (v.rowId < 0 || !Displayable(slot))
        return QString();
    const TParamDef &d = tables.Definition(v.rowId);
    const TDecimalSettings &s = Decimals(v.axis);
    switch (column) {
    case colAxis: return QStringLiteral("#%1").arg(QString::number(v.axis, 16).toUpper());
    case colPage: return MonitorText::PageText(d.pageNo);
    case colSymbol: return d.symbol;
    case colName: return d.name;
    case colNow: return MonitorText::ValueText(v.now, d, s, tables.TableData());
    case colUnit: return MonitorText::UnitText(d, s.unitSelector);
    default: return QString();
    }
}

QString TDMMultiMonitor::ColumnTitle(TColumn column, bool japanese)
{
    switch (column) {
    case colNo: return QStringLiteral("No.");
    case colAxis: return QCoreApplication::translate("TDMMultiMonitor", "軸番号");
    case colPage: return TDMMonitor::ColumnTitle(TDMMonitor::colPage);
    case colSymbol: return TDMMonitor::ColumnTitle(TDMMonitor::colSymbol);
    case colName: return japanese ? TDMMonitor::ColumnTitle(TDMMonitor::colName) : QStringLiteral("Name");
    case colNow: return TDMMonitor::ColumnTitle(TDMMonitor::colNow);
    case colUnit: return TDMMonitor::ColumnTitle(TDMMonitor::colUnit);
    default: return QString();
    }
}
