#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// What the parameter report prints, as texts: the header items, the system
// items and the visible general parameters group by group. A parameter
// module fills it (PrepareReport); the report only draws it.
struct TParameterReport
{
    struct TGroup
    {
        int modeNo = 0;
        // Page, symbol, name, value, unit, lower limit, upper limit, standard.
        QList<QStringList> rows;
    };

    // Nothing to print: no rows for the source, or a model without a
    // SYSTEM row.
    bool empty = true;
    QString motorModel, ampModel;
    QString fileName;
    QDateTime fileDate;
    // The source is not an axis: the header names the file.
    bool fileLine = false;
    QString levelName;
    bool japanese = true;
    // Page, name, value.
    QList<QStringList> systemRows;
    QList<TGroup> groups;
    QStringList systemTitles;
    QStringList generalTitles;

    int ParameterCount() const
    {
        int n = 0;
        for (const TGroup &g : groups)
            n += int(g.rows.size());
        return n;
    }
};
