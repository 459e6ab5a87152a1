// The status-bar counts, the clear commands and the button states of automatic scanning.
#include "AutoScanCommands.h"
#include "MainWindowFixture.h"

#include <QMenu>

namespace zelmox::test {
namespace {

// Three marked watches in the first section and one in the second.
class StatusAndClearTest : public MainWindowTest {
protected:
    void SetUp() override {
        UseDefaultFile({{"First",
                         {StoredWatch("/tmp/one", ScanEntireFile, 1),
                          StoredWatch("/tmp/two", ScanEntireFile, 2),
                          StoredWatch("/tmp/three", ScanEntireFile, 3)}},
                        {"Second", {StoredWatch("/tmp/four", ScanEntireFile, 4)}}});
        CreateAndStart();
        ASSERT_EQ(Model().TabCount(), 2);
        ASSERT_EQ(Tabs()->currentIndex(), 1) << "loading shows the last section";
        Tabs()->setCurrentIndex(0);
        // As a scan that found the changes leaves it.
        tray.SetImage(TrayIcon::ChangeDetected);
        Tabs()->SetChangeImage(0, true);
        Tabs()->SetChangeImage(1, true);
    }

    void ClickRow(int tab, int gridRow) {
        SectionGrid* grid = Grid(tab);
        const QRect cell =
            grid->visualRect(grid->model()->index(SectionTableModel::TableRow(gridRow), 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

    std::vector<bool> Marks(int tab) {
        std::vector<bool> marks;
        for (int row = 1; row < Model().Tab(tab).RowCount(); ++row) {
            const TWatchObject& object = Model().Tab(tab).Row(row).Object;
            marks.push_back(object.Highlighted);
            EXPECT_EQ(object.Highlighted, object.Changed != 0) << tab << "/" << row;
        }
        return marks;
    }

    QStringList Keys(int tab) {
        QStringList keys;
        for (int row = 1; row < Model().Tab(tab).RowCount(); ++row) {
            keys << QString::fromStdString(Model().Tab(tab).Row(row).Cells[ColSortKey]);
        }
        return keys;
    }
};

TEST_F(StatusAndClearTest, PanelsCountShownSectionAllWatchesAndMarkedOnes) {
    EXPECT_EQ(Panels(), (QStringList{"3", "4", "4"}));

    Action("miClearThisTab")->trigger();

    EXPECT_EQ(Panels(), (QStringList{"3", "4", "1"}));
    EXPECT_EQ(Marks(0), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(Marks(1), std::vector<bool>{true});
    EXPECT_EQ(Keys(0), (QStringList{"1", "2", "3"})) << "clearing a section keeps the sort keys";
    EXPECT_TRUE(Tabs()->tabIcon(0).isNull());
    EXPECT_FALSE(Tabs()->tabIcon(1).isNull());
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::Idle) << "although a marked watch remains";
    EXPECT_FALSE(Button("sbClear")->isEnabled());

    Tabs()->setCurrentIndex(1);
    EXPECT_EQ(Panels(), (QStringList{"1", "4", "1"}));
    ASSERT_TRUE(window->Sections().AddNewTab("Empty"));
    EXPECT_EQ(Panels(), (QStringList{"0", "4", "1"})) << "the placeholder row is no watch";
}

TEST_F(StatusAndClearTest, ClearingWithAutomaticScanningOnShowsTheAutoScanImage) {
    Click("tbAutoScan");
    tray.SetImage(TrayIcon::ChangeDetected);
    Tabs()->setCurrentIndex(1);
    Action("miClearThisTab")->trigger();
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::AutoScan);
    EXPECT_EQ(Marks(0), (std::vector<bool>{true, true, true}));
    Action("miTTStop")->trigger();
}

TEST_F(StatusAndClearTest, ClearOneWatchUnmarksItAndSortsItFirst) {
    ClickRow(0, 2);
    ASSERT_EQ(Grid(0)->SelectedRow(), 2);
    EXPECT_EQ(EnabledButtons(), AllButtonsBut({"tbDeleteSection"}));

    Click("sbClear");

    const WatchRow& cleared = Model().Tab(0).Row(2);
    EXPECT_FALSE(cleared.Object.Highlighted);
    EXPECT_EQ(cleared.Object.Changed, 0);
    EXPECT_EQ(cleared.Cells[ColSortKey], "*");
    EXPECT_EQ(Marks(0), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(Panel(3), "3");
    EXPECT_FALSE(Button("sbClear")->isEnabled());
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::Idle);
    EXPECT_FALSE(Tabs()->tabIcon(0).isNull()) << "the tab keeps its image";

    window->Sections().SortActiveGrid(0, ColStatus);
    EXPECT_EQ(Model().Tab(0).Row(1).Cells[ColAddress], "/tmp/two");
}

TEST_F(StatusAndClearTest, ClearAllAsksFirstAndNoChangesNothing) {
    prompts.yesNo = {false, true};
    Action("miClearAll")->trigger();

    EXPECT_EQ(prompts.Of(Kind::YesNo), QStringList{"Are you sure???"});
    EXPECT_EQ(Panels(), (QStringList{"3", "4", "4"}));
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::ChangeDetected);
    EXPECT_FALSE(Tabs()->tabIcon(1).isNull());

    // The tray menu's "clear" is the same command.
    Action("clear2")->trigger();

    EXPECT_EQ(prompts.Of(Kind::YesNo).size(), 2);
    EXPECT_EQ(Panels(), (QStringList{"3", "4", "0"}));
    EXPECT_EQ(Marks(0), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(Marks(1), std::vector<bool>{false});
    EXPECT_EQ(Keys(0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(Keys(1), QStringList{"4"});
    EXPECT_TRUE(Tabs()->tabIcon(0).isNull());
    EXPECT_TRUE(Tabs()->tabIcon(1).isNull());
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::Idle);
    EXPECT_FALSE(Button("sbClear")->isEnabled());
}

TEST_F(StatusAndClearTest, AutomaticScanningLeavesOnlyItsOwnButton) {
    Click("tbAutoScan");

    EXPECT_TRUE(window->AutoScan().IsOn());
    EXPECT_EQ(EnabledButtons(), QStringList{"tbAutoScan"});
    EXPECT_FALSE(Action("miTTStart")->isEnabled());
    EXPECT_TRUE(Action("miTTStop")->isEnabled());
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::AutoScan);
    EXPECT_EQ(tray.hints.back(), "Zelmox v2.2 [auto scan on]");

    Click("tbAutoScan");

    EXPECT_FALSE(window->AutoScan().IsOn());
    EXPECT_EQ(EnabledButtons(), AllButtonsBut({"tbDeleteSection"})) << "on the first tab";
    EXPECT_TRUE(Action("miTTStart")->isEnabled());
    EXPECT_FALSE(Action("miTTStop")->isEnabled());
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::Idle);
    EXPECT_EQ(tray.hints.back(), "Zelmox v2.2");

    // From the tray menu, on another tab.
    Tabs()->setCurrentIndex(1);
    Action("miTTStart")->trigger();
    EXPECT_EQ(EnabledButtons(), QStringList{"tbAutoScan"});
    Action("miTTStop")->trigger();
    EXPECT_EQ(EnabledButtons(), AllButtonsBut({}));
}

} // namespace
} // namespace zelmox::test
