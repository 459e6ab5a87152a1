// The snapshot files a scan rotates, and the log lines of the steps that fail.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

namespace fs = std::filesystem;

class SnapshotRotationTest : public ScanTest {
protected:
    // The name a snapshot must have, worked out here rather than by the program.
    std::string ExpectedName(const std::string& path, int scanType, const char* suffix) const {
        return rig.DataFolder + Md5Hex(server.Url(path) + std::to_string(scanType)) + suffix +
               ".html";
    }

    // Makes a snapshot name a directory holding one file, which neither a delete nor a write can
    // get rid of.
    static void Block(const std::string& snapshot) {
        fs::create_directory(snapshot);
        WriteFile(snapshot + "/keep", "k");
    }
};

TEST_F(SnapshotRotationTest, ThreeGenerationsAfterTwoChanges) {
    AddPage("/news", ScanEntireFile, "X");
    const std::string original = ExpectedName("/news", 0, "_x");
    const std::string before = ExpectedName("/news", 0, "_b");
    const std::string after = ExpectedName("/news", 0, "_a");
    ASSERT_EQ(ReadFile(after), "X\r\n");

    server.SetBody("/news", "Y");
    ScanAt(1);
    EXPECT_EQ(ReadFile(original), "X\r\n");
    EXPECT_EQ(ReadFile(before), "X\r\n");
    EXPECT_EQ(ReadFile(after), "Y");

    server.SetBody("/news", "Z");
    ScanAt(2);
    EXPECT_EQ(ReadFile(original), "X\r\n");
    EXPECT_EQ(ReadFile(before), "Y");
    EXPECT_EQ(ReadFile(after), "Z");
    EXPECT_EQ(FolderContents(rig.DataFolder).size(), 3u) << "nothing but the three files";
}

TEST_F(SnapshotRotationTest, SameAddressAndTypeShareOneSetRotatedTwiceInOneScan) {
    AddPage("/shared", ScanEntireFile, "X");
    rig.Model.AddSection("Second");
    AddPage("/shared", ScanEntireFile, "X", {}, 1);
    AddPage("/shared", ScanTextBetweenTags, "X", {}, 1);
    server.SetBody("/shared", "<i>Y</i>");

    ScanAt(3);

    EXPECT_EQ(ReadFile(ExpectedName("/shared", 0, "_x")), "X\r\n");
    EXPECT_EQ(ReadFile(ExpectedName("/shared", 0, "_b")), "<i>Y</i>") << "rotated twice";
    EXPECT_EQ(ReadFile(ExpectedName("/shared", 0, "_a")), "<i>Y</i>");
    // The same address under another scan type has a set of its own, rotated once.
    EXPECT_EQ(ReadFile(ExpectedName("/shared", 1, "_b")), "X\r\n");
    EXPECT_EQ(ReadFile(ExpectedName("/shared", 1, "_a")), "<i>Y</i>");
    const std::string change = "Change: " + server.Url("/shared");
    EXPECT_EQ(rig.Log.Lines(), LogWith({change, change, change}));
    EXPECT_EQ(rig.Engine.TotalChanges(), 3);
}

TEST_F(SnapshotRotationTest, FailedStepsAreLoggedAndTheChangeStillCounts) {
    const int stuckBefore = AddPage("/stuck-before", ScanEntireFile, "old");
    const int stuckBoth = AddPage("/stuck-both", ScanEntireFile, "old");
    const int fine = AddPage("/fine", ScanEntireFile, "old");
    for (const char* path : {"/stuck-before", "/stuck-both"}) {
        fs::remove(ExpectedName(path, 0, "_b"));
        Block(ExpectedName(path, 0, "_b"));
    }
    fs::remove(ExpectedName("/stuck-both", 0, "_a"));
    Block(ExpectedName("/stuck-both", 0, "_a"));
    for (const char* path : {"/stuck-before", "/stuck-both", "/fine"}) {
        server.SetBody(path, std::string("new at ") + path);
    }

    ScanAt(4);

    const std::string prefix = rig.DataFolder;
    const std::string one = server.Url("/stuck-before");
    const std::string two = server.Url("/stuck-both");
    EXPECT_EQ(
        rig.Log.Lines(),
        LogWith({"Change: " + one, "Couldn't delete: " + prefix + one + " (_b)",
                 "Couldn't rename: " + prefix + one + " (_a)", "Change: " + two,
                 "Couldn't delete: " + prefix + two + " (_b)",
                 "Couldn't rename: " + prefix + two + " (_a)",
                 "Couldn't save: " + prefix + two + " (_a)", "Change: " + server.Url("/fine")}));
    // After the failed delete and rename the new content still replaces the old "_a".
    EXPECT_EQ(ReadFile(ExpectedName("/stuck-before", 0, "_a")), "new at /stuck-before");
    for (const int row : {stuckBefore, stuckBoth, fine}) {
        EXPECT_EQ(rig.Object(0, row).Changed, 1);
    }
    EXPECT_EQ(rig.Engine.TotalChanges(), 3);
    EXPECT_EQ(rig.Engine.SnapshotFailures(), 2);
}

TEST_F(SnapshotRotationTest, MissingDataFolderOnlyFailsTheSave) {
    AddPage("/page", ScanEntireFile, "old");
    server.SetBody("/page", "new");
    const std::string missing = rig.Dir.Folder() + "nowhere/";
    rig.DataFolder = missing;

    ScanAt(5);

    const std::string address = server.Url("/page");
    EXPECT_EQ(rig.Log.Lines(),
              LogWith({"Change: " + address, "Couldn't save: " + missing + address + " (_a)"}));
    EXPECT_FALSE(FileExists(missing)) << "the data folder is never created by a scan";
    EXPECT_EQ(rig.Object(0, 1).Changed, 1);
    EXPECT_EQ(rig.Engine.TotalChanges(), 1);
    EXPECT_EQ(rig.Engine.SnapshotFailures(), 1);
}

} // namespace
} // namespace zelmox::test
