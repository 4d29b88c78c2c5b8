#include "params/FMVerify.h"

#include "params/DMVerify.h"
#include "params/FMParameterWindow.h"
#include "params/RPVerify.h"

#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int SideColumns = TDMVerify::ColumnCount;

} // namespace

TFMVerifyTable::TFMVerifyTable(const TDMVerify &verify, QObject *parent) : QAbstractTableModel(parent), dm(verify) {}

int TFMVerifyTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : dm.DifferenceCount();
}

int TFMVerifyTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2 * SideColumns;
}

QVariant TFMVerifyTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const auto side = index.column() < SideColumns ? TDMVerify::sdAmp : TDMVerify::sdDisk;
    const auto column = TDMVerify::TColumn(index.column() % SideColumns);
    switch (role) {
    case Qt::DisplayRole: return dm.CellText(index.row(), side, column);
    case Qt::ForegroundRole:
        // Different parameters: the whole row; the same one: its values.
        if (dm.RowRed(index.row()) || (column == TDMVerify::colValue && dm.ValueRed(index.row())))
            return QColor(Qt::red);
        return {};
    case Qt::TextAlignmentRole:
        if (column == TDMVerify::colGroup || column == TDMVerify::colPage)
            return int(Qt::AlignCenter);
        if (column == TDMVerify::colValue)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant TFMVerifyTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return TDMVerify::ColumnTitle(TDMVerify::TColumn(section % SideColumns));
}

TFMVerify::TFMVerify(TDMVerify &verify, bool isJapanese, QWidget *owner)
    : QDialog(owner), dm(verify), japanese(isJapanese)
{
    setObjectName(QStringLiteral("FMVerify"));
    setWindowTitle(tr("パラメータの照合"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    table = new TFMVerifyTable(dm, this);

    auto makeGrid = [this](const char *name, int firstShown) {
        QTableView *grid = TFMParameterWindow::MakeGrid(this, name, table, true);
        for (int c = 0; c < 2 * SideColumns; ++c)
            grid->setColumnHidden(c, c < firstShown || c >= firstShown + SideColumns);
        const int widths[SideColumns] = {28, 44, 220, 110, 60, 120};
        for (int c = 0; c < SideColumns; ++c)
            grid->setColumnWidth(firstShown + c, widths[c] * grid->fontMetrics().averageCharWidth() / 7);
        return grid;
    };
    grdAmp = makeGrid("grdAmp", 0);
    grdDisk = makeGrid("grdDisk", SideColumns);
    // One list, one selection, one scroll position.
    grdDisk->setSelectionModel(grdAmp->selectionModel());
    connect(grdAmp->verticalScrollBar(), &QScrollBar::valueChanged, grdDisk->verticalScrollBar(), &QScrollBar::setValue);
    connect(grdDisk->verticalScrollBar(), &QScrollBar::valueChanged, grdAmp->verticalScrollBar(), &QScrollBar::setValue);

    auto *sides = new QHBoxLayout;
    for (auto [caption, grid] : {std::pair{tr("アンプ"), grdAmp}, std::pair{tr("ディスク"), grdDisk}}) {
        auto *column = new QVBoxLayout;
        auto *label = new QLabel(caption, this);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Raised);
        column->addWidget(label);
        column->addWidget(grid);
        sides->addLayout(column);
    }
    btnPrint = new QPushButton(tr("印刷(&P)"), this);
    btnPrint->setObjectName(QStringLiteral("btnPrint"));
    btnClose = new QPushButton(tr("閉じる(&C)"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    connect(btnPrint, &QPushButton::clicked, this, &TFMVerify::PrintDifferences);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnClose);

    auto *top = new QVBoxLayout(this);
    top->addLayout(sides, 1);
    top->addLayout(buttons);
    const int em = fontMetrics().averageCharWidth();
    setFixedSize(em * 190, fontMetrics().height() * 30);
    if (table->rowCount() > 0)
        grdAmp->selectRow(0);
}

void TFMVerify::Execute(TDMVerify &verify, bool japanese, QWidget *owner)
{
    TFMVerify window(verify, japanese, owner);
    window.exec();
}

void TFMVerify::PrintDifferences()
{
    if (!TRPVerify::PrinterInstalled())
        return;
    if (dm.DifferenceCount() == 0)
        return;
    const QModelIndex current = grdAmp->currentIndex();
    {
        TRPVerify report(this);
        report.SetContent(dm, japanese);
        report.Preview();
    }
    if (current.isValid())
        grdAmp->selectRow(current.row());
}
