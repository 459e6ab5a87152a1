#include "WatchFacts.h"

#include "Snapshot.h"

#include <charconv>
#include <filesystem>

namespace zelmox {

namespace {

std::string ScanTypeText(std::int32_t scanType) {
    switch (scanType) {
    case ScanEntireFile:
        return "Entire file.";
    case ScanTextBetweenTags:
        return "Only text between tags.";
    case ScanSizeComparison:
        return "Size comparison.";
    case ScanKeywords:
        return "Keyword scan.";
    default:
        return "....";
    }
}

InformationLine SizeLine(const char* label, std::int32_t size, const std::string& dataFolder,
                         const TWatch& watch, std::string_view suffix) {
    std::error_code error;
    const bool exists = std::filesystem::exists(SnapshotFileName(dataFolder, watch, suffix), error);
    return {label, std::to_string(size) + " bytes", !exists};
}

// Columns of StatisticsHeader.
enum StatisticsColumn : std::size_t {
    ColName,
    ColSize,
    ColWatches,
    ColLevel0,
    ColManual = ColLevel0 + MaxChangeLevel + 1,
    ColError,
};

} // namespace

std::vector<InformationLine> WatchInformation(const TWatchObject& object,
                                              const std::string& dataFolder) {
    const TWatch& watch = object.Watch;
    return {
        {"Description", watch.Description.empty() ? "<none>" : watch.Description},
        {"Address", watch.Address},
        {"Scan Type", ScanTypeText(watch.ScanType)},
        {"Added", watch.Added},
        {"Last Scan", watch.LastScan},
        {"Last Change", watch.LastChange},
        {"Before Change", watch.BeforeChange},
        SizeLine("Original Size", watch.OriginalSize, dataFolder, watch, SuffixOriginal),
        SizeLine("Before Size", watch.BeforeSize, dataFolder, watch, SuffixBefore),
        SizeLine("After Size", watch.AfterSize, dataFolder, watch, SuffixAfter),
        {"MD5", watch.MD5},
        {"Save Prefix", watch.AddressMD5},
    };
}

std::vector<std::string> HistoryNewestFirst(const TWatchObject& object) {
    if (object.ChangeHistory.empty()) {
        return {"None available."};
    }
    return {object.ChangeHistory.rbegin(), object.ChangeHistory.rend()};
}

std::string SizeText(std::int64_t bytes, std::string_view decimalSeparator) {
    if (bytes >= 1 && bytes <= 1023) {
        return std::to_string(bytes) + " bytes";
    }
    double value = static_cast<double>(bytes) / 1024.0;
    const char* unit = "K";
    if (bytes >= 1024LL * 1024 * 1024) {
        value = static_cast<double>(bytes) / (1024.0 * 1024.0 * 1024.0);
        unit = "GB";
    } else if (bytes >= 1024LL * 1024) {
        value = static_cast<double>(bytes) / (1024.0 * 1024.0);
        unit = "MB";
    }
    // to_chars ignores the C locale, which the window sets from the user's.
    char digits[64];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 2).ptr;
    std::string text(digits, end);
    // A small negative number rounds to zero, which has no sign.
    if (text == "-0.00") {
        text = "0.00";
    }
    text.replace(text.size() - 3, 1, decimalSeparator);
    return text + unit;
}

std::array<std::string, StatisticsHeader.size()> StatisticsRow(const Section& section,
                                                               std::string_view decimalSeparator) {
    std::array<int, StatisticsHeader.size()> counts{};
    std::int64_t size = 0;
    for (int row = 1; row < section.RowCount(); ++row) {
        const TWatchObject& object = section.Row(row).Object;
        size += object.Watch.AfterSize;
        if (object.Changed == 0 && object.Watch.Manual == 1) {
            ++counts[ColManual];
        } else if (object.Changed >= 0 && object.Changed <= MaxChangeLevel) {
            ++counts[ColLevel0 + static_cast<std::size_t>(object.Changed)];
        } else if (object.Changed == ChangedFailed) {
            ++counts[ColError];
        }
    }
    std::array<std::string, StatisticsHeader.size()> cells;
    cells[ColName] = section.Name;
    cells[ColSize] = SizeText(size, decimalSeparator);
    cells[ColWatches] = std::to_string(section.RowCount() - 1);
    for (std::size_t column = ColLevel0; column < cells.size(); ++column) {
        cells[column] = std::to_string(counts[column]);
    }
    return cells;
}

} // namespace zelmox
