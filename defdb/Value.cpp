#include "defdb/Value.h"

#include <cmath>

qint64 TValue::AsInt64() const
{
    if (const auto *i = std::get_if<qint64>(&data))
        return *i;
    if (const auto *f = std::get_if<double>(&data)) {
        if (!std::isfinite(*f) || *f >= 9.2e18 || *f <= -9.2e18)
            return 0;
        return qint64(*f);
    }
    if (const auto *s = std::get_if<QString>(&data)) {
        bool ok = false;
        const qint64 v = s->trimmed().toLongLong(&ok);
        return ok ? v : 0;
    }
    return 0;
}

double TValue::AsFloat() const
{
    if (const auto *i = std::get_if<qint64>(&data))
        return double(*i);
    if (const auto *f = std::get_if<double>(&data))
        return *f;
    if (const auto *s = std::get_if<QString>(&data)) {
        bool ok = false;
        const double v = s->trimmed().toDouble(&ok);
        return ok ? v : 0.0;
    }
    return 0.0;
}

QString TValue::AsString() const
{
    if (const auto *i = std::get_if<qint64>(&data))
        return QString::number(*i);
    if (const auto *f = std::get_if<double>(&data))
        return QString::number(*f, 'g', 17);
    if (const auto *s = std::get_if<QString>(&data))
        return *s;
    return QString();
}

int TValue::Compare(const TValue &a, const TValue &b)
{
    // Ranks: null < numbers < texts.
    auto rank = [](const TValue &v) { return v.IsNull() ? 0 : v.IsText() ? 2 : 1; };
    const int ra = rank(a), rb = rank(b);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    if (ra == 0)
        return 0;
    if (ra == 2) {
        const int c = QString::compare(std::get<QString>(a.data), std::get<QString>(b.data), Qt::CaseSensitive);
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    if (a.IsInteger() && b.IsInteger()) {
        const qint64 x = std::get<qint64>(a.data), y = std::get<qint64>(b.data);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    const double x = a.AsFloat(), y = b.AsFloat();
    if (x < y)
        return -1;
    if (x > y)
        return 1;
    return 0;
}
