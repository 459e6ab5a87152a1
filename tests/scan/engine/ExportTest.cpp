// Export of the watch list as lines of addresses.
#include "AddressList.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

TEST(ExportLineTest, NamesOnlyKeepsTheLastPartOfAnAddress) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://www.example.com/news/today.html", "today.html"},
        {"http://www.example.com/", ""},
        {"HTTP://host/Mixed/Case.HTM", "Case.HTM"},
        {"https://host/a/b.html", "b.html"},
        {"D:\\watch\\notes.txt", "notes.txt"},
        {"D:notes.txt", "notes.txt"},
        {"/home/u/notes.txt", "notes.txt"},
        {"www.example.com/index.html", "www.example.com/index.html"},
        {"notes.txt", "notes.txt"},
    };
    for (const auto& [address, line] : cases) {
        EXPECT_EQ(ExportLine(address, false), line) << address;
        EXPECT_EQ(ExportLine(address, true), address);
    }
}

TEST(ExportListTest, OneLinePerGridRowEmptySectionsIncluded) {
    SectionModel model;
    Section& second = *model.AddSection("Two");
    AddRow(second, AddedWatch("http://www.example.com/a.html", ScanEntireFile, "a"));
    AddRow(second, AddedWatch("D:\\watch\\notes.txt", ScanEntireFile, "b"));

    EXPECT_EQ(ExportList(model, true),
              "\r\nhttp://www.example.com/a.html\r\nD:\\watch\\notes.txt\r\n");
    EXPECT_EQ(ExportList(model, false), "\r\na.html\r\nnotes.txt\r\n");
}

TEST(ExportFileTest, AppendKeepsTheOldLinesAndReplaceDropsThem) {
    TempDir dir;
    const std::string path = dir.File("export.txt");
    WriteFile(path, "old one\r\nold two\r\n");

    ASSERT_TRUE(WriteExportFile(path, "new\r\n", true).Ok);
    EXPECT_EQ(ReadFile(path), "old one\r\nold two\r\nnew\r\n");

    ASSERT_TRUE(WriteExportFile(path, "only\r\n", false).Ok);
    EXPECT_EQ(ReadFile(path), "only\r\n");

    const std::string fresh = dir.File("fresh.txt");
    ASSERT_TRUE(WriteExportFile(fresh, "first\r\n", true).Ok) << "appending creates the file";
    EXPECT_EQ(ReadFile(fresh), "first\r\n");

    EXPECT_FALSE(WriteExportFile(dir.File("no-folder/x.txt"), "x\r\n", false).Ok);
}

} // namespace
} // namespace zelmox::test
