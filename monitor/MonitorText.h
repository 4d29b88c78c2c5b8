#pragma once

#include "defdb/DecimalSettings.h"
#include "defdb/ParamDef.h"

#include <QString>
#include <optional>

// How the monitor windows show a monitor item. Unlike the parameter grids
// they check every numeric value against the item's range ("Under minimum",
// "Over maximum") and show a fraction as unshowable.
namespace MonitorText {

QString UnderMinimum();
QString OverMaximum();

// The value cell; empty while no value was read and for LENGTH 0.
QString ValueText(std::optional<qint32> now, const TParamDef &def, const TDecimalSettings &settings,
                  const TTableDataRows &tableData);
// UNIT, or UNIT2 / UNIT3 for DATAFORM 9 and 10 by the unit selector.
QString UnitText(const TParamDef &def, int unitSelector);
// PAGE_NO as at least two upper-case hexadecimal digits; nothing for null.
QString PageText(std::optional<qint32> pageNo);
// value / 10^places written with exactly that many places ("-1.500").
QString FixedText(qint64 value, int places);

} // namespace MonitorText
