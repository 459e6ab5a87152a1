// What the window tells the user while it is busy, and how the watch buttons follow the selection.
#include "CommandFixture.h"

#include <QStatusTipEvent>

namespace zelmox::test {
namespace {

class WindowFeedbackTest : public CommandWindowTest {
protected:
    bool Enabled(const char* button) { return Button(button)->isEnabled(); }
    // The pointer passes over a control with this hint.
    void Hover(const QString& hint) {
        QStatusTipEvent tip(hint);
        QCoreApplication::sendEvent(window.get(), &tip);
    }
};

TEST_F(WindowFeedbackTest, BusyWindowSaysWhatItWaitsForAndWhyItRefuses) {
    enum class Busy { Scan, Add };
    for (const Busy busy : {Busy::Scan, Busy::Add}) {
        CreateAndStart();
        // The add's dialog checks the page first; the slow answer is the one waited for.
        server.SetReplies("/slow", {PageReply::Ok("page", busy == Busy::Scan ? 700 : 0),
                                    PageReply::Ok("page", 700)});
        const QString slow = QString::fromStdString(server.Url("/slow"));
        ASSERT_TRUE(window->Sections().AddNewTab("Second"));
        PutWatches(0, {StoredWatch(slow.toStdString())});
        Tabs()->setCurrentIndex(0);
        if (busy == Busy::Scan) {
            Click("tbScan");
        } else {
            OnDialog(Enter(slow.toStdString()));
            Watches().tbAddWatchClick();
        }
        ProcessQueuedEvents();
        ASSERT_TRUE(window->IsBusy());
        EXPECT_TRUE(Find<QProgressBar>("pbMain")->isVisible());
        EXPECT_EQ(Panel(0), busy == Busy::Scan ? "Scanning... Default ... " + slow
                                               : "Checking " + slow + "...");

        Tabs()->setCurrentIndex(1);
        EXPECT_FALSE(Enabled("tbDeleteSection")) << "switching tabs while busy";

        window->Sections().tbAddSectionClick();
        const QString refusal = Panel(0);
        EXPECT_TRUE(refusal.startsWith("Not while a scan, an add or an import is running"))
            << refusal.toStdString();
        Hover("add a new section (tab)");
        EXPECT_EQ(Panel(0), refusal) << "a hint must not hide the refusal";
        EXPECT_EQ(window->Status()->currentMessage(), "");

        prompts.yesNoCancel = {Answer::No};
        Action("Close1")->trigger();
        EXPECT_TRUE(Panel(0).contains("closes")) << "Exit says that it waits";
        EXPECT_TRUE(window->isVisible());
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 10000));
        EXPECT_EQ(Model().TabCount(), 2);
    }
}

TEST_F(WindowFeedbackTest, WatchButtonsFollowEveryChangeOfTheSelectedRow) {
    TWatchObject manual = StoredWatch("/srv/manual");
    manual.Watch.Manual = 1;
    PutWatches(0, {StoredWatch("/srv/web"), manual});
    Select(0, 1);
    EXPECT_TRUE(Enabled("sbCompare"));

    // By keyboard.
    QTest::keyClick(Grid(0), Qt::Key_Down);
    ASSERT_EQ(SelectedRow(0), 2);
    EXPECT_FALSE(Enabled("sbCompare")) << "a manual watch has nothing to compare";
    EXPECT_TRUE(Enabled("sbEdit") && Enabled("sbInfo") && Enabled("sbClear"));
    QTest::keyClick(Grid(0), Qt::Key_Up);
    EXPECT_TRUE(Enabled("sbCompare"));

    // By command: the added watch is selected, and the buttons follow it.
    Select(0, 2);
    server.SetBody("/added", "page");
    AddWatch(Enter(server.Url("/added")));
    ASSERT_EQ(SelectedRow(0), 3);
    EXPECT_TRUE(Enabled("sbCompare"));

    // The Delete key runs "Delete Watch" with its question; with nothing selected the click
    // is answered in the status bar.
    QTest::keyClick(Grid(0), Qt::Key_Delete);
    EXPECT_EQ(prompts.Of(Kind::YesNo), QStringList{"Delete Watch?\r\rAre you sure?"});
    EXPECT_EQ(Tab(0).RowCount(), 4);
    Grid(0)->clearSelection();
    EXPECT_FALSE(Enabled("sbEdit"));
    Click("tbDeleteWatch");
    EXPECT_EQ(Panel(0), "Select the watch to delete first.");
    EXPECT_EQ(prompts.Of(Kind::YesNo).size(), 1);
}

} // namespace
} // namespace zelmox::test
