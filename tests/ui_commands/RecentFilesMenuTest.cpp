// The recent-file list, its "Recent Files" submenu and opening a file from it.
#include "CommandFixture.h"

#include <cstdio>

namespace zelmox::test {
namespace {

class RecentFilesMenuTest : public CommandWindowTest {
protected:
    // Opens one file after another, answering No to the save question.
    void OpenAll(const std::vector<std::string>& files) {
        for (const std::string& file : files) {
            prompts.yesNoCancel.push_back(Answer::No);
            Open(file);
        }
        prompts.yesNoCancel.clear();
    }
    QAction* Item(int index) { return Files().RecentFilesMenu()->actions().value(index); }
};

TEST_F(RecentFilesMenuTest, TwentyFirstFileDropsTheOldest) {
    EXPECT_FALSE(Files().RecentFilesMenu()->isEnabled()) << "no recent files at start";
    std::vector<std::string> files;
    for (int i = 1; i <= 21; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%02d.zelmox", i);
        files.push_back(OneWatchFile(name));
    }
    OpenAll({files.begin(), files.begin() + 20});
    EXPECT_TRUE(Files().RecentFilesMenu()->isEnabled());
    EXPECT_EQ(RecentItems(), std::vector<std::string>(files.begin(), files.begin() + 20));

    OpenAll({files[20]});
    const std::vector<std::string> newest(files.begin() + 1, files.end());
    EXPECT_EQ(RecentList(), newest);
    EXPECT_EQ(RecentItems(), newest) << "each once, oldest first";

    OpenAll({files[5]});
    EXPECT_EQ(RecentList(), newest) << "a listed file keeps its place";
    EXPECT_EQ(RecentItems(), newest);
    EXPECT_EQ(Title(), TitleWith(files[5]));
}

TEST_F(RecentFilesMenuTest, DeletedFileShowsTheMessageAndKeepsTheEntry) {
    const std::string a = OneWatchFile("a.zelmox");
    const std::string b = OneWatchFile("b.zelmox");
    OpenAll({a, b});
    std::filesystem::remove(a);
    prompts.shown.clear();

    prompts.yesNoCancel = {Answer::No};
    Item(0)->trigger();
    EXPECT_EQ(prompts.Of(Kind::YesNoCancel), QStringList{"Do you want to save the current file?"});
    EXPECT_EQ(prompts.Of(Kind::Warning),
              QStringList{"Cannot find Zelmox file: " + QString::fromStdString(a)});
    EXPECT_EQ(RecentList(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(RecentItems(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(Addresses(), std::vector<std::string>{"/srv/b.zelmox"});
    EXPECT_EQ(Title(), TitleWith(b));
}

// After "clear opened document history" the old items stay until the submenu is rebuilt.
TEST_F(RecentFilesMenuTest, ClearedHistoryKeepsItsSlotsUntilANewFileIsOpened) {
    std::filesystem::create_directories(dir.File("other"));
    const std::string a = OneWatchFile("a.zelmox");
    const std::string b = OneWatchFile("b.zelmox");
    const std::string c = WriteDataFile("other/c.zelmox", {{"Default", {StoredWatch("/srv/c")}}});
    OpenAll({a, b});
    window->Settings().RecentlyCount = 0;
    const std::string location = window->Settings().LastSaveLocation;

    prompts.yesNoCancel = {Answer::No};
    Item(0)->trigger();
    EXPECT_EQ(Addresses(), std::vector<std::string>{"/srv/a.zelmox"}) << "the slot still holds it";
    EXPECT_EQ(Title(), TitleWith(a));
    EXPECT_EQ(window->Settings().LastSaveLocation, location) << "unchanged by a recent file";

    OpenAll({b});
    EXPECT_EQ(window->Settings().RecentlyCount, 0) << "b is in a slot: nothing added";
    EXPECT_EQ(RecentItems(), (std::vector<std::string>{a, b}));

    OpenAll({c});
    EXPECT_EQ(RecentList(), std::vector<std::string>{c});
    EXPECT_EQ(RecentItems(), std::vector<std::string>{c});
    EXPECT_EQ(window->Settings().Recent[1], b);
    EXPECT_EQ(window->Settings().LastSaveLocation, dir.File("other") + "/");
}

} // namespace
} // namespace zelmox::test
