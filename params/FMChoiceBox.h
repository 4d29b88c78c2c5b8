#pragma once

#include <QComboBox>

// A choice box whose items are "label\ttext": drawn as two columns with a
// thin grey line between them, in the list and in the closed box.
class TFMChoiceBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TFMChoiceBox(QWidget *parent = nullptr);

    // Width of the label column in pixels.
    void SetLabelWidth(int width);
    int LabelWidth() const { return labelWidth; }

    // Paints one "label\ttext" item into rect (shared by list and box).
    static void PaintItem(QPainter &painter, const QRect &rect, const QString &item, int labelWidth,
                          const QPalette &palette, bool selected);

protected:
    void paintEvent(QPaintEvent *event) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int labelWidth = 60;
};
