#include "params/FMChoiceBox.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

class TChoiceDelegate : public QStyledItemDelegate
{
public:
    explicit TChoiceDelegate(TFMChoiceBox *box) : QStyledItemDelegate(box), box(box) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        if (selected)
            painter->fillRect(option.rect, option.palette.highlight());
        TFMChoiceBox::PaintItem(*painter, option.rect, index.data(Qt::DisplayRole).toString(), box->LabelWidth(),
                                option.palette, selected);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QFontMetrics fm(option.font);
        const QString item = index.data(Qt::DisplayRole).toString();
        const QString text = item.section(u'\t', 1);
        return QSize(box->LabelWidth() + 12 + fm.horizontalAdvance(text), fm.height() + 4);
    }

private:
    TFMChoiceBox *box;
};

} // namespace

TFMChoiceBox::TFMChoiceBox(QWidget *parent) : QComboBox(parent)
{
    setItemDelegate(new TChoiceDelegate(this));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void TFMChoiceBox::SetLabelWidth(int width)
{
    labelWidth = width;
    updateGeometry();
    update();
}

void TFMChoiceBox::PaintItem(QPainter &painter, const QRect &rect, const QString &item, int labelWidth,
                             const QPalette &palette, bool selected)
{
    const QString label = item.section(u'\t', 0, 0);
    const QString text = item.section(u'\t', 1);
    painter.setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect labelRect(rect.left() + 3, rect.top(), labelWidth - 6, rect.height());
    painter.drawText(labelRect, Qt::AlignVCenter | Qt::AlignLeft, label);
    const int x = rect.left() + labelWidth;
    painter.save();
    painter.setPen(QColor(0xC0, 0xC0, 0xC0));
    painter.drawLine(x, rect.top() + 1, x, rect.bottom() - 1);
    painter.restore();
    const QRect textRect(x + 4, rect.top(), rect.right() - x - 4, rect.height());
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text);
}

void TFMChoiceBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    PaintItem(painter, field, currentText(), labelWidth, palette(), false);
}

QSize TFMChoiceBox::sizeHint() const
{
    QSize s = QComboBox::sizeHint();
    const QFontMetrics fm(font());
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(itemText(i).section(u'\t', 1)));
    s.setWidth(std::max(s.width(), labelWidth + widest + 48));
    return s;
}

QSize TFMChoiceBox::minimumSizeHint() const
{
    return sizeHint();
}
