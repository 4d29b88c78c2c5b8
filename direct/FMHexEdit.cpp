#include "direct/FMHexEdit.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>

TFMHexEdit::TFMHexEdit(int n, QWidget *parent) : QLineEdit(parent), digits(n)
{
    setMaxLength(digits);
    setAlignment(Qt::AlignCenter);
    connect(this, &QLineEdit::textEdited, this, &TFMHexEdit::Normalise);
}

void TFMHexEdit::Normalise(const QString &text)
{
    QString clean;
    for (QChar c : text)
        if (c.isDigit() || (c.toUpper() >= u'A' && c.toUpper() <= u'F'))
            clean += c.toUpper();
    if (clean == text)
        return;
    const int cursor = cursorPosition();
    setText(clean.left(digits));
    setCursorPosition(std::min(cursor, int(clean.size())));
}

void TFMHexEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit enterPressed();
        return;
    case Qt::Key_Up:
        emit stepFocus(-1);
        return;
    case Qt::Key_Down:
        emit stepFocus(1);
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier) || text.isEmpty()
        || text.front().category() == QChar::Other_Control) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar c = text.front().toUpper();
    if (!(c.isDigit() && c.unicode() < 128) && !(c >= u'A' && c <= u'F')) {
        QApplication::beep();
        return;
    }
    // Typed letters go in as capitals.
    QKeyEvent upper(event->type(), event->key(), event->modifiers(), QString(c), event->isAutoRepeat(), event->count());
    QLineEdit::keyPressEvent(&upper);
}

QSize TFMHexEdit::sizeHint() const
{
    const QFontMetrics fm(font());
    const int w = fm.horizontalAdvance(QString(digits + 1, u'W')) + 12;
    return {w, QLineEdit::sizeHint().height()};
}
