#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

// What the value codec needs to know about one parameter or monitor item:
// the AMP_PARA row with the fields it looks up from PARAMETER and FRACTION.
// The data modules fill it from their table copies; the codec never sees the
// tables themselves. Texts that come in a _J and an _E column are given here
// already chosen by the display language.
struct TParamDef
{
    // AMP_PARA
    qint32 ampId = -1;                 // AMPLIFIER_ID
    qint32 address = 0;                // ADDRESS
    qint32 parameterId = -1;           // PARAMETER_ID
    qint32 standardValue = 0;          // STANDARD_VALUE (raw)
    qint32 minValue = 0;               // MIN_VALUE (raw)
    qint32 maxValue = 0;               // MAX_VALUE (raw)
    std::optional<qint32> modeNo;      // MODE_NO: the group
    std::optional<qint32> pageNo;      // PAGE_NO

    // PARAMETER (through PARAMETER_ID); a missing row leaves the defaults
    qint32 code = 0;                   // CODE
    int length = 0;                    // LENGTH: 1, 2 or 4; 0 (or null) = no value
    int dataForm = 0;                  // DATAFORM 1..10; anything else shows nothing
    std::optional<int> perPowerOf10;   // PER_POWEROF10: decimal places of forms 4 and 8
    std::optional<qint32> tableId;     // TABLE_ID (TABLE_DATA group, form 7)
    std::optional<qint32> binaryHighId; // BINARY_HIGH_ID (BINARY_DATA group, bits 4..7)
    std::optional<qint32> binaryLowId;  // BINARY_LOW_ID (bits 0..3)
    QString binaryHighName;            // BINARY_HIGH_NAME (by display language)
    QString binaryLowName;             // BINARY_LOW_NAME
    std::optional<qint32> fractionId;  // FRACTION_ID
    std::optional<qint32> fractionCode; // FRACTION_CODE (FRACTION.CODE through FRACTION_ID)
    QString symbol;                    // SYMBOL
    QString name;                      // NAME (by display language)
    QString nameJ;                     // NAME_J (the edit dialog always shows it)
    QString unit;                      // UNIT
    QString unit2;                     // UNIT2 (forms 9 and 10, unit selector 1)
    QString unit3;                     // UNIT3 (forms 9 and 10, unit selector 2)
};

// One TABLE_DATA row: the text of one coded value.
struct TTableDataRow
{
    qint32 tableId = 0;                // TABLE_ID
    int value = 0;                     // VALUE 0..255
    QString name;                      // NAME (shown in the grid)
    QString textJ;                     // TEXT_J
    QString textE;                     // TEXT_E
};
using TTableDataRows = QList<TTableDataRow>;

// One BINARY_DATA row: the meaning of one value of a 4-bit digit.
struct TBinaryDataRow
{
    qint32 binaryId = 0;               // BINARY_ID
    int value = 0;                     // VALUE 0..15
    QString textJ;                     // TEXT_J
    QString textE;                     // TEXT_E
};
using TBinaryDataRows = QList<TBinaryDataRow>;

// One FRACTION row: the condition a fraction value must satisfy.
struct TFractionRow
{
    qint32 id = 0;                     // ID
    qint32 code = 0;                   // CODE
    QString text;                      // TEXT, with the placeholders NUMER and DENOM
};
using TFractionRows = QList<TFractionRow>;
