#include "ZnLibs/FMZnPrintOffset.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

TFMZnPrintOffset::TFMZnPrintOffset(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FMZnPrintOffset"));
    setWindowTitle(tr("印刷位置調節"));
    edtVertical = new QLineEdit(this);
    edtVertical->setObjectName(QStringLiteral("edtVertical"));
    edtHorizontal = new QLineEdit(this);
    edtHorizontal->setObjectName(QStringLiteral("edtHorizontal"));
    for (QLineEdit *e : {edtVertical, edtHorizontal}) {
        e->setAlignment(Qt::AlignRight);
        e->setMinimumWidth(100);
        connect(e, &QLineEdit::editingFinished, this, [this, e] { Normalise(e); });
    }
    btnOk = new QPushButton(tr("&Ok"), this);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(tr("ｷｬﾝｾﾙ(&C)"), this);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *form = new QFormLayout;
    auto *lblVertical = new QLabel(tr("縦方向(&V):"), this);
    lblVertical->setBuddy(edtVertical);
    auto *lblHorizontal = new QLabel(tr("横方向(&H):"), this);
    lblHorizontal->setBuddy(edtHorizontal);
    form->addRow(lblVertical, edtVertical);
    form->addRow(lblHorizontal, edtHorizontal);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

double TFMZnPrintOffset::FieldMillimetres(const QString &text)
{
    QString lead;
    for (QChar c : text.trimmed()) {
        if (!c.isDigit() && c != u'.')
            break;
        lead += c;
    }
    // "1.2.3" reads as 1.2: the longest prefix that is a number.
    while (!lead.isEmpty()) {
        bool ok = false;
        const double v = lead.toDouble(&ok);
        if (ok)
            return v;
        lead.chop(1);
    }
    return 0.0;
}

QString TFMZnPrintOffset::FieldText(double millimetres)
{
    return QString::number(millimetres, 'f', 1) + QStringLiteral("mm");
}

int TFMZnPrintOffset::FieldOffset(const QString &text)
{
    return int(std::lround(FieldMillimetres(text) * 10.0));
}

void TFMZnPrintOffset::Normalise(QLineEdit *edit)
{
    edit->setText(FieldText(FieldMillimetres(edit->text())));
}

bool TFMZnPrintOffset::Execute(QWidget *owner, int &offsetX, int &offsetY)
{
    TFMZnPrintOffset dialog(owner);
    dialog.edtVertical->setText(FieldText(offsetY / 10.0));
    dialog.edtHorizontal->setText(FieldText(offsetX / 10.0));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    offsetY = FieldOffset(dialog.edtVertical->text());
    offsetX = FieldOffset(dialog.edtHorizontal->text());
    return true;
}
