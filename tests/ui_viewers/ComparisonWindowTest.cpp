#include "MainWindowFixture.h"
#include "PageView.h"
#include "TfrmComparison.h"
#include "VisibleText.h"

#include <QSplitter>

namespace zelmox::test {
namespace {

class ComparisonWindowTest : public MainWindowTest {
protected:
    TWatch Watch(const std::string& address, const std::string& description = "my page") {
        TWatch watch = StoredWatch(address).Watch;
        watch.Description = description;
        return watch;
    }
    void WriteSnapshot(const TWatch& watch, const char* suffix, const std::string& content) {
        std::ofstream(Snapshot(watch, suffix), std::ios::binary) << content;
    }
    void Open(const TWatch& watch) {
        comparison = std::make_unique<TfrmComparison>(watch, paths.DataFolder, settings, prompts);
    }
    QToolButton* Button(const char* name) const {
        return comparison->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    // The address a half has loaded, once it has.
    static QUrl Loaded(PageView* view) {
        QSignalSpy loaded(view, &QWebEngineView::loadFinished);
        EXPECT_TRUE(loaded.count() > 0 || loaded.wait(20000));
        return view->url();
    }

    TSettings settings = DefaultSettings(paths);
    std::unique_ptr<TfrmComparison> comparison;
};

TEST_F(ComparisonWindowTest, OpensWithBeforeOnTheLeftAndAfterOnTheRight) {
    for (const std::string description : {"my page", ""}) {
        const TWatch watch = Watch("http://host/page", description);
        for (const char* suffix : {"_x", "_b", "_a"}) {
            WriteSnapshot(watch, suffix, suffix);
        }
        Open(watch);
        EXPECT_EQ(comparison->windowTitle(), description.empty()
                                                 ? QString("Comparison Display")
                                                 : QString("Comparison Display [my page]"));
        EXPECT_EQ(comparison->size(), QSize(868, 638));
        EXPECT_TRUE(Button("sbLBefore")->isChecked());
        EXPECT_TRUE(Button("sbRAfter")->isChecked());
        EXPECT_EQ(comparison->LeftFile(), Snapshot(watch, "_b"));
        EXPECT_EQ(comparison->RightFile(), Snapshot(watch, "_a"));
        EXPECT_TRUE(Button("sbSaveLeft")->isEnabled() && Button("sbSaveRight")->isEnabled());
    }
}

TEST_F(ComparisonWindowTest, HalvesShowTheSnapshotsThatExistAndThePlaceholderOtherwise) {
    // The live views load from the local server only.
    const struct {
        const char* path;
        std::vector<const char*> present;
        const char* extension;
    } cases[] = {
        {"/report.pdf", {"_b", "_a"}, ".pdf"},
        {"/new", {"_a"}, ".html"},
    };
    for (const auto& c : cases) {
        const TWatch watch = Watch(server.Url(c.path));
        for (const char* suffix : c.present) {
            WriteSnapshot(watch, suffix, "content");
        }
        Open(watch);
        EXPECT_EQ(comparison->RightFile(), Snapshot(watch, "_a"));
        EXPECT_TRUE(comparison->RightFile().ends_with(c.extension));
        const bool before = c.present.size() == 2;
        EXPECT_EQ(comparison->LeftFile(), before ? Snapshot(watch, "_b") : "");
        EXPECT_EQ(Button("sbSaveLeft")->isEnabled(), before);
        if (!before) {
            EXPECT_EQ(Loaded(comparison->LeftView()), QUrl(PageView::PlaceholderPage));
        }
        // A missing original: the placeholder, its view button down, Save off.
        QTest::mouseClick(Button("sbROriginal"), Qt::LeftButton);
        EXPECT_TRUE(Button("sbROriginal")->isChecked() && !Button("sbRAfter")->isChecked());
        EXPECT_EQ(comparison->RightFile(), "");
        EXPECT_FALSE(Button("sbSaveRight")->isEnabled());
        // Live saves what it shows, whatever was there before.
        QTest::mouseClick(Button("sbRLive"), Qt::LeftButton);
        EXPECT_TRUE(Button("sbSaveRight")->isEnabled());
    }
}

TEST_F(ComparisonWindowTest, StoredPageRunsNoScriptAndLoadsItsPicturesFromItsSite) {
    const TWatch watch = Watch(server.Url("/dir/page.html"));
    WriteSnapshot(watch, "_a",
                  "<html><head><title>caf\xE9</title><script>document.title = 'Ran';</script>"
                  "</head><body><img src=\"pic.png\"></body></html>");
    WriteSnapshot(watch, "_b", "<meta charset=\"iso-8859-2\"><title>\xB1</title>");
    const std::string onDisk = ReadWholeFile(Snapshot(watch, "_a"));
    Open(watch);
    Loaded(comparison->RightView());
    // Read in its own charset (Windows-1252 here, ISO-8859-2 as declared on the left), and the
    // script never ran.
    EXPECT_EQ(comparison->RightView()->title(), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return comparison->LeftView()->title() == QString::fromUtf8("\xC4\x85"); }, 20000))
        << comparison->LeftView()->title().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([this] { return server.Hits("/dir/pic.png") > 0; }, 10000));
    EXPECT_EQ(ReadWholeFile(Snapshot(watch, "_a")), onDisk);

    // The differences from a live version that cannot be fetched: an error, and no window that
    // would show every word as deleted.
    server.SetReply("/dir/page.html", PageReply::Error(404, "gone"));
    QTest::mouseClick(Button("sbRLive"), Qt::LeftButton);
    QTimer::singleShot(5000, [] {
        if (QWidget* shown = QApplication::activeModalWidget()) {
            shown->close();
        }
    });
    QTest::mouseClick(Button("sbDifferences"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.Of(Kind::Error).isEmpty(); }, 10000));
    EXPECT_TRUE(prompts.Of(Kind::Error).first().startsWith("Could not fetch the live version"));
}

TEST_F(ComparisonWindowTest, SaveCopiesRemembersTheFolderAndReportsAFailedCopy) {
    const TWatch watch = Watch("http://host/page");
    WriteSnapshot(watch, "_b", "before");
    WriteSnapshot(watch, "_a", "after");
    const std::string folder = dir.Folder() + "saved/";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "copy.html") << "old";
    Open(watch);

    prompts.saveFiles = {QString::fromStdString(folder + "copy.html")};
    QTest::mouseClick(Button("sbSaveRight"), Qt::LeftButton);
    EXPECT_EQ(ReadWholeFile(folder + "copy.html"), "after");
    EXPECT_EQ(settings.LastCompareSaveDir, folder);

    prompts.saveFiles = {QString::fromStdString(dir.Folder() + "missing/copy.html")};
    QTest::mouseClick(Button("sbSaveLeft"), Qt::LeftButton);
    ASSERT_EQ(prompts.Of(Kind::Error).size(), 1);
    EXPECT_TRUE(prompts.Of(Kind::Error)[0].startsWith(
        QString::fromStdString("Could not save \"" + dir.Folder() + "missing/copy.html\"")));
    EXPECT_EQ(settings.LastCompareSaveDir, dir.Folder() + "missing/");

    // A cancelled chooser saves nothing.
    QTest::mouseClick(Button("sbSaveLeft"), Qt::LeftButton);
    EXPECT_EQ(prompts.Of(Kind::SaveFile).size(), 3);
    EXPECT_EQ(prompts.Of(Kind::Error).size(), 1);
}

TEST_F(ComparisonWindowTest, ResizingKeepsTheHalvesEqual) {
    Open(Watch("http://host/page"));
    comparison->show();
    const auto* splitter = comparison->findChild<QSplitter*>("Splitter1");
    for (const auto& [width, left] : {std::pair{868, 432}, {901, 448}, {1003, 500}}) {
        comparison->resize(width, 600);
        QCoreApplication::processEvents();
        EXPECT_EQ(splitter->sizes(), (QList<int>{left, width - 4 - left})) << width;
    }
}

} // namespace
} // namespace zelmox::test
