#include "ShellFixture.h"

#include "app/FMInputGuard.h"
#include "app/FMOpeners.h"

#include <QAction>
#include <QTimer>

namespace {

// Pulling the cable while a monitor window polls closes it and takes the
// line offline, with one warning.
TEST_F(ShellTest, CablePullClosesBothMonitorWindows)
{
    TFMInputGuard::Install();
    StartSim({KnownAxis(1), KnownAxis(2)});
    MakeMain({1, 2});
    TFMOpeners::Register(*main, main->Context());
    main->SetOnline(true);
    ASSERT_TRUE(main->Online());

    for (QAction *action : {main->actMonitorDisp, main->actMonitorMulti}) {
        SCOPED_TRACE(action->objectName().toStdString());
        if (!main->Online()) {
            sim.Ok(QStringLiteral("plug"));
            main->SetOnline(true);
            ASSERT_TRUE(main->Online());
        }
        env->SetMultiMonitorCell(0, {true, 1, 0});
        messages.Clear();
        QString opened;
        bool closed = false;
        QTimer::singleShot(0, [&] {
            WaitUntil([] { return QApplication::activeModalWidget() != nullptr; }, 5000);
            if (QWidget *w = QApplication::activeModalWidget())
                opened = w->objectName();
            WaitUntil([] { return false; }, 700); // a few refreshes
            sim.Ok(QStringLiteral("pull"));
            closed = WaitUntil([] { return QApplication::activeModalWidget() == nullptr; }, 10000);
        });
        action->trigger();
        EXPECT_FALSE(opened.isEmpty());
        EXPECT_TRUE(closed);
        EXPECT_FALSE(main->Online());
        // Whichever notices first speaks once: the cable watch, or the
        // monitor's failed read that leaves no axis.
        EXPECT_EQ(Count(CableText()) +
                      Count(QStringLiteral("通信可能なサーボアンプが存在しません。\r\nモニタ表示を終了します。")),
                  1);
    }
}

} // namespace
