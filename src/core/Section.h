#pragma once

#include "Watch.h"

#include <array>
#include <string>
#include <vector>

namespace zelmox {

// Grid columns of a section, numbered as the grid shows them. Column 0 is drawn from the row's
// watch object; column 5 is hidden and holds the status sort key.
enum GridColumn : int {
    ColStatus = 0,
    ColAddress = 1,
    ColDescription = 2,
    ColLastCheck = 3,
    ColLastChange = 4,
    ColSortKey = 5,
    GridColumnCount = 6,
};

// One grid row: the watch object and the display copies of its fields.
struct WatchRow {
    TWatchObject Object;
    std::array<std::string, GridColumnCount> Cells;

    // A row whose address cell is empty is not a watch (the placeholder of an empty section).
    bool HoldsWatch() const { return !Cells[ColAddress].empty(); }
};

// One tab: its slot in the section table, its name, its change mark and its rows. Row numbers are
// grid row numbers: row 0 is the header, rows 1 .. RowCount() - 1 hold watches, and there is
// always at least row 1 (a placeholder when the section is empty).
class Section {
public:
    Section(int slot, std::string name);

    int Slot() const { return slot_; }

    std::string Name;
    bool ChangeMark = false;

    int RowCount() const { return static_cast<int>(rows_.size()) + 1; }
    WatchRow& Row(int row) { return rows_.at(static_cast<std::size_t>(row - 1)); }
    const WatchRow& Row(int row) const { return rows_.at(static_cast<std::size_t>(row - 1)); }
    bool IsValidRow(int row) const { return row >= 1 && row < RowCount(); }

    // Exactly one row and it holds no watch.
    bool IsEmpty() const;

    // Appends a watch as the last row, taking the placeholder's place in an empty section. Cells
    // 1..4 are copied from the watch; column 5 receives sortKey.
    void AddWatchRow(TWatchObject object, std::string sortKey);

    // Removes a row as "Delete Watch" does: the only row becomes the placeholder again, with "0"
    // as its sort key; any other row is taken out and the rows below move up.
    void DeleteRow(int row);

    // Back to the single empty placeholder row.
    void Empty();

    // Stable sort of the rows on the text of one column, in plain byte order.
    void SortRows(int column, bool ascending);

    int WatchCount() const;
    int HighlightedCount() const;

private:
    int slot_;
    std::vector<WatchRow> rows_;
};

} // namespace zelmox
