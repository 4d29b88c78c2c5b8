#pragma once

#include <QAbstractTableModel>
#include <QDialog>

class QPushButton;
class QTableView;
class TDMVerify;

// The rows of the difference list as both grids of the verification window
// show them: the amplifier's six columns, then the file's six.
class TFMVerifyTable : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TFMVerifyTable(const TDMVerify &verify, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TDMVerify &dm;
};

// "パラメータの照合": the differences between an amplifier and a parameter
// file, the amplifier on the left, the file ("ディスク") on the right. Both
// grids show one list and select and scroll together.
class TFMVerify : public QDialog
{
    Q_OBJECT
public:
    TFMVerify(TDMVerify &verify, bool japanese, QWidget *owner);

    // Shows the window modally for the verification's list.
    static void Execute(TDMVerify &verify, bool japanese, QWidget *owner);

    // Runs the printed list through the print preview.
    void PrintDifferences();

    QTableView *grdAmp;
    QTableView *grdDisk;
    QPushButton *btnPrint;
    QPushButton *btnClose;

private:
    TDMVerify &dm;
    bool japanese;
    TFMVerifyTable *table;
};
