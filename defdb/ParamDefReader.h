#pragma once

#include "defdb/ParamDef.h"

#include <array>

class TDataSet;

// Fills TParamDef records from the rows of an AMP_PARA table copy with its
// PARAMETER lookups (TDefSchema::AddAmpParaLookups adds them all). The field
// positions are resolved once, so reading every row of a grid stays cheap.
// A field the table does not have leaves the record's default.
//
//     TParamDefReader reader(cdsAmp_Para);
//     for (cdsAmp_Para.First(); !cdsAmp_Para.Eof(); cdsAmp_Para.Next())
//         show(ValueText(..., reader.Current(), ...));
class TParamDefReader
{
public:
    // Resolves the fields of the table as it is now; make a new reader
    // after the table was reloaded with another structure.
    explicit TParamDefReader(const TDataSet &table);

    TParamDef Read(int rowId) const;
    // The row under the table's cursor (defaults on an empty view).
    TParamDef Current() const;

    // The definition lists the value codec takes, from TABLE_DATA,
    // BINARY_DATA and FRACTION tables (all rows, whatever the filter).
    static TTableDataRows TableDataRows(const TDataSet &tableData);
    static TBinaryDataRows BinaryDataRows(const TDataSet &binaryData);
    static TFractionRows FractionRows(const TDataSet &fraction);

private:
    enum TField {
        fAmpId, fAddress, fParameterId, fStandard, fMin, fMax, fMode, fPage, fCode, fLength, fDataForm, fPower,
        fTableId, fBinaryHighId, fBinaryLowId, fBinaryHighName, fBinaryLowName, fFractionId, fFractionCode,
        fSymbol, fName, fNameJ, fUnit, fUnit2, fUnit3, fCount
    };
    const TDataSet &table;
    std::array<int, fCount> index;
};
