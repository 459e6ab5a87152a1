#pragma once

#include <string>
#include <vector>

namespace zelmox {

class SectionModel;

// Tells which watches a scan changed (their change history moved on) and prints what changed in
// their visible text.
class ScanDifferences {
public:
    // Notes every row's change history before the scan.
    explicit ScanDifferences(const SectionModel& model);

    // For each watch changed since, once per set of snapshot files: a unified difference of the
    // visible text of its previous and current snapshots in folder, headed by its address.
    std::string Differences(const SectionModel& model, const std::string& folder) const;

private:
    std::vector<std::vector<std::vector<std::string>>> histories_;
};

} // namespace zelmox
