// Starting, refusing and stopping scans, and what the window is told along the way.
#include "EngineTestSupport.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace zelmox::test {
namespace {

using Args = QList<QVariant>;

QList<Args> Calls(const QSignalSpy& spy) {
    QList<Args> calls;
    for (const auto& call : spy) {
        calls.append(call);
    }
    return calls;
}

class ScanControlTest : public ScanTest {
protected:
    // Every row's watch and cells, to tell touched rows from untouched ones.
    std::vector<WatchRow> RowsOf(int tab) {
        std::vector<WatchRow> rows;
        for (int row = 1; row < rig.Model.Tab(tab).RowCount(); ++row) {
            rows.push_back(rig.Row(tab, row));
        }
        return rows;
    }

    static bool Same(const WatchRow& a, const WatchRow& b) {
        return a.Object == b.Object && a.Cells == b.Cells;
    }
};

TEST_F(ScanControlTest, ScanAllTabsTellsTheWindowEachStep) {
    AddPage("/a", ScanEntireFile, "a0");
    AddPage("/b", ScanEntireFile, "b0");
    rig.Model.AddSection("Empty");
    rig.Model.AddSection("Third");
    AddPage("/c", ScanEntireFile, "c0", {}, 2);
    server.SetBody("/a", "a1");
    server.SetBody("/b", "b0");
    server.SetBody("/c", "c0");
    QSignalSpy busy(&rig.Engine, &Scanner::BusyChanged);
    QSignalSpy status(&rig.Engine, &Scanner::StatusTextChanged);
    QSignalSpy started(&rig.Engine, &Scanner::ProgressStarted);
    QSignalSpy stepped(&rig.Engine, &Scanner::ProgressStepped);
    QSignalSpy progressDone(&rig.Engine, &Scanner::ProgressFinished);
    QSignalSpy stopEnabled(&rig.Engine, &Scanner::StopEnabledChanged);
    QSignalSpy rows(&rig.Engine, &Scanner::RowUpdated);
    QSignalSpy images(&rig.Engine, &Scanner::TabImageChanged);
    QSignalSpy announced(&rig.Engine, &Scanner::ChangesAnnounced);
    QSignalSpy finishedSound(&rig.Engine, &Scanner::FinishedSound);
    QSignalSpy refresh(&rig.Engine, &Scanner::StatusBarRefreshNeeded);
    QSignalSpy finished(&rig.Engine, &Scanner::ScanFinished);
    // One page at a time: the scan waits for each in turn.
    rig.Engine.SetLimits({1, 1});

    ScanAt(1);

    EXPECT_EQ(Calls(busy), (QList<Args>{{true}, {false}}));
    EXPECT_EQ(Calls(started), (QList<Args>{{1, 5}})) << "1 + every data row of every section";
    EXPECT_EQ(stepped.count(), 4);
    EXPECT_EQ(progressDone.count(), 1);
    EXPECT_EQ(Calls(stopEnabled), (QList<Args>{{true}, {false}}));
    EXPECT_EQ(Calls(status), (QList<Args>{{Q("Scanning... Default ... " + server.Url("/a"))},
                                          {Q("Scanning... Default ... " + server.Url("/b"))},
                                          {Q("Scanning... Third ... " + server.Url("/c"))},
                                          {QString()}}));
    EXPECT_EQ(Calls(rows), (QList<Args>{{0, 1}, {0, 2}, {1, 1}, {2, 1}}));
    EXPECT_EQ(Calls(images), (QList<Args>{{0, true}, {0, true}, {1, false}, {2, false}}));
    EXPECT_EQ(announced.count(), 1);
    EXPECT_EQ(finishedSound.count(), 1);
    EXPECT_EQ(refresh.count(), 1);
    EXPECT_EQ(Calls(finished), (QList<Args>{{1}}));
    EXPECT_TRUE(rig.Model.Tab(0).ChangeMark);

    // A scan without changes announces nothing and takes the section's mark away.
    ScanAt(2);
    EXPECT_EQ(announced.count(), 1);
    EXPECT_EQ(finishedSound.count(), 2);
    EXPECT_EQ(images.at(images.count() - 4), (Args{0, false}));
    EXPECT_FALSE(rig.Model.Tab(0).ChangeMark);
    EXPECT_EQ(finished.last(), (Args{0}));
    EXPECT_EQ(rig.Engine.TotalChanges(), 0);
}

TEST_F(ScanControlTest, StatusNamesTheRowTheScanWaitsFor) {
    for (const char* path : {"/slow", "/b", "/c"}) {
        AddPage(path, ScanEntireFile, "v0");
    }
    server.SetBody("/slow", "v1", 800);
    server.SetBody("/b", "v1");
    server.SetBody("/c", "v1");
    QSignalSpy status(&rig.Engine, &Scanner::StatusTextChanged);

    ASSERT_TRUE(rig.Engine.ScanAllTabs());
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.Hits("/c") == 1; }, 5000));
    QTest::qWait(100);
    ASSERT_TRUE(rig.Engine.IsRunning());
    EXPECT_EQ(Calls(status), QList<Args>{{Q("Scanning... Default ... " + server.Url("/slow"))}})
        << "the pages already fetched are not what the scan waits for";

    ASSERT_TRUE(QTest::qWaitFor([this] { return !rig.Engine.IsRunning(); }, 5000));
    EXPECT_EQ(status.last(), Args{QString()}) << "the scan ended";
}

TEST_F(ScanControlTest, ScanCurrentScansOnlyTheActiveSection) {
    AddPage("/a", ScanEntireFile, "a0");
    rig.Model.AddSection("Shown");
    AddPage("/b", ScanEntireFile, "b0", {}, 1);
    AddPage("/c", ScanEntireFile, "c0", {}, 1);
    for (const char* path : {"/a", "/b", "/c"}) {
        server.SetBody(path, std::string(path) + " v1");
    }
    ScanAt(1);
    ASSERT_EQ(rig.Engine.TotalChanges(), 3);
    for (const char* path : {"/a", "/b", "/c"}) {
        server.SetBody(path, std::string(path) + " v2");
    }
    const WatchRow untouched = rig.Row(0, 1);
    rig.Model.SetActiveTab(1);
    QSignalSpy started(&rig.Engine, &Scanner::ProgressStarted);
    QSignalSpy finished(&rig.Engine, &Scanner::ScanFinished);

    rig.Clock.Set(At(2));
    ASSERT_TRUE(rig.Run(false));

    EXPECT_EQ(Calls(started), (QList<Args>{{1, 2}})) << "the rows of the shown section";
    EXPECT_EQ(Calls(finished), (QList<Args>{{2}}));
    EXPECT_EQ(rig.Engine.TotalChanges(), 3) << "only Scan All Tabs sets the total";
    EXPECT_EQ(server.Hits("/a"), 1);
    EXPECT_TRUE(Same(rig.Row(0, 1), untouched));
    EXPECT_EQ(rig.Object(1, 2).Changed, 2);
    EXPECT_EQ(rig.Log.Lines(),
              LogWith({"Change: " + server.Url("/b"), "Change: " + server.Url("/c")}));
}

TEST_F(ScanControlTest, ScanWhileScanningIsRefused) {
    AddPage("/a", ScanEntireFile, "a0");
    AddPage("/slow", ScanEntireFile, "s0");
    server.SetBody("/a", "a1");
    server.SetBody("/slow", "s1", 300);
    QSignalSpy finished(&rig.Engine, &Scanner::ScanFinished);
    std::vector<bool> answers;
    QObject::connect(&rig.Engine, &Scanner::RowUpdated, &rig.Engine, [&](int, int row) {
        if (row == 1) {
            answers.push_back(rig.Engine.ScanAllTabs());
            answers.push_back(rig.Engine.ScanCurrent());
        }
    });

    ASSERT_TRUE(rig.Engine.ScanAllTabs());
    EXPECT_TRUE(rig.Engine.IsRunning());
    EXPECT_FALSE(rig.Engine.ScanAllTabs());
    EXPECT_FALSE(rig.Engine.ScanCurrent());
    ASSERT_TRUE(finished.wait(10000));
    QTest::qWait(50);

    EXPECT_EQ(answers, (std::vector<bool>{false, false}));
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(server.Hits("/slow"), 1);
    EXPECT_FALSE(rig.Engine.IsRunning());
    EXPECT_EQ(rig.Log.Lines(),
              LogWith({"Change: " + server.Url("/a"), "Change: " + server.Url("/slow")}));
}

TEST_F(ScanControlTest, StopLeavesTheRestUntouchedAndTheScannerReady) {
    AddPage("/first", ScanEntireFile, "0");
    AddPage("/slow", ScanEntireFile, "0");
    AddPage("/third", ScanEntireFile, "0");
    rig.Model.AddSection("Later");
    AddPage("/fourth", ScanEntireFile, "0", {}, 1);
    for (const char* path : {"/first", "/third", "/fourth"}) {
        server.SetBody(path, "1");
    }
    server.SetBody("/slow", "1", 3000);
    const std::vector<WatchRow> firstTab = RowsOf(0);
    const std::vector<WatchRow> secondTab = RowsOf(1);
    QSignalSpy stepped(&rig.Engine, &Scanner::ProgressStepped);
    QSignalSpy finishedSound(&rig.Engine, &Scanner::FinishedSound);
    QSignalSpy stopEnabled(&rig.Engine, &Scanner::StopEnabledChanged);
    // The user presses Stop while the window processes events after the first row.
    const auto press = QObject::connect(&rig.Engine, &Scanner::RowUpdated, &rig.Engine, [&] {
        QTimer::singleShot(0, &rig.Engine, [&] { rig.Engine.Stop(); });
    });
    QElapsedTimer clock;
    clock.start();

    ScanAt(1);

    EXPECT_LT(clock.elapsed(), 2000) << "the slow fetch is dropped, not waited for";
    EXPECT_EQ(rig.Object(0, 1).Changed, 1);
    EXPECT_TRUE(Same(rig.Row(0, 2), firstTab[1]));
    EXPECT_TRUE(Same(rig.Row(0, 3), firstTab[2]));
    EXPECT_TRUE(Same(rig.Row(1, 1), secondTab[0]));
    EXPECT_FALSE(rig.Model.Tab(1).ChangeMark);
    EXPECT_EQ(rig.Log.Lines(), LogWith({"Change: " + server.Url("/first")}));
    EXPECT_EQ(stepped.count(), 1);
    EXPECT_EQ(finishedSound.count(), 1);
    EXPECT_EQ(stopEnabled.last(), (Args{false}));
    EXPECT_EQ(rig.Engine.TotalChanges(), 1);
    EXPECT_FALSE(rig.Engine.IsRunning());

    // The stop does not outlive its scan.
    QObject::disconnect(press);
    server.SetBody("/slow", "1");
    ScanAt(2);
    EXPECT_EQ(rig.Engine.TotalChanges(), 3);
    EXPECT_EQ(rig.Object(0, 2).Changed, 1);
    EXPECT_EQ(rig.Object(1, 1).Changed, 1);
}

TEST_F(ScanControlTest, StopTakesEffectBeforeTheNextRowEvenWhenItsPageIsReady) {
    AddPage("/first", ScanEntireFile, "0");
    AddPage("/ready", ScanEntireFile, "0");
    AddPage("/also-ready", ScanEntireFile, "0");
    server.SetBody("/first", "1", 300);
    server.SetBody("/ready", "1");
    server.SetBody("/also-ready", "1");
    const std::vector<WatchRow> before = RowsOf(0);
    // A handler of the row signal stops the scan at once, while the later pages have arrived.
    QObject::connect(&rig.Engine, &Scanner::RowUpdated, &rig.Engine, [&](int, int row) {
        if (row == 1) {
            rig.Engine.Stop();
        }
    });

    ScanAt(1);

    EXPECT_EQ(rig.Object(0, 1).Changed, 1);
    EXPECT_TRUE(Same(rig.Row(0, 2), before[1])) << "row 2 was applied after Stop";
    EXPECT_TRUE(Same(rig.Row(0, 3), before[2])) << "row 3 was applied after Stop";
    EXPECT_EQ(rig.Log.Lines(), LogWith({"Change: " + server.Url("/first")}));
}

TEST_F(ScanControlTest, SoundWaitedForInANestedEventLoopAppliesEveryRowOnce) {
    AddPage("/first", ScanKeywords, "0", {"news"});
    AddPage("/second", ScanKeywords, "0", {"news"});
    AddPage("/third", ScanKeywords, "0", {"news"});
    server.SetBody("/first", "news 1");
    server.SetBody("/second", "news 2", 40);
    server.SetBody("/third", "news 3", 40);
    // The window waits for a change sound to end while it keeps handling events; the later pages
    // arrive meanwhile.
    QObject::connect(&rig.Engine, &Scanner::NotifySound, &rig.Engine, [] {
        QEventLoop wait;
        QTimer::singleShot(150, &wait, &QEventLoop::quit);
        wait.exec();
    });
    QSignalSpy rows(&rig.Engine, &Scanner::RowUpdated);
    QSignalSpy finished(&rig.Engine, &Scanner::ScanFinished);

    rig.Clock.Set(At(1));
    ASSERT_TRUE(rig.Engine.ScanAllTabs());
    ASSERT_TRUE(finished.wait(10000)) << "the scan never finished";
    QTest::qWait(100);

    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(Calls(rows), (QList<Args>{{0, 1}, {0, 2}, {0, 3}}));
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(rig.Object(0, row).Changed, 1) << "row " << row;
        EXPECT_EQ(rig.Object(0, row).ChangeHistory.size(), 1u) << "row " << row;
    }
    EXPECT_EQ(rig.Log.Lines(),
              LogWith({"Change: " + server.Url("/first"), "Change: " + server.Url("/second"),
                       "Change: " + server.Url("/third")}));
}

TEST_F(ScanControlTest, SectionWithOnlyItsPlaceholder) {
    QSignalSpy started(&rig.Engine, &Scanner::ProgressStarted);
    QSignalSpy images(&rig.Engine, &Scanner::TabImageChanged);
    rig.Engine.Stop(); // nothing runs: no effect

    ScanAt(1);

    EXPECT_EQ(Calls(started), (QList<Args>{{1, 2}}));
    EXPECT_EQ(Calls(images), (QList<Args>{{0, false}}));
    EXPECT_EQ(rig.Log.Lines(), LogWith({}));
    EXPECT_EQ(server.TotalHits(), 0);
    EXPECT_TRUE(rig.Model.Tab(0).IsEmpty());
}

} // namespace
} // namespace zelmox::test
