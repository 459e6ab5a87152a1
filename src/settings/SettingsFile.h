#pragma once

#include "Settings.h"
#include "SettingsPaths.h"
#include "SettingsResult.h"

namespace zelmox {

class IniFile;

// Fills the settings and the main-window values from an already loaded file. Every value the
// file lacks, or holds as a malformed number, takes its default. A RecentlyCount outside 0..20
// is clamped, an Interval of zero or less reads as the default, and only the first RecentlyCount
// recent entries are read.
void ReadSettings(const IniFile& file, const SettingsPaths& paths, TSettings& settings,
                  MainWindowValues& window);

// Stores every key except the row colours, which change only by editing the file. Recent
// sections beyond RecentlyCount are left as they are.
void WriteSettings(IniFile& file, const TSettings& settings, const MainWindowValues& window);

// Reads the settings file. A missing file gives the defaults and success; an unreadable one
// gives the defaults too, with the reason in the result for whoever wants to log it.
SettingsResult LoadSettings(const SettingsPaths& paths, TSettings& settings,
                            MainWindowValues& window);

// Writes the settings into the file as it is on disk now, so that lines this program does not
// own survive. Nothing is written when the existing file cannot be read, since that would lose
// them.
SettingsResult SaveSettings(const SettingsPaths& paths, const TSettings& settings,
                            const MainWindowValues& window);

} // namespace zelmox
