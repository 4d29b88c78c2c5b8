#include <QCoreApplication>
#include <gtest/gtest.h>

// The engine waits in the event loop, so the core tests need an application
// object just as the program has.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
