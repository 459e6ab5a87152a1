#include "WebViews.h"

#include <QApplication>
#include <gtest/gtest.h>

// The viewer tests share one application object and draw offscreen unless told otherwise, also
// when the build lists them without ctest's environment. Offscreen there is no GPU for the web
// engine to use.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    }
    zelmox::PrepareWebViews();
    const QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
