#include "app/FMProgress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(Progress, StartsWithItsSizeBarAndHiddenButtons)
{
    TFMProgress p;
    EXPECT_EQ(p.size(), QSize(305, 93));
    EXPECT_EQ(p.ProgressBar->minimum(), 0);
    EXPECT_EQ(p.ProgressBar->maximum(), 100);
    EXPECT_EQ(p.Request(), 0);
    EXPECT_FALSE(p.CancelShown());
    EXPECT_FALSE(p.ServoOffShown());
    EXPECT_EQ(p.btnCancel->text(), QStringLiteral("中止"));
    EXPECT_EQ(p.btnServoOff->text(), QStringLiteral("サーボオフ"));
    EXPECT_FALSE(p.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(Progress, StepStopsAtTheMaximum)
{
    struct {
        int max, start, steps, want;
    } cases[] = {{3, 0, 2, 2}, {3, 0, 3, 3}, {3, 0, 10, 3}, {0, 0, 1, 0}, {5, 5, 1, 5}, {100, 99, 5, 100}};
    for (const auto &c : cases) {
        TFMProgress p;
        p.SetMax(c.max);
        p.SetPosition(c.start);
        for (int i = 0; i < c.steps; ++i)
            p.Step();
        EXPECT_EQ(p.Position(), c.want) << c.max << " " << c.start << " " << c.steps;
    }
}

TEST(Progress, ShowingSizesTheWindowForItsButtons)
{
    QWidget owner;
    owner.setGeometry(100, 100, 600, 400);
    owner.show();
    TFMProgress p(&owner);
    p.SetTitle(QStringLiteral("読み出し中"));
    p.SetText(QStringLiteral("読み出し中です。お待ちください。"));
    p.Show();
    EXPECT_TRUE(p.isVisible());
    EXPECT_FALSE(p.isModal());
    EXPECT_EQ(p.size(), QSize(305, 93));
    EXPECT_EQ(p.windowTitle(), QStringLiteral("読み出し中"));
    EXPECT_EQ(p.lblMessage->text(), QStringLiteral("読み出し中です。お待ちください。"));
    p.Hide();

    p.ShowCancel(true);
    p.Show();
    EXPECT_EQ(p.size(), QSize(305, 150));
    EXPECT_TRUE(p.btnCancel->isVisible());
    // The button lies inside the window.
    EXPECT_TRUE(p.rect().contains(p.btnCancel->geometry()));
    p.Hide();

    p.ShowCancel(false);
    p.ShowServoOff(true);
    p.Show();
    EXPECT_TRUE(p.rect().contains(p.btnServoOff->geometry()));
    p.Hide();
    EXPECT_FALSE(p.isVisible());
}

TEST(Progress, ButtonsOnlySetTheRequestAndTheLastPressWins)
{
    TFMProgress p;
    p.ShowCancel(true);
    p.ShowServoOff(true);
    p.Show();
    p.btnServoOff->click();
    EXPECT_EQ(p.Request(), TFMProgress::rqServoOff);
    p.btnCancel->click();
    EXPECT_EQ(p.Request(), TFMProgress::rqCancel);
    // Pressing does not hide the window and nothing clears the flag but the caller.
    EXPECT_TRUE(p.isVisible());
    p.Step();
    p.Hide();
    p.Show();
    EXPECT_EQ(p.Request(), TFMProgress::rqCancel);
    p.SetRequest(0);
    EXPECT_EQ(p.Request(), 0);
}

TEST(Progress, UserCannotDismissTheWindow)
{
    for (bool withCancel : {false, true}) {
        TFMProgress p;
        p.ShowCancel(withCancel);
        p.Show();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&p, &esc);
        EXPECT_TRUE(p.isVisible());
        // Esc is "中止" when that is offered, and nothing otherwise.
        EXPECT_EQ(p.Request(), withCancel ? TFMProgress::rqCancel : TFMProgress::rqNone);
        EXPECT_FALSE(p.close());
        EXPECT_TRUE(p.isVisible());
    }
}

TEST(Progress, IsCentredOverItsOwner)
{
    QWidget owner;
    owner.setGeometry(200, 150, 800, 600);
    owner.show();
    TFMProgress p(&owner);
    p.Show();
    const QPoint centre = p.geometry().center();
    EXPECT_NEAR(centre.x(), owner.frameGeometry().center().x(), 2);
    EXPECT_NEAR(centre.y(), owner.frameGeometry().center().y(), 2);
}

} // namespace
