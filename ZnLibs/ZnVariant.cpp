#include "ZnLibs/ZnVariant.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

EZnVariantError::EZnVariantError(QString message)
    : message(std::move(message)), utf8(this->message.toUtf8())
{
}

namespace {

using TType = TZnVariant::TType;

[[noreturn]] void CannotConvert(const TZnVariant &v, const char *to)
{
    throw EZnVariantError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                              .arg(v.TypeName(), QLatin1String(to)));
}

[[noreturn]] void Overflow()
{
    throw EZnVariantError(QStringLiteral("Arithmetic overflow"));
}

[[noreturn]] void DivisionByZero()
{
    throw EZnVariantError(QStringLiteral("Division by zero"));
}

// A real result must stay a number: an infinite or undefined result of
// finite operands is an error, as a floating-point exception would be.
TZnVariant CheckedReal(long double v)
{
    if (std::isnan(v))
        throw EZnVariantError(QStringLiteral("Invalid floating point operation"));
    if (std::isinf(v))
        throw EZnVariantError(QStringLiteral("Floating point overflow"));
    return TZnVariant(v);
}

bool IsStringLike(const TZnVariant &v)
{
    return v.Type() == TType::String || v.Type() == TType::Empty;
}

// A number for arithmetic: integers stay integers, everything else becomes
// a real.
struct TNumber
{
    bool isInt;
    qint64 i;
    long double r;
    long double Real() const { return isInt ? static_cast<long double>(i) : r; }
};

TNumber ToNumber(const TZnVariant &v)
{
    switch (v.Type()) {
    case TType::Empty:
        return {true, 0, 0};
    case TType::Boolean:
    case TType::Integer:
        return {true, v.ToInt64(), 0};
    default:
        return {false, 0, v.ToReal()};
    }
}

qint64 RoundHalfEven(long double x)
{
    long double f = std::floor(x);
    const long double diff = x - f;
    if (diff > 0.5L || (diff == 0.5L && std::fmod(f, 2.0L) != 0))
        f += 1;
    // 2^63 is exactly representable; anything from there on does not fit.
    if (!(f >= -9223372036854775808.0L && f < 9223372036854775808.0L))
        Overflow();
    return static_cast<qint64>(f);
}

template <typename IntOp, typename RealOp>
TZnVariant Arith(const TZnVariant &a, const TZnVariant &b, IntOp intOp, RealOp realOp)
{
    if (a.IsNull() || b.IsNull())
        return TZnVariant::Null();
    const TNumber x = ToNumber(a);
    const TNumber y = ToNumber(b);
    if (x.isInt && y.isInt) {
        qint64 out;
        if (!intOp(x.i, y.i, &out))
            return TZnVariant(out);
        // On overflow the result becomes a real.
    }
    return CheckedReal(realOp(x.Real(), y.Real()));
}

template <typename Op>
TZnVariant Bitwise(const TZnVariant &a, const TZnVariant &b, Op op)
{
    if (a.IsNull() || b.IsNull())
        return TZnVariant::Null();
    if (a.Type() == TType::Boolean && b.Type() == TType::Boolean)
        return TZnVariant(bool(op(qint64(a.ToBool()), qint64(b.ToBool())) & 1));
    return TZnVariant(qint64(op(a.ToInt64(), b.ToInt64())));
}

} // namespace

TZnVariant TZnVariant::Null()
{
    TZnVariant v;
    v.type = TType::Null;
    return v;
}

QString TZnVariant::TypeName() const
{
    switch (type) {
    case TType::Empty:
        return QStringLiteral("Empty");
    case TType::Null:
        return QStringLiteral("Null");
    case TType::Boolean:
        return QStringLiteral("Boolean");
    case TType::Integer:
        return QStringLiteral("Int64");
    case TType::Real:
        return QStringLiteral("Extended");
    case TType::String:
        return QStringLiteral("String");
    }
    return {};
}

bool TZnVariant::ParseReal(QStringView text, long double &value)
{
    const QStringView t = text.trimmed();
    // Check the form first: from_chars would also take "inf", "nan" and hex.
    qsizetype p = 0;
    const auto digits = [&] {
        const qsizetype from = p;
        while (p < t.size() && t[p] >= u'0' && t[p] <= u'9')
            ++p;
        return p - from;
    };
    std::string ascii;
    if (p < t.size() && (t[p] == u'+' || t[p] == u'-')) {
        if (t[p] == u'-')
            ascii += '-';
        ++p;
    }
    const qsizetype mantissaFrom = p;
    qsizetype n = digits();
    if (p < t.size() && t[p] == u'.') {
        ++p;
        n += digits();
    }
    if (n == 0)
        return false;
    if (p < t.size() && (t[p] == u'e' || t[p] == u'E')) {
        ++p;
        if (p < t.size() && (t[p] == u'+' || t[p] == u'-'))
            ++p;
        if (digits() == 0)
            return false;
    }
    if (p != t.size())
        return false;
    ascii += t.sliced(mantissaFrom).toLatin1().toStdString();
    long double v = 0;
    const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
    if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size())
        return false;
    value = v;
    return true;
}

QString TZnVariant::RealText(long double v)
{
    QString t = QString::number(double(v), 'g', 15);
    const qsizetype e = t.indexOf(u'e');
    if (e < 0)
        return t;
    // 1e+20 -> 1E20, 1e-05 -> 1E-5
    QString mant = t.left(e);
    QString exp = t.mid(e + 1);
    QString sign;
    if (exp.startsWith(u'+') || exp.startsWith(u'-')) {
        if (exp[0] == u'-')
            sign = QStringLiteral("-");
        exp.remove(0, 1);
    }
    while (exp.size() > 1 && exp[0] == u'0')
        exp.remove(0, 1);
    return mant + u'E' + sign + exp;
}

bool TZnVariant::ToBool() const
{
    switch (type) {
    case TType::Empty:
        return false;
    case TType::Boolean:
        return b;
    case TType::Integer:
        return i != 0;
    case TType::Real:
        return r != 0;
    case TType::String: {
        const QString t = s.trimmed();
        if (t.compare(u"true", Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(u"false", Qt::CaseInsensitive) == 0)
            return false;
        long double v;
        if (ParseReal(t, v))
            return v != 0;
        throw EZnConvertError(QStringLiteral("Could not convert variant of type (String) into type (Boolean)"));
    }
    case TType::Null:
        break;
    }
    CannotConvert(*this, "Boolean");
}

qint64 TZnVariant::ToInt64() const
{
    switch (type) {
    case TType::Empty:
        return 0;
    case TType::Boolean:
        return b ? -1 : 0;
    case TType::Integer:
        return i;
    case TType::Real:
    case TType::String:
        return RoundHalfEven(ToReal());
    case TType::Null:
        break;
    }
    CannotConvert(*this, "Int64");
}

long double TZnVariant::ToReal() const
{
    switch (type) {
    case TType::Empty:
        return 0;
    case TType::Boolean:
        return b ? -1 : 0;
    case TType::Integer:
        return static_cast<long double>(i);
    case TType::Real:
        return r;
    case TType::String: {
        long double v;
        if (ParseReal(s, v))
            return v;
        throw EZnConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
    }
    case TType::Null:
        break;
    }
    CannotConvert(*this, "Extended");
}

QString TZnVariant::ToString() const
{
    switch (type) {
    case TType::Empty:
        return {};
    case TType::Boolean:
        return b ? QStringLiteral("True") : QStringLiteral("False");
    case TType::Integer:
        return QString::number(i);
    case TType::Real:
        return RealText(r);
    case TType::String:
        return s;
    case TType::Null:
        break;
    }
    CannotConvert(*this, "String");
}

bool TZnVariant::operator==(const TZnVariant &other) const
{
    if (type != other.type)
        return false;
    switch (type) {
    case TType::Empty:
    case TType::Null:
        return true;
    case TType::Boolean:
        return b == other.b;
    case TType::Integer:
        return i == other.i;
    case TType::Real:
        return r == other.r;
    case TType::String:
        return s == other.s;
    }
    return false;
}

TZnVariant TZnVariant::Add(const TZnVariant &a, const TZnVariant &b)
{
    if (a.IsNull() || b.IsNull())
        return Null();
    if (IsStringLike(a) && IsStringLike(b) && (a.type == TType::String || b.type == TType::String))
        return TZnVariant(a.s + b.s);
    return Arith(a, b, [](qint64 x, qint64 y, qint64 *o) { return __builtin_add_overflow(x, y, o); },
                 [](long double x, long double y) { return x + y; });
}

TZnVariant TZnVariant::Sub(const TZnVariant &a, const TZnVariant &b)
{
    return Arith(a, b, [](qint64 x, qint64 y, qint64 *o) { return __builtin_sub_overflow(x, y, o); },
                 [](long double x, long double y) { return x - y; });
}

TZnVariant TZnVariant::Mul(const TZnVariant &a, const TZnVariant &b)
{
    return Arith(a, b, [](qint64 x, qint64 y, qint64 *o) { return __builtin_mul_overflow(x, y, o); },
                 [](long double x, long double y) { return x * y; });
}

TZnVariant TZnVariant::Divide(const TZnVariant &a, const TZnVariant &b)
{
    if (a.IsNull() || b.IsNull())
        return Null();
    const long double y = b.ToReal();
    const long double x = a.ToReal();
    if (y == 0)
        DivisionByZero();
    return CheckedReal(x / y);
}

TZnVariant TZnVariant::IntDiv(const TZnVariant &a, const TZnVariant &b)
{
    if (a.IsNull() || b.IsNull())
        return Null();
    const qint64 x = a.ToInt64();
    const qint64 y = b.ToInt64();
    if (y == 0)
        DivisionByZero();
    if (x == std::numeric_limits<qint64>::min() && y == -1)
        Overflow();
    return TZnVariant(qint64(x / y));
}

TZnVariant TZnVariant::Mod(const TZnVariant &a, const TZnVariant &b)
{
    if (a.IsNull() || b.IsNull())
        return Null();
    const qint64 x = a.ToInt64();
    const qint64 y = b.ToInt64();
    if (y == 0)
        DivisionByZero();
    if (y == -1)
        return TZnVariant(qint64(0));
    return TZnVariant(qint64(x % y));
}

TZnVariant TZnVariant::Power(const TZnVariant &a, const TZnVariant &b)
{
    if (a.IsNull() || b.IsNull())
        return Null();
    return CheckedReal(std::pow(a.ToReal(), b.ToReal()));
}

TZnVariant TZnVariant::Negate(const TZnVariant &a)
{
    if (a.IsNull())
        return Null();
    const TNumber x = ToNumber(a);
    if (x.isInt && x.i != std::numeric_limits<qint64>::min())
        return TZnVariant(qint64(-x.i));
    return CheckedReal(-x.Real());
}

TZnVariant TZnVariant::Not(const TZnVariant &a)
{
    if (a.IsNull())
        return Null();
    if (a.type == TType::Boolean)
        return TZnVariant(!a.b);
    return TZnVariant(qint64(~a.ToInt64()));
}

TZnVariant TZnVariant::And(const TZnVariant &a, const TZnVariant &b)
{
    return Bitwise(a, b, [](qint64 x, qint64 y) { return x & y; });
}

TZnVariant TZnVariant::Or(const TZnVariant &a, const TZnVariant &b)
{
    return Bitwise(a, b, [](qint64 x, qint64 y) { return x | y; });
}

TZnVariant TZnVariant::Xor(const TZnVariant &a, const TZnVariant &b)
{
    return Bitwise(a, b, [](qint64 x, qint64 y) { return x ^ y; });
}

std::partial_ordering TZnVariant::Compare(const TZnVariant &a, const TZnVariant &b)
{
    if (a.IsNull() || b.IsNull()) {
        if (a.IsNull() && b.IsNull())
            return std::partial_ordering::equivalent;
        return a.IsNull() ? std::partial_ordering::less : std::partial_ordering::greater;
    }
    if (IsStringLike(a) && IsStringLike(b) && (a.type == TType::String || b.type == TType::String)) {
        const int c = QString::compare(a.s, b.s, Qt::CaseSensitive);
        return c < 0 ? std::partial_ordering::less
               : c > 0 ? std::partial_ordering::greater
                       : std::partial_ordering::equivalent;
    }
    const TNumber x = ToNumber(a);
    const TNumber y = ToNumber(b);
    if (x.isInt && y.isInt)
        return x.i <=> y.i;
    return x.Real() <=> y.Real();
}
