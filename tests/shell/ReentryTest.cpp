#include "ShellFixture.h"

#include "app/Busy.h"
#include "app/FMInputGuard.h"
#include "app/FMProgress.h"
#include "app/FMProgressView.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {

constexpr uint32_t SomeAddress = 0xF8000;

void Click(QWidget *w)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void Type(QWidget *w, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}

class Reentry : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        if (IsSkipped())
            return;
        TFMInputGuard::Install();
        StartSim({KnownAxis(1)});
        MakeMain({1});
        main->SetOnline(true);
        ASSERT_TRUE(main->Online());
        env->SetAmpCode(1, known[0]);
    }
};

// A second exchange started from inside the first one's wait is refused;
// the first completes as if nothing had happened.
TEST_F(Reentry, NestedTransactionIsRefusedAndTheOuterCompletes)
{
    TTranResult inner = trOk;
    bool innerRan = false;
    QTimer::singleShot(0, [&] {
        std::array<uint8_t, 4> bytes{};
        inner = engine->CmdR(1, SomeAddress, bytes);
        innerRan = true;
    });
    std::array<uint8_t, 8> bytes{};
    const uint32_t refusedBefore = engine->Stats().nestedRefused;
    EXPECT_EQ(engine->CmdM(1, SomeAddress, bytes), trOk);
    ASSERT_TRUE(innerRan);
    EXPECT_EQ(inner, trCommError);
    EXPECT_EQ(engine->Stats().nestedRefused, refusedBefore + 1);
    EXPECT_FALSE(engine->InTransaction());

    // Through the transaction layer: refused without a warning, and the
    // axis stays in use (nothing is known about it).
    bool layerResult = true;
    QTimer::singleShot(0, [&] {
        TDMTran::TWords words{};
        layerResult = tran->ReadWords4(1, SomeAddress, 2, words);
    });
    TDMTran::TWords words{};
    EXPECT_TRUE(tran->ReadWords8(1, SomeAddress, 4, words));
    EXPECT_FALSE(layerResult);
    EXPECT_TRUE(env->AxisInUse(1));
    EXPECT_TRUE(messages.Texts().isEmpty());
}

// While a transaction waits, clicks and keys aimed at the main window and at
// the calling window are dropped (not queued); the progress window's buttons
// still work, and a window opened meanwhile takes input.
TEST_F(Reentry, InputDuringATransactionReachesOnlyTheProgressWindow)
{
    QDialog caller(main.get());
    auto *button = new QPushButton(QStringLiteral("go"), &caller);
    auto *edit = new QLineEdit(&caller);
    auto *layout = new QVBoxLayout(&caller);
    layout->addWidget(button);
    layout->addWidget(edit);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    caller.show();

    TFMProgressView progress(&caller);
    progress.ShowButtons(true, true);
    progress.Start(QStringLiteral("t"), QStringLiteral("x"), 10);
    EXPECT_TRUE(TBusy::Active());

    bool during = false;
    bool actionRan = false;
    QObject::connect(main->actCommAxesCheck, &QAction::triggered, [&] { actionRan = true; });
    QTimer::singleShot(0, [&] {
        during = engine->InTransaction();
        Click(button);
        Type(edit, QStringLiteral("a"));
        QKeyEvent key(QEvent::KeyPress, Qt::Key_F, Qt::AltModifier, QString());
        QApplication::sendEvent(main.get(), &key);
        Click(progress.Window().btnServoOff);
        // Nested progress: the window opened during the series takes input.
        QDialog question(main.get());
        auto *answer = new QPushButton(QStringLiteral("ok"), &question);
        int answered = 0;
        QObject::connect(answer, &QPushButton::clicked, [&] { ++answered; });
        question.show();
        Click(answer);
        EXPECT_EQ(answered, 1);
    });
    std::array<uint8_t, 8> bytes{};
    EXPECT_EQ(engine->CmdM(1, SomeAddress, bytes), trOk);
    QApplication::processEvents();
    EXPECT_TRUE(during);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_FALSE(actionRan);
    EXPECT_EQ(progress.Request(), TProgress::rqServoOff);

    progress.Finish();
    EXPECT_FALSE(TBusy::Active());
    // Idle again: the same click goes through.
    Click(button);
    EXPECT_EQ(clicks, 1);
}

// Outside a series (a polling tick) a click during one transaction is held
// and handed on when the transaction is over: nothing runs inside the wait,
// nothing is lost.
TEST_F(Reentry, InputDuringAPollingTransactionArrivesAfterIt)
{
    QDialog caller(main.get());
    auto *button = new QPushButton(QStringLiteral("go"), &caller);
    auto *edit = new QLineEdit(&caller);
    auto *layout = new QVBoxLayout(&caller);
    layout->addWidget(button);
    layout->addWidget(edit);
    int clicks = 0, clicksInside = -1;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    caller.show();
    edit->setFocus();

    QTimer::singleShot(0, [&] {
        ASSERT_EQ(TBusy::State(), TBusy::TState::Transaction);
        Click(button);
        Type(edit, QStringLiteral("a"));
        QApplication::processEvents();
        clicksInside = clicks;
    });
    std::array<uint8_t, 8> bytes{};
    EXPECT_EQ(engine->CmdM(1, SomeAddress, bytes), trOk);
    EXPECT_EQ(clicksInside, 0);
    EXPECT_EQ(clicks, 0);
    QApplication::processEvents();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit->text(), QStringLiteral("a"));
}

// The user's close of the calling window is dropped during a series; the
// cable watch still closes it, and the series ends cleanly on the failures.
TEST_F(Reentry, CableWatchDuringASeriesEndsItCleanly)
{
    QDialog window(main.get());
    window.setObjectName(QStringLiteral("FMMonitor"));
    window.setModal(true);
    int reads = 0, failures = 0;
    bool userCloseDropped = false;
    QTimer::singleShot(0, &window, [&] {
        TFMProgressView progress(&window);
        progress.Start(QStringLiteral("t"), QStringLiteral("x"), 400);
        for (int i = 0; i < 400 && failures < 3; ++i) {
            if (reads == 5 && failures == 0) {
                // The user's close (it reaches the window as one from the
                // window system), then the cable comes out.
                window.close();
                userCloseDropped = window.isVisible();
                sim.Ok(QStringLiteral("pull"));
            }
            TDMTran::TWords words{};
            if (tran->ReadWords8(1, SomeAddress, 4, words))
                ++reads;
            else
                ++failures;
            progress.Step();
        }
        progress.Finish();
    });
    window.exec();
    EXPECT_TRUE(userCloseDropped);
    EXPECT_GT(reads, 0);
    EXPECT_GE(failures, 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(main->Online());
    EXPECT_FALSE(TBusy::Active());
    EXPECT_EQ(Count(CableText()), 1);
}

} // namespace
