#pragma once

#include "Section.h"

#include <memory>
#include <string>
#include <vector>

namespace zelmox {

// The watch list: sections in tab order, each in one of 20 slots, with the shown tab and the data
// file the list came from. The only copy of the data; windows and tools show and change it here.
class SectionModel {
public:
    static constexpr int MaxSections = 20;
    static constexpr const char* DefaultSectionName = "Default";

    SectionModel();

    int TabCount() const { return static_cast<int>(tabs_.size()); }
    Section& Tab(int index) { return *tabs_.at(static_cast<std::size_t>(index)); }
    const Section& Tab(int index) const { return *tabs_.at(static_cast<std::size_t>(index)); }

    // The section in a slot, or nullptr when the slot is free.
    Section* SectionGrids(int slot);
    const Section* SectionGrids(int slot) const;

    int ActiveTab() const { return activeTab_; }
    void SetActiveTab(int index);
    Section& ActiveSection() { return Tab(activeTab_); }

    // Appends a section in the lowest free slot from 1 and shows it; nullptr (and nothing
    // created) when 20 sections exist.
    Section* AddSection(std::string name);

    // Removes a tab other than the first; the first tab cannot be deleted.
    bool DeleteSection(int index);

    // Only the empty "Default" section remains, unmarked and shown; no data file is open.
    void ClearApplication();

    // False only for a single, empty section.
    bool AnythingToSave() const;
    int WatchCount() const;
    int HighlightedCount() const;

    // The data file now open; empty when none.
    std::string CurrentFileName;

private:
    std::vector<std::unique_ptr<Section>> tabs_;
    int activeTab_ = 0;
};

// The watch object of a grid row.
TWatchObject& WatchAt(Section& section, int row);

} // namespace zelmox
