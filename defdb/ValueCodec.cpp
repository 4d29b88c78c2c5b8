#include "defdb/ValueCodec.h"

#include "ZnLibs/ZnEvals.h"
#include "app/Messenger.h"

#include <algorithm>
#include <limits>

namespace ValueCodec {
namespace {

const QString kReserveLabel = QStringLiteral("\t予備");
const QString kBrokenDefinition = QStringLiteral("アンプ定義ファイルが壊れています。");

bool IsRangeField(TValueField f)
{
    return f == TValueField::Min || f == TValueField::Max;
}

// Hexadecimal with at least minDigits upper-case digits. A value that came
// with copies of the sign bit above its length shows the length's bytes
// only, as the amplifier holds them.
QString HexText(qint64 v, int length, int minDigits)
{
    // The bytes of the length only: a negative pattern is not sign-extended.
    if (v < 0 && (length == 1 || length == 2 || length == 4))
        v &= (qint64(1) << (8 * length)) - 1;
    return QString::number(quint64(v), 16).toUpper().rightJustified(minDigits, u'0');
}

// Decimal places of a fixed-point form, or nothing when the form cannot be
// shown ("?????"); only called for forms 4, 8, 9 and 10.
std::optional<int> Places(const TParamDef &def, const TDecimalSettings &settings,
                          bool placesFromPowerOf10 = false)
{
    const int p10 = def.perPowerOf10.value_or(0);
    switch (def.dataForm) {
    case 4:
        return p10 >= 1 ? std::optional<int>(p10) : std::nullopt;
    case 9:
        if (!placesFromPowerOf10)
            return settings.places9 >= 0 ? std::optional<int>(settings.places9) : std::nullopt;
        break;
    case 10:
        if (!placesFromPowerOf10)
            return settings.places10 >= 0 ? std::optional<int>(settings.places10) : std::nullopt;
        break;
    default:
        break;
    }
    return p10 >= 0 ? std::optional<int>(p10) : std::nullopt;
}

// A whole decimal number, optionally signed, with white space around it.
std::optional<qint64> ReadInteger(QStringView text)
{
    const QStringView t = text.trimmed();
    qsizetype p = 0;
    bool negative = false;
    if (p < t.size() && (t[p] == u'+' || t[p] == u'-'))
        negative = t[p++] == u'-';
    if (p == t.size())
        return std::nullopt;
    // Far beyond any 32-bit range; checked before each digit is taken in,
    // so that a long typo cannot wrap round to a small number.
    constexpr quint64 limit = quint64(1) << 62;
    quint64 v = 0;
    for (; p < t.size(); ++p) {
        if (t[p] < u'0' || t[p] > u'9')
            return std::nullopt;
        const quint64 d = quint64(t[p].unicode() - u'0');
        if (v > (limit - d) / 10)
            return std::nullopt;
        v = v * 10 + d;
    }
    return negative ? -qint64(v) : qint64(v);
}

// Hexadecimal digits only (no prefix, no sign), up to 16 of them.
std::optional<qint64> ReadHex(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty() || t.size() > 16)
        return std::nullopt;
    quint64 v = 0;
    for (QChar c : t) {
        const char16_t u = c.unicode();
        int d;
        if (u >= u'0' && u <= u'9')
            d = u - u'0';
        else if (u >= u'a' && u <= u'f')
            d = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            d = u - u'A' + 10;
        else
            return std::nullopt;
        v = (v << 4) | quint64(d);
    }
    if (v > quint64(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return qint64(v);
}

// The shortest decimal text of v / 10^places: no trailing zeros, no lone point.
QString ShortText(qint64 v, int places)
{
    QString t = FixedText(v, places);
    if (t.contains(u'.')) {
        while (t.endsWith(u'0'))
            t.chop(1);
        if (t.endsWith(u'.'))
            t.chop(1);
    }
    return t;
}

bool InRange(qint64 v, qint64 lo, qint64 hi)
{
    return lo <= v && v <= hi;
}

// Raw value of a number that passed its range check: its low 32 bits.
qint32 Low32(qint64 v)
{
    return qint32(quint32(quint64(v) & 0xFFFFFFFFu));
}

std::optional<int> ChosenValue(const TChoiceList &list, int index)
{
    if (index < 0 || index >= list.items.size())
        return std::nullopt;
    return list.items[index].value;
}

template <typename Row, typename Label>
TChoiceList BuildChoices(const QList<Row> &rows, std::optional<qint32> groupId, qint64 lo, qint64 hi,
                         qint64 current, qint32 Row::*groupField, Label label)
{
    TChoiceList list;
    if (groupId) {
        QList<const Row *> picked;
        for (const Row &r : rows) {
            if (r.*groupField == *groupId && lo <= r.value && r.value <= hi)
                picked.append(&r);
        }
        std::stable_sort(picked.begin(), picked.end(),
                         [](const Row *a, const Row *b) { return a->value < b->value; });
        for (const Row *r : picked) {
            if (r->value == current)
                list.current = int(list.items.size());
            list.items.append({label(*r), r->value});
        }
    }
    if (list.current < 0) {
        list.items = {{kReserveLabel, int(current)}};
        list.current = 0;
    }
    return list;
}

} // namespace

std::optional<TValueField> FieldFromName(QStringView fieldName)
{
    if (fieldName == u"STANDARD_VALUE")
        return TValueField::Standard;
    if (fieldName == u"NOW_VALUE")
        return TValueField::Now;
    if (fieldName == u"INPUT_VALUE")
        return TValueField::Input;
    if (fieldName == u"MIN_VALUE")
        return TValueField::Min;
    if (fieldName == u"MAX_VALUE")
        return TValueField::Max;
    return std::nullopt;
}

qint64 WidenUnsigned(qint32 raw, int length)
{
    qint64 v = raw;
    if (length == 4 && v < 0)
        v &= 0xFFFFFFFFLL;
    return v;
}

qint64 WidenSigned(qint32 raw, int length)
{
    qint64 v = raw;
    switch (length) {
    case 1:
        if (v & 0x80)
            v |= ~qint64(0xFF);
        break;
    case 2:
        if (v & 0x8000)
            v |= ~qint64(0xFFFF);
        break;
    case 4:
        if (v & 0x80000000LL)
            v |= ~qint64(0xFFFFFFFFLL);
        break;
    default:
        break;
    }
    return v;
}

qint64 Widen(qint32 raw, const TParamDef &def)
{
    switch (def.dataForm) {
    case 1:
    case 3:
    case 4:
    case 5:
        return WidenUnsigned(raw, def.length);
    case 2:
    case 8:
    case 9:
    case 10:
        return WidenSigned(raw, def.length);
    default:
        return raw;
    }
}

QString FixedText(qint64 v, int places)
{
    if (places <= 0)
        return QString::number(v);
    const bool negative = v < 0;
    // The magnitude as unsigned, so that the lowest 64-bit value is fine too.
    const quint64 mag = negative ? quint64(0) - quint64(v) : quint64(v);
    QString digits = QString::number(mag).rightJustified(places + 1, u'0');
    digits.insert(digits.size() - places, u'.');
    return negative ? u'-' + digits : digits;
}

std::optional<qint64> ScaledDecimal(QStringView text, int places)
{
    const QStringView t = text.trimmed();
    qsizetype p = 0;
    bool negative = false;
    if (p < t.size() && (t[p] == u'+' || t[p] == u'-'))
        negative = t[p++] == u'-';
    QString digits; // all mantissa digits, point removed
    qsizetype fracDigits = 0;
    bool point = false;
    for (; p < t.size(); ++p) {
        const QChar c = t[p];
        if (c >= u'0' && c <= u'9') {
            digits += c;
            if (point)
                ++fracDigits;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits.isEmpty())
        return std::nullopt;
    qint64 exponent = 0;
    if (p < t.size() && (t[p] == u'e' || t[p] == u'E')) {
        ++p;
        bool expNegative = false;
        if (p < t.size() && (t[p] == u'+' || t[p] == u'-'))
            expNegative = t[p++] == u'-';
        const qsizetype from = p;
        for (; p < t.size() && t[p] >= u'0' && t[p] <= u'9'; ++p) {
            if (exponent < 100000)
                exponent = exponent * 10 + (t[p].unicode() - u'0');
        }
        if (p == from)
            return std::nullopt;
        if (expNegative)
            exponent = -exponent;
    }
    if (p != t.size())
        return std::nullopt;

    // value = digits * 10^shift, truncated toward zero
    qint64 shift = exponent + places - fracDigits;
    while (digits.size() > 1 && digits.front() == u'0')
        digits.remove(0, 1);
    if (shift < 0) {
        if (-shift >= digits.size())
            return qint64(0);
        digits.chop(qsizetype(-shift));
        shift = 0;
    }
    if (digits == u"0")
        return qint64(0);
    if (digits.size() + shift > 19)
        return std::nullopt;
    unsigned __int128 v = 0;
    for (QChar c : std::as_const(digits))
        v = v * 10 + unsigned(c.unicode() - u'0');
    for (qint64 k = 0; k < shift; ++k)
        v *= 10;
    using u128 = unsigned __int128;
    const u128 limit = u128(std::numeric_limits<qint64>::max());
    if (v > limit)
        return std::nullopt;
    return negative ? -qint64(v) : qint64(v);
}

QString ValueText(TValueField field, std::optional<qint32> raw, const TParamDef &def,
                  const TDecimalSettings &settings, const TTableDataRows &tableData,
                  const TValueTextOptions &options)
{
    if (!raw)
        return {};
    if (def.length == 0)
        return {};
    const qint32 r = *raw;
    switch (def.dataForm) {
    case 1:
        return QString::number(WidenUnsigned(r, def.length));
    case 2:
        return QString::number(WidenSigned(r, def.length));
    case 3:
        return HexText(WidenUnsigned(r, def.length), def.length, 2 * def.length) + QStringLiteral(" H");
    case 4:
    case 8:
    case 9:
    case 10: {
        const std::optional<int> n = Places(def, settings, options.placesFromPowerOf10);
        if (!n)
            return QString::fromUtf16(kUnshowable);
        return FixedText(Widen(r, def), *n);
    }
    case 5: {
        if (IsRangeField(field))
            return QStringLiteral("*");
        const qint64 v = WidenUnsigned(r, options.fractionAsFourBytes ? 4 : def.length);
        return QString::number(v % 65536) + u'/' + QString::number(v / 65536);
    }
    case 6:
        if (IsRangeField(field))
            return QStringLiteral("-");
        return HexText(r, def.length, 2) + QStringLiteral(" H");
    case 7: {
        if (IsRangeField(field))
            return QStringLiteral("-");
        const qint32 key = options.tableLookupLow16 ? (r & 0xFFFF) : r;
        if (def.tableId) {
            for (const TTableDataRow &row : tableData) {
                if (row.tableId == *def.tableId && row.value == key)
                    return row.name;
            }
        }
        return QString::fromUtf16(kUnshowable);
    }
    default:
        return {};
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

QString BracketedUnitText(const TParamDef &def, int unitSelector)
{
    const QString u = UnitText(def, unitSelector);
    return u.isEmpty() ? QString() : u'[' + u + u']';
}

QString PageText(std::optional<qint32> pageNo)
{
    if (!pageNo)
        return {};
    return QString::number(quint32(*pageNo), 16).toUpper().rightJustified(2, u'0');
}

QString PositionText(std::optional<qint32> modeNo, std::optional<qint32> pageNo)
{
    if (!pageNo)
        return {};
    if (!modeNo)
        return PageText(pageNo);
    return QStringLiteral("Group ") + QString::number(quint32(*modeNo), 16).toUpper() + QStringLiteral(" - ")
           + PageText(pageNo);
}

QString RangeText(const TParamDef &def, const TDecimalSettings &settings)
{
    const qint64 lo = Widen(def.minValue, def);
    const qint64 hi = Widen(def.maxValue, def);
    switch (def.dataForm) {
    case 1:
    case 2:
        return QStringLiteral("( %1 - %2 )").arg(lo).arg(hi);
    case 3: {
        const int digits = 2 * def.length;
        return QStringLiteral("( %1 - %2 ) H")
            .arg(HexText(lo, def.length, digits), HexText(hi, def.length, digits));
    }
    case 4:
    case 8:
    case 9:
    case 10: {
        const std::optional<int> n = Places(def, settings);
        if (!n)
            return QString::fromUtf16(kUnshowable);
        return QStringLiteral("( %1 - %2 )").arg(FixedText(lo, *n), FixedText(hi, *n));
    }
    default:
        return {};
    }
}

TEditTexts EditText(qint32 raw, const TParamDef &def, const TDecimalSettings &settings)
{
    TEditTexts out;
    switch (def.dataForm) {
    case 1:
    case 2:
        out.text = QString::number(Widen(raw, def));
        break;
    case 3:
        out.text = HexText(WidenUnsigned(raw, def.length), def.length, 2 * def.length);
        break;
    case 4:
    case 8:
    case 9:
    case 10:
        out.text = ValueText(TValueField::Input, raw, def, settings, {});
        break;
    case 5: {
        const qint64 v = WidenUnsigned(raw, 4);
        out.numerator = QString::number(v % 65536);
        out.denominator = QString::number(v / 65536);
        break;
    }
    default:
        break;
    }
    return out;
}

QString StepValue(const TParamDef &def, const QString &text, TStepDirection direction)
{
    const bool up = direction == TStepDirection::Up;
    const qint64 limit = Widen(up ? def.maxValue : def.minValue, def);
    const auto stepped = [&](qint64 v) -> std::optional<qint64> {
        if (up && v < limit)
            return v + 1;
        if (!up && v > limit)
            return v - 1;
        return std::nullopt;
    };
    switch (def.dataForm) {
    case 1:
    case 2: {
        const std::optional<qint64> v = ReadInteger(text);
        if (!v)
            return text;
        const std::optional<qint64> s = stepped(*v);
        return s ? QString::number(*s) : text;
    }
    case 3: {
        const std::optional<qint64> v = ReadHex(text);
        if (!v)
            return text;
        const std::optional<qint64> s = stepped(*v);
        return s ? HexText(*s, def.length, 2 * def.length) : text;
    }
    case 4: {
        const int n = def.perPowerOf10.value_or(0);
        if (n < 0)
            return text;
        const std::optional<qint64> v = ScaledDecimal(text, n);
        if (!v)
            return text;
        const std::optional<qint64> s = stepped(*v);
        return s ? ShortText(*s, n) : text;
    }
    default:
        return text;
    }
}

QString StepFractionPart(const QString &text, TStepDirection direction)
{
    const std::optional<qint64> v = ReadInteger(text);
    if (!v)
        return text;
    if (direction == TStepDirection::Up && *v < 65535)
        return QString::number(*v + 1);
    if (direction == TStepDirection::Down && *v > 0)
        return QString::number(*v - 1);
    return text;
}

TChoiceList TableChoices(const TParamDef &def, qint32 current, const TTableDataRows &tableData,
                         bool japanese)
{
    return BuildChoices(tableData, def.tableId, def.minValue, def.maxValue, current,
                        &TTableDataRow::tableId, [japanese](const TTableDataRow &r) {
                            return r.name + u'\t' + (japanese ? r.textJ : r.textE);
                        });
}

TNibbleChoiceLists NibbleChoices(const TParamDef &def, qint32 current,
                                 const TBinaryDataRows &binaryData, bool japanese)
{
    const auto label = [japanese](const TBinaryDataRow &r) {
        return QString::number(r.value & 0xF, 16).toUpper() + QStringLiteral(" H\t") + (japanese ? r.textJ : r.textE);
    };
    TNibbleChoiceLists out;
    out.high = BuildChoices(binaryData, def.binaryHighId, def.minValue / 16, def.maxValue / 16,
                            current / 16, &TBinaryDataRow::binaryId, label);
    out.low = BuildChoices(binaryData, def.binaryLowId, def.minValue % 16, def.maxValue % 16,
                           current % 16, &TBinaryDataRow::binaryId, label);
    return out;
}

bool CheckFraction(const QString &numerator, const QString &denominator,
                   std::optional<qint32> fractionCode, const TFractionRows &fractions)
{
    const std::optional<qint64> num = ReadInteger(numerator);
    const std::optional<qint64> den = ReadInteger(denominator);
    if (!num || !InRange(*num, 0, 65535) || !den || !InRange(*den, 0, 65535))
        return false;
    if (!fractionCode)
        return false;
    const auto row = std::find_if(fractions.begin(), fractions.end(),
                                  [&](const TFractionRow &r) { return r.code == *fractionCode; });
    if (row == fractions.end())
        return false;
    QString condition = row->text;
    // The numbers as read, so that signs or spaces typed around them cannot
    // change the expression.
    condition.replace(QStringLiteral("NUMER"), QString::number(*num), Qt::CaseInsensitive);
    condition.replace(QStringLiteral("DENOM"), QString::number(*den), Qt::CaseInsensitive);
    try {
        TZnEvals evals;
        evals.Source = QStringList{condition};
        return evals.Evaluate().ToBool();
    } catch (...) {
        TMessenger::Instance().Error(kBrokenDefinition);
        return false;
    }
}

std::optional<qint32> ParseValue(const TParamDef &def, const TDecimalSettings &settings,
                                 qint32 current, const TParseInput &input,
                                 const TChoiceList &tableChoices,
                                 const TNibbleChoiceLists &nibbleChoices,
                                 const TFractionRows &fractions)
{
    const qint64 lo = Widen(def.minValue, def);
    const qint64 hi = Widen(def.maxValue, def);
    const auto checked = [&](std::optional<qint64> v) -> std::optional<qint32> {
        if (!v || !InRange(*v, lo, hi))
            return std::nullopt;
        return Low32(*v);
    };
    switch (def.dataForm) {
    case 1:
    case 2:
        return checked(ReadInteger(input.text));
    case 3:
        return checked(ReadHex(input.text));
    case 4:
    case 8:
    case 9:
    case 10: {
        const int n = def.dataForm == 9    ? settings.places9
                      : def.dataForm == 10 ? settings.places10
                                           : def.perPowerOf10.value_or(0);
        if (n < 0)
            return std::nullopt;
        return checked(ScaledDecimal(input.text, n));
    }
    case 5: {
        if (!CheckFraction(input.numerator, input.denominator, def.fractionCode, fractions))
            return std::nullopt;
        // Both parts are 0..65535 once the check passed.
        const quint32 num = quint32(ReadInteger(input.numerator).value_or(0));
        const quint32 den = quint32(ReadInteger(input.denominator).value_or(0));
        return qint32(den * 65536u + num);
    }
    case 6: {
        const std::optional<int> h = ChosenValue(nibbleChoices.high, input.highIndex);
        const std::optional<int> l = ChosenValue(nibbleChoices.low, input.lowIndex);
        if (!h || !l)
            return std::nullopt;
        const int min8 = def.minValue & 0xFF;
        const int max8 = def.maxValue & 0xFF;
        const bool highOk = InRange(*h, min8 / 16, max8 / 16) || *h == current / 16;
        const bool lowOk = InRange(*l, min8 % 16, max8 % 16) || *l == current % 16;
        if (!highOk || !lowOk)
            return std::nullopt;
        return qint32(*h * 16 + *l);
    }
    case 7: {
        const std::optional<int> c = ChosenValue(tableChoices, input.tableIndex);
        if (!c)
            return std::nullopt;
        if (InRange(*c, def.minValue & 0xFF, def.maxValue & 0xFF) || *c == current)
            return qint32(*c);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

} // namespace ValueCodec
