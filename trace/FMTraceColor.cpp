#include "trace/FMTraceColor.h"

#include "app/DMEnvironment.h"
#include "trace/FMTracePlot.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QColor ToQColor(TColor c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
TColor FromQColor(const QColor &c)
{
    return TColor(c.red()) | TColor(c.green()) << 8 | TColor(c.blue()) << 16;
}
QIcon Swatch(const QColor &c)
{
    QPixmap pm(40, 12);
    pm.fill(c);
    return QIcon(pm);
}
QIcon MarkIcon(int mark)
{
    QPixmap pm(16, 12);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(Qt::black);
    TFMTracePlot::PaintMark(p, QPoint(8, 6), mark, Qt::black);
    return QIcon(pm);
}
} // namespace

TFMTraceColor::TFMTraceColor(TDMEnvironment &e, QWidget *owner) : QDialog(owner), env(e)
{
    setObjectName(QStringLiteral("FMTraceColor"));
    setWindowTitle(tr("運転トレース表示設定"));
    auto *grid = new QGridLayout;
    for (int i = 0; i < 10; ++i) {
        const QString title = i < 4 ? tr("アナログCH%1").arg(i + 1) : i < 8 ? tr("デジタルCH%1").arg(i + 1)
                                                                           : QStringLiteral("t%1").arg(i - 7);
        auto *box = new QGroupBox(title, this);
        auto *form = new QFormLayout(box);
        btnColor[size_t(i)] = new QPushButton(box);
        btnColor[size_t(i)]->setIconSize(QSize(40, 12));
        edtWidth[size_t(i)] = new QSpinBox(box);
        edtWidth[size_t(i)]->setRange(1, 5);
        form->addRow(tr("線色 :"), btnColor[size_t(i)]);
        form->addRow(tr("線幅 :"), edtWidth[size_t(i)]);
        if (i < 8) {
            const TLineStyle s = env.TraceChannel(i + 1);
            colors[size_t(i)] = ToQColor(s.color);
            edtWidth[size_t(i)]->setValue(s.width);
            cmbMark[size_t(i)] = new QComboBox(box);
            for (int m = 0; m < 8; ++m)
                cmbMark[size_t(i)]->addItem(MarkIcon(m), QString());
            cmbMark[size_t(i)]->setCurrentIndex(s.mark);
            form->addRow(tr("マーク :"), cmbMark[size_t(i)]);
        } else {
            const TCursorStyle s = env.TraceCursor(i - 7);
            colors[size_t(i)] = ToQColor(s.color);
            edtWidth[size_t(i)]->setValue(s.width);
        }
        ShowColor(i);
        connect(btnColor[size_t(i)], &QPushButton::clicked, this, [this, i] {
            const QColor c = QColorDialog::getColor(colors[size_t(i)], this);
            if (c.isValid()) {
                colors[size_t(i)] = c;
                ShowColor(i);
            }
        });
        grid->addWidget(box, i < 8 ? i / 4 : 2, i < 8 ? i % 4 : i - 8);
    }
    chkGray = new QCheckBox(tr("グレースケールで印刷する"), this);
    chkGray->setChecked(env.GrayScale);
    grid->addWidget(chkGray, 2, 2, 1, 2);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFMTraceColor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFMTraceColor::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void TFMTraceColor::ShowColor(int i)
{
    btnColor[size_t(i)]->setIcon(Swatch(colors[size_t(i)]));
}

void TFMTraceColor::accept()
{
    for (int i = 0; i < 8; ++i)
        env.SetTraceChannel(i + 1, {FromQColor(colors[size_t(i)]), edtWidth[size_t(i)]->value(),
                                    cmbMark[size_t(i)]->currentIndex()});
    for (int k = 0; k < 2; ++k)
        env.SetTraceCursor(k + 1, {FromQColor(colors[size_t(8 + k)]), edtWidth[size_t(8 + k)]->value()});
    env.GrayScale = chkGray->isChecked();
    QDialog::accept();
}

bool TFMTraceColor::Execute(TDMEnvironment &env, QWidget *owner)
{
    TFMTraceColor dialog(env, owner);
    return dialog.exec() == QDialog::Accepted;
}
