#include "params/FMParameterTable.h"

#include "params/DMUserParameter.h"

#include <QBrush>
#include <QColor>

TFMParameterTable::TFMParameterTable(TDMUserParameter &module, QObject *parent)
    : QAbstractTableModel(parent), dm(module)
{
}

int TFMParameterTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : dm.RowCount();
}

int TFMParameterTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : TDMUserParameter::ColumnCount;
}

QVariant TFMParameterTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= dm.RowCount())
        return QVariant();
    const auto column = TDMUserParameter::TColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return dm.CellText(index.row(), column);
    case Qt::BackgroundRole:
        if (column == TDMUserParameter::colNow)
            return QBrush(QColor(0xFF, 0xFF, 0xE0));
        return QVariant();
    case Qt::ForegroundRole:
        if (column == TDMUserParameter::colInput && dm.InputChanged(index.row()))
            return QBrush(Qt::red);
        return QVariant();
    case Qt::TextAlignmentRole:
        switch (column) {
        case TDMUserParameter::colNow:
        case TDMUserParameter::colInput:
        case TDMUserParameter::colMin:
        case TDMUserParameter::colMax:
        case TDMUserParameter::colStandard:
            return int(Qt::AlignRight | Qt::AlignVCenter);
        case TDMUserParameter::colPage:
            return int(Qt::AlignCenter);
        default:
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    default:
        return QVariant();
    }
}

QVariant TFMParameterTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return TDMUserParameter::ColumnTitle(TDMUserParameter::TColumn(section));
    return QVariant();
}

void TFMParameterTable::Reload()
{
    beginResetModel();
    endResetModel();
}

void TFMParameterTable::ValuesChanged()
{
    if (dm.RowCount() > 0)
        emit dataChanged(index(0, 0), index(dm.RowCount() - 1, TDMUserParameter::ColumnCount - 1));
}
