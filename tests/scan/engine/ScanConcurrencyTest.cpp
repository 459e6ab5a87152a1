// Fetching several pages at once must end exactly as fetching one page at a time.
#include "DataFile.h"
#include "EngineTestSupport.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

// One watch of the mixed list: its address, how it was added and what the server now answers.
struct MixedWatch {
    int Tab = 0;
    std::string Address;
    std::int32_t ScanType = ScanEntireFile;
    std::string Added;
    std::vector<std::string> Keywords;
    bool Manual = false;
    std::int32_t Changed = 0;
    bool LongHistory = false;
};

class ScanConcurrencyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Started());
        closedUrl = ClosedPortUrl("/closed");
        Plan();
    }

    // About forty watches over five sections (one of them empty): changed and unchanged pages of
    // every scan type, failures of every kind, slow pages, addresses watched twice, local files
    // and manual watches.
    void Plan() {
        const std::vector<std::string> sections = {"Default", "News", "Empty", "Shops", "Files"};
        for (std::size_t tab = 1; tab < sections.size(); ++tab) {
            for (ScanRig* rig : {&one, &many}) {
                rig->Model.AddSection(sections[tab]);
            }
        }
        const int dataTabs[] = {0, 1, 3, 4};
        for (int i = 0; i < 42; ++i) {
            const int tab = dataTabs[(i / 11) % 4];
            const std::string id = std::to_string(i);
            const std::string path = "/p" + id;
            MixedWatch watch;
            watch.Tab = tab;
            watch.Address = server.Url(path);
            switch (i % 11) {
            case 0:
                watch.Added = "page " + id + " v0";
                server.SetBody(path, "page " + id + " v1");
                break;
            case 1:
                watch.Added = "steady " + id;
                watch.Changed = i % 2 == 0 ? 999 : 2;
                server.SetBody(path, watch.Added);
                break;
            case 2:
                watch.ScanType = ScanTextBetweenTags;
                watch.Added = "<p>text " + id + "</p>";
                server.SetBody(path, "<p>text " + id + "!</p>");
                break;
            case 3:
                watch.ScanType = ScanTextBetweenTags;
                watch.Added = "<a href=1>link " + id + "</a>";
                server.SetBody(path, "<A HREF=2>link " + id + "</a>");
                break;
            case 4:
                watch.ScanType = ScanSizeComparison;
                watch.Added = "size " + id;
                server.SetBody(path, i % 2 == 0 ? "SIZE " + id : "bigger size " + id);
                break;
            case 5:
                watch.ScanType = ScanKeywords;
                watch.Keywords = {"sale"};
                watch.Added = "nothing " + id;
                server.SetBody(path, "Big SALE number " + id);
                break;
            case 6: {
                watch.Added = "was fine " + id;
                watch.Changed = 1;
                switch ((i / 11) % 4) {
                case 0:
                    server.SetReply(path, PageReply::Error(404, "gone"));
                    break;
                case 1:
                    server.SetReply(path, PageReply::Redirect(302, server.Url("/p0")));
                    break;
                case 2:
                    server.SetBody(path, "");
                    break;
                default:
                    watch.Address = closedUrl;
                    break;
                }
                break;
            }
            case 7:
                // The same address and type as the first page of this block: one snapshot set.
                watch.Address = server.Url("/p" + std::to_string(i - 7));
                watch.Added = "page " + std::to_string(i - 7) + " v0";
                break;
            case 8:
                watch.Added = "slow " + id;
                watch.Changed = 4;
                watch.LongHistory = true;
                server.SetBody(path, "slow " + id + " changed", 60);
                break;
            case 9:
                watch.Address = files.File("file" + id + ".txt");
                watch.Added = "file " + id + "\r\n";
                WriteFile(watch.Address, "file " + id + "\nedited\n");
                break;
            default:
                watch.Manual = true;
                watch.Added = "manual " + id;
                server.SetBody(path, "manual " + id + " changed");
                break;
            }
            for (ScanRig* rig : {&one, &many}) {
                Add(*rig, watch);
            }
        }
    }

    static void Add(ScanRig& rig, const MixedWatch& planned) {
        TWatchObject object =
            AddedWatch(planned.Address, planned.ScanType, planned.Added, planned.Keywords);
        object.Watch.Manual = planned.Manual ? 1 : 0;
        object.Changed = planned.Changed;
        object.Highlighted = planned.Changed != 0;
        if (planned.LongHistory) {
            for (int entry = 0; entry < 20; ++entry) {
                object.ChangeHistory.push_back("2006/01/01 00:00." + std::to_string(10 + entry));
            }
            object.Watch.LastChange = LoadedStamp;
        }
        if (!planned.Manual) {
            WriteInitialSnapshots(rig.DataFolder, object.Watch, planned.Added);
        }
        AddRow(rig.Model.Tab(planned.Tab), std::move(object));
    }

    // Scans one copy with these limits; the most requests the server saw at once.
    int ScanWith(ScanRig& rig, ScanLimits limits) {
        rig.Engine.SetLimits(limits);
        rig.Clock.Set(At(30));
        server.ResetCounters();
        EXPECT_TRUE(rig.Run());
        return server.MostAtOnce();
    }

    PageServer server;
    TempDir files;
    std::string closedUrl;
    ScanRig one;
    ScanRig many;
};

TEST_F(ScanConcurrencyTest, ManyFetchesAtOnceEndExactlyAsOneAtATime) {
    server.SetJitter(25);
    QSignalSpy oneFinished(&one.Engine, &Scanner::ScanFinished);
    QSignalSpy manyFinished(&many.Engine, &Scanner::ScanFinished);

    const int mostOne = ScanWith(one, {1, 1});
    const int mostMany = ScanWith(many, {8, 4});

    EXPECT_EQ(mostOne, 1);
    EXPECT_GT(mostMany, 1) << "the pages were fetched one at a time";
    EXPECT_LE(mostMany, 4) << "more than four requests to one host at once";

    // The list is varied enough to mean something.
    EXPECT_GE(one.Engine.TotalChanges(), 15);
    EXPECT_GE(one.Engine.FailedFetches(), 4);
    EXPECT_EQ(many.Engine.TotalChanges(), one.Engine.TotalChanges());
    EXPECT_EQ(many.Engine.FailedFetches(), one.Engine.FailedFetches());
    EXPECT_EQ(manyFinished.takeFirst(), oneFinished.takeFirst());

    EXPECT_EQ(many.Log.Lines(), one.Log.Lines());
    for (int tab = 0; tab < one.Model.TabCount(); ++tab) {
        EXPECT_EQ(many.Model.Tab(tab).ChangeMark, one.Model.Tab(tab).ChangeMark) << "tab " << tab;
        for (int row = 1; row < one.Model.Tab(tab).RowCount(); ++row) {
            EXPECT_EQ(many.Row(tab, row).Cells, one.Row(tab, row).Cells) << tab << "/" << row;
            EXPECT_EQ(many.Object(tab, row), one.Object(tab, row)) << tab << "/" << row;
        }
    }

    const std::string oneFile = one.Dir.File("list.zelmox");
    const std::string manyFile = many.Dir.File("list.zelmox");
    ASSERT_TRUE(SaveData(one.Model, oneFile).Ok);
    ASSERT_TRUE(SaveData(many.Model, manyFile).Ok);
    EXPECT_EQ(ReadFile(manyFile), ReadFile(oneFile));

    const auto oneSnapshots = FolderContents(one.DataFolder);
    EXPECT_GE(oneSnapshots.size(), 90u);
    EXPECT_TRUE(FolderContents(many.DataFolder) == oneSnapshots) << "the snapshot files differ";
}

TEST(ScanLimitsTest, LimitsCapTheRequestsAtOnce) {
    PageServer server;
    ASSERT_TRUE(server.Started());
    ScanRig rig;
    for (int i = 0; i < 12; ++i) {
        const std::string path = "/slow" + std::to_string(i);
        server.SetBody(path, "page " + std::to_string(i), 40);
        AddRow(rig.Model.Tab(0), AddedWatch(server.Url(path), ScanEntireFile, "old"));
    }
    const std::pair<ScanLimits, int> cases[] = {{{2, 4}, 2}, {{8, 1}, 1}, {{8, 3}, 3}};
    for (const auto& [limits, most] : cases) {
        rig.Engine.SetLimits(limits);
        server.ResetCounters();
        ASSERT_TRUE(rig.Run());
        EXPECT_EQ(server.MostAtOnce(), most) << limits.MaxInFlight << "/" << limits.MaxPerHost;
        EXPECT_EQ(server.TotalHits(), 12);
    }
}

// A page that answers late, and ten pages of pageBytes each behind it.
void AddAwaitedRowAndTenPages(PageServer& server, ScanRig& rig, std::size_t pageBytes) {
    server.SetBody("/awaited", "first", 800);
    AddRow(rig.Model.Tab(0), AddedWatch(server.Url("/awaited"), ScanEntireFile, "old"));
    for (int i = 0; i < 10; ++i) {
        const std::string path = "/big" + std::to_string(i);
        server.SetBody(path, std::string(pageBytes, static_cast<char>('a' + i)));
        AddRow(rig.Model.Tab(0), AddedWatch(server.Url(path), ScanEntireFile, "old"));
    }
}

TEST(ScanLimitsTest, PagesAheadOfAnAwaitedRowStopOnceTheyHoldTooManyBytes) {
    PageServer server;
    ASSERT_TRUE(server.Started());
    ScanRig rig;
    AddAwaitedRowAndTenPages(server, rig, 1000);
    ScanLimits limits;
    limits.MaxInFlight = 4;
    limits.MaxHeldBytes = 2500;
    rig.Engine.SetLimits(limits);
    int fetchedMeanwhile = -1;
    QTimer::singleShot(400, [&] { fetchedMeanwhile = server.TotalHits(); });

    ASSERT_TRUE(rig.Run());
    // The first four, then at most one more for each page that arrived while no more than the cap
    // was held: never the ten a look-ahead without the cap starts.
    EXPECT_GE(fetchedMeanwhile, 4);
    EXPECT_LE(fetchedMeanwhile, 6);
    // (Once the awaited row is in, pages may come in faster than rows are applied and a few be
    // dropped and fetched again: how many depends on timing.)
    EXPECT_EQ(rig.Engine.TotalChanges(), 11);
}

// Pages of many hosts at once all start before any has come in; what they bring in counts too.
TEST(ScanLimitsTest, PagesComingInAheadOfAnAwaitedRowAreDroppedPastTheBoundAndFetchedAgain) {
    PageServer server;
    ASSERT_TRUE(server.Started());
    ScanRig rig;
    AddAwaitedRowAndTenPages(server, rig, 400000);
    ScanLimits limits;
    limits.MaxPerHost = limits.MaxInFlight;
    limits.MaxHeldBytes = 500000;
    rig.Engine.SetLimits(limits);

    ASSERT_TRUE(rig.Run());
    EXPECT_GT(server.TotalHits(), 11) << "no page coming in was dropped";
    EXPECT_EQ(rig.Engine.TotalChanges(), 11);
    for (int row = 2; row <= 11; ++row) {
        EXPECT_EQ(rig.Object(0, row).Watch.AfterSize, 400000) << row;
    }
}

} // namespace
} // namespace zelmox::test
