#include "SettingsPaths.h"

#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zelmox {
namespace {

TEST(SettingsPathsTest, XdgFoldersAreUsedWhenSetAndAbsolute) {
    const SettingsPaths paths = SettingsPathsFrom("/home/u", "/cfg/", "/dat");
    EXPECT_EQ(paths.ConfigFile, "/cfg/zelmox/zelmox.ini");
    EXPECT_EQ(paths.DataFolder, "/dat/zelmox/data/");
    EXPECT_EQ(paths.SavesFolder, "/dat/zelmox/saves/");
}

TEST(SettingsPathsTest, EmptyOrRelativeXdgFoldersFallBackToTheHomeFolder) {
    for (const char* xdg : {"", "relative/dir"}) {
        const SettingsPaths paths = SettingsPathsFrom("/home/u/", xdg, xdg);
        EXPECT_EQ(paths.ConfigFile, "/home/u/.config/zelmox/zelmox.ini") << xdg;
        EXPECT_EQ(paths.DataFolder, "/home/u/.local/share/zelmox/data/") << xdg;
        EXPECT_EQ(paths.SavesFolder, "/home/u/.local/share/zelmox/saves/") << xdg;
    }
}

TEST(SettingsPathsTest, DefaultFoldersAreCreatedPrivateButChosenOnesNever) {
    test::TempDir dir;
    const SettingsPaths paths{dir.File("c/zelmox.ini"), dir.Folder() + "share/zelmox/data/",
                              dir.Folder() + "share/zelmox/saves/"};
    EXPECT_TRUE(EnsureDefaultFolder(paths, paths.DataFolder));
    EXPECT_TRUE(EnsureDefaultFolder(paths, paths.DataFolder)); // already there
    EXPECT_TRUE(EnsureDefaultFolder(paths, paths.SavesFolder));
    struct stat info {};
    ASSERT_EQ(::stat(paths.DataFolder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    const std::string custom = dir.Folder() + "custom/";
    EXPECT_FALSE(EnsureDefaultFolder(paths, custom));
    EXPECT_FALSE(std::filesystem::exists(custom));
    std::filesystem::create_directory(custom);
    EXPECT_TRUE(EnsureDefaultFolder(paths, custom));
}

} // namespace
} // namespace zelmox
