#pragma once

#include "DataFile.h"
#include "LocalHttpServer.h"
#include "SectionGrid.h"
#include "SectionTableModel.h"
#include "SectionTabs.h"
#include "SettingsFile.h"
#include "StatusPanels.h"
#include "TempDir.h"
#include "TestPorts.h"
#include "TfrmMain.h"

#include <QAction>
#include <QEventLoop>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// Qt texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{' << texts.join(", ").toStdString() << '}';
}

namespace zelmox::test {

// Pages on 127.0.0.1 that tests change at will; each path may answer after a delay.
class PageServer {
public:
    PageServer() {
        // Idle kept-alive connections hold a worker each; have plenty.
        http_.Server().new_task_queue = [] { return new httplib::ThreadPool(32); };
        http_.Server().set_keep_alive_timeout(1);
        http_.Server().Get(".*", [this](const httplib::Request& request,
                                        httplib::Response& response) { Serve(request, response); });
        started_ = http_.Start();
    }
    ~PageServer() {
        stopping_ = true;
        http_.Stop();
    }

    bool Started() const { return started_; }
    std::string Url(const std::string& path) const { return http_.Url(path); }

    void SetPage(const std::string& path, std::string body, int delayMs = 0) {
        const std::lock_guard lock(mutex_);
        pages_[path] = {std::move(body), delayMs};
    }
    int Hits(const std::string& path) const {
        const std::lock_guard lock(mutex_);
        const auto found = hits_.find(path);
        return found == hits_.end() ? 0 : found->second;
    }

private:
    void Serve(const httplib::Request& request, httplib::Response& response) {
        std::pair<std::string, int> page{"", -1};
        {
            const std::lock_guard lock(mutex_);
            ++hits_[request.path];
            if (const auto found = pages_.find(request.path); found != pages_.end()) {
                page = found->second;
            }
        }
        if (page.second < 0) {
            response.status = 404;
            return;
        }
        // Small steps, so that stopping the server never waits out a slow page.
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(page.second);
        while (!stopping_ && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        response.set_content(page.first, "text/html");
    }

    LocalHttpServer http_;
    bool started_ = false;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::map<std::string, std::pair<std::string, int>> pages_;
    std::map<std::string, int> hits_;
};

// A watch of scan type 0 as a data file holds it. Its digest matches no page, so the first
// successful fetch finds a change.
inline TWatchObject StoredWatch(const std::string& address, int changed = 0) {
    TWatchObject object;
    object.Highlighted = changed != 0;
    object.Changed = changed;
    TWatch& watch = object.Watch;
    watch.Description = "about " + address;
    watch.Address = address;
    watch.AddressMD5 = ComputeAddressMD5(watch);
    watch.ScanType = ScanEntireFile;
    watch.Added = "2007/02/01 18:30.05";
    watch.LastScan = "2007/02/02 08:00.00";
    watch.LastChange = "n/a";
    watch.BeforeChange = "n/a";
    watch.MD5 = "00000000000000000000000000000000";
    watch.OriginalSize = watch.BeforeSize = watch.AfterSize = 10;
    return object;
}

// Sections by name, each with its watches.
using SectionList = std::vector<std::pair<std::string, std::vector<TWatchObject>>>;

// A main window on the offscreen platform with its settings in a temporary folder and every port
// replaced by a double.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        paths.ConfigFile = dir.File("config/zelmox.ini");
        paths.DataFolder = dir.Folder() + "data/";
        paths.SavesFolder = dir.Folder() + "saves/";
        std::filesystem::create_directories(dir.File("config"));
        std::filesystem::create_directories(paths.DataFolder);
    }

    // The window goes before the server that its scans may still be talking to.
    void TearDown() override {
        if (window && window->GetScanner().IsRunning()) {
            window->GetScanner().Stop();
            EXPECT_TRUE(WaitForScanEnd(5000));
        }
        window.reset();
    }

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

    // Writes a data file in the temporary folder; its path.
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

    // A data file as the default file of the settings.
    void UseDefaultFile(const SectionList& sections) {
        WriteSettings(WriteDataFile("watches.zelmox", sections));
    }

    void Create(const QStringList& arguments = {QStringLiteral("zelmox")}) {
        MainWindowPorts ports;
        ports.Prompts = &prompts;
        ports.Sounds = &sounds;
        ports.Shell = &shell;
        ports.Tray = &tray;
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

    // Runs everything posted so far (zero-delay timers included).
    static void ProcessQueuedEvents() {
        bool reached = false;
        QTimer::singleShot(0, [&reached] { reached = true; });
        EXPECT_TRUE(QTest::qWaitFor([&reached] { return reached; }, 5000));
        QCoreApplication::processEvents();
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

    template <typename T = QWidget> T* Find(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QToolButton* Button(const char* name) const { return Find<QToolButton>(name); }
    QAction* Action(const char* name) const { return Find<QAction>(name); }

    void Click(const char* button) { QTest::mouseClick(Button(button), Qt::LeftButton); }

    SectionModel& Model() { return window->Model(); }
    SectionTabs* Tabs() { return window->Tabs(); }
    SectionGrid* Grid(int tab) { return window->Tabs()->Grid(tab); }
    QString Panel(int i) const { return window->Status()->PanelText(i); }
    QStringList Panels() const { return {Panel(1), Panel(2), Panel(3)}; }

    // The tool buttons and the four watch buttons of the bottom bar that are enabled.
    QStringList EnabledButtons() const {
        QStringList enabled;
        for (const char* name : {"tbSave", "tbScan", "tbScanCurrent", "tbAutoScan", "tbAddWatch",
                                 "tbDeleteWatch", "tbAddSection", "tbDeleteSection",
                                 "tbRenameSection", "sbCompare", "sbInfo", "sbClear", "sbEdit"}) {
            if (Button(name)->isEnabled()) {
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

    QStringList TabTexts() const {
        QStringList texts;
        for (int i = 0; i < window->Tabs()->count(); ++i) {
            texts << window->Tabs()->tabText(i);
        }
        return texts;
    }

    TempDir dir;
    SettingsPaths paths;
    ScriptedPrompts prompts;
    RecordingSounds sounds;
    RecordingShell shell;
    RecordingTray tray;
    std::unique_ptr<TfrmMain> window;
};

// A window test with pages on the local server.
class WindowWithServerTest : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(server.Started()); }

    // Pages /p0 .. /p(count-1) that differ from what their watches recorded; slow ones answer
    // after delayMs.
    std::vector<TWatchObject> ChangedPages(int count, const std::vector<int>& slow = {},
                                           int delayMs = 0) {
        std::vector<TWatchObject> watches;
        for (int i = 0; i < count; ++i) {
            const std::string path = "/p" + std::to_string(i);
            const bool isSlow = std::find(slow.begin(), slow.end(), i) != slow.end();
            server.SetPage(path, "page " + std::to_string(i) + " now", isSlow ? delayMs : 0);
            watches.push_back(StoredWatch(server.Url(path)));
        }
        return watches;
    }

    PageServer server;
};

} // namespace zelmox::test
