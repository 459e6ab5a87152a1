#include "WatchFacts.h"

#include "CoreTestUtil.h"
#include "Snapshot.h"
#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace zelmox {
namespace {

using test::MakeWatch;

TEST(SizeTextTest, BytesUpTo1023ThenTwoDecimalsOfTheLargestUnit) {
    const struct {
        std::int64_t bytes;
        const char* separator;
        const char* text;
    } cases[] = {
        {0, ".", "0.00K"},           {1, ".", "1 bytes"},
        {512, ".", "512 bytes"},     {1023, ".", "1023 bytes"},
        {1024, ".", "1.00K"},        {1600, ".", "1.56K"},
        {1600, ",", "1,56K"},        {1048575, ".", "1024.00K"},
        {1048576, ".", "1.00MB"},    {1073741823, ".", "1024.00MB"},
        {1073741824, ".", "1.00GB"}, {5LL * 1073741824 + 536870912, ".", "5.50GB"},
        {-1, ".", "0.00K"},          {-1536, ".", "-1.50K"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SizeText(c.bytes, c.separator), c.text) << c.bytes;
    }
}

TWatchObject AtLevel(int changed, int afterSize, int manual = 0) {
    TWatchObject object = MakeWatch("http://host/" + std::to_string(afterSize));
    object.Changed = changed;
    object.Watch.AfterSize = afterSize;
    object.Watch.Manual = manual;
    return object;
}

TEST(StatisticsTest, RowCountsEveryRowByChangeLevelAndSumsTheCurrentSizes) {
    using Row = std::array<std::string, StatisticsHeader.size()>;
    const struct {
        std::vector<TWatchObject> watches;
        Row row;
    } cases[] = {
        {{AtLevel(0, 1000), AtLevel(1, 600)},
         {"S", "1.56K", "2", "1", "1", "0", "0", "0", "0", "0"}},
        {{AtLevel(2, 300)}, {"S", "300 bytes", "1", "0", "0", "1", "0", "0", "0", "0"}},
        {{AtLevel(ChangedFailed, 0)}, {"S", "0.00K", "1", "0", "0", "0", "0", "0", "0", "1"}},
        // The empty section's placeholder row counts as a row at level 0.
        {{}, {"S", "0.00K", "1", "1", "0", "0", "0", "0", "0", "0"}},
        // A manual watch counts as manual only at level 0; an unknown level is not counted.
        {{AtLevel(0, 1, 1), AtLevel(3, 1, 1), AtLevel(4, 1), AtLevel(7, 1), AtLevel(0, -8)},
         {"S", "0.00K", "5", "1", "0", "0", "1", "1", "1", "0"}},
    };
    for (const auto& c : cases) {
        Section section(0, "S");
        for (const TWatchObject& watch : c.watches) {
            section.AddWatchRow(watch, "0");
        }
        EXPECT_EQ(StatisticsRow(section, "."), c.row) << c.row[1];
    }
}

std::vector<std::string> Shown(const TWatchObject& object, const std::string& folder) {
    std::vector<std::string> lines;
    for (const InformationLine& line : WatchInformation(object, folder)) {
        lines.push_back(line.Label + "|" + line.Value + (line.PageMissing ? "|missing" : ""));
    }
    for (const std::string& entry : HistoryNewestFirst(object)) {
        lines.push_back("history|" + entry);
    }
    return lines;
}

TEST(WatchInformationTest, EveryFieldInOrderWithMissingVersionsAndHistoryNewestFirst) {
    test::TempDir data;
    TWatchObject changed = MakeWatch("http://host/news", "News", ScanTextBetweenTags);
    changed.Watch.LastScan = "2007/02/03 09:05.07";
    changed.Watch.LastChange = "2007/02/03 09:05.07";
    changed.Watch.MD5 = "900150983cd24fb0d6963f7d28e17f72";
    changed.Watch.OriginalSize = 10;
    changed.Watch.BeforeSize = 11;
    changed.Watch.AfterSize = 12;
    changed.ChangeHistory = {"2007/02/02 10:00.00", "2007/02/03 09:05.07"};
    for (const std::string_view suffix : {SuffixOriginal, SuffixAfter}) {
        std::ofstream(SnapshotFileName(data.Folder(), changed.Watch, suffix)) << "page";
    }
    const std::string prefix = changed.Watch.AddressMD5;
    EXPECT_EQ(
        Shown(changed, data.Folder()),
        (std::vector<std::string>{
            "Description|News", "Address|http://host/news", "Scan Type|Only text between tags.",
            "Added|2007/02/01 18:30.05", "Last Scan|2007/02/03 09:05.07",
            "Last Change|2007/02/03 09:05.07", "Before Change|n/a", "Original Size|10 bytes",
            "Before Size|11 bytes|missing", "After Size|12 bytes",
            "MD5|900150983cd24fb0d6963f7d28e17f72", "Save Prefix|" + prefix,
            "history|2007/02/03 09:05.07", "history|2007/02/02 10:00.00"}));
    // After the snapshot folder changed, no version is found.
    test::TempDir other;
    const std::vector<std::string> moved = Shown(changed, other.Folder());
    EXPECT_EQ(std::count_if(moved.begin(), moved.end(),
                            [](const std::string& line) { return line.ends_with("|missing"); }),
              3);

    // The empty placeholder of a section, and a manual watch that was never fetched.
    TWatchObject manual = MakeWatch("notes.txt", "", ScanKeywords);
    manual.Watch.Manual = 1;
    for (const TWatchObject& object : {TWatchObject{}, manual}) {
        const std::vector<std::string> lines = Shown(object, data.Folder());
        EXPECT_EQ(lines[0], "Description|<none>");
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 7, lines.begin() + 10),
                  (std::vector<std::string>{"Original Size|0 bytes|missing",
                                            "Before Size|0 bytes|missing",
                                            "After Size|0 bytes|missing"}));
        EXPECT_EQ(lines.back(), "history|None available.");
    }
    EXPECT_EQ(Shown(manual, data.Folder())[2], "Scan Type|Keyword scan.");
    manual.Watch.ScanType = 9;
    EXPECT_EQ(Shown(manual, data.Folder())[2], "Scan Type|....");
}

TEST(WatchInformationTest, TwentyHistoryEntriesNewestFirst) {
    TWatchObject object;
    for (int i = 1; i <= 21; ++i) {
        AddChangeHistory(object, "stamp " + std::to_string(i));
    }
    const std::vector<std::string> history = HistoryNewestFirst(object);
    ASSERT_EQ(history.size(), 20u);
    EXPECT_EQ(history.front(), "stamp 21");
    EXPECT_EQ(history.back(), "stamp 2");
}

} // namespace
} // namespace zelmox
