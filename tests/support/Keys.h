#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

// Typing into widgets as the keyboard does, without a Qt test library.
inline void PressKey(QWidget *w, int key, const QString &text = QString(),
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(w, &release);
}

inline void TypeText(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        const int key = c.isLetter() ? int(Qt::Key_A) + (c.toUpper().unicode() - u'A') : int(c.unicode());
        PressKey(w, key, QString(c));
    }
}

inline void PressEnter(QWidget *w)
{
    PressKey(w, Qt::Key_Return, QStringLiteral("\r"));
}
