// Automatic scanning from the window: the interval menu and its custom dialog, timed scans with
// their tray, balloon and sounds, the log window, and commands that a timed scan overtakes.
#include "AutoScanCommands.h"
#include "CommandFixture.h"
#include "SectionCommands.h"
#include "TfrmCustomInterval.h"
#include "TfrmLogWindow.h"

#include <QComboBox>
#include <QSpinBox>

namespace zelmox::test {
namespace {

constexpr int Longest = AutoScanSchedule::LongestInterval;

class AutoScanTest : public CommandWindowTest {
protected:
    AutoScanCommands& AutoScan() { return window->AutoScan(); }
    QString Checked() {
        const QList<QAction*> items = Find<QMenu>("puAutoScan")->actions();
        const auto checked = std::find_if(items.begin(), items.end(),
                                          [](const QAction* item) { return item->isChecked(); });
        return checked == items.end() ? QString() : (*checked)->objectName();
    }
    // "custom", answered with a number and a unit, or cancelled for 0; notes what it opened with.
    void ChooseCustom(int count, const QString& unit = {}) {
        OnDialog<TfrmCustomInterval>([=, this](TfrmCustomInterval& dialog) {
            auto* number = Control<QSpinBox>(dialog, "seInterval");
            auto* units = Control<QComboBox>(dialog, "cbIntervalType");
            opened << QStringLiteral("%1..%2 %3 %4 of %5")
                          .arg(number->minimum())
                          .arg(number->maximum())
                          .arg(number->value())
                          .arg(units->currentText())
                          .arg(units->count());
            number->setValue(count);
            units->setCurrentText(unit);
            Control<QPushButton>(dialog, count == 0 ? "bCancel" : "bOK")->click();
        });
        Action("miInterval8")->trigger();
    }
    // Changed pages of the given scan type in the first section, with sounds on.
    void WatchChangedPages(int count, int scanType, int delayMs = 0) {
        std::vector<TWatchObject> watches = ChangedPages(count, {0}, delayMs);
        for (TWatchObject& object : watches) {
            object.Watch.ScanType = scanType;
        }
        PutWatches(0, watches);
        window->Settings().PlayNotifySounds = true;
        window->Settings().Sound = {"/s/entire.wav", "/s/tags.wav", "/s/size.wav", "/s/keys.wav"};
        window->Settings().SoundFinished = "/s/end.wav";
    }
    void Tick() { autoScanTimer.Advance(AutoScan().Interval()); }
    QString LogWindowText() {
        QString text;
        OnDialog<TfrmLogWindow>([&text](TfrmLogWindow& log) {
            text = log.Text();
            log.reject();
        });
        Action("LogWindow1")->trigger();
        return text;
    }

    QStringList opened;
};

TEST_F(AutoScanTest, IntervalMenuAndCustomDialogSetTheTimersPeriod) {
    QStringList captions;
    for (const QAction* item : Find<QMenu>("puAutoScan")->actions()) {
        captions << (item->isSeparator() ? "-" : item->isEnabled() ? item->text() : "/disabled");
    }
    EXPECT_EQ(captions,
              (QStringList{"/disabled", "-", "2 minutes ", "5 minutes", "10 minutes", "15 minutes",
                           "30 minutes", "60 minutes", "2 hours", "custom"}));
    EXPECT_EQ(Button("tbAutoScan")->menu(), Find<QMenu>("puAutoScan"));
    EXPECT_EQ(Checked(), "miInterval4");
    EXPECT_EQ(AutoScan().Interval(), 900'000);

    // Item to choose ("custom" with its answer, 0 cancels), the item checked, the interval.
    const std::tuple<const char*, int, const char*, const char*, int> steps[] = {
        {"miInterval5", 0, "", "miInterval5", 1'800'000},
        {"miInterval7", 0, "", "miInterval7", 7'200'000},
        {"custom", 0, "", "miInterval7", 7'200'000},
        {"custom", 2, "Hours", "miInterval8", 7'200'000},
        {"custom", 1, "Minutes", "miInterval8", 60'000},
        {"custom", 999, "Days", "miInterval8", Longest},
        {"miInterval1", 0, "", "miInterval1", 120'000},
    };
    for (const auto& [item, count, unit, checked, interval] : steps) {
        if (QString(item) == "custom") {
            ChooseCustom(count, unit);
        } else {
            Action(item)->trigger();
        }
        EXPECT_EQ(Checked(), checked) << item << count;
        EXPECT_EQ(AutoScan().Interval(), interval) << item << count;
    }
    EXPECT_EQ(opened, QStringList(4, "1..999 1 Minutes of 3")) << "made anew each time";
    EXPECT_EQ(dialogTitles.first(), "Set Autoscan Interval");

    // While on, a new interval counts afresh from when it is chosen.
    Click("tbAutoScan");
    EXPECT_EQ(autoScanTimer.Period(), 120'000);
    Action("miInterval6")->trigger();
    EXPECT_EQ(autoScanTimer.Period(), 3'600'000);
}

TEST_F(AutoScanTest, TheIntervalIsStoredAndChecksItsItemAtTheNextStart) {
    ChooseCustom(999, "Days");
    prompts.yesNoCancel = {Answer::No};
    window->close();
    EXPECT_EQ(StoredWindowValues().Interval, Longest) << "not a negative number";

    const std::pair<int, const char*> stored[] = {
        {Longest, "miInterval8"}, {1'800'000, "miInterval5"}, {240'000, "miInterval8"}};
    for (const auto& [interval, item] : stored) {
        MainWindowValues values;
        values.Interval = interval;
        ASSERT_TRUE(SaveSettings(paths, DefaultSettings(paths), values).ok);
        window.reset();
        CreateAndStart();
        EXPECT_EQ(Checked(), item) << interval;
        EXPECT_EQ(AutoScan().Interval(), interval);
        EXPECT_FALSE(AutoScan().IsOn()) << "off at every start";
    }
}

TEST_F(AutoScanTest, ATickDuringAScanOrAnAddIsSkippedAndTheNextOneScans) {
    WatchChangedPages(2, ScanEntireFile, 500);
    Click("tbAutoScan");
    window->tbScanClick();
    Tick();
    EXPECT_TRUE(tray.radar.empty()) << "no timed scan inside the user's";
    ASSERT_TRUE(WaitForScanEnd());
    EXPECT_EQ(server.Hits("/p0"), 1);

    Tick();
    EXPECT_EQ(tray.radar, std::vector<bool>{true});
    EXPECT_EQ(EnabledButtons(), QStringList{}) << "the scan's busy mode";
    ASSERT_TRUE(WaitForScanEnd());
    EXPECT_EQ(server.Hits("/p0"), 2);

    server.SetReplies("/slow", {PageReply::Ok("page"), PageReply::Ok("page", 500)});
    QSignalSpy added(&Watches(), &WatchCommands::AddFinished);
    OnDialog(Enter(server.Url("/slow"), "slow"));
    Watches().tbAddWatchClick();
    ASSERT_TRUE(Watches().IsAdding());
    Tick();
    EXPECT_FALSE(window->GetScanner().IsRunning());
    ASSERT_TRUE(added.wait(15000));
    EXPECT_EQ(tray.radar, (std::vector<bool>{true, false}));

    // Switched off from the tray during a timed scan, the tray does not go on claiming it is on.
    Tick();
    Action("miTTStop")->trigger();
    ASSERT_TRUE(WaitForScanEnd());
    EXPECT_EQ(tray.radar.size(), 4u);
    EXPECT_EQ(tray.CurrentImage(), TrayIcon::Idle);
}

TEST_F(AutoScanTest, TimedScanPlaysEachSoundToItsEndAndLeavesTheAutoScanImage) {
    for (const bool minimised : {false, true}) {
        SCOPED_TRACE(minimised);
        tray = RecordingTray();
        sounds.played.clear();
        window.reset();
        CreateAndStart();
        WatchChangedPages(2, ScanTextBetweenTags);
        // A sound holds the scan until it ends, or until the player gives up on one that never
        // reports its end; a tick meanwhile starts nothing.
        std::vector<bool> nextRowDone;
        sounds.whilePlaying = [&] {
            QTest::qWait(100);
            nextRowDone.push_back(Tab(0).Row(2).Object.Highlighted);
            Tick();
        };
        Click("tbAutoScan");
        if (minimised) {
            window->showMinimized();
        }
        Tick();
        ASSERT_TRUE(WaitForScanEnd());
        sounds.whilePlaying = nullptr;

        EXPECT_EQ(sounds.played,
                  (QStringList{"/s/tags.wav", "/s/tags.wav", "/s/end.wav", "/s/end.wav"}));
        EXPECT_EQ(nextRowDone, (std::vector<bool>{false, true, true, true}));
        EXPECT_EQ(server.Hits("/p1"), minimised ? 2 : 1) << "one timed scan";
        EXPECT_EQ(tray.radar, (std::vector<bool>{true, false}));
        EXPECT_EQ(std::count(tray.images.begin(), tray.images.end(), TrayIcon::ChangeDetected), 1);
        EXPECT_EQ(tray.CurrentImage(), TrayIcon::AutoScan);
        EXPECT_EQ(tray.hints.back(), "Zelmox v2.2 [auto scan on]");
        ASSERT_EQ(tray.balloons.size(), minimised ? 1u : 0u);
        if (minimised) {
            EXPECT_EQ(tray.balloons[0].title + tray.balloons[0].text, "Change Detected!");
            EXPECT_EQ(tray.balloons[0].milliseconds, 10'000);
        }
        EXPECT_TRUE(Action("miTTStop")->isEnabled());
    }
}

TEST_F(AutoScanTest, LogWindowShowsTheLastScanAtEveryOpening) {
    EXPECT_EQ(LogWindowText(), "") << "before any scan";
    WatchChangedPages(2, ScanEntireFile);
    window->tbScanClick();
    ASSERT_TRUE(WaitForScanEnd());
    const QString expected =
        QString::fromStdString("Change: " + server.Url("/p0") + "\nChange: " + server.Url("/p1")) +
        "\n\n__end of log.";
    EXPECT_EQ(LogWindowText(), expected);
    EXPECT_EQ(LogWindowText(), expected);
    EXPECT_EQ(dialogTitles, QStringList(3, "Log Window"));
}

// A timed scan can start while a command waits for the user's answer: the command then changes
// nothing, since the scan goes through the rows and sections as they were.
TEST_F(AutoScanTest, CommandsOvertakenByAScanWhileAskingChangeNothing) {
    const std::string other = OneWatchFile("other.zelmox");
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"Delete Watch",
         [&] {
             prompts.yesNo = {true};
             Watches().tbDeleteWatchClick();
         }},
        {"Delete Section",
         [&] {
             Tabs()->setCurrentIndex(1);
             prompts.yesNo = {true};
             window->Sections().tbDeleteSectionClick();
         }},
        {"Add Section",
         [&] {
             prompts.texts = {"Third"};
             window->Sections().tbAddSectionClick();
         }},
        {"Close",
         [&] {
             prompts.yesNoCancel = {Answer::No};
             Files().NewClick();
         }},
        {"Open", [&] { Open(other); }},
        {"Merge", [&] { Merge(other); }},
        {"Edit",
         [&] {
             OnDialog([this](TfrmAddWatch& dialog) {
                 window->tbScanClick();
                 Method(dialog, 2)->setChecked(true);
                 OkButton(dialog)->click();
             });
             Watches().sbEditClick();
         }},
    };
    // A local file, which the edit dialog accepts at once, and a slow page that holds the scan.
    WriteFile(dir.File("local.txt"), "local");
    PutWatches(0, {StoredWatch(dir.File("local.txt"))});
    WatchChangedPages(1, ScanEntireFile, 300);
    ASSERT_TRUE(window->Sections().AddNewTab("Second"));
    prompts.whileShown = [this] { window->tbScanClick(); };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        Select(0, 1);
        const std::vector<std::string> addresses = Addresses(), names = SectionNames();
        command();
        EXPECT_TRUE(window->GetScanner().IsRunning());
        EXPECT_EQ(Addresses(), addresses);
        EXPECT_EQ(SectionNames(), names);
        EXPECT_EQ(Tab(0).Row(1).Object.Watch.ScanType, ScanEntireFile);
        ASSERT_TRUE(WaitForScanEnd());
    }
}

} // namespace
} // namespace zelmox::test
