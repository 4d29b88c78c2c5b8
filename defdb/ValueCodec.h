#pragma once

#include "defdb/DecimalSettings.h"
#include "defdb/ParamDef.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The one set of rules that turns a parameter's raw value into text and
// typed text back into a raw value, by the parameter's DATAFORM:
//   1 unsigned decimal        2 signed decimal         3 hexadecimal
//   4 unsigned fixed point    5 fraction (numerator low word, denominator high)
//   6 two hex digits with a meaning list each          7 code with a table text
//   8 signed fixed point      9, 10 signed fixed point scaled by the amplifier
// A raw value is the parameter's bytes in a 32-bit integer; values from the
// amplifier have zero bits above the length, values from the database or
// typed in may carry copies of the sign bit instead. Numbers are written with
// "." as decimal point whatever the locale. Nothing here raises.

// The AMP_PARA field a value comes from: value fields show the value, range
// fields (MIN_VALUE, MAX_VALUE) show "*" or "-" for forms 5 to 7.
enum class TValueField { Standard, Now, Input, Min, Max };

enum class TStepDirection { Up, Down };

// One entry of a choice box: the label is the two columns split by a tab.
struct TChoice
{
    QString label;
    int value = 0;
    bool operator==(const TChoice &) const = default;
};

struct TChoiceList
{
    QList<TChoice> items;
    int current = -1; // index of the current value
};

struct TNibbleChoiceLists
{
    TChoiceList high; // bits 4..7
    TChoiceList low;  // bits 0..3
};

// What the edit dialog puts into its boxes.
struct TEditTexts
{
    QString text;
    QString numerator;   // DATAFORM 5 only
    QString denominator; // DATAFORM 5 only
};

// What the user entered in the edit dialog.
struct TParseInput
{
    QString text;
    QString numerator;
    QString denominator;
    int tableIndex = -1; // chosen index of the TableChoices list
    int highIndex = -1;  // chosen indexes of the NibbleChoices lists
    int lowIndex = -1;
};

// The grids of the motor parameters and of the verification list show some
// values slightly differently from the other parameter grids.
struct TValueTextOptions
{
    bool fractionAsFourBytes = false; // widen DATAFORM 5 as 4 bytes whatever LENGTH
    bool placesFromPowerOf10 = false; // DATAFORM 9 and 10 take PER_POWEROF10 like 8
    bool tableLookupLow16 = false;    // DATAFORM 7 texts by the low 16 bits

    static TValueTextOptions Standard() { return {}; }
    static TValueTextOptions MotorParameters() { return {true, false, false}; }
    static TValueTextOptions Verification() { return {false, true, true}; }
};

namespace ValueCodec {

// "?????": a value that cannot be shown.
inline constexpr char16_t kUnshowable[] = u"?????";

// The value field named by an AMP_PARA field name ("NOW_VALUE" ...).
std::optional<TValueField> FieldFromName(QStringView fieldName);

// Sign-extends, then reads a 4-byte value as unsigned; lengths 1 and 2 as
// they stand.
qint64 WidenUnsigned(qint32 raw, int length);
// Sign-extends from the top bit of the length (1, 2 or 4 bytes).
qint64 WidenSigned(qint32 raw, int length);
// By the form: unsigned for 1, 3, 4, 5; signed for 2, 8, 9, 10; none otherwise.
qint64 Widen(qint32 raw, const TParamDef &def);

// The text of a grid cell; no text for a null raw value or LENGTH 0.
// tableData may hold the whole TABLE_DATA table or just the parameter's rows.
QString ValueText(TValueField field, std::optional<qint32> raw, const TParamDef &def,
                  const TDecimalSettings &settings, const TTableDataRows &tableData,
                  const TValueTextOptions &options = {});

QString UnitText(const TParamDef &def, int unitSelector);
// "[" unit "]", or nothing when the unit is empty (the edit dialog).
QString BracketedUnitText(const TParamDef &def, int unitSelector);

// PAGE_NO as at least two upper-case hexadecimal digits; nothing for null.
QString PageText(std::optional<qint32> pageNo);
// The position line of the edit dialog: "Group 1 - 0A", or "0A" without a group.
QString PositionText(std::optional<qint32> modeNo, std::optional<qint32> pageNo);

// The range line of the edit dialog, e.g. "( 0 - 100 )", "( 0000 - FFFF ) H".
QString RangeText(const TParamDef &def, const TDecimalSettings &settings);

// The starting contents of the edit dialog's boxes (no unit, no " H").
TEditTexts EditText(qint32 raw, const TParamDef &def, const TDecimalSettings &settings);

// One press of the input box's spin button; unreadable text and forms that
// do not step come back unchanged.
QString StepValue(const TParamDef &def, const QString &text, TStepDirection direction);
// One press of a numerator or denominator spin button (0..65535).
QString StepFractionPart(const QString &text, TStepDirection direction);

// The codes of a DATAFORM 7 parameter within its range; a value its table
// does not list gives the single reserve choice "\t予備".
TChoiceList TableChoices(const TParamDef &def, qint32 current, const TTableDataRows &tableData,
                         bool japanese);
// The two digit lists of a DATAFORM 6 parameter.
TNibbleChoiceLists NibbleChoices(const TParamDef &def, qint32 current,
                                 const TBinaryDataRows &binaryData, bool japanese);

// Whether numerator/denominator satisfy the FRACTION condition with the given
// CODE. A broken condition shows "アンプ定義ファイルが壊れています。" and
// rejects.
bool CheckFraction(const QString &numerator, const QString &denominator,
                   std::optional<qint32> fractionCode, const TFractionRows &fractions);

// Confirms the edit dialog's input: the new raw value, or nothing when the
// input is rejected (the caller then warns "設定範囲外です。").
std::optional<qint32> ParseValue(const TParamDef &def, const TDecimalSettings &settings,
                                 qint32 current, const TParseInput &input,
                                 const TChoiceList &tableChoices,
                                 const TNibbleChoiceLists &nibbleChoices,
                                 const TFractionRows &fractions);

// Reads text as a decimal number scaled by 10^places, the digits beyond the
// places dropped (toward zero). Exact; nothing for text that is not a number
// or a result beyond 64 bits.
std::optional<qint64> ScaledDecimal(QStringView text, int places);
// v / 10^places with exactly places decimals ("-1.500"); a whole number for 0.
QString FixedText(qint64 v, int places);

} // namespace ValueCodec
