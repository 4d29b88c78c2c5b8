#pragma once

#include "support/MessageRecorder.h"
#include "SimProcess.h"

#include "app/DMEnvironment.h"
#include "app/FMMain.h"
#include "comm/DMTran.h"
#include "comm/TranAmp.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"

#include "app/Busy.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Lets events run until the condition holds or the time is up.
inline bool WaitUntil(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The visible top-level window with this object name, or nullptr.
inline QWidget *OpenWindow(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == name)
            return w;
    return nullptr;
}

// Triggers an action whose window opens modally and hands that window to
// look from inside its own loop, once no series runs, then closes it. The
// window is found by name (any modal one when name is empty). When none
// shows within the time, every other top-level window is closed so that the
// test fails instead of hanging. True when the window was seen.
inline bool ProbeModalWindow(QAction *action, const QString &name, const std::function<void(QWidget *)> &look,
                             QWidget *mainWindow, int timeoutMs = 20000)
{
    // A timer, not a nested wait: the window may talk to the amplifier
    // before it shows, and the probe must not sit inside that exchange.
    bool seen = false, gaveUp = false;
    QElapsedTimer clock;
    clock.start();
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (seen || gaveUp)
            return;
        if (clock.elapsed() > timeoutMs) {
            gaveUp = true;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w != mainWindow && w->isVisible()) {
                    if (auto *dialog = qobject_cast<QDialog *>(w))
                        dialog->reject();
                    else
                        w->close();
                }
            return;
        }
        if (TBusy::Active())
            return;
        QWidget *window = name.isEmpty() ? QApplication::activeModalWidget() : OpenWindow(name);
        if (!window)
            return;
        seen = true;
        look(window);
        if (auto *dialog = qobject_cast<QDialog *>(window))
            dialog->reject();
        else
            window->close();
    });
    probe.start();
    action->trigger();
    probe.stop();
    return seen;
}

// The program's long-lived modules as the program entry creates them, with
// the simulator behind the line and the messages recorded.
class ShellTest : public ::testing::Test
{
protected:
    static constexpr int Baud = 57600;

    void SetUp() override
    {
        if (!TSimProcess::Available())
            GTEST_SKIP() << "ampsim or the sample database has not been built";
        known = TSimProcess::KnownCodes();
        ASSERT_GE(known.size(), 1) << "the sample database lists no model";
    }

    // Starts the simulator with these axes ("N=CODE").
    void StartSim(const QStringList &axes)
    {
        QString why;
        ASSERT_TRUE(sim.Start(axes, Baud, &why)) << why.toStdString();
    }

    QString KnownAxis(int axis, int which = 0) const
    {
        return QStringLiteral("%1=%2").arg(QString::number(axis, 16), TSimProcess::Hex(known.value(which, known[0])));
    }

    // Settings in a folder of their own: the simulator's link, the rate, the
    // axes selected for use.
    void MakeModules(const QList<int> &useAxes, const QString &databaseBase = QString())
    {
        env = std::make_unique<TDMEnvironment>(folder.filePath("Tuvanta.ini"));
        env->CommDevice = sim.Link();
        env->BaudRate = Baud;
        env->CommPort = 1;
        env->WindowMaximized = false;
        for (int axis : useAxes)
            env->SetUseAxis(axis, true);
        // Shared access: other test programs read the same storages at once.
        loader = std::make_unique<TDMInterface>(
            databaseBase.isEmpty() ? TDMInterface::BasePath(TSimProcess::BinDir(), "Sample.ad0") : databaseBase,
            TStgManager::TAccess::Shared);
        tables = std::make_unique<TDMMain>(*loader);
        tran = std::make_unique<TDMTran>(*env);
    }

    void MakeMain(const QList<int> &useAxes)
    {
        MakeModules(useAxes);
        main = std::make_unique<TFMMain>(*env, *loader, *tables, *tran, folder.path());
        engine = std::make_unique<TTranAmp>();
        main->SetEngine(engine.get());
        tran->SetEngine(engine.get());
        main->show();
    }

    void TearDown() override
    {
        if (main)
            main->close();
        main.reset();
        engine.reset();
        tran.reset();
        tables.reset();
        loader.reset();
        env.reset();
    }

    int Count(const QString &text) const { return int(messages.Texts().count(text)); }

    static QString CableText() { return QStringLiteral("通信ケーブルが接続されていません。"); }

    QList<int> known;
    TSimProcess sim;
    QTemporaryDir folder;
    TMessageRecorder messages;
    std::unique_ptr<TDMEnvironment> env;
    std::unique_ptr<TDMInterface> loader;
    std::unique_ptr<TDMMain> tables;
    std::unique_ptr<TDMTran> tran;
    std::unique_ptr<TFMMain> main;
    std::unique_ptr<TTranAmp> engine;
};
