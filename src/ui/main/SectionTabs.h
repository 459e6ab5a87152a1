#pragma once

#include <QTabWidget>
#include <vector>

namespace zelmox {

class SectionGrid;
class SectionModel;
class SectionTableModel;
struct TSettings;

// The tab control pcMain: one page per section of the model, in the model's tab order, each
// holding the section's grid. The model stays the only copy of the sections; this class keeps the
// pages in step with it.
class SectionTabs : public QTabWidget {
    Q_OBJECT

public:
    SectionTabs(SectionModel& model, const TSettings& settings, QWidget* parent = nullptr);

    SectionGrid* Grid(int tabIndex) const;
    SectionGrid* ActiveGrid() const { return Grid(currentIndex()); }
    // The grid row selected in the shown section, or -1 when none is.
    int SelectedRow() const;

    // Rebuilds every page from the model (after a load, a merge or a clear).
    void Rebuild();
    // Adds a page for the model's last section and shows it.
    void AppendLastSection();
    void RemovePage(int tabIndex);
    void RenamePage(int tabIndex);
    // The section's rows were replaced or reordered.
    void ReloadRows(int tabIndex);
    void RowAppended(int tabIndex);
    void DeleteRow(int tabIndex, int gridRow);
    void RowChanged(int tabIndex, int gridRow);
    void AllRowsChanged(int tabIndex);
    void SetChangeImage(int tabIndex, bool changesFound);

signals:
    void GridDoubleClicked();
    // The grid's pop-up menu was asked for at this point of the screen.
    void GridMenuRequested(const QPoint& globalPosition);
    // The selected row of the shown grid changed, by mouse, keyboard or command.
    void SelectionChanged();
    void DeleteKeyPressed();
    void SortRequested(int tabIndex, int column);

private:
    QWidget* MakePage(int tabIndex);

    SectionModel& model_;
    const TSettings& settings_;
    class WatchGridDelegate* delegate_;
};

} // namespace zelmox
