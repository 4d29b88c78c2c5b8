#include "sysanalysis/FMMachineColor.h"

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
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}
TColor FromQColor(const QColor &c)
{
    return ColorFromRgb(c.red(), c.green(), c.blue());
}
QIcon MarkIcon(int mark)
{
    QPixmap pm(16, 12);
    pm.fill(Qt::white);
    QPainter p(&pm);
    TFMTracePlot::PaintMark(p, QPoint(8, 6), mark, Qt::black);
    return QIcon(pm);
}
int Width(int w)
{
    return w >= 1 && w <= 5 ? w : 1;
}
} // namespace

TFMMachineColor::TFMMachineColor(TDMEnvironment &e, QWidget *owner) : QDialog(owner), env(e)
{
    setObjectName(QStringLiteral("FMMachineColor"));
    setWindowTitle(tr("システムアナリシス表示設定"));
    auto *grid = new QGridLayout;
    const TLineStyle lines[] = {env.Gain, env.Phase};
    for (int i = 0; i < 4; ++i) {
        auto *box = new QGroupBox(i == 0 ? QStringLiteral("Gain") : i == 1 ? QStringLiteral("Phase")
                                                                            : QStringLiteral("t%1").arg(i - 1),
                                  this);
        auto *form = new QFormLayout(box);
        btnColor[size_t(i)] = new QPushButton(box);
        btnColor[size_t(i)]->setIconSize(QSize(20, 9));
        edtWidth[size_t(i)] = new QSpinBox(box);
        edtWidth[size_t(i)]->setRange(1, 5);
        form->addRow(tr("線色 :"), btnColor[size_t(i)]);
        form->addRow(tr("線幅 :"), edtWidth[size_t(i)]);
        if (i < 2) {
            SetColor(i, ToQColor(lines[i].color));
            edtWidth[size_t(i)]->setValue(Width(lines[i].width));
            cmbMark[size_t(i)] = new QComboBox(box);
            for (int m = 0; m < 8; ++m)
                cmbMark[size_t(i)]->addItem(MarkIcon(m), QString());
            cmbMark[size_t(i)]->setCurrentIndex(lines[i].mark >= 0 && lines[i].mark <= 7 ? lines[i].mark : 0);
            form->addRow(tr("マーク :"), cmbMark[size_t(i)]);
        } else {
            const TCursorStyle s = env.AnalysisCursor(i - 1);
            SetColor(i, ToQColor(s.color));
            edtWidth[size_t(i)]->setValue(Width(s.width));
        }
        connect(btnColor[size_t(i)], &QPushButton::clicked, this, [this, i] {
            const QColor c = QColorDialog::getColor(colors[size_t(i)], this);
            if (c.isValid())
                SetColor(i, c);
        });
        grid->addWidget(box, i / 2, i % 2);
    }
    chkGray = new QCheckBox(tr("グレースケールで印刷する"), this);
    chkGray->setChecked(env.GrayScale);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFMMachineColor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFMMachineColor::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(chkGray);
    layout->addWidget(buttons);
}

void TFMMachineColor::SetColor(int item, const QColor &color)
{
    colors[size_t(item)] = color;
    QPixmap pm(20, 9);
    pm.fill(color);
    btnColor[size_t(item)]->setIcon(QIcon(pm));
}

void TFMMachineColor::accept()
{
    env.Gain = {FromQColor(colors[0]), edtWidth[0]->value(), cmbMark[0]->currentIndex()};
    env.Phase = {FromQColor(colors[1]), edtWidth[1]->value(), cmbMark[1]->currentIndex()};
    for (int c = 0; c < 2; ++c)
        env.SetAnalysisCursor(c + 1, {FromQColor(colors[size_t(2 + c)]), edtWidth[size_t(2 + c)]->value()});
    env.GrayScale = chkGray->isChecked();
    QDialog::accept();
}

bool TFMMachineColor::Execute(TDMEnvironment &env, QWidget *owner)
{
    TFMMachineColor dialog(env, owner);
    return dialog.exec() == QDialog::Accepted;
}
