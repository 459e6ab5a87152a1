#include "SettingsPaths.h"

#include "PrivateFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace zelmox {

namespace {

std::string_view Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

// $HOME is normally set; a service started without it still has a home in the password file.
std::string HomeFolder() {
    std::string_view home = Environment("HOME");
    if (!home.empty()) {
        return std::string(home);
    }
    if (const passwd* entry = ::getpwuid(::getuid());
        entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return {};
}

std::string WithoutTrailingSlashes(std::string_view folder) {
    while (!folder.empty() && folder.back() == '/') {
        folder.remove_suffix(1);
    }
    return std::string(folder);
}

std::string BaseFolder(std::string_view xdgValue, std::string_view home,
                       std::string_view fallbackUnderHome) {
    if (!xdgValue.empty() && xdgValue.front() == '/') {
        return WithoutTrailingSlashes(xdgValue);
    }
    return WithoutTrailingSlashes(home) + "/" + std::string(fallbackUnderHome);
}

} // namespace

SettingsPaths SettingsPathsFrom(std::string_view home, std::string_view configHome,
                                std::string_view dataHome) {
    const std::string config = BaseFolder(configHome, home, ".config");
    const std::string data = BaseFolder(dataHome, home, ".local/share");
    return {config + "/zelmox/zelmox.ini", data + "/zelmox/data/", data + "/zelmox/saves/"};
}

SettingsPaths DefaultSettingsPaths() {
    return SettingsPathsFrom(HomeFolder(), Environment("XDG_CONFIG_HOME"),
                             Environment("XDG_DATA_HOME"));
}

bool EnsureDefaultFolder(const SettingsPaths& paths, const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    if (folder != paths.DataFolder && folder != paths.SavesFolder) {
        return IsExistingFolder(folder);
    }
    int ignored = 0;
    return MakePrivateFolderTree(folder, ignored);
}

} // namespace zelmox
