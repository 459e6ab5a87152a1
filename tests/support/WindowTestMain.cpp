#include "WebViews.h"

#include <QApplication>
#include <gtest/gtest.h>

// The window tests share one application object and draw offscreen unless told otherwise, also
// when the build lists them without ctest's environment. Nothing in them needs OpenGL, so neither
// the platform nor the web engine loads the system's GL driver: offscreen it would only add a
// graphics stack that the tests never look at (and whose own leaks the sanitizer build reports).
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qputenv("QT_QPA_OFFSCREEN_NO_GLX", "1");
    qputenv("QT_XCB_GL_INTEGRATION", "none");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    }
    zelmox::PrepareWebViews();
    const QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
