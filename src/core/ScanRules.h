#pragma once

#include "Clock.h"
#include "Section.h"

#include <string_view>

namespace zelmox {

// Whether content differs from what the watch last recorded, by the rule of its scan type. A scan
// type outside 0..3 never reports a change.
bool IsChangedByRule(const TWatchObject& object, std::string_view content);

// A fetch that failed (or gave an empty page): the row shows "?" and is no longer marked.
void RecordFailedFetch(WatchRow& row, const Clock& clock);

// A successful fetch: stamps the row, applies the change rule and, on a change, raises the change
// level and moves sizes, times and history along. Returns whether the content changed.
bool RecordFetchedContent(WatchRow& row, std::string_view content, const Clock& clock);

} // namespace zelmox
