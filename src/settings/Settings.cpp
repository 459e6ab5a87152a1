#include "Settings.h"

#include "SettingsPaths.h"

namespace zelmox {

TSettings DefaultSettings(const SettingsPaths& paths) {
    TSettings settings;
    settings.LastCompareSaveDir = paths.SavesFolder;
    settings.LastSaveLocation = paths.SavesFolder;
    settings.CCF = paths.DataFolder;
    return settings;
}

std::string DataFolderInUse(const TSettings& settings, const SettingsPaths& paths) {
    return settings.UseCCF ? settings.CCF : paths.DataFolder;
}

} // namespace zelmox
