#include <QApplication>
#include <gtest/gtest.h>

// The window tests share one application object. They draw offscreen unless told otherwise, also
// when the build lists them, which runs this program without the tests' environment.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
