#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include "app/Busy.h"

class QWidget;

// Keeps the user out while the program is busy with the amplifiers (TBusy).
// Mouse, keyboard, wheel, shortcut and the user's close requests aimed at the
// windows that were open when the program became busy (the main window and
// the calling window) are dropped during a series, and held back during a
// single transaction outside a series (a polling tick), to be handed on when
// it is over. Windows that open meanwhile (the progress window, message
// boxes, questions) take input as usual, and timers go on running. One guard
// for the whole program.
class TFMInputGuard : public QObject
{
    Q_OBJECT
public:
    // Installs the guard once (later calls do nothing).
    static void Install();
    static TFMInputGuard *Instance();

    // Number of input events dropped since the start (tests).
    int Dropped() const { return dropped; }
    // Number held back now for the end of the transaction.
    int Held() const { return int(held.size()); }

    // QWidget::close() of a top-level window reaches it as a close from the
    // window system, like the user's. The program's own closes during a
    // series (the cable watch) run inside this scope and go through.
    class TProgramClose
    {
    public:
        TProgramClose() { ++programCloses; }
        ~TProgramClose() { --programCloses; }
        TProgramClose(const TProgramClose &) = delete;
        TProgramClose &operator=(const TProgramClose &) = delete;
    };

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TFMInputGuard();
    void SetState(TBusy::TState state);
    bool Blocked(QObject *target) const;
    void Replay();

    struct THeld {
        QPointer<QObject> target;
        QEvent *event; // owned
        bool close;    // a close request: replayed as close()
    };
    QList<THeld> held;
    TBusy::TState state = TBusy::TState::Idle;
    static inline int programCloses = 0;
    QList<QPointer<QWidget>> blocked;
    int dropped = 0;
};
