#include "app/FMLineView.h"

#include "app/DMEnvironment.h"
#include "defdb/DMMain.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

TFMLineView::TFMLineView(TDMEnvironment &environment, TDMMain &mainTables, QWidget *parent)
    : QWidget(parent), env(environment), dmMain(mainTables)
{
    setObjectName(QStringLiteral("FMLineView"));
    lblLine = new QLabel(this);
    lblLine->setObjectName(QStringLiteral("lblLine"));
    grdLine = new QTableWidget(0, 4, this);
    grdLine->setObjectName(QStringLiteral("grdLine"));
    grdLine->setHorizontalHeaderLabels({tr("軸番号"), tr("状態"), tr("機種"), tr("アンプコード")});
    grdLine->verticalHeader()->hide();
    grdLine->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdLine->setSelectionMode(QAbstractItemView::NoSelection);
    grdLine->setFocusPolicy(Qt::NoFocus);
    grdLine->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdLine->horizontalHeader()->setStretchLastSection(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblLine);
    layout->addWidget(grdLine, 1);
}

QString TFMLineView::ModelName(int code) const
{
    // By rows, not by cursor: the main tables are shared with open windows.
    const TDataSet &amps = dmMain.cdsAmplifier;
    if (code <= 0 || !amps.Active())
        return QString();
    for (int row = 0; row < amps.AllRowCount(); ++row)
        if (amps.RowValue(row, QStringLiteral("CODE")).AsInt64() == code)
            return amps.RowValue(row, QStringLiteral("NAME")).AsString();
    return QString();
}

void TFMLineView::Refresh(bool online)
{
    lblLine->setText(online ? tr("オンライン: 使用する軸の状態 (最後の通信状態の確認による)")
                            : tr("オフライン: 使用する軸は通信設定で選びます"));
    grdLine->setRowCount(0);
    for (int axis = 1; axis <= 15; ++axis) {
        if (!env.UseAxis(axis))
            continue;
        const int row = grdLine->rowCount();
        grdLine->insertRow(row);
        const int code = env.AmpCode(axis);
        const bool inUse = online && code > 0;
        const QString state = !online ? tr("オフライン") : inUse ? tr("接続") : tr("未接続");
        const QStringList cells = {QStringLiteral("#%1").arg(QString::number(axis, 16).toUpper()), state,
                                   inUse ? ModelName(code) : QString(),
                                   inUse ? QStringLiteral("%1").arg(uint32_t(code), 6, 16, QLatin1Char('0')).toUpper()
                                         : QString()};
        for (int c = 0; c < cells.size(); ++c)
            grdLine->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
}
