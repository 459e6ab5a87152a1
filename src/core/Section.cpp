#include "Section.h"

#include <algorithm>
#include <utility>

namespace zelmox {

Section::Section(int slot, std::string name) : Name(std::move(name)), slot_(slot) {
    Empty();
}

bool Section::IsEmpty() const {
    return rows_.size() == 1 && !rows_.front().HoldsWatch();
}

void Section::AddWatchRow(TWatchObject object, std::string sortKey) {
    WatchRow row;
    row.Cells[ColAddress] = object.Watch.Address;
    row.Cells[ColDescription] = object.Watch.Description;
    row.Cells[ColLastCheck] = object.Watch.LastScan;
    row.Cells[ColLastChange] = object.Watch.LastChange;
    row.Cells[ColSortKey] = std::move(sortKey);
    row.Object = std::move(object);
    if (IsEmpty()) {
        rows_.front() = std::move(row);
    } else {
        rows_.push_back(std::move(row));
    }
}

void Section::DeleteRow(int row) {
    if (!IsValidRow(row)) {
        return;
    }
    if (rows_.size() == 1) {
        WatchRow& only = rows_.front();
        for (int column = ColStatus; column <= ColLastChange; ++column) {
            only.Cells[static_cast<std::size_t>(column)].clear();
        }
        only.Cells[ColSortKey] = "0";
        ResetWatch(only.Object);
        return;
    }
    rows_.erase(rows_.begin() + (row - 1));
}

void Section::Empty() {
    rows_.assign(1, WatchRow{});
}

void Section::SortRows(int column, bool ascending) {
    const auto index = static_cast<std::size_t>(column);
    std::stable_sort(rows_.begin(), rows_.end(), [&](const WatchRow& a, const WatchRow& b) {
        return ascending ? a.Cells[index] < b.Cells[index] : b.Cells[index] < a.Cells[index];
    });
}

int Section::WatchCount() const {
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(),
                                          [](const WatchRow& r) { return r.HoldsWatch(); }));
}

int Section::HighlightedCount() const {
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(),
                                          [](const WatchRow& r) { return r.Object.Highlighted; }));
}

} // namespace zelmox
