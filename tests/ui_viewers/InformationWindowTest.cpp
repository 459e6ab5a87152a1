#include "MainWindowFixture.h"
#include "ToolButtons.h"
#include "ViewCommands.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTableWidget>
#include <fstream>
#include <functional>

namespace zelmox::test {
namespace {

class InformationWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateAndStart();
    }

    // Runs a command that shows a modal window, reads the window while it is up, then closes it.
    void WhileShown(const std::function<void()>& command,
                    const std::function<void(QWidget&)>& read) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            shown = true;
            read(*modal);
            modal->close();
        });
        command();
        EXPECT_TRUE(shown);
    }

    // The information page's lines as "label|value", a red "|(page not available)" note beside
    // a size, and the history entries, each value checked to be shown in dim grey.
    QStringList PageOf(const std::function<void()>& command) {
        QStringList lines;
        WhileShown(command, [&lines](QWidget& page) {
            EXPECT_EQ(page.windowTitle(), "Information");
            const auto* grid = page.findChild<QGridLayout*>("gInformation");
            for (int row = 0; row + 1 < grid->rowCount(); ++row) {
                const auto* value =
                    qobject_cast<QLineEdit*>(grid->itemAtPosition(row, 2)->widget());
                EXPECT_EQ(value->palette().color(QPalette::Text), QColor(0x696969));
                QString line =
                    qobject_cast<QLabel*>(grid->itemAtPosition(row, 1)->widget())->text() + '|' +
                    value->text();
                const QLayoutItem* note = grid->itemAtPosition(row, 3);
                if (note->widget() != value) {
                    EXPECT_EQ(note->widget()->palette().color(QPalette::WindowText), Qt::red);
                    line += '|' + qobject_cast<QLabel*>(note->widget())->text();
                }
                lines << line;
            }
            const auto* history = page.findChild<QListWidget*>("lbHistory");
            for (int i = 0; i < history->count(); ++i) {
                lines << history->item(i)->text();
            }
        });
        return lines;
    }
};

TEST_F(InformationWindowTest, InfoAndTheMenuItemShowTheSelectedRowPlaceholderIncluded) {
    TWatchObject watch = StoredWatch("http://host/news", ScanEntireFile, 2);
    watch.ChangeHistory = {"2007/01/02 11:00.00", "2007/01/03 12:00.00"};
    std::ofstream(Snapshot(watch.Watch, "_a")) << "now";
    PutWatches(0, {watch});
    Select(0, 1);
    QMenu* menu = Find<QMenu>("puOpenDoc");
    window->Views().PopUpOpenDoc(QPoint());
    EXPECT_TRUE(Action("Information1")->isEnabled());
    menu->hide();
    const QStringList page = PageOf([this] { Click("sbInfo"); });
    EXPECT_EQ(page.mid(7, 3),
              (QStringList{"Original Size|5 bytes|(page not available)",
                           "Before Size|6 bytes|(page not available)", "After Size|7 bytes"}));
    EXPECT_EQ(page.mid(12), (QStringList{"2007/01/03 12:00.00", "2007/01/02 11:00.00"}));

    // The menu item follows the "info" button: off on the empty row of a new section, on again
    // when a scan's end enables the buttons whatever is selected.
    ASSERT_TRUE(window->AddNewTab("Empty"));
    Select(1, 1);
    window->sg1Click();
    emit menu->aboutToShow();
    EXPECT_FALSE(Action("Information1")->isEnabled());
    window->EnableToolButtons(ToolButtons::ModeBusy);
    emit menu->aboutToShow();
    ASSERT_TRUE(Action("Information1")->isEnabled());
    const QStringList placeholder = PageOf([this] { Action("Information1")->trigger(); });
    EXPECT_EQ(placeholder.first(), "Description|<none>");
    EXPECT_EQ(placeholder.filter("|0 bytes|(page not available)").size(), 3);
    EXPECT_EQ(placeholder.last(), "None available.");
}

TEST_F(InformationWindowTest, StatisticsShowOneRowPerSectionInTabOrderAtEveryShowing) {
    TWatchObject first = StoredWatch("http://host/a");
    TWatchObject second = StoredWatch("http://host/b", ScanEntireFile, 1);
    first.Watch.AfterSize = 1000;
    second.Watch.AfterSize = 600;
    TWatchObject failed = StoredWatch("http://host/c", ScanEntireFile, ChangedFailed);
    failed.Watch.AfterSize = 300;
    PutWatches(0, {first, second});
    ASSERT_TRUE(window->AddNewTab("Failed") && window->AddNewTab("Empty"));
    PutWatches(1, {failed});
    EXPECT_EQ(Action("Info1")->shortcut(), QKeySequence(Qt::Key_F4));

    const auto rows = [this] {
        QStringList texts;
        WhileShown([this] { Action("Info1")->trigger(); },
                   [&texts](QWidget& statistics) {
                       EXPECT_EQ(statistics.windowTitle(), "Info");
                       const auto* grid = statistics.findChild<QTableWidget*>("sgInfo");
                       for (int row = -1; row < grid->rowCount(); ++row) {
                           QStringList cells;
                           for (int column = 0; column < grid->columnCount(); ++column) {
                               cells << (row < 0 ? grid->horizontalHeaderItem(column)->text()
                                                 : grid->item(row, column)->text());
                           }
                           texts << cells.join(' ');
                       }
                   });
        return texts;
    };
    const QLocale userLocale;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(rows(),
              (QStringList{"Section Size Watches 0 1 2 3 4+ Manual Error",
                           "Default 1,56K 2 1 1 0 0 0 0 0", "Failed 300 bytes 1 0 0 0 0 0 0 1",
                           "Empty 0,00K 1 1 0 0 0 0 0 0"}));
    QLocale::setDefault(userLocale);
    prompts.yesNo.push_back(true);
    window->tbDeleteSectionClick();
    EXPECT_EQ(rows().mid(1),
              (QStringList{"Default 1.56K 2 1 1 0 0 0 0 0", "Failed 300 bytes 1 0 0 0 0 0 0 1"}));
}

} // namespace
} // namespace zelmox::test
