// Scans started from the window: responsiveness, button states, refused commands, Stop and Exit.
#include "MainWindowFixture.h"

#include <QElapsedTimer>

namespace zelmox::test {
namespace {

class WindowScanTest : public MainWindowTest {
protected:
    // Watches /p0 .. /p(count-1) in two sections; the first `fast` answer at once, the others
    // after delayMs.
    void StartWithPages(int count, int fast, int delayMs, int inFirstSection) {
        std::vector<int> slow;
        for (int i = fast; i < count; ++i) {
            slow.push_back(i);
        }
        const std::vector<TWatchObject> watches = ChangedPages(count, slow, delayMs);
        UseDefaultFile({{"First", {watches.begin(), watches.begin() + inFirstSection}},
                        {"Second", {watches.begin() + inFirstSection, watches.end()}}});
        CreateAndStart();
        ASSERT_EQ(Model().TabCount(), 2);
        Tabs()->setCurrentIndex(0);
    }

    const WatchRow& Row(int tab, int row) { return Model().Tab(tab).Row(row); }

    std::vector<WatchRow> RowsOf(int tab, int from) {
        std::vector<WatchRow> rows;
        for (int row = from; row < Model().Tab(tab).RowCount(); ++row) {
            rows.push_back(Row(tab, row));
        }
        return rows;
    }

    static void ExpectSameRows(const std::vector<WatchRow>& before,
                               const std::vector<WatchRow>& after) {
        ASSERT_EQ(before.size(), after.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(before[i].Object, after[i].Object) << before[i].Cells[ColAddress];
            EXPECT_EQ(before[i].Cells, after[i].Cells) << before[i].Cells[ColAddress];
        }
    }
};

TEST_F(WindowScanTest, FullScanKeepsTheWindowAliveAndMarksTheChanges) {
    // Every fifth page is slow.
    std::vector<int> slow;
    for (int i = 0; i < 30; i += 5) {
        slow.push_back(i);
    }
    const std::vector<TWatchObject> watches = ChangedPages(30, slow, 300);
    UseDefaultFile({{"First", {watches.begin(), watches.begin() + 20}},
                    {"Second", {watches.begin() + 20, watches.end()}}});
    CreateAndStart();
    Tabs()->setCurrentIndex(0);

    QElapsedTimer clock;
    std::vector<qint64> ticks;
    bool progressShown = false;
    bool stopEnabled = false;
    QTimer ticker;
    ticker.setInterval(20);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ticks.push_back(clock.elapsed());
        progressShown = progressShown || Find<QProgressBar>("pbMain")->isVisible();
        stopEnabled = stopEnabled || Button("sbStop")->isEnabled();
    });
    clock.start();
    ticker.start();
    Click("tbScan");

    // While the scan runs every tool button and watch button is off; the tray items are left.
    ASSERT_TRUE(window->GetScanner().IsRunning());
    EXPECT_EQ(EnabledButtons(), QStringList{});
    EXPECT_TRUE(Button("sbStop")->isEnabled());
    EXPECT_TRUE(Action("miTTStart")->isEnabled());
    EXPECT_FALSE(Action("miTTStop")->isEnabled());

    ASSERT_TRUE(WaitForScanEnd());
    const qint64 scanMs = clock.elapsed();
    ticker.stop();
    ticks.push_back(scanMs);

    qint64 longestGap = ticks.front();
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        longestGap = std::max(longestGap, ticks[i] - ticks[i - 1]);
    }
    EXPECT_GE(scanMs, 300) << "the slow pages were waited for";
    EXPECT_GE(static_cast<qint64>(ticks.size()), scanMs / 20 / 3) << "the timer starved";
    EXPECT_LT(longestGap, 250) << "the window froze while a page was fetched";
    EXPECT_TRUE(progressShown);
    EXPECT_TRUE(stopEnabled);

    EXPECT_FALSE(Find<QProgressBar>("pbMain")->isVisible());
    EXPECT_FALSE(Button("sbStop")->isEnabled());
    EXPECT_EQ(EnabledButtons(), AllButtonsBut({"tbDeleteSection"}));
    EXPECT_TRUE(Action("miTTStart")->isEnabled());
    EXPECT_FALSE(Action("miTTStop")->isEnabled());
    EXPECT_EQ(Panels(), (QStringList{"20", "30", "30"}));
    EXPECT_EQ(Panel(0), "");
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(server.Hits("/p" + std::to_string(i)), 1) << i;
    }
    EXPECT_EQ(Row(0, 1).Cells[ColSortKey], "1");
    EXPECT_EQ(Row(1, 10).Object.Changed, 1);
    EXPECT_FALSE(Tabs()->tabIcon(0).isNull());
    EXPECT_FALSE(Tabs()->tabIcon(1).isNull());
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::ChangeDetected);
    EXPECT_TRUE(tray.balloons.empty()) << "the window is shown normally";
    ASSERT_FALSE(window->Log().Lines().empty());
    EXPECT_EQ(window->Log().Lines().back(), "__end of log.");
}

TEST_F(WindowScanTest, CommandsThatReshapeSectionsAreRefusedDuringAScan) {
    StartWithPages(4, 1, 600, 2);
    Tabs()->setCurrentIndex(1);
    prompts.yesNo = {true};
    prompts.texts = {"Refused"};
    window->tbScanClick();
    ASSERT_TRUE(window->GetScanner().IsRunning());

    window->Sections().tbAddSectionClick();
    EXPECT_EQ(Model().TabCount(), 2);
    EXPECT_TRUE(Panel(0).contains("scan", Qt::CaseInsensitive)) << Panel(0).toStdString();
    EXPECT_FALSE(Panel(0).startsWith("Scanning")) << "the refusal is explained";

    window->Sections().tbDeleteSectionClick();
    EXPECT_EQ(TabTexts(), (QStringList{"First", "Second"}));

    Select(0, 2);
    EXPECT_TRUE(Button("sbInfo")->isEnabled()) << "looking at a watch is no reshaping";
    EXPECT_FALSE(Button("sbEdit")->isEnabled());

    const std::string firstAddress = Row(0, 1).Cells[ColAddress];
    window->Sections().SortActiveGrid(0, ColAddress);
    window->Sections().SortActiveGrid(0, ColAddress);
    EXPECT_EQ(Row(0, 1).Cells[ColAddress], firstAddress);

    window->tbScanClick();
    window->tbScanCurrentClick();

    EXPECT_TRUE(prompts.shown.empty()) << "nothing was asked";
    ASSERT_TRUE(WaitForScanEnd());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(server.Hits("/p" + std::to_string(i)), 1) << "one scan only";
    }
    EXPECT_EQ(Panel(3), "4");
}

TEST_F(WindowScanTest, StopLeavesTheRowsNotYetReachedUntouched) {
    StartWithPages(12, 2, 1000, 12);
    Click("tbScan");
    ASSERT_TRUE(QTest::qWaitFor([this] { return Row(0, 2).Object.Highlighted; }, 5000));
    const std::vector<WatchRow> later = RowsOf(0, 3);

    QElapsedTimer stopping;
    stopping.start();
    Click("sbStop");
    ASSERT_TRUE(WaitForScanEnd());

    EXPECT_LT(stopping.elapsed(), 900) << "Stop waited for the slow pages";
    ExpectSameRows(later, RowsOf(0, 3));
    EXPECT_TRUE(Row(0, 1).Object.Highlighted);
    EXPECT_FALSE(Button("sbStop")->isEnabled());
    EXPECT_FALSE(Find<QProgressBar>("pbMain")->isVisible());
    EXPECT_EQ(EnabledButtons(), AllButtonsBut({"tbDeleteSection"}));
    EXPECT_EQ(window->Log().Lines().back(), "__end of log.");
    EXPECT_EQ(Panel(3), "2");

    // Stop applies to that scan only: the next one runs to the end.
    for (int i = 0; i < 12; ++i) {
        server.SetBody("/p" + std::to_string(i), "again " + std::to_string(i));
    }
    Click("tbScan");
    ASSERT_TRUE(WaitForScanEnd());
    EXPECT_EQ(Panel(3), "12");
    EXPECT_EQ(Row(0, 12).Object.Changed, 1);
}

TEST_F(WindowScanTest, ExitDuringAScanStopsItAndThenCloses) {
    StartWithPages(12, 2, 1000, 12);
    std::filesystem::remove(paths.ConfigFile);
    Click("tbScan");
    ASSERT_TRUE(QTest::qWaitFor([this] { return Row(0, 2).Object.Highlighted; }, 5000));
    const std::vector<WatchRow> later = RowsOf(0, 3);

    prompts.yesNoCancel = {Answer::No};
    Action("Close1")->trigger();
    ASSERT_TRUE(WaitForScanEnd());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 5000));

    ExpectSameRows(later, RowsOf(0, 3));
    EXPECT_TRUE(FileExists(paths.ConfigFile)) << "the settings were stored on the way out";
    EXPECT_EQ(prompts.Of(Kind::Error), QStringList{});
}

TEST_F(WindowScanTest, ExitCancelledAfterAScanKeepsTheWindowThroughLaterScans) {
    StartWithPages(4, 1, 300, 4);
    Click("tbScan");
    prompts.yesNoCancel.push_back(Answer::Cancel);
    Action("Close1")->trigger();
    ASSERT_TRUE(WaitForScanEnd());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.Of(Kind::YesNoCancel).isEmpty(); }, 5000));
    QTest::qWait(50);
    ASSERT_TRUE(window->isVisible()) << "the save question was answered Cancel";

    Click("tbScan");
    ASSERT_TRUE(WaitForScanEnd());
    QTest::qWait(50);
    EXPECT_TRUE(window->isVisible()) << "a later scan must not close the window";
    EXPECT_EQ(prompts.Of(Kind::YesNoCancel).size(), 1);
}

} // namespace
} // namespace zelmox::test
