#pragma once

#include "Clock.h"
#include "Watch.h"

#include <string>
#include <string_view>

namespace zelmox {

struct ImportOptions {
    std::int32_t ScanType = ScanEntireFile;
    bool AutoDescription = true;
    std::int32_t AutoDescriptionType = 1;
};

// What reading or fetching an imported address gave.
struct ImportContent {
    bool Ok = false;
    std::string Bytes;
};

// Fills what a new watch records of its first content: AddressMD5, the digest its scan type keeps
// (none for the keyword scan), the times and the three sizes.
void RecordFirstContent(TWatch& watch, std::string_view content, const Clock& clock);

// A new watch for one address of an import list, with its starting values taken from the content.
// An address that could not be read becomes a manual-mode watch with sizes 0.
TWatchObject MakeImportedWatch(const std::string& address, const ImportContent& content,
                               const ImportOptions& options, const Clock& clock);

} // namespace zelmox
