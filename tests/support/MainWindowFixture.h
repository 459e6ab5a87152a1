#pragma once

#include "ClearCommands.h"
#include "DataFile.h"
#include "FakeClock.h"
#include "FakeTimer.h"
#include "PageServer.h"
#include "SectionCommands.h"
#include "SectionGrid.h"
#include "SectionTableModel.h"
#include "SectionTabs.h"
#include "SettingsFile.h"
#include "Snapshot.h"
#include "StatusPanels.h"
#include "TempDir.h"
#include "TfrmMain.h"
#include "WindowTestPorts.h"

#include <QAction>
#include <QEventLoop>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zelmox::test {

using Kind = ScriptedPrompts::Kind;
using Answer = UserPrompts::Answer;

// Runs everything posted so far, zero-delay timers included.
inline void ProcessQueuedEvents() {
    bool reached = false;
    QTimer::singleShot(0, [&reached] { reached = true; });
    EXPECT_TRUE(QTest::qWaitFor([&reached] { return reached; }, 5000));
    QCoreApplication::processEvents();
}

// A watch as a data file holds it, scanned once. Its digest matches no page the tests serve, so
// its first successful fetch finds a change.
inline TWatchObject StoredWatch(const std::string& address, int scanType = ScanEntireFile,
                                int changed = 0) {
    TWatchObject object;
    object.Highlighted = changed != 0;
    object.Changed = changed;
    TWatch& watch = object.Watch;
    watch.Description = "about " + address;
    watch.Address = address;
    watch.ScanType = scanType;
    watch.AddressMD5 = ComputeAddressMD5(watch);
    watch.Added = "2007/01/01 10:00.00";
    watch.LastScan = "2007/01/02 11:00.00";
    watch.LastChange = "2007/01/02 11:00.00";
    watch.BeforeChange = "n/a";
    watch.MD5 = "900150983cd24fb0d6963f7d28e17f72";
    watch.OriginalSize = 5;
    watch.BeforeSize = 6;
    watch.AfterSize = 7;
    return object;
}

// Sections by name, each with its watches.
using SectionList = std::vector<std::pair<std::string, std::vector<TWatchObject>>>;

// A main window on the offscreen platform, its settings and folders in a temporary folder, every
// port a double and pages on a local server. The clock stands at 2007/02/03 09:05.07.
class MainWindowTest : public ::testing::Test {
protected:
    static constexpr const char* Plain = "Zelmox v2.2 / February 3rd 2007";
    static constexpr const char* Stamp = "2007/02/03 09:05.07";

    MainWindowTest() {
        paths.ConfigFile = dir.File("config/zelmox.ini");
        paths.DataFolder = dir.Folder() + "data/";
        paths.SavesFolder = dir.Folder() + "saves/";
        std::filesystem::create_directories(dir.File("config"));
        std::filesystem::create_directories(paths.DataFolder);
    }

    void SetUp() override { ASSERT_TRUE(server.Started()); }

    // The window goes before the server that its scans may still be talking to. It is hidden
    // first, as at the end of a run.
    void TearDown() override {
        if (window && window->GetScanner().IsRunning()) {
            window->GetScanner().Stop();
            EXPECT_TRUE(WaitForScanEnd(5000));
        }
        if (window) {
            window->hide();
        }
        window.reset();
    }

    // ---- Settings and data files --------------------------------------------------------------

    // The settings file holds only the default data file (and, if asked, the scan after loading).
    void WriteSettings(const std::string& defaultFile, bool scanAfterLoad = false) {
        TSettings settings = DefaultSettings(paths);
        settings.AutoScanAfterLoad = scanAfterLoad;
        MainWindowValues values;
        values.DefaultFilename = defaultFile;
        ASSERT_TRUE(SaveSettings(paths, settings, values).ok);
    }

    MainWindowValues StoredWindowValues() const {
        TSettings settings;
        MainWindowValues values;
        LoadSettings(paths, settings, values);
        return values;
    }

    // A data file in the temporary folder; its path.
    std::string WriteDataFile(const std::string& name, const SectionList& sections) {
        SectionModel model;
        for (std::size_t i = 0; i < sections.size(); ++i) {
            Section& section = i == 0 ? model.Tab(0) : *model.AddSection(sections[i].first);
            section.Name = sections[i].first;
            for (const TWatchObject& object : sections[i].second) {
                section.AddWatchRow(object, std::to_string(object.Changed));
            }
        }
        const std::string path = dir.File(name);
        EXPECT_TRUE(SaveData(model, path).Ok);
        return path;
    }
    std::string OneWatchFile(const std::string& name) {
        return WriteDataFile(name, {{"Default", {StoredWatch("/srv/" + name)}}});
    }

    // A data file as the default file of the settings.
    void UseDefaultFile(const SectionList& sections) {
        WriteSettings(WriteDataFile("watches.zelmox", sections));
    }

    // Watches of pages /p0 .. /p(count-1) that differ from what their watches recorded; slow ones
    // answer after delayMs.
    std::vector<TWatchObject> ChangedPages(int count, const std::vector<int>& slow = {},
                                           int delayMs = 0) {
        std::vector<TWatchObject> watches;
        for (int i = 0; i < count; ++i) {
            const std::string path = "/p" + std::to_string(i);
            const bool isSlow = std::find(slow.begin(), slow.end(), i) != slow.end();
            server.SetBody(path, "page " + std::to_string(i) + " now", isSlow ? delayMs : 0);
            watches.push_back(StoredWatch(server.Url(path)));
        }
        return watches;
    }

    // ---- The window ---------------------------------------------------------------------------

    void Create(const QStringList& arguments = {QStringLiteral("zelmox")}) {
        MainWindowPorts ports;
        ports.Prompts = &prompts;
        ports.Sounds = &sounds;
        ports.Shell = &shell;
        ports.Tray = &tray;
        ports.Time = &clock;
        ports.AutoScanTimer = &autoScanTimer;
        window = std::make_unique<TfrmMain>(StartupOptions::FromArguments(arguments), paths, ports);
    }

    // Shows the window and returns once the start-up steps queued by the first show have run.
    void ShowAndStart() {
        window->show();
        ProcessQueuedEvents();
    }

    void CreateAndStart(const QStringList& arguments = {QStringLiteral("zelmox")}) {
        Create(arguments);
        ShowAndStart();
    }

    // Runs the event loop until the scan has finished.
    bool WaitForScanEnd(int timeoutMs = 15000) {
        if (!window->GetScanner().IsRunning()) {
            return true;
        }
        QEventLoop loop;
        QObject::connect(&window->GetScanner(), &Scanner::ScanFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
        return !window->GetScanner().IsRunning();
    }

    // ---- Controls -----------------------------------------------------------------------------

    template <typename T = QWidget> T* Find(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QToolButton* Button(const char* name) const { return Find<QToolButton>(name); }
    QAction* Action(const char* name) const { return Find<QAction>(name); }
    void Click(const char* button) { QTest::mouseClick(Button(button), Qt::LeftButton); }

    QString Title() const { return window->windowTitle(); }
    static QString TitleWith(const std::string& path) {
        return QString::fromLatin1(Plain) + "   [" + QString::fromStdString(path) + "]";
    }
    QString Panel(int i) const { return window->Status()->PanelText(i); }
    QStringList Panels() const { return {Panel(1), Panel(2), Panel(3)}; }

    // The tool buttons and the four watch buttons of the bottom bar that are enabled.
    QStringList EnabledButtons() const {
        QStringList enabled;
        for (const QString& name : AllButtonsBut({})) {
            if (Button(name.toLatin1().constData())->isEnabled()) {
                enabled << name;
            }
        }
        return enabled;
    }
    static QStringList AllButtonsBut(const QStringList& excluded) {
        QStringList all{"tbSave",          "tbScan",        "tbScanCurrent", "tbAutoScan",
                        "tbAddWatch",      "tbDeleteWatch", "tbAddSection",  "tbDeleteSection",
                        "tbRenameSection", "sbCompare",     "sbInfo",        "sbClear",
                        "sbEdit"};
        for (const QString& name : excluded) {
            all.removeAll(name);
        }
        return all;
    }

    // ---- Sections and rows --------------------------------------------------------------------

    SectionModel& Model() { return window->Model(); }
    Section& Tab(int tab) { return window->Model().Tab(tab); }
    SectionTabs* Tabs() { return window->Tabs(); }
    SectionGrid* Grid(int tab) { return window->Tabs()->Grid(tab); }

    QStringList TabTexts() const {
        QStringList texts;
        for (int i = 0; i < window->Tabs()->count(); ++i) {
            texts << window->Tabs()->tabText(i);
        }
        return texts;
    }
    std::vector<std::string> SectionNames() {
        std::vector<std::string> names;
        for (int tab = 0; tab < Model().TabCount(); ++tab) {
            names.push_back(Tab(tab).Name);
        }
        return names;
    }
    // The addresses of every section's rows, tab after tab.
    std::vector<std::string> Addresses() {
        std::vector<std::string> addresses;
        for (int tab = 0; tab < Model().TabCount(); ++tab) {
            for (int row = 1; row < Tab(tab).RowCount(); ++row) {
                if (Tab(tab).Row(row).HoldsWatch()) {
                    addresses.push_back(Tab(tab).Row(row).Cells[ColAddress]);
                }
            }
        }
        return addresses;
    }

    // Puts watches into a section as a load would, and shows them.
    void PutWatches(int tab, const std::vector<TWatchObject>& watches) {
        for (const TWatchObject& object : watches) {
            Tab(tab).AddWatchRow(object, std::to_string(object.Changed));
        }
        window->Tabs()->ReloadRows(tab);
    }
    void Select(int tab, int row) {
        window->Tabs()->setCurrentIndex(tab);
        window->Tabs()->Grid(tab)->SelectRow(row);
    }
    int SelectedRow(int tab) const { return window->Tabs()->Grid(tab)->SelectedRow(); }

    // ---- Snapshot files -----------------------------------------------------------------------

    // The names of the files in the snapshot folder, sorted.
    std::vector<std::string> DataFolderFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(paths.DataFolder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string Snapshot(const TWatch& watch, const char* suffix) const {
        return SnapshotFileName(paths.DataFolder, watch, suffix);
    }

    TempDir dir;
    SettingsPaths paths;
    ScriptedPrompts prompts;
    RecordingSounds sounds;
    RecordingShell shell;
    RecordingTray tray;
    FakeClock clock;
    FakeTimer autoScanTimer;
    PageServer server;
    std::unique_ptr<TfrmMain> window;
};

} // namespace zelmox::test
