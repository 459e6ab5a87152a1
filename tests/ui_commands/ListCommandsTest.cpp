// The File menu's "Export List" and "Import Watches" with their dialogs.
#include "ListCommands.h"

#include "CommandFixture.h"
#include "FileSizeCap.h"
#include "SectionCommands.h"
#include "TfrmExport.h"
#include "TfrmImport.h"

namespace zelmox::test {
namespace {

const QString AppendQuestion =
    "File already exists! Append data to this file?\r\r(otherwise file will be overwritten)";
const std::string Names = "\r\ntoday.html\r\n\r\nnotes.txt\r\nwww.example.com/index.html\r\n";

class ListCommandsTest : public CommandWindowTest {
protected:
    // An empty default section, then one of four watches.
    void PutExampleList() {
        ASSERT_TRUE(window->Sections().AddNewTab("More"));
        PutWatches(1, {StoredWatch("http://www.example.com/news/today.html"),
                       StoredWatch("http://www.example.com/"), StoredWatch("/watch/notes.txt"),
                       StoredWatch("www.example.com/index.html")});
    }

    void Export(const std::string& path, bool fullPath) {
        OnDialog<TfrmExport>([=](TfrmExport& dialog) {
            EXPECT_TRUE(Control<QCheckBox>(dialog, "cbIncludeFullPath")->isChecked());
            Field(dialog, "eFilename")->setText(QString::fromStdString(path));
            Control<QCheckBox>(dialog, "cbIncludeFullPath")->setChecked(fullPath);
            Control<QPushButton>(dialog, "bExport")->click();
        });
        window->Lists().Export1Click();
    }

    // Starts importing the list file with the chosen scan method.
    void StartImport(const std::string& list, const char* method) {
        prompts.openFiles.push_back(QString::fromStdString(list));
        OnDialog<TfrmImport>([=](TfrmImport& dialog) {
            dialog.sbImportClick();
            Control<QRadioButton>(dialog, method)->setChecked(true);
            Control<QPushButton>(dialog, "bImport")->click();
        });
        Action("Import1")->trigger();
    }
};

TEST_F(ListCommandsTest, ExportWritesAddressesAndAsksBeforeAddingToAFile) {
    PutExampleList();
    const std::string full = "\r\nhttp://www.example.com/news/today.html\r\n"
                             "http://www.example.com/\r\n/watch/notes.txt\r\n"
                             "www.example.com/index.html\r\n";
    const struct {
        bool fullPath;
        bool exists;
        Answer answer;
        std::string written;
    } cases[] = {
        {true, false, Answer::Yes, full},
        {false, false, Answer::Yes, Names},
        {false, true, Answer::Yes, "old\r\n" + Names},
        {false, true, Answer::No, Names},
        {true, true, Answer::Cancel, "old\r\n"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.File("export.txt");
        std::filesystem::remove(path);
        if (c.exists) {
            WriteFile(path, "old\r\n");
        }
        prompts.shown.clear();
        prompts.yesNoCancel = {c.answer};
        Export(path, c.fullPath);
        EXPECT_EQ(prompts.Of(Kind::YesNoCancel),
                  c.exists ? QStringList{AppendQuestion} : QStringList{});
        EXPECT_EQ(ReadFile(path), c.written);
        EXPECT_TRUE(Button("tbScan")->isEnabled());
    }
}

TEST_F(ListCommandsTest, FailedExportIsReportedAndKeepsTheOldFile) {
    PutExampleList();
    const std::string path = dir.File("export.txt");
    WriteFile(path, "old\r\n");
    prompts.yesNoCancel = {Answer::No};
    {
        const FileSizeCap cap(16); // below the size of the list
        ASSERT_TRUE(cap.Active());
        Export(path, true);
    }

    ASSERT_EQ(prompts.Of(Kind::Error).size(), 1);
    EXPECT_TRUE(prompts.Of(Kind::Error)[0].contains(QString::fromStdString(path)));
    EXPECT_EQ(ReadFile(path), "old\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(dir.Folder())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("export.txt.")) << entry.path();
    }
}

TEST_F(ListCommandsTest, ImportListReadsTheSameFromEitherLineEnd) {
    std::vector<std::vector<std::string>> results;
    for (const std::string& text :
         {std::string("http://a/\n\nhttp://b/\n"), std::string("http://a/\r\n\r\nhttp://b/\r\n")}) {
        WriteFile(dir.File("list.txt"), text);
        prompts.openFiles = {QString::fromStdString(dir.File("list.txt"))};
        TfrmImport dialog(prompts);
        dialog.sbImportClick();
        EXPECT_EQ(Field(dialog, "eFilename")->text().toStdString(), dir.File("list.txt"));
        EXPECT_EQ(dialog.Result().ScanType, 0);
        results.push_back(dialog.Result().Lines);
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0].front(), "http://a/");
}

TEST_F(ListCommandsTest, ImportAddsWatchesInListOrderAndExitWaitsForIt) {
    server.SetBody("/slow", "<title>Slow</title>", 400);
    server.SetBody("/fast", "<title>Fast</title>");
    const std::vector<std::string> addresses = {server.Url("/slow"), server.Url("/fast"),
                                                "http://127.0.0.1:1/", dir.File("missing.txt")};
    WriteFile(dir.File("list.txt"), addresses[0] + "\r\n\r\n" + addresses[1] + "\r\n" +
                                        addresses[2] + "\r\n" + addresses[3] + "\r\n");
    QSignalSpy finished(&window->Lists(), &ListCommands::ImportFinished);
    StartImport(dir.File("list.txt"), "rbTextBetweenTags");

    ASSERT_TRUE(window->Lists().IsImporting());
    EXPECT_TRUE(QTest::qWaitFor([this] { return Panel(0).startsWith("Importing... "); }, 5000));
    EXPECT_TRUE(window->ProgressBar()->isVisible());
    EXPECT_TRUE(window->RefuseWhileBusy()) << "what would change the sections waits";
    prompts.yesNoCancel = {Answer::No};
    window->close();
    EXPECT_TRUE(window->isVisible()) << "Exit waits for the import";

    ASSERT_TRUE(finished.wait(15000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 5000));
    EXPECT_EQ(Addresses(), addresses);
    for (int row = 1; row <= 4; ++row) {
        const TWatch& watch = Tab(0).Row(row).Object.Watch;
        EXPECT_EQ(watch.ScanType, ScanTextBetweenTags);
        EXPECT_EQ(watch.Manual, row > 2 ? 1 : 0) << watch.Address;
        EXPECT_EQ(watch.AfterSize, row > 2 ? 0 : 19) << watch.Address;
    }
    EXPECT_EQ(Tab(0).Row(2).Object.Watch.Description, "Fast");
    EXPECT_FALSE(window->ProgressBar()->isVisible());
    EXPECT_EQ(Panels(), (QStringList{"4", "4", "0"}));
}

} // namespace
} // namespace zelmox::test
