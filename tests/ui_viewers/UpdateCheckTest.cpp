#include "MainWindowFixture.h"
#include "TfrmCheckVersion.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace zelmox::test {
namespace {

constexpr const char* VersionPath = "/versions/zelmox.dat";
constexpr const char* HistoryPath = "/versions/historyzelmox.dat";

// The main window, with the maker's server played by the local one.
class UpdateCheckTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        host = QString::fromStdString(server.Url("")).mid(int(std::strlen("http://")));
        qputenv("ZELMOX_MAKER_HOST", host.toUtf8());
        CreateAndStart();
        // The check connects directly, whatever the connection settings say.
        window->Settings().UseProxySettings = true;
        window->Settings().ProxyServer = "127.0.0.1";
        window->Settings().ProxyPort = 9;
        ApplyConnectionSettings(window->MainClient(), window->Settings());
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        qunsetenv("ZELMOX_MAKER_HOST");
    }

    // "Check for updates", with the window returned once the server has answered.
    TfrmCheckVersion* Check(bool waitForAnswer = true) {
        Action("Checkforupdates1")->trigger();
        auto* check = window->findChild<TfrmCheckVersion*>();
        EXPECT_TRUE(check != nullptr && check->isVisible() && check->isModal());
        if (waitForAnswer && check != nullptr) {
            EXPECT_TRUE(QTest::qWaitFor([check] { return !check->IsChecking(); }, 10000));
        }
        return check;
    }
    static QString Text(QWidget* window, const char* label) {
        return window->findChild<QLabel*>(label)->text();
    }
    static QPushButton* HistoryButton(QWidget* window) {
        return window->findChild<QPushButton*>("bHistory");
    }

    QString host;
};

TEST_F(UpdateCheckTest, ComparesWholeLinesAndFetchesTheHistoryOfANewerRelease) {
    const QString same = "February 3rd 2007|v2.2|No new version is available!";
    const QString failed = "Error|Error|Unable to connect to " + host + "!";
    struct Case {
        PageReply version, history;
        QString shown; // lLADate|lLAVersion|lWhat
        bool newer;    // History enabled, the history asked for
        QString historyText;
    };
    const std::vector<Case> cases = {
        {PageReply::Ok("February 3rd 2007\r\nv2.2\r\n"), PageReply::Ok("h"), same, false, ""},
        {PageReply::Ok("March 1st 2008\nv2.2\nmore\n"), PageReply::Ok("v2.3 <b>x</b>\r\n"),
         "March 1st 2008|v2.2|A new version is available!", true, "v2.3 <b>x</b>\n"},
        {PageReply::Ok("February 3rd 2007\rv2.2  "), PageReply::Ok("h"),
         "February 3rd 2007|v2.2  |A new version is available!", true, "h"},
        {PageReply::Ok("February 3rd 2007\r\n"), PageReply::Ok("h"), failed, false, ""},
        {PageReply::Error(404, "February 3rd 2007\r\nv2.2\r\n"), PageReply::Ok("h"), failed, false,
         ""},
        {PageReply::Ok("March 1st 2008\r\nv2.3\r\n"), PageReply::Error(500, "oops"), failed, true,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.version.Status) + " " + c.version.Body);
        server.ResetCounters();
        server.SetReply(VersionPath, c.version);
        server.SetReply(HistoryPath, c.history);
        QPointer<TfrmCheckVersion> check = Check();
        ASSERT_NE(check, nullptr);
        EXPECT_EQ(Text(check, "lIVDate") + "|" + Text(check, "lIVVersion"),
                  "February 3rd 2007|v2.2");
        EXPECT_EQ(
            QStringList({Text(check, "lLADate"), Text(check, "lLAVersion"), Text(check, "lWhat")})
                .join('|'),
            c.shown);
        EXPECT_EQ(HistoryButton(check)->isEnabled(), c.newer);
        EXPECT_EQ(server.Hits(HistoryPath), c.newer ? 1 : 0);
        EXPECT_EQ(check->findChild<QPlainTextEdit*>("mHistory")->toPlainText(), c.historyText);
        check->close();
        EXPECT_TRUE(QTest::qWaitFor([&check] { return check == nullptr; }, 5000));
    }
}

TEST_F(UpdateCheckTest, FoldsTheHistoryOutAndIn) {
    server.SetBody(VersionPath, "March 1st 2008\r\nv2.3\r\n");
    server.SetBody(HistoryPath, "history");
    TfrmCheckVersion* check = Check();
    EXPECT_EQ(check->windowTitle(), "New version check");
    EXPECT_TRUE(check->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    auto* history = check->findChild<QPlainTextEdit*>("mHistory");
    EXPECT_EQ(check->height(), 226);
    EXPECT_FALSE(history->isVisible());
    const std::vector<std::pair<QString, int>> folds = {{"History <<", 455}, {"History >>", 224}};
    for (const auto& [caption, height] : folds) {
        QTest::mouseClick(HistoryButton(check), Qt::LeftButton);
        EXPECT_EQ(HistoryButton(check)->text(), caption);
        EXPECT_EQ(check->height(), height);
        EXPECT_EQ(history->isVisible(), height == 455);
    }
}

TEST_F(UpdateCheckTest, StaysResponsiveWhileTheServerWaitsAndIgnoresALateReply) {
    server.SetBody(VersionPath, "March 1st 2008\r\nv2.3\r\n", 600);
    QPointer<TfrmCheckVersion> check = Check(false);
    QTest::qWait(100);
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->IsChecking());
    EXPECT_EQ(Text(check, "lWhat"), "....");

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(check->findChild<QPushButton*>("bClose"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&check] { return check == nullptr; }, 5000));
    EXPECT_LT(clock.elapsed(), 300);
    // The reply comes after the window has gone, and changes nothing.
    QTest::qWait(800);
    EXPECT_EQ(server.Hits(VersionPath), 1);
    EXPECT_EQ(server.Hits(HistoryPath), 0);
}

} // namespace
} // namespace zelmox::test
