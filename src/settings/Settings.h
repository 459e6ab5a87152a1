#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zelmox {

struct SettingsPaths;

// All user preferences. One instance lives for the whole run; it is filled from the settings file
// at start and written back at exit, and is the only live copy in between.
struct TSettings {
    static constexpr int kSoundCount = 4;
    static constexpr int kRecentSlots = 20;
    static constexpr int kRowColourCount = 5;

    std::int32_t HTTPPort = 80;
    bool UseProxySettings = false;
    bool BasicAuthentication = false;
    std::string ProxyPassword; // plain text, hence the file's mode 0600
    std::string ProxyUsername;
    std::string ProxyServer;
    std::int32_t ProxyPort = 8080;
    bool AutoScanAfterLoad = false;
    bool AutoSave = false;
    bool AutoDescription = true;
    std::int32_t AutoDescriptionType = 1; // 1 = page title, 2 = meta description
    bool PlayNotifySounds = false;
    std::array<std::string, kSoundCount> Sound; // entry i plays for a change found by scan type i
    std::string SoundFinished;
    // Entries from RecentlyCount on may still hold older paths (the list is cleared by setting
    // the count to 0); they are not part of the list.
    std::int32_t RecentlyCount = 0;
    std::array<std::string, kRecentSlots> Recent; // oldest first
    std::string LastCompareSaveDir;
    std::string LastSaveLocation;
    bool UseCCF = false;
    std::string CCF; // the data folder in use, whatever UseCCF says
    // Background of a highlighted row by change level 1..5, as 0x00BBGGRR.
    std::array<std::uint32_t, kRowColourCount> RowColour{14544605, 14544622, 14540270, 15654382,
                                                         15658734};

    friend bool operator==(const TSettings&, const TSettings&) = default;
};

// Values stored with the settings that belong to the main window.
struct MainWindowValues {
    std::int32_t Top = 100;
    std::int32_t Left = 10;
    std::int32_t Width = 865;
    std::int32_t Height = 300;
    std::string DefaultFilename;    // data file opened at start; empty: none
    std::int32_t Interval = 900000; // auto-scan interval in milliseconds

    friend bool operator==(const MainWindowValues&, const MainWindowValues&) = default;
};

// The settings of a user without a settings file: the folders are the per-user defaults.
TSettings DefaultSettings(const SettingsPaths& paths);

// The folder snapshots are kept in: the custom folder when one is in use, else the default.
std::string DataFolderInUse(const TSettings& settings, const SettingsPaths& paths);

} // namespace zelmox
