#pragma once

#include "FileCommands.h"
#include "MainWindowFixture.h"
#include "TfrmAddWatch.h"
#include "WatchCommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <type_traits>

namespace zelmox::test {

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

// The main window, created and shown before each test, with helpers for the file and watch
// commands and for scripting the add/edit dialog.
class CommandWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateAndStart();
    }

    FileCommands& Files() { return window->Files(); }
    WatchCommands& Watches() { return window->Watches(); }

    // Open and Merge with the open dialog answering this path.
    void Open(const std::string& path) {
        prompts.openFiles.push_back(QString::fromStdString(path));
        Files().Load1Click();
    }
    void Merge(const std::string& path) {
        prompts.openFiles.push_back(QString::fromStdString(path));
        Files().Merge1Click();
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

    // Runs the script on the dialog (the add/edit dialog unless named) once it is shown modally.
    // A dialog the script left open is given a while to close (a web check runs) and is then
    // cancelled, so that a fault fails the test instead of hanging it.
    template <typename Dialog = TfrmAddWatch>
    void OnDialog(std::type_identity_t<std::function<void(Dialog&)>> script) {
        QTimer::singleShot(0, [this, script = std::move(script)] {
            QPointer<Dialog> dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                ADD_FAILURE() << "the dialog is not shown";
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

    QStringList dialogTitles;
};

} // namespace zelmox::test
