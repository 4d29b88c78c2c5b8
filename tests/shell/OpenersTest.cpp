#include "ShellFixture.h"

#include "app/AppContext.h"
#include "app/Busy.h"
#include "app/FMOpeners.h"

#include <QAction>
#include <QDialog>
#include <QTimer>

namespace {

// Every action of the main window opens the window its row names, with the
// name the cable watch closes by and the kind of the shared run windows; an
// action without a row is disabled with a hint rather than silently inert.
TEST_F(ShellTest, EveryActionOpensItsWindowOrIsDisabledWithAHint)
{
    StartSim({KnownAxis(1)});
    MakeMain({1});
    TFMOpeners::Register(*main, main->Context());
    main->SetOnline(true);
    ASSERT_TRUE(main->Online());
    env->SetAmpCode(1, known[0]);

    const QList<TFMOpeners::TEntry> table = TFMOpeners::Table(*main, main->Context());
    QList<QAction *> withRow;
    for (const TFMOpeners::TEntry &row : table) {
        SCOPED_TRACE(row.action->objectName().toStdString());
        withRow << row.action;
        ASSERT_TRUE(row.action->isEnabled());
        QString name;
        QVariant kind;
        const bool seen = ProbeModalWindow(row.action, row.windowName, [&](QWidget *w) {
            name = w->objectName();
            kind = w->property("kind");
        }, main.get());
        EXPECT_TRUE(seen);
        EXPECT_EQ(name, row.windowName);
        EXPECT_EQ(kind.isValid() ? kind.toInt() : -1, row.kind);
    }
    for (QAction *a : main->WindowActions()) {
        if (withRow.contains(a))
            continue;
        SCOPED_TRACE(a->objectName().toStdString());
        EXPECT_FALSE(a->isEnabled());
        EXPECT_EQ(a->statusTip(), TFMOpeners::NotAvailableHint());
    }
    // Going offline and online again keeps them disabled.
    main->SetOnline(false);
    for (QAction *a : main->WindowActions()) {
        if (!withRow.contains(a)) {
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        }
    }
}

} // namespace
