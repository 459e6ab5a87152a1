// Automatic scanning from the window: the interval menu and its custom dialog, timed scans with
// their tray, balloon and sounds, the log window, and commands that a timed scan overtakes.
#include "AutoScanCommands.h"
#include "CommandFixture.h"
#include "SectionCommands.h"
#include "TfrmCustomInterval.h"
#include "TfrmLogWindow.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace zelmox::test {
namespace {

constexpr int FifteenMinutes = 900'000;

class AutoScanTest : public CommandWindowTest {
protected:
    AutoScanCommands& AutoScan() { return window->AutoScan(); }

    QString Checked() {
        for (QAction* item : Find<QMenu>("puAutoScan")->actions()) {
            if (item->isChecked()) {
                return item->objectName();
            }
        }
        return {};
    }

    // "custom", answered in its dialog with a number and a unit, or cancelled when count is 0.
    void ChooseCustom(int count, const QString& unit, QStringList* defaults = nullptr) {
        OnDialog<TfrmCustomInterval>([=](TfrmCustomInterval& dialog) {
            auto* number = Control<QSpinBox>(dialog, "seInterval");
            auto* units = Control<QComboBox>(dialog, "cbIntervalType");
            if (defaults != nullptr) {
                *defaults << QString::number(number->minimum())
                          << QString::number(number->maximum()) << number->text()
                          << units->currentText() << units->itemText(2);
            }
            if (count == 0) {
                Control<QPushButton>(dialog, "bCancel")->click();
                return;
            }
            number->setValue(count);
            units->setCurrentText(unit);
            Control<QPushButton>(dialog, "bOK")->click();
        });
        Action("miInterval8")->trigger();
    }

    // The watches of changed pages in the first section, shown; sounds on.
    void WatchChangedPages(int count, int scanType, int delayMs = 0) {
        std::vector<TWatchObject> watches = ChangedPages(count, {0}, delayMs);
        for (TWatchObject& object : watches) {
            object.Watch.ScanType = scanType;
        }
        PutWatches(0, watches);
        TSettings& settings = window->Settings();
        settings.PlayNotifySounds = true;
        settings.Sound = {"/s/entire.wav", "/s/tags.wav", "/s/size.wav", "/s/keys.wav"};
        settings.SoundFinished = "/s/end.wav";
    }

    void Tick() { autoScanTimer.Advance(AutoScan().Interval()); }

    QString LogWindowText() {
        QString text;
        OnDialog<TfrmLogWindow>([&text](TfrmLogWindow& log) {
            text = log.Text();
            EXPECT_TRUE(Control<QPlainTextEdit>(log, "mLog")->isReadOnly());
            log.reject();
        });
        Action("LogWindow1")->trigger();
        return text;
    }
};

TEST_F(AutoScanTest, IntervalMenuSetsTheTimersPeriod) {
    QStringList captions;
    for (const QAction* item : Find<QMenu>("puAutoScan")->actions()) {
        captions << (item->isSeparator() ? "-" : item->text());
    }
    EXPECT_EQ(captions,
              (QStringList{"autoscan interval", "-", "2 minutes ", "5 minutes", "10 minutes",
                           "15 minutes", "30 minutes", "60 minutes", "2 hours", "custom"}));
    EXPECT_FALSE(Find<QMenu>("puAutoScan")->actions().front()->isEnabled());
    EXPECT_EQ(Button("tbAutoScan")->menu(), Find<QMenu>("puAutoScan"));
    EXPECT_EQ(Checked(), "miInterval4");
    EXPECT_EQ(AutoScan().Interval(), FifteenMinutes);

    const std::pair<const char*, int> fixed[] = {
        {"miInterval1", 120'000},   {"miInterval2", 300'000},   {"miInterval3", 600'000},
        {"miInterval5", 1'800'000}, {"miInterval6", 3'600'000}, {"miInterval7", 7'200'000}};
    for (const auto& [item, interval] : fixed) {
        Action(item)->trigger();
        EXPECT_EQ(Checked(), item);
        EXPECT_EQ(AutoScan().Interval(), interval) << item;
    }

    // "custom" opens at its defaults every time; Cancel leaves the item checked before it.
    QStringList defaults;
    ChooseCustom(0, {}, &defaults);
    EXPECT_EQ(Checked(), "miInterval7");
    EXPECT_EQ(AutoScan().Interval(), 7'200'000);
    const struct {
        int count;
        const char* unit;
        int interval;
    } custom[] = {{2, "Hours", 7'200'000},
                  {1, "Minutes", 60'000},
                  {999, "Days", AutoScanSchedule::LongestInterval}};
    for (const auto& c : custom) {
        ChooseCustom(c.count, c.unit, &defaults);
        EXPECT_EQ(Checked(), "miInterval8");
        EXPECT_EQ(AutoScan().Interval(), c.interval) << c.count << c.unit;
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(defaults.mid(5 * i, 5), (QStringList{"1", "999", "1", "Minutes", "Days"})) << i;
    }
    EXPECT_EQ(dialogTitles.first(), "Set Autoscan Interval");

    // While on, a new interval counts afresh from when it is chosen.
    Click("tbAutoScan");
    EXPECT_EQ(autoScanTimer.Period(), AutoScanSchedule::LongestInterval);
    Action("miInterval1")->trigger();
    EXPECT_EQ(autoScanTimer.Period(), 120'000);
    EXPECT_TRUE(AutoScan().IsOn());
}

TEST_F(AutoScanTest, TheIntervalIsStoredAndChecksItsItemAtTheNextStart) {
    ChooseCustom(999, "Days");
    prompts.yesNoCancel = {Answer::No};
    window->close();
    EXPECT_EQ(StoredWindowValues().Interval, AutoScanSchedule::LongestInterval)
        << "not a negative number that reads back as the default";

    const std::pair<int, const char*> stored[] = {
        {AutoScanSchedule::LongestInterval, "miInterval8"},
        {120'000, "miInterval1"},
        {1'800'000, "miInterval5"},
        {240'000, "miInterval8"}};
    for (const auto& [interval, item] : stored) {
        TSettings settings = DefaultSettings(paths);
        MainWindowValues values;
        values.Interval = interval;
        ASSERT_TRUE(SaveSettings(paths, settings, values).ok);
        window.reset();
        CreateAndStart();
        EXPECT_EQ(Checked(), item) << interval;
        EXPECT_EQ(AutoScan().Interval(), interval);
        EXPECT_FALSE(AutoScan().IsOn()) << "off at every start";
    }
}

TEST_F(AutoScanTest, ATickDuringAScanIsSkippedAndTheNextOneScans) {
    WatchChangedPages(2, ScanEntireFile, 500);
    Click("tbAutoScan");
    window->tbScanClick();
    ASSERT_TRUE(window->GetScanner().IsRunning());
    Tick();
    EXPECT_TRUE(tray.radar.empty()) << "no timed scan inside the user's";
    ASSERT_TRUE(WaitForScanEnd());
    EXPECT_EQ(server.Hits("/p0"), 1);

    Tick();
    EXPECT_EQ(tray.radar, std::vector<bool>{true});
    EXPECT_EQ(EnabledButtons(), QStringList{}) << "the scan's busy mode";
    ASSERT_TRUE(WaitForScanEnd());
    EXPECT_EQ(server.Hits("/p0"), 2);
    EXPECT_EQ(tray.radar, (std::vector<bool>{true, false}));

    // Nor inside an add's first fetch.
    server.SetReplies("/slow", {PageReply::Ok("page"), PageReply::Ok("page", 500)});
    QSignalSpy added(&Watches(), &WatchCommands::AddFinished);
    OnDialog(Enter(server.Url("/slow"), "slow"));
    Watches().tbAddWatchClick();
    ASSERT_TRUE(Watches().IsAdding());
    Tick();
    EXPECT_FALSE(window->GetScanner().IsRunning());
    ASSERT_TRUE(added.wait(15000));
    EXPECT_EQ(tray.radar.size(), 2u);
}

TEST_F(AutoScanTest, TimedScanPlaysEachSoundToItsEndAndLeavesTheAutoScanImage) {
    for (const bool minimised : {false, true}) {
        SCOPED_TRACE(minimised);
        window.reset();
        tray = RecordingTray();
        sounds.played.clear();
        CreateAndStart();
        WatchChangedPages(2, ScanTextBetweenTags);
        // Each sound holds the scan as a real one does until it ends, or until the player gives
        // up on a sound that never reports its end; a tick meanwhile starts nothing.
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
        EXPECT_EQ(Tab(0).Row(2).Object.Changed, 1);
        EXPECT_EQ(tray.radar, (std::vector<bool>{true, false}));
        EXPECT_NE(std::find(tray.images.begin(), tray.images.end(), TrayIcon::ChangeDetected),
                  tray.images.end());
        EXPECT_EQ(tray.CurrentImage(), TrayIcon::AutoScan);
        EXPECT_EQ(tray.hints.back(), "Zelmox v2.2 [auto scan on]");
        ASSERT_EQ(tray.balloons.size(), minimised ? 1u : 0u);
        if (minimised) {
            EXPECT_EQ(tray.balloons[0].title, "Change Detected!");
            EXPECT_EQ(tray.balloons[0].text, "");
            EXPECT_EQ(tray.balloons[0].milliseconds, 10'000);
        }
        EXPECT_EQ(EnabledButtons().size(), AllButtonsBut({"tbDeleteSection"}).size())
            << "the scan's end enables every button while automatic scanning stays on";
        EXPECT_TRUE(Action("miTTStop")->isEnabled());
    }
}

TEST_F(AutoScanTest, LogWindowShowsTheLastScanAtEveryOpening) {
    EXPECT_EQ(LogWindowText(), "") << "before any scan";
    WatchChangedPages(2, ScanEntireFile);
    window->tbScanClick();
    ASSERT_TRUE(WaitForScanEnd());
    const QString expected = "Change: " + QString::fromStdString(server.Url("/p0")) +
                             "\nChange: " + QString::fromStdString(server.Url("/p1")) +
                             "\n\n__end of log.";
    EXPECT_EQ(LogWindowText(), expected);
    EXPECT_EQ(LogWindowText(), expected);
    EXPECT_EQ(dialogTitles, (QStringList{"Log Window", "Log Window", "Log Window"}));
    auto* log = window->findChild<TfrmLogWindow*>();
    EXPECT_EQ(log->size(), QSize(TfrmLogWindow::ClientWidth, TfrmLogWindow::ClientHeight));
}

// A timed scan can start while a command waits for the user's answer: the command then changes
// nothing, since the scan goes through the rows and sections as they were.
TEST_F(AutoScanTest, CommandsOvertakenByAScanWhileAskingChangeNothing) {
    const std::string other = OneWatchFile("other.zelmox");
    const struct {
        const char* name;
        std::function<void()> command;
    } commands[] = {
        {"Delete Watch",
         [&] {
             Select(0, 1);
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
             Select(0, 1);
             OnDialog([this](TfrmAddWatch& dialog) {
                 window->tbScanClick();
                 Method(dialog, 2)->setChecked(true);
                 OkButton(dialog)->click();
             });
             Watches().sbEditClick();
         }},
    };
    WatchChangedPages(1, ScanEntireFile, 300);
    ASSERT_TRUE(window->Sections().AddNewTab("Second"));
    prompts.whileShown = [this] { window->tbScanClick(); };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> addresses = Addresses();
        const std::vector<std::string> names = SectionNames();
        c.command();
        EXPECT_TRUE(window->GetScanner().IsRunning());
        EXPECT_EQ(Addresses(), addresses);
        EXPECT_EQ(SectionNames(), names);
        EXPECT_EQ(Tab(0).Row(1).Object.Watch.ScanType, ScanEntireFile);
        ASSERT_TRUE(WaitForScanEnd());
    }
}

} // namespace
} // namespace zelmox::test
