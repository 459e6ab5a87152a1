// The settings dialog, the folder chooser and the Edit menu's "Settings".
#include "CommandFixture.h"
#include "SettingsCommands.h"
#include "TfChooseDir.h"
#include "TfrmSettings.h"

#include <QComboBox>
#include <QStackedWidget>

namespace zelmox::test {
namespace {

const std::string DefaultFolder = "/home/u/.local/share/zelmox/data/";

class SettingsDialogTest : public ::testing::Test {
protected:
    void Open(const TSettings& start) {
        settings = start;
        dialog = std::make_unique<TfrmSettings>(settings, DefaultFolder, prompts, sounds);
        dialog->BuildSettingsDisplay();
    }
    template <typename T = QWidget> T* Get(const char* name) { return Control<T>(*dialog, name); }
    QLineEdit* Text(const char* name) { return Get<QLineEdit>(name); }
    QCheckBox* Box(const char* name) { return Get<QCheckBox>(name); }
    int Page() { return dialog->findChild<QStackedWidget*>()->currentIndex(); }

    TSettings settings;
    ScriptedPrompts prompts;
    RecordingSounds sounds;
    std::unique_ptr<TfrmSettings> dialog;
};

TSettings Stored(bool proxy, bool sounds, int descriptionType, bool customFolder) {
    TSettings stored;
    stored.HTTPPort = 8081;
    stored.UseProxySettings = proxy;
    stored.BasicAuthentication = true;
    stored.ProxyServer = "proxy.lan";
    stored.ProxyUsername = "ann";
    stored.ProxyPassword = "s3cret";
    stored.ProxyPort = 3128;
    stored.AutoDescriptionType = descriptionType;
    stored.PlayNotifySounds = sounds;
    stored.Sound = {"/s/0.wav", "/s/1.wav", "", "/s/\xe9t\xe9.wav"};
    stored.SoundFinished = "/s/end.wav";
    stored.UseCCF = customFolder;
    stored.CCF = customFolder ? "/srv/snap/" : DefaultFolder;
    return stored;
}

TEST_F(SettingsDialogTest, OpensFromTheRecordAndSavesItBackUnchanged) {
    const struct {
        TSettings stored;
        bool title, meta;
    } cases[] = {
        {Stored(false, false, 0, false), false, false},
        {Stored(true, true, 1, true), true, false},
        {Stored(true, false, 2, false), false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.AutoDescriptionType);
        Open(c.stored);
        EXPECT_EQ(Page(), TfrmSettings::PageGeneral);
        EXPECT_TRUE(Get<QToolButton>("sbGeneral")->isChecked());
        const bool proxy = c.stored.UseProxySettings;
        EXPECT_EQ(Box("cbCBasicAuthentification")->isEnabled(), proxy);
        for (const char* name : {"eCUsername", "eCPassword", "eCServer", "eCProxyPort"}) {
            EXPECT_EQ(Text(name)->isEnabled(), proxy) << name;
            EXPECT_EQ(Text(name)->palette().color(QPalette::Base),
                      proxy ? QColor(Qt::white) : dialog->palette().color(QPalette::Button));
        }
        EXPECT_EQ(Text("eCServer")->text(), "proxy.lan") << "kept while no proxy is used";
        for (const char* name : {"eSoundName1", "eSoundPlay4", "sbChooseSoundFinished"}) {
            EXPECT_EQ(Get(name)->isEnabled(), c.stored.PlayNotifySounds) << name;
        }
        EXPECT_EQ(Text("eSoundFinished")->text(), "/s/end.wav");
        EXPECT_EQ(Get<QRadioButton>("cbADTitle")->isChecked(), c.title);
        EXPECT_EQ(Get<QRadioButton>("cbADMeta")->isChecked(), c.meta);
        EXPECT_EQ(Text("eCCFolder")->isEnabled(), c.stored.UseCCF);
        EXPECT_EQ(Text("eCCFolder")->text().toStdString(), c.stored.CCF);

        Get<QPushButton>("bSave")->click();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        TSettings expected = c.stored;
        expected.AutoDescriptionType = c.title ? 1 : 2;
        EXPECT_EQ(settings, expected) << "a sound path that is not UTF-8 is kept byte for byte";
    }
}

TEST_F(SettingsDialogTest, SaveCopiesEveryControl) {
    Open(Stored(false, false, 1, false));
    Text("eCHTTPPort")->setText(" 8080");
    Box("cbCUseProxy")->setChecked(true);
    Box("cbCBasicAuthentification")->setChecked(false);
    Text("eCUsername")->setText("bob");
    Text("eCPassword")->setText("pw");
    Text("eCServer")->setText("127.0.0.1");
    Text("eCProxyPort")->setText("8888");
    for (const char* name : {"cbGAutoscan", "cbGAutoSave", "cbPlaySounds"}) {
        Box(name)->setChecked(true);
    }
    Box("cbAutoDescription")->setChecked(false);
    Get<QRadioButton>("cbADMeta")->setChecked(true);
    Text("eSoundName3")->setText("/s/2.wav");
    Text("eSoundFinished")->setText("");
    Box("cbUseCCF")->setChecked(true);
    Text("eCCFolder")->setText("/srv/cache");
    dialog->bSaveClick();

    TSettings expected = Stored(true, true, 2, true);
    expected.HTTPPort = 8080;
    expected.BasicAuthentication = false;
    expected.ProxyUsername = "bob";
    expected.ProxyPassword = "pw";
    expected.ProxyServer = "127.0.0.1";
    expected.ProxyPort = 8888;
    expected.AutoScanAfterLoad = true;
    expected.AutoSave = true;
    expected.AutoDescription = false;
    expected.Sound[2] = "/s/2.wav";
    expected.SoundFinished = "";
    expected.CCF = "/srv/cache/";
    EXPECT_EQ(settings, expected);
    EXPECT_EQ(Text("eCCFolder")->text(), "/srv/cache/") << "the text box shows the final /";

    Open(expected);
    Box("cbUseCCF")->setChecked(false);
    dialog->bSaveClick();
    EXPECT_FALSE(settings.UseCCF);
    EXPECT_EQ(settings.CCF, DefaultFolder) << "no custom folder: the per-user default";
}

TEST_F(SettingsDialogTest, ValuesThatCannotBeSavedChangeNothing) {
    const struct {
        const char* field;
        QString text;
        bool proxy;
        QString message; // empty: saved
        int page;
    } cases[] = {
        {"eCHTTPPort", "80a", false, "'80a' is not a valid integer value", 1},
        {"eCHTTPPort", "70000", false, "The HTTP Port must be a number from 0 to 65535.", 1},
        {"eCProxyPort", "-1", true, "The proxy Port must be a number from 0 to 65535.", 1},
        {"eCProxyPort", "x", false, "", 0},
        {"eCCFolder", " ", false,
         "Please enter the custom cache folder, or untick \"Use a custom cache folder\".", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const TSettings before = Stored(false, false, 1, true);
        Open(before);
        prompts.shown.clear();
        Box("cbCUseProxy")->setChecked(c.proxy);
        Box("cbGAutoSave")->setChecked(true);
        Text(c.field)->setText(c.text);
        dialog->ShowPage(TfrmSettings::PageAudio);
        dialog->bSaveClick();
        if (c.message.isEmpty()) {
            EXPECT_EQ(dialog->result(), QDialog::Accepted);
            EXPECT_EQ(settings.ProxyPort, before.ProxyPort) << "an unused port text keeps the port";
            continue;
        }
        EXPECT_EQ(prompts.Of(Kind::Error), QStringList{c.message});
        EXPECT_NE(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(settings, before);
        EXPECT_EQ(Page(), c.page);
        EXPECT_EQ(Text(c.field)->selectedText(), c.text);
    }
}

TEST_F(SettingsDialogTest, ButtonsGoThroughThePorts) {
    Open(Stored(false, true, 1, true));
    Get<QToolButton>("eSoundPlay2")->click();
    Get<QToolButton>("sbSoundFinished")->click();
    EXPECT_EQ(sounds.played, (QStringList{"/s/1.wav", "/s/end.wav"}));

    prompts.openFiles = {"/snd/ding.wav", ""};
    Get<QToolButton>("eSoundChoose3")->click();
    Get<QToolButton>("eSoundChoose1")->click();
    EXPECT_EQ(Text("eSoundName3")->text(), "/snd/ding.wav");
    EXPECT_EQ(Text("eSoundName1")->text(), "/s/0.wav") << "a cancelled chooser changes nothing";

    prompts.folders = {"/srv/other/", ""};
    Get<QToolButton>("sbCCFolder")->click();
    Get<QToolButton>("sbCCFolder")->click();
    EXPECT_EQ(prompts.Of(Kind::Folder), (QStringList{"/srv/snap/", "/srv/other/"}));
    EXPECT_EQ(Text("eCCFolder")->text(), "/srv/other/");

    QSignalSpy help(dialog.get(), &TfrmSettings::HelpRequested);
    Get<QPushButton>("BitBtn1")->click();
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help.at(0).at(0).toString(), "settings.htm");
}

TEST_F(SettingsDialogTest, FolderChooserGivesTheSelectedFolderWithASlash) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("a/b"));
    const QString top = QString::fromStdString(dir.Folder());
    TfChooseDir chooser(top + "a/b");
    EXPECT_EQ(chooser.windowTitle(), "Choose Directory");
    EXPECT_EQ(chooser.SelectedFolder(), top + "a/b/");
    auto* path = chooser.findChild<QComboBox*>("cbPath");
    ASSERT_EQ(path->currentText(), top + "a/b/");
    path->activated(path->count() - 2);
    EXPECT_EQ(chooser.SelectedFolder(), top + "a/");

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(TfChooseDir::Execute(top, nullptr), "") << "cancelled";
}

class SettingsCommandTest : public CommandWindowTest {};

TEST_F(SettingsCommandTest, SaveReconnectsAndClearedHistoryStaysClearedOnCancel) {
    EXPECT_EQ(Action("Settings1")->shortcut(), QKeySequence(Qt::Key_F10));
    window->Settings().RecentlyCount = 2;
    prompts.yesNo = {false, true};
    OnDialog<TfrmSettings>([](TfrmSettings& dialog) {
        Control<QPushButton>(dialog, "SpeedButton1")->click();
        Control<QPushButton>(dialog, "SpeedButton1")->click();
        Control<QLineEdit>(dialog, "eCHTTPPort")->setText("1");
        Control<QPushButton>(dialog, "bCancel")->click();
    });
    Action("Settings1")->trigger();
    EXPECT_EQ(prompts.Of(Kind::YesNo), (QStringList{"Are you sure?", "Are you sure?"}));
    EXPECT_EQ(window->Settings().RecentlyCount, 0);
    EXPECT_EQ(window->Settings().HTTPPort, 80);

    OnDialog<TfrmSettings>([](TfrmSettings& dialog) {
        Control<QCheckBox>(dialog, "cbCUseProxy")->setChecked(true);
        Control<QLineEdit>(dialog, "eCServer")->setText("127.0.0.1");
        Control<QLineEdit>(dialog, "eCProxyPort")->setText("3129");
        Control<QPushButton>(dialog, "bSave")->click();
    });
    window->findChild<SettingsCommands*>()->Settings1Click();
    EXPECT_EQ(window->MainClient().Connection().ProxyServer, "127.0.0.1");
    EXPECT_EQ(window->MainClient().Connection().ProxyPort, 3129);
}

} // namespace
} // namespace zelmox::test
