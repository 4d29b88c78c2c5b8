#include "comm/FMAxesCheck.h"

#include "app/DMEnvironment.h"
#include "app/Hourglass.h"
#include "comm/TranAmp.h"
#include "defdb/DMMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString AxisText(int axis)
{
    return QStringLiteral("#%1").arg(QString::number(axis, 16).toUpper());
}

QTableWidgetItem *Cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

} // namespace

TFMAxesCheck::TFMAxesCheck(QWidget *owner, TDMEnvironment &environment, TTranAmp *engine, TDMMain &mainTables,
                           std::function<int()> firstAxisInUse)
    : QDialog(owner), env(environment), amp(engine), dmMain(mainTables), firstAxis(std::move(firstAxisInUse))
{
    setObjectName(QStringLiteral("FMAxesCheck"));
    setWindowTitle(tr("通信状態の確認"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // Two columns and sixteen rows; the first row and column are the fixed
    // header cells of a classic grid.
    grdState = new QTableWidget(16, 2, this);
    grdState->setObjectName(QStringLiteral("grdState"));
    grdState->horizontalHeader()->hide();
    grdState->verticalHeader()->hide();
    grdState->setSelectionMode(QAbstractItemView::NoSelection);
    grdState->setFocusPolicy(Qt::NoFocus);
    grdState->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdState->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdState->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics fm(grdState->font());
    const int rowHeight = fm.height() + 8;
    grdState->verticalHeader()->setDefaultSectionSize(rowHeight);
    grdState->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("#FF")) + 24);
    grdState->setColumnWidth(1, fm.horizontalAdvance(NotCorresponding()) + 48);
    grdState->setFixedSize(grdState->columnWidth(0) + grdState->columnWidth(1) + 2 * grdState->frameWidth(),
                           16 * rowHeight + 2 * grdState->frameWidth());
    const QBrush fixed = palette().brush(QPalette::Button);
    grdState->setItem(0, 0, Cell(QString()));
    grdState->setItem(0, 1, Cell(tr("状態")));
    for (int axis = 1; axis <= 15; ++axis) {
        grdState->setItem(axis, 0, Cell(AxisText(axis)));
        grdState->setItem(axis, 1, Cell(QString()));
        grdState->item(axis, 0)->setBackground(fixed);
    }
    grdState->item(0, 0)->setBackground(fixed);
    grdState->item(0, 1)->setBackground(fixed);

    auto *axes = new QGroupBox(this);
    auto *grid = new QGridLayout(axes);
    for (int axis = 1; axis <= 15; ++axis) {
        auto *box = new QCheckBox(AxisText(axis), axes);
        box->setObjectName(QStringLiteral("cboxAxis%1").arg(QString::number(axis, 16).toUpper()));
        cboxAxis[size_t(axis - 1)] = box;
        grid->addWidget(box, (axis - 1) % 8, (axis - 1) / 8);
        connect(box, &QCheckBox::clicked, this, &TFMAxesCheck::UpdateCheckButton);
    }

    btnCheck = new QPushButton(tr("確認(&C)"), this);
    btnCheck->setObjectName(QStringLiteral("btnCheck"));
    btnClose = new QPushButton(tr("終了(&X)"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnCheck->setAutoDefault(false);
    btnClose->setAutoDefault(false);
    connect(btnCheck, &QPushButton::clicked, this, &TFMAxesCheck::Check);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);

    auto *side = new QVBoxLayout;
    side->addWidget(axes);
    side->addStretch(1);
    side->addWidget(btnCheck);
    side->addWidget(btnClose);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(grdState);
    layout->addLayout(side);

    // Showing: the selected axes are offered, the others are not; an axis
    // already in use reads "Connected".
    for (int axis = 1; axis <= 15; ++axis) {
        QCheckBox *box = cboxAxis[size_t(axis - 1)];
        const bool use = env.UseAxis(axis);
        box->setChecked(use);
        box->setEnabled(use);
        grdState->item(axis, 1)->setText(use && env.AmpCode(axis) > 0 ? Connected() : QString());
    }
    UpdateCheckButton();
    PaintRows();
    setFixedSize(sizeHint());
}

QString TFMAxesCheck::State(int axis) const
{
    return axis >= 1 && axis <= 15 ? grdState->item(axis, 1)->text() : QString();
}

void TFMAxesCheck::UpdateCheckButton()
{
    bool any = false;
    for (QCheckBox *box : cboxAxis)
        any |= box->isChecked();
    btnCheck->setEnabled(any && !checking);
}

void TFMAxesCheck::PaintRows()
{
    // Rows not yet handled in this pass are grey.
    const QBrush normal = palette().brush(QPalette::Active, QPalette::Text);
    const QBrush grey = palette().brush(QPalette::Disabled, QPalette::Text);
    for (int axis = 1; axis <= 15; ++axis) {
        const QBrush &ink = axis <= rowCounter ? normal : grey;
        grdState->item(axis, 0)->setForeground(ink);
        grdState->item(axis, 1)->setForeground(ink);
    }
}

void TFMAxesCheck::Check()
{
    if (checking)
        return;
    THourglass hourglass;
    checking = true;
    stopRequested = false;
    btnCheck->setEnabled(false);
    btnClose->setEnabled(false);
    rowCounter = 0;
    PaintRows();
    grdState->repaint();

    for (int axis = 1; axis <= 15 && !stopRequested; ++axis) {
        env.SetAmpCode(axis, -1);
        QString state;
        if (cboxAxis[size_t(axis - 1)]->isChecked()) {
            int32_t code = -1;
            const TTranResult r = amp ? amp->CmdH0(axis, code) : trTimeout;
            switch (r) {
            case trOk:
                if (dmMain.IsKnownCode(code)) {
                    state = Connected();
                    env.SetAmpCode(axis, code);
                } else {
                    // A model the database does not know is released again.
                    amp->CmdH1(axis);
                    state = NotCorresponding();
                }
                break;
            case trCommError: state = Error(); break;
            case trNak: state = Overlap(); break;
            case trTimeout: state = NotConnected(); break;
            }
        }
        grdState->item(axis, 1)->setText(state);
        ++rowCounter;
        PaintRows();
        grdState->repaint();
    }

    checking = false;
    btnClose->setEnabled(true);
    UpdateCheckButton();
}

void TFMAxesCheck::closeEvent(QCloseEvent *event)
{
    // During a pass the user waits for it (both buttons are off too); the
    // cable watch, which closes the window from the program, stops it.
    if (checking && event->spontaneous()) {
        event->ignore();
        return;
    }
    stopRequested = true;
    QDialog::closeEvent(event);
}

void TFMAxesCheck::reject()
{
    if (checking && !stopRequested)
        return; // Esc during a pass
    QDialog::reject();
}

void TFMAxesCheck::done(int result)
{
    const bool wasVisible = isVisible();
    QDialog::done(result);
    if (wasVisible && firstAxis)
        firstAxis();
}
