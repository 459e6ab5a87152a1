#include "IniFile.h"

#include "FileSizeCap.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zelmox {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class IniFileTest : public ::testing::Test {
protected:
    IniFile Parse(const std::string& text) {
        WriteFile(path_, text);
        IniFile file;
        EXPECT_TRUE(file.Load(path_).ok);
        return file;
    }

    static mode_t ModeOf(const std::string& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
        return info.st_mode & 07777;
    }

    TempDir dir_;
    std::string path_ = dir_.File("z.ini");
};

TEST_F(IniFileTest, NamesMatchWithoutCaseAndValuesAreTrimmed) {
    const IniFile file = Parse("  [ main ]  \n  TOP =  42 \t\nTitle=\t Hello  World \nEmpty=\n");
    EXPECT_EQ(file.ReadInteger("Main", "Top", 0), 42);
    EXPECT_EQ(file.ReadString("MAIN", "title", "x"), "Hello  World");
    EXPECT_EQ(file.ReadString("Main", "Empty", "x"), "");
    EXPECT_EQ(file.ReadString("Main", "Missing", "x"), "x");
    EXPECT_EQ(file.ReadString("Other", "Top", "x"), "x");
}

TEST_F(IniFileTest, IntegersMustBeWholeDecimal32BitNumbers) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"-12", -12},
        {"+12", 12},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"", -1},
        {"2147483648", -1},
        {"12abc", -1},
        {"0x1F", -1},
        {"1.5", -1},
        {"+-3", -1},
        {"- 3", -1},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Parse("[S]\nN=" + text + "\n").ReadInteger("S", "N", -1), expected) << text;
    }
    const IniFile file = Parse("[S]\nTwo=2\nZero=0\nWord=yes\n");
    EXPECT_TRUE(file.ReadBool("S", "Two", false));
    EXPECT_FALSE(file.ReadBool("S", "Zero", true));
    EXPECT_FALSE(file.ReadBool("S", "Word", false));
}

TEST_F(IniFileTest, OnlyKeysInsideSectionsCountAndTheFirstDuplicateWins) {
    IniFile file = Parse("Top=1\n[S]\n;K=2\nK\n[broken\nK=3\nK=4\n[s]\nOther=5\n");
    EXPECT_EQ(file.ReadInteger("", "Top", -1), -1);
    EXPECT_EQ(file.ReadInteger("S", "K", -1), 3);
    EXPECT_EQ(file.ReadInteger("S", "Other", -1), -1);
    file.WriteInteger("S", "K", 9);
    EXPECT_EQ(file.Text(), "Top=1\n[S]\n;K=2\nK\n[broken\nK=9\nK=4\n[s]\nOther=5\n");
}

TEST_F(IniFileTest, WritingKeepsEveryLineItDoesNotOwn) {
    IniFile file = Parse("; settings\n\n[Main]\n  top = 5\n; window\nUnknown=stays\n\n"
                         "; next comes audio\n[Audio]\n[Extra]\nX=1\n");
    file.WriteInteger("MAIN", "Top", 100);           // existing key: only the value changes
    file.WriteString("Main", "DefaultFilename", ""); // new key after the section's last key
    file.WriteString("Audio", "Sound1", "a.wav");    // section without keys
    file.WriteBool("Scan", "On", true);              // new section at the end
    EXPECT_EQ(file.Text(), "; settings\n\n[Main]\ntop=100\n; window\nUnknown=stays\n"
                           "DefaultFilename=\n\n; next comes audio\n[Audio]\nSound1=a.wav\n"
                           "[Extra]\nX=1\n\n[Scan]\nOn=1\n");
}

TEST_F(IniFileTest, ValueIsCutAtALineBreakSoItCannotForgeKeys) {
    IniFile file;
    file.WriteString("S", "Path", "/a\n[Main]\nTop=1");
    EXPECT_EQ(file.ReadString("S", "Path", "x"), "/a");
    EXPECT_EQ(file.ReadInteger("Main", "Top", -1), -1);
}

TEST_F(IniFileTest, CrLfAndByteOrderMarkAreReadAndKept) {
    IniFile file = Parse("\xEF\xBB\xBF[S]\r\nPath=C:\\x \r\n");
    EXPECT_EQ(file.ReadString("S", "Path", ""), "C:\\x");
    file.WriteString("S", "New", "v");
    EXPECT_EQ(file.Text(), "\xEF\xBB\xBF[S]\r\nPath=C:\\x \r\nNew=v\r\n");
}

TEST_F(IniFileTest, MissingFileLoadsEmptyButAFolderIsAnError) {
    IniFile file = Parse("[S]\nK=1\n");
    EXPECT_TRUE(file.Load(dir_.File("missing.ini")).ok);
    EXPECT_EQ(file.Text(), "");
    EXPECT_FALSE(file.Load(dir_.Folder()).ok);
}

TEST_F(IniFileTest, SaveMakesPrivateFoldersAndFileAndLeavesNoTemporary) {
    const std::string folder = dir_.File("a/b");
    IniFile file;
    file.WriteString("S", "Password", "secret");
    ASSERT_TRUE(file.Save(folder + "/z.ini").ok);
    EXPECT_EQ(ReadFile(folder + "/z.ini"), "[S]\nPassword=secret\n");
    EXPECT_EQ(ModeOf(folder + "/z.ini"), 0600u);
    EXPECT_EQ(ModeOf(dir_.File("a")), 0700u);
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);

    // An existing file readable by others is tightened too.
    WriteFile(path_, "[S]\n");
    ::chmod(path_.c_str(), 0644);
    ASSERT_TRUE(file.Save(path_).ok);
    EXPECT_EQ(ModeOf(path_), 0600u);
}

TEST_F(IniFileTest, SaveWritesThroughASymbolicLink) {
    const std::string link = dir_.File("link.ini");
    IniFile file = Parse("[S]\nK=1\n");
    std::filesystem::create_symlink(path_, link);
    file.WriteInteger("S", "K", 2);
    ASSERT_TRUE(file.Save(link).ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(path_), "[S]\nK=2\n");
}

TEST_F(IniFileTest, SaveUnderARegularFileFailsWithTheFileName) {
    WriteFile(dir_.File("plain"), "x");
    const std::string path = dir_.File("plain/z.ini");
    const SettingsResult result = IniFile().Save(path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.rfind("Unable to write to " + path + ": ", 0), 0u) << result.error;
}

// A write cut short (here by the file size limit, which binds root too) must leave the old file
// whole and no temporary file behind.
TEST_F(IniFileTest, FailedWriteLeavesTheOldFileIntact) {
    IniFile file = Parse("[Old]\nK=1\n");
    file.WriteString("New", "Long", std::string(4096, 'x'));

    SettingsResult result;
    {
        const test::FileSizeCap cap(64);
        ASSERT_TRUE(cap.Active());
        result = file.Save(path_);
    }

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.rfind("Unable to write to " + path_, 0), 0u) << result.error;
    EXPECT_EQ(ReadFile(path_), "[Old]\nK=1\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Folder()), {}), 1);
}

} // namespace
} // namespace zelmox
