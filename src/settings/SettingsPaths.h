#pragma once

#include <string>
#include <string_view>

namespace zelmox {

// Where the settings file and the per-user default folders live. Folders end with "/".
struct SettingsPaths {
    std::string ConfigFile;  // .../zelmox/zelmox.ini
    std::string DataFolder;  // default snapshot folder
    std::string SavesFolder; // default folder for saved pages and data files
};

// The paths under the XDG base folders of the current user ($XDG_CONFIG_HOME, $XDG_DATA_HOME,
// falling back to ~/.config and ~/.local/share).
SettingsPaths DefaultSettingsPaths();

// The same rule with the environment passed in. An empty or relative XDG folder is ignored, as
// the XDG rules require.
SettingsPaths SettingsPathsFrom(std::string_view home, std::string_view configHome,
                                std::string_view dataHome);

// Makes sure `folder` exists before files are written into it. The per-user default folders are
// created (with parents, mode 0700) when first needed; a folder the user chose is never created,
// only checked. True when the folder is there to use.
bool EnsureDefaultFolder(const SettingsPaths& paths, const std::string& folder);

} // namespace zelmox
