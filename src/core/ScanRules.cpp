#include "ScanRules.h"

#include "Digest.h"

namespace zelmox {

RuleOutcome CheckRule(const TWatch& watch, std::string_view content) {
    RuleOutcome outcome;
    switch (watch.ScanType) {
    case ScanEntireFile:
        outcome.Digest = MD5Print(MD5String(content));
        outcome.Changed = outcome.Digest != watch.MD5;
        break;
    case ScanTextBetweenTags:
        outcome.Digest = ProcessNonTaggedContent(content);
        outcome.Changed = outcome.Digest != watch.MD5;
        break;
    case ScanSizeComparison:
        outcome.Changed = static_cast<std::int32_t>(content.size()) != watch.AfterSize;
        break;
    case ScanKeywords:
        outcome.Changed = ProcessKeywords(content, watch.Keyword);
        break;
    default:
        break;
    }
    return outcome;
}

void RecordFailedFetch(WatchRow& row, const Clock& clock) {
    row.Object.Changed = ChangedFailed;
    row.Object.Highlighted = false;
    row.Cells[ColSortKey] = "?";
    row.Cells[ColLastCheck] = GetTimeStamp(clock);
}

bool RecordFetchedContent(WatchRow& row, const RuleOutcome& outcome, std::size_t contentLength,
                          const Clock& clock) {
    TWatchObject& object = row.Object;
    TWatch& watch = object.Watch;
    watch.LastScan = GetTimeStamp(clock);
    row.Cells[ColLastCheck] = GetTimeStamp(clock);
    if (object.Changed >= ChangedFailed) {
        object.Changed = 0;
        object.Highlighted = false;
    }
    const std::string stamp = GetTimeStamp(clock);
    const bool changed = outcome.Changed;
    if (changed) {
        row.Cells[ColLastChange] = GetTimeStamp(clock);
        object.Highlighted = true;
        if (object.Changed != MaxChangeLevel) {
            ++object.Changed;
        }
        row.Cells[ColSortKey] = std::to_string(object.Changed);
        if (watch.ScanType == ScanEntireFile || watch.ScanType == ScanTextBetweenTags) {
            watch.MD5 = outcome.Digest;
        }
        watch.BeforeSize = watch.AfterSize;
        watch.AfterSize = static_cast<std::int32_t>(contentLength);
        watch.BeforeChange = watch.LastChange;
        watch.LastChange = stamp;
        AddChangeHistory(object, stamp);
    }
    row.Cells[ColLastCheck] = GetTimeStamp(clock);
    return changed;
}

} // namespace zelmox
