#include <QCoreApplication>
#include <gtest/gtest.h>

// Test programs that need an event loop get one application object for all their tests.
int main(int argc, char* argv[]) {
    const QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
