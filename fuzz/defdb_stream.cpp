// Feeds arbitrary bytes to the table-stream decoder: it must refuse what is
// malformed without reading outside the input or allocating beyond it, and
// what it accepts must survive filters, orders and a re-encoding.
#include "defdb/DataSet.h"
#include "defdb/DataSetStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    TDataSet table;
    QString error;
    if (!TDataSetStream::Decode(bytes, table, &error))
        return 0;
    // Accepted: it round-trips exactly.
    if (TDataSetStream::Encode(table) != bytes)
        std::abort();
    if (table.FieldCount() > 0) {
        const QString first = table.FieldDef(0).name;
        table.SetFilter(first + QStringLiteral(" IS NOT NULL"));
        table.SetIndexFieldNames(first);
        for (table.First(); !table.Eof(); table.Next())
            (void)table.Field(0).AsString();
        for (const TIndexDef &d : table.IndexDefs())
            table.SetIndexName(d.name);
    }
    return 0;
}
