#include "monitor/MonitorText.h"

#include "defdb/ValueCodec.h"

namespace {

const QString Unshowable = QString::fromUtf16(ValueCodec::kUnshowable);

// The range check of the numeric forms.
std::optional<QString> OutOfRange(qint64 v, qint64 min, qint64 max)
{
    if (v < min)
        return MonitorText::UnderMinimum();
    if (v > max)
        return MonitorText::OverMaximum();
    return std::nullopt;
}

} // namespace

namespace MonitorText {

QString UnderMinimum()
{
    return QStringLiteral("Under minimum");
}

QString OverMaximum()
{
    return QStringLiteral("Over maximum");
}

QString FixedText(qint64 value, int places)
{
    if (places <= 0)
        return QString::number(value);
    // Integer digits with the point inserted: no rounding can creep in.
    const bool negative = value < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(value) : quint64(value);
    QString digits = QString::number(magnitude).rightJustified(places + 1, u'0');
    digits.insert(digits.size() - places, u'.');
    return negative ? u'-' + digits : digits;
}

QString ValueText(std::optional<qint32> now, const TParamDef &def, const TDecimalSettings &settings,
                  const TTableDataRows &tableData)
{
    if (!now || def.length == 0)
        return QString();
    const int form = def.dataForm;
    const bool isSigned = form == 2 || form == 8 || form == 9 || form == 10;
    auto widen = [&](qint32 raw) {
        return isSigned ? ValueCodec::WidenSigned(raw, def.length) : ValueCodec::WidenUnsigned(raw, def.length);
    };
    const qint64 v = widen(*now), min = widen(def.minValue), max = widen(def.maxValue);
    const int power = def.perPowerOf10.value_or(0);
    switch (form) {
    case 1:
    case 2:
        return OutOfRange(v, min, max).value_or(QString::number(v));
    case 3:
        return OutOfRange(v, min, max).value_or(
            QStringLiteral("%1 H").arg(QString::number(v, 16).toUpper().rightJustified(2 * def.length, u'0')));
    case 4:
        if (power <= 0)
            return Unshowable;
        return OutOfRange(v, min, max).value_or(FixedText(v, power));
    case 5:
        return Unshowable;
    case 6:
        return QStringLiteral("%1 H").arg(QString::number(quint32(*now), 16).toUpper().rightJustified(2, u'0'));
    case 7:
        for (const TTableDataRow &row : tableData)
            if (def.tableId && row.tableId == *def.tableId && row.value == *now)
                return row.name;
        return Unshowable;
    case 8:
        if (power < 0)
            return Unshowable;
        return OutOfRange(v, min, max).value_or(FixedText(v, power));
    case 9:
        return OutOfRange(v, min, max).value_or(FixedText(v, settings.places9));
    case 10:
        return OutOfRange(v, min, max).value_or(FixedText(v, settings.places10));
    default:
        return QString();
    }
}

QString UnitText(const TParamDef &def, int unitSelector)
{
    if (def.dataForm == 9 || def.dataForm == 10) {
        if (unitSelector == 1)
            return def.unit2;
        if (unitSelector == 2)
            return def.unit3;
    }
    return def.unit;
}

QString PageText(std::optional<qint32> pageNo)
{
    return ValueCodec::PageText(pageNo);
}

} // namespace MonitorText
