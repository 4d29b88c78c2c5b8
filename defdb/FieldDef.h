#pragma once

#include <QString>
#include <QtGlobal>

class TDataSet;

// Stored types of the definition tables. The numbers are part of the stream
// encoding (docs/defdb-format.md): never renumber.
enum class TFieldType : quint8 {
    AutoInc = 1,  // 32-bit signed, assigned by the table on append
    Integer = 2,  // 32-bit signed
    SmallInt = 3, // 16-bit signed
    Float = 4,    // 64-bit
    Text = 5,     // at most Size characters
    Memo = 6,     // long text, at most Size characters (0: unlimited)
};

// Data fields are stored in the stream; lookup and calculated fields are
// added in memory and hold cached values.
enum class TFieldKind : quint8 { Data, Lookup, Calculated };

// The definition of one field of a TDataSet.
struct TFieldDef {
    QString name;
    TFieldType type = TFieldType::Integer;
    int size = 0; // characters for Text/Memo, 0 otherwise
    bool required = false;
    TFieldKind kind = TFieldKind::Data;

    // Lookup: the value of resultField in the row of lookupSet whose
    // lookupKeyField equals this row's keyField; null without such a row.
    QString keyField;
    const TDataSet *lookupSet = nullptr;
    QString lookupKeyField;
    QString resultField;

    // Calculated display name: japaneseField when the table's display
    // language is Japanese, else englishField.
    QString japaneseField;
    QString englishField;

    bool IsTextType() const { return type == TFieldType::Text || type == TFieldType::Memo; }
    bool IsIntegerType() const
    {
        return type == TFieldType::AutoInc || type == TFieldType::Integer || type == TFieldType::SmallInt;
    }

    static QString TypeName(TFieldType t);
};
