// The main window drawn by the real platform, with the example watch list, saved as a picture for
// a person to look at. Needs an X server; skipped without one.
#include "SectionGrid.h"
#include "SectionTabs.h"
#include "SettingsFile.h"
#include "TempDir.h"
#include "TfrmMain.h"
#include "WindowTestPorts.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSet>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace zelmox::test {
namespace {

bool HaveDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

TEST(ScreenshotTest, MainWindowWithTheExampleList) {
    if (QApplication::instance() == nullptr) {
        GTEST_SKIP() << "no X display";
    }
    TempDir dir;
    SettingsPaths paths{dir.File("zelmox.ini"), dir.Folder() + "data/", dir.Folder() + "saves/"};
    MainWindowValues values;
    values.DefaultFilename = ZELMOX_EXAMPLE_FILE;
    ASSERT_TRUE(SaveSettings(paths, DefaultSettings(paths), values).ok);

    ScriptedPrompts prompts;
    RecordingSounds sounds;
    RecordingShell shell;
    RecordingTray tray;
    TfrmMain window(StartupOptions{}, paths,
                    {.Prompts = &prompts, .Sounds = &sounds, .Shell = &shell, .Tray = &tray});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Model().TabCount() > 1; }, 5000))
        << "the example file was not loaded";
    window.resize(1100, 600);
    window.Tabs()->setCurrentIndex(0);
    QTest::qWait(300);
    EXPECT_TRUE(prompts.shown.empty());

    const QImage image = window.grab().toImage();
    ASSERT_FALSE(image.isNull());
    QSet<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < 2; y += 3) {
        for (int x = 0; x < image.width() && colours.size() < 2; x += 3) {
            colours.insert(image.pixel(x, y));
        }
    }
    EXPECT_GE(colours.size(), 2) << "the picture is one flat colour";

    ASSERT_TRUE(QDir().mkpath(ZELMOX_SCREENSHOT_FOLDER));
    const QString file = QStringLiteral(ZELMOX_SCREENSHOT_FOLDER "/main.png");
    ASSERT_TRUE(image.save(file)) << file.toStdString();
    std::printf("screenshot: %s\n", qPrintable(file));
}

} // namespace
} // namespace zelmox::test

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    // Without a display the platform plugin would abort the program; the test skips instead.
    std::unique_ptr<QApplication> application;
    if (zelmox::test::HaveDisplay()) {
        application = std::make_unique<QApplication>(argc, argv);
    }
    return RUN_ALL_TESTS();
}
