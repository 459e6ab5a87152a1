#include "SectionTabs.h"

#include "DisplayText.h"
#include "Images.h"
#include "SectionGrid.h"
#include "SectionModel.h"
#include "SectionTableModel.h"
#include "WatchGridDelegate.h"

#include <QVBoxLayout>

namespace zelmox {

SectionTabs::SectionTabs(SectionModel& model, const TSettings& settings, QWidget* parent)
    : QTabWidget(parent), model_(model), settings_(settings),
      delegate_(new WatchGridDelegate(settings, this)) {
    setObjectName(QStringLiteral("pcMain"));
    Rebuild();
}

SectionGrid* SectionTabs::Grid(int tabIndex) const {
    QWidget* page = widget(tabIndex);
    return page == nullptr ? nullptr : page->findChild<SectionGrid*>();
}

QWidget* SectionTabs::MakePage(int tabIndex) {
    Section& section = model_.Tab(tabIndex);
    auto* page = new QWidget;
    page->setProperty("slot", section.Slot());
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* tableModel = new SectionTableModel(section, page);
    auto* grid = new SectionGrid(tableModel, delegate_, section.Slot() == 0, page);
    grid->setObjectName(section.Slot() == 0 ? QStringLiteral("sg1")
                                            : QStringLiteral("sg%1").arg(section.Slot() + 1));
    layout->addWidget(grid);
    connect(grid, &QTableView::doubleClicked, this, &SectionTabs::GridDoubleClicked);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint& at) {
        emit GridMenuRequested(grid->viewport()->mapToGlobal(at));
    });
    connect(grid, &SectionGrid::DeleteKeyPressed, this, &SectionTabs::DeleteKeyPressed);
    connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, page] {
        if (currentWidget() == page) {
            emit SelectionChanged();
        }
    });
    connect(grid, &SectionGrid::SortRequested, this,
            [this, page](int column) { emit SortRequested(indexOf(page), column); });
    return page;
}

int SectionTabs::SelectedRow() const {
    const SectionGrid* grid = ActiveGrid();
    return grid != nullptr ? grid->SelectedRow() : -1;
}

void SectionTabs::Rebuild() {
    const QSignalBlocker blocker(this);
    while (count() > 0) {
        QWidget* page = widget(count() - 1);
        removeTab(count() - 1);
        delete page;
    }
    for (int tab = 0; tab < model_.TabCount(); ++tab) {
        addTab(MakePage(tab), ShowText(model_.Tab(tab).Name));
        SetChangeImage(tab, model_.Tab(tab).ChangeMark);
    }
    setCurrentIndex(model_.ActiveTab());
}

void SectionTabs::AppendLastSection() {
    const int tab = model_.TabCount() - 1;
    addTab(MakePage(tab), ShowText(model_.Tab(tab).Name));
    setCurrentIndex(tab);
}

void SectionTabs::RemovePage(int tabIndex) {
    QWidget* page = widget(tabIndex);
    removeTab(tabIndex);
    delete page;
}

void SectionTabs::RenamePage(int tabIndex) {
    setTabText(tabIndex, ShowText(model_.Tab(tabIndex).Name));
}

void SectionTabs::ReloadRows(int tabIndex) {
    if (SectionGrid* grid = Grid(tabIndex)) {
        grid->Model()->Reload();
        // A reset drops the selection without a word.
        if (tabIndex == currentIndex()) {
            emit SelectionChanged();
        }
    }
}

void SectionTabs::RowAppended(int tabIndex) {
    if (SectionGrid* grid = Grid(tabIndex)) {
        grid->Model()->RowAppended();
    }
}

void SectionTabs::DeleteRow(int tabIndex, int gridRow) {
    if (SectionGrid* grid = Grid(tabIndex)) {
        grid->Model()->DeleteRow(gridRow);
    }
}

void SectionTabs::RowChanged(int tabIndex, int gridRow) {
    if (SectionGrid* grid = Grid(tabIndex)) {
        grid->Model()->RowChanged(gridRow);
    }
}

void SectionTabs::AllRowsChanged(int tabIndex) {
    if (SectionGrid* grid = Grid(tabIndex)) {
        grid->Model()->AllRowsChanged();
    }
}

void SectionTabs::SetChangeImage(int tabIndex, bool changesFound) {
    setTabIcon(tabIndex, changesFound ? TabChangedImage() : QIcon());
}

} // namespace zelmox
