#pragma once

#include <QTableWidget>

// The grid of both monitor windows: no selectable cell, centred header,
// the value column on light yellow. SetCell touches a cell only when its
// text changes, so a refresh repaints just the values that moved.
class TFMMonitorGrid : public QTableWidget
{
    Q_OBJECT
public:
    TFMMonitorGrid(const QStringList &titles, int valueColumn, QWidget *parent = nullptr);

    // Rows below the header; new rows get empty cells.
    void SetRowCount(int rows);
    // Columns whose text is drawn centred.
    void SetCentred(int column);
    // True when the text changed.
    bool SetCell(int row, int column, const QString &text);
    QString Cell(int row, int column) const;
    // How many cell texts changed since the grid was made (for tests).
    int CellWrites() const { return writes; }
    // Widens columns to their contents (the name column last).
    void FitColumns();

private:
    int valueColumn;
    QList<int> centred;
    int writes = 0;
};
