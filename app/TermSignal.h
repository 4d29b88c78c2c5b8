#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C in a
// terminal, the terminal closing) into a call on the owning thread, so that
// the program can end the way its window's close does: axes released, the
// window placement and the settings file written. A second signal while the
// first is being handled ends the program at once, as if no handler were set.
// One instance at a time.
class TTermSignal : public QObject
{
    Q_OBJECT
public:
    explicit TTermSignal(std::function<void()> onSignal, QObject *parent = nullptr);
    ~TTermSignal() override; // restores the default handling

    TTermSignal(const TTermSignal &) = delete;
    TTermSignal &operator=(const TTermSignal &) = delete;

private:
    void Arrived();

    std::function<void()> onSignal;
    QSocketNotifier *notifier = nullptr;
};
