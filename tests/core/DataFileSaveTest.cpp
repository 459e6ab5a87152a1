// Saving a data file over the one it replaces: links, the file's mode and the temporary files
// that saves leave behind.
#include "CoreTestUtil.h"
#include "DataFile.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace zelmox {
namespace {

using test::FileExists;
using test::MakeWatch;
using test::ReadFile;
using test::WriteFile;

class DataFileSaveTest : public ::testing::Test {
protected:
    test::TempDir dir_;
    SectionModel model_;
};

TEST_F(DataFileSaveTest, SavingThroughASymbolicLinkKeepsTheLink) {
    model_.Tab(0).AddWatchRow(MakeWatch("http://a/"), "*");
    const std::string real = dir_.File("real.zelmox");
    WriteFile(real, "old");
    std::filesystem::create_directory(dir_.File("sub"));
    // A link to a file, a link to a file not made yet, and a relative link to a link.
    const struct {
        std::string link;
        std::string target;
        std::string written;
    } cases[] = {{dir_.File("link.zelmox"), real, real},
                 {dir_.File("new-link.zelmox"), dir_.File("new.zelmox"), dir_.File("new.zelmox")},
                 {dir_.File("sub/relative.zelmox"), "../link.zelmox", real}};
    for (const auto& c : cases) {
        std::filesystem::create_symlink(c.target, c.link);
        ASSERT_TRUE(SaveData(model_, c.link).Ok) << c.link;
        EXPECT_TRUE(std::filesystem::is_symlink(c.link)) << c.link;
        EXPECT_NE(ReadFile(c.written).find("Address=http://a/"), std::string::npos) << c.link;
        EXPECT_EQ(model_.CurrentFileName, c.link);
    }
}

TEST_F(DataFileSaveTest, SaveRemovesTemporaryFilesOnlyOfSavesWhoseProcessEnded) {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);
    const std::string path = dir_.File("list.zelmox");
    WriteFile(path, "old");
    const std::string abandoned = path + ".tmp" + std::to_string(ended) + "-12";
    const std::string running = path + ".tmp" + std::to_string(::getppid()) + "-34";
    const std::string otherFile = dir_.File("other.zelmox.tmp") + std::to_string(ended) + "-56";
    const std::string otherName = path + ".tmp" + std::to_string(ended) + "-x";
    for (const std::string& file : {abandoned, running, otherFile, otherName}) {
        WriteFile(file, "partial");
    }

    ASSERT_TRUE(SaveData(model_, path).Ok);
    EXPECT_FALSE(FileExists(abandoned));
    for (const std::string& kept : {running, otherFile, otherName}) {
        EXPECT_TRUE(FileExists(kept)) << kept;
    }
}

TEST_F(DataFileSaveTest, SaveKeepsTheModeOfTheFileItReplaces) {
    model_.Tab(0).AddWatchRow(MakeWatch("http://a/"), "*");
    for (const auto mode : {std::filesystem::perms(0600), std::filesystem::perms(0640)}) {
        const std::string path = dir_.File("list.zelmox");
        WriteFile(path, "old");
        std::filesystem::permissions(path, mode);
        ASSERT_TRUE(SaveData(model_, path).Ok);
        EXPECT_EQ(std::filesystem::status(path).permissions(), mode);
    }
}

} // namespace
} // namespace zelmox
