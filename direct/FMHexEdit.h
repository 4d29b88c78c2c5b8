#pragma once

#include <QLineEdit>

// The entry boxes of the direct-mode windows: up to a fixed number of
// hexadecimal digits, shown in upper case. Typed characters other than hex
// digits and control characters are dropped with a beep; Enter emits
// enterPressed, Up and Down emit stepFocus(-1/+1). Pasted text keeps its hex
// digits only.
class TFMHexEdit : public QLineEdit
{
    Q_OBJECT
public:
    TFMHexEdit(int digits, QWidget *parent = nullptr);

signals:
    void enterPressed();
    void stepFocus(int direction);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    void Normalise(const QString &text);
    int digits;
};
