#include "app/FMInputGuard.h"

#include "app/Busy.h"
#include "app/FMProgress.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QShortcut>
#include <QWidget>
#include <QWindow>

#include <utility>

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
    TBusy::SetHook([](TBusy::TState state) {
        if (g_guard)
            g_guard->SetState(state);
    });
    g_guard->SetState(TBusy::State());
}

void TFMInputGuard::LetReleasesThrough(QWidget *button)
{
    button->setProperty("tuvantaHoldToRun", true);
}

TFMInputGuard *TFMInputGuard::Instance()
{
    return g_guard;
}

void TFMInputGuard::SetState(TBusy::TState now)
{
    const TBusy::TState before = state;
    if (now == before)
        return;
    state = now;
    if (before == TBusy::TState::Idle) {
        blocked.clear();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && !qobject_cast<TFMProgress *>(w))
                blocked.append(w);
        qApp->installEventFilter(this);
    }
    if (now == TBusy::TState::Series) {
        // What was held for the end of a transaction would now arrive in
        // the middle of a series: the user meant it before, it is dropped.
        for (const THeld &h : held)
            delete h.event;
        dropped += int(held.size());
        held.clear();
    }
    if (now == TBusy::TState::Idle) {
        qApp->removeEventFilter(this);
        blocked.clear();
        Replay();
    }
}

void TFMInputGuard::Replay()
{
    // Posted, not sent: they arrive when the caller's work has returned to
    // the event loop, in the order the user made them. Should another
    // transaction start first, they are held again.
    const QList<THeld> events = std::exchange(held, {});
    for (const THeld &h : events) {
        if (!h.target) {
            delete h.event;
            continue;
        }
        if (h.close) {
            delete h.event;
            QPointer<QObject> target = h.target;
            QMetaObject::invokeMethod(
                qApp,
                [target] {
                    if (auto *w = qobject_cast<QWidget *>(target.data()))
                        w->close();
                },
                Qt::QueuedConnection);
        } else {
            QCoreApplication::postEvent(h.target, h.event);
        }
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
            widget = qobject_cast<QWidget *>(shortcut->parent());
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
    // A close the user asked for would destroy a window whose work is
    // still on the stack; closes by the program (the cable watch) go through.
    const bool userClose = type == QEvent::Close && event->spontaneous() && programCloses == 0;
    // Letting go of a hold-to-run button stops a motor: it never waits. Its
    // press is never held either: replayed after the release it would start
    // a movement nobody holds.
    const bool holdToRun = watched->property("tuvantaHoldToRun").toBool();
    const bool letGo = holdToRun && (type == QEvent::MouseButtonRelease || type == QEvent::KeyRelease);
    if (letGo || state == TBusy::TState::Idle || !(IsUserInput(type) || userClose) || !Blocked(watched))
        return QObject::eventFilter(watched, event);
    event->ignore();
    // Hold a single transaction's input for its end, but only what is aimed
    // at a widget (the window-system copy of the same event comes first and
    // is dropped, or it would arrive twice) and nothing that only makes
    // sense at once (shortcut matching, drag and drop).
    const bool holdable = state == TBusy::TState::Transaction && qobject_cast<QWidget *>(watched) && !holdToRun
                          && type != QEvent::ShortcutOverride && type != QEvent::Shortcut
                          && type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop;
    if (holdable) {
        held.append({watched, userClose ? nullptr : event->clone(), userClose});
        return true;
    }
    // The window-system copy of an event the widget will hold: let the
    // window deliver it, the widget-level filter then holds it.
    if (state == TBusy::TState::Transaction && watched->isWindowType() && type != QEvent::Shortcut)
        return QObject::eventFilter(watched, event);
    ++dropped;
    return true;
}
