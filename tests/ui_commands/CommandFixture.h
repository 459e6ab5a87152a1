#pragma once

#include "CommandPorts.h"
#include "DataFile.h"
#include "FakeClock.h"
#include "FileCommands.h"
#include "SectionGrid.h"
#include "SectionTableModel.h"
#include "SectionTabs.h"
#include "SettingsFile.h"
#include "Snapshot.h"
#include "TempDir.h"
#include "TestPorts.h"
#include "TfrmAddWatch.h"
#include "TfrmMain.h"
#include "WatchCommands.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zelmox::test {

using Kind = QueuedPrompts::Kind;
using Answer = UserPrompts::Answer;

// A control of the add/edit dialog by its name.
template <typename T> T* Control(QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}
inline QLineEdit* Field(QWidget& dialog, const char* name) {
    return Control<QLineEdit>(dialog, name);
}
inline QRadioButton* Method(QWidget& dialog, int number) {
    return Control<QRadioButton>(dialog, ("rbScanType" + std::to_string(number)).c_str());
}
inline QCheckBox* ManualBox(QWidget& dialog) {
    return Control<QCheckBox>(dialog, "cbManual");
}
inline QPushButton* OkButton(QWidget& dialog) {
    return Control<QPushButton>(dialog, "bOK");
}
inline QStringList Keywords(QWidget& dialog) {
    QStringList entries;
    auto* list = Control<QListWidget>(dialog, "lbKeywords");
    for (int i = 0; i < list->count(); ++i) {
        entries << list->item(i)->text();
    }
    return entries;
}

// Runs everything posted so far, zero-delay timers included.
inline void ProcessQueuedEvents() {
    bool reached = false;
    QTimer::singleShot(0, [&reached] { reached = true; });
    EXPECT_TRUE(QTest::qWaitFor([&reached] { return reached; }, 5000));
    QCoreApplication::processEvents();
}

// A stored watch as a data file holds it, scanned once.
inline TWatchObject StoredWatch(const std::string& address, int scanType = ScanEntireFile) {
    TWatchObject object;
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

using SectionList = std::vector<std::pair<std::string, std::vector<TWatchObject>>>;

// A main window on the offscreen platform, its settings and folders in a temporary folder and
// every port a double; the clock stands at 2007/02/03 09:05.07.
class CommandWindowTest : public ::testing::Test {
protected:
    static constexpr const char* Plain = "Zelmox v2.2 / February 3rd 2007";
    static constexpr const char* Stamp = "2007/02/03 09:05.07";

    CommandWindowTest() {
        paths.ConfigFile = dir.File("config/zelmox.ini");
        paths.DataFolder = dir.Folder() + "data/";
        paths.SavesFolder = dir.Folder() + "saves/";
        std::filesystem::create_directories(dir.File("config"));
        std::filesystem::create_directories(paths.DataFolder);
    }

    void SetUp() override {
        ASSERT_TRUE(server.Started());
        CreateAndStart();
    }

    // The window goes before the server its fetches may still be talking to. It is hidden first,
    // as at the end of a run; destroying a shown window has a test of its own.
    void TearDown() override {
        if (window) {
            window->hide();
        }
        window.reset();
    }

    void CreateAndStart() {
        MainWindowPorts ports;
        ports.Prompts = &prompts;
        ports.Sounds = &sounds;
        ports.Shell = &shell;
        ports.Tray = &tray;
        ports.Time = &clock;
        window = std::make_unique<TfrmMain>(StartupOptions{}, paths, ports);
        window->show();
        ProcessQueuedEvents();
    }

    SectionModel& Model() { return window->Model(); }
    Section& Tab(int tab) { return window->Model().Tab(tab); }
    FileCommands& Files() { return window->Files(); }
    WatchCommands& Watches() { return window->Watches(); }
    QString Title() const { return window->windowTitle(); }
    static QString TitleWith(const std::string& path) {
        return QString::fromLatin1(Plain) + "   [" + QString::fromStdString(path) + "]";
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

    // Open and Merge with the open dialog answering this path.
    void Open(const std::string& path) {
        prompts.openFiles.push_back(QString::fromStdString(path));
        Files().Load1Click();
    }
    void Merge(const std::string& path) {
        prompts.openFiles.push_back(QString::fromStdString(path));
        Files().Merge1Click();
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
    std::vector<std::string> RecentList() {
        const TSettings& settings = window->Settings();
        return {settings.Recent.begin(), settings.Recent.begin() + settings.RecentlyCount};
    }
    // The captions of the "Recent Files" items, checked against their numbers.
    std::vector<std::string> RecentItems() {
        std::vector<std::string> captions;
        const QList<QAction*> items = Files().RecentFilesMenu()->actions();
        for (int i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i]->data().toInt(), i + 1);
            captions.push_back(items[i]->text().toStdString());
        }
        return captions;
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

    // Runs the script on the add/edit dialog once it is shown modally. A dialog the script left
    // open is given a while to close (a web check runs) and is then cancelled, so that a fault
    // fails the test instead of hanging it.
    void OnDialog(std::function<void(TfrmAddWatch&)> script) {
        QTimer::singleShot(0, [this, script = std::move(script)] {
            QPointer<TfrmAddWatch> dialog =
                qobject_cast<TfrmAddWatch*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                ADD_FAILURE() << "no add/edit dialog is shown";
                return;
            }
            dialogTitles << dialog->windowTitle();
            script(*dialog);
            if (!QTest::qWaitFor([&dialog] { return dialog == nullptr || !dialog->isVisible(); },
                                 15000)) {
                ADD_FAILURE() << "the dialog did not close";
                dialog->reject();
            }
        });
    }

    // Fails the test when the command shows the add/edit dialog (and cancels it).
    void ExpectNoDialog() {
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<TfrmAddWatch*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "the dialog was shown";
                dialog->reject();
            }
        });
    }

    // Runs "Add Watch" with a dialog script and returns once the add has ended.
    void AddWatch(std::function<void(TfrmAddWatch&)> script) {
        QSignalSpy finished(&Watches(), &WatchCommands::AddFinished);
        OnDialog(std::move(script));
        Watches().tbAddWatchClick();
        if (Watches().IsAdding()) {
            EXPECT_TRUE(finished.wait(15000)) << "the add did not end";
        }
    }

    // A dialog script: these texts in the fields, optionally manual, then OK.
    static std::function<void(TfrmAddWatch&)>
    Enter(const std::string& address, const std::string& description = {}, bool manual = false) {
        return [=](TfrmAddWatch& dialog) {
            Field(dialog, "eDescription")->setText(QString::fromStdString(description));
            Field(dialog, "ePageAddress")->setText(QString::fromStdString(address));
            dialog.ePageAddressExit();
            ManualBox(dialog)->setChecked(manual);
            OkButton(dialog)->click();
        };
    }

    TempDir dir;
    SettingsPaths paths;
    QueuedPrompts prompts;
    RecordingSounds sounds;
    RecordingShell shell;
    RecordingTray tray;
    FakeClock clock;
    PageScript server;
    QStringList dialogTitles;
    std::unique_ptr<TfrmMain> window;
};

} // namespace zelmox::test
