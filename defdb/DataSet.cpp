#include "defdb/DataSet.h"

#include "defdb/DataSetStream.h"
#include "defdb/Filter.h"

#include <QHash>
#include <algorithm>
#include <cstdio>
#include <unordered_map>

struct TDataSet::TLink {
    int keyField;              // in this table
    const TDataSet *set;       // lookup table
    QString setKeyName;        // key field there
    // Filled by BuildLookupMaps for one refresh.
    std::unordered_map<qint64, int> intKeys;
    QHash<QString, int> textKeys;
};

namespace {

const TValue &NullValue()
{
    static const TValue null;
    return null;
}

void Diagnose(const QString &text)
{
    std::fprintf(stderr, "defdb: %s\n", text.toLocal8Bit().constData());
}

QString Upper(const QString &s) { return s.toUpper(); }

} // namespace

TDataSet::TDataSet() = default;
TDataSet::~TDataSet() = default;

// --- Structure -----------------------------------------------------------

void TDataSet::AddField(const QString &name, TFieldType type, int size, bool required)
{
    TFieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.required = required;
    // Stored fields stay ahead of the derived ones.
    for (auto &row : rows)
        row.insert(row.begin() + storedCount, TValue());
    autoIncNext.clear();
    std::vector<TFieldDef> stored(fields.begin(), fields.begin() + storedCount);
    stored.push_back(f);
    fields = std::move(stored);
    storedCount = int(fields.size());
    ApplyDerivedDefs();
}

void TDataSet::AddIndex(const QString &name, const QString &fieldNames, bool primary, bool unique)
{
    indexes.push_back(TIndexDef{name, fieldNames, primary, unique});
}

void TDataSet::CreateDataSet()
{
    autoIncNext.clear();
    rows.clear();
    active = true;
    ApplyDerivedDefs();
    CompileFilter();
    RebuildView(-1);
}

void TDataSet::AddLookupField(const QString &name, const QString &keyField, const TDataSet *lookupSet,
                              const QString &lookupKeyField, const QString &resultField)
{
    TFieldDef f;
    f.name = name;
    f.kind = TFieldKind::Lookup;
    f.keyField = keyField;
    f.lookupSet = lookupSet;
    f.lookupKeyField = lookupKeyField;
    f.resultField = resultField.isEmpty() ? name : resultField;
    derivedDefs.push_back(f);
    ApplyDerivedDefs();
    if (active) {
        CompileFilter();
        RebuildView(CurrentRowId());
    }
}

void TDataSet::AddLookupFields(const QStringList &names, const QString &keyField, const TDataSet *lookupSet,
                               const QString &lookupKeyField)
{
    for (const QString &n : names) {
        TFieldDef f;
        f.name = n;
        f.kind = TFieldKind::Lookup;
        f.keyField = keyField;
        f.lookupSet = lookupSet;
        f.lookupKeyField = lookupKeyField;
        f.resultField = n;
        derivedDefs.push_back(f);
    }
    ApplyDerivedDefs();
    if (active) {
        CompileFilter();
        RebuildView(CurrentRowId());
    }
}

void TDataSet::AddLanguageField(const QString &name, const QString &japaneseField, const QString &englishField)
{
    TFieldDef f;
    f.name = name;
    f.type = TFieldType::Text;
    f.kind = TFieldKind::Calculated;
    f.japaneseField = japaneseField;
    f.englishField = englishField;
    derivedDefs.push_back(f);
    ApplyDerivedDefs();
    if (active) {
        CompileFilter();
        RebuildView(CurrentRowId());
    }
}

void TDataSet::SetJapanese(bool value)
{
    if (japanese == value)
        return;
    japanese = value;
    for (int r = 0; r < int(rows.size()); ++r)
        for (size_t i = 0; i < fields.size(); ++i)
            if (fields[i].kind == TFieldKind::Calculated) {
                const int src = japanese ? calcJ[i] : calcE[i];
                rows[size_t(r)][i] = src >= 0 ? rows[size_t(r)][size_t(src)] : TValue();
            }
    if (filter)
        RebuildView(CurrentRowId());
}

void TDataSet::RebuildNameIndex()
{
    nameIndex.clear();
    for (int i = 0; i < int(fields.size()); ++i)
        if (!nameIndex.contains(Upper(fields[size_t(i)].name)))
            nameIndex.insert(Upper(fields[size_t(i)].name), i);
}

int TDataSet::FieldIndex(const QString &name) const
{
    // Field names are upper case, and so are the names callers write.
    const auto it = nameIndex.constFind(name);
    return it != nameIndex.constEnd() ? *it : nameIndex.value(Upper(name), -1);
}

// Lays out the derived fields behind the stored ones, resolves their
// sources, adds the automatic display names and recomputes every row.
void TDataSet::ApplyDerivedDefs()
{
    fields.resize(size_t(storedCount));
    RebuildNameIndex();
    for (const TFieldDef &d : derivedDefs) {
        if (FieldIndex(d.name) >= 0)
            continue; // a stored field of that name wins
        fields.push_back(d);
        nameIndex.insert(Upper(d.name), int(fields.size()) - 1);
    }
    // X from X_J / X_E where no X exists.
    const int before = int(fields.size());
    for (int i = 0; i < before; ++i) {
        const QString &n = fields[size_t(i)].name;
        if (!n.endsWith(QLatin1String("_J"), Qt::CaseInsensitive))
            continue;
        const QString base = n.left(n.size() - 2);
        const QString english = base + QLatin1String("_E");
        if (base.isEmpty() || FieldIndex(base) >= 0 || FieldIndex(english) < 0)
            continue;
        TFieldDef f;
        f.name = base;
        f.type = fields[size_t(i)].type;
        f.size = fields[size_t(i)].size;
        f.kind = TFieldKind::Calculated;
        f.japaneseField = n;
        f.englishField = english;
        fields.push_back(f);
        nameIndex.insert(Upper(base), int(fields.size()) - 1);
    }

    links.clear();
    fieldLink.assign(fields.size(), -1);
    fieldResult.assign(fields.size(), -1);
    calcJ.assign(fields.size(), -1);
    calcE.assign(fields.size(), -1);
    for (size_t i = size_t(storedCount); i < fields.size(); ++i) {
        TFieldDef &f = fields[i];
        if (f.kind == TFieldKind::Calculated) {
            calcJ[i] = FieldIndex(f.japaneseField);
            calcE[i] = FieldIndex(f.englishField);
            // A display name is text unless its sources say otherwise.
            if (calcJ[i] >= 0)
                f.type = fields[size_t(calcJ[i])].type, f.size = fields[size_t(calcJ[i])].size;
            continue;
        }
        const int key = FieldIndex(f.keyField);
        // A lookup key must be a field ahead of the lookup, so that the
        // values it depends on are already computed.
        if (key < 0 || key >= int(i) || !f.lookupSet)
            continue;
        int link = -1;
        for (size_t l = 0; l < links.size(); ++l)
            if (links[l].keyField == key && links[l].set == f.lookupSet
                && links[l].setKeyName.compare(f.lookupKeyField, Qt::CaseInsensitive) == 0)
                link = int(l);
        if (link < 0) {
            links.push_back(TLink{key, f.lookupSet, f.lookupKeyField, {}, {}});
            link = int(links.size()) - 1;
        }
        fieldLink[i] = link;
        const int res = f.lookupSet->FieldIndex(f.resultField);
        if (res >= 0) {
            f.type = f.lookupSet->FieldDef(res).type;
            f.size = f.lookupSet->FieldDef(res).size;
        }
    }

    for (auto &row : rows)
        row.resize(fields.size());
    RefreshLookups();
}

void TDataSet::BuildLookupMaps()
{
    for (TLink &l : links) {
        l.intKeys.clear();
        l.textKeys.clear();
        const int k = l.set->FieldIndex(l.setKeyName);
        if (k < 0)
            continue;
        const int n = l.set->AllRowCount();
        l.intKeys.reserve(size_t(n));
        for (int r = n - 1; r >= 0; --r) { // backwards: the first row of a key wins
            const TValue &v = l.set->RowValue(r, k);
            if (v.IsInteger())
                l.intKeys[v.AsInt64()] = r;
            else if (v.IsFloat() && v.AsFloat() == double(v.AsInt64()))
                l.intKeys[v.AsInt64()] = r;
            else if (v.IsText())
                l.textKeys.insert(v.AsString(), r);
        }
    }
}

void TDataSet::ComputeDerived(int rowId, bool linearSearch)
{
    auto &row = rows[size_t(rowId)];
    std::vector<int> &target = linkTarget;
    target.assign(links.size(), -2);
    for (size_t i = size_t(storedCount); i < fields.size(); ++i) {
        const TFieldDef &f = fields[i];
        if (f.kind == TFieldKind::Calculated) {
            const int src = japanese ? calcJ[i] : calcE[i];
            row[i] = src >= 0 ? row[size_t(src)] : TValue();
            continue;
        }
        const int li = fieldLink[i];
        if (li < 0) {
            row[i] = TValue();
            continue;
        }
        TLink &l = links[size_t(li)];
        if (target[size_t(li)] == -2) {
            const TValue &key = row[size_t(l.keyField)];
            int found = -1;
            if (linearSearch) {
                const int k = l.set->FieldIndex(l.setKeyName);
                for (int r = 0; k >= 0 && !key.IsNull() && r < l.set->AllRowCount(); ++r)
                    if (l.set->RowValue(r, k) == key) {
                        found = r;
                        break;
                    }
            } else if (key.IsInteger() || (key.IsFloat() && key.AsFloat() == double(key.AsInt64()))) {
                auto it = l.intKeys.find(key.AsInt64());
                found = it == l.intKeys.end() ? -1 : it->second;
            } else if (key.IsText()) {
                found = l.textKeys.value(key.AsString(), -1);
            }
            target[size_t(li)] = found;
        }
        const int t = target[size_t(li)];
        if (t < 0) {
            row[i] = TValue();
            continue;
        }
        // The result column is resolved once per refresh; a single-row
        // update asks afresh, as the other table may have been reloaded.
        const int res = linearSearch ? l.set->FieldIndex(f.resultField) : fieldResult[i];
        row[i] = res >= 0 ? l.set->RowValue(t, res) : TValue();
    }
}

void TDataSet::RefreshLookups()
{
    if (int(fields.size()) == storedCount)
        return;
    BuildLookupMaps();
    for (size_t i = size_t(storedCount); i < fields.size(); ++i)
        if (fieldLink[i] >= 0) {
            const TDataSet &set = *links[size_t(fieldLink[i])].set;
            fieldResult[i] = set.FieldIndex(fields[i].resultField);
            // The looked-up table may have been loaded only now.
            if (fieldResult[i] >= 0) {
                fields[i].type = set.FieldDef(fieldResult[i]).type;
                fields[i].size = set.FieldDef(fieldResult[i]).size;
            }
        }
    for (int r = 0; r < int(rows.size()); ++r)
        ComputeDerived(r, false);
    for (TLink &l : links) {
        l.intKeys.clear();
        l.textKeys.clear();
    }
    if (filter || !order.empty())
        RebuildView(CurrentRowId());
}

bool TDataSet::RowAffectsDerived(int fieldIndex) const
{
    for (const TLink &l : links)
        if (l.keyField == fieldIndex)
            return true;
    for (size_t i = 0; i < fields.size(); ++i)
        if (calcJ[i] == fieldIndex || calcE[i] == fieldIndex)
            return true;
    return false;
}

// --- State ---------------------------------------------------------------

void TDataSet::Close()
{
    rows.clear();
    autoIncNext.clear();
    view.clear();
    fields.clear();
    indexes.clear();
    storedCount = 0;
    active = false;
    ApplyDerivedDefs();
    filter.reset();
    order.clear();
    ResetCursor();
}

void TDataSet::EmptyDataSet()
{
    autoIncNext.clear();
    rows.clear();
    RebuildView(-1);
}

void TDataSet::AssignStored(std::vector<TFieldDef> &&storedFields, std::vector<TIndexDef> &&storedIndexes,
                            std::vector<std::vector<TValue>> &&storedRows)
{
    fields = std::move(storedFields);
    storedCount = int(fields.size());
    indexes = std::move(storedIndexes);
    rows = std::move(storedRows);
    autoIncNext.clear();
    active = true;
    ApplyDerivedDefs();
    CompileFilter();
    // Keep the chosen order when the new structure has it.
    if (!indexName.isEmpty()) {
        const QString name = indexName;
        bool known = false;
        for (const TIndexDef &d : indexes)
            if (d.name.compare(name, Qt::CaseInsensitive) == 0) {
                AssignOrder(d.FieldList());
                known = true;
            }
        if (!known) {
            Diagnose(QStringLiteral("no index %1 in the loaded table").arg(name));
            order.clear();
        }
    } else if (!indexFieldNames.isEmpty()) {
        AssignOrder(indexFieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts));
    } else {
        order.clear();
    }
    RebuildView(-1);
}

bool TDataSet::LoadFromBytes(const QByteArray &bytes, QString *error)
{
    return TDataSetStream::Decode(bytes, *this, error);
}

QByteArray TDataSet::SaveToBytes() const
{
    return TDataSetStream::Encode(*this);
}

// --- Order and filter ----------------------------------------------------

bool TDataSet::AssignOrder(const QStringList &orderFields)
{
    std::vector<int> o;
    for (const QString &n : orderFields) {
        const int i = FieldIndex(n.trimmed());
        if (i < 0)
            return false;
        o.push_back(i);
    }
    order = std::move(o);
    return true;
}

bool TDataSet::SetIndexName(const QString &name)
{
    if (name.isEmpty()) {
        indexName.clear();
        indexFieldNames.clear();
        order.clear();
        RebuildView(CurrentRowId());
        return true;
    }
    if (!active) {
        // Applied when the table is loaded.
        indexName = name;
        indexFieldNames.clear();
        return true;
    }
    for (const TIndexDef &d : indexes)
        if (d.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (!AssignOrder(d.FieldList()))
                return false;
            indexName = d.name;
            indexFieldNames.clear();
            RebuildView(CurrentRowId());
            return true;
        }
    return false;
}

bool TDataSet::SetIndexFieldNames(const QString &fieldNames)
{
    if (active && !AssignOrder(fieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts)))
        return false;
    indexName.clear();
    indexFieldNames = fieldNames;
    if (active)
        RebuildView(CurrentRowId());
    return true;
}

void TDataSet::CompileFilter()
{
    filter.reset();
    filterBroken = false;
    if (filterText.isEmpty() || !active)
        return;
    QString error;
    filter = TFilter::Parse(filterText, *this, &error);
    if (!filter) {
        filterBroken = true;
        Diagnose(QStringLiteral("filter \"%1\": %2").arg(filterText, error));
    }
}

bool TDataSet::SetFilter(const QString &expression)
{
    predicate = nullptr;
    filterText = expression.trimmed();
    CompileFilter();
    if (active)
        RebuildView(CurrentRowId());
    return !filterBroken;
}

void TDataSet::SetFilter(TPredicate p)
{
    filterText.clear();
    filter.reset();
    filterBroken = false;
    predicate = std::move(p);
    RebuildView(CurrentRowId());
}

void TDataSet::ClearFilter()
{
    SetFilter(QString());
}

bool TDataSet::Filtered() const
{
    return !filterText.isEmpty() || bool(predicate);
}

bool TDataSet::RowPasses(int rowId) const
{
    if (filterBroken)
        return false;
    if (filter && !filter->Matches(*this, rowId))
        return false;
    if (predicate && !predicate(*this, rowId))
        return false;
    return true;
}

void TDataSet::Refresh()
{
    RebuildView(CurrentRowId());
}

void TDataSet::RebuildView(int keepRowId)
{
    view.clear();
    view.reserve(rows.size());
    for (int r = 0; r < int(rows.size()); ++r)
        if (RowPasses(r))
            view.push_back(r);
    if (!order.empty()) {
        auto less = [this](int a, int b) {
            const auto &ra = rows[size_t(a)];
            const auto &rb = rows[size_t(b)];
            for (int f : order) {
                const TValue &x = ra[size_t(f)];
                const TValue &y = rb[size_t(f)];
                if (x.IsInteger() && y.IsInteger()) {
                    if (x.AsInt64() != y.AsInt64())
                        return x.AsInt64() < y.AsInt64();
                    continue;
                }
                const int c = TValue::Compare(x, y);
                if (c != 0)
                    return c < 0;
            }
            return false;
        };
        // Tables are usually stored in their main order already.
        if (!std::is_sorted(view.begin(), view.end(), less))
            std::stable_sort(view.begin(), view.end(), less);
    }
    ResetCursor();
    if (keepRowId >= 0) {
        auto it = std::find(view.begin(), view.end(), keepRowId);
        if (it != view.end())
            cursor = int(it - view.begin());
    }
}

// --- View and cursor -----------------------------------------------------

void TDataSet::ResetCursor()
{
    cursor = 0;
    eof = view.empty();
    bof = true;
}

void TDataSet::First()
{
    ResetCursor();
}

void TDataSet::Last()
{
    cursor = view.empty() ? 0 : int(view.size()) - 1;
    eof = view.empty();
    bof = view.empty();
}

void TDataSet::Next()
{
    if (view.empty()) {
        eof = true;
        return;
    }
    if (cursor + 1 < int(view.size())) {
        ++cursor;
        bof = false;
    } else {
        eof = true;
    }
}

void TDataSet::Prior()
{
    if (view.empty()) {
        bof = true;
        return;
    }
    if (cursor > 0) {
        --cursor;
        eof = false;
    } else {
        bof = true;
    }
}

bool TDataSet::SetRecNo(int position)
{
    if (position < 0 || position >= int(view.size()))
        return false;
    cursor = position;
    eof = false;
    bof = false;
    return true;
}

int TDataSet::CurrentRowId() const
{
    return view.empty() ? -1 : view[size_t(cursor)];
}

std::vector<int> TDataSet::ResolveFields(const QString &fieldNames) const
{
    std::vector<int> out;
    for (const QString &n : fieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int i = FieldIndex(n.trimmed());
        if (i < 0)
            return {};
        out.push_back(i);
    }
    return out;
}

bool TDataSet::Locate(const QString &fieldNames, const std::vector<TValue> &values)
{
    const std::vector<int> f = ResolveFields(fieldNames);
    if (f.empty() || f.size() != values.size())
        return false;
    for (int p = 0; p < int(view.size()); ++p) {
        const auto &row = rows[size_t(view[size_t(p)])];
        bool match = true;
        for (size_t k = 0; k < f.size() && match; ++k)
            match = row[size_t(f[k])] == values[k];
        if (match) {
            cursor = p;
            eof = false;
            bof = false;
            return true;
        }
    }
    return false;
}

const TValue &TDataSet::Field(const QString &name) const
{
    return Field(FieldIndex(name));
}

const TValue &TDataSet::Field(int fieldIndex) const
{
    if (view.empty() || fieldIndex < 0 || fieldIndex >= int(fields.size()))
        return NullValue();
    return rows[size_t(view[size_t(cursor)])][size_t(fieldIndex)];
}

bool TDataSet::SetField(const QString &name, const TValue &value)
{
    const int f = FieldIndex(name);
    if (view.empty() || f < 0)
        return false;
    SetRowValue(view[size_t(cursor)], f, value);
    return true;
}

const TValue &TDataSet::ValueAt(int position, int fieldIndex) const
{
    if (position < 0 || position >= int(view.size()) || fieldIndex < 0 || fieldIndex >= int(fields.size()))
        return NullValue();
    return rows[size_t(view[size_t(position)])][size_t(fieldIndex)];
}

// --- All rows ------------------------------------------------------------

const TValue &TDataSet::RowValue(int rowId, int fieldIndex) const
{
    if (rowId < 0 || rowId >= int(rows.size()) || fieldIndex < 0 || fieldIndex >= int(fields.size()))
        return NullValue();
    return rows[size_t(rowId)][size_t(fieldIndex)];
}

void TDataSet::SetRowValue(int rowId, int fieldIndex, const TValue &value)
{
    if (rowId < 0 || rowId >= int(rows.size()) || fieldIndex < 0 || fieldIndex >= int(fields.size()))
        return;
    const TFieldDef &f = fields[size_t(fieldIndex)];
    TValue v = value;
    // Keep cells in the field's own form, so comparisons stay numeric.
    if (!v.IsNull()) {
        if (f.IsIntegerType() && !v.IsInteger())
            v = TValue(v.AsInt64());
        else if (f.type == TFieldType::Float && !v.IsFloat())
            v = TValue(v.AsFloat());
        else if (f.IsTextType() && !v.IsText())
            v = TValue(v.AsString());
    }
    rows[size_t(rowId)][size_t(fieldIndex)] = std::move(v);
    if (f.type == TFieldType::AutoInc)
        autoIncNext.clear();
    if (RowAffectsDerived(fieldIndex))
        ComputeDerived(rowId, true);
}

int TDataSet::AppendRow()
{
    if (autoIncNext.size() != size_t(storedCount)) {
        autoIncNext.assign(size_t(storedCount), 1);
        for (int i = 0; i < storedCount; ++i)
            if (fields[size_t(i)].type == TFieldType::AutoInc)
                for (const auto &r : rows)
                    if (!r[size_t(i)].IsNull())
                        autoIncNext[size_t(i)] = std::max(autoIncNext[size_t(i)], r[size_t(i)].AsInt64() + 1);
    }
    std::vector<TValue> row(fields.size());
    for (int i = 0; i < storedCount; ++i)
        if (fields[size_t(i)].type == TFieldType::AutoInc)
            row[size_t(i)] = TValue(autoIncNext[size_t(i)]++);
    rows.push_back(std::move(row));
    const int id = int(rows.size()) - 1;
    if (int(fields.size()) > storedCount)
        ComputeDerived(id, true);
    active = true;
    if (!Filtered() && order.empty()) {
        // Load order without a filter: the new row simply goes last.
        view.push_back(id);
        cursor = int(view.size()) - 1;
        eof = false;
        bof = false;
    } else {
        RebuildView(id);
    }
    return id;
}
