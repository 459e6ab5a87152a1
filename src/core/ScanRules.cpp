#include "ScanRules.h"

#include "Digest.h"

namespace zelmox {

namespace {

// The digest a scan type keeps in MD5; empty for the types that do not renew it.
std::string RuleDigest(std::int32_t scanType, std::string_view content) {
    switch (scanType) {
    case ScanEntireFile:
        return MD5Print(MD5String(content));
    case ScanTextBetweenTags:
        return ProcessNonTaggedContent(content);
    default:
        return {};
    }
}

std::int32_t ContentLength(std::string_view content) {
    return static_cast<std::int32_t>(content.size());
}

// The rule of the watch's scan type; digest receives the new digest of the types that keep one.
bool DetectChange(const TWatchObject& object, std::string_view content, std::string& digest) {
    const TWatch& watch = object.Watch;
    switch (watch.ScanType) {
    case ScanEntireFile:
    case ScanTextBetweenTags:
        digest = RuleDigest(watch.ScanType, content);
        return digest != watch.MD5;
    case ScanSizeComparison:
        return ContentLength(content) != watch.AfterSize;
    case ScanKeywords:
        return ProcessKeywords(content, watch.Keyword);
    default:
        return false;
    }
}

} // namespace

bool IsChangedByRule(const TWatchObject& object, std::string_view content) {
    std::string digest;
    return DetectChange(object, content, digest);
}

void RecordFailedFetch(WatchRow& row, const Clock& clock) {
    row.Object.Changed = ChangedFailed;
    row.Object.Highlighted = false;
    row.Cells[ColSortKey] = "?";
    row.Cells[ColLastCheck] = GetTimeStamp(clock);
}

bool RecordFetchedContent(WatchRow& row, std::string_view content, const Clock& clock) {
    TWatchObject& object = row.Object;
    TWatch& watch = object.Watch;
    watch.LastScan = GetTimeStamp(clock);
    row.Cells[ColLastCheck] = GetTimeStamp(clock);
    if (object.Changed >= ChangedFailed) {
        object.Changed = 0;
        object.Highlighted = false;
    }
    const std::string stamp = GetTimeStamp(clock);
    std::string digest;
    const bool changed = DetectChange(object, content, digest);
    if (changed) {
        row.Cells[ColLastChange] = GetTimeStamp(clock);
        object.Highlighted = true;
        if (object.Changed != MaxChangeLevel) {
            ++object.Changed;
        }
        row.Cells[ColSortKey] = std::to_string(object.Changed);
        if (watch.ScanType == ScanEntireFile || watch.ScanType == ScanTextBetweenTags) {
            watch.MD5 = digest;
        }
        watch.BeforeSize = watch.AfterSize;
        watch.AfterSize = ContentLength(content);
        watch.BeforeChange = watch.LastChange;
        watch.LastChange = stamp;
        AddChangeHistory(object, stamp);
    }
    row.Cells[ColLastCheck] = GetTimeStamp(clock);
    return changed;
}

} // namespace zelmox
