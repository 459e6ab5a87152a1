#include "SettingsFile.h"

#include "IniFile.h"

#include <algorithm>
#include <string>

namespace zelmox {

namespace {

constexpr std::int32_t kDefaultInterval = 900000;

std::string NumberedName(const char* stem, int number) {
    return stem + std::to_string(number);
}

int RecentCountInRange(std::int32_t count) {
    return std::clamp<std::int32_t>(count, 0, TSettings::kRecentSlots);
}

} // namespace

void ReadSettings(const IniFile& file, const SettingsPaths& paths, TSettings& settings,
                  MainWindowValues& window) {
    const TSettings defaults = DefaultSettings(paths);
    const MainWindowValues windowDefaults;
    settings = defaults;
    window = windowDefaults;

    window.Top = file.ReadInteger("Main", "Top", windowDefaults.Top);
    window.Left = file.ReadInteger("Main", "Left", windowDefaults.Left);
    window.Width = file.ReadInteger("Main", "Width", windowDefaults.Width);
    window.Height = file.ReadInteger("Main", "Height", windowDefaults.Height);
    window.DefaultFilename = file.ReadString("Main", "DefaultFilename", {});
    window.Interval = file.ReadInteger("Scan", "Interval", kDefaultInterval);
    if (window.Interval <= 0) {
        window.Interval = kDefaultInterval; // a timer with no period would never tick sensibly
    }

    settings.HTTPPort = file.ReadInteger("Connection", "HTTPPort", defaults.HTTPPort);
    settings.UseProxySettings =
        file.ReadBool("Connection", "UseProxySettings", defaults.UseProxySettings);
    settings.BasicAuthentication =
        file.ReadBool("Connection", "BasicAuthentication", defaults.BasicAuthentication);
    settings.ProxyPassword = file.ReadString("Connection", "ProxyPassword", {});
    settings.ProxyUsername = file.ReadString("Connection", "ProxyUsername", {});
    settings.ProxyServer = file.ReadString("Connection", "ProxyServer", {});
    settings.ProxyPort = file.ReadInteger("Connection", "ProxyPort", defaults.ProxyPort);

    settings.AutoScanAfterLoad =
        file.ReadBool("General", "AutoScanAfterLoad", defaults.AutoScanAfterLoad);
    settings.AutoSave = file.ReadBool("General", "AutoSave", defaults.AutoSave);
    settings.AutoDescription =
        file.ReadBool("General", "AutoDescription", defaults.AutoDescription);
    settings.AutoDescriptionType =
        file.ReadInteger("General", "AutoDescriptionType", defaults.AutoDescriptionType);

    settings.PlayNotifySounds =
        file.ReadBool("Audio", "PlayNotifySounds", defaults.PlayNotifySounds);
    for (int i = 0; i < TSettings::kSoundCount; ++i) {
        settings.Sound[i] = file.ReadString("Audio", NumberedName("Sound", i + 1), {});
    }
    settings.SoundFinished = file.ReadString("Audio", "SoundFinished", {});

    settings.LastCompareSaveDir =
        file.ReadString("Main", "LastCompareSaveDir", defaults.LastCompareSaveDir);
    settings.LastSaveLocation =
        file.ReadString("Main", "LastSaveLocation", defaults.LastSaveLocation);

    // A stored folder is taken as written; only the settings dialog adds the final separator.
    settings.UseCCF = file.ReadBool("CCF", "UseCCF", defaults.UseCCF);
    settings.CCF = settings.UseCCF ? file.ReadString("CCF", "CCF", defaults.CCF) : paths.DataFolder;

    for (int i = 0; i < TSettings::kRowColourCount; ++i) {
        const auto stored = file.ReadInteger("RowColour", NumberedName("RowColour", i + 1),
                                             static_cast<std::int32_t>(defaults.RowColour[i]));
        settings.RowColour[i] = static_cast<std::uint32_t>(stored);
    }

    settings.RecentlyCount = RecentCountInRange(file.ReadInteger("Main", "RecentlyCount", 0));
    for (int n = 1; n <= settings.RecentlyCount; ++n) {
        settings.Recent[n - 1] = file.ReadString(NumberedName("Recent", n), "Path", {});
    }
}

void WriteSettings(IniFile& file, const TSettings& settings, const MainWindowValues& window) {
    file.WriteInteger("Main", "Top", window.Top);
    file.WriteInteger("Main", "Left", window.Left);
    file.WriteInteger("Main", "Width", window.Width);
    file.WriteInteger("Main", "Height", window.Height);
    file.WriteString("Main", "DefaultFilename", window.DefaultFilename);
    file.WriteInteger("Scan", "Interval", window.Interval);

    file.WriteInteger("Connection", "HTTPPort", settings.HTTPPort);
    file.WriteBool("Connection", "UseProxySettings", settings.UseProxySettings);
    file.WriteBool("Connection", "BasicAuthentication", settings.BasicAuthentication);
    file.WriteString("Connection", "ProxyPassword", settings.ProxyPassword);
    file.WriteString("Connection", "ProxyUsername", settings.ProxyUsername);
    file.WriteString("Connection", "ProxyServer", settings.ProxyServer);
    file.WriteInteger("Connection", "ProxyPort", settings.ProxyPort);

    file.WriteBool("General", "AutoScanAfterLoad", settings.AutoScanAfterLoad);
    file.WriteBool("General", "AutoSave", settings.AutoSave);
    file.WriteBool("General", "AutoDescription", settings.AutoDescription);
    file.WriteInteger("General", "AutoDescriptionType", settings.AutoDescriptionType);

    file.WriteBool("Audio", "PlayNotifySounds", settings.PlayNotifySounds);
    for (int i = 0; i < TSettings::kSoundCount; ++i) {
        file.WriteString("Audio", NumberedName("Sound", i + 1), settings.Sound[i]);
    }
    file.WriteString("Audio", "SoundFinished", settings.SoundFinished);

    file.WriteString("Main", "LastCompareSaveDir", settings.LastCompareSaveDir);
    file.WriteString("Main", "LastSaveLocation", settings.LastSaveLocation);
    file.WriteBool("CCF", "UseCCF", settings.UseCCF);
    file.WriteString("CCF", "CCF", settings.CCF);

    const int count = RecentCountInRange(settings.RecentlyCount);
    file.WriteInteger("Main", "RecentlyCount", count);
    for (int n = 1; n <= count; ++n) {
        file.WriteString(NumberedName("Recent", n), "Path", settings.Recent[n - 1]);
    }
}

SettingsResult LoadSettings(const SettingsPaths& paths, TSettings& settings,
                            MainWindowValues& window) {
    IniFile file;
    SettingsResult result = file.Load(paths.ConfigFile);
    ReadSettings(file, paths, settings, window);
    return result;
}

SettingsResult SaveSettings(const SettingsPaths& paths, const TSettings& settings,
                            const MainWindowValues& window) {
    IniFile file;
    if (SettingsResult loaded = file.Load(paths.ConfigFile); !loaded.ok) {
        return {false, "Unable to write to " + paths.ConfigFile + " (" + loaded.error + ")"};
    }
    WriteSettings(file, settings, window);
    return file.Save(paths.ConfigFile);
}

} // namespace zelmox
