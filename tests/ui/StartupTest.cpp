// Creating and first showing the main window: settings, the default data file, the silent scan.
#include "MainWindowFixture.h"

namespace zelmox::test {
namespace {

TEST(StartupOptionsTest, SilentScanIsOneWholeArgumentInAnyPositionExactly) {
    const std::pair<QStringList, bool> cases[] = {
        {{"zelmox", "silentscan"}, true},
        {{"zelmox", "foo", "silentscan"}, true},
        {{"zelmox", "silentscan", "foo"}, true},
        {{"zelmox", "SILENTSCAN"}, false},
        {{"zelmox", "SilentScan"}, false},
        {{"zelmox", "/silentscan"}, false},
        {{"zelmox", "-silentscan"}, false},
        {{"zelmox", "silentscan "}, false},
        {{"zelmox", "silentscans"}, false},
        {{"zelmox"}, false},
        // Argument 0 is the program, whatever it is called.
        {{"silentscan"}, false},
    };
    for (const auto& [arguments, silent] : cases) {
        EXPECT_EQ(StartupOptions::FromArguments(arguments).SilentScan, silent)
            << arguments.join(' ').toStdString();
    }
}

using StartupTest = MainWindowTest;

TEST_F(StartupTest, WithoutSettingsFileTheWindowHoldsOneEmptyDefaultSection) {
    CreateAndStart();

    EXPECT_EQ(window->windowTitle(), "Zelmox v2.2 / February 3rd 2007");
    ASSERT_EQ(Model().TabCount(), 1);
    EXPECT_EQ(Model().Tab(0).Name, "Default");
    EXPECT_EQ(Model().Tab(0).Slot(), 0);
    EXPECT_TRUE(Model().Tab(0).IsEmpty());
    EXPECT_EQ(TabTexts(), QStringList{"Default"});
    EXPECT_EQ(Grid(0)->objectName(), "sg1");
    EXPECT_EQ(Grid(0)->model()->rowCount(), 1) << "the placeholder row";
    EXPECT_EQ(Grid(0)->isColumnHidden(ColSortKey), true);

    EXPECT_EQ(EnabledButtons(),
              AllButtonsBut({"tbDeleteSection", "sbCompare", "sbInfo", "sbClear", "sbEdit"}));
    EXPECT_TRUE(Button("sbMinimise")->isEnabled());
    EXPECT_FALSE(Button("sbStop")->isEnabled());
    EXPECT_FALSE(Find<QProgressBar>("pbMain")->isVisible());
    EXPECT_TRUE(Action("miTTStart")->isEnabled());
    EXPECT_FALSE(Action("miTTStop")->isEnabled());

    EXPECT_EQ(tray.CurrentImage(), TrayIcon::Idle);
    ASSERT_FALSE(tray.hints.isEmpty());
    EXPECT_EQ(tray.hints.back(), "Zelmox v2.2");
    EXPECT_TRUE(tray.balloons.empty());
    EXPECT_EQ(Panels(), (QStringList{"0", "0", "0"}));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_GE(window->width(), TfrmMain::MinimumWidth);
    EXPECT_GE(window->height(), TfrmMain::MinimumHeight);
}

TEST_F(StartupTest, DefaultFileOfTheSettingsIsLoadedOnFirstShow) {
    UseDefaultFile(
        {{"News", {StoredWatch("http://127.0.0.1:1/a", ScanEntireFile, 2), StoredWatch("/tmp/b")}},
         {"Software", {StoredWatch("http://127.0.0.1:1/c")}},
         {"Empty", {}}});
    Create();
    EXPECT_EQ(Model().TabCount(), 1) << "nothing is loaded before the window is shown";

    ShowAndStart();

    EXPECT_EQ(TabTexts(), (QStringList{"News", "Software", "Empty"}));
    ASSERT_EQ(Model().TabCount(), 3);
    EXPECT_EQ(Model().Tab(0).Row(1).Object.Watch.Address, "http://127.0.0.1:1/a");
    EXPECT_TRUE(Model().Tab(0).Row(1).Object.Highlighted);
    EXPECT_EQ(Model().Tab(0).Row(2).Cells[ColAddress], "/tmp/b");
    EXPECT_EQ(Grid(0)->model()->rowCount(), 2);
    EXPECT_EQ(Grid(1)->model()->data(Grid(1)->model()->index(0, ColAddress)).toString(),
              "http://127.0.0.1:1/c");
    EXPECT_TRUE(Model().Tab(2).IsEmpty());
    EXPECT_EQ(Model().CurrentFileName, dir.File("watches.zelmox"));
    // The last section read is shown.
    EXPECT_EQ(Tabs()->currentIndex(), 2);
    EXPECT_EQ(Model().ActiveTab(), 2);
    EXPECT_TRUE(Button("tbDeleteSection")->isEnabled());
    EXPECT_EQ(Panels(), (QStringList{"0", "3", "1"}));
    EXPECT_TRUE(prompts.Of(Kind::Error).isEmpty());
    EXPECT_FALSE(window->GetScanner().IsRunning()) << "no scan after loading unless asked";
}

TEST_F(StartupTest, MissingDefaultFileIsReportedOnceThenForgottenAtExit) {
    const std::string missing = dir.File("gone.zelmox");
    WriteSettings(missing);
    CreateAndStart();

    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.Of(Kind::Error),
              QStringList{QString::fromStdString("Cannot find Zelmox file \"" + missing + "\".")});
    EXPECT_EQ(Model().TabCount(), 1);
    EXPECT_TRUE(Model().Tab(0).IsEmpty());
    EXPECT_EQ(StoredWindowValues().DefaultFilename, missing) << "stored only at exit";

    prompts.yesNoCancel = {Answer::No};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(StoredWindowValues().DefaultFilename, "");

    // The next start has nothing to complain about.
    prompts.shown.clear();
    CreateAndStart();
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(StartupTest, StartUpRunsOnlyOnTheFirstShow) {
    UseDefaultFile({{"News", {StoredWatch("/tmp/a")}}, {"Software", {}}});
    CreateAndStart();
    ASSERT_EQ(Model().TabCount(), 2);

    ASSERT_TRUE(window->Sections().AddNewTab("Added later"));
    Model().Tab(0).Name = "Renamed";
    window->hide();
    ProcessQueuedEvents();
    window->show();
    ProcessQueuedEvents();

    EXPECT_EQ(Model().TabCount(), 3) << "the default file was loaded again over the user's work";
    EXPECT_EQ(Model().Tab(0).Name, "Renamed");
    EXPECT_EQ(Model().Tab(2).Name, "Added later");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(StartupTest, StoredBoundsHoldWithAndWithoutSilentScan) {
    const QRect stored(120, 90, 1000, 650);
    tray.available = true;
    for (const bool silent : {false, true}) {
        MainWindowValues values;
        values.Left = stored.left();
        values.Top = stored.top();
        values.Width = stored.width();
        values.Height = stored.height();
        ASSERT_TRUE(SaveSettings(paths, DefaultSettings(paths), values).ok);
        CreateAndStart(silent ? QStringList{"zelmox", "silentscan"} : QStringList{"zelmox"});
        ASSERT_TRUE(WaitForScanEnd());
        ProcessQueuedEvents();

        EXPECT_EQ(window->isVisible(), !silent) << "the silent start goes to the tray";
        EXPECT_EQ(window->normalGeometry(), stored) << silent;
        prompts.yesNoCancel = {Answer::No};
        EXPECT_TRUE(window->close());
        values = StoredWindowValues();
        EXPECT_EQ(QRect(values.Left, values.Top, values.Width, values.Height), stored) << silent;
    }
}

class SilentScanTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        server.SetBody("/news", "today's news");
        UseDefaultFile({{"News", {StoredWatch(server.Url("/news"))}}});
    }
};

TEST_F(SilentScanTest, SilentScanInAnyPositionScansAndAnnouncesTheChange) {
    CreateAndStart({"zelmox", "foo", "silentscan"});
    ASSERT_TRUE(WaitForScanEnd());

    EXPECT_EQ(server.Hits("/news"), 1) << "one scan: the default file asks for none";
    const WatchRow& row = Model().Tab(0).Row(1);
    EXPECT_TRUE(row.Object.Highlighted);
    EXPECT_EQ(row.Object.Changed, 1);
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::ChangeDetected);
    ASSERT_EQ(tray.balloons.size(), 1u);
    EXPECT_EQ(tray.balloons[0].title, "Change Detected!");
    EXPECT_EQ(tray.balloons[0].text, "");
    EXPECT_EQ(tray.balloons[0].milliseconds, 10'000);
    EXPECT_TRUE(Button("sbClear")->isEnabled());
    EXPECT_EQ(Panel(3), "1");
}

TEST_F(SilentScanTest, OtherSpellingsOfTheWordDoNotScan) {
    CreateAndStart({"zelmox", "SILENTSCAN", "/silentscan"});
    QTest::qWait(200);

    EXPECT_FALSE(window->GetScanner().IsRunning());
    EXPECT_EQ(server.Hits("/news"), 0);
    EXPECT_FALSE(Model().Tab(0).Row(1).Object.Highlighted);
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::Idle);
    EXPECT_TRUE(tray.balloons.empty());
}

TEST_F(SilentScanTest, ScanAfterLoadingAndSilentScanBothRun) {
    WriteSettings(dir.File("watches.zelmox"), true);
    CreateAndStart({"zelmox", "silentscan"});
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.Hits("/news") == 2; }, 15000));
    ASSERT_TRUE(WaitForScanEnd());

    EXPECT_EQ(Model().Tab(0).Row(1).Object.Changed, 1)
        << "the second scan finds the page as the first left it";
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::ChangeDetected);
    // The scan after loading found the change while the window was minimised; the silent scan
    // found nothing new.
    EXPECT_EQ(tray.balloons.size(), 1u);
}

} // namespace
} // namespace zelmox::test
