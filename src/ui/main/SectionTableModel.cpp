#include "SectionTableModel.h"

#include "DisplayText.h"

namespace zelmox {

SectionTableModel::SectionTableModel(Section& section, QObject* parent)
    : QAbstractTableModel(parent), section_(section) {}

int SectionTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : section_.RowCount() - 1;
}

int SectionTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GridColumnCount;
}

QVariant SectionTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !section_.IsValidRow(GridRow(index.row()))) {
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

void SectionTableModel::Reload() {
    beginResetModel();
    endResetModel();
}

} // namespace zelmox
