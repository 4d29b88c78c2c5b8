#pragma once

#include "defdb/FieldDef.h"
#include "defdb/IndexDef.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class TDataSet;

// The layout of every definition table: stored fields with types, sizes,
// required flags and accepted ranges, and the named indexes. The builder
// tool compiles sources against it; tests and benchmarks build tables from it.
class TDefSchema
{
public:
    struct TField {
        QString name;
        TFieldType type;
        int size;
        bool required;
        std::optional<qint64> min; // accepted range, when the field has one
        std::optional<qint64> max;
    };
    struct TTable {
        QString stream; // "1_AMP_PARA.cds"
        std::vector<TField> fields;
        std::vector<TIndexDef> indexes;
    };

    // Every table in storage order (0_AMPLIFIER.cds first).
    static const std::vector<TTable> &Tables();
    // The table of a stream name, nullptr when unknown.
    static const TTable *Find(const QString &stream);
    // Stream names of one storage (0..3).
    static QStringList Streams(int storage);

    // Gives an empty table the structure of the stream and opens it.
    static bool Create(TDataSet &table, const QString &stream);

    // The lookups a parameter or monitor list uses, as the windows define
    // them: on a PARAMETER table LEVEL (through TYPE_ID into type, storage 1
    // only); on an AMP_PARA table every PARAMETER field of its row (CODE,
    // LENGTH, ..., NAME_J, NAME_E, NAME, LEVEL) through PARAMETER_ID, then
    // FRACTION_CODE (fraction) and HELP_TEXT_J/_E (help). Null tables are
    // skipped. Define them before loading the tables.
    static void AddParameterLookups(TDataSet &parameter, const TDataSet *type);
    static void AddAmpParaLookups(TDataSet &ampPara, const TDataSet &parameter, const TDataSet *fraction,
                                  const TDataSet *help);
};
