// Importing a list of addresses: one fetch each for the starting values and the snapshots.
#include "Importer.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

constexpr const char* ImportStamp = "2007/02/03 09:05.07";

class ImporterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Started()); }

    // Imports the lines and waits for the end; the number of watches added.
    int Import(std::vector<std::string> lines, ImportOptions options = {}) {
        QSignalSpy finished(&importer, &Importer::Finished);
        importer.Import(std::move(lines), options);
        if (finished.count() == 0 && !finished.wait(20000)) {
            ADD_FAILURE() << "the import did not finish";
            return -1;
        }
        return finished.first().first().toInt();
    }

    const TWatch& WatchAt(int tab, int row) const { return model.Tab(tab).Row(row).Object.Watch; }

    std::string Snapshot(const std::string& address, std::int32_t scanType,
                         const char* suffix) const {
        return ReadFile(folder + Md5Hex(address + std::to_string(scanType)) + suffix + ".html");
    }

    PageServer server;
    TempDir dir;
    std::string folder = dir.Folder();
    SectionModel model;
    FakeClock clock;
    HttpClient client;
    Importer importer{model, client, clock, [this] { return folder; }};
};

TEST_F(ImporterTest, EveryNonEmptyLineBecomesAWatchOfTheShownSection) {
    const std::string first = "<html><title>First page</title><body>one</body></html>";
    const std::string second = "<html><TITLE>Second\r\npage</TITLE>two</html>";
    server.SetBody("/one", first);
    server.SetBody("/two", second);
    QSignalSpy imported(&importer, &Importer::WatchImported);

    // Surrounding blanks go, and a line of nothing else counts as empty.
    EXPECT_EQ(Import({server.Url("/one"), "", " \t" + server.Url("/two") + "  ", " \t "}), 2);

    const Section& section = model.Tab(0);
    ASSERT_EQ(section.RowCount(), 3) << "the placeholder row is taken by the first watch";
    const TWatch& watch = WatchAt(0, 1);
    EXPECT_EQ(watch.Address, server.Url("/one"));
    EXPECT_EQ(watch.Description, "First page");
    EXPECT_EQ(watch.ScanType, 0);
    EXPECT_EQ(watch.AddressMD5, Md5Hex(server.Url("/one") + "0"));
    EXPECT_EQ(watch.MD5, Md5Hex(first));
    EXPECT_EQ(watch.Added, ImportStamp);
    EXPECT_EQ(watch.LastScan, ImportStamp);
    EXPECT_EQ(watch.LastChange, "n/a");
    EXPECT_EQ(watch.BeforeChange, "n/a");
    EXPECT_EQ(watch.Manual, 0);
    for (const std::int32_t size : {watch.OriginalSize, watch.BeforeSize, watch.AfterSize}) {
        EXPECT_EQ(size, static_cast<int>(first.size()));
    }
    EXPECT_EQ(section.Row(1).Object.Changed, 0);
    EXPECT_FALSE(section.Row(1).Object.Highlighted);
    EXPECT_EQ(section.Row(1).Cells[ColSortKey], "0");
    EXPECT_EQ(section.Row(1).Cells[ColLastCheck], ImportStamp);
    EXPECT_EQ(WatchAt(0, 2).Address, server.Url("/two"));
    EXPECT_EQ(WatchAt(0, 2).Description, "Second  page") << "a title stays on one line";
    for (const char* suffix : {"_x", "_b", "_a"}) {
        EXPECT_EQ(Snapshot(server.Url("/one"), 0, suffix), first + "\r\n") << suffix;
    }
    EXPECT_EQ(server.Hits("/one"), 1);
    ASSERT_EQ(imported.count(), 2);
    EXPECT_EQ(imported.at(1), (QList<QVariant>{0, 2}));
}

TEST_F(ImporterTest, UnreadableAddressesBecomeManualWatchesAndTheImportGoesOn) {
    const std::string closed = ClosedPortUrl("/down");
    const std::string missingFile = dir.File("no-such-file.txt");
    server.SetBody("/next", "<title>Next</title>");

    EXPECT_EQ(Import({closed, missingFile, server.Url("/next")}), 3);

    for (const int row : {1, 2}) {
        const TWatch& watch = WatchAt(0, row);
        SCOPED_TRACE(watch.Address);
        EXPECT_EQ(watch.Manual, 1);
        EXPECT_EQ(watch.OriginalSize, 0);
        EXPECT_EQ(watch.AfterSize, 0);
        EXPECT_EQ(watch.Description, "");
        for (const char* suffix : {"_x", "_b", "_a"}) {
            EXPECT_EQ(Snapshot(watch.Address, 0, suffix), "\r\n") << suffix;
        }
    }
    EXPECT_EQ(WatchAt(0, 3).Manual, 0);
    EXPECT_EQ(WatchAt(0, 3).Description, "Next");
}

TEST_F(ImporterTest, FailedFetchKeepsSnapshotFilesThatExist) {
    server.SetReply("/gone", PageReply::Error(404, "<title>Not found</title>"));
    const std::string address = server.Url("/gone");
    const std::string stem = folder + Md5Hex(address + "0");
    WriteFile(stem + "_x.html", "original copy");
    WriteFile(stem + "_a.html", "latest copy");

    EXPECT_EQ(Import({address}), 1);

    EXPECT_EQ(WatchAt(0, 1).Manual, 1);
    EXPECT_EQ(WatchAt(0, 1).Description, "") << "an error page gives no description";
    EXPECT_EQ(ReadFile(stem + "_x.html"), "original copy");
    EXPECT_EQ(ReadFile(stem + "_a.html"), "latest copy");
    EXPECT_EQ(ReadFile(stem + "_b.html"), "\r\n") << "only the missing file is written";
}

TEST_F(ImporterTest, SameAddressTwiceSharesOneSnapshotSet) {
    server.Route("/twice", [](int hit) { return PageReply::Ok("visit " + std::to_string(hit)); });

    EXPECT_EQ(Import({server.Url("/twice"), server.Url("/twice")}), 2);

    EXPECT_EQ(WatchAt(0, 1).AddressMD5, WatchAt(0, 2).AddressMD5);
    EXPECT_EQ(FolderContents(folder).size(), 3u);
    EXPECT_EQ(Snapshot(server.Url("/twice"), 0, "_a"), "visit 2\r\n") << "the later one wrote last";
}

TEST_F(ImporterTest, ScanTypeAndDescriptionFollowTheOptions) {
    const std::string page = "<html><title>Shop</title>"
                             "<meta name=\"Description\" content=\"Cheap things\">"
                             "<p>Hello</p></html>";
    server.SetBody("/shop", page);
    model.AddSection("Imported");

    Import({server.Url("/shop")}, {ScanTextBetweenTags, true, 2});
    Import({server.Url("/shop")}, {ScanSizeComparison, false, 1});
    Import({server.Url("/shop")}, {ScanEntireFile, true, 0});

    ASSERT_EQ(model.Tab(1).RowCount(), 4) << "watches go to the shown section";
    EXPECT_TRUE(model.Tab(0).IsEmpty());
    EXPECT_EQ(WatchAt(1, 1).Description, "Cheap things");
    EXPECT_EQ(WatchAt(1, 1).MD5, Md5Hex("ShopHello")) << "the text outside tags";
    EXPECT_EQ(WatchAt(1, 1).AfterSize, static_cast<int>(page.size()));
    EXPECT_EQ(WatchAt(1, 2).Description, "");
    EXPECT_EQ(WatchAt(1, 2).MD5, Md5Hex(page));
    EXPECT_EQ(WatchAt(1, 3).Description, "");
    EXPECT_NE(WatchAt(1, 1).AddressMD5, WatchAt(1, 2).AddressMD5);
}

TEST_F(ImporterTest, LocalFileIsReadAsText) {
    const std::string path = dir.File("notes.txt");
    WriteFile(path, "<title>Not used</title>\nsecond line\n");

    EXPECT_EQ(Import({path}), 1);

    const std::string text = "<title>Not used</title>\r\nsecond line\r\n";
    EXPECT_EQ(WatchAt(0, 1).Manual, 0);
    EXPECT_EQ(WatchAt(0, 1).AfterSize, static_cast<int>(text.size()));
    EXPECT_EQ(WatchAt(0, 1).Description, "") << "only web pages give a description";
    EXPECT_EQ(Snapshot(path, 0, "_x"), text + "\r\n");
}

} // namespace
} // namespace zelmox::test
