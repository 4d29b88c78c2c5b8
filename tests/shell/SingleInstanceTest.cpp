#include "SingleInstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUuid>
#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, NameCarriesTheVersion)
{
    EXPECT_EQ(TSingleInstance::MutexName(" 1.2.3 "), QStringLiteral("Halvex Version 1.2.3 System Mutex"));
}

TEST(SingleInstance, SecondClaimAsksTheFirstToComeForward)
{
    // A name of its own, so a running program is never disturbed.
    const QString name = TSingleInstance::MutexName(QUuid::createUuid().toString());
    TSingleInstance first(name);
    ASSERT_TRUE(first.Claim());
    int asked = 0;
    QObject::connect(&first, &TSingleInstance::ComeForward, [&] { ++asked; });

    for (int round = 1; round <= 2; ++round) {
        TSingleInstance second(name);
        EXPECT_FALSE(second.Claim());
        QElapsedTimer clock;
        clock.start();
        while (asked < round && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_EQ(asked, round);
    }
}

TEST(SingleInstance, NameIsFreeAgainWhenTheFirstEnds)
{
    const QString name = TSingleInstance::MutexName(QUuid::createUuid().toString());
    {
        TSingleInstance first(name);
        ASSERT_TRUE(first.Claim());
    }
    TSingleInstance again(name);
    EXPECT_TRUE(again.Claim());
}

} // namespace
