#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelmox {

// Change levels a watch's Changed field takes besides 0..4.
inline constexpr std::int32_t ChangedFailed = 999;
inline constexpr std::int32_t MaxChangeLevel = 4;
inline constexpr std::size_t MaxChangeHistory = 20;

// Scan types: how a change is detected.
enum ScanTypes : std::int32_t {
    ScanEntireFile = 0,
    ScanTextBetweenTags = 1,
    ScanSizeComparison = 2,
    ScanKeywords = 3,
};

// The fourteen stored fields of a watch, named after the data-file keys. Texts are bytes exactly
// as read from a data file or a page.
struct TWatch {
    std::string Description;
    std::string Address;
    std::string AddressMD5;
    std::int32_t ScanType = 0;
    std::string Added;
    std::string LastScan;
    std::string LastChange;
    std::string BeforeChange;
    std::string MD5;
    std::vector<std::string> Keyword;
    std::int32_t Manual = 0;
    std::int32_t OriginalSize = 0;
    std::int32_t BeforeSize = 0;
    std::int32_t AfterSize = 0;

    bool operator==(const TWatch&) const = default;
};

// A watch as a grid row holds it: its record plus the status the scans and clear commands keep.
struct TWatchObject {
    bool Highlighted = false;
    std::int32_t Changed = 0;
    TWatch Watch;
    std::vector<std::string> ChangeHistory;

    bool operator==(const TWatchObject&) const = default;
};

// Empties the identity and scan state of a watch; Added, BeforeChange and both lists stay.
void ResetWatch(TWatchObject& object);

// Appends a change time stamp, dropping the oldest entry when exactly 20 are held.
void AddChangeHistory(TWatchObject& object, const std::string& stamp);

// The digest text that names a watch's snapshot files: MD5 of Address followed by the decimal
// ScanType.
std::string ComputeAddressMD5(const TWatch& watch);

// True for exactly 32 hexadecimal digits, the only AddressMD5 form a file name may be built from.
bool IsDigestText(const std::string& text);

} // namespace zelmox
