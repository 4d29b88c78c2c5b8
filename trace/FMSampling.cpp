#include "trace/FMSampling.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFMSampling::TFMSampling(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FMSampling"));
    setModal(false);
    lblText = new QLabel(this);
    lblText->setMinimumWidth(260);
    btnStop = new QPushButton(tr("サンプリング停止(&S)"), this);
    btnCancel = new QPushButton(tr("キャンセル"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnStop);
    buttons->addWidget(btnCancel);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblText);
    layout->addLayout(buttons);
    connect(btnStop, &QPushButton::clicked, this, [this] { stopRequested = true; });
    connect(btnCancel, &QPushButton::clicked, this, &TFMSampling::reject);
}

void TFMSampling::ShowWaiting()
{
    setWindowTitle(tr("サンプリング中（トリガ待ち）"));
    lblText->setText(tr("サンプリング中です。"));
    btnStop->setVisible(true);
    if (!isVisible())
        show();
    repaint();
}

void TFMSampling::ShowRecording(double remainingSeconds)
{
    setWindowTitle(tr("サンプリング中（トリガ発生）"));
    lblText->setText(tr("サンプリング中です。") + QStringLiteral("\r\n") + tr("残り時間 : ") +
                     QString::asprintf("%.3f[sec]", remainingSeconds));
    btnStop->setVisible(false); // the layout centres Cancel alone
    if (!isVisible())
        show();
}

void TFMSampling::reject()
{
    cancelled = true;
    hide();
}
