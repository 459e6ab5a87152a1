#pragma once

#include "Watch.h"

#include <string>
#include <string_view>
#include <vector>

namespace zelmox {

// The three copies of a new watch's content, each followed by CR LF. With onlyMissing, copies
// that exist already are left alone (an offline import must not blank a watched address's files).
// False when a copy could not be written.
bool WriteInitialSnapshots(const std::string& dataFolder, const TWatch& watch,
                           std::string_view content, bool onlyMissing = false);

// After a detected change: "_b" is deleted, "_a" becomes "_b" and the content is the new "_a".
// Returns the scan-log lines of the steps that failed; every step runs regardless.
std::vector<std::string> RotateSnapshots(const std::string& dataFolder, const TWatch& watch,
                                         std::string_view content);

// After an edit renamed a watch's files (new address or scan type): each of the old "_x", "_a" and
// "_b" that exists is copied to the new name, replacing; the old files stay.
void CarryOverSnapshots(const std::string& dataFolder, const TWatch& before, const TWatch& after);

// Creates or replaces a file with exactly these bytes; false when it could not be written.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

} // namespace zelmox
