#include "monitor/DMMonitor.h"

#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "comm/DMTran.h"
#include "monitor/MonitorText.h"

#include <QCoreApplication>
#include <algorithm>

TDMMonitor::TDMMonitor(TAppContext &context) : ctx(context) {}

TDMMonitor::~TDMMonitor()
{
    CloseTables();
}

bool TDMMonitor::OpenTables()
{
    rows.clear();
    now.clear();
    return tables.Open(ctx.intf, ctx.env.Japanese);
}

void TDMMonitor::CloseTables()
{
    rows.clear();
    now.clear();
    tables.Close();
}

bool TDMMonitor::ReadDecimals(int axis)
{
    return TMonitorTables::ReadDecimals(ctx.tran, axis, decimals);
}

void TDMMonitor::Rebuild(int axis)
{
    const int code = ctx.env.AmpCode(axis);
    const int key = tables.ModelKey(code);
    image = TBuffer();
    image.ampCode = code;
    qint64 first = 0, end = 0;
    tables.ModelArea(key, first, end);
    image.startAddress = qint32(first);
    image.words = QList<quint16>((end - first) / 2, 0);

    rows = tables.DisplayedRows(key);
    now.assign(rows.size(), std::nullopt);
    spanFirst = spanEnd = 0;
    bool any = false;
    for (int r : rows) {
        const TParamDef &d = tables.Definition(r);
        const qint64 e = qint64(d.address) + d.length;
        spanFirst = any ? std::min<qint64>(spanFirst, d.address) : d.address;
        spanEnd = any ? std::max(spanEnd, e) : e;
        any = true;
    }
    spanFirst &= ~qint64(1);
    spanEnd = (spanEnd + 1) & ~qint64(1);
}

bool TDMMonitor::ReadValues(int axis, bool rebuild)
{
    changed.clear();
    if (rebuild)
        Rebuild(axis);
    if (rows.empty())
        return true;
    for (qint64 a = spanFirst; a < spanEnd; a += 8) {
        TDMTran::TWords words{};
        if (!ctx.tran.ReadWords8(axis, uint32_t(a), 4, words))
            return false;
        const qint64 index = (a - image.startAddress) / 2;
        for (int k = 0; k < 4; ++k)
            if (index + k >= 0 && index + k < image.words.size())
                image.words[index + k] = words[size_t(k)];
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        const TParamDef &d = tables.Definition(rows[i]);
        const qint32 v = ImageValue(image, d.address, d.length);
        if (now[i] != v) {
            now[i] = v;
            changed.push_back(int(i));
        }
    }
    return true;
}

QString TDMMonitor::CellText(int position, TColumn column) const
{
    if (position < 0 || position >= RowCount())
        return QString();
    const TParamDef &d = Definition(position);
    switch (column) {
    case colPage: return MonitorText::PageText(d.pageNo);
    case colSymbol: return d.symbol;
    case colName: return d.name;
    case colNow: return MonitorText::ValueText(now[size_t(position)], d, decimals, tables.TableData());
    case colUnit: return MonitorText::UnitText(d, decimals.unitSelector);
    default: return QString();
    }
}

QString TDMMonitor::ColumnTitle(TColumn column)
{
    switch (column) {
    case colPage: return QCoreApplication::translate("TDMMonitor", "ﾍﾟｰｼﾞ");
    case colSymbol: return QCoreApplication::translate("TDMMonitor", "シンボル");
    case colName: return QCoreApplication::translate("TDMMonitor", "名称");
    case colNow: return QCoreApplication::translate("TDMMonitor", "現在値");
    case colUnit: return QCoreApplication::translate("TDMMonitor", "単位");
    default: return QString();
    }
}
