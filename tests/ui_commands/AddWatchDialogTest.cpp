// The add/edit watch dialog on its own: the address field, the detection method, the keyword
// list and the check made at OK.
#include "CommandFixture.h"
#include "Settings.h"

#include <QLabel>

namespace zelmox::test {
namespace {

class AddWatchDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Started()); }

    TfrmAddWatch& Open() {
        dialog = std::make_unique<TfrmAddWatch>(settings, prompts);
        dialog->show();
        return *dialog;
    }
    TfrmAddWatch& OpenWith(const TWatch& watch) {
        Open().Fill(watch);
        return *dialog;
    }

    QLineEdit* Address() { return Field(*dialog, "ePageAddress"); }
    QLineEdit* Description() { return Field(*dialog, "eDescription"); }
    QLineEdit* Keyword() { return Field(*dialog, "eKeyword"); }
    bool KeywordPanelShown() { return !Control<QWidget>(*dialog, "pKeywords")->isHidden(); }
    bool Checking() { return !Control<QLabel>(*dialog, "lChecking")->isHidden(); }

    void LeaveAddress(const QString& text) {
        Address()->setText(text);
        dialog->ePageAddressExit();
    }
    // The numbers (1..4) of the enabled methods and the number of the checked one.
    std::pair<std::vector<int>, int> Methods() {
        std::vector<int> enabled;
        int checked = 0;
        for (int number = 1; number <= 4; ++number) {
            if (Method(*dialog, number)->isEnabled()) {
                enabled.push_back(number);
            }
            if (Method(*dialog, number)->isChecked()) {
                checked = number;
            }
        }
        return {enabled, checked};
    }
    void AddKeyword(const QString& word) {
        Keyword()->setText(word);
        Control<QPushButton>(*dialog, "sbAddKeyword")->click();
    }
    void EnterKeyword(const QString& word) {
        Keyword()->setText(word);
        QTest::keyClick(Keyword(), Qt::Key_Return);
    }

    // Waits for the web check to end; whether the dialog accepted.
    bool WaitForCheck() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !Checking(); }, 15000));
        return dialog->result() == QDialog::Accepted;
    }
    bool PressOkAndWait() {
        OkButton(*dialog)->click();
        return WaitForCheck();
    }
    TWatch Result() const {
        TWatch watch;
        dialog->ReadResult(watch);
        return watch;
    }

    static TWatch KeywordWatch(const std::string& address) {
        TWatch watch = StoredWatch(address, ScanKeywords).Watch;
        watch.Keyword = {"alpha", "beta"};
        return watch;
    }

    TSettings settings;
    ScriptedPrompts prompts;
    PageServer server;
    TempDir dir;
    std::unique_ptr<TfrmAddWatch> dialog;
};

TEST_F(AddWatchDialogTest, LeavingTheFieldPutsHttpBeforeWwwOnly) {
    Open();
    QApplication::setActiveWindow(dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    Address()->setFocus();
    QTest::keyClicks(Address(), "www.example.com");
    Description()->setFocus();
    EXPECT_EQ(Address()->text(), "http://www.example.com") << "leaving the field by focus";

    LeaveAddress("WwW.Example.com/a");
    EXPECT_EQ(Address()->text(), "http://WwW.Example.com/a");
    LeaveAddress("http://www.example.com");
    EXPECT_EQ(Address()->text(), "http://www.example.com") << "no second prefix";

    // A bare host name stays as typed and is a local file name at OK.
    LeaveAddress("example.com");
    EXPECT_EQ(Address()->text(), "example.com");
    OkButton(*dialog)->click();
    EXPECT_EQ(prompts.Of(Kind::Warning), QStringList{"Error opening local file!"});
    EXPECT_EQ(server.TotalHits(), 0);
}

TEST_F(AddWatchDialogTest, KnownExtensionAllowsOnlyEntireFileUntilTheAddressChanges) {
    Open();
    Address()->setText("http://host/page");
    Method(*dialog, 4)->setChecked(true);
    LeaveAddress("http://host/report.PDF");
    EXPECT_EQ(Methods(), (std::pair<std::vector<int>, int>{{1}, 1}));
    EXPECT_FALSE(KeywordPanelShown());

    LeaveAddress("http://host/report.html");
    EXPECT_EQ(Methods(), (std::pair<std::vector<int>, int>{{1, 2, 3, 4}, 1}));

    // Only the last path element's extension counts.
    LeaveAddress("http://host/files.zip/list");
    EXPECT_EQ(Methods().first, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(AddWatchDialogTest, OkNeedsAnAddressAndForKeywordsAKeyword) {
    Open();
    EXPECT_FALSE(OkButton(*dialog)->isEnabled());
    Address()->setText("http://host/");
    EXPECT_TRUE(OkButton(*dialog)->isEnabled());

    Method(*dialog, 4)->setChecked(true);
    EXPECT_TRUE(KeywordPanelShown());
    EXPECT_FALSE(OkButton(*dialog)->isEnabled()) << "Keywords with an empty list";

    EnterKeyword("gamma");
    EXPECT_EQ(Keywords(*dialog), QStringList{"gamma"});
    EXPECT_TRUE(Keyword()->text().isEmpty());
    EXPECT_FALSE(OkButton(*dialog)->isEnabled()) << "Enter does not re-evaluate OK";

    AddKeyword("alpha");
    EXPECT_EQ(Keywords(*dialog), (QStringList{"alpha", "gamma"})) << "kept sorted";
    EXPECT_TRUE(OkButton(*dialog)->isEnabled());

    Address()->clear();
    EXPECT_FALSE(OkButton(*dialog)->isEnabled());
    Address()->setText("http://host/");

    auto* list = Control<QListWidget>(*dialog, "lbKeywords");
    list->selectAll();
    Control<QPushButton>(*dialog, "sbDelKeyword")->click();
    EXPECT_TRUE(Keywords(*dialog).isEmpty());
    EXPECT_FALSE(OkButton(*dialog)->isEnabled()) << "remove re-evaluates OK";
}

TEST_F(AddWatchDialogTest, EnterPressesOkOnlyWhenTheRuleAllowsIt) {
    Open();
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::CustomizeWindowHint)) << "fixed size";
    QTest::keyClick(Description(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible()) << "OK is disabled without an address";

    ManualBox(*dialog)->setChecked(true);
    Address()->setText("/srv/notes.txt");
    Method(*dialog, 4)->setChecked(true);
    AddKeyword("deadline");
    ASSERT_TRUE(OkButton(*dialog)->isEnabled());
    EnterKeyword("release");
    EXPECT_TRUE(dialog->isVisible()) << "Enter in the keyword field adds the keyword only";
    EXPECT_EQ(Keywords(*dialog), (QStringList{"deadline", "release"}));

    Method(*dialog, 1)->setChecked(true);
    QTest::keyClick(Address(), Qt::Key_Enter);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(AddWatchDialogTest, KeywordsDifferingOnlyInCaseAreListedOnce) {
    Open();
    Method(*dialog, 4)->setChecked(true);
    AddKeyword("foo");
    AddKeyword("Foo");
    EnterKeyword("FOO");
    EXPECT_EQ(Keywords(*dialog), QStringList{"foo"});
    EXPECT_TRUE(Keyword()->text().isEmpty()) << "the field is emptied all the same";

    AddKeyword("Bar");
    Address()->setText("/tmp/x");
    EXPECT_EQ(Result().Keyword, (std::vector<std::string>{"Bar", "foo"}));
    Method(*dialog, 2)->setChecked(true);
    EXPECT_TRUE(Result().Keyword.empty()) << "keywords are kept only for the keyword scan";
    EXPECT_EQ(Result().ScanType, ScanTextBetweenTags);
}

// Passing through the address field of a keyword watch must not turn it into a whole-file watch.
TEST_F(AddWatchDialogTest, EditingAKeywordWatchCanBeConfirmedAtOnce) {
    OpenWith(KeywordWatch("http://host/news.html"));
    EXPECT_TRUE(KeywordPanelShown());
    EXPECT_TRUE(Control<QPushButton>(*dialog, "bOK")->isEnabled());
}

TEST_F(AddWatchDialogTest, MethodIsResetOnlyForAChangedOrDisabledChoice) {
    OpenWith(KeywordWatch("http://host/news.html"));
    dialog->ePageAddressExit();
    EXPECT_EQ(Methods(), (std::pair<std::vector<int>, int>{{1, 2, 3, 4}, 4}));
    EXPECT_EQ(Keywords(*dialog), (QStringList{"alpha", "beta"}));
    EXPECT_TRUE(KeywordPanelShown());

    LeaveAddress("http://host/other.html");
    EXPECT_EQ(Methods().second, 1) << "a changed address";
    Method(*dialog, 3)->setChecked(true);
    dialog->ePageAddressExit();
    EXPECT_EQ(Methods().second, 3) << "unchanged since the field was last left";

    TWatch pdf = StoredWatch("http://host/paper.pdf", ScanSizeComparison).Watch;
    OpenWith(pdf);
    dialog->ePageAddressExit();
    EXPECT_EQ(Methods(), (std::pair<std::vector<int>, int>{{1}, 1})) << "a method now disabled";
}

TEST_F(AddWatchDialogTest, MissingLocalFileAsksForManualModeAndTheSecondOkAccepts) {
    Open();
    const std::string missing = dir.File("a.txt");
    Address()->setText(QString::fromStdString(missing));
    OkButton(*dialog)->click();
    EXPECT_EQ(prompts.Of(Kind::Warning), QStringList{"Error opening local file!"});
    EXPECT_TRUE(ManualBox(*dialog)->isChecked());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->result(), QDialog::Accepted);

    OkButton(*dialog)->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Result().Manual, 1);
    EXPECT_EQ(Result().Address, missing);
    EXPECT_EQ(prompts.Count(), 1u);

    // An existing file is accepted at once and gets no description.
    WriteFile(dir.File("b.txt"), "<title>Local</title>");
    Open();
    Address()->setText(QString::fromStdString(dir.File("b.txt")));
    OkButton(*dialog)->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Result().Manual, 0);
    EXPECT_EQ(Result().Description, "");

    // A folder is no file to watch.
    Open();
    Address()->setText(QString::fromStdString(dir.Folder()));
    OkButton(*dialog)->click();
    EXPECT_TRUE(ManualBox(*dialog)->isChecked());
    EXPECT_NE(dialog->result(), QDialog::Accepted);
}

TEST_F(AddWatchDialogTest, FilledKeywordsAreListedSortedAndOnce) {
    TWatch watch = KeywordWatch("http://host/news.html");
    watch.Keyword = {"delta", "Alpha", "charlie", "alpha"};
    OpenWith(watch);
    EXPECT_EQ(Keywords(*dialog), (QStringList{"Alpha", "charlie", "delta"}));
}

TEST_F(AddWatchDialogTest, FailedOrEmptyWebPageAsksForManualMode) {
    server.SetReply("/gone", PageReply::Error(404, "not here"));
    server.SetBody("/empty", "");
    for (const char* path : {"/gone", "/empty"}) {
        SCOPED_TRACE(path);
        prompts.shown.clear();
        Open();
        Address()->setText(QString::fromStdString(server.Url(path)));
        EXPECT_FALSE(PressOkAndWait());
        EXPECT_EQ(server.Hits(path), 1);
        EXPECT_EQ(prompts.Of(Kind::Warning), QStringList{"Error opening web page!"});
        EXPECT_TRUE(ManualBox(*dialog)->isChecked());
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(OkButton(*dialog)->isEnabled());
        EXPECT_FALSE(Address()->isReadOnly());

        OkButton(*dialog)->click();
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << "the second OK takes it as manual";
        EXPECT_EQ(server.Hits(path), 1);
    }
}

TEST_F(AddWatchDialogTest, CancelDuringTheCheckLeavesNoLateResult) {
    server.SetBody("/slow", "<title>Late</title>", 300);
    Open();
    Address()->setText(QString::fromStdString(server.Url("/slow")));
    OkButton(*dialog)->click();
    ASSERT_TRUE(Checking());
    Control<QPushButton>(*dialog, "bCancel")->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    QTest::qWait(600);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(Description()->text(), "");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(AddWatchDialogTest, TitleBecomesTheDescriptionAsWrittenOnOneLine) {
    server.SetBody("/news", "<html><head><TITLE>News &amp; Views</title></head></html>");
    server.SetBody("/lines", "<title>First\r\nSecond\nThird</title>");
    Open();
    Address()->setText(QString::fromStdString(server.Url("/news")));
    OkButton(*dialog)->click();
    EXPECT_TRUE(Checking());
    EXPECT_FALSE(OkButton(*dialog)->isEnabled()) << "no second check while one runs";
    EXPECT_TRUE(Address()->isReadOnly());
    ASSERT_TRUE(WaitForCheck());
    EXPECT_EQ(server.Hits("/news"), 1);
    EXPECT_EQ(Result().Description, "News &amp; Views");
    EXPECT_TRUE(prompts.shown.empty());

    Open();
    Address()->setText(QString::fromStdString(server.Url("/lines")));
    ASSERT_TRUE(PressOkAndWait());
    EXPECT_EQ(Result().Description, "First  Second Third");

    // A description the user typed stays.
    Open();
    Description()->setText("mine");
    Address()->setText(QString::fromStdString(server.Url("/news")));
    ASSERT_TRUE(PressOkAndWait());
    EXPECT_EQ(Result().Description, "mine");
}

TEST_F(AddWatchDialogTest, MetaDescriptionNeedsTheExactQuotedForm) {
    settings.AutoDescriptionType = 2;
    server.SetBody("/quoted", "<title>T</title><meta name=\"description\" "
                              "content=\"Daily news\r\nand more\">");
    server.SetBody("/bare", "<title>T</title><meta name=description content=Daily>");
    Open();
    Address()->setText(QString::fromStdString(server.Url("/quoted")));
    ASSERT_TRUE(PressOkAndWait());
    EXPECT_EQ(Result().Description, "Daily news  and more");

    Open();
    Address()->setText(QString::fromStdString(server.Url("/bare")));
    ASSERT_TRUE(PressOkAndWait());
    EXPECT_EQ(Result().Description, "");

    settings.AutoDescription = false;
    Open();
    Address()->setText(QString::fromStdString(server.Url("/quoted")));
    ASSERT_TRUE(PressOkAndWait());
    EXPECT_EQ(Result().Description, "");
}

} // namespace
} // namespace zelmox::test
