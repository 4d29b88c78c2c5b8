#include "comm/FMLineStats.h"

#include "comm/TranAmp.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int RefreshMs = 1000;
}

TFMLineStats::TFMLineStats(TTranAmp &engine, QWidget *owner) : QDialog(owner), amp(engine)
{
    setObjectName(QStringLiteral("FMLineStats"));
    setWindowTitle(tr("回線統計"));
    grdStats = new QTableWidget(0, 7, this);
    grdStats->setObjectName(QStringLiteral("grdStats"));
    grdStats->setHorizontalHeaderLabels({tr("軸番号"), tr("通信回数"), tr("失敗"), tr("リトライ含む送信"),
                                         tr("NAK"), tr("タイムアウト"), tr("チェックエラー")});
    grdStats->verticalHeader()->hide();
    grdStats->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdStats->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    btnReset = new QPushButton(tr("リセット(&R)"), this);
    btnReset->setObjectName(QStringLiteral("btnReset"));
    btnReset->setAutoDefault(false);
    btnClose = new QPushButton(tr("閉じる"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnReset);
    buttons->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grdStats, 1);
    layout->addLayout(buttons);
    connect(btnReset, &QPushButton::clicked, this, [this] {
        amp.ResetStats();
        Refresh();
    });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    tmrRefresh.setInterval(RefreshMs);
    connect(&tmrRefresh, &QTimer::timeout, this, &TFMLineStats::Refresh);
    tmrRefresh.start();
    Refresh();
    resize(640, 360);
}

void TFMLineStats::Refresh()
{
    const TLineStats &stats = amp.Stats();
    grdStats->setRowCount(0);
    auto addRow = [this](const QString &name, const TAxisLineStats &a) {
        const int row = grdStats->rowCount();
        grdStats->insertRow(row);
        const QStringList cells = {name, QString::number(a.transactions), QString::number(a.failed),
                                   QString::number(a.tries), QString::number(a.naks),
                                   QString::number(a.timeouts), QString::number(a.checkErrors)};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == 0 ? (Qt::AlignLeft | Qt::AlignVCenter) : (Qt::AlignRight | Qt::AlignVCenter));
            grdStats->setItem(row, c, item);
        }
    };
    for (int axis = 0; axis < 16; ++axis)
        if (stats.axes[size_t(axis)].Any())
            addRow(QStringLiteral("#%1").arg(QString::number(axis, 16).toUpper()), stats.axes[size_t(axis)]);
    addRow(tr("合計"), stats.Total());
}
