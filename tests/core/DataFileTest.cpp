#include "DataFile.h"

#include "CoreTestUtil.h"
#include "FileSizeCap.h"
#include "TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zelmox {
namespace {

using test::CrLf;
using test::FileExists;
using test::MakeWatch;
using test::ReadFile;
using test::WatchOf;
using test::WriteFile;

// The two-section file of the format description, byte for byte as SaveData writes it.
const std::string ExampleFile = CrLf({
    "$Default",
    "{",
    "Description=Example news",
    "Address=http://www.example.com/news.html",
    "AddressMD5=0df27c7521d2a4ce6065976e51a436cc",
    "ScanType=0",
    "Added=2007/02/01 18:30.05",
    "LastScan=2007/02/03 09:05.07",
    "LastChange=2007/02/02 12:00.41",
    "BeforeChange=n/a",
    "MD5=900150983cd24fb0d6963f7d28e17f72",
    "OriginalSize=5120",
    "BeforeSize=5120",
    "AfterSize=5342",
    "Changed=1",
    "Manual=0",
    "ChangeHistory=2007/02/02 12:00.41",
    "}",
    "",
    "$Local files",
    "{",
    "Description=Notes",
    "Address=D:\\watch\\notes.txt",
    "AddressMD5=4aa44b04c5f20b5e4a386d07194fd18a",
    "ScanType=3",
    "Added=2007/02/03 09:10.00",
    "LastScan=n/a",
    "LastChange=n/a",
    "BeforeChange=n/a",
    "MD5=",
    "OriginalSize=0",
    "BeforeSize=0",
    "AfterSize=0",
    "Changed=0",
    "Manual=1",
    "Keyword=deadline",
    "Keyword=release",
    "}",
    "",
});

std::string WithoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class DataFileTest : public ::testing::Test {
protected:
    // Writes the bytes to a file of the temporary folder and returns its path.
    std::string Put(const std::string& bytes, const std::string& name = "list.zelmox") {
        const std::string path = dir_.File(name);
        WriteFile(path, bytes);
        return path;
    }

    DataFileResult Load(const std::string& bytes) { return LoadData(model_, Put(bytes)); }
    DataFileResult Merge(const std::string& bytes) {
        return MergeData(model_, Put(bytes, "merge.zelmox"));
    }

    // A file of one section holding one watch made of the given key lines.
    static std::string OneWatch(std::initializer_list<std::string_view> keys) {
        std::string text = CrLf({"$S", "{"});
        text += CrLf(keys);
        text += CrLf({"}"});
        return text;
    }

    const TWatch& Only(int tab = 0) const {
        EXPECT_EQ(model_.Tab(tab).WatchCount(), 1);
        return WatchOf(model_, tab, model_.Tab(tab).RowCount() - 1);
    }

    test::TempDir dir_;
    SectionModel model_;
};

TEST_F(DataFileTest, ExampleFileRoundTripsByteForByte) {
    const std::string path = Put(ExampleFile);
    const DataFileResult loaded = LoadData(model_, path);
    ASSERT_TRUE(loaded.Ok) << loaded.Error;
    EXPECT_EQ(loaded.RecentPath, path);
    EXPECT_EQ(loaded.SectionsRefused, 0);
    EXPECT_EQ(model_.CurrentFileName, path);

    ASSERT_EQ(model_.TabCount(), 2);
    EXPECT_EQ(model_.Tab(0).Name, "Default");
    EXPECT_EQ(model_.Tab(1).Name, "Local files");
    EXPECT_EQ(model_.ActiveTab(), 1);

    const WatchRow& news = model_.Tab(0).Row(1);
    EXPECT_TRUE(news.Object.Highlighted);
    EXPECT_EQ(news.Object.Changed, 1);
    EXPECT_EQ(news.Cells[ColSortKey], "1");
    EXPECT_EQ(news.Cells[ColLastCheck], "2007/02/03 09:05.07");
    EXPECT_EQ(news.Object.Watch.AfterSize, 5342);
    EXPECT_EQ(news.Object.ChangeHistory, std::vector<std::string>{"2007/02/02 12:00.41"});

    const TWatchObject& notes = model_.Tab(1).Row(1).Object;
    EXPECT_FALSE(notes.Highlighted);
    EXPECT_EQ(notes.Watch.Address, "D:\\watch\\notes.txt");
    EXPECT_EQ(notes.Watch.ScanType, ScanKeywords);
    EXPECT_EQ(notes.Watch.Manual, 1);
    EXPECT_EQ(notes.Watch.Keyword, (std::vector<std::string>{"deadline", "release"}));
    EXPECT_TRUE(notes.ChangeHistory.empty());
    EXPECT_EQ(model_.Tab(1).Row(1).Cells[ColSortKey], "0");

    const std::string copy = dir_.File("copy.zelmox");
    const DataFileResult saved = SaveData(model_, copy);
    ASSERT_TRUE(saved.Ok) << saved.Error;
    EXPECT_EQ(model_.CurrentFileName, copy);
    EXPECT_EQ(ReadFile(copy), ExampleFile);
}

TEST_F(DataFileTest, ReadsBareLineFeedsAndWritesCrLf) {
    ASSERT_TRUE(Load(WithoutCr(ExampleFile)).Ok);
    ASSERT_EQ(model_.TabCount(), 2);
    EXPECT_EQ(model_.Tab(1).Name, "Local files");
    EXPECT_EQ(WatchOf(model_, 1, 1).Keyword.back(), "release");

    const std::string copy = dir_.File("copy.zelmox");
    ASSERT_TRUE(SaveData(model_, copy).Ok);
    EXPECT_EQ(ReadFile(copy), ExampleFile);
}

TEST_F(DataFileTest, EmptySectionsSaveAsHeaderAndEmptyLine) {
    model_.AddSection("North");
    model_.AddSection("");
    // A section whose only watch was deleted keeps a placeholder that is not written.
    model_.Tab(1).AddWatchRow(MakeWatch("http://a/"), "*");
    model_.Tab(1).DeleteRow(1);

    const std::string path = dir_.File("empty.zelmox");
    ASSERT_TRUE(SaveData(model_, path).Ok);
    EXPECT_EQ(ReadFile(path), CrLf({"$Default", "", "$North", "", "$", ""}));

    SectionModel loaded;
    ASSERT_TRUE(LoadData(loaded, path).Ok);
    ASSERT_EQ(loaded.TabCount(), 3);
    EXPECT_EQ(loaded.Tab(1).Name, "North");
    EXPECT_EQ(loaded.Tab(2).Name, "");
    for (int tab = 0; tab < 3; ++tab) {
        EXPECT_TRUE(loaded.Tab(tab).IsEmpty()) << tab;
    }
}

TEST_F(DataFileTest, SaveWritesNumbersPlainlyAndReplacesTheWholeFile) {
    TWatchObject object = MakeWatch("http://h/?a=b&c=d", "x=y");
    object.Watch.BeforeSize = -5;
    object.Highlighted = true; // not stored: derived from Changed
    model_.Tab(0).AddWatchRow(object, "*");

    const std::string path = Put(std::string(5000, '#'));
    ASSERT_TRUE(SaveData(model_, path).Ok);
    const std::string bytes = ReadFile(path);
    EXPECT_EQ(bytes.find('#'), std::string::npos);
    EXPECT_NE(bytes.find("\r\nBeforeSize=-5\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nChanged=0\r\n"), std::string::npos);

    ASSERT_TRUE(LoadData(model_, path).Ok);
    EXPECT_EQ(Only().Address, "http://h/?a=b&c=d");
    EXPECT_EQ(Only().Description, "x=y");
    EXPECT_EQ(Only().BeforeSize, -5);
    EXPECT_FALSE(model_.Tab(0).Row(1).Object.Highlighted);
}

TEST_F(DataFileTest, ChangedLevelsAndTheFailedMarkHighlightAnythingElseReadsAsZero) {
    const struct {
        const char* value;
        std::int32_t changed;
        bool highlighted;
    } cases[] = {{"0", 0, false},    {"1", 1, true},   {"4", 4, true},
                 {"999", 999, true}, {"5", 0, false},  {"998", 0, false},
                 {"1000", 0, false}, {"-1", 0, false}, {"-2147483648", 0, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Load(OneWatch({"Address=http://a/", std::string("Changed=") + c.value})).Ok);
        const WatchRow& row = model_.Tab(0).Row(1);
        EXPECT_EQ(row.Object.Changed, c.changed) << c.value;
        EXPECT_EQ(row.Object.Highlighted, c.highlighted) << c.value;
        EXPECT_EQ(row.Cells[ColSortKey], std::to_string(c.changed)) << c.value;
    }
}

TEST_F(DataFileTest, OldDayFirstStampsAreConvertedOnLoadOnly) {
    const std::string file =
        OneWatch({"Address=http://a/", "Added=01/02/2007 18:30.05", "LastScan=03/02/2007 10:00.00",
                  "LastChange=02/02/2007 12:00.41", "BeforeChange=01/02/2007 11:00.00",
                  "ChangeHistory=02/02/2007 12:00.41"});
    ASSERT_TRUE(Load(file).Ok);
    EXPECT_EQ(Only().Added, "2007/02/01 18:30.05");
    EXPECT_EQ(Only().LastScan, "2007/02/03 10:00.00");
    EXPECT_EQ(Only().LastChange, "2007/02/02 12:00.41");
    EXPECT_EQ(model_.Tab(0).Row(1).Cells[ColLastCheck], "2007/02/03 10:00.00");
    EXPECT_EQ(Only().BeforeChange, "01/02/2007 11:00.00");
    EXPECT_EQ(model_.Tab(0).Row(1).Object.ChangeHistory.front(), "02/02/2007 12:00.41");

    model_.ClearApplication();
    ASSERT_TRUE(Merge(file).Ok);
    EXPECT_EQ(Only(1).Added, "01/02/2007 18:30.05");
    EXPECT_EQ(Only(1).LastScan, "03/02/2007 10:00.00");
    EXPECT_EQ(Only(1).LastChange, "02/02/2007 12:00.41");
}

TEST_F(DataFileTest, EmptyAndMissingStamps) {
    const std::string file =
        OneWatch({"Address=http://a/", "Added=", "LastScan=", "LastChange=", "BeforeChange="});
    ASSERT_TRUE(Load(file).Ok);
    EXPECT_EQ(Only().Added, "<unknown>");
    EXPECT_EQ(Only().LastScan, "n/a");
    EXPECT_EQ(Only().LastChange, "n/a");
    EXPECT_EQ(Only().BeforeChange, "<unknown>");

    model_.ClearApplication();
    ASSERT_TRUE(Merge(file).Ok);
    EXPECT_EQ(Only(1).Added, "<unknown>");
    EXPECT_EQ(Only(1).LastScan, "");
    EXPECT_EQ(Only(1).LastChange, "");

    ASSERT_TRUE(Load(OneWatch({"Address=http://a/"})).Ok);
    EXPECT_EQ(Only().Added, "");
    EXPECT_EQ(Only().LastScan, "");
}

TEST_F(DataFileTest, MissingAddressMD5IsComputedOnLoadButNotOnMerge) {
    const std::string file = OneWatch({"Address=http://www.example.com/news.html", "ScanType=0"});
    ASSERT_TRUE(Load(file).Ok);
    EXPECT_EQ(Only().AddressMD5, "0df27c7521d2a4ce6065976e51a436cc");

    model_.ClearApplication();
    ASSERT_TRUE(Merge(file).Ok);
    EXPECT_EQ(Only(1).AddressMD5, "");
}

TEST_F(DataFileTest, AddressMD5ThatIsNotADigestTextIsRecomputed) {
    const std::string expected = "0df27c7521d2a4ce6065976e51a436cc";
    for (const std::string bad :
         {"../../x", "0df27c7521d2a4ce6065976e51a436c", "0df27c7521d2a4ce6065976e51a436cc0", "a/b",
          "0df27c7521d2a4ce6065976e51a436c/"}) {
        const std::string file = OneWatch(
            {"Address=http://www.example.com/news.html", "ScanType=0", "AddressMD5=" + bad});
        ASSERT_TRUE(Load(file).Ok);
        EXPECT_EQ(Only().AddressMD5, expected) << "load: " << bad;
        model_.ClearApplication();
        ASSERT_TRUE(Merge(file).Ok);
        EXPECT_EQ(Only(1).AddressMD5, expected) << "merge: " << bad;
    }

    // A digest text is kept as read even when it is not the address's.
    const std::string file = OneWatch({"Address=http://www.example.com/news.html",
                                       "AddressMD5=ffffffffffffffffffffffffffffffff"});
    ASSERT_TRUE(Load(file).Ok);
    EXPECT_EQ(Only().AddressMD5, "ffffffffffffffffffffffffffffffff");
    model_.ClearApplication();
    ASSERT_TRUE(Merge(file).Ok);
    EXPECT_EQ(Only(1).AddressMD5, "ffffffffffffffffffffffffffffffff");
}

TEST_F(DataFileTest, KeyLinesInAnyOrderRepeatedKeysAndLongHistories) {
    std::string file = CrLf({"$S", "{", "ChangeHistory=h0", "Keyword=b", "Address=http://first/",
                             "ScanType=2", "Keyword=a", "Address=http://last/", "BeforeChangeX=v",
                             "Unknown=1", "address=ignored"});
    for (int i = 1; i < 25; ++i) {
        file += CrLf({"ChangeHistory=h" + std::to_string(i)});
    }
    file += CrLf({"}"});
    ASSERT_TRUE(Load(file).Ok);
    EXPECT_EQ(Only().Address, "http://last/");
    EXPECT_EQ(Only().ScanType, 2);
    EXPECT_EQ(Only().BeforeChange, "v");
    EXPECT_EQ(Only().Keyword, (std::vector<std::string>{"b", "a"}));

    TWatchObject& object = model_.Tab(0).Row(1).Object;
    ASSERT_EQ(object.ChangeHistory.size(), 25u);
    EXPECT_EQ(object.ChangeHistory.front(), "h0");
    EXPECT_EQ(object.ChangeHistory.back(), "h24");
    AddChangeHistory(object, "new");
    EXPECT_EQ(object.ChangeHistory.size(), 26u);
}

TEST_F(DataFileTest, LinesOutsideAWatchBlockAreIgnored) {
    ASSERT_TRUE(Load(CrLf({"Address=http://stray/", "}", "{", "Address=http://before-header/", "}",
                           "$Named", "Description=stray", "}", "{", "Address=http://a/", "}",
                           "Address=http://also-stray/", "}"}))
                    .Ok);
    ASSERT_EQ(model_.TabCount(), 1);
    EXPECT_EQ(model_.Tab(0).Name, "Named");
    ASSERT_EQ(model_.Tab(0).WatchCount(), 2);
    EXPECT_EQ(WatchOf(model_, 0, 1).Address, "http://before-header/");
    EXPECT_EQ(WatchOf(model_, 0, 2).Address, "http://a/");
    EXPECT_EQ(WatchOf(model_, 0, 2).Description, "");
}

TEST_F(DataFileTest, LoadReplacesWhatWasShown) {
    model_.Tab(0).AddWatchRow(MakeWatch("http://old/"), "*");
    model_.AddSection("Old")->ChangeMark = true;
    model_.AddSection("Older");
    ASSERT_TRUE(Load(CrLf({"{", "Address=http://new/", "}"})).Ok);
    ASSERT_EQ(model_.TabCount(), 1);
    EXPECT_EQ(model_.Tab(0).Name, "Default");
    EXPECT_EQ(Only().Address, "http://new/");
    EXPECT_EQ(model_.ActiveTab(), 0);
}

TEST_F(DataFileTest, MergeAddsNewSectionsAfterExistingOnes) {
    model_.Tab(0).AddWatchRow(MakeWatch("http://mine/"), "*");
    model_.AddSection("North");
    model_.SetActiveTab(0);
    model_.CurrentFileName = "/somewhere/mine.zelmox";

    const DataFileResult merged = Merge(CrLf({"{", "Address=http://headless/", "}"}) + ExampleFile);
    ASSERT_TRUE(merged.Ok);
    EXPECT_EQ(merged.RecentPath, "");
    EXPECT_EQ(model_.CurrentFileName, "");
    ASSERT_EQ(model_.TabCount(), 4);
    EXPECT_EQ(model_.Tab(0).Name, "Default");
    EXPECT_EQ(model_.Tab(2).Name, "Default");
    EXPECT_EQ(model_.Tab(3).Name, "Local files");
    EXPECT_EQ(model_.ActiveTab(), 3);
    EXPECT_EQ(Only(0).Address, "http://mine/");
    EXPECT_EQ(Only(1).Address, "http://headless/"); // the section last when merging began
    EXPECT_EQ(Only(2).Address, "http://www.example.com/news.html");
    EXPECT_EQ(Only(3).Address, "D:\\watch\\notes.txt");
}

TEST_F(DataFileTest, MergingAFileIntoItselfDoublesEverything) {
    const std::string path = Put(ExampleFile);
    ASSERT_TRUE(LoadData(model_, path).Ok);
    ASSERT_TRUE(MergeData(model_, path).Ok);
    ASSERT_EQ(model_.TabCount(), 4);
    EXPECT_EQ(model_.WatchCount(), 4);
    EXPECT_EQ(model_.Tab(2).Name, "Default");
    EXPECT_EQ(model_.Tab(3).Name, "Local files");
    EXPECT_EQ(model_.Tab(2).Row(1).Object, model_.Tab(0).Row(1).Object);
    EXPECT_EQ(model_.Tab(3).Row(1).Object, model_.Tab(1).Row(1).Object);
    EXPECT_EQ(model_.CurrentFileName, "");
}

TEST_F(DataFileTest, SectionsBeyondTwentyAreRefusedAndTheirWatchesGoToTheLast) {
    std::string file;
    for (int i = 1; i <= 22; ++i) {
        file += CrLf(
            {"$S" + std::to_string(i), "{", "Address=http://w" + std::to_string(i) + "/", "}"});
    }
    const DataFileResult loaded = Load(file);
    ASSERT_TRUE(loaded.Ok);
    EXPECT_EQ(loaded.SectionsRefused, 2);
    ASSERT_EQ(model_.TabCount(), 20);
    EXPECT_EQ(model_.Tab(19).Name, "S20");
    EXPECT_EQ(model_.ActiveTab(), 19);
    ASSERT_EQ(model_.Tab(19).WatchCount(), 3);
    EXPECT_EQ(WatchOf(model_, 19, 3).Address, "http://w22/");
    EXPECT_EQ(model_.WatchCount(), 22);

    const DataFileResult merged = Merge(CrLf({"$More", "{", "Address=http://m/", "}"}));
    EXPECT_TRUE(merged.Ok);
    EXPECT_EQ(merged.SectionsRefused, 1);
    EXPECT_EQ(model_.TabCount(), 20);
    EXPECT_EQ(WatchOf(model_, 19, 4).Address, "http://m/");
}

TEST_F(DataFileTest, MalformedIntegerStopsReadingAndForgetsTheFileName) {
    const std::string path =
        Put(CrLf({"$A", "{", "Address=http://a/", "}", "$B", "{", "Address=http://b/",
                  "ScanType=abc", "}", "$C", "{", "Address=http://c/", "}"}));
    const DataFileResult loaded = LoadData(model_, path);
    EXPECT_FALSE(loaded.Ok);
    EXPECT_EQ(loaded.Error, "'abc' is not a valid integer value");
    EXPECT_EQ(loaded.RecentPath, "");
    EXPECT_EQ(model_.CurrentFileName, "");
    ASSERT_EQ(model_.TabCount(), 2);
    EXPECT_EQ(model_.Tab(1).Name, "B");
    EXPECT_EQ(Only(0).Address, "http://a/");
    EXPECT_TRUE(model_.Tab(1).IsEmpty());
}

TEST_F(DataFileTest, EveryIntegerKeyRejectsMalformedValues) {
    for (const std::string key :
         {"ScanType=", "BeforeSize=", "AfterSize=", "OriginalSize=", "Manual=", "Changed="}) {
        for (const std::string value : {"abc", "", "1x", "2147483648", "1.5", "+-5"}) {
            const DataFileResult result = Load(OneWatch({"Address=http://a/", key + value}));
            EXPECT_FALSE(result.Ok) << key << value;
            EXPECT_EQ(result.Error, "'" + value + "' is not a valid integer value") << key;
            EXPECT_TRUE(model_.Tab(0).IsEmpty()) << key << value;
        }
        const DataFileResult result = Load(OneWatch({"Address=http://a/", key + "-2147483648"}));
        EXPECT_TRUE(result.Ok) << key;
    }
    const DataFileResult merged = Merge(OneWatch({"Address=http://a/", "Manual=yes"}));
    EXPECT_FALSE(merged.Ok);
    EXPECT_EQ(merged.Error, "'yes' is not a valid integer value");
}

TEST_F(DataFileTest, LoadOrMergeOfAnUnreadablePathChangesNothing) {
    model_.Tab(0).AddWatchRow(MakeWatch("http://mine/"), "*");
    model_.AddSection("North");
    model_.CurrentFileName = "/somewhere/mine.zelmox";
    const std::string folder = dir_.File("folder.zelmox");
    std::filesystem::create_directory(folder);

    for (const std::string& path : {dir_.File("missing.zelmox"), folder}) {
        for (const bool merge : {false, true}) {
            const DataFileResult result = merge ? MergeData(model_, path) : LoadData(model_, path);
            EXPECT_FALSE(result.Ok) << path;
            EXPECT_NE(result.Error.find(path), std::string::npos) << result.Error;
            EXPECT_EQ(result.RecentPath, "");
            ASSERT_EQ(model_.TabCount(), 2);
            EXPECT_EQ(model_.Tab(1).Name, "North");
            EXPECT_EQ(Only().Address, "http://mine/");
            EXPECT_EQ(model_.CurrentFileName, "/somewhere/mine.zelmox");
        }
    }
}

TEST_F(DataFileTest, FileThatIsNoWatchListIsRefusedUnlessItIsEmpty) {
    using namespace std::string_literals;
    const std::pair<std::string, bool> cases[] = {
        {"\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0"s, false},
        {"random \x01\xff bytes\0 $ not at a line start"s, false},
        {"Address=http://a/\r\nDescription=keys outside any block\r\n", false},
        {"{\r\nAddress=http://a/\r\n", false},
        {"}\r\n{\r\n", false},
        {"", true},
        {"\r\n\n", true},
        {"$S\r\n", true},
        {"{\r\n}\r\n", true},
        {"\0noise\n$Later\n"s, false},
        {"GIF89a\x01\0\n{\n}\n$x\n"s, false},
        {"{\n  \"name\": \"a JSON file\"\n}\n", false},
        {"\r\n{\r\nAddress=http://a/\r\n}\r\n", true},
    };
    for (const auto& [bytes, isList] : cases) {
        for (const bool merge : {false, true}) {
            model_ = SectionModel();
            model_.Tab(0).AddWatchRow(MakeWatch("http://mine/"), "*");
            model_.CurrentFileName = "/somewhere/mine.zelmox";
            const std::string path = Put(bytes);
            const DataFileResult result = merge ? MergeData(model_, path) : LoadData(model_, path);
            EXPECT_EQ(result.Opened, isList) << testing::PrintToString(bytes);
            if (!isList) {
                EXPECT_FALSE(result.Ok);
                EXPECT_EQ(result.Error, "\"" + path + "\" is not a Zelmox watch list.");
                EXPECT_EQ(Only().Address, "http://mine/");
                EXPECT_EQ(model_.CurrentFileName, "/somewhere/mine.zelmox");
            }
        }
    }
}

TEST_F(DataFileTest, FailedSaveReportsThePathAndLeavesEverythingAsItWas) {
    model_.Tab(0).AddWatchRow(MakeWatch("http://a/"), "*");
    model_.CurrentFileName = "/somewhere/mine.zelmox";
    const std::string folder = dir_.File("folder.zelmox");
    std::filesystem::create_directory(folder);

    for (const std::string& path : {dir_.File("no-such-folder/list.zelmox"), folder}) {
        const DataFileResult result = SaveData(model_, path);
        EXPECT_FALSE(result.Ok) << path;
        EXPECT_NE(result.Error.find(path), std::string::npos) << result.Error;
        EXPECT_EQ(model_.CurrentFileName, "/somewhere/mine.zelmox");
        EXPECT_TRUE(std::filesystem::is_directory(folder));
        EXPECT_EQ(FolderEntries(dir_.Folder()), std::vector<std::string>{"folder.zelmox"});
    }
}

TEST_F(DataFileTest, SaveThatFailsMidWriteKeepsTheOldFile) {
    const std::string path = Put(ExampleFile);
    for (int i = 0; i < 200; ++i) {
        model_.Tab(0).AddWatchRow(MakeWatch("http://host/page" + std::to_string(i)), "*");
    }

    // Cap the size of files this process may write so the new file cannot be completed.
    DataFileResult result;
    {
        const test::FileSizeCap cap(4096);
        ASSERT_TRUE(cap.Active());
        result = SaveData(model_, path);
    }

    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Error.find(path), std::string::npos) << result.Error;
    EXPECT_EQ(model_.CurrentFileName, "");
    EXPECT_EQ(ReadFile(path), ExampleFile);
    EXPECT_EQ(FolderEntries(dir_.Folder()), std::vector<std::string>{"list.zelmox"});
}

TEST_F(DataFileTest, LineBreaksInValuesAreSavedAsSpaces) {
    model_.Tab(0).Name = "Top\r\n$Second";
    TWatchObject object = MakeWatch("http://a/\nAddress=http://evil/", "x\r\n}\r\n$Injected");
    object.Watch.Keyword = {"one\r\ntwo", "plain"};
    object.ChangeHistory = {"2007/02/02 12:00.41\r\n{"};
    model_.Tab(0).AddWatchRow(object, "*");

    const std::string path = dir_.File("list.zelmox");
    ASSERT_TRUE(SaveData(model_, path).Ok);
    EXPECT_EQ(ReadFile(path).find("\r\n$Injected"), std::string::npos);

    SectionModel loaded;
    ASSERT_TRUE(LoadData(loaded, path).Ok);
    ASSERT_EQ(loaded.TabCount(), 1);
    EXPECT_EQ(loaded.Tab(0).Name, "Top  $Second");
    ASSERT_EQ(loaded.WatchCount(), 1);
    const TWatchObject& back = loaded.Tab(0).Row(1).Object;
    EXPECT_EQ(back.Watch.Description, "x  }  $Injected");
    EXPECT_EQ(back.Watch.Address, "http://a/ Address=http://evil/");
    EXPECT_EQ(back.Watch.Keyword, (std::vector<std::string>{"one  two", "plain"}));
    EXPECT_EQ(back.ChangeHistory, std::vector<std::string>{"2007/02/02 12:00.41  {"});
}

TEST(ProcessLoadParameterTest, FirstMatchingPrefixDecides) {
    const std::pair<std::string_view, int> cases[] = {{"Address=x", 1},
                                                      {"AddressMD5=", 2},
                                                      {"ScanType=0", 3},
                                                      {"LastScan=", 4},
                                                      {"LastChange=", 5},
                                                      {"MD5=", 6},
                                                      {"BeforeSize=1", 7},
                                                      {"AfterSize=1", 8},
                                                      {"Description=", 9},
                                                      {"OriginalSize=1", 10},
                                                      {"Keyword=k", 11},
                                                      {"Changed=1", 12},
                                                      {"Manual=0", 13},
                                                      {"Added=", 14},
                                                      {"BeforeChange=", 15},
                                                      {"BeforeChangeX", 15},
                                                      {"ChangeHistory=x", 16},
                                                      {"ChangeHistoryanything", 16},
                                                      {"Address", 0},
                                                      {"address=x", 0},
                                                      {" Address=x", 0},
                                                      {"ScanType", 0},
                                                      {"", 0},
                                                      {"Unknown=1", 0}};
    for (const auto& [line, code] : cases) {
        EXPECT_EQ(ProcessLoadParameter(line), code) << line;
    }
}

TEST(ConvertOldDateTest, RearrangesDayFirstStamps) {
    EXPECT_EQ(ConvertOldDate(""), "n/a");
    EXPECT_EQ(ConvertOldDate("03/02/2007 10:00.00"), "2007/02/03 10:00.00");
    EXPECT_EQ(ConvertOldDate("03/02/2007"), "2007/02/03");
    EXPECT_EQ(ConvertOldDate("2007/02/03 10:00.00"), "2007/02/03 10:00.00");
    EXPECT_EQ(ConvertOldDate("n/a"), "n/a");
    EXPECT_EQ(ConvertOldDate("<unknown>"), "<unknown>");
    EXPECT_EQ(ConvertOldDate("03/02/07"), "03/02/07");
    EXPECT_EQ(ConvertOldDate("03/"), "03/");
}

TEST(ConvertOldDateTest, LeavesValuesThatAreNoDayFirstDateAlone) {
    // Rearranging these would scramble them again at every load and save.
    EXPECT_EQ(ConvertOldDate("01/02/ab/cd"), "01/02/ab/cd");
    EXPECT_EQ(ConvertOldDate("ab/cd/efgh"), "ab/cd/efgh");
    const std::string once = ConvertOldDate("03/02/2007 10:00.00");
    EXPECT_EQ(ConvertOldDate(once), once);
}

} // namespace
} // namespace zelmox
