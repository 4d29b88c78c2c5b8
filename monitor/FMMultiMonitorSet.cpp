#include "monitor/FMMultiMonitorSet.h"

#include "app/AppContext.h"
#include "app/Messenger.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

// An item entry in three columns (page, symbol, name) with grey separators.
class TItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem o(option);
        initStyleOption(&o, index);
        const QStringList parts = o.text.split(u'\t');
        o.text.clear();
        QStyle *style = o.widget ? o.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        const bool enabled = option.state & QStyle::State_Enabled;
        painter->save();
        painter->setPen(QColor(192, 192, 192));
        painter->drawLine(r.left() + 24, r.top(), r.left() + 24, r.bottom());
        painter->drawLine(r.left() + 96, r.top(), r.left() + 96, r.bottom());
        painter->setPen(!enabled ? option.palette.color(QPalette::Disabled, QPalette::Text)
                        : selected ? option.palette.color(QPalette::HighlightedText)
                                   : option.palette.color(QPalette::Text));
        const int lefts[] = {2, 26, 98};
        for (int i = 0; i < 3 && i < parts.size(); ++i) {
            const int right = i == 0 ? 24 : i == 1 ? 96 : r.width();
            painter->drawText(QRect(r.left() + lefts[i], r.top(), right - lefts[i], r.height()),
                              Qt::AlignLeft | Qt::AlignVCenter, parts[i]);
        }
        painter->restore();
    }
};

// The closed box shows the chosen entry in the same three columns.
class TItemCombo : public QComboBox
{
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QComboBox::paintEvent(event);
        QPainter painter(this);
        const QStringList parts = currentText().split(u'\t');
        if (parts.size() < 3)
            return;
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        const QRect r = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        painter.fillRect(r, palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base));
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
        const int lefts[] = {2, 26, 98};
        for (int i = 0; i < 3; ++i) {
            const int right = i == 0 ? 24 : i == 1 ? 96 : r.width();
            painter.drawText(QRect(r.left() + lefts[i], r.top(), right - lefts[i], r.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, parts[i]);
        }
    }
};

} // namespace

TFMMultiMonitorSet::TFMMultiMonitorSet(TAppContext &context, TMonitorTables &tables, QWidget *owner)
    : QDialog(owner), ctx(context), dm(context.env, tables)
{
    setObjectName(QStringLiteral("FMMultiMonitorSet"));
    setWindowTitle(tr("マルチモニタ表示設定"));
    auto *top = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    const QList<TDMMultiMonitorSet::TEntry> axes = dm.AxisEntries();
    const TDMMultiMonitorSet::TSlots stored = dm.StoredSlots();
    for (int i = 0; i < SlotCount; ++i) {
        chkbxNo[size_t(i)] = new QCheckBox(tr("No. %1 :").arg(i), this);
        chkbxNo[size_t(i)]->setObjectName(QStringLiteral("chkbxNo%1").arg(i));
        auto *axis = new QComboBox(this);
        axis->setObjectName(QStringLiteral("cmbbxAxis%1").arg(i));
        for (const auto &e : axes)
            axis->addItem(e.text, e.value);
        axis->setMinimumWidth(60);
        cmbbxAxis[size_t(i)] = axis;
        auto *param = new TItemCombo(this);
        param->setObjectName(QStringLiteral("cmbbxParam%1").arg(i));
        param->setItemDelegate(new TItemDelegate(param));
        param->setMinimumWidth(340);
        cmbbxParam[size_t(i)] = param;

        grid->addWidget(chkbxNo[size_t(i)], i, 0);
        grid->addWidget(new QLabel(tr("軸番号 :"), this), i, 1);
        grid->addWidget(axis, i, 2);
        grid->addWidget(new QLabel(tr("表示パラメータ :"), this), i, 3);
        grid->addWidget(param, i, 4);

        const TMultiMonitorCell &c = stored[size_t(i)];
        chkbxNo[size_t(i)]->setChecked(c.shown);
        axis->setCurrentIndex(axis->findData(c.axis));
        FillItems(i, axis->currentIndex() >= 0 ? c.axis : -1, c.page);
        EnableSlot(i);
        connect(chkbxNo[size_t(i)], &QCheckBox::toggled, this, [this, i] { EnableSlot(i); });
        connect(axis, &QComboBox::activated, this, [this, i] {
            FillItems(i, cmbbxAxis[size_t(i)]->currentData().toInt(), -1);
        });
    }
    grid->setColumnStretch(4, 1);
    top->addLayout(grid);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFMMultiMonitorSet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    top->addWidget(buttons);
}

void TFMMultiMonitorSet::FillItems(int slot, int axis, int page)
{
    QComboBox *box = cmbbxParam[size_t(slot)];
    box->clear();
    if (axis >= 1)
        for (const auto &e : dm.ItemEntries(axis))
            box->addItem(e.text, e.value);
    box->setCurrentIndex(page >= 0 ? box->findData(page) : -1);
}

void TFMMultiMonitorSet::EnableSlot(int slot)
{
    const bool on = chkbxNo[size_t(slot)]->isChecked();
    cmbbxAxis[size_t(slot)]->setEnabled(on);
    cmbbxParam[size_t(slot)]->setEnabled(on);
}

TDMMultiMonitorSet::TSlots TFMMultiMonitorSet::Slots() const
{
    TDMMultiMonitorSet::TSlots cells;
    for (int i = 0; i < SlotCount; ++i) {
        TMultiMonitorCell &c = cells[size_t(i)];
        c.shown = chkbxNo[size_t(i)]->isChecked();
        c.axis = cmbbxAxis[size_t(i)]->currentIndex() >= 0 ? cmbbxAxis[size_t(i)]->currentData().toInt() : -1;
        c.page = cmbbxParam[size_t(i)]->currentIndex() >= 0 ? cmbbxParam[size_t(i)]->currentData().toInt() : -1;
    }
    return cells;
}

void TFMMultiMonitorSet::accept()
{
    const TDMMultiMonitorSet::TSlots cells = Slots();
    const QString problems = TDMMultiMonitorSet::Problems(cells);
    if (!problems.isEmpty()) {
        TMessenger::Instance().Warning(problems);
        return;
    }
    dm.Store(cells);
    QDialog::accept();
}
