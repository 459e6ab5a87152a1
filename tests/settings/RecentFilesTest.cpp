#include "RecentFiles.h"

#include <gtest/gtest.h>

namespace zelmox {
namespace {

TEST(RecentFilesTest, NewPathIsAppendedAndAKnownOneChangesNothing) {
    TSettings settings;
    EXPECT_TRUE(AddRecentFile(settings, "/a.zelmox"));
    EXPECT_TRUE(AddRecentFile(settings, "/b.zelmox"));
    EXPECT_FALSE(AddRecentFile(settings, "/a.zelmox"));
    EXPECT_TRUE(AddRecentFile(settings, "/A.zelmox")); // paths differ by case on Linux
    EXPECT_FALSE(AddRecentFile(settings, ""));
    EXPECT_EQ(RecentFileList(settings),
              (std::vector<std::string>{"/a.zelmox", "/b.zelmox", "/A.zelmox"}));
}

TEST(RecentFilesTest, TwentyFirstDistinctPathDropsTheOldest) {
    TSettings settings;
    for (int n = 1; n <= 21; ++n) {
        EXPECT_TRUE(AddRecentFile(settings, "/f" + std::to_string(n)));
    }
    const std::vector<std::string> list = RecentFileList(settings);
    ASSERT_EQ(list.size(), 20u);
    EXPECT_EQ(list.front(), "/f2");
    EXPECT_EQ(list.back(), "/f21");
    EXPECT_FALSE(AddRecentFile(settings, "/f2"));
    EXPECT_EQ(RecentFileList(settings), list);
}

// Clearing the list only sets the count to 0; the old paths stay in their slots.
TEST(RecentFilesTest, AfterClearingStaleSlotsBlockTheirPathsAndNewOnesStartAtTheTop) {
    TSettings settings;
    AddRecentFile(settings, "/old1");
    AddRecentFile(settings, "/old2");
    AddRecentFile(settings, "/old3");
    settings.RecentlyCount = 0;

    EXPECT_FALSE(AddRecentFile(settings, "/old2"));
    EXPECT_EQ(settings.RecentlyCount, 0);

    EXPECT_TRUE(AddRecentFile(settings, "/new"));
    EXPECT_EQ(RecentFileList(settings), std::vector<std::string>{"/new"});
    EXPECT_EQ(settings.Recent[1], "/old2");
    EXPECT_FALSE(AddRecentFile(settings, "/old3"));
    EXPECT_TRUE(AddRecentFile(settings, "/old1")); // its slot now holds "/new"
    EXPECT_EQ(RecentFileList(settings), (std::vector<std::string>{"/new", "/old1"}));
}

} // namespace
} // namespace zelmox
