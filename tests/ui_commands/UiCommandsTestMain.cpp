#include <QApplication>
#include <gtest/gtest.h>

// The command tests share one application object. They run on the offscreen platform, also when
// the build lists them without ctest's environment.
int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
