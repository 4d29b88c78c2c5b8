#pragma once

#include "defdb/DataSet.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

// Compiles the readable sources of a definition database (one CSV file per
// table, named like its stream with ".csv": "1_AMP_PARA.csv") into tables,
// checks them (types, ranges, required fields, unique indexes, references
// between tables, overlapping parameter rows) and writes the four storages.
// Every problem is reported as "file:line: FIELD: what".
class TDefSourceCompiler
{
public:
    // Reads and checks every source in the folder. False when there is any
    // error; a table without a source file is left out (with a warning).
    bool Compile(const QString &sourceDir);

    const QStringList &Errors() const { return errors; }
    const QStringList &Warnings() const { return warnings; }

    // The compiled table of a stream, nullptr when it had no source.
    const TDataSet *Table(const QString &stream) const;

    // Writes OUTPUT (storage 0) and the same name with ".ad1" .. ".ad3".
    bool Write(const QString &basePath, QString *error) const;

    // A table's stored fields as source CSV: a header of field names, then
    // one line per row (empty cells for nulls). Compiles back to the same table.
    static QString DumpCsv(const TDataSet &table);

private:
    struct TSource {
        QString file; // file name for messages
        std::unique_ptr<TDataSet> table;
        std::vector<int> lines; // source line of each row
    };

    bool CompileTable(const QString &dir, const QString &stream);
    void CheckUnique(const TSource &src, const QString &stream);
    void CheckReference(const QString &stream, const QString &field, const QString &target,
                        const QString &targetField);
    void CheckPlacement(int storage);
    void CheckSystemAddresses();
    void Error(const QString &file, int line, const QString &field, const QString &text);

    std::map<QString, TSource> sources; // by stream name
    QStringList errors;
    QStringList warnings;
};
