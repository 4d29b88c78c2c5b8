#pragma once

#include "SimFixture.h"
#include "support/MessageRecorder.h"

#include "testrun/DMJog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QThread>
#include <QWidget>

#include <memory>
#include <string>

// Input and waiting as the user's would arrive: through the application,
// so the input guard sees them.
namespace TT {
inline void mouseEvent(QWidget *w, QEvent::Type type, Qt::MouseButton button)
{
    const QPointF at = QRectF(w->rect()).center();
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
inline void mousePress(QWidget *w, Qt::MouseButton b) { mouseEvent(w, QEvent::MouseButtonPress, b); }
inline void mouseRelease(QWidget *w, Qt::MouseButton b) { mouseEvent(w, QEvent::MouseButtonRelease, b); }
inline void mouseClick(QWidget *w, Qt::MouseButton b)
{
    mousePress(w, b);
    mouseRelease(w, b);
}
inline void keyEvent(QWidget *w, QEvent::Type type, int key)
{
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : key == Qt::Key_Return ? QStringLiteral("\r") : QString();
    QKeyEvent e(type, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &e);
}
inline void keyPress(QWidget *w, int key) { keyEvent(w, QEvent::KeyPress, key); }
inline void keyRelease(QWidget *w, int key) { keyEvent(w, QEvent::KeyRelease, key); }
inline void keyClick(QWidget *w, int key)
{
    keyPress(w, key);
    keyRelease(w, key);
}
template <typename F>
bool qWaitFor(F condition, int ms = 5000)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (condition())
            return true;
        if (t.elapsed() > ms)
            return false;
        QThread::msleep(2);
    }
}
inline void qWait(int ms)
{
    qWaitFor([] { return false; }, ms);
}
inline bool qWaitForWindowActive(QWidget *w)
{
    return qWaitFor([w] { return w->isActiveWindow(); }, 5000);
}
} // namespace TT

// The simulator with the test-run module opened on its tables.
class TTestRunFixture : public TSimFixture
{
protected:
    static constexpr int Common = 0xF9800; // COMMON_ADDRESS of models A and B

    void SetUp() override
    {
        TSimFixture::SetUp();
        dm = std::make_unique<TDMJog>(*ctx);
        dm->OpenTables();
        Control("log 1 clear");
    }

    // The simulator's view of the test-run mode of an axis.
    std::string SimState(int axis = 1) { return Control("testrun " + std::to_string(axis)); }
    bool SimHas(const std::string &part, int axis = 1) { return SimState(axis).find(part) != std::string::npos; }
    // Commands the axis received since the last clear, space-separated.
    std::string Log(int axis = 1) { return " " + Control("log " + std::to_string(axis)) + " "; }
    bool Sent(const std::string &command, int axis = 1) { return Log(axis).find(" " + command + " ") != std::string::npos; }
    // Waits for the condition while the event loop runs.
    template <typename F>
    static bool WaitFor(F condition, int ms = 3000)
    {
        return TT::qWaitFor(condition, ms);
    }

    TMessageRecorder messages;
    std::unique_ptr<TDMJog> dm;
};
