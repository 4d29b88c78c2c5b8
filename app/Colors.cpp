#include "app/Colors.h"

#include <array>

namespace {

struct TColorName {
    TColor color;
    const char *name;
};

// Names written back come first; clDkGray and clLtGray are read only.
constexpr std::array<TColorName, 22> kNames{{
    {clBlack, "clBlack"},       {clMaroon, "clMaroon"},   {clGreen, "clGreen"},
    {clOlive, "clOlive"},       {clNavy, "clNavy"},       {clPurple, "clPurple"},
    {clTeal, "clTeal"},         {clGray, "clGray"},       {clSilver, "clSilver"},
    {clRed, "clRed"},           {clLime, "clLime"},       {clYellow, "clYellow"},
    {clBlue, "clBlue"},         {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"},
    {clWhite, "clWhite"},       {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},       {clMedGray, "clMedGray"}, {clGray, "clDkGray"},
    {clSilver, "clLtGray"},
}};

} // namespace

QString ColorToString(TColor color)
{
    for (const TColorName &n : kNames) {
        if (n.color == color)
            return QString::fromLatin1(n.name);
    }
    return QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

bool StringToColor(const QString &text, TColor &color)
{
    const QString s = text.trimmed();
    for (const TColorName &n : kNames) {
        if (s.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
            color = n.color;
            return true;
        }
    }
    bool ok = false;
    qlonglong value = 0;
    if (s.startsWith(QLatin1Char('$')))
        value = s.mid(1).toLongLong(&ok, 16);
    else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = s.mid(2).toLongLong(&ok, 16);
    else
        value = s.toLongLong(&ok, 10);
    if (!ok || value < 0 || value > 0xFFFFFF)
        return false;
    color = TColor(value);
    return true;
}
