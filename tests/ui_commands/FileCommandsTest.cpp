// The File menu's Open, Merge, Close, Save, Save As and Set As Default, the save question, the
// window title and closing the window.
#include "CommandFixture.h"
#include "DataFileLock.h"
#include "StatusPanels.h"

namespace zelmox::test {
namespace {

const QString SaveCurrentFile = "Do you want to save the current file?";
const QString SaveChanges = "Do you want to save your changes?";
using Outcome = FileCommands::SaveOutcome;

// Counts the events that reach the watched objects once a condition holds, and keeps those
// events from them.
class LateEventStopper : public QObject {
public:
    explicit LateEventStopper(std::function<bool()> late) : late_(std::move(late)) {}
    bool eventFilter(QObject*, QEvent*) override {
        if (!late_()) {
            return false;
        }
        ++stopped;
        return true;
    }
    int stopped = 0;

private:
    std::function<bool()> late_;
};

class FileCommandsTest : public CommandWindowTest {
protected:
    bool SetAsDefaultEnabled() { return Files().SetAsDefaultItem()->isEnabled(); }
    static QString Q(const std::string& text) { return QString::fromStdString(text); }
};

TEST_F(FileCommandsTest, TitleNamesTheOpenFileUntilClose) {
    EXPECT_EQ(Title(), Plain);
    EXPECT_FALSE(SetAsDefaultEnabled());
    const std::string a =
        WriteDataFile("a.zelmox", {{"Default", {StoredWatch("/srv/a")}}, {"More", {}}});
    const std::string b = OneWatchFile("b.zelmox");

    Open(a);
    EXPECT_EQ(Title(), TitleWith(a));
    EXPECT_EQ(Model().CurrentFileName, a);
    EXPECT_EQ(SectionNames(), (std::vector<std::string>{"Default", "More"}));
    EXPECT_TRUE(SetAsDefaultEnabled());

    Merge(b);
    EXPECT_EQ(prompts.Of(Kind::OpenFile), (QStringList{"Load File", "Merge File"}));
    EXPECT_EQ(prompts.Of(Kind::YesNoCancel), QStringList{}) << "a merge asks nothing";
    EXPECT_EQ(SectionNames(), (std::vector<std::string>{"Default", "More", "Default"}));
    EXPECT_EQ(Title(), TitleWith(a)) << "the title keeps the file that was open";
    EXPECT_EQ(Model().CurrentFileName, "");
    EXPECT_FALSE(SetAsDefaultEnabled());

    prompts.yesNoCancel = {Answer::No};
    Files().NewClick();
    EXPECT_EQ(prompts.Of(Kind::YesNoCancel), QStringList{SaveChanges});
    EXPECT_EQ(Title(), Plain);
    EXPECT_EQ(SectionNames(), std::vector<std::string>{"Default"});
    EXPECT_TRUE(Tab(0).IsEmpty());
}

TEST_F(FileCommandsTest, OpenAsksAboutSavingOnlyWhenThereIsSomethingToSave) {
    const std::string a = OneWatchFile("a.zelmox");
    const std::string b = OneWatchFile("b.zelmox");
    Open(a);
    EXPECT_EQ(prompts.Of(Kind::YesNoCancel), QStringList{}) << "only the empty default section";
    EXPECT_EQ(Addresses(), std::vector<std::string>{"/srv/a.zelmox"});

    prompts.yesNoCancel = {Answer::No};
    Files().NewClick();
    ASSERT_TRUE(window->Sections().AddNewTab("Extra"));
    prompts.shown.clear();
    prompts.yesNoCancel = {Answer::Cancel};
    Open(b);
    EXPECT_EQ(prompts.Of(Kind::YesNoCancel), QStringList{SaveCurrentFile}) << "an extra section";
    EXPECT_EQ(prompts.Of(Kind::OpenFile), QStringList{}) << "Cancel ends the command";
    EXPECT_EQ(SectionNames(), (std::vector<std::string>{"Default", "Extra"}));
    prompts.openFiles.clear();

    // Yes saves the list to its file before the other one is opened.
    prompts.yesNoCancel = {Answer::No};
    Open(a);
    PutWatches(0, {StoredWatch("/srv/added")});
    prompts.yesNoCancel = {Answer::Yes};
    Open(b);
    EXPECT_EQ(Addresses(), std::vector<std::string>{"/srv/b.zelmox"});
    EXPECT_NE(ReadFile(a).find("Address=/srv/added\r\n"), std::string::npos);
    EXPECT_EQ(prompts.Of(Kind::SaveFile), QStringList{});
}

TEST_F(FileCommandsTest, CloseWithOnlyEmptySectionsDoesNothing) {
    const std::string empty =
        WriteDataFile("empty.zelmox", {{"One", {}}, {"Two", {}}, {"Three", {}}});
    Open(empty);
    Files().NewClick();
    EXPECT_EQ(prompts.Of(Kind::YesNoCancel), QStringList{});
    EXPECT_EQ(SectionNames(), (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_EQ(Model().CurrentFileName, empty);
    EXPECT_EQ(Title(), TitleWith(empty));
}

TEST_F(FileCommandsTest, SaveWithoutANameAndNoNameChosenWritesNothing) {
    PutWatches(0, {StoredWatch("/srv/x")});
    EXPECT_EQ(Files().Save1Click(), Outcome::Cancelled);
    EXPECT_EQ(prompts.Of(Kind::SaveFile), QStringList{"Save File"});
    EXPECT_EQ(Title(), QString(Plain) + "   []");
    EXPECT_EQ(Model().CurrentFileName, "");
    EXPECT_FALSE(SetAsDefaultEnabled());
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Folder())) {
        EXPECT_NE(entry.path().extension(), ".zelmox") << entry.path();
    }
}

TEST_F(FileCommandsTest, SaveAsShowsTheNewNameOnlyAfterTheNextSave) {
    const std::string a = OneWatchFile("a.zelmox");
    std::filesystem::create_directories(dir.File("elsewhere"));
    const std::string b = dir.File("elsewhere/b.zelmox");
    Open(a);

    prompts.saveFiles = {Q(b)};
    EXPECT_EQ(Files().SaveAs1Click(), Outcome::Saved);
    EXPECT_EQ(ReadFile(b), ReadFile(a));
    EXPECT_EQ(Model().CurrentFileName, b);
    EXPECT_EQ(Title(), TitleWith(a));
    EXPECT_EQ(window->Settings().LastSaveLocation, dir.File("elsewhere") + "/");

    PutWatches(0, {StoredWatch("/srv/second")});
    EXPECT_EQ(Files().Save1Click(), Outcome::Saved);
    EXPECT_EQ(prompts.Of(Kind::SaveFile), QStringList{"Save File"}) << "no second dialog";
    EXPECT_EQ(Title(), TitleWith(b));
    EXPECT_NE(ReadFile(b).find("Address=/srv/second\r\n"), std::string::npos);
    EXPECT_EQ(ReadFile(a).find("/srv/second"), std::string::npos);
}

TEST_F(FileCommandsTest, ClosingAsksEvenRightAfterASaveUnlessAutoSaveIsOn) {
    const std::string a = OneWatchFile("a.zelmox");
    Open(a);
    ASSERT_EQ(Files().Save1Click(), Outcome::Saved);

    prompts.yesNoCancel = {Answer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompts.Of(Kind::YesNoCancel), QStringList{SaveChanges});

    window->Settings().AutoSave = true;
    PutWatches(0, {StoredWatch("/srv/late")});
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompts.Of(Kind::YesNoCancel), QStringList{SaveChanges}) << "AutoSave saves silently";
    EXPECT_NE(ReadFile(a).find("Address=/srv/late\r\n"), std::string::npos);
    EXPECT_TRUE(FileExists(paths.ConfigFile)) << "the settings are written at close";
}

TEST_F(FileCommandsTest, SetAsDefaultStoresTheOpenFile) {
    const std::string a = OneWatchFile("a.zelmox");
    Open(a);
    Files().SetAsDefaultItem()->trigger();
    EXPECT_EQ(window->WindowValues().DefaultFilename, a);

    Merge(OneWatchFile("b.zelmox"));
    Files().miSetAsDefaultClick();
    EXPECT_EQ(window->WindowValues().DefaultFilename, a) << "no file open after a merge";

    prompts.yesNoCancel = {Answer::No};
    ASSERT_TRUE(window->close());
    TSettings settings;
    MainWindowValues values;
    LoadSettings(paths, settings, values);
    EXPECT_EQ(values.DefaultFilename, a);
}

// The grids lay themselves out from the window's sections. A shown window that is destroyed
// (without Exit) must hide or drop its grids before its own members, the sections among them, go.
TEST_F(FileCommandsTest, DestroyingAShownWindowLeavesNoGridOnFreedSections) {
    PutWatches(0, {StoredWatch("/srv/a"), StoredWatch("/srv/b")});
    const QPointer<Scanner> member(&window->GetScanner());
    // Events that would reach the grid after the members went are stopped, so that a fault here
    // fails the test instead of reading freed memory.
    LateEventStopper stopper([&member] { return member == nullptr; });
    SectionGrid* grid = window->Tabs()->Grid(0);
    grid->installEventFilter(&stopper);
    for (QWidget* part : grid->findChildren<QWidget*>()) {
        part->installEventFilter(&stopper);
    }
    window.reset();
    EXPECT_EQ(stopper.stopped, 0) << "the grid was still laid out after the sections were freed";
}

// A save that did not happen stops the command as Cancel would: the list is not thrown away.
TEST_F(FileCommandsTest, CancelledSaveKeepsTheList) {
    const std::string other = OneWatchFile("other.zelmox");
    window->Settings().Recent[0] = other;
    window->Settings().RecentlyCount = 1;
    Files().BuildRecentDocsMenu();
    PutWatches(0, {StoredWatch("/srv/keep")});

    prompts.yesNoCancel = {Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes};
    Files().NewClick();
    Open(other);
    Files().MenuOpenRecent(1);
    EXPECT_FALSE(window->close());

    EXPECT_EQ(prompts.Of(Kind::YesNoCancel),
              (QStringList{SaveChanges, SaveCurrentFile, SaveCurrentFile, SaveChanges}));
    EXPECT_EQ(prompts.Of(Kind::SaveFile).size(), 4);
    EXPECT_EQ(prompts.Of(Kind::OpenFile), QStringList{});
    EXPECT_EQ(Addresses(), std::vector<std::string>{"/srv/keep"});
    EXPECT_TRUE(window->isVisible());
}

TEST_F(FileCommandsTest, FailedWriteShowsThePathAndReasonAndKeepsTheList) {
    std::filesystem::create_directories(dir.File("gone"));
    const std::string a = WriteDataFile("gone/a.zelmox", {{"Default", {StoredWatch("/srv/a")}}});
    Open(a);
    std::filesystem::remove_all(dir.File("gone"));
    const QString reason = "Cannot write \"" + Q(a) + "\": No such file or directory";

    EXPECT_EQ(Files().Save1Click(), Outcome::Failed);
    EXPECT_EQ(prompts.Of(Kind::Error), QStringList{reason});
    EXPECT_EQ(Title(), TitleWith(a));

    prompts.shown.clear();
    prompts.yesNoCancel = {Answer::Yes, Answer::Yes, Answer::Yes};
    Files().NewClick();
    Open(OneWatchFile("other.zelmox"));
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompts.Of(Kind::Error), (QStringList{reason, reason, reason}));
    EXPECT_EQ(prompts.Of(Kind::OpenFile), QStringList{});
    EXPECT_EQ(Addresses(), std::vector<std::string>{"/srv/a"});
    EXPECT_EQ(Model().CurrentFileName, a);

    // With AutoSave the window closes without a question, but not over a failed write.
    prompts.shown.clear();
    window->Settings().AutoSave = true;
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompts.Of(Kind::Error), QStringList{reason});
    EXPECT_EQ(prompts.Of(Kind::YesNoCancel), QStringList{});

    const std::string nowhere = dir.File("none/b.zelmox");
    const std::string location = window->Settings().LastSaveLocation;
    prompts.saveFiles = {Q(nowhere)};
    EXPECT_EQ(Files().SaveAs1Click(), Outcome::Failed);
    EXPECT_EQ(prompts.Of(Kind::Error).last(),
              "Cannot write \"" + Q(nowhere) + "\": No such file or directory");
    EXPECT_EQ(Model().CurrentFileName, a);
    EXPECT_EQ(window->Settings().LastSaveLocation, location);
}

// Open, Merge and a recent entry that cannot be read show why and leave the window as it was.
TEST_F(FileCommandsTest, UnreadableFileChangesNothing) {
    const std::string turned = OneWatchFile("turned.zelmox");
    const std::string a =
        WriteDataFile("a.zelmox", {{"Default", {StoredWatch("/srv/a")}}, {"Second", {}}});
    Open(turned);
    prompts.yesNoCancel = {Answer::No};
    Open(a);
    std::filesystem::remove(turned);
    std::filesystem::create_directory(turned); // it exists, but is no data file
    const std::string missing = dir.File("missing.zelmox");
    const std::string picture = dir.File("picture.zelmox");
    WriteFile(picture, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    const auto state = [this] {
        return std::make_tuple(SectionNames(), Addresses(), Model().CurrentFileName, Title(),
                               RecentList(), RecentItems(), SetAsDefaultEnabled());
    };
    const auto before = state();
    prompts.shown.clear();
    tray.SetImage(TrayIcon::ChangeDetected);

    prompts.yesNoCancel = {Answer::No, Answer::No, Answer::No, Answer::No};
    Open(missing);
    Open(turned);
    Merge(turned);
    Files().MenuOpenRecent(1);
    Open(picture);

    const QString notRegular = "Cannot read \"" + Q(turned) + "\": not a regular file";
    EXPECT_EQ(prompts.Of(Kind::Error),
              (QStringList{"Cannot read \"" + Q(missing) + "\": No such file or directory",
                           notRegular, notRegular, notRegular,
                           "\"" + Q(picture) + "\" is not a Zelmox watch list."}));
    EXPECT_EQ(state(), before);
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::ChangeDetected) << "the tray keeps its change image";
}

TEST_F(FileCommandsTest, MalformedNumberKeepsWhatWasReadButNoFileName) {
    const std::string bad = dir.File("bad.zelmox");
    const std::string text = "$Main\r\n{\r\nAddress=/srv/one\r\nScanType=0\r\n}\r\n"
                             "{\r\nAddress=/srv/two\r\nOriginalSize=x\r\n}\r\n";
    WriteFile(bad, text);
    Open(bad);
    EXPECT_EQ(prompts.Of(Kind::Error), QStringList{"'x' is not a valid integer value"});
    EXPECT_EQ(SectionNames(), std::vector<std::string>{"Main"});
    EXPECT_EQ(Addresses(), std::vector<std::string>{"/srv/one"});
    EXPECT_EQ(Model().CurrentFileName, "");
    EXPECT_EQ(Title(), Plain);

    EXPECT_EQ(Files().Save1Click(), Outcome::Cancelled);
    EXPECT_EQ(prompts.Of(Kind::SaveFile), QStringList{"Save File"}) << "Save asks for a name";
    EXPECT_EQ(ReadFile(bad), text);
}

TEST_F(FileCommandsTest, ListChangedOrHeldByAnotherProgramIsNotSavedOverUnasked) {
    const std::string path = OneWatchFile("a.zelmox");
    Open(path);
    EXPECT_FALSE(Button("sbInfo")->isEnabled()) << "the loaded list has no row selected";
    ASSERT_EQ(Files().Save1Click(), Outcome::Saved);
    EXPECT_EQ(prompts.Of(Kind::YesNo), QStringList{}) << "unchanged since it was opened";

    // Another program saves the list meanwhile: No keeps its file, Yes overwrites it.
    const std::string theirs = ReadFile(OneWatchFile("a.zelmox"));
    prompts.yesNo = {false, true};
    EXPECT_EQ(Files().Save1Click(), Outcome::Cancelled);
    EXPECT_EQ(ReadFile(path), theirs);
    EXPECT_EQ(Files().Save1Click(), Outcome::Saved);
    ASSERT_EQ(prompts.Of(Kind::YesNo).size(), 2);
    EXPECT_TRUE(prompts.Of(Kind::YesNo)[0].startsWith("\"" + Q(path) + "\" was changed"));

    // While another program holds the list, it is neither saved nor scanned.
    DataFileLock held;
    ASSERT_TRUE(held.Acquire(path, std::chrono::milliseconds(0)));
    EXPECT_EQ(Files().Save1Click(), Outcome::Failed);
    EXPECT_TRUE(prompts.Of(Kind::Error).last().contains("is in use"));
    window->tbScanClick();
    EXPECT_FALSE(window->GetScanner().IsRunning());
    EXPECT_TRUE(window->Status()->PanelText(0).contains("is in use"));

    // A scan of the window holds the list until it ends.
    held.Release();
    QSignalSpy finished(&window->GetScanner(), &Scanner::ScanFinished);
    window->tbScanClick();
    ASSERT_TRUE(window->GetScanner().IsRunning());
    EXPECT_FALSE(held.Acquire(path, std::chrono::milliseconds(0)));
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(held.Acquire(path, std::chrono::milliseconds(0)));
}

} // namespace
} // namespace zelmox::test
