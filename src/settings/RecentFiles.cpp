#include "RecentFiles.h"

#include <algorithm>

namespace zelmox {

namespace {

int UsedSlots(const TSettings& settings) {
    return std::clamp<int>(settings.RecentlyCount, 0, TSettings::kRecentSlots);
}

} // namespace

bool AddRecentFile(TSettings& settings, const std::string& path) {
    if (path.empty() ||
        std::find(settings.Recent.begin(), settings.Recent.end(), path) != settings.Recent.end()) {
        return false;
    }
    int count = UsedSlots(settings);
    if (count == TSettings::kRecentSlots) {
        std::rotate(settings.Recent.begin(), settings.Recent.begin() + 1, settings.Recent.end());
        --count;
    }
    settings.Recent[count] = path;
    settings.RecentlyCount = count + 1;
    return true;
}

std::vector<std::string> RecentFileList(const TSettings& settings) {
    return {settings.Recent.begin(), settings.Recent.begin() + UsedSlots(settings)};
}

} // namespace zelmox
