#pragma once

#include "Settings.h"

#include <string>
#include <vector>

namespace zelmox {

// Records a data file that has just been opened. A path already in any of the slots (also the
// stale ones beyond RecentlyCount, which still hold paths after the list was cleared) changes
// nothing. Otherwise it becomes the newest entry; with the list full the oldest is dropped.
// True when the list changed and its menu needs rebuilding. An empty path is never recorded.
bool AddRecentFile(TSettings& settings, const std::string& path);

// The recent files, oldest first.
std::vector<std::string> RecentFileList(const TSettings& settings);

} // namespace zelmox
