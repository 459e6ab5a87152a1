#pragma once

#include <string>

namespace zelmox {

// Creates `folder` and any missing parents with mode 0700; folders that exist are left alone.
// True when the folder exists as a folder afterwards; otherwise `errorNumber` says why.
bool MakePrivateFolderTree(const std::string& folder, int& errorNumber);

bool IsExistingFolder(const std::string& folder);

} // namespace zelmox
