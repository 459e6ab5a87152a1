#include "SectionModel.h"

#include <algorithm>

namespace zelmox {

SectionModel::SectionModel() {
    tabs_.push_back(std::make_unique<Section>(0, DefaultSectionName));
}

Section* SectionModel::SectionGrids(int slot) {
    const auto found = std::find_if(tabs_.begin(), tabs_.end(),
                                    [slot](const auto& tab) { return tab->Slot() == slot; });
    return found == tabs_.end() ? nullptr : found->get();
}

const Section* SectionModel::SectionGrids(int slot) const {
    return const_cast<SectionModel*>(this)->SectionGrids(slot);
}

void SectionModel::SetActiveTab(int index) {
    if (index >= 0 && index < TabCount()) {
        activeTab_ = index;
    }
}

Section* SectionModel::AddSection(std::string name) {
    for (int slot = 1; slot < MaxSections; ++slot) {
        if (SectionGrids(slot) == nullptr) {
            tabs_.push_back(std::make_unique<Section>(slot, std::move(name)));
            activeTab_ = TabCount() - 1;
            return tabs_.back().get();
        }
    }
    return nullptr;
}

bool SectionModel::DeleteSection(int index) {
    if (index <= 0 || index >= TabCount()) {
        return false;
    }
    tabs_.erase(tabs_.begin() + index);
    activeTab_ = std::min(activeTab_, TabCount() - 1);
    return true;
}

void SectionModel::ClearApplication() {
    tabs_.resize(1);
    Section& first = *tabs_.front();
    first.Empty();
    first.Name = DefaultSectionName;
    first.ChangeMark = false;
    activeTab_ = 0;
    CurrentFileName.clear();
}

bool SectionModel::AnythingToSave() const {
    return TabCount() != 1 || !Tab(0).IsEmpty();
}

int SectionModel::WatchCount() const {
    int count = 0;
    for (const auto& tab : tabs_) {
        count += tab->WatchCount();
    }
    return count;
}

int SectionModel::HighlightedCount() const {
    int count = 0;
    for (const auto& tab : tabs_) {
        count += tab->HighlightedCount();
    }
    return count;
}

TWatchObject& WatchAt(Section& section, int row) {
    return section.Row(row).Object;
}

} // namespace zelmox
