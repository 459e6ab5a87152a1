#pragma once

#include "Clock.h"
#include "Section.h"

#include <string>
#include <string_view>

namespace zelmox {

// What the rule of a watch's scan type finds in a content: whether it differs from what the watch
// last recorded, and the digest the types 0 and 1 keep. A scan type outside 0..3 never reports a
// change. Touches nothing, so it may run on any thread.
struct RuleOutcome {
    bool Changed = false;
    std::string Digest;
};
RuleOutcome CheckRule(const TWatch& watch, std::string_view content);

// A fetch that failed (or gave an empty page): the row shows "?" and is no longer marked.
void RecordFailedFetch(WatchRow& row, const Clock& clock);

// A successful fetch whose content of this length gave the outcome: stamps the row and, on a
// change, raises the change level and moves digest, sizes, times and history along. Returns
// whether the content changed.
bool RecordFetchedContent(WatchRow& row, const RuleOutcome& outcome, std::size_t contentLength,
                          const Clock& clock);

} // namespace zelmox
