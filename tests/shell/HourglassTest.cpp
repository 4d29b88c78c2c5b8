#include "app/Hourglass.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Records what the backend is told to do.
struct TBackendLog {
    QStringList calls;
    TBackendLog()
    {
        THourglass::SetBackend(
            [this](THourglass::TShape s) { calls << (s == THourglass::TShape::Wait ? "wait" : "normal"); },
            [this] { calls << "pop"; });
    }
    ~TBackendLog() { THourglass::SetBackend({}, {}); }
};

TEST(Hourglass, NestedUsesRestoreInReverseOrder)
{
    TBackendLog log;
    const int depth = THourglass::Depth();
    {
        THourglass outer;
        EXPECT_TRUE(THourglass::Waiting());
        {
            THourglass pause(THourglass::TShape::Normal);
            EXPECT_FALSE(THourglass::Waiting());
            THourglass inner;
            EXPECT_EQ(THourglass::Depth(), depth + 3);
        }
        // The inner ones are gone; the outer hourglass shows again.
        EXPECT_TRUE(THourglass::Waiting());
    }
    EXPECT_EQ(THourglass::Depth(), depth);
    EXPECT_EQ(log.calls, QStringList({"wait", "normal", "wait", "pop", "pop", "pop"}));
}

TEST(Hourglass, PopWithoutPushRestoresNothing)
{
    TBackendLog log;
    ASSERT_EQ(THourglass::Depth(), 0);
    THourglass::Pop();
    EXPECT_EQ(THourglass::Depth(), 0);
    EXPECT_TRUE(log.calls.isEmpty());
}

} // namespace

namespace {

// The splash closes on its timer, maybe while an action's hourglass is on
// top: taking its own entry must leave the action's cursor showing.
TEST(Hourglass, RemovingAnEntryBelowTheTopKeepsTheTop)
{
    TBackendLog log;
    ASSERT_EQ(THourglass::Depth(), 0);
    const int splash = THourglass::PushToken(THourglass::TShape::Wait);
    THourglass::Push(THourglass::TShape::Normal); // a modal window's normal cursor
    log.calls.clear();
    THourglass::Remove(splash);
    EXPECT_EQ(THourglass::Depth(), 1);
    EXPECT_FALSE(THourglass::Waiting());
    // Backend: both taken off, the remaining one put back.
    EXPECT_EQ(log.calls, QStringList({"pop", "pop", "normal"}));
    THourglass::Remove(splash); // twice: nothing
    EXPECT_EQ(THourglass::Depth(), 1);
    THourglass::Pop();
    EXPECT_EQ(THourglass::Depth(), 0);
}

} // namespace
