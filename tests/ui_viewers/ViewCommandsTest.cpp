#include "MainWindowFixture.h"
#include "TfrmComparison.h"

#include <QApplication>
#include <QMenu>

namespace zelmox::test {
namespace {

class ViewCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateAndStart();
    }
};

TEST_F(ViewCommandsTest, OpenDocMenuOpensTheVersionsOfTheSelectedWatchThroughTheShell) {
    QStringList captions;
    for (const QAction* action : Find<QMenu>("puOpenDoc")->actions()) {
        captions << (action->isSeparator() ? "-" : action->text());
    }
    EXPECT_EQ(captions,
              (QStringList{"- Open Watch -", "-", "Original", "Previous Change", "Current Change",
                           "Differences", "-", "Live Version", "-", "Information"}));

    const TWatch watch = StoredWatch("http://host/report.pdf").Watch;
    PutWatches(0, {StoredWatch("http://host/report.pdf")});
    // Nothing selected: nothing opens.
    Action("miOriginal")->trigger();
    EXPECT_TRUE(shell.opened.isEmpty());
    Select(0, 1);
    for (const char* item : {"miOriginal", "miPrevious", "miCurrent", "miLive"}) {
        Action(item)->trigger();
    }
    EXPECT_EQ(shell.opened, (QStringList{QString::fromStdString(Snapshot(watch, "_x")),
                                         QString::fromStdString(Snapshot(watch, "_b")),
                                         QString::fromStdString(Snapshot(watch, "_a")),
                                         "http://host/report.pdf"}));
    EXPECT_TRUE(Snapshot(watch, "_a").ends_with(".pdf"));
}

TEST_F(ViewCommandsTest, CompareOpensTheComparisonOfTheSelectedWatchModally) {
    PutWatches(0, {StoredWatch("http://host/page")});
    Select(0, 1);
    window->sg1Click();
    ASSERT_TRUE(Button("sbCompare")->isEnabled());
    QString caption;
    QTimer::singleShot(0, [&caption] {
        QWidget* shown = QApplication::activeModalWidget();
        ASSERT_NE(shown, nullptr);
        caption = shown->windowTitle();
        shown->close();
    });
    Click("sbCompare");
    EXPECT_EQ(caption, "Comparison Display [about http://host/page]");
}

} // namespace
} // namespace zelmox::test
