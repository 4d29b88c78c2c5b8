#include "app/FMInputGuard.h"

#include "app/Busy.h"
#include "app/FMProgress.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QShortcut>
#include <QWidget>
#include <QWindow>

namespace {
TFMInputGuard *g_guard = nullptr;

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}
} // namespace

TFMInputGuard::TFMInputGuard() : QObject(qApp) {}

void TFMInputGuard::Install()
{
    if (g_guard || !qApp)
        return;
    g_guard = new TFMInputGuard;
    QObject::connect(g_guard, &QObject::destroyed, [] {
        g_guard = nullptr;
        TBusy::SetHook({});
    });
    TBusy::SetHook([](bool busy) {
        if (g_guard)
            g_guard->SetBusy(busy);
    });
    if (TBusy::Active())
        g_guard->SetBusy(true);
}

void TFMInputGuard::LetReleasesThrough(QWidget *button)
{
    button->setProperty("tuvantaHoldToRun", true);
}

TFMInputGuard *TFMInputGuard::Instance()
{
    return g_guard;
}

void TFMInputGuard::SetBusy(bool busy)
{
    if (busy == active)
        return;
    active = busy;
    blocked.clear();
    if (busy) {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && !qobject_cast<TFMProgress *>(w))
                blocked.append(w);
        qApp->installEventFilter(this);
    } else {
        qApp->removeEventFilter(this);
    }
}

bool TFMInputGuard::Blocked(QObject *target) const
{
    QWidget *widget = qobject_cast<QWidget *>(target);
    if (!widget) {
        // Shortcuts are delivered to their action or shortcut object.
        if (auto *action = qobject_cast<QAction *>(target))
            widget = qobject_cast<QWidget *>(action->parent());
        else if (auto *shortcut = qobject_cast<QShortcut *>(target))
            widget = shortcut->parentWidget();
        else if (target && target->isWindowType())
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->windowHandle() == target)
                    widget = w;
    }
    if (!widget)
        return false;
    QWidget *window = widget->window();
    for (const QPointer<QWidget> &w : blocked)
        if (w == window)
            return true;
    return false;
}

bool TFMInputGuard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // A close the user asked for would destroy a window whose series is
    // still on the stack; closes by the program (the cable watch) go through.
    const bool userClose = type == QEvent::Close && event->spontaneous() && programCloses == 0;
    const bool letGo = (type == QEvent::MouseButtonRelease || type == QEvent::KeyRelease) &&
                       watched->property("tuvantaHoldToRun").toBool();
    if (active && !letGo && (IsUserInput(type) || userClose) && Blocked(watched)) {
        ++dropped;
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
