#include "ClearCommands.h"

#include "SectionTabs.h"
#include "TfrmMain.h"
#include "TrayCommands.h"

namespace zelmox {

ClearCommands::ClearCommands(TfrmMain& window) : QObject(&window), window_(window) {}

void ClearCommands::sbClearClick() {
    Section& section = window_.Model().ActiveSection();
    const int row = window_.Tabs()->SelectedRow();
    if (!section.IsValidRow(row)) {
        window_.ShowNotice(QStringLiteral("Select the watch to clear first."));
        return;
    }
    WatchRow& watchRow = section.Row(row);
    watchRow.Object.Highlighted = false;
    watchRow.Object.Changed = 0;
    watchRow.Cells[ColSortKey] = "*";
    window_.Tabs()->RowChanged(window_.Model().ActiveTab(), row);
    Cleared();
}

void ClearCommands::ClearSection(int tab) {
    Section& section = window_.Model().Tab(tab);
    section.ChangeMark = false;
    window_.Tabs()->SetChangeImage(tab, false);
    for (int row = 1; row < section.RowCount(); ++row) {
        section.Row(row).Object.Highlighted = false;
        section.Row(row).Object.Changed = 0;
    }
    window_.Tabs()->AllRowsChanged(tab);
}

void ClearCommands::miClearAllClick() {
    if (!window_.Prompts().AskYesNo(QStringLiteral("Are you sure???"))) {
        return;
    }
    for (int tab = 0; tab < window_.Model().TabCount(); ++tab) {
        ClearSection(tab);
    }
    Cleared();
}

void ClearCommands::miClearThisTabClick() {
    ClearSection(window_.Tabs()->currentIndex());
    Cleared();
}

void ClearCommands::Cleared() {
    window_.Tray().ShowIdleImage();
    window_.Buttons().sbClear->setEnabled(false);
    window_.RefreshStatusBar();
}

} // namespace zelmox
