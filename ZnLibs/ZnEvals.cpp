#include "ZnLibs/ZnEvals.h"

#include "ZnLibs/ShiftJis.h"

#include <cmath>
#include <numbers>

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

bool IsWhite(char32_t c)
{
    return c == U'\t' || c == U'\n' || c == U'\r' || c == U' ';
}

bool IsDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

bool IsHexDigit(char32_t c)
{
    return IsDigit(c) || (c >= U'a' && c <= U'f') || (c >= U'A' && c <= U'F');
}

int HexValue(char32_t c)
{
    if (IsDigit(c))
        return int(c - U'0');
    if (c >= U'a' && c <= U'f')
        return int(c - U'a' + 10);
    return int(c - U'A' + 10);
}

bool IsNameStart(char32_t c)
{
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || c == U'_'
           || ShiftJis::IsDoubleByte(c);
}

bool IsNameChar(char32_t c)
{
    return IsNameStart(c) || IsDigit(c) || ShiftJis::IsHalfWidthKatakana(c);
}

bool IsStringChar(char32_t c)
{
    return (c >= 0x20 && c <= 0x7E) || ShiftJis::IsHalfWidthKatakana(c) || ShiftJis::IsDoubleByte(c);
}

QString CharText(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

const TZnVariant &Arg(const TZnVariantList &args, qsizetype i)
{
    if (i >= args.size())
        throw EZnVariantError(QStringLiteral("Variant array index out of bounds"));
    return args[i];
}

TZnVariant RealResult(long double v)
{
    if (std::isnan(v))
        throw EZnVariantError(QStringLiteral("Invalid floating point operation"));
    if (std::isinf(v))
        throw EZnVariantError(QStringLiteral("Floating point overflow"));
    return TZnVariant(v);
}

TZnVariant IntegerResult(long double v)
{
    if (!(v >= -9223372036854775808.0L && v < 9223372036854775808.0L))
        throw EZnVariantError(QStringLiteral("Arithmetic overflow"));
    return TZnVariant(static_cast<qint64>(v));
}

// Clamps a 64-bit count or position into the range of a string index.
qsizetype Clamp(qint64 v, qsizetype lo, qsizetype hi)
{
    return v < lo ? lo : v > hi ? hi : qsizetype(v);
}

using TRealFunction = long double (*)(long double);

struct TRealEntry
{
    const char16_t *name;
    TRealFunction fn;
};

const TRealEntry kRealFunctions[] = {
    {u"abs", [](long double x) { return std::fabs(x); }},
    {u"atan", [](long double x) { return std::atan(x); }},
    {u"cos", [](long double x) { return std::cos(x); }},
    {u"exp", [](long double x) { return std::exp(x); }},
    {u"frac", [](long double x) { return x - std::trunc(x); }},
    {u"int", [](long double x) { return std::trunc(x); }},
    {u"ln", [](long double x) { return std::log(x); }},
    {u"sin", [](long double x) { return std::sin(x); }},
    {u"sqrt", [](long double x) { return std::sqrt(x); }},
    {u"tan", [](long double x) { return std::tan(x); }},
    {u"acos", [](long double x) { return std::acos(x); }},
    {u"acosh", [](long double x) { return std::acosh(x); }},
    {u"asin", [](long double x) { return std::asin(x); }},
    {u"asinh", [](long double x) { return std::asinh(x); }},
    {u"atanh", [](long double x) { return std::atanh(x); }},
    {u"cosh", [](long double x) { return std::cosh(x); }},
    {u"sinh", [](long double x) { return std::sinh(x); }},
    {u"tanh", [](long double x) { return std::tanh(x); }},
    {u"log10", [](long double x) { return std::log10(x); }},
    {u"DegToRad", [](long double x) { return x * kPi / 180; }},
    {u"RadToDeg", [](long double x) { return x * 180 / kPi; }},
};

} // namespace

TZnEvals::TZnEvals(QObject *owner) : QObject(owner) {}

TZnEvals::TNestGuard::TNestGuard(TZnEvals &e) : owner(e)
{
    if (owner.depth >= kMaxNesting)
        throw EZnEvalsErrNestingTooDeep();
    ++owner.depth;
}

void TZnEvals::Evaluate(TZnVariant &result)
{
    const QList<uint> ucs4 = Source.join(QStringLiteral("\r\n")).toUcs4();
    text.assign(ucs4.begin(), ucs4.end());
    pos = 0;
    depth = 0;
    TZnVariant value;
    LogicalLevel(value);
    SkipWhite();
    if (!AtEnd())
        throw EZnEvalsErrSyntaxError();
    result = value;
}

TZnVariant TZnEvals::Evaluate()
{
    TZnVariant v;
    Evaluate(v);
    return v;
}

char32_t TZnEvals::GetChar()
{
    // Reading past the end still advances, so that UnGetChar stays symmetric.
    const size_t at = pos++;
    return at < text.size() ? text[at] : kEndOfText;
}

void TZnEvals::UnGetChar()
{
    if (pos == 0)
        throw EZnEvalsErrCantUnGetChar();
    --pos;
}

void TZnEvals::SkipWhite()
{
    while (pos < text.size() && IsWhite(text[pos]))
        ++pos;
}

bool TZnEvals::TestOperator(std::u32string_view op)
{
    SkipWhite();
    if (pos < text.size() && std::u32string_view(text).substr(pos).starts_with(op)) {
        pos += op.size();
        return true;
    }
    return false;
}

void TZnEvals::LogicalLevel(TZnVariant &result)
{
    ComparisonLevel(result);
    for (;;) {
        TZnVariant rhs;
        if (TestOperator(U"and")) {
            ComparisonLevel(rhs);
            result = TZnVariant::And(result, rhs);
        } else if (TestOperator(U"or")) {
            ComparisonLevel(rhs);
            result = TZnVariant::Or(result, rhs);
        } else if (TestOperator(U"xor")) {
            ComparisonLevel(rhs);
            result = TZnVariant::Xor(result, rhs);
        } else {
            return;
        }
    }
}

void TZnEvals::ComparisonLevel(TZnVariant &result)
{
    AdditiveLevel(result);
    // Tested in this order so that "<=" and "<>" are never read as "<".
    enum TOp { Eq, Ne, Le, Lt, Ge, Gt };
    static constexpr std::u32string_view kOps[] = {U"=", U"<>", U"<=", U"<", U">=", U">"};
    for (int op = Eq; op <= Gt; ++op) {
        if (!TestOperator(kOps[op]))
            continue;
        TZnVariant rhs;
        AdditiveLevel(rhs);
        const std::partial_ordering c = TZnVariant::Compare(result, rhs);
        bool r = false;
        switch (op) {
        case Eq: r = c == 0; break;
        case Ne: r = !(c == 0); break;
        case Le: r = c <= 0; break;
        case Lt: r = c < 0; break;
        case Ge: r = c >= 0; break;
        case Gt: r = c > 0; break;
        }
        result = TZnVariant(r);
        return;
    }
}

void TZnEvals::AdditiveLevel(TZnVariant &result)
{
    enum { None, Negate, Invert } prefix = None;
    if (TestOperator(U"+"))
        prefix = None;
    else if (TestOperator(U"-"))
        prefix = Negate;
    else if (TestOperator(U"not"))
        prefix = Invert;
    MultiplicativeLevel(result);
    if (prefix == Negate)
        result = TZnVariant::Negate(result);
    else if (prefix == Invert)
        result = TZnVariant::Not(result);
    for (;;) {
        TZnVariant rhs;
        if (TestOperator(U"+")) {
            MultiplicativeLevel(rhs);
            result = TZnVariant::Add(result, rhs);
        } else if (TestOperator(U"-")) {
            MultiplicativeLevel(rhs);
            result = TZnVariant::Sub(result, rhs);
        } else {
            return;
        }
    }
}

void TZnEvals::MultiplicativeLevel(TZnVariant &result)
{
    PowerLevel(result);
    for (;;) {
        TZnVariant rhs;
        if (TestOperator(U"*")) {
            PowerLevel(rhs);
            result = TZnVariant::Mul(result, rhs);
        } else if (TestOperator(U"/")) {
            PowerLevel(rhs);
            result = TZnVariant::Divide(result, rhs);
        } else if (TestOperator(U"div")) {
            PowerLevel(rhs);
            result = TZnVariant::IntDiv(result, rhs);
        } else if (TestOperator(U"mod")) {
            PowerLevel(rhs);
            result = TZnVariant::Mod(result, rhs);
        } else {
            return;
        }
    }
}

void TZnEvals::PowerLevel(TZnVariant &result)
{
    Primary(result);
    if (TestOperator(U"^")) {
        TZnVariant rhs;
        Primary(rhs);
        result = TZnVariant::Power(result, rhs);
    }
}

void TZnEvals::Primary(TZnVariant &result)
{
    SkipWhite();
    const char32_t c = GetChar();
    if (c == U'(') {
        {
            TNestGuard guard(*this);
            LogicalLevel(result);
        }
        if (!TestOperator(U")"))
            throw EZnEvalsErrRBracketNotExist();
    } else if (IsNameStart(c)) {
        UnGetChar();
        QString name;
        ReadName(name);
        SkipWhite();
        if (GetChar() == U'(') {
            TZnVariantList args;
            ReadArguments(args);
            result = CallFunction(name, args);
        } else {
            UnGetChar();
            result = GetVariable(name);
        }
    } else if (c == U'$' || c == U'+' || c == U'-' || c == U'.' || IsDigit(c)) {
        UnGetChar();
        ReadNumber(result);
    } else if (c == U'\'') {
        ReadString(result);
    } else {
        UnGetChar();
        result = TZnVariant();
    }
}

void TZnEvals::ReadName(QString &name)
{
    name.clear();
    for (;;) {
        const char32_t c = GetChar();
        if (!IsNameChar(c)) {
            UnGetChar();
            return;
        }
        name += CharText(c);
    }
}

void TZnEvals::ReadNumber(TZnVariant &result)
{
    char32_t c = GetChar();
    if (c == U'$') {
        c = GetChar();
        if (!IsHexDigit(c))
            throw EZnEvalsErrNotHexValue();
        long double v = 0;
        while (IsHexDigit(c)) {
            v = v * 16 + HexValue(c);
            c = GetChar();
        }
        UnGetChar();
        result = RealResult(v);
        return;
    }
    QString t;
    if (c == U'+' || c == U'-') {
        t += QChar(char16_t(c));
        SkipWhite();
        c = GetChar();
    }
    const auto digits = [&] {
        while (IsDigit(c)) {
            t += QChar(char16_t(c));
            c = GetChar();
        }
    };
    digits();
    if (c == U'.') {
        t += u'.';
        c = GetChar();
        digits();
    }
    if (c == U'E' || c == U'e') {
        t += QChar(char16_t(c));
        c = GetChar();
        if (c == U'+' || c == U'-') {
            t += QChar(char16_t(c));
            c = GetChar();
        }
        digits();
    }
    UnGetChar();
    long double v;
    if (!TZnVariant::ParseReal(t, v))
        throw EZnConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(t));
    result = TZnVariant(v);
}

void TZnEvals::ReadString(TZnVariant &result)
{
    QString s;
    for (;;) {
        const char32_t c = GetChar();
        if (c == kEndOfText)
            throw EZnEvlasErrStringNotProperlyFinished();
        if (c == U'\'') {
            if (GetChar() == U'\'') {
                s += u'\'';
                continue;
            }
            UnGetChar();
            break;
        }
        if (!IsStringChar(c))
            throw EZnEvlasErrInvalidChar(CharText(c));
        s += CharText(c);
    }
    result = TZnVariant(s);
}

void TZnEvals::ReadArguments(TZnVariantList &args)
{
    for (;;) {
        SkipWhite();
        // A list that runs into the end of the text, or that stops on
        // something no argument can start with, lacks its ")".
        if (AtEnd())
            throw EZnEvalsErrRBracketNotExist();
        if (TestOperator(U")"))
            return;
        const size_t before = pos;
        TZnVariant v;
        {
            TNestGuard guard(*this);
            LogicalLevel(v);
        }
        args.append(v);
        TestOperator(U",");
        if (pos == before)
            throw EZnEvalsErrRBracketNotExist();
    }
}

TZnVariant TZnEvals::GetVariable(const QString &name)
{
    if (OnGetVariable) {
        bool exist = false;
        TZnVariant value;
        OnGetVariable(this, name, exist, value);
        if (exist)
            return value;
    }
    if (name == u"pi")
        return TZnVariant(kPi);
    if (name == u"null")
        return TZnVariant::Null();
    if (name == u"true")
        return TZnVariant(true);
    if (name == u"false")
        return TZnVariant(false);
    throw EZnEvalsErrVariableNotDefined(name);
}

TZnVariant TZnEvals::CallFunction(const QString &name, const TZnVariantList &args)
{
    if (OnFunctionCall) {
        bool exist = false;
        TZnVariant value;
        OnFunctionCall(this, name, args, exist, value);
        if (exist)
            return value;
    }
    for (const TRealEntry &e : kRealFunctions) {
        if (name == e.name)
            return RealResult(e.fn(Arg(args, 0).ToReal()));
    }
    if (name == u"sqr") {
        const TZnVariant &x = Arg(args, 0);
        return TZnVariant::Mul(x, x);
    }
    if (name == u"cotan")
        return RealResult(1 / std::tan(Arg(args, 0).ToReal()));
    if (name == u"ceil")
        return IntegerResult(std::ceil(Arg(args, 0).ToReal()));
    if (name == u"floor")
        return IntegerResult(std::floor(Arg(args, 0).ToReal()));
    if (name == u"round")
        return TZnVariant(Arg(args, 0).ToInt64()); // ties to even
    if (name == u"pi")
        return TZnVariant(kPi);
    if (name == u"copy") {
        const QString s = Arg(args, 0).ToString();
        const qint64 from = Arg(args, 1).ToInt64();
        const qint64 count = Arg(args, 2).ToInt64();
        const qsizetype start = Clamp(from, 1, s.size() + 1) - 1;
        return TZnVariant(s.mid(start, Clamp(count, 0, s.size() - start)));
    }
    if (name == u"trim") {
        QString s = Arg(args, 0).ToString();
        qsizetype a = 0, b = s.size();
        while (a < b && s[a].unicode() <= u' ')
            ++a;
        while (b > a && s[b - 1].unicode() <= u' ')
            --b;
        return TZnVariant(s.mid(a, b - a));
    }
    if (name == u"pos") {
        const QString t = Arg(args, 0).ToString();
        const QString s = Arg(args, 1).ToString();
        return TZnVariant(qint64(t.isEmpty() ? 0 : s.indexOf(t) + 1));
    }
    if (name == u"len")
        return TZnVariant(qint64(ShiftJis::ByteLength(Arg(args, 0).ToString())));
    if (name == u"if") {
        const bool nonZero = TZnVariant::Compare(Arg(args, 0), TZnVariant(0)) != 0;
        return nonZero ? Arg(args, 1) : Arg(args, 2);
    }
    if (name == u"choose") {
        const TZnVariant &i = Arg(args, 0);
        if (i.IsNull())
            return TZnVariant::Null();
        const qint64 k = i.ToInt64();
        return k >= 1 && k < args.size() ? args[k] : TZnVariant::Null();
    }
    if (name == u"max" || name == u"min") {
        if (args.isEmpty())
            return TZnVariant::Null();
        const bool wantMax = name == u"max";
        TZnVariant best = args[0];
        for (qsizetype k = 1; k < args.size(); ++k) {
            const std::partial_ordering c = TZnVariant::Compare(args[k], best);
            if (wantMax ? c > 0 : c < 0)
                best = args[k];
        }
        return best;
    }
    throw EZnEvalsErrFunctionNotDefined(name);
}
