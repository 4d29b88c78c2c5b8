#pragma once

#include <QString>
#include <QtGlobal>
#include <variant>

// One cell of an in-memory table: null, an integer, a float or a text.
// Integer cells hold every integer field type (autoinc, integer, smallint);
// reading a cell in another form converts the way a shop-floor user expects
// (a null reads as 0 or an empty text).
class TValue
{
public:
    TValue() = default;
    TValue(int v) : data(qint64(v)) {}
    TValue(qint64 v) : data(v) {}
    TValue(double v) : data(v) {}
    TValue(const QString &v) : data(v) {}
    TValue(const char *v) : data(QString::fromUtf8(v)) {}

    static TValue Null() { return TValue(); }

    bool IsNull() const { return std::holds_alternative<std::monostate>(data); }
    bool IsInteger() const { return std::holds_alternative<qint64>(data); }
    bool IsFloat() const { return std::holds_alternative<double>(data); }
    bool IsText() const { return std::holds_alternative<QString>(data); }

    // Conversions; a null gives 0, 0.0 or an empty text. AsInteger of a
    // float truncates toward zero; of a text that is no number gives 0.
    qint64 AsInt64() const;
    int AsInteger() const { return int(AsInt64()); }
    double AsFloat() const;
    QString AsString() const;

    // Total order used by indexes: null first, then numbers by value
    // (integers and floats compare numerically), then texts by code units.
    static int Compare(const TValue &a, const TValue &b);

    // Equality as locate and lookups see it: null equals only null;
    // numbers compare by value; texts exactly.
    bool operator==(const TValue &o) const { return Compare(*this, o) == 0; }
    bool operator!=(const TValue &o) const { return Compare(*this, o) != 0; }

private:
    std::variant<std::monostate, qint64, double, QString> data;
};
