#pragma once

#include "defdb/ParamDef.h"

#include <QString>

class TDataSet;

// What the value codec needs, taken from the parameter modules' table
// copies. The AMP_PARA table carries the lookups of
// TDefSchema::AddAmpParaLookups; the calculated names follow its display
// language.
namespace ParamRows {

// The definition of one AMP_PARA row (by row id, whatever the filter).
TParamDef Definition(const TDataSet &ampPara, int rowId);

// Whole lookup tables as the codec takes them; an unloaded table gives none.
TTableDataRows TableData(const TDataSet &tableData);
TBinaryDataRows BinaryData(const TDataSet &binaryData);
TFractionRows Fractions(const TDataSet &fraction);

// The IDs of the rows the filter lets through, comma-separated ("" for
// none). The table's filter is left set.
QString IdList(TDataSet &table, const QString &filter, const QString &idField = QStringLiteral("ID"));

// Joins two comma-separated lists without a doubled or dangling comma.
QString JoinLists(const QString &a, const QString &b);

} // namespace ParamRows
