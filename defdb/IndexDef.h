#pragma once

#include <QString>
#include <QStringList>

// A named index of a TDataSet: an order over one or more fields
// ("AMPLIFIER_ID;ADDRESS"). Unique indexes are checked when a table is built
// by the definition-database tool; the engine itself only orders by them.
struct TIndexDef {
    QString name;
    QString fields; // ";"-separated field names
    bool primary = false;
    bool unique = false;

    QStringList FieldList() const { return fields.split(QLatin1Char(';'), Qt::SkipEmptyParts); }
};
