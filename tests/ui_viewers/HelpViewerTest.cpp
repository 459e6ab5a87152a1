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
#include <set>

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
            if (auto* help = qobject_cast<TfrmHelp*>(widget);
                help != nullptr && help->isVisible()) {
                windows.push_back(help);
            }
        }
        return windows;
    }
    static QToolButton* ToolButton(QWidget* help, const char* name) {
        return help->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    // Enabled states of back and forward, as "back forward", "back", "forward" or "".
    static QString Moves(QWidget* help) {
        QStringList enabled;
        for (const char* name : {"tbBack", "tbForward"}) {
            if (ToolButton(help, name)->isEnabled()) {
                enabled << QString::fromLatin1(name).mid(2).toLower();
            }
        }
        return enabled.join(' ');
    }
};

TEST_F(HelpViewerTest, EachF1OpensAnotherWindowOnTheIndex) {
    EXPECT_EQ(Action("Help2")->shortcut(), QKeySequence(Qt::Key_F1));
    Action("Help2")->trigger();
    Action("Help2")->trigger();
    const std::vector<TfrmHelp*> windows = HelpWindows();
    ASSERT_EQ(windows.size(), 2u);
    for (TfrmHelp* help : windows) {
        EXPECT_EQ(help->windowTitle(), "Zelmox Help");
        EXPECT_EQ(Moves(help), "");
        EXPECT_EQ(help->findChild<QComboBox*>("cbNavigate")->currentText(), "-- Navigate --");
    }
    const QPointer<TfrmHelp> closed = windows[0];
    QTest::mouseClick(ToolButton(closed, "tbClose"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(HelpWindows().size(), 1u);
}

TEST_F(HelpViewerTest, LinksTheToolBarAndTheListMoveBetweenPagesOnly) {
    TfrmHelp* help = ShowHelp(QString(), shell);
    HelpBrowser* browser = help->Browser();
    browser->FollowLink(QUrl("overview.htm#types"));
    EXPECT_EQ(help->windowTitle(), "Zelmox Help - Overview");
    EXPECT_EQ(Moves(help), "back");
    QTest::mouseClick(ToolButton(help, "tbBack"), Qt::LeftButton);
    EXPECT_EQ(help->windowTitle(), "Zelmox Help");
    EXPECT_EQ(Moves(help), "forward");
    QTest::mouseClick(ToolButton(help, "tbForward"), Qt::LeftButton);
    EXPECT_EQ(browser->source(), HelpBrowser::PageUrl("overview.htm#types"));

    // Web addresses go to the user's browser; other places are never shown here.
    const QUrl shown = browser->source();
    for (const char* link : {"https://example.org/x", "mailto:a@example.org", "file:///etc/passwd",
                             "../icons/app.svg", "qrc:/pages/noexists.htm"}) {
        browser->FollowLink(QUrl(link));
        EXPECT_EQ(browser->source(), shown) << link;
    }
    EXPECT_EQ(shell.opened, (QStringList{"https://example.org/x", "mailto:a@example.org"}));

    auto* navigate = help->findChild<QComboBox*>("cbNavigate");
    const QStringList titles{"Zelmox Help",
                             "Zelmox Help - Overview",
                             "Zelmox Help - About Zelmox",
                             "Zelmox Help - How To",
                             "Zelmox Help - Technical Information",
                             "Zelmox Help - Useless Info"};
    for (int item = 1; item < navigate->count(); ++item) {
        navigate->setCurrentIndex(item);
        help->cbNavigateChange(item);
        EXPECT_EQ(help->windowTitle(), titles[item - 1]);
    }
    help->cbNavigateChange(0);
    EXPECT_EQ(help->windowTitle(), titles.last());
    QTest::mouseClick(ToolButton(help, "tbHome"), Qt::LeftButton);
    EXPECT_EQ(help->windowTitle(), "Zelmox Help");

    help->OpenPage("nosuch.htm");
    EXPECT_EQ(help->windowTitle(), "Page not found");
    EXPECT_TRUE(browser->toPlainText().contains("nosuch.htm"));
}

TEST_F(HelpViewerTest, EveryPageIsReachableFromTheIndexAndEveryLinkResolves) {
    HelpBrowser browser(shell);
    std::map<QString, QStringList> anchorsOf;
    std::vector<QUrl> links;
    std::vector<QString> pending{"index.htm"};
    while (!pending.empty()) {
        const QString page = pending.back();
        pending.pop_back();
        if (anchorsOf.contains(page)) {
            continue;
        }
        browser.setSource(HelpBrowser::PageUrl(page));
        EXPECT_TRUE(browser.documentTitle().startsWith("Zelmox Help")) << page.toStdString();
        QStringList& anchors = anchorsOf[page];
        for (QTextBlock block = browser.document()->begin(); block.isValid();
             block = block.next()) {
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                const QTextCharFormat format = fragment.fragment().charFormat();
                anchors << format.anchorNames();
                if (!format.anchorHref().isEmpty()) {
                    const QUrl link = browser.source().resolved(QUrl(format.anchorHref()));
                    links.push_back(link);
                    if (HelpBrowser::IsHelpPage(link)) {
                        pending.push_back(link.fileName());
                    }
                }
            }
        }
    }
    for (const QUrl& link : links) {
        const std::string text = link.toString().toStdString();
        if (HelpBrowser::IsWebAddress(link)) {
            continue;
        }
        ASSERT_TRUE(HelpBrowser::IsHelpPage(link)) << text;
        ASSERT_TRUE(anchorsOf.contains(link.fileName())) << text;
        EXPECT_TRUE(link.fragment().isEmpty() ||
                    anchorsOf[link.fileName()].contains(link.fragment()))
            << text;
    }
    std::set<QString> reached;
    for (const auto& [page, anchors] : anchorsOf) {
        reached.insert(page);
    }
    const QStringList files = QDir(":/help").entryList({"*.htm"});
    EXPECT_EQ(reached, std::set<QString>(files.begin(), files.end()));
    EXPECT_TRUE(reached.contains("addwatch.htm") && reached.contains("settings.htm"));
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
        QToolButton* home = ToolButton(help, "tbHome");
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
