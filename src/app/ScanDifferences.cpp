#include "ScanDifferences.h"

#include "LineDiff.h"
#include "SectionModel.h"
#include "Snapshot.h"
#include "VisibleText.h"

#include <set>

namespace zelmox {

ScanDifferences::ScanDifferences(const SectionModel& model) {
    for (int tab = 0; tab < model.TabCount(); ++tab) {
        const Section& section = model.Tab(tab);
        auto& rows = histories_.emplace_back();
        for (int row = 0; row < section.RowCount(); ++row) {
            rows.push_back(row == 0 ? std::vector<std::string>{}
                                    : section.Row(row).Object.ChangeHistory);
        }
    }
}

std::string ScanDifferences::Differences(const SectionModel& model,
                                         const std::string& folder) const {
    std::string out;
    std::set<std::string> shown;
    for (int tab = 0; tab < model.TabCount(); ++tab) {
        const Section& section = model.Tab(tab);
        for (int row = 1; row < section.RowCount(); ++row) {
            const TWatchObject& object = section.Row(row).Object;
            const auto& before = histories_[static_cast<std::size_t>(tab)];
            if (!section.Row(row).HoldsWatch() ||
                object.ChangeHistory == before[static_cast<std::size_t>(row)]) {
                continue;
            }
            const TWatch& watch = object.Watch;
            const std::string previous = SnapshotFileName(folder, watch, SuffixBefore);
            if (!shown.insert(previous).second) {
                continue;
            }
            out += "--- " + watch.Address + " (previous)\n+++ " + watch.Address + " (current)\n";
            if (SnapshotExtension(watch.Address) != ".html") {
                out += "Not a web page: no text to compare.\n";
                continue;
            }
            const std::vector<std::string> oldLines = VisibleLines(ReadWholeFile(previous));
            const std::vector<std::string> newLines =
                VisibleLines(ReadWholeFile(SnapshotFileName(folder, watch, SuffixAfter)));
            WorkBudget budget;
            int wholeStretches = 0;
            const std::string hunks = UnifiedDifference(
                oldLines, newLines, CompareLines(oldLines, newLines, budget, wholeStretches));
            out += hunks.empty() ? "The visible text is the same.\n" : hunks;
        }
    }
    return out;
}

} // namespace zelmox
