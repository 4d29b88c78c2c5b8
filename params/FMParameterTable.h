#pragma once

#include <QAbstractTableModel>

class TDMUserParameter;

// The grid's view of the module's current list: one row per listed
// parameter, the columns of TDMUserParameter::TColumn, every value drawn
// through the value codec. The value column has a light yellow ground; an
// input that differs from the value is red.
class TFMParameterTable : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TFMParameterTable(TDMUserParameter &module, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list changed (group, filter, read): everything anew.
    void Reload();
    // Values of the listed rows changed.
    void ValuesChanged();

private:
    TDMUserParameter &dm;
};
