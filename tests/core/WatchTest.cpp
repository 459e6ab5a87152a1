#include "Watch.h"

#include "Clock.h"
#include "CoreTestUtil.h"
#include "Digest.h"
#include "FakeClock.h"
#include "Snapshot.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>

namespace zelmox {
namespace {

using test::MakeWatch;

TEST(TimeStampTest, FormatsWithLeadingZerosAndDotBeforeSeconds) {
    test::FakeClock clock({2007, 2, 3, 9, 5, 9});
    EXPECT_EQ(GetTimeStamp(clock), "2007/02/03 09:05.09");
    clock.Set({2010, 12, 31, 23, 59, 59});
    EXPECT_EQ(GetTimeStamp(clock), "2010/12/31 23:59.59");
    clock.Set({2024, 1, 1, 0, 0, 0});
    EXPECT_EQ(GetTimeStamp(clock), "2024/01/01 00:00.00");

    const std::regex form(R"(\d{4}/\d\d/\d\d \d\d:\d\d\.\d\d)");
    EXPECT_TRUE(std::regex_match(GetTimeStamp(SystemClock()), form));
}

TEST(WatchTest, ResetWatchClearsStateButKeepsAddedBeforeChangeAndLists) {
    TWatchObject object = MakeWatch("http://host/page", "Title", ScanKeywords);
    object.Highlighted = true;
    object.Changed = 3;
    object.Watch.LastScan = "2007/02/03 09:05.07";
    object.Watch.LastChange = "2007/02/02 12:00.41";
    object.Watch.BeforeChange = "2007/02/01 10:00.00";
    object.Watch.MD5 = "900150983cd24fb0d6963f7d28e17f72";
    object.Watch.Keyword = {"deadline", "release"};
    object.Watch.Manual = 1;
    object.Watch.OriginalSize = 10;
    object.Watch.BeforeSize = 11;
    object.Watch.AfterSize = 12;
    object.ChangeHistory = {"2007/02/02 12:00.41"};

    ResetWatch(object);

    TWatchObject expected;
    expected.Watch.Added = "2007/02/01 18:30.05";
    expected.Watch.BeforeChange = "2007/02/01 10:00.00";
    expected.Watch.Keyword = {"deadline", "release"};
    expected.ChangeHistory = {"2007/02/02 12:00.41"};
    EXPECT_EQ(object, expected);
}

TEST(WatchTest, ChangeHistoryDropsOldestOnlyAtExactlyTwenty) {
    TWatchObject object;
    for (int i = 1; i <= 20; ++i) {
        AddChangeHistory(object, "s" + std::to_string(i));
    }
    ASSERT_EQ(object.ChangeHistory.size(), 20u);
    EXPECT_EQ(object.ChangeHistory.front(), "s1");

    AddChangeHistory(object, "s21");
    ASSERT_EQ(object.ChangeHistory.size(), 20u);
    EXPECT_EQ(object.ChangeHistory.front(), "s2");
    EXPECT_EQ(object.ChangeHistory.back(), "s21");

    // A longer list read from a data file is never shortened.
    object.ChangeHistory.assign(25, "old");
    AddChangeHistory(object, "new");
    ASSERT_EQ(object.ChangeHistory.size(), 26u);
    EXPECT_EQ(object.ChangeHistory.front(), "old");
    EXPECT_EQ(object.ChangeHistory.back(), "new");
}

TEST(WatchTest, AddressMD5IsDigestOfAddressFollowedByDecimalScanType) {
    TWatch watch;
    watch.Address = "http://www.example.com/news.html";
    EXPECT_EQ(ComputeAddressMD5(watch), "0df27c7521d2a4ce6065976e51a436cc");
    watch.ScanType = ScanKeywords;
    EXPECT_EQ(ComputeAddressMD5(watch), MD5Print(MD5String(watch.Address + "3")));
    watch.ScanType = 12;
    EXPECT_EQ(ComputeAddressMD5(watch), MD5Print(MD5String(watch.Address + "12")));
}

TEST(WatchTest, DigestTextIsExactlyThirtyTwoHexDigits) {
    EXPECT_TRUE(IsDigestText("0df27c7521d2a4ce6065976e51a436cc"));
    EXPECT_FALSE(IsDigestText(""));
    EXPECT_FALSE(IsDigestText("0df27c7521d2a4ce6065976e51a436c"));
    EXPECT_FALSE(IsDigestText("0df27c7521d2a4ce6065976e51a436cc0"));
    EXPECT_FALSE(IsDigestText("0df27c7521d2a4ce6065976e51a436cg"));
    EXPECT_FALSE(IsDigestText("../../0df27c7521d2a4ce6065976e51"));
}

TEST(SnapshotTest, ExtensionKeepsOnlyKnownExtensionsInTheirOwnCase) {
    const std::pair<std::string, std::string> cases[] = {
        {"http://host/", ".html"},
        {"http://www.host.com/", ".html"},
        {"http://host/files/report.pdf?x=1", ".html"},
        {"http://host/files/Report.PDF", ".PDF"},
        {"http://host/files/report.pdf", ".pdf"},
        {"http://host/pictures/Photo.JpG", ".JpG"},
        {"D:\\docs\\sheet.xls", ".xls"},
        {"D:\\docs\\notes.txt", ".html"},
        {"D:\\old.zip\\readme", ".html"},
        {"C:file", ".html"},
        {"", ".html"},
    };
    for (const auto& [address, expected] : cases) {
        EXPECT_EQ(SnapshotExtension(address), expected) << "address: " << address;
    }
}

TEST(SnapshotTest, FileNameJoinsFolderDigestSuffixAndExtension) {
    const TWatchObject object = MakeWatch("http://host/files/Report.PDF");
    const std::string md5 = ComputeAddressMD5(object.Watch);
    EXPECT_EQ(SnapshotFileName("/data/", object.Watch, SuffixOriginal), "/data/" + md5 + "_x.PDF");
    EXPECT_EQ(SnapshotFileName("/data/", object.Watch, SuffixBefore), "/data/" + md5 + "_b.PDF");
    EXPECT_EQ(SnapshotFileName("/data/", object.Watch, SuffixAfter), "/data/" + md5 + "_a.PDF");

    // A stored digest text is used as it is, even when it is not the address's.
    TWatch stored = object.Watch;
    stored.AddressMD5 = "ffffffffffffffffffffffffffffffff";
    EXPECT_EQ(SnapshotFileName("/data/", stored, SuffixAfter),
              "/data/ffffffffffffffffffffffffffffffff_a.PDF");
}

TEST(SnapshotTest, CraftedAddressMD5NeverLeavesTheDataFolder) {
    for (const std::string crafted :
         {"../../etc/passwd", "a/b", "..", "", "/abs", "0df27c7521d2a4ce6065976e51a436c/"}) {
        TWatch watch = MakeWatch("http://host/page.html").Watch;
        watch.AddressMD5 = crafted;
        const std::string name = SnapshotFileName("/data/", watch, SuffixAfter);
        ASSERT_EQ(name.rfind("/data/", 0), 0u) << crafted;
        const std::string rest = name.substr(6);
        EXPECT_EQ(rest.find('/'), std::string::npos) << crafted;
        EXPECT_EQ(rest.find(".."), std::string::npos) << crafted;
        EXPECT_EQ(rest, ComputeAddressMD5(watch) + "_a.html") << crafted;
    }
}

} // namespace
} // namespace zelmox
