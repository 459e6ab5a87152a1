// The four change rules and the status a scan leaves on a watch and its row.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

using Stamps = std::vector<std::string>;

class ChangeDetectionTest : public ScanTest {
protected:
    // The fields a detected change must leave, for a watch added with `added` and then changed
    // once to `now` at 10:MM.00.
    void ExpectFirstChange(int row, const std::string& added, const std::string& now, int minute) {
        const WatchRow& watchRow = rig.Row(0, row);
        const TWatch& watch = watchRow.Object.Watch;
        EXPECT_TRUE(watchRow.Object.Highlighted);
        EXPECT_EQ(watchRow.Object.Changed, 1);
        EXPECT_EQ(watchRow.Cells[ColSortKey], "1");
        EXPECT_EQ(watchRow.Cells[ColLastCheck], StampAt(minute));
        EXPECT_EQ(watchRow.Cells[ColLastChange], StampAt(minute));
        EXPECT_EQ(watch.LastScan, StampAt(minute));
        EXPECT_EQ(watch.LastChange, StampAt(minute));
        EXPECT_EQ(watch.BeforeChange, "n/a");
        EXPECT_EQ(watch.OriginalSize, static_cast<int>(added.size()));
        EXPECT_EQ(watch.BeforeSize, static_cast<int>(added.size()));
        EXPECT_EQ(watch.AfterSize, static_cast<int>(now.size()));
        EXPECT_EQ(watchRow.Object.ChangeHistory, Stamps{StampAt(minute)});
    }

    // Only the check time moves on an unchanged page.
    void ExpectUnchanged(int row, const TWatchObject& before, int minute) {
        const WatchRow& watchRow = rig.Row(0, row);
        TWatchObject expected = before;
        expected.Watch.LastScan = StampAt(minute);
        EXPECT_EQ(watchRow.Object, expected);
        EXPECT_EQ(watchRow.Cells[ColLastCheck], StampAt(minute));
        EXPECT_EQ(watchRow.Cells[ColLastChange], "n/a");
        EXPECT_EQ(watchRow.Cells[ColSortKey], "0");
    }
};

TEST_F(ChangeDetectionTest, EntireFileDigestFindsAnyByteChange) {
    const int same = AddPage("/same", ScanEntireFile, "<p>same</p>");
    const int changed = AddPage("/changed", ScanEntireFile, "old text");
    server.SetBody("/same", "<p>same</p>");
    server.SetBody("/changed", "brand new text");
    const TWatchObject sameBefore = rig.Object(0, same);
    QSignalSpy sounds(&rig.Engine, &Scanner::NotifySound);

    ScanAt(1);

    ExpectUnchanged(same, sameBefore, 1);
    ExpectFirstChange(changed, "old text", "brand new text", 1);
    EXPECT_EQ(rig.Watch(0, changed).MD5, Md5Hex("brand new text"));
    EXPECT_EQ(rig.Log.Lines(), LogWith({"Change: " + server.Url("/changed")}));
    ASSERT_EQ(sounds.count(), 1);
    EXPECT_EQ(sounds.at(0).at(0).toInt(), 0);
    EXPECT_EQ(rig.Engine.TotalChanges(), 1);
    EXPECT_EQ(rig.Engine.FailedFetches(), 0);
}

TEST_F(ChangeDetectionTest, TextBetweenTagsIgnoresWhatLiesInsideTags) {
    const int tagsOnly = AddPage("/tags", ScanTextBetweenTags, "<p class=a>Hello</p>");
    const int text = AddPage("/text", ScanTextBetweenTags, "<p>Hello</p>");
    server.SetBody("/tags", "<P CLASS=\"b\" id=x>Hello</p><!-- note -->");
    server.SetBody("/text", "<p>Hello world</p>");
    const TWatchObject tagsBefore = rig.Object(0, tagsOnly);
    QSignalSpy sounds(&rig.Engine, &Scanner::NotifySound);

    ScanAt(2);

    ExpectUnchanged(tagsOnly, tagsBefore, 2);
    ExpectFirstChange(text, "<p>Hello</p>", "<p>Hello world</p>", 2);
    // The digest covers the text outside tags; the size is that of the whole page.
    EXPECT_EQ(rig.Watch(0, text).MD5, Md5Hex("Hello world"));
    ASSERT_EQ(sounds.count(), 1);
    EXPECT_EQ(sounds.at(0).at(0).toInt(), 1);
}

TEST_F(ChangeDetectionTest, SizeComparisonLooksOnlyAtTheLength) {
    const int sameSize = AddPage("/same-size", ScanSizeComparison, "abcd");
    const int longer = AddPage("/longer", ScanSizeComparison, "abcd");
    server.SetBody("/same-size", "wxyz");
    server.SetBody("/longer", "abcdef");
    const TWatchObject sameBefore = rig.Object(0, sameSize);
    QSignalSpy sounds(&rig.Engine, &Scanner::NotifySound);

    ScanAt(3);

    ExpectUnchanged(sameSize, sameBefore, 3);
    ExpectFirstChange(longer, "abcd", "abcdef", 3);
    EXPECT_EQ(rig.Watch(0, longer).MD5, Md5Hex("abcd")) << "the size rule never renews MD5";
    ASSERT_EQ(sounds.count(), 1);
    EXPECT_EQ(sounds.at(0).at(0).toInt(), 2);

    // Later scans compare with the size of the last change, not the earlier or the first one.
    const std::pair<const char*, std::int32_t> later[] = {{"ABCDEF", 1}, {"abcd", 2}};
    for (const auto& [body, changed] : later) {
        server.SetBody("/longer", body);
        ScanAt(4);
        EXPECT_EQ(rig.Object(0, longer).Changed, changed) << body;
    }
}

TEST_F(ChangeDetectionTest, KeywordFoundIsReportedAtEveryScan) {
    const int found = AddPage("/offers", ScanKeywords, "nothing yet", {"zzz", "price"});
    const int absent = AddPage("/quiet", ScanKeywords, "quiet page", {"price"});
    server.Route("/offers", [](int hit) {
        return PageReply::Ok("New PRICES" + std::string(static_cast<std::size_t>(hit), '!'));
    });
    server.SetBody("/quiet", "still quiet, no offers");
    QSignalSpy sounds(&rig.Engine, &Scanner::NotifySound);

    for (int scan = 1; scan <= 3; ++scan) {
        ScanAt(scan);
        const TWatchObject& object = rig.Object(0, found);
        const std::string content = "New PRICES" + std::string(static_cast<std::size_t>(scan), '!');
        EXPECT_EQ(object.Changed, scan);
        EXPECT_EQ(object.Watch.MD5, "") << "the keyword rule keeps no digest";
        EXPECT_EQ(object.Watch.AfterSize, static_cast<int>(content.size()));
        EXPECT_EQ(object.ChangeHistory.size(), static_cast<std::size_t>(scan));
        EXPECT_EQ(rig.Log.Lines(), LogWith({"Change: " + server.Url("/offers")}));
        EXPECT_EQ(rig.Snapshot(object.Watch, "_a"), content);
        EXPECT_EQ(rig.Engine.TotalChanges(), 1);
    }
    EXPECT_EQ(rig.Object(0, found).Watch.BeforeSize, 12) << "the length the second scan found";
    EXPECT_EQ(rig.Object(0, absent).Changed, 0);
    ASSERT_EQ(sounds.count(), 3);
    EXPECT_EQ(sounds.at(2).at(0).toInt(), 3);
}

TEST_F(ChangeDetectionTest, UnknownScanTypeNeverCountsAsChange) {
    const int row = AddPage("/odd", 7, "before");
    server.SetBody("/odd", "quite different");

    ScanAt(4);

    EXPECT_EQ(rig.Object(0, row).Changed, 0);
    EXPECT_EQ(rig.Watch(0, row).LastScan, StampAt(4));
    EXPECT_EQ(rig.Log.Lines(), LogWith({}));
}

TEST_F(ChangeDetectionTest, EmptyDigestIsChangedAtFirstScan) {
    const int whole = AddPage("/whole", ScanEntireFile, "content");
    const int tags = AddPage("/tags", ScanTextBetweenTags, "<b>content</b>");
    rig.Watch(0, whole).MD5.clear();
    rig.Watch(0, tags).MD5.clear();
    server.SetBody("/whole", "content");
    server.SetBody("/tags", "<b>content</b>");

    ScanAt(5);

    EXPECT_EQ(rig.Object(0, whole).Changed, 1);
    EXPECT_EQ(rig.Watch(0, whole).MD5, Md5Hex("content"));
    EXPECT_EQ(rig.Object(0, tags).Changed, 1);
    EXPECT_EQ(rig.Watch(0, tags).MD5, Md5Hex("content"));
    EXPECT_EQ(rig.Engine.TotalChanges(), 2);
}

TEST_F(ChangeDetectionTest, FiveChangesHoldTheLevelAtFour) {
    const int row = AddPage("/counter", ScanEntireFile, "version 0");
    server.Route("/counter",
                 [](int hit) { return PageReply::Ok("version " + std::to_string(hit)); });
    const std::vector<int> levels = {1, 2, 3, 4, 4};

    for (int scan = 1; scan <= 5; ++scan) {
        ScanAt(scan);
        const WatchRow& watchRow = rig.Row(0, row);
        EXPECT_EQ(watchRow.Object.Changed, levels[static_cast<std::size_t>(scan - 1)]);
        EXPECT_EQ(watchRow.Cells[ColSortKey], std::to_string(levels[scan - 1]));
        EXPECT_TRUE(watchRow.Object.Highlighted);
        EXPECT_EQ(watchRow.Object.Watch.LastChange, StampAt(scan));
        EXPECT_EQ(watchRow.Object.Watch.BeforeChange, scan == 1 ? "n/a" : StampAt(scan - 1));
        EXPECT_EQ(watchRow.Object.Watch.MD5, Md5Hex("version " + std::to_string(scan)));
    }
    EXPECT_EQ(rig.Object(0, row).ChangeHistory,
              (Stamps{StampAt(1), StampAt(2), StampAt(3), StampAt(4), StampAt(5)}));
}

TEST_F(ChangeDetectionTest, FailedFetchAfterTwoChangesAndRecovery) {
    const int row = AddPage("/flaky", ScanEntireFile, "zero");
    server.SetBody("/flaky", "one");
    ScanAt(1);
    server.SetBody("/flaky", "two");
    ScanAt(2);
    const TWatchObject afterTwo = rig.Object(0, row);
    ASSERT_EQ(afterTwo.Changed, 2);
    const auto snapshots = FolderContents(rig.DataFolder);
    QSignalSpy sounds(&rig.Engine, &Scanner::NotifySound);

    server.SetBody("/flaky", "");
    ScanAt(3);
    {
        const WatchRow& watchRow = rig.Row(0, row);
        EXPECT_EQ(watchRow.Object.Changed, 999);
        EXPECT_FALSE(watchRow.Object.Highlighted);
        EXPECT_EQ(watchRow.Cells[ColSortKey], "?");
        EXPECT_EQ(watchRow.Cells[ColLastCheck], StampAt(3)) << "the time of the failed attempt";
        EXPECT_EQ(watchRow.Cells[ColLastChange], StampAt(2));
        EXPECT_EQ(watchRow.Object.Watch, afterTwo.Watch) << "LastScan keeps the last success";
        EXPECT_EQ(watchRow.Object.ChangeHistory, afterTwo.ChangeHistory);
        EXPECT_EQ(rig.Log.Lines(), LogWith({}));
        EXPECT_EQ(FolderContents(rig.DataFolder), snapshots);
        EXPECT_EQ(sounds.count(), 0);
        EXPECT_EQ(rig.Engine.FailedFetches(), 1);
        EXPECT_EQ(rig.Engine.TotalChanges(), 0);
    }

    server.SetBody("/flaky", "two");
    ScanAt(4);
    EXPECT_EQ(rig.Object(0, row).Changed, 0);
    EXPECT_FALSE(rig.Object(0, row).Highlighted);
    EXPECT_EQ(rig.Row(0, row).Cells[ColSortKey], "?") << "stays until the next change";
    EXPECT_EQ(rig.Watch(0, row).LastScan, StampAt(4));
    EXPECT_EQ(rig.Engine.FailedFetches(), 0);

    server.SetBody("/flaky", "three");
    ScanAt(5);
    EXPECT_EQ(rig.Object(0, row).Changed, 1);
    EXPECT_EQ(rig.Row(0, row).Cells[ColSortKey], "1");
}

TEST_F(ChangeDetectionTest, EveryKindOfFailedFetchMarksTheWatchAndTheScanGoesOn) {
    server.SetBody("/target", "the page a redirect points to");
    server.SetReply("/moved", PageReply::Redirect(301, server.Url("/target")));
    server.SetReply("/found", PageReply::Redirect(302, server.Url("/target")));
    server.SetReply("/missing", PageReply::Error(404, "<h1>Not here</h1>"));
    server.SetReply("/broken", PageReply::Error(500, "oops"));
    server.SetBody("/empty", "");
    const std::vector<std::string> failing = {"/moved", "/found", "/missing", "/broken", "/empty"};
    for (const std::string& path : failing) {
        const int row = AddPage(path, ScanEntireFile, "earlier");
        rig.Object(0, row).Changed = 2;
        rig.Object(0, row).Highlighted = true;
    }
    AddRow(rig.Model.Tab(0), AddedWatch(ClosedPortUrl("/closed"), ScanEntireFile, "earlier"));
    const int last = AddPage("/last", ScanEntireFile, "earlier");
    server.SetBody("/last", "later");

    ScanAt(6);

    for (int row = 1; row < last; ++row) {
        SCOPED_TRACE(rig.Watch(0, row).Address);
        EXPECT_EQ(rig.Object(0, row).Changed, 999);
        EXPECT_FALSE(rig.Object(0, row).Highlighted);
        EXPECT_EQ(rig.Row(0, row).Cells[ColSortKey], "?");
        EXPECT_EQ(rig.Watch(0, row).LastScan, AddedStamp);
    }
    EXPECT_EQ(server.Hits("/target"), 0) << "redirects are not followed";
    EXPECT_EQ(rig.Object(0, last).Changed, 1);
    EXPECT_EQ(rig.Engine.FailedFetches(), 6);
    EXPECT_EQ(rig.Log.Lines(), LogWith({"Change: " + server.Url("/last")}));
}

TEST_F(ChangeDetectionTest, ManualAndPlaceholderRowsAreNeitherFetchedNorTouched) {
    const int manual = AddPage("/manual", ScanEntireFile, "old");
    rig.Watch(0, manual).Manual = 1;
    rig.Object(0, manual).Changed = 3;
    rig.Row(0, manual).Cells[ColSortKey] = "3";
    const int normal = AddPage("/normal", ScanEntireFile, "old");
    rig.Model.AddSection("Empty");
    server.SetBody("/manual", "new");
    server.SetBody("/normal", "new");
    const WatchRow manualBefore = rig.Row(0, manual);
    const WatchRow placeholderBefore = rig.Row(1, 1);
    QSignalSpy steps(&rig.Engine, &Scanner::ProgressStepped);
    QSignalSpy images(&rig.Engine, &Scanner::TabImageChanged);

    ScanAt(7);

    EXPECT_EQ(server.Hits("/manual"), 0);
    EXPECT_EQ(server.Hits("/normal"), 1);
    EXPECT_EQ(rig.Row(0, manual).Object, manualBefore.Object);
    EXPECT_EQ(rig.Row(0, manual).Cells, manualBefore.Cells);
    EXPECT_EQ(rig.Row(1, 1).Object, placeholderBefore.Object);
    EXPECT_EQ(rig.Row(1, 1).Cells, placeholderBefore.Cells);
    EXPECT_EQ(rig.Object(0, normal).Changed, 1);
    EXPECT_EQ(steps.count(), 3) << "skipped rows still step the progress bar";
    ASSERT_EQ(images.count(), 3);
    EXPECT_EQ(images.at(2), (QList<QVariant>{1, false}));
    EXPECT_FALSE(rig.Model.Tab(1).ChangeMark);
    EXPECT_TRUE(rig.Model.Tab(0).ChangeMark);
}

TEST_F(ChangeDetectionTest, LocalFilesAreReadWithCrLfLineBreaks) {
    const std::string path = rig.Dir.File("notes.txt");
    WriteFile(path, "line one\nline two\n");
    TWatchObject file = AddedWatch(path, ScanSizeComparison, "line one\r\n");
    const int row = AddRow(rig.Model.Tab(0), file);
    AddRow(rig.Model.Tab(0), AddedWatch(rig.Dir.File("gone.txt"), ScanEntireFile, "x"));

    ScanAt(8);

    const std::string expected = "line one\r\nline two\r\n";
    EXPECT_EQ(rig.Object(0, row).Changed, 1);
    EXPECT_EQ(rig.Watch(0, row).AfterSize, static_cast<int>(expected.size()));
    EXPECT_EQ(rig.Snapshot(rig.Watch(0, row), "_a"), expected);
    EXPECT_EQ(rig.Object(0, row + 1).Changed, 999) << "a missing file is a failed fetch";
}

TEST_F(ChangeDetectionTest, LargePageIsKeptWholeAndTheBodyCapFailsIt) {
    std::string big(3 * 1024 * 1024, 'x');
    for (std::size_t i = 0; i < big.size(); i += 997) {
        big[i] = static_cast<char>('a' + i % 26);
    }
    const int row = AddPage("/big", ScanEntireFile, "small");
    server.SetBody("/big", big);

    ScanAt(9);
    EXPECT_EQ(rig.Watch(0, row).MD5, Md5Hex(big));
    EXPECT_EQ(rig.Snapshot(rig.Watch(0, row), "_a"), big);

    rig.Client.SetMaxBodyBytes(1024 * 1024);
    ScanAt(10);
    EXPECT_EQ(rig.Object(0, row).Changed, 999);
}

} // namespace
} // namespace zelmox::test
