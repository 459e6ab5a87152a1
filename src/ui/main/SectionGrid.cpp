#include "SectionGrid.h"

#include "Section.h"
#include "SectionTableModel.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace zelmox {

namespace {

constexpr int StatusColumnWidth = 22;
constexpr int TimeColumnWidth = 113;
constexpr int FixedColumnsWidth = 273;
constexpr int DefaultRowHeight = 19;

} // namespace

SectionGrid::SectionGrid(SectionTableModel* model, QAbstractItemDelegate* delegate,
                         bool firstSection, QWidget* parent)
    : QTableView(parent), model_(model) {
    setModel(model);
    setItemDelegate(delegate);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setColumnHidden(ColSortKey, true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(DefaultRowHeight);
    horizontalHeader()->setSortIndicatorShown(true);
    // Nothing is sorted until a header is clicked.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    horizontalHeader()->setMinimumSectionSize(StatusColumnWidth);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    // Where Tahoma is missing, a condensed face keeps the time stamps within their columns.
    QFont gridFont;
    gridFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                          QStringLiteral("Liberation Sans")});
    gridFont.setPointSize(8);
    setFont(gridFont);
    if (firstSection) {
        gridFont.setBold(true);
        horizontalHeader()->setFont(gridFont);
        setStyleSheet(QStringLiteral("QTableView { gridline-color: silver; "
                                     "selection-background-color: rgb(182, 202, 234); "
                                     "selection-color: black; }"));
    } else {
        horizontalHeader()->setStyleSheet(
            QStringLiteral("QHeaderView::section { background-color: white; }"));
    }
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &SectionGrid::SortRequested);
    TabSheetResize();
}

int SectionGrid::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return -1;
    }
    int top = rows.constFirst().row();
    for (const QModelIndex& index : rows) {
        top = std::min(top, index.row());
    }
    return SectionTableModel::GridRow(top);
}

void SectionGrid::SelectRow(int gridRow) {
    selectRow(SectionTableModel::TableRow(gridRow));
}

int SectionGrid::AddressColumnWidth(int gridWidth) {
    const int rest = std::max(0, gridWidth - FixedColumnsWidth);
    const int half = rest / 2;
    // An odd rest is a half: round it to the even neighbour.
    return rest % 2 == 0 || half % 2 == 0 ? half : half + 1;
}

void SectionGrid::TabSheetResize() {
    const int addressWidth = AddressColumnWidth(width());
    setColumnWidth(ColStatus, StatusColumnWidth);
    setColumnWidth(ColAddress, addressWidth);
    setColumnWidth(ColDescription, addressWidth);
    setColumnWidth(ColLastCheck, TimeColumnWidth);
    setColumnWidth(ColLastChange, TimeColumnWidth);
}

SectionGrid::SortRequest SectionGrid::NextSort(int clickedColumn) {
    if (clickedColumn == ColStatus) {
        // The status column sorts by its hidden key, and each click turns the direction.
        const SortRequest request{ColSortKey, statusAscending_};
        statusAscending_ = !statusAscending_;
        horizontalHeader()->setSortIndicator(ColStatus, request.Ascending ? Qt::AscendingOrder
                                                                          : Qt::DescendingOrder);
        return request;
    }
    const bool ascending = clickedColumn == lastSortColumn_ ? !lastAscending_ : true;
    lastSortColumn_ = clickedColumn;
    lastAscending_ = ascending;
    horizontalHeader()->setSortIndicator(clickedColumn,
                                         ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    return {clickedColumn, ascending};
}

void SectionGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    TabSheetResize();
}

void SectionGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit DeleteKeyPressed();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace zelmox
