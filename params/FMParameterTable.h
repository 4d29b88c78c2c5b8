#pragma once

#include "params/ParameterGrid.h"

#include <QAbstractTableModel>

// One grid of a parameter window, as its module describes it. The current
// value column has a light yellow ground; an input that differs from the
// value is red.
class TFMParameterTable : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TFMParameterTable(TParameterGrid grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list changed (group, filter, read): everything anew.
    void Reload();
    // Values of the listed rows changed.
    void ValuesChanged();

private:
    TParameterGrid g;
};
