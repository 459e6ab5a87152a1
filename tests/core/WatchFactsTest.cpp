#include "WatchFacts.h"

#include "CoreTestUtil.h"
#include "Snapshot.h"
#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace zelmox {
namespace {

TEST(SizeTextTest, BytesUpTo1023ThenTwoDecimalsOfTheLargestUnit) {
    const struct {
        std::int64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0.00K"},           {1, "1 bytes"},
        {1023, "1023 bytes"},   {1024, "1.00K"},
        {1600, "1.56K"},        {1048575, "1024.00K"},
        {1048576, "1.00MB"},    {1073741823, "1024.00MB"},
        {1073741824, "1.00GB"}, {-1, "0.00K"},
        {-1536, "-1.50K"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SizeText(c.bytes), c.text) << c.bytes;
    }
    EXPECT_EQ(SizeText(1600, ","), "1,56K");
}

TWatchObject AtLevel(int changed, int afterSize, int manual = 0) {
    TWatchObject object = test::MakeWatch("http://host/" + std::to_string(afterSize));
    object.Changed = changed;
    object.Watch.AfterSize = afterSize;
    object.Watch.Manual = manual;
    return object;
}

TEST(StatisticsTest, ManualCountsOnlyAtLevelZeroAndUnknownLevelsNotAtAll) {
    Section section(0, "S");
    for (const TWatchObject& watch :
         {AtLevel(0, 1, 1), AtLevel(3, 1, 1), AtLevel(4, 1), AtLevel(7, 1), AtLevel(0, -8)}) {
        section.AddWatchRow(watch, "0");
    }
    using Row = std::array<std::string, StatisticsHeader.size()>;
    EXPECT_EQ(StatisticsRow(section, "."),
              (Row{"S", "0.00K", "5", "1", "0", "0", "1", "1", "1", "0"}));
}

// The lines of a watch's information page, "label|value" with "|missing" for a version that is
// not stored, then the history.
std::vector<std::string> Shown(const TWatchObject& object, const std::string& folder) {
    std::vector<std::string> lines;
    for (const InformationLine& line : WatchInformation(object, folder)) {
        lines.push_back(line.Label + "|" + line.Value + (line.PageMissing ? "|missing" : ""));
    }
    for (const std::string& entry : HistoryNewestFirst(object)) {
        lines.push_back(entry);
    }
    return lines;
}

TEST(WatchInformationTest, EveryFieldInOrderWithMissingVersionsAndHistoryNewestFirst) {
    test::TempDir data;
    TWatchObject changed = test::MakeWatch("http://host/news", "News", ScanTextBetweenTags);
    changed.Watch.MD5 = "900150983cd24fb0d6963f7d28e17f72";
    changed.Watch.AfterSize = 12;
    for (int i = 1; i <= 21; ++i) {
        AddChangeHistory(changed, "stamp " + std::to_string(i));
    }
    std::ofstream(SnapshotFileName(data.Folder(), changed.Watch, SuffixAfter)) << "page";
    const std::vector<std::string> lines = Shown(changed, data.Folder());
    EXPECT_EQ(
        std::vector<std::string>(lines.begin(), lines.begin() + 13),
        (std::vector<std::string>{"Description|News", "Address|http://host/news",
                                  "Scan Type|Only text between tags.", "Added|2007/02/01 18:30.05",
                                  "Last Scan|n/a", "Last Change|n/a", "Before Change|n/a",
                                  "Original Size|0 bytes|missing", "Before Size|0 bytes|missing",
                                  "After Size|12 bytes", "MD5|900150983cd24fb0d6963f7d28e17f72",
                                  "Save Prefix|" + changed.Watch.AddressMD5, "stamp 21"}));
    EXPECT_EQ(lines.size(), 12u + 20u);
    EXPECT_EQ(lines.back(), "stamp 2");
    // After the snapshot folder changed, no version is found.
    test::TempDir other;
    EXPECT_EQ(Shown(changed, other.Folder())[9], "After Size|12 bytes|missing");

    // The empty placeholder of a section.
    const std::vector<std::string> placeholder = Shown(TWatchObject{}, data.Folder());
    EXPECT_EQ(placeholder.front(), "Description|<none>");
    EXPECT_EQ(placeholder.back(), "None available.");
    changed.Watch.ScanType = 9;
    EXPECT_EQ(Shown(changed, data.Folder())[2], "Scan Type|....");
}

} // namespace
} // namespace zelmox
