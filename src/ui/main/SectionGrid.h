#pragma once

#include <QTableView>

namespace zelmox {

class SectionTableModel;

// The grid of one section: whole-row selection, a hidden status key column, column widths that
// follow the grid's width, header clicks that ask for a sort, and the Delete key. Tab leaves the
// grid instead of walking its cells.
class SectionGrid : public QTableView {
    Q_OBJECT

public:
    SectionGrid(SectionTableModel* model, QAbstractItemDelegate* delegate, bool firstSection,
                QWidget* parent = nullptr);

    SectionTableModel* Model() const { return model_; }

    // The grid row (from 1) at the top of the selection, or -1 when nothing is selected.
    int SelectedRow() const;
    void SelectRow(int gridRow);

    // The widths of columns 1 and 2 for a grid this wide: half of (width - 273) each, halves
    // rounded to even.
    static int AddressColumnWidth(int gridWidth);
    void TabSheetResize();

    // The sort a header click asks for: the column to sort on and the direction.
    struct SortRequest {
        int Column;
        bool Ascending;
    };
    SortRequest NextSort(int clickedColumn);

signals:
    void SortRequested(int clickedColumn);
    void DeleteKeyPressed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SectionTableModel* model_;
    bool statusAscending_ = true;
    int lastSortColumn_ = -1;
    bool lastAscending_ = false;
};

} // namespace zelmox
