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

    // The texts a command's modal window shows, read by `read` while it is up; then it is closed.
    QStringList WhileShown(const std::function<void()>& command,
                           const std::function<QStringList(QWidget&)>& read) {
        QStringList texts;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            texts = read(*modal);
            modal->close();
        });
        command();
        return texts;
    }

    // The caption, the notes in red beside their values in dim grey, then the history.
    static QStringList Page(QWidget& page) {
        QStringList texts{page.windowTitle()};
        const auto* grid = page.findChild<QGridLayout*>("gInformation");
        for (int row = 0; row + 1 < grid->rowCount(); ++row) {
            const QWidget* value = grid->itemAtPosition(row, 2)->widget();
            EXPECT_EQ(value->palette().color(QPalette::Text), QColor(0x696969));
            if (const auto* note = qobject_cast<QLabel*>(grid->itemAtPosition(row, 3)->widget())) {
                EXPECT_EQ(note->palette().color(QPalette::WindowText), Qt::red);
                texts << qobject_cast<const QLineEdit*>(value)->text() + ' ' + note->text();
            }
        }
        const auto* history = page.findChild<QListWidget*>("lbHistory");
        for (int i = 0; i < history->count(); ++i) {
            texts << history->item(i)->text();
        }
        return texts;
    }
};

TEST_F(InformationWindowTest, InfoAndTheMenuItemShowTheSelectedRowPlaceholderIncluded) {
    TWatchObject watch = StoredWatch("http://host/news", ScanEntireFile, 2);
    watch.ChangeHistory = {"2007/01/02 11:00.00", "2007/01/03 12:00.00"};
    std::ofstream(Snapshot(watch.Watch, "_a")) << "now";
    PutWatches(0, {watch});
    // A right-click selects its row.
    Select(0, 1);
    QMenu* menu = Find<QMenu>("puOpenDoc");
    window->Views().PopUpOpenDoc(QPoint());
    EXPECT_TRUE(Action("Information1")->isEnabled());
    menu->hide();
    EXPECT_EQ(
        WhileShown([this] { Click("sbInfo"); }, Page),
        (QStringList{"Information", "5 bytes (page not available)", "6 bytes (page not available)",
                     "2007/01/03 12:00.00", "2007/01/02 11:00.00"}));

    // The empty row of a new section: the button is off, the menu shows the placeholder's page.
    ASSERT_TRUE(window->Sections().AddNewTab("Empty"));
    Select(1, 1);
    window->Views().PopUpOpenDoc(QPoint());
    EXPECT_FALSE(Button("sbInfo")->isEnabled());
    ASSERT_TRUE(Action("Information1")->isEnabled());
    menu->hide();
    EXPECT_EQ(WhileShown([this] { Action("Information1")->trigger(); }, Page).mid(1),
              (QStringList{"0 bytes (page not available)", "0 bytes (page not available)",
                           "0 bytes (page not available)", "None available."}));
}

QStringList Statistics(QWidget& window) {
    QStringList rows{window.windowTitle()};
    const auto* grid = window.findChild<QTableWidget*>("sgInfo");
    for (int row = -1; row < grid->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid->columnCount(); ++column) {
            cells
                << (row < 0 ? grid->horizontalHeaderItem(column) : grid->item(row, column))->text();
        }
        rows << cells.join(' ');
    }
    return rows;
}

TEST_F(InformationWindowTest, StatisticsShowOneRowPerSectionInTabOrderAtEveryShowing) {
    TWatchObject first = StoredWatch("http://host/a");
    TWatchObject second = StoredWatch("http://host/b", ScanEntireFile, 1);
    first.Watch.AfterSize = 1000;
    second.Watch.AfterSize = 600;
    PutWatches(0, {first, second});
    ASSERT_TRUE(window->Sections().AddNewTab("Failed") && window->Sections().AddNewTab("Empty"));
    PutWatches(1, {StoredWatch("http://host/c", ScanEntireFile, ChangedFailed)});
    EXPECT_EQ(Action("Info1")->shortcut(), QKeySequence(Qt::Key_F4));
    const auto show = [this] { Action("Info1")->trigger(); };

    const QLocale userLocale;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(WhileShown(show, Statistics),
              (QStringList{"Info", "Section Size Watches 0 1 2 3 4+ Manual Error",
                           "Default 1,56K 2 1 1 0 0 0 0 0", "Failed 7 bytes 1 0 0 0 0 0 0 1",
                           "Empty 0,00K 1 1 0 0 0 0 0 0"}));
    QLocale::setDefault(userLocale);
    prompts.yesNo.push_back(true);
    window->Sections().tbDeleteSectionClick();
    EXPECT_EQ(WhileShown(show, Statistics).mid(2),
              (QStringList{"Default 1.56K 2 1 1 0 0 0 0 0", "Failed 7 bytes 1 0 0 0 0 0 0 1"}));
}

} // namespace
} // namespace zelmox::test
