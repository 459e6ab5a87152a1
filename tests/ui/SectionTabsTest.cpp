// Adding, renaming and deleting sections from the tool bar.
#include "MainWindowFixture.h"

#include <QApplication>
#include <QMenu>

namespace zelmox::test {
namespace {

class SectionTabsTest : public MainWindowTest {
protected:
    void SetUp() override { CreateAndStart(); }

    void AddSection(const QString& name) {
        prompts.texts.push_back(name);
        Click("tbAddSection");
    }
    void DeleteSectionAt(int tab, bool answer) {
        Tabs()->setCurrentIndex(tab);
        prompts.yesNo.push_back(answer);
        Click("tbDeleteSection");
    }
};

TEST_F(SectionTabsTest, AddSectionAsksForANameAndIgnoresAnEmptyAnswer) {
    AddSection("");
    EXPECT_EQ(prompts.Of(Kind::Text), QStringList{"Section Name|Name|"});
    EXPECT_EQ(Model().TabCount(), 1);

    AddSection("Weather");
    ASSERT_EQ(Model().TabCount(), 2);
    EXPECT_EQ(Model().Tab(1).Name, "Weather");
    EXPECT_EQ(Model().Tab(1).Slot(), 1);
    EXPECT_TRUE(Model().Tab(1).IsEmpty());
    EXPECT_EQ(TabTexts(), (QStringList{"Default", "Weather"}));
    EXPECT_EQ(Tabs()->currentIndex(), 1) << "the new section is shown";
    EXPECT_EQ(Model().ActiveTab(), 1);
    EXPECT_EQ(Grid(1)->objectName(), "sg2");
    EXPECT_TRUE(Grid(1)->isColumnHidden(ColSortKey));
    EXPECT_TRUE(Button("tbDeleteSection")->isEnabled());

    Tabs()->setCurrentIndex(0);
    EXPECT_FALSE(Button("tbDeleteSection")->isEnabled());
}

TEST_F(SectionTabsTest, RenameChangesOnlyTheCaption) {
    AddSection("Old");
    Model().Tab(1).AddWatchRow(StoredWatch("/tmp/w"), "0");
    Tabs()->ReloadRows(1);

    prompts.texts = {"", "New"};
    Click("tbRenameSection");
    EXPECT_EQ(TabTexts(), (QStringList{"Default", "Old"})) << "an empty answer renames nothing";
    Click("tbRenameSection");

    EXPECT_EQ(prompts.Of(Kind::Text).mid(1),
              (QStringList{"New name for section|Name|", "New name for section|Name|"}));
    EXPECT_EQ(TabTexts(), (QStringList{"Default", "New"}));
    EXPECT_EQ(Model().Tab(1).Name, "New");
    EXPECT_EQ(Model().Tab(1).Slot(), 1);
    EXPECT_EQ(Model().Tab(1).Row(1).Cells[ColAddress], "/tmp/w");
}

TEST_F(SectionTabsTest, DeleteAsksFirstAndNeverTouchesTheFirstSection) {
    AddSection("North");

    Tabs()->setCurrentIndex(0);
    window->Sections().tbDeleteSectionClick();
    EXPECT_EQ(prompts.Of(Kind::YesNo), QStringList{}) << "no question on the first tab";
    EXPECT_EQ(Model().TabCount(), 2);

    DeleteSectionAt(1, false);
    EXPECT_EQ(prompts.Of(Kind::YesNo),
              QStringList{"Are you sure you REALLY want to delete this section?"});
    EXPECT_EQ(TabTexts(), (QStringList{"Default", "North"}));

    DeleteSectionAt(1, true);
    EXPECT_EQ(TabTexts(), QStringList{"Default"});
    EXPECT_EQ(Model().TabCount(), 1);
    EXPECT_EQ(Model().SectionGrids(1), nullptr);
    EXPECT_EQ(Model().ActiveTab(), 0);
    EXPECT_EQ(window->findChild<SectionGrid*>("sg2"), nullptr);
    EXPECT_FALSE(Button("tbDeleteSection")->isEnabled());
}

TEST_F(SectionTabsTest, TwentySectionsAtMost) {
    for (int i = 1; i < SectionModel::MaxSections; ++i) {
        ASSERT_TRUE(window->Sections().AddNewTab("S" + std::to_string(i)));
    }
    ASSERT_EQ(Tabs()->count(), 20);

    AddSection("One too many");

    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].kind, Kind::Text) << "the name is asked for first";
    EXPECT_EQ(prompts.shown[1].kind, Kind::Information);
    EXPECT_EQ(prompts.shown[1].text, "Sorry, a maximum of 20 sections is allowed!");
    EXPECT_EQ(Tabs()->count(), 20);
    EXPECT_EQ(Model().TabCount(), 20);
}

TEST_F(SectionTabsTest, FreedSlotIsReusedWhileTheNewTabGoesLast) {
    AddSection("North");
    AddSection("South");
    DeleteSectionAt(1, true);
    AddSection("West");

    EXPECT_EQ(TabTexts(), (QStringList{"Default", "South", "West"}));
    ASSERT_EQ(Model().TabCount(), 3);
    EXPECT_EQ(Model().Tab(1).Slot(), 2);
    EXPECT_EQ(Model().Tab(2).Slot(), 1);
    EXPECT_EQ(Model().SectionGrids(1), &Model().Tab(2));
    EXPECT_EQ(Grid(2)->objectName(), "sg2");
    EXPECT_EQ(Tabs()->currentIndex(), 2);
}

TEST_F(SectionTabsTest, EveryGridTakesItsColumnWidthsFromItsOwnWidth) {
    AddSection("Second");
    ProcessQueuedEvents();

    for (int tab = 0; tab < 2; ++tab) {
        SectionGrid* grid = Grid(tab);
        EXPECT_GT(grid->width(), 600) << "the grid fills its page";
        EXPECT_EQ(grid->columnWidth(ColAddress), SectionGrid::AddressColumnWidth(grid->width()));
        EXPECT_EQ(grid->columnWidth(ColDescription), grid->columnWidth(ColAddress));
        EXPECT_EQ(grid->columnWidth(ColLastChange), 113);
    }
}

} // namespace
} // namespace zelmox::test

namespace zelmox::test {
namespace {

TEST_F(SectionTabsTest, KeyboardLeavesTheGridWithTabAndOpensMenusWithAlt) {
    PutWatches(0, {StoredWatch("/tmp/a"), StoredWatch("/tmp/b")});
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Select(0, 1);
    Grid(0)->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Grid(0));

    QTest::keyClick(Grid(0), Qt::Key_Tab);
    EXPECT_EQ(SelectedRow(0), 1) << "Tab does not walk the cells";
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "sbCompare");

    auto* fileMenu = Find<QMenu>("File1");
    QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([fileMenu] { return fileMenu->isVisible(); }, 2000));
    fileMenu->close();
}

} // namespace
} // namespace zelmox::test
