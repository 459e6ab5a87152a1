#pragma once

#include "Section.h"
#include "Watch.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelmox {

// One line of a watch's information page: a label, its value and, beside a size, whether the
// snapshot file of that size is missing.
struct InformationLine {
    std::string Label;
    std::string Value;
    bool PageMissing = false;

    bool operator==(const InformationLine&) const = default;
};

// Every stored fact of a watch in the order the information page shows them, the change history
// excepted. The sizes say whether their snapshot file exists in dataFolder.
std::vector<InformationLine> WatchInformation(const TWatchObject& object,
                                              const std::string& dataFolder);

// The change history newest first, or the single line "None available.".
std::vector<std::string> HistoryNewestFirst(const TWatchObject& object);

// A number of bytes as the statistics window shows it: "512 bytes", "1.56K", "2.00MB", "1.00GB".
// Zero and negative numbers take the K form. decimalSeparator stands between units and
// hundredths (the user's locale's).
std::string SizeText(std::int64_t bytes, std::string_view decimalSeparator = ".");

// The columns of the statistics window.
inline constexpr std::array<std::string_view, 10> StatisticsHeader = {
    "Section", "Size", "Watches", "0", "1", "2", "3", "4+", "Manual", "Error"};

// A section's line of the statistics window: its name, the SizeText of its AfterSize sum, its
// row count and its rows counted by change level. The placeholder row of an empty section counts
// as a row at level 0.
std::array<std::string, StatisticsHeader.size()> StatisticsRow(const Section& section,
                                                               std::string_view decimalSeparator);

} // namespace zelmox
