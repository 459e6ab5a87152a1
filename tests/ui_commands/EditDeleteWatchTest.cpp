// "edit", "Delete Watch" and, for rows without a watch, "clear" from the main window.
#include "CommandFixture.h"
#include "SnapshotStore.h"

namespace zelmox::test {
namespace {

const QString DeleteQuestion = "Delete Watch?\r\rAre you sure?";

class EditDeleteWatchTest : public CommandWindowTest {
protected:
    // A watch of an existing local file (so that OK accepts it without a fetch), with snapshots.
    TWatchObject LocalWatch(const std::string& name, int scanType = ScanEntireFile) {
        WriteFile(dir.File(name), "content of " + name);
        TWatchObject object = StoredWatch(dir.File(name), scanType);
        WriteInitialSnapshots(paths.DataFolder, object.Watch, "snapshot of " + name);
        return object;
    }
    void Delete(int tab, int row, bool answer) {
        Select(tab, row);
        prompts.yesNo.push_back(answer);
        Watches().tbDeleteWatchClick();
    }
    std::vector<std::string> Addresses(int tab) {
        std::vector<std::string> addresses;
        for (int row = 1; row < Tab(tab).RowCount(); ++row) {
            EXPECT_EQ(Tab(tab).Row(row).Cells[ColAddress], Tab(tab).Row(row).Object.Watch.Address);
            addresses.push_back(Tab(tab).Row(row).Cells[ColAddress]);
        }
        return addresses;
    }
};

TEST_F(EditDeleteWatchTest, DeletingTheOnlyWatchLeavesTheEmptyPlaceholder) {
    TWatchObject only = LocalWatch("only.txt");
    only.ChangeHistory = {"2007/01/02 11:00.00"};
    PutWatches(0, {only});

    Delete(0, 1, false);
    EXPECT_EQ(prompts.Of(Kind::YesNo), QStringList{DeleteQuestion});
    EXPECT_EQ(Addresses(0), std::vector<std::string>{only.Watch.Address}) << "No keeps it";

    Delete(0, 1, true);
    EXPECT_EQ(prompts.Of(Kind::YesNo), (QStringList{DeleteQuestion, DeleteQuestion}));
    ASSERT_EQ(Tab(0).RowCount(), 2);
    EXPECT_EQ(Tab(0).Row(1).Cells,
              (std::array<std::string, GridColumnCount>{"", "", "", "", "", "0"}));
    EXPECT_TRUE(Tab(0).Row(1).Object.Watch.Address.empty());
    EXPECT_EQ(Model().WatchCount(), 0);
    EXPECT_EQ(DataFolderFiles().size(), 3u) << "snapshots are never deleted";

    prompts.saveFiles = {QString::fromStdString(dir.File("empty.zelmox"))};
    ASSERT_EQ(Files().Save1Click(), FileCommands::SaveOutcome::Saved);
    EXPECT_EQ(ReadFile(dir.File("empty.zelmox")), "$Default\r\n\r\n");
}

TEST_F(EditDeleteWatchTest, DeletingMovesTheRowsBelowUp) {
    const TWatchObject first = LocalWatch("1.txt"), second = LocalWatch("2.txt"),
                       third = LocalWatch("3.txt");
    PutWatches(0, {first, second, third});

    Delete(0, 2, true);
    ASSERT_EQ(Tab(0).RowCount(), 3);
    EXPECT_EQ(Addresses(0), (std::vector<std::string>{first.Watch.Address, third.Watch.Address}));
    EXPECT_EQ(Tab(0).Row(2).Object, third) << "the object moves with its cells";

    Delete(0, 2, true);
    EXPECT_EQ(Addresses(0), std::vector<std::string>{first.Watch.Address});
    EXPECT_EQ(Tab(0).Row(1).Object, first);
    EXPECT_EQ(DataFolderFiles().size(), 9u);
    EXPECT_TRUE(FileExists(Snapshot(second.Watch, "_a")));
}

// Edit, clear and delete act only on a selected row that holds a watch.
TEST_F(EditDeleteWatchTest, CommandsOnARowWithoutAWatchNeedOnlyWhatTheyUse) {
    ASSERT_TRUE(window->Sections().AddNewTab("Second"));
    PutWatches(0, {LocalWatch("kept.txt")});
    const WatchRow placeholder = Tab(1).Row(1);

    window->Tabs()->setCurrentIndex(1);
    window->Tabs()->Grid(1)->clearSelection();
    ExpectNoDialog();
    Watches().sbEditClick();
    Watches().tbDeleteWatchClick();
    ProcessQueuedEvents();
    EXPECT_TRUE(prompts.shown.empty()) << "no selection";

    Select(1, 1);
    ExpectNoDialog();
    Watches().sbEditClick();
    ProcessQueuedEvents();

    // Clear and delete need only a row: the placeholder is cleared ("*") and, asked first,
    // reset to an empty row with "0", as for the last watch of a section.
    tray.SetImage(TrayIcon::ChangeDetected);
    window->Clears().sbClearClick();
    EXPECT_EQ(Tab(1).Row(1).Cells[ColSortKey], "*");
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::Idle);

    Select(1, 1);
    prompts.yesNo.push_back(true);
    Watches().tbDeleteWatchClick();
    EXPECT_EQ(prompts.Of(Kind::YesNo), QStringList{"Delete Watch?\r\rAre you sure?"});
    EXPECT_FALSE(Tab(1).Row(1).HoldsWatch());
    EXPECT_EQ(Tab(1).Row(1).Cells[ColSortKey], "0");
    EXPECT_EQ(Tab(1).Row(1).Object, placeholder.Object);
    EXPECT_EQ(Tab(1).RowCount(), 2);
    EXPECT_EQ(Tab(0).RowCount(), 2);
    EXPECT_TRUE(dialogTitles.isEmpty());
}

TEST_F(EditDeleteWatchTest, EditingTheDescriptionKeepsEverythingElse) {
    TWatchObject object = LocalWatch("news.txt");
    object.Highlighted = true;
    object.Changed = 2;
    object.ChangeHistory = {"2007/01/02 11:00.00"};
    PutWatches(0, {object});
    const std::vector<std::string> files = DataFolderFiles();

    Select(0, 1);
    OnDialog([](TfrmAddWatch& dialog) {
        Field(dialog, "eDescription")->setText("Renamed");
        dialog.ePageAddressExit();
        OkButton(dialog)->click();
    });
    Watches().sbEditClick();
    EXPECT_EQ(dialogTitles, QStringList{"Edit Watch"});

    TWatchObject expected = object;
    expected.Watch.Description = "Renamed";
    EXPECT_EQ(Tab(0).Row(1).Object, expected);
    EXPECT_EQ(Tab(0).Row(1).Cells[ColDescription], "Renamed");
    EXPECT_EQ(Tab(0).Row(1).Cells[ColLastCheck], object.Watch.LastScan);
    EXPECT_EQ(DataFolderFiles(), files) << "no file copied";
}

// Passing through the address field of a keyword watch keeps its method and keywords.
TEST_F(EditDeleteWatchTest, KeywordWatchStaysAKeywordWatch) {
    TWatchObject object = LocalWatch("release.txt", ScanKeywords);
    object.Watch.Keyword = {"alpha", "beta"};
    PutWatches(0, {object});

    Select(0, 1);
    OnDialog([](TfrmAddWatch& dialog) {
        EXPECT_TRUE(Method(dialog, 4)->isChecked());
        EXPECT_EQ(Keywords(dialog), (QStringList{"alpha", "beta"}));
        Field(dialog, "ePageAddress")->setFocus();
        dialog.ePageAddressExit();
        Field(dialog, "eKeyword")->setText("Gamma");
        Control<QPushButton>(dialog, "sbAddKeyword")->click();
        OkButton(dialog)->click();
    });
    Watches().sbEditClick();

    TWatchObject expected = object;
    expected.Watch.Keyword = {"alpha", "beta", "Gamma"};
    EXPECT_EQ(Tab(0).Row(1).Object, expected) << "same address and type: nothing starts afresh";
}

TEST_F(EditDeleteWatchTest, NewAddressStartsAfreshAndGetsCopiesOfTheSnapshots) {
    WriteFile(dir.File("old.txt"), "old");
    WriteFile(dir.File("new.txt"), "new");
    TWatchObject object = StoredWatch(dir.File("old.txt"));
    object.Highlighted = true;
    object.Changed = 1;
    object.ChangeHistory = {"2007/01/02 11:00.00"};
    WriteWholeFile(Snapshot(object.Watch, "_x"), "first");
    WriteWholeFile(Snapshot(object.Watch, "_a"), "latest");
    PutWatches(0, {object});

    Select(0, 1);
    OnDialog(Enter(dir.File("new.txt"), "about new"));
    Watches().sbEditClick();

    const WatchRow& row = Tab(0).Row(1);
    TWatchObject expected = object;
    TWatch& watch = expected.Watch;
    watch.Description = "about new";
    watch.Address = dir.File("new.txt");
    watch.AddressMD5 = ComputeAddressMD5(watch);
    watch.Added = Stamp;
    watch.LastScan = watch.LastChange = "n/a";
    watch.MD5.clear();
    watch.BeforeSize = watch.AfterSize = 0;
    EXPECT_EQ(row.Object, expected) << "OriginalSize, BeforeChange and the status stay";
    EXPECT_EQ(row.Cells[ColAddress], watch.Address);
    EXPECT_EQ(row.Cells[ColLastCheck], object.Watch.LastScan) << "kept until the next scan";
    EXPECT_EQ(row.Cells[ColLastChange], object.Watch.LastChange);

    EXPECT_EQ(ReadFile(Snapshot(watch, "_x")), "first");
    EXPECT_EQ(ReadFile(Snapshot(watch, "_a")), "latest");
    EXPECT_FALSE(FileExists(Snapshot(watch, "_b")));
    EXPECT_EQ(ReadFile(Snapshot(object.Watch, "_x")), "first") << "the old files stay";
    EXPECT_EQ(DataFolderFiles().size(), 4u);
}

TEST_F(EditDeleteWatchTest, CancellingTheEditChangesNothing) {
    PutWatches(0, {LocalWatch("a.txt"), LocalWatch("b.txt")});
    WriteFile(dir.File("c.txt"), "c");
    const WatchRow before = Tab(0).Row(2);
    const std::vector<std::string> files = DataFolderFiles();

    Select(0, 2);
    OnDialog([this](TfrmAddWatch& dialog) {
        EXPECT_EQ(Field(dialog, "ePageAddress")->text().toStdString(), dir.File("b.txt"));
        Field(dialog, "ePageAddress")->setText(QString::fromStdString(dir.File("c.txt")));
        Field(dialog, "eDescription")->setText("changed");
        Method(dialog, 2)->setChecked(true);
        Control<QPushButton>(dialog, "bCancel")->click();
    });
    Watches().sbEditClick();
    EXPECT_EQ(dialogTitles, QStringList{"Edit Watch"});
    EXPECT_EQ(Tab(0).Row(2).Object, before.Object);
    EXPECT_EQ(Tab(0).Row(2).Cells, before.Cells);
    EXPECT_EQ(DataFolderFiles(), files);
}

} // namespace
} // namespace zelmox::test
