#include "HelpBrowser.h"
#include "MainWindowFixture.h"
#include "TfrmAddWatch.h"
#include "TfrmHelp.h"
#include "WatchCommands.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QWindow>
#include <map>

namespace zelmox::test {
namespace {

class HelpViewerTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CreateAndStart();
    }
    void TearDown() override {
        for (TfrmHelp* help : HelpWindows()) {
            help->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        MainWindowTest::TearDown();
    }

    static std::vector<TfrmHelp*> HelpWindows() {
        std::vector<TfrmHelp*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* help = qobject_cast<TfrmHelp*>(widget); help && help->isVisible()) {
                windows.push_back(help);
            }
        }
        return windows;
    }
    static QToolButton* Tool(QWidget* help, const char* name) {
        return help->findChild<QToolButton*>(QString::fromLatin1(name));
    }
};

TEST_F(HelpViewerTest, EachF1OpensAnotherWindowOnTheIndexThatMovesBetweenPagesOnly) {
    EXPECT_EQ(Action("Help2")->shortcut(), QKeySequence(Qt::Key_F1));
    Action("Help2")->trigger();
    Action("Help2")->trigger();
    ASSERT_EQ(HelpWindows().size(), 2u);
    TfrmHelp* help = HelpWindows().front();
    EXPECT_EQ(HelpWindows().back()->windowTitle(), "Zelmox Help");
    EXPECT_FALSE(Tool(help, "tbBack")->isEnabled() || Tool(help, "tbForward")->isEnabled());

    HelpBrowser* browser = help->Browser();
    browser->FollowLink(QUrl("overview.htm#types"));
    EXPECT_EQ(help->windowTitle(), "Zelmox Help - Overview");
    EXPECT_TRUE(Tool(help, "tbBack")->isEnabled() && !Tool(help, "tbForward")->isEnabled());
    QTest::mouseClick(Tool(help, "tbBack"), Qt::LeftButton);
    EXPECT_EQ(help->windowTitle(), "Zelmox Help");
    EXPECT_TRUE(!Tool(help, "tbBack")->isEnabled() && Tool(help, "tbForward")->isEnabled());
    QTest::mouseClick(Tool(help, "tbForward"), Qt::LeftButton);
    EXPECT_EQ(browser->source(), HelpBrowser::PageUrl("overview.htm#types"));

    // Web and mail addresses go to the user's programs; nothing else leaves the help folder.
    for (const char* link : {"https://example.org/x", "mailto:a@example.org", "file:///etc/passwd",
                             "../icons/app.svg", "qrc:/pages/noexists.htm"}) {
        browser->FollowLink(QUrl(link));
        EXPECT_EQ(browser->source(), HelpBrowser::PageUrl("overview.htm#types")) << link;
    }
    EXPECT_EQ(shell.opened, (QStringList{"https://example.org/x", "mailto:a@example.org"}));

    help->OpenPage("nosuch.htm");
    EXPECT_EQ(help->windowTitle(), "Page not found");
    EXPECT_TRUE(browser->toPlainText().contains("nosuch.htm"));
    QTest::mouseClick(Tool(help, "tbHome"), Qt::LeftButton);
    EXPECT_EQ(help->windowTitle(), "Zelmox Help");

    const QPointer<TfrmHelp> closed = help;
    QTest::mouseClick(Tool(help, "tbClose"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(HelpWindows().size(), 1u);
}

TEST_F(HelpViewerTest, EveryPageOfTheListAndEveryLinkOfEveryPageResolves) {
    // The list's items open distinct pages, and item 0 opens nothing.
    TfrmHelp* help = ShowHelp(QString(), shell);
    QStringList titles;
    for (int item = 1; item < help->findChild<QComboBox*>("cbNavigate")->count(); ++item) {
        help->cbNavigateChange(item);
        EXPECT_FALSE(titles.contains(help->windowTitle())) << help->windowTitle().toStdString();
        titles << help->windowTitle();
    }
    help->cbNavigateChange(0);
    EXPECT_EQ(help->windowTitle(), titles.last());
    EXPECT_FALSE(titles.contains("Page not found"));

    // A walk from the index reaches every page; each link is a web address or a page of the
    // help with the anchor it names.
    std::map<QString, QStringList> anchorsOf;
    std::vector<QUrl> links;
    std::vector<QString> pending{"index.htm"};
    while (!pending.empty()) {
        const QString page = pending.back();
        pending.pop_back();
        if (anchorsOf.contains(page)) {
            continue;
        }
        help->OpenPage(page);
        EXPECT_TRUE(help->windowTitle().startsWith("Zelmox Help")) << page.toStdString();
        QStringList& anchors = anchorsOf[page];
        const QTextDocument* document = help->Browser()->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                const QTextCharFormat format = fragment.fragment().charFormat();
                anchors << format.anchorNames();
                const QUrl link = HelpBrowser::PageUrl(page).resolved(format.anchorHref());
                if (!format.anchorHref().isEmpty() && !HelpBrowser::IsWebAddress(link)) {
                    EXPECT_TRUE(HelpBrowser::IsHelpPage(link)) << link.toString().toStdString();
                    links.push_back(link);
                    pending.push_back(link.fileName());
                }
            }
        }
    }
    for (const QUrl& link : links) {
        EXPECT_TRUE(link.fragment().isEmpty() ||
                    anchorsOf[link.fileName()].contains(link.fragment()))
            << link.toString().toStdString();
    }
    QStringList reached;
    for (const auto& entry : anchorsOf) {
        reached << entry.first;
    }
    EXPECT_EQ(reached, QDir(":/help").entryList({"*.htm"}));
}

TEST_F(HelpViewerTest, HelpOfTheModalWatchDialogCanBeUsedWhileTheDialogWaits) {
    QPointer<TfrmHelp> help;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfrmAddWatch*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        ASSERT_EQ(HelpWindows().size(), 1u);
        help = HelpWindows().front();
        EXPECT_EQ(help->windowTitle(), "Zelmox Help - Adding and Editing a Watch");
        // A click that comes through the window system, where a blocked window drops it.
        QToolButton* home = Tool(help, "tbHome");
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {},
                          home->mapTo(help, home->rect().center()));
        EXPECT_EQ(help->windowTitle(), "Zelmox Help");
        dialog->reject();
    });
    window->Watches().tbAddWatchClick();
    ASSERT_FALSE(help.isNull());
    EXPECT_TRUE(help->isVisible());
}

} // namespace
} // namespace zelmox::test
