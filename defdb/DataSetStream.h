#pragma once

#include <QByteArray>
#include <QString>

class TDataSet;

// The stream form of one table (field definitions, indexes, rows with their
// nulls), as stored in a definition-storage stream. docs/defdb-format.md
// describes the bytes.
class TDataSetStream
{
public:
    // Stored fields only: lookup and calculated fields are not written.
    static QByteArray Encode(const TDataSet &table);

    // Decodes into table (which is emptied first, keeping its lookup and
    // calculated field definitions). Any malformed input returns false with
    // the reason in *error; it never reads outside the bytes and never
    // allocates more than the bytes can describe.
    static bool Decode(const QByteArray &bytes, TDataSet &table, QString *error = nullptr);
};
