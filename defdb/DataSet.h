#pragma once

#include "defdb/FieldDef.h"
#include "defdb/IndexDef.h"
#include "defdb/Value.h"

#include <QString>
#include <QHash>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class TFilter;
class TDataSetStream;

// An in-memory table ("dataset") of the definition database and of the data
// modules' working lists.
//
// Rows are kept in load order and addressed by a row id (0 .. AllRowCount-1)
// that never changes while the table is open. What callers walk is the view:
// the rows that pass the filter, in the order of the current index, with a
// cursor on one of them (First/Next/Eof, Locate).
//
// Lookup and calculated fields are ordinary columns whose values are cached:
// lookups are filled when the table is loaded or RefreshLookups is called,
// calculated display names (NAME from NAME_J/NAME_E) whenever their source
// changes. For every pair X_J/X_E of fields the table adds a calculated X
// unless a field X exists.
//
// A typical walk:
//     TDataSet amp;
//     amp.AddLookupField("LENGTH", "PARAMETER_ID", &param, "ID");
//     intf.LoadTable(amp, "1_AMP_PARA.cds");
//     amp.SetIndexName("INDEX_ID_ADDRESS");
//     amp.SetFilter(QString("(AMPLIFIER_ID=%1) and (MODE_NO IS NOT NULL)").arg(key));
//     for (amp.First(); !amp.Eof(); amp.Next())
//         use(amp.Field("ADDRESS").AsInteger(), amp.Field("LENGTH").AsInteger());
class TDataSet
{
public:
    using TPredicate = std::function<bool(const TDataSet &, int rowId)>;

    TDataSet();
    ~TDataSet();
    TDataSet(const TDataSet &) = delete;
    TDataSet &operator=(const TDataSet &) = delete;

    // --- Structure -------------------------------------------------------
    // Data fields and indexes of a table built in code; loading a stream
    // replaces them with the stream's. Call CreateDataSet afterwards.
    void AddField(const QString &name, TFieldType type, int size = 0, bool required = false);
    void AddIndex(const QString &name, const QString &fields, bool primary = false, bool unique = false);
    // Opens a table built in code, empty.
    void CreateDataSet();

    // A lookup field (kept across loads). resultField empty: same as name.
    // lookupKeyField may be a lookup field of this table defined earlier.
    void AddLookupField(const QString &name, const QString &keyField, const TDataSet *lookupSet,
                        const QString &lookupKeyField, const QString &resultField = QString());
    // Several lookups through the same key, each taking the field of the
    // same name from lookupSet.
    void AddLookupFields(const QStringList &names, const QString &keyField, const TDataSet *lookupSet,
                         const QString &lookupKeyField);
    // A calculated display-language field (kept across loads).
    void AddLanguageField(const QString &name, const QString &japaneseField, const QString &englishField);

    // Display language of the calculated fields; Japanese unless set.
    void SetJapanese(bool japanese);
    bool Japanese() const { return japanese; }

    int FieldCount() const { return int(fields.size()); }
    const TFieldDef &FieldDef(int index) const { return fields[size_t(index)]; }
    const std::vector<TFieldDef> &FieldDefs() const { return fields; }
    const std::vector<TIndexDef> &IndexDefs() const { return indexes; }
    // -1 when there is no such field; names compare without letter case.
    int FieldIndex(const QString &name) const;
    bool HasField(const QString &name) const { return FieldIndex(name) >= 0; }

    // --- State -----------------------------------------------------------
    bool Active() const { return active; }
    // Empties the table and forgets its stored fields; lookup and
    // calculated field definitions, filter and index choice stay.
    void Close();
    // Removes all rows, keeps the structure open.
    void EmptyDataSet();

    // Replaces structure (data fields, indexes) and rows from the stream
    // form (docs/defdb-format.md) and opens the table. On a malformed stream
    // returns false with the reason in *error and leaves the table as it was.
    bool LoadFromBytes(const QByteArray &bytes, QString *error = nullptr);
    QByteArray SaveToBytes() const;

    // Recomputes every lookup (call after reloading a table looked up into,
    // or after switching its display language).
    void RefreshLookups();

    // --- Order and filter ------------------------------------------------
    // Named index as the order; empty: load order. False (and the order
    // unchanged) when the table has no such index.
    bool SetIndexName(const QString &name);
    QString IndexName() const { return indexName; }
    // An ad-hoc order over ";"-separated fields (clears IndexName).
    bool SetIndexFieldNames(const QString &fieldNames);

    // Filter expression in the definition-table syntax:
    //   "(AMPLIFIER_ID=3) and (MODE_NO IS NOT NULL) and (PARAMETER_ID In (1,2,7))"
    // Comparisons = <> < <= > >= between a field and an integer, float or
    // 'quoted text' literal (either side), "IS NULL", "IS NOT NULL",
    // "In (list)", joined by and / or / not and parentheses. Keywords ignore
    // letter case; a comparison with a null field is false. An empty text
    // removes the filter. A text that does not parse (or names an unknown
    // field) returns false, prints the reason on the error output and lets
    // no row through, so a mistake never shows rows of another model.
    bool SetFilter(const QString &expression);
    // A C++ predicate as filter (row id of the row asked about).
    void SetFilter(TPredicate predicate);
    void ClearFilter();
    QString Filter() const { return filterText; }
    bool Filtered() const;

    // Re-evaluates filter and order after rows were changed in a way that
    // can move them (SetRowValue does not rebuild the view by itself).
    void Refresh();

    // --- View and cursor -------------------------------------------------
    int RecordCount() const { return int(view.size()); }
    bool IsEmpty() const { return view.empty(); }
    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const { return eof; }
    bool Bof() const { return bof; }
    // Position of the cursor in the view (0-based), -1 on an empty view.
    int RecNo() const { return view.empty() ? -1 : cursor; }
    bool SetRecNo(int position);
    // Row id of the cursor's row, -1 when the view is empty.
    int CurrentRowId() const;
    // Row id of the view position.
    int RowIdAt(int position) const { return view[size_t(position)]; }

    // Moves to the first row of the view whose fields (";"-separated)
    // equal the values; false and the cursor unchanged when none does.
    bool Locate(const QString &fieldNames, const std::vector<TValue> &values);
    bool Locate(const QString &fieldNames, std::initializer_list<TValue> values)
    {
        return Locate(fieldNames, std::vector<TValue>(values));
    }
    bool Locate(const QString &fieldName, const TValue &value) { return Locate(fieldName, std::vector<TValue>{value}); }

    // Fields of the cursor's row; a null value when the view is empty or
    // the field does not exist.
    const TValue &Field(const QString &name) const;
    const TValue &Field(int fieldIndex) const;
    // Sets a field of the cursor's row; false on an empty view or unknown field.
    bool SetField(const QString &name, const TValue &value);

    // View position access.
    const TValue &ValueAt(int position, int fieldIndex) const;

    // --- All rows, whatever the filter -----------------------------------
    int AllRowCount() const { return int(rows.size()); }
    const TValue &RowValue(int rowId, int fieldIndex) const;
    const TValue &RowValue(int rowId, const QString &name) const { return RowValue(rowId, FieldIndex(name)); }
    // Sets a cell and updates the row's lookups and calculated fields that
    // depend on it.
    void SetRowValue(int rowId, int fieldIndex, const TValue &value);
    void SetRowValue(int rowId, const QString &name, const TValue &value) { SetRowValue(rowId, FieldIndex(name), value); }
    // Appends an empty row (autoinc fields numbered on) and returns its id.
    // The view is rebuilt; the cursor moves to the new row when it shows.
    int AppendRow();

private:
    friend class TDataSetStream;
    // Takes stored fields, indexes and rows (rows sized to the stored
    // fields) and opens the table with them.
    void AssignStored(std::vector<TFieldDef> &&storedFields, std::vector<TIndexDef> &&storedIndexes,
                      std::vector<std::vector<TValue>> &&storedRows);
    void ApplyDerivedDefs();
    void CompileFilter();
    bool RowAffectsDerived(int fieldIndex) const;
    void ComputeDerived(int rowId, bool linearSearch);
    void BuildLookupMaps();
    void RebuildView(int keepRowId);
    void ResetCursor();
    bool RowPasses(int rowId) const;
    bool AssignOrder(const QStringList &orderFields);
    std::vector<int> ResolveFields(const QString &fieldNames) const;
    void RebuildNameIndex();

    struct TLink; // one (key field, lookup table, key there) way into another table
    std::vector<TLink> links;
    std::vector<int> fieldLink;       // per field: index into links, -1
    std::vector<int> fieldResult;     // per lookup field: result field in the lookup table
    std::vector<int> calcJ, calcE;    // per calculated field: its sources
    QHash<QString, int> nameIndex;    // upper-case name -> field
    std::vector<qint64> autoIncNext;  // per stored field, filled on the first append
    std::vector<int> linkTarget;      // scratch of ComputeDerived

    std::vector<TFieldDef> fields; // stored fields first, then the derived ones
    int storedCount = 0;
    std::vector<TFieldDef> derivedDefs; // lookup and calculated, in definition order
    std::vector<TIndexDef> indexes;
    std::vector<std::vector<TValue>> rows;
    std::vector<int> view;
    std::vector<int> order; // field indexes of the current order
    QString indexName;
    QString indexFieldNames;
    QString filterText;
    std::unique_ptr<TFilter> filter;
    TPredicate predicate;
    bool filterBroken = false;
    bool japanese = true;
    bool active = false;
    int cursor = 0;
    bool eof = true;
    bool bof = true;
};
