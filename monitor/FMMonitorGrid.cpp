#include "monitor/FMMonitorGrid.h"

#include <QHeaderView>
#include <algorithm>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// The value column: left-aligned with a 2-pixel indent on light yellow.
class TValueDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painter->fillRect(option.rect, QColor(255, 255, 192));
        QStyleOptionViewItem o(option);
        o.rect.adjust(2, 0, 0, 0);
        o.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        QStyledItemDelegate::paint(painter, o, index);
    }
};

} // namespace

TFMMonitorGrid::TFMMonitorGrid(const QStringList &titles, int value, QWidget *parent)
    : QTableWidget(0, int(titles.size()), parent), valueColumn(value)
{
    setObjectName(QStringLiteral("sgrdMonitor"));
    setHorizontalHeaderLabels(titles);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(false);
    setItemDelegateForColumn(valueColumn, new TValueDelegate(this));
}

void TFMMonitorGrid::SetCentred(int column)
{
    centred.append(column);
}

void TFMMonitorGrid::SetRowCount(int rows)
{
    const int old = rowCount();
    setRowCount(rows);
    for (int r = old; r < rows; ++r)
        for (int c = 0; c < columnCount(); ++c) {
            auto *item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled);
            if (centred.contains(c))
                item->setTextAlignment(Qt::AlignCenter);
            setItem(r, c, item);
        }
}

bool TFMMonitorGrid::SetCell(int row, int column, const QString &text)
{
    QTableWidgetItem *it = item(row, column);
    if (!it || it->text() == text)
        return false;
    it->setText(text);
    ++writes;
    return true;
}

QString TFMMonitorGrid::Cell(int row, int column) const
{
    const QTableWidgetItem *it = item(row, column);
    return it ? it->text() : QString();
}

void TFMMonitorGrid::FitColumns()
{
    for (int c = 0; c < columnCount() - 1; ++c)
        if (c != valueColumn)
            resizeColumnToContents(c);
    setColumnWidth(valueColumn, std::max(columnWidth(valueColumn), fontMetrics().horizontalAdvance(QStringLiteral("Under minimum")) + 16));
}
