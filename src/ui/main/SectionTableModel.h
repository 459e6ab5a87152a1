#pragma once

#include "Section.h"

#include <QAbstractTableModel>

namespace zelmox {

// One section's rows as a table for its grid. The section stays the only copy of the data; the
// window tells the model when rows changed underneath it.
class SectionTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The watch object of a row, for the painter of the status column.
    static constexpr int WatchRole = Qt::UserRole + 1;

    SectionTableModel(Section& section, QObject* parent = nullptr);

    Section& GetSection() { return section_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Grid row numbers count from 1 (row 0 is the header); table rows count from 0.
    static int TableRow(int gridRow) { return gridRow - 1; }
    static int GridRow(int tableRow) { return tableRow + 1; }

    void RowChanged(int gridRow);
    void AllRowsChanged();
    // A watch was appended as the last row (or took the empty section's placeholder row).
    void RowAppended();
    // Deletes a row of the section as "Delete Watch" does (the only one becomes the placeholder
    // again). The views learn of it while the row still holds the watch that goes.
    void DeleteRow(int gridRow);
    // The rows were replaced or reordered.
    void Reload();

private:
    Section& section_;
    // The row count the views know of; the section's may run ahead until they are told.
    int rows_;
};

} // namespace zelmox
