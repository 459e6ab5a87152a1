#include "SectionTableModel.h"

#include "DisplayText.h"

namespace zelmox {

SectionTableModel::SectionTableModel(Section& section, QObject* parent)
    : QAbstractTableModel(parent), section_(section), rows_(section.RowCount() - 1) {}

int SectionTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int SectionTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GridColumnCount;
}

QVariant SectionTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || !section_.IsValidRow(GridRow(index.row()))) {
        return {};
    }
    const WatchRow& row = section_.Row(GridRow(index.row()));
    if (role == Qt::DisplayRole && index.column() != ColStatus) {
        return ShowText(row.Cells[static_cast<std::size_t>(index.column())]);
    }
    if (role == WatchRole) {
        return QVariant::fromValue(static_cast<const void*>(&row));
    }
    return {};
}

QVariant SectionTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case ColAddress:
        return QStringLiteral("Address");
    case ColDescription:
        return QStringLiteral("Description");
    case ColLastCheck:
        return QStringLiteral("Last Check");
    case ColLastChange:
        return QStringLiteral("Last Change");
    default:
        return QString();
    }
}

void SectionTableModel::RowChanged(int gridRow) {
    const int row = TableRow(gridRow);
    emit dataChanged(index(row, 0), index(row, GridColumnCount - 1));
}

void SectionTableModel::AllRowsChanged() {
    emit dataChanged(index(0, 0), index(rowCount() - 1, GridColumnCount - 1));
}

void SectionTableModel::RowAppended() {
    const int rows = section_.RowCount() - 1;
    if (rows == rows_) {
        RowChanged(section_.RowCount() - 1);
        return;
    }
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
}

void SectionTableModel::DeleteRow(int gridRow) {
    if (!section_.IsValidRow(gridRow)) {
        return;
    }
    if (section_.RowCount() == 2) {
        section_.DeleteRow(gridRow);
        RowChanged(gridRow);
        return;
    }
    beginRemoveRows({}, TableRow(gridRow), TableRow(gridRow));
    section_.DeleteRow(gridRow);
    rows_ = section_.RowCount() - 1;
    endRemoveRows();
}

void SectionTableModel::Reload() {
    beginResetModel();
    rows_ = section_.RowCount() - 1;
    endResetModel();
}

} // namespace zelmox
