#include "ShellFixture.h"

#include "comm/FMAxesCheck.h"
#include "comm/FMCommSetting.h"
#include "comm/OpenProblem.h"
#include "comm/SerialDevices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cerrno>

namespace {

using Connection = ShellTest;

// Runs work as soon as the named window is open (it is modal, so the test
// cannot reach it from its own code path).
void WhenOpen(const QString &name, std::function<void(QWidget *)> work)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, name, work] {
        if (QWidget *w = OpenWindow(name)) {
            poll->stop();
            poll->deleteLater();
            work(w);
        }
    });
    poll->start();
}

TEST_F(Connection, GoingOnlineWithoutTheLineWarnsAndStaysOffline)
{
    StartSim({KnownAxis(1)});
    MakeMain({1});
    sim.Ok("pull"); // the far side is gone and so is its device
    main->actCommOnline->trigger();
    // The port number as ever, then the device that was tried and why.
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("通信ポートが使用できません。(COM1)\r\n\r\n")
                                             + TOpenProblem(sim.Link(), ENOENT).Text()}));
    EXPECT_TRUE(messages.Texts().value(0).contains(sim.Link() + QStringLiteral(" がありません")));
    EXPECT_EQ(messages.entries.value(0).kind, TMsgKind::Warning);
    EXPECT_FALSE(main->Online());
    EXPECT_FALSE(engine->PortOpen());
    EXPECT_EQ(OpenWindow("FMAxesCheck"), nullptr);
}

TEST_F(Connection, OnlineOpensTheAxesCheckAndClosingItWithoutAxesGoesOffline)
{
    StartSim({KnownAxis(1)});
    MakeMain({1});
    bool seen = false;
    WhenOpen("FMAxesCheck", [&](QWidget *w) {
        seen = true;
        EXPECT_EQ(w->windowTitle(), QStringLiteral("通信状態の確認"));
        EXPECT_TRUE(main->Online());
        w->close();
    });
    main->actCommOnline->trigger();
    EXPECT_TRUE(seen);
    // Nothing was identified, so the first axis in use is none.
    EXPECT_FALSE(main->Online());
    EXPECT_TRUE(messages.entries.isEmpty());

    WhenOpen("FMAxesCheck", [&](QWidget *w) {
        auto *check = static_cast<TFMAxesCheck *>(w);
        check->Check();
        EXPECT_EQ(check->State(1), TFMAxesCheck::Connected());
        check->btnClose->click();
    });
    main->actCommOnline->trigger();
    EXPECT_TRUE(main->Online());
    EXPECT_EQ(env->AmpCode(1), known[0]);
}

TEST_F(Connection, AxesCheckNamesTheStateOfEveryAxis)
{
    StartSim({KnownAxis(1), QStringLiteral("2=%1").arg(TSimProcess::Hex(TSimProcess::UnknownCode())),
              KnownAxis(4), KnownAxis(5), KnownAxis(7)});
    sim.Ok("fault 4 nak");
    sim.Ok("fault 5 badcheck");
    MakeMain({1, 2, 3, 4, 5, 7});
    main->SetOnline(true);
    ASSERT_TRUE(main->Online());
    env->SetAmpCode(7, known[0]); // in use before the pass; its box gets cleared
    int firstAxisCalls = 0;
    TFMAxesCheck check(main.get(), *env, engine.get(), *tables, [&] { ++firstAxisCalls; return 0; });
    check.show();
    // Offered: the axes selected for use; #7 reads "Connected" as it is in use.
    for (int axis = 1; axis <= 15; ++axis) {
        const bool use = QList<int>({1, 2, 3, 4, 5, 7}).contains(axis);
        EXPECT_EQ(check.cboxAxis[axis - 1]->isEnabled(), use) << axis;
        EXPECT_EQ(check.cboxAxis[axis - 1]->isChecked(), use) << axis;
    }
    EXPECT_EQ(check.State(7), TFMAxesCheck::Connected());
    EXPECT_EQ(check.grdState->item(0, 1)->text(), QStringLiteral("状態"));
    EXPECT_EQ(check.grdState->item(0, 0)->text(), QString());
    EXPECT_EQ(check.grdState->item(10, 0)->text(), QStringLiteral("#A"));

    check.cboxAxis[6]->click();
    EXPECT_TRUE(check.btnCheck->isEnabled());
    sim.Ok("log 2 clear");
    check.btnCheck->click();
    EXPECT_EQ(check.RowsHandled(), 15);
    const std::pair<int, QString> want[] = {
        {1, TFMAxesCheck::Connected()}, {2, TFMAxesCheck::NotCorresponding()}, {3, TFMAxesCheck::NotConnected()},
        {4, TFMAxesCheck::Overlap()},   {5, TFMAxesCheck::Error()},            {6, QString()},
        {7, QString()},                 {8, QString()},
    };
    for (const auto &[axis, state] : want)
        EXPECT_EQ(check.State(axis), state) << axis;
    EXPECT_EQ(env->AmpCode(1), known[0]);
    for (int axis = 2; axis <= 15; ++axis)
        EXPECT_EQ(env->AmpCode(axis), -1) << axis;
    // The unknown model is released again.
    EXPECT_TRUE(sim.Ok("log 2").contains("H1"));
    EXPECT_TRUE(check.btnCheck->isEnabled());
    EXPECT_TRUE(check.btnClose->isEnabled());
    // The axes check shows no message boxes.
    EXPECT_TRUE(messages.entries.isEmpty());
    check.btnClose->click();
    EXPECT_EQ(firstAxisCalls, 1);
}

TEST_F(Connection, AxesCheckWithoutSelectedAxesOffersNothing)
{
    StartSim({KnownAxis(1)});
    MakeMain({});
    main->SetOnline(true);
    ASSERT_TRUE(main->Online());
    WhenOpen("FMAxesCheck", [&](QWidget *w) {
        auto *check = static_cast<TFMAxesCheck *>(w);
        for (QCheckBox *box : check->cboxAxis)
            EXPECT_FALSE(box->isEnabled());
        EXPECT_FALSE(check->btnCheck->isEnabled());
        check->close();
    });
    main->actCommAxesCheck->trigger();
    EXPECT_FALSE(main->Online());
}

TEST_F(Connection, CablePullClosesAmplifierWindowsWarnsOnceAndReleasesEveryAxis)
{
    StartSim({KnownAxis(1), KnownAxis(2)});
    MakeMain({1, 2});
    main->SetOnline(true);
    ASSERT_TRUE(main->Online());
    env->SetAmpCode(1, known[0]);
    env->SetAmpCode(2, known[0]);

    QDialog other(main.get());
    other.setObjectName("FMUserParameter");
    other.show();
    QDialog monitor(main.get());
    monitor.setObjectName("FMMonitor");
    QElapsedTimer clock;
    QTimer::singleShot(50, [&] {
        clock.start();
        sim.Ok("pull");
    });
    QTimer::singleShot(10000, &monitor, &QDialog::accept); // never waits forever
    monitor.exec();
    const qint64 closedAfter = clock.elapsed();
    EXPECT_LT(closedAfter, 2000) << "the cable watch runs every 500 ms";
    EXPECT_FALSE(monitor.isVisible());
    EXPECT_TRUE(other.isVisible()) << "only amplifier windows close";
    EXPECT_EQ(Count(CableText()), 1);
    EXPECT_EQ(messages.closeAllCount, 1);
    EXPECT_FALSE(main->Online());
    for (int axis = 1; axis <= 15; ++axis)
        EXPECT_EQ(env->AmpCode(axis), -1) << axis;
    // Once offline the watch is quiet.
    QElapsedTimer idle;
    idle.start();
    WaitUntil([] { return false; }, 700);
    EXPECT_EQ(Count(CableText()), 1);
}

TEST_F(Connection, OfflineReleasesEveryAxisInUseWithH1)
{
    StartSim({KnownAxis(1), KnownAxis(2), KnownAxis(3)});
    MakeMain({1, 2, 3});
    main->SetOnline(true);
    ASSERT_TRUE(main->Online());
    env->SetAmpCode(1, known[0]);
    env->SetAmpCode(3, known[0]);
    sim.Ok("fault 1 silent");
    for (const char *axis : {"1", "2", "3"})
        sim.Ok(QStringLiteral("log %1 clear").arg(axis));
    main->actCommOffline->trigger();
    // #1 does not answer: its message, and the loop goes on to #3.
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("通信タイムアウト。（軸番号[#1]）")}));
    EXPECT_FALSE(sim.Ok("log 2").contains("H1"));
    EXPECT_TRUE(sim.Ok("log 3").contains("H1"));
    EXPECT_FALSE(main->Online());
    for (int axis = 1; axis <= 15; ++axis)
        EXPECT_EQ(env->AmpCode(axis), -1);
}

TEST_F(Connection, OfflineWithoutTheCableStopsSilently)
{
    StartSim({KnownAxis(1), KnownAxis(2)});
    MakeMain({1, 2});
    main->SetOnline(true);
    ASSERT_TRUE(main->Online());
    env->SetAmpCode(1, known[0]);
    env->SetAmpCode(2, known[0]);
    main->tmrDisconnect.stop(); // this test looks at the offline action alone
    sim.Ok("pull");
    ASSERT_TRUE(WaitUntil([&] { return !engine->CtsOn(); }));
    main->actCommOffline->trigger();
    EXPECT_TRUE(messages.entries.isEmpty());
    EXPECT_FALSE(main->Online());
    // Releasing stopped at the first failure, yet no axis stays in use on an
    // offline line.
    EXPECT_EQ(env->AmpCode(1), -1);
    EXPECT_EQ(env->AmpCode(2), -1);
}

TEST_F(Connection, ClosingTheMainWindowReleasesTheAxesAndThePort)
{
    StartSim({KnownAxis(1)});
    MakeMain({1});
    main->SetOnline(true);
    ASSERT_TRUE(main->Online());
    env->SetAmpCode(1, known[0]);
    sim.Ok("log 1 clear");
    EXPECT_TRUE(main->close());
    EXPECT_TRUE(sim.Ok("log 1").contains("H1"));
    EXPECT_FALSE(engine->PortOpen());
    EXPECT_EQ(env->AmpCode(1), -1);
}

TEST_F(Connection, DirectModeActionsGoOnlineFirst)
{
    StartSim({KnownAxis(1)});
    MakeMain({1});
    bool openedOnline = false;
    main->SetOpener(main->actMakerPara, [&](TFMMain &owner) { openedOnline = owner.Online(); }, true);
    main->actMakerPara->trigger();
    EXPECT_TRUE(openedOnline);
    sim.Ok("pull");
    main->SetOnline(false);
    openedOnline = false;
    bool opened = false;
    main->SetOpener(main->actMakerMonitor, [&](TFMMain &) { opened = true; }, true);
    main->actMakerMonitor->trigger();
    EXPECT_FALSE(opened);
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("通信ポートが使用できません。(COM1)\r\n\r\n")
                                             + TOpenProblem(sim.Link(), ENOENT).Text()}));
}

TEST_F(Connection, CommSettingsChangeOnlyOnOk)
{
    StartSim({KnownAxis(1)});
    MakeModules({2, 10});
    env->CommPort = 3;
    env->BaudRate = 19200;
    env->CommDevice.clear();
    {
        TFMCommSetting dialog(nullptr, *env);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("通信設定"));
        EXPECT_EQ(dialog.cboxPort->count(), TFMCommSetting::PortCount);
        EXPECT_EQ(dialog.cboxPort->currentIndex(), 2);
        EXPECT_TRUE(dialog.cboxPort->currentText().startsWith("COM3"));
        EXPECT_TRUE(dialog.cboxPort->currentText().contains(TComm::PortDeviceName(3)));
        EXPECT_EQ(dialog.cboxBaudRate->currentText(), QStringLiteral("19200 bps"));
        EXPECT_EQ(dialog.cboxBaudRate->itemText(0), QStringLiteral(" 1200 bps"));
        EXPECT_TRUE(dialog.cboxAxis[1]->isChecked());
        EXPECT_TRUE(dialog.cboxAxis[9]->isChecked());
        EXPECT_EQ(dialog.cboxAxis[9]->text(), QStringLiteral("#A"));
        dialog.cboxPort->setCurrentIndex(5);
        dialog.cboxAxis[0]->setChecked(true);
        dialog.reject();
    }
    EXPECT_EQ(env->CommPort, 3);
    EXPECT_FALSE(env->UseAxis(1));

    struct {
        int stored, want;
    } rates[] = {{9600, 9600}, {57600, 57600}, {12345, 9600}};
    for (const auto &r : rates) {
        env->BaudRate = r.stored;
        TFMCommSetting dialog(nullptr, *env);
        if (r.stored == 12345) {
            EXPECT_EQ(dialog.cboxBaudRate->currentIndex(), -1);
        }
        dialog.cboxPort->setCurrentIndex(5);
        dialog.edtDevice->setText(" " + sim.Link() + " ");
        dialog.cboxAxis[1]->setChecked(false);
        dialog.cboxAxis[14]->setChecked(true);
        dialog.accept();
        EXPECT_EQ(env->BaudRate, r.want) << r.stored;
        EXPECT_EQ(env->CommPort, 6);
        EXPECT_EQ(env->CommDevice, sim.Link());
        EXPECT_FALSE(env->UseAxis(2));
        EXPECT_TRUE(env->UseAxis(15));
        EXPECT_TRUE(env->UseAxis(10));
    }
    // A port the list does not offer selects nothing and stays.
    env->CommPort = 256;
    TFMCommSetting dialog(nullptr, *env);
    EXPECT_EQ(dialog.cboxPort->currentIndex(), -1);
    dialog.accept();
    EXPECT_EQ(env->CommPort, 256);
}

TEST_F(Connection, CommSettingsListTheDevicesThatExistAndPickingOneFillsPortOrPath)
{
    QTemporaryDir root;
    const QString dev = QDir::cleanPath(root.filePath(QStringLiteral("dev")));
    ASSERT_TRUE(QDir().mkpath(dev + "/serial/by-id"));
    for (const char *name : {"ttyS0", "ttyUSB0"}) {
        QFile f(dev + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString byId = dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB0"), byId));

    MakeModules({1});
    env->CommPort = 5;
    env->CommDevice.clear();
    TFMCommSetting dialog(nullptr, *env, root.path());
    EXPECT_EQ(dialog.cboxDevices->count(), 3);
    EXPECT_EQ(dialog.cboxDevices->currentIndex(), -1) << "nothing is picked for the user";
    EXPECT_EQ(dialog.cboxDevices->itemText(0), QStringLiteral("COM1    ") + dev + "/ttyS0");
    EXPECT_EQ(dialog.cboxDevices->itemText(1), dev + "/ttyUSB0    FTDI FT232R USB UART A50285BI");
    EXPECT_EQ(dialog.cboxDevices->itemText(2), QStringLiteral("FTDI FT232R USB UART A50285BI    ") + byId);

    // The adapter by its stable name: the path goes into the device field.
    dialog.cboxDevices->setCurrentIndex(2);
    emit dialog.cboxDevices->activated(2);
    EXPECT_EQ(dialog.edtDevice->text(), byId);
    EXPECT_FALSE(dialog.cboxPort->isEnabled());
    // A built-in port by its number: the device field empties.
    dialog.cboxDevices->setCurrentIndex(0);
    emit dialog.cboxDevices->activated(0);
    EXPECT_TRUE(dialog.edtDevice->text().isEmpty());
    EXPECT_TRUE(dialog.cboxPort->isEnabled());
    EXPECT_EQ(dialog.cboxPort->currentIndex(), 0);

    // An adapter plugged in while the dialog is open shows after 更新.
    {
        QFile f(dev + "/ttyACM0");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    dialog.btnRefresh->click();
    EXPECT_EQ(dialog.cboxDevices->count(), 4);
    dialog.cboxDevices->setCurrentIndex(1);
    emit dialog.cboxDevices->activated(1);
    dialog.accept();
    EXPECT_EQ(env->CommDevice, dev + "/ttyACM0");
    EXPECT_EQ(env->CommPort, 1);

    // No device at all: the list says so and cannot be opened.
    QTemporaryDir empty;
    TFMCommSetting none(nullptr, *env, empty.path());
    EXPECT_EQ(none.cboxDevices->count(), 0);
    EXPECT_FALSE(none.cboxDevices->isEnabled());
}

TEST_F(Connection, PortBeyondTheSerialComponentIsReportedWithItsNumber)
{
    StartSim({KnownAxis(1)});
    MakeMain({1});
    env->CommDevice.clear();
    env->CommPort = 256;
    main->SetOnline(true);
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("通信ポートが使用できません。(COM256)")}));
    EXPECT_FALSE(main->Online());
}

} // namespace
