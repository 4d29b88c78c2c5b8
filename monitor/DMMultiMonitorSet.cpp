#include "monitor/DMMultiMonitorSet.h"

#include "monitor/MonitorText.h"
#include "monitor/MonitorTables.h"

#include <QCoreApplication>
#include <QStringList>

TDMMultiMonitorSet::TDMMultiMonitorSet(TDMEnvironment &environment, TMonitorTables &monitorTables)
    : env(environment), tables(monitorTables)
{
}

QList<TDMMultiMonitorSet::TEntry> TDMMultiMonitorSet::AxisEntries() const
{
    QList<TEntry> entries;
    for (int axis = 1; axis <= 15; ++axis)
        if (env.AxisInUse(axis))
            entries.append({QStringLiteral("#%1").arg(QString::number(axis, 16).toUpper()), axis});
    return entries;
}

QList<TDMMultiMonitorSet::TEntry> TDMMultiMonitorSet::ItemEntries(int axis)
{
    QList<TEntry> entries;
    if (!env.AxisInUse(axis))
        return entries;
    for (int row : tables.DisplayedRows(tables.ModelKey(env.AmpCode(axis)))) {
        const TParamDef &d = tables.Definition(row);
        entries.append({MonitorText::PageText(d.pageNo) + u'\t' + d.symbol + u'\t' + d.name, d.pageNo.value_or(-1)});
    }
    return entries;
}

TDMMultiMonitorSet::TSlots TDMMultiMonitorSet::StoredSlots() const
{
    TSlots cells;
    for (int i = 0; i < SlotCount; ++i)
        cells[size_t(i)] = env.MultiMonitorCell(i);
    return cells;
}

QString TDMMultiMonitorSet::Problems(const TSlots &cells)
{
    QStringList lines;
    for (int i = 0; i < SlotCount; ++i) {
        const TMultiMonitorCell &c = cells[size_t(i)];
        if (c.shown && (c.axis < 1 || c.page < 0))
            lines.append(QCoreApplication::translate("TDMMultiMonitorSet",
                                                     "No.%1 の軸番号と表示パラメータを選択してください。")
                             .arg(i, 2));
    }
    return lines.join(QStringLiteral("\r\n"));
}

void TDMMultiMonitorSet::Store(const TSlots &cells)
{
    for (int i = 0; i < SlotCount; ++i)
        env.SetMultiMonitorCell(i, cells[size_t(i)]);
}
