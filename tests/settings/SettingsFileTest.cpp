#include "SettingsFile.h"

#include "RecentFiles.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zelmox {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest()
        : paths_{dir_.File("config/zelmox/zelmox.ini"), dir_.Folder() + "share/data/",
                 dir_.Folder() + "share/saves/"} {}

    void Load(const std::string& text) {
        std::filesystem::create_directories(dir_.File("config/zelmox"));
        WriteFile(paths_.ConfigFile, text);
        ASSERT_TRUE(LoadSettings(paths_, settings_, window_).ok);
    }

    std::string SaveAndRead() {
        const SettingsResult result = SaveSettings(paths_, settings_, window_);
        EXPECT_TRUE(result.ok) << result.error;
        return ReadFile(paths_.ConfigFile);
    }

    TempDir dir_;
    SettingsPaths paths_;
    TSettings settings_;
    MainWindowValues window_;
};

TEST_F(SettingsFileTest, NoFileGivesEveryDefault) {
    settings_.HTTPPort = 1; // loading must replace whatever the record held
    ASSERT_TRUE(LoadSettings(paths_, settings_, window_).ok);

    EXPECT_EQ(window_, (MainWindowValues{100, 10, 865, 300, "", 900000}));
    EXPECT_EQ(settings_.HTTPPort, 80);
    EXPECT_FALSE(settings_.UseProxySettings);
    EXPECT_FALSE(settings_.BasicAuthentication);
    EXPECT_EQ(settings_.ProxyPort, 8080);
    EXPECT_FALSE(settings_.AutoScanAfterLoad);
    EXPECT_FALSE(settings_.AutoSave);
    EXPECT_TRUE(settings_.AutoDescription);
    EXPECT_EQ(settings_.AutoDescriptionType, 1);
    EXPECT_FALSE(settings_.PlayNotifySounds);
    EXPECT_EQ(settings_.LastCompareSaveDir, paths_.SavesFolder);
    EXPECT_EQ(settings_.LastSaveLocation, paths_.SavesFolder);
    EXPECT_FALSE(settings_.UseCCF);
    EXPECT_EQ(settings_.CCF, paths_.DataFolder);
    EXPECT_EQ(settings_.RowColour,
              (std::array<std::uint32_t, 5>{14544605, 14544622, 14540270, 15654382, 15658734}));
    EXPECT_EQ(settings_.RecentlyCount, 0);
}

TEST_F(SettingsFileTest, StoredFolderIsIgnoredWithoutUseCCFAndTheDefaultIsWrittenBack) {
    Load("[CCF]\nUseCCF=0\nCCF=/mnt/snap/\n");
    EXPECT_EQ(settings_.CCF, paths_.DataFolder);
    EXPECT_EQ(DataFolderInUse(settings_, paths_), paths_.DataFolder);
    const std::string text = SaveAndRead();
    EXPECT_NE(text.find("[CCF]\nUseCCF=0\nCCF=" + paths_.DataFolder + "\n"), std::string::npos)
        << text;
}

TEST_F(SettingsFileTest, CustomFolderIsUsedExactlyAsStored) {
    Load("[CCF]\nUseCCF=1\nCCF=/mnt/snap\n");
    EXPECT_EQ(settings_.CCF, "/mnt/snap");
    EXPECT_EQ(DataFolderInUse(settings_, paths_), "/mnt/snap");
}

TEST_F(SettingsFileTest, IntervalOfZeroOrLessOrNotANumberReadsAsFifteenMinutes) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"240000", 240000}, {"0", 900000}, {"-5", 900000}, {"soon", 900000}};
    for (const auto& [text, expected] : cases) {
        Load("[Scan]\nInterval=" + text + "\n");
        EXPECT_EQ(window_.Interval, expected) << text;
    }
}

TEST_F(SettingsFileTest, OnlyRecentlyCountEntriesAreReadAndTheCountIsClamped) {
    std::string recent;
    for (int n = 1; n <= 25; ++n) {
        recent += "[Recent" + std::to_string(n) + "]\nPath=/f" + std::to_string(n) + "\n";
    }
    Load("[Main]\nRecentlyCount=2\n" + recent);
    EXPECT_EQ(RecentFileList(settings_), (std::vector<std::string>{"/f1", "/f2"}));
    EXPECT_EQ(settings_.Recent[2], "");

    Load("[Main]\nRecentlyCount=25\n" + recent);
    EXPECT_EQ(settings_.RecentlyCount, 20);
    EXPECT_EQ(settings_.Recent[19], "/f20");

    Load("[Main]\nRecentlyCount=-3\n" + recent);
    EXPECT_EQ(settings_.RecentlyCount, 0);
    EXPECT_EQ(settings_.Recent[0], "");
}

TEST_F(SettingsFileTest, FreshFileIsWrittenInTheFixedOrderWithoutRowColours) {
    settings_ = DefaultSettings(paths_);
    settings_.ProxyPassword = "pw";
    settings_.Sound[3] = "/s/4.wav";
    settings_.RecentlyCount = 2;
    settings_.Recent = {"/a.zelmox", "/b.zelmox", "/stale.zelmox"};
    window_.DefaultFilename = "/a.zelmox";

    const std::string saves = paths_.SavesFolder;
    const std::string data = paths_.DataFolder;
    EXPECT_EQ(SaveAndRead(),
              "[Main]\nTop=100\nLeft=10\nWidth=865\nHeight=300\nDefaultFilename=/a.zelmox\n"
              "LastCompareSaveDir=" +
                  saves + "\nLastSaveLocation=" + saves +
                  "\n"
                  "RecentlyCount=2\n\n"
                  "[Scan]\nInterval=900000\n\n"
                  "[Connection]\nHTTPPort=80\nUseProxySettings=0\nBasicAuthentication=0\n"
                  "ProxyPassword=pw\nProxyUsername=\nProxyServer=\nProxyPort=8080\n\n"
                  "[General]\nAutoScanAfterLoad=0\nAutoSave=0\nAutoDescription=1\n"
                  "AutoDescriptionType=1\n\n"
                  "[Audio]\nPlayNotifySounds=0\nSound1=\nSound2=\nSound3=\nSound4=/s/4.wav\n"
                  "SoundFinished=\n\n"
                  "[CCF]\nUseCCF=0\nCCF=" +
                  data +
                  "\n\n"
                  "[Recent1]\nPath=/a.zelmox\n\n"
                  "[Recent2]\nPath=/b.zelmox\n");
}

TEST_F(SettingsFileTest, SavedValuesLoadBackUnchanged) {
    TSettings saved = DefaultSettings(paths_);
    saved.HTTPPort = 8081;
    saved.UseProxySettings = saved.BasicAuthentication = true;
    saved.ProxyPassword = "p w";
    saved.ProxyUsername = "user";
    saved.ProxyServer = "proxy.local";
    saved.ProxyPort = 3128;
    saved.AutoScanAfterLoad = saved.AutoSave = saved.PlayNotifySounds = true;
    saved.AutoDescription = false;
    saved.AutoDescriptionType = 2;
    saved.Sound = {"/1.wav", "/2.wav", "/3.wav", "/4.wav"};
    saved.SoundFinished = "/done.wav";
    saved.RecentlyCount = 1;
    saved.Recent[0] = "/w.zelmox";
    saved.LastCompareSaveDir = "/cmp/";
    saved.LastSaveLocation = "/sv/";
    saved.UseCCF = true;
    saved.CCF = "/cache/";
    const MainWindowValues savedWindow{5, 6, 700, 400, "/w.zelmox", 120000};
    settings_ = saved;
    window_ = savedWindow;
    SaveAndRead();

    TSettings loaded;
    MainWindowValues loadedWindow;
    ASSERT_TRUE(LoadSettings(paths_, loaded, loadedWindow).ok);
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(loadedWindow, savedWindow);
}

TEST_F(SettingsFileTest, NamesMatchWithoutCaseAndEmptyStringsStayEmpty) {
    Load("[MAIN]\n top = 42 \nLastSaveLocation=\n[connection]\nproxyserver=\t host \n"
         "[ccf]\nusecCF=1\nCCF=\n");
    EXPECT_EQ(window_.Top, 42);
    EXPECT_EQ(settings_.ProxyServer, "host");
    EXPECT_EQ(settings_.LastSaveLocation, "");
    EXPECT_EQ(settings_.CCF, "");

    // Saving updates the keys where they are instead of adding sections spelt differently.
    const std::string text = SaveAndRead();
    EXPECT_EQ(text.rfind("[MAIN]\ntop=42\nLastSaveLocation=\nLeft=10\n", 0), 0u) << text;
    EXPECT_NE(text.find("[connection]\nproxyserver=host\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("[Main]"), std::string::npos) << text;
    EXPECT_EQ(text.find("[CCF]"), std::string::npos) << text;
}

TEST_F(SettingsFileTest, LinesTheProgramDoesNotOwnSurviveASave) {
    Load("; hand-written notes\n[Main]\nPlugin=keep me\nRecentlyCount=1\n"
         "[Recent1]\nPath=/one\n[Recent2]\nPath=/old two\n"
         "[RowColour]\nRowColour1=255\n[Mine]\nX=1\n");
    EXPECT_EQ(settings_.RowColour[0], 255u);
    EXPECT_EQ(settings_.RowColour[1], 14544622u);
    settings_.RowColour[1] = 1; // row colours change only by editing the file

    const std::string text = SaveAndRead();
    EXPECT_EQ(text.rfind("; hand-written notes\n[Main]\nPlugin=keep me\nRecentlyCount=1\n", 0), 0u)
        << text;
    EXPECT_NE(text.find("[Recent1]\nPath=/one\n[Recent2]\nPath=/old two\n"
                        "[RowColour]\nRowColour1=255\n[Mine]\nX=1\n"),
              std::string::npos)
        << text;
}

TEST_F(SettingsFileTest, FailedSaveIsReportedWithTheFileName) {
    WriteFile(dir_.File("config"), "not a folder");
    const SettingsResult result = SaveSettings(paths_, settings_, window_);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error.rfind("Unable to write to " + paths_.ConfigFile, 0), 0u) << result.error;
    EXPECT_EQ(ReadFile(dir_.File("config")), "not a folder");
}

TEST_F(SettingsFileTest, AnUnreadableFileGivesDefaultsAndIsNotOverwritten) {
    // A folder in the file's place is unreadable even for root.
    std::filesystem::create_directories(paths_.ConfigFile);
    EXPECT_FALSE(LoadSettings(paths_, settings_, window_).ok);
    EXPECT_EQ(settings_, DefaultSettings(paths_));

    const SettingsResult saved = SaveSettings(paths_, settings_, window_);
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.error.rfind("Unable to write to " + paths_.ConfigFile, 0), 0u) << saved.error;
    EXPECT_TRUE(std::filesystem::is_directory(paths_.ConfigFile));
}

} // namespace
} // namespace zelmox
