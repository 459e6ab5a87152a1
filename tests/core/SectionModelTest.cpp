#include "SectionModel.h"

#include "CoreTestUtil.h"
#include "Section.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zelmox {
namespace {

using test::MakeWatch;

std::vector<std::string> ColumnOf(const Section& section, int column) {
    std::vector<std::string> cells;
    for (int row = 1; row < section.RowCount(); ++row) {
        cells.push_back(section.Row(row).Cells[static_cast<std::size_t>(column)]);
    }
    return cells;
}

std::vector<std::string> TabNames(const SectionModel& model) {
    std::vector<std::string> names;
    for (int tab = 0; tab < model.TabCount(); ++tab) {
        names.push_back(model.Tab(tab).Name);
    }
    return names;
}

TEST(SectionTest, FirstWatchTakesThePlaceholderRow) {
    Section section(0, "Default");
    EXPECT_EQ(section.RowCount(), 2);
    EXPECT_TRUE(section.IsEmpty());
    EXPECT_EQ(section.WatchCount(), 0);

    TWatchObject first = MakeWatch("http://a/", "A");
    first.Watch.LastScan = "2007/02/03 09:05.07";
    section.AddWatchRow(first, "*");
    EXPECT_EQ(section.RowCount(), 2);
    EXPECT_FALSE(section.IsEmpty());
    const auto& cells = section.Row(1).Cells;
    EXPECT_EQ(cells[ColStatus], "");
    EXPECT_EQ(cells[ColAddress], "http://a/");
    EXPECT_EQ(cells[ColDescription], "A");
    EXPECT_EQ(cells[ColLastCheck], "2007/02/03 09:05.07");
    EXPECT_EQ(cells[ColLastChange], "n/a");
    EXPECT_EQ(cells[ColSortKey], "*");
    EXPECT_EQ(WatchAt(section, 1), first);

    section.AddWatchRow(MakeWatch("http://b/"), "0");
    EXPECT_EQ(section.RowCount(), 3);
    EXPECT_EQ(section.WatchCount(), 2);
    EXPECT_EQ(section.Row(2).Cells[ColAddress], "http://b/");
}

TEST(SectionTest, DeletingTheOnlyRowLeavesAPlaceholderKeyedZero) {
    Section section(0, "Default");
    TWatchObject object = MakeWatch("http://a/");
    object.Highlighted = true;
    object.Changed = 2;
    section.AddWatchRow(object, "2");

    section.DeleteRow(1);
    EXPECT_EQ(section.RowCount(), 2);
    EXPECT_TRUE(section.IsEmpty());
    EXPECT_EQ(section.WatchCount(), 0);
    EXPECT_EQ(section.HighlightedCount(), 0);
    EXPECT_EQ(section.Row(1).Cells[ColSortKey], "0");
    for (int column = ColStatus; column <= ColLastChange; ++column) {
        EXPECT_EQ(section.Row(1).Cells[static_cast<std::size_t>(column)], "") << column;
    }
    EXPECT_EQ(section.Row(1).Object.Watch.Address, "");

    // The next watch takes the placeholder's place again.
    section.AddWatchRow(MakeWatch("http://b/"), "*");
    EXPECT_EQ(section.RowCount(), 2);
    EXPECT_EQ(section.Row(1).Cells[ColAddress], "http://b/");
}

TEST(SectionTest, DeletingAMiddleRowMovesTheRowsBelowUp) {
    Section section(1, "North");
    for (const char* address : {"http://a/", "http://b/", "http://c/"}) {
        section.AddWatchRow(MakeWatch(address), "*");
    }
    section.DeleteRow(2);
    EXPECT_EQ(ColumnOf(section, ColAddress), (std::vector<std::string>{"http://a/", "http://c/"}));
    EXPECT_EQ(WatchAt(section, 2).Watch.Address, "http://c/");

    section.DeleteRow(0);
    section.DeleteRow(3);
    EXPECT_EQ(section.RowCount(), 3);
}

TEST(SectionTest, SortsOnAColumnInByteOrderAndStably) {
    Section section(0, "Default");
    const std::pair<const char*, const char*> rows[] = {{"http://q/", "?"},
                                                        {"http://four/", "4"},
                                                        {"http://star1/", "*"},
                                                        {"http://one/", "1"},
                                                        {"http://star2/", "*"}};
    for (const auto& [address, key] : rows) {
        section.AddWatchRow(MakeWatch(address), key);
    }

    section.SortRows(ColSortKey, true);
    EXPECT_EQ(ColumnOf(section, ColSortKey), (std::vector<std::string>{"*", "*", "1", "4", "?"}));
    EXPECT_EQ(ColumnOf(section, ColAddress)[0], "http://star1/");
    EXPECT_EQ(ColumnOf(section, ColAddress)[1], "http://star2/");
    EXPECT_EQ(WatchAt(section, 5).Watch.Address, "http://q/");

    section.SortRows(ColSortKey, false);
    EXPECT_EQ(ColumnOf(section, ColSortKey), (std::vector<std::string>{"?", "4", "1", "*", "*"}));
}

TEST(SectionModelTest, StartsWithOneEmptyDefaultSectionInSlotZero) {
    SectionModel model;
    ASSERT_EQ(model.TabCount(), 1);
    EXPECT_EQ(model.Tab(0).Name, "Default");
    EXPECT_EQ(model.Tab(0).Slot(), 0);
    EXPECT_TRUE(model.Tab(0).IsEmpty());
    EXPECT_EQ(model.SectionGrids(0), &model.Tab(0));
    EXPECT_EQ(model.SectionGrids(1), nullptr);
    EXPECT_EQ(model.ActiveTab(), 0);
    EXPECT_EQ(model.CurrentFileName, "");
}

TEST(SectionModelTest, NewSectionTakesLowestFreeSlotAndIsPlacedLast) {
    SectionModel model;
    Section* north = model.AddSection("North");
    Section* south = model.AddSection("South");
    ASSERT_NE(north, nullptr);
    ASSERT_NE(south, nullptr);
    EXPECT_EQ(north->Slot(), 1);
    EXPECT_EQ(south->Slot(), 2);
    EXPECT_EQ(model.ActiveTab(), 2);

    ASSERT_TRUE(model.DeleteSection(1));
    EXPECT_EQ(model.SectionGrids(1), nullptr);
    Section* west = model.AddSection("West");
    ASSERT_NE(west, nullptr);
    EXPECT_EQ(west->Slot(), 1);
    EXPECT_EQ(TabNames(model), (std::vector<std::string>{"Default", "South", "West"}));
    EXPECT_EQ(model.SectionGrids(1), west);
    EXPECT_EQ(model.SectionGrids(2), south);
    EXPECT_EQ(model.ActiveTab(), 2);

    // With every section but the default gone, the next one takes slot 1 again.
    ASSERT_TRUE(model.DeleteSection(2));
    ASSERT_TRUE(model.DeleteSection(1));
    EXPECT_EQ(model.AddSection("East")->Slot(), 1);
}

TEST(SectionModelTest, AtMostTwentySectionsAndTheFirstCannotBeDeleted) {
    SectionModel model;
    for (int i = 1; i < SectionModel::MaxSections; ++i) {
        ASSERT_NE(model.AddSection("S" + std::to_string(i)), nullptr) << i;
    }
    EXPECT_EQ(model.TabCount(), 20);
    EXPECT_EQ(model.Tab(19).Slot(), 19);
    model.SetActiveTab(5);
    EXPECT_EQ(model.AddSection("one too many"), nullptr);
    EXPECT_EQ(model.TabCount(), 20);
    EXPECT_EQ(model.ActiveTab(), 5);

    EXPECT_FALSE(model.DeleteSection(0));
    EXPECT_FALSE(model.DeleteSection(20));
    EXPECT_FALSE(model.DeleteSection(-1));
    EXPECT_EQ(model.TabCount(), 20);

    // The active tab stays valid when the last tab goes.
    model.SetActiveTab(19);
    ASSERT_TRUE(model.DeleteSection(19));
    EXPECT_EQ(model.ActiveTab(), 18);
}

TEST(SectionModelTest, ClearApplicationLeavesOneEmptyDefaultSection) {
    SectionModel model;
    model.Tab(0).Name = "Renamed";
    model.Tab(0).AddWatchRow(MakeWatch("http://a/"), "0");
    model.Tab(0).ChangeMark = true;
    model.AddSection("North")->AddWatchRow(MakeWatch("http://b/"), "0");
    model.AddSection("South")->ChangeMark = true;
    model.CurrentFileName = "/tmp/list.zelmox";

    model.ClearApplication();
    ASSERT_EQ(model.TabCount(), 1);
    EXPECT_EQ(model.Tab(0).Name, "Default");
    EXPECT_TRUE(model.Tab(0).IsEmpty());
    EXPECT_FALSE(model.Tab(0).ChangeMark);
    EXPECT_EQ(model.ActiveTab(), 0);
    EXPECT_EQ(model.CurrentFileName, "");
    EXPECT_EQ(model.SectionGrids(1), nullptr);
    EXPECT_EQ(model.SectionGrids(2), nullptr);
    EXPECT_FALSE(model.AnythingToSave());
    EXPECT_EQ(model.AddSection("New")->Slot(), 1);
}

TEST(SectionModelTest, CountsAndWhetherAnythingIsToSave) {
    SectionModel model;
    EXPECT_FALSE(model.AnythingToSave());
    model.Tab(0).Name = "Renamed";
    EXPECT_FALSE(model.AnythingToSave());

    model.AddSection("Empty");
    EXPECT_TRUE(model.AnythingToSave());
    model.DeleteSection(1);
    EXPECT_FALSE(model.AnythingToSave());

    TWatchObject changed = MakeWatch("http://a/");
    changed.Highlighted = true;
    changed.Changed = 1;
    model.Tab(0).AddWatchRow(changed, "1");
    EXPECT_TRUE(model.AnythingToSave());
    Section* north = model.AddSection("North");
    north->AddWatchRow(MakeWatch("http://b/"), "0");
    north->AddWatchRow(changed, "1");
    model.AddSection("Empty");
    EXPECT_EQ(model.WatchCount(), 3);
    EXPECT_EQ(model.HighlightedCount(), 2);
}

} // namespace
} // namespace zelmox
