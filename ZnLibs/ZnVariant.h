#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <compare>
#include <exception>

// The value type of the expression evaluator: empty, null, Boolean, integer,
// real (extended precision) or string.
//
// Rules: numbers and numeric strings mix (a string converts to a real);
// null propagates through arithmetic and logic; two strings concatenate
// with "+"; true counts as -1 and false as 0 wherever a number is needed, so
// that bitwise and logical "not" agree; empty counts as 0 or "".

// A value that cannot be converted (text that is not a number, null where a
// value is needed).
class EZnVariantError : public std::exception
{
public:
    explicit EZnVariantError(QString message);
    const QString &Message() const { return message; }
    const char *what() const noexcept override { return utf8.constData(); }

private:
    QString message;
    QByteArray utf8;
};

// Text that does not convert to a number.
class EZnConvertError : public EZnVariantError
{
public:
    using EZnVariantError::EZnVariantError;
};

class TZnVariant
{
public:
    enum class TType { Empty, Null, Boolean, Integer, Real, String };

    TZnVariant() = default;
    TZnVariant(bool b) : type(TType::Boolean), b(b) {}
    TZnVariant(int v) : type(TType::Integer), i(v) {}
    TZnVariant(qint64 v) : type(TType::Integer), i(v) {}
    TZnVariant(double v) : type(TType::Real), r(v) {}
    TZnVariant(long double v) : type(TType::Real), r(v) {}
    TZnVariant(const QString &s) : type(TType::String), s(s) {}
    TZnVariant(const char *s) : type(TType::String), s(QString::fromUtf8(s)) {}

    static TZnVariant Null();

    TType Type() const { return type; }
    bool IsEmpty() const { return type == TType::Empty; }
    bool IsNull() const { return type == TType::Null; }
    QString TypeName() const;

    // Conversions; each raises EZnVariantError (or EZnConvertError) when the
    // value has no such form. A real converts to an integer by rounding
    // (a tie to the even integer).
    bool ToBool() const;
    qint64 ToInt64() const;
    long double ToReal() const;
    QString ToString() const;

    // Exact equality of type and value (for tests and handlers), not the
    // comparison of the expression language.
    bool operator==(const TZnVariant &other) const;

    // Arithmetic. Null in, null out.
    static TZnVariant Add(const TZnVariant &a, const TZnVariant &b);
    static TZnVariant Sub(const TZnVariant &a, const TZnVariant &b);
    static TZnVariant Mul(const TZnVariant &a, const TZnVariant &b);
    static TZnVariant Divide(const TZnVariant &a, const TZnVariant &b); // real "/"
    static TZnVariant IntDiv(const TZnVariant &a, const TZnVariant &b); // "div"
    static TZnVariant Mod(const TZnVariant &a, const TZnVariant &b);    // "mod"
    static TZnVariant Power(const TZnVariant &a, const TZnVariant &b);  // real power
    static TZnVariant Negate(const TZnVariant &a);

    // Logic: on two Booleans logical, otherwise on the bits of the integers.
    static TZnVariant Not(const TZnVariant &a);
    static TZnVariant And(const TZnVariant &a, const TZnVariant &b);
    static TZnVariant Or(const TZnVariant &a, const TZnVariant &b);
    static TZnVariant Xor(const TZnVariant &a, const TZnVariant &b);

    // Comparison of the expression language: two strings compare as text,
    // anything else as numbers. Null equals null and lies below every other
    // value.
    static std::partial_ordering Compare(const TZnVariant &a, const TZnVariant &b);

    // Reads a decimal number ("." as separator, optional sign and exponent,
    // surrounding white space allowed) exactly as the conversions do.
    static bool ParseReal(QStringView text, long double &value);
    // The shortest general text of a real, as ToString gives it.
    static QString RealText(long double v);

private:
    TType type = TType::Empty;
    bool b = false;
    qint64 i = 0;
    long double r = 0;
    QString s;
};

using TZnVariantList = QList<TZnVariant>;
