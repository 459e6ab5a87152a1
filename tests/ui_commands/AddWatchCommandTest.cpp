// "Add Watch" from the main window: the dialog, the first fetch, the snapshots and the new row.
#include "CommandFixture.h"
#include "Digest.h"
#include "FileSizeCap.h"

namespace zelmox::test {
namespace {

class AddWatchCommandTest : public CommandWindowTest {
protected:
    static std::vector<std::string> SnapshotNames(const TWatch& watch) {
        std::vector<std::string> names;
        for (const char* suffix : {"_a", "_b", "_x"}) {
            names.push_back(watch.AddressMD5 + suffix + ".html");
        }
        return names;
    }
};

TEST_F(AddWatchCommandTest, ManualWatchIsAddedWithoutFetchOrFiles) {
    OnDialog([](TfrmAddWatch& dialog) {
        Field(dialog, "ePageAddress")->setText("/srv/never");
        Control<QPushButton>(dialog, "bCancel")->click();
    });
    Watches().tbAddWatchClick();
    EXPECT_TRUE(Tab(0).IsEmpty()) << "a cancelled dialog adds nothing";

    const std::string notes = dir.File("notes.txt");
    AddWatch(Enter(notes, "Notes", true));
    EXPECT_EQ(dialogTitles, (QStringList{"Add Watch", "Add Watch"}));
    ASSERT_EQ(Tab(0).RowCount(), 2);
    const WatchRow& row = Tab(0).Row(1);
    EXPECT_EQ(row.Cells,
              (std::array<std::string, GridColumnCount>{"", notes, "Notes", "n/a", "n/a", "*"}));
    TWatch expected;
    expected.Description = "Notes";
    expected.Address = notes;
    expected.LastScan = expected.LastChange = expected.BeforeChange = "n/a";
    expected.Manual = 1;
    EXPECT_EQ(row.Object, (TWatchObject{false, 0, expected, {}}));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(Watches().IsAdding());

    // A manual web address is not fetched either.
    AddWatch(Enter(server.Url("/manual"), "", true));
    ASSERT_EQ(Tab(0).RowCount(), 3);
    EXPECT_EQ(Tab(0).Row(2).Object.Watch.Description, "");
    EXPECT_EQ(server.TotalHits(), 0);
    EXPECT_TRUE(DataFolderFiles().empty());
}

// The row the user had selected stays selected (and "edit" still finds it) after a manual add.
TEST_F(AddWatchCommandTest, ManualAddKeepsTheSelection) {
    PutWatches(0, {StoredWatch("/srv/first"), StoredWatch("/srv/second")});
    Select(0, 2);
    AddWatch(Enter("/srv/third", "", true));
    ASSERT_EQ(Tab(0).RowCount(), 4);
    EXPECT_EQ(SelectedRow(0), 2);
}

TEST_F(AddWatchCommandTest, FetchedWatchStartsWithThreeEqualSnapshots) {
    const std::string page = "<html><title>Front page</title><body>Hello</body></html>";
    server.SetBody("/front", page);
    AddWatch(Enter(server.Url("/front")));
    EXPECT_EQ(server.Hits("/front"), 2) << "the dialog's check and the first fetch";
    EXPECT_TRUE(prompts.shown.empty());
    ASSERT_EQ(Tab(0).RowCount(), 2);

    const WatchRow& row = Tab(0).Row(1);
    const TWatch& watch = row.Object.Watch;
    EXPECT_EQ(row.Cells, (std::array<std::string, GridColumnCount>{
                             "", server.Url("/front"), "Front page", Stamp, "n/a", "*"}));
    EXPECT_EQ(watch.AddressMD5, MD5Print(MD5String(server.Url("/front") + "0")));
    EXPECT_EQ(watch.MD5, MD5Print(MD5String(page)));
    EXPECT_EQ(watch.Added, Stamp);
    EXPECT_EQ(watch.LastScan, Stamp);
    EXPECT_EQ(watch.LastChange, "n/a");
    EXPECT_EQ(watch.BeforeChange, "n/a");
    const auto size = static_cast<std::int32_t>(page.size());
    EXPECT_EQ(std::vector<std::int32_t>({watch.OriginalSize, watch.BeforeSize, watch.AfterSize}),
              std::vector<std::int32_t>(3, size));
    EXPECT_EQ(watch.Manual, 0);
    EXPECT_FALSE(row.Object.Highlighted);
    EXPECT_EQ(row.Object.Changed, 0);

    EXPECT_EQ(DataFolderFiles(), SnapshotNames(watch));
    for (const char* suffix : {"_x", "_b", "_a"}) {
        EXPECT_EQ(ReadFile(Snapshot(watch, suffix)), page + "\r\n") << suffix;
    }
    EXPECT_EQ(SelectedRow(0), 1);

    // A keyword watch keeps no digest; it too is appended and selected.
    server.SetBody("/kw", "<p>release notes</p>");
    AddWatch([this](TfrmAddWatch& dialog) {
        Field(dialog, "ePageAddress")->setText(QString::fromStdString(server.Url("/kw")));
        Method(dialog, 4)->setChecked(true);
        Field(dialog, "eKeyword")->setText("release");
        Control<QPushButton>(dialog, "sbAddKeyword")->click();
        OkButton(dialog)->click();
    });
    ASSERT_EQ(Tab(0).RowCount(), 3);
    const TWatch& keywords = Tab(0).Row(2).Object.Watch;
    EXPECT_EQ(keywords.ScanType, ScanKeywords);
    EXPECT_EQ(keywords.Keyword, std::vector<std::string>{"release"});
    EXPECT_EQ(keywords.MD5, "");
    EXPECT_EQ(Tab(0).Row(2).Cells[ColDescription], "") << "the page has no title";
    EXPECT_EQ(SelectedRow(0), 2);
    EXPECT_EQ(DataFolderFiles().size(), 6u);

    // Copies that cannot be written: the watch is added, and the user is told.
    server.SetBody("/full", "a page larger than the disk allows");
    {
        const FileSizeCap full(8);
        ASSERT_TRUE(full.Active());
        AddWatch(Enter(server.Url("/full")));
    }
    EXPECT_EQ(Tab(0).RowCount(), 4);
    ASSERT_EQ(prompts.Of(Kind::Error).size(), 1);
    EXPECT_TRUE(prompts.Of(Kind::Error)[0].startsWith("The watch was added, but its first copy"));
}

TEST_F(AddWatchCommandTest, FailedFirstFetchAddsNothing) {
    server.SetReplies("/flaky", {PageReply::Ok("up at first"), PageReply::Error(404, "")});
    server.SetReplies("/blank", {PageReply::Ok("up at first"), PageReply::Ok("")});
    for (const char* path : {"/flaky", "/blank"}) {
        SCOPED_TRACE(path);
        prompts.shown.clear();
        AddWatch(Enter(server.Url(path), "desc"));
        EXPECT_EQ(server.Hits(path), 2);
        EXPECT_EQ(prompts.Of(Kind::Error),
                  QStringList{"Error opening page: " + QString::fromStdString(server.Url(path)) +
                              "\r\rProcess was cancelled."});
        EXPECT_TRUE(Tab(0).IsEmpty());
        EXPECT_TRUE(DataFolderFiles().empty());
        EXPECT_FALSE(Watches().IsAdding());
        EXPECT_TRUE(window->Buttons().tbAddWatch->isEnabled());
    }
}

// The window stays live during the first fetch, but nothing may replace or remove the section the
// new watch is going to.
TEST_F(AddWatchCommandTest, ListChangesWaitForTheFirstFetch) {
    const std::string other = OneWatchFile("other.zelmox");
    ASSERT_TRUE(window->Sections().AddNewTab("Target"));
    server.SetReplies("/slow", {PageReply::Ok("page"), PageReply::Ok("page", 500)});
    QSignalSpy finished(&Watches(), &WatchCommands::AddFinished);
    OnDialog(Enter(server.Url("/slow"), "slow"));
    Watches().tbAddWatchClick();
    ASSERT_TRUE(Watches().IsAdding());
    EXPECT_FALSE(window->Buttons().tbAddWatch->isEnabled());

    prompts.yesNoCancel = {Answer::No};
    prompts.yesNo = {true};
    prompts.openFiles = {QString::fromStdString(other)};
    Files().Load1Click();
    Files().Merge1Click();
    window->Sections().tbDeleteSectionClick();
    Watches().tbAddWatchClick();
    window->tbScanClick(); // as a second start with "silentscan" asks
    EXPECT_FALSE(window->GetScanner().IsRunning());
    EXPECT_TRUE(prompts.shown.empty()) << "every command was refused";
    EXPECT_EQ(dialogTitles.size(), 1);

    ASSERT_TRUE(finished.wait(15000));
    EXPECT_EQ(SectionNames(), (std::vector<std::string>{"Default", "Target"}));
    EXPECT_EQ(Addresses(), std::vector<std::string>{server.Url("/slow")});
    EXPECT_EQ(Tab(1).Row(1).Cells[ColDescription], "slow");
    EXPECT_TRUE(window->Buttons().tbAddWatch->isEnabled());
}

TEST_F(AddWatchCommandTest, NewWatchesGoToTheEndOfTheShownSection) {
    AddWatch(Enter("/srv/one", "", true));
    AddWatch(Enter("/srv/two", "", true));
    ASSERT_EQ(Tab(0).RowCount(), 3);
    EXPECT_EQ(Tab(0).Row(1).Cells[ColAddress], "/srv/one");
    EXPECT_EQ(Tab(0).Row(2).Cells[ColAddress], "/srv/two");

    ASSERT_TRUE(window->Sections().AddNewTab("Second"));
    server.SetBody("/three", "three");
    AddWatch(Enter(server.Url("/three")));
    EXPECT_EQ(window->Tabs()->currentIndex(), 1);
    EXPECT_EQ(SelectedRow(1), 1);
    AddWatch(Enter("/srv/four", "", true));
    ASSERT_EQ(Tab(1).RowCount(), 3);
    EXPECT_EQ(Tab(1).Row(1).Cells[ColAddress], server.Url("/three"));
    EXPECT_EQ(Tab(1).Row(2).Cells[ColAddress], "/srv/four");
    EXPECT_EQ(Tab(0).RowCount(), 3);
    EXPECT_EQ(window->Tabs()->Grid(1)->Model()->rowCount(), 2) << "the grid shows both rows";
}

} // namespace
} // namespace zelmox::test
