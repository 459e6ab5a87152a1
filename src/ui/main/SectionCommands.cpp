#include "SectionCommands.h"

#include "DisplayText.h"
#include "SectionGrid.h"
#include "SectionTableModel.h"
#include "SectionTabs.h"
#include "TfrmMain.h"

namespace zelmox {

namespace {

const QString MaximumSectionsMessage =
    QStringLiteral("Sorry, a maximum of 20 sections is allowed!");

} // namespace

SectionCommands::SectionCommands(TfrmMain& window) : QObject(&window), window_(window) {}

bool SectionCommands::AddNewTab(const std::string& name) {
    if (window_.Model().AddSection(name) == nullptr) {
        window_.Prompts().Information(MaximumSectionsMessage);
        return false;
    }
    window_.Tabs()->AppendLastSection();
    return true;
}

void SectionCommands::tbAddSectionClick() {
    if (window_.RefuseWhileBusy()) {
        return;
    }
    const QString name = window_.Prompts().AskText(QStringLiteral("Section Name"),
                                                   QStringLiteral("Name"), QString());
    // A timed scan may have started while the name was asked for.
    if (!name.isEmpty() && !window_.RefuseWhileBusy()) {
        AddNewTab(StoreText(name));
    }
}

void SectionCommands::tbRenameSectionClick() {
    const QString name = window_.Prompts().AskText(QStringLiteral("New name for section"),
                                                   QStringLiteral("Name"), QString());
    if (!name.isEmpty()) {
        window_.Model().ActiveSection().Name = StoreText(name);
        window_.Tabs()->RenamePage(window_.Tabs()->currentIndex());
    }
}

void SectionCommands::tbDeleteSectionClick() {
    SectionTabs* tabs = window_.Tabs();
    const int tab = tabs->currentIndex();
    if (tab <= 0 || window_.RefuseWhileBusy()) {
        return;
    }
    if (!window_.Prompts().AskYesNo(
            QStringLiteral("Are you sure you REALLY want to delete this section?")) ||
        window_.RefuseWhileBusy()) {
        return;
    }
    window_.Model().DeleteSection(tab);
    tabs->RemovePage(tab);
    window_.Model().SetActiveTab(tabs->currentIndex());
}

void SectionCommands::SortActiveGrid(int tabIndex, int column) {
    SectionGrid* grid = window_.Tabs()->Grid(tabIndex);
    if (grid == nullptr || window_.RefuseWhileBusy()) {
        return;
    }
    const SectionGrid::SortRequest request = grid->NextSort(column);
    window_.Model().Tab(tabIndex).SortRows(request.Column, request.Ascending);
    window_.Tabs()->ReloadRows(tabIndex);
}

void SectionCommands::sg1DblClick() {
    Section& section = window_.Model().ActiveSection();
    const int row = window_.Tabs()->SelectedRow();
    if (!section.IsValidRow(row) || !section.Row(row).HoldsWatch()) {
        return;
    }
    WatchRow& watchRow = section.Row(row);
    // Opening a manual watch counts as checking it; only the cell shows it.
    if (watchRow.Object.Watch.Manual == 1) {
        watchRow.Cells[ColLastCheck] = GetTimeStamp(window_.Time());
        window_.Tabs()->RowChanged(window_.Model().ActiveTab(), row);
    }
    window_.Shell().RunProgram(ShowText(watchRow.Cells[ColAddress]));
}

} // namespace zelmox
