#include "testrun/FMANFTuningResult.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFMANFTuningResult::TFMANFTuningResult(const TContent &c, QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FMANFTuningResult"));
    setWindowTitle(c.title);
    auto *top = new QVBoxLayout(this);

    auto *message = new QHBoxLayout;
    auto *icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);
    lblText = new QLabel(QString(c.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this);
    lblText->setObjectName(QStringLiteral("lblText"));
    message->addWidget(icon);
    message->addWidget(lblText, 1);
    top->addLayout(message);

    auto *group = new QGroupBox(tr("チューニング結果"), this);
    auto *row = new QHBoxLayout(group);
    lblName = new QLabel(c.name + QStringLiteral(" :"), group);
    edtValue = new QLineEdit(QString::number(c.value), group);
    edtValue->setObjectName(QStringLiteral("edtValue"));
    edtValue->setReadOnly(true);
    edtValue->setAlignment(Qt::AlignRight);
    // Room for any 16-bit result with its sign.
    edtValue->setMinimumWidth(edtValue->fontMetrics().horizontalAdvance(QStringLiteral("-000000")) + 16);
    lblUnit = new QLabel(c.unit, group);
    row->addWidget(lblName);
    row->addWidget(edtValue, 1);
    row->addWidget(lblUnit);
    top->addWidget(group);

    lblNote = new QLabel(tr("Okをクリックするとサーボオフします。"), this);
    lblNote->setVisible(c.note);
    top->addWidget(lblNote);

    auto *buttons = new QHBoxLayout;
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addStretch(1);
    top->addLayout(buttons);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
}
