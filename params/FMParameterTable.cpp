#include "params/FMParameterTable.h"

#include <QBrush>
#include <QColor>

TFMParameterTable::TFMParameterTable(TParameterGrid grid, QObject *parent)
    : QAbstractTableModel(parent), g(std::move(grid))
{
}

int TFMParameterTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : g.rows();
}

int TFMParameterTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(g.titles.size());
}

QVariant TFMParameterTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= g.rows())
        return QVariant();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return g.text(index.row(), column);
    case Qt::BackgroundRole:
        if (column == g.nowColumn)
            return QBrush(QColor(0xFF, 0xFF, 0xE0));
        return QVariant();
    case Qt::ForegroundRole:
        if (column == g.inputColumn && g.inputRed && g.inputRed(index.row()))
            return QBrush(Qt::red);
        return QVariant();
    case Qt::TextAlignmentRole:
        if (size_t(column) < g.alignment.size() && g.alignment[size_t(column)] != 0)
            return g.alignment[size_t(column)];
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant TFMParameterTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && size_t(section) < g.titles.size())
        return g.titles[size_t(section)];
    return QVariant();
}

void TFMParameterTable::Reload()
{
    beginResetModel();
    endResetModel();
}

void TFMParameterTable::ValuesChanged()
{
    if (g.rows() > 0)
        emit dataChanged(index(0, 0), index(g.rows() - 1, columnCount() - 1));
}
