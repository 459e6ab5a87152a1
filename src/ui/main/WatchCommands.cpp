#include "WatchCommands.h"

#include "DisplayText.h"
#include "ImportedWatch.h"
#include "SectionGrid.h"
#include "SectionTableModel.h"
#include "SectionTabs.h"
#include "SnapshotStore.h"
#include "TfrmAddWatch.h"
#include "TfrmMain.h"
#include "ViewCommands.h"

namespace zelmox {

WatchCommands::WatchCommands(TfrmMain& window) : QObject(&window), window_(window) {}

int WatchCommands::SelectedWatchRow() const {
    Section& section = window_.Model().ActiveSection();
    const int row = window_.Tabs()->SelectedRow();
    return section.IsValidRow(row) && section.Row(row).HoldsWatch() ? row : 0;
}

void WatchCommands::tbAddWatchClick() {
    if (window_.RefuseWhileBusy()) {
        return;
    }
    TWatch record = ExecuteAddWatch(window_.Settings(), window_.Prompts(), &window_,
                                    window_.Views().HelpPages());
    if (record.Address.empty() || window_.RefuseWhileBusy()) {
        return;
    }
    Section& section = window_.Model().ActiveSection();
    if (record.Manual == 1) {
        AddManualWatch(std::move(record), section);
        return;
    }
    // The window stays live during the first fetch; what would change the sections waits.
    adding_ = true;
    window_.DisableToolButtons(ToolButtons::ModeBusy);
    ContentFetch* fetch =
        window_.MainClient().FetchContent(QByteArray::fromStdString(record.Address));
    emit AddStarted(ShowText(record.Address));
    connect(fetch, &ContentFetch::Finished, this,
            [this, record = std::move(record), &section](bool ok, const QByteArray& content) {
                adding_ = false;
                window_.EnableToolButtons(ToolButtons::ModeBusy);
                // The bottom buttons follow the selection again.
                window_.sg1Click();
                AddFetchedWatch(record, section, ok, content);
                emit AddFinished();
            });
}

void WatchCommands::AddManualWatch(TWatch record, Section& section) {
    record.LastScan = "n/a";
    record.LastChange = "n/a";
    record.BeforeChange = "n/a";
    record.OriginalSize = 0;
    record.BeforeSize = 0;
    record.AfterSize = 0;
    section.AddWatchRow({false, 0, std::move(record), {}}, "*");
    ShowNewRow(section, false);
    window_.RefreshStatusBar();
}

void WatchCommands::AddFetchedWatch(TWatch record, Section& section, bool ok,
                                    const QByteArray& content) {
    if (!ok || content.isEmpty()) {
        window_.Prompts().Error(QStringLiteral("Error opening page: ") + ShowText(record.Address) +
                                QStringLiteral("\r\rProcess was cancelled."));
        window_.RefreshStatusBar();
        return;
    }
    const std::string_view bytes(content.constData(), static_cast<std::size_t>(content.size()));
    RecordFirstContent(record, bytes, window_.Time());
    const std::string folder = window_.SnapshotFolder();
    const bool saved = WriteInitialSnapshots(folder, record, bytes);
    section.AddWatchRow({false, 0, std::move(record), {}}, "*");
    ShowNewRow(section, true);
    window_.pcMainChange();
    window_.RefreshStatusBar();
    // The watch is kept all the same: its next scans store their copies when the folder allows.
    if (!saved) {
        window_.Prompts().Error(
            QStringLiteral("The watch was added, but its first copy could not be saved in \"") +
            ShowText(folder) + QStringLiteral("\"."));
    }
}

void WatchCommands::ShowNewRow(Section& section, bool select) {
    SectionTabs* tabs = window_.Tabs();
    for (int tab = 0; tab < window_.Model().TabCount(); ++tab) {
        if (&window_.Model().Tab(tab) == &section) {
            tabs->RowAppended(tab);
            if (select) {
                tabs->Grid(tab)->SelectRow(section.RowCount() - 1);
            }
        }
    }
}

void WatchCommands::sbEditClick() {
    const int row = SelectedWatchRow();
    if (row == 0) {
        window_.ShowNotice(QStringLiteral("Select the watch to edit first."));
        return;
    }
    if (window_.RefuseWhileBusy()) {
        return;
    }
    WatchRow& watchRow = window_.Model().ActiveSection().Row(row);
    const TWatch old = watchRow.Object.Watch;
    const TWatch edited = ExecuteEditWatch(old, window_.Settings(), window_.Prompts(),
                                           window_.Time(), &window_, window_.Views().HelpPages());
    // A timed scan may have started while the dialog was open; the row may have gone only
    // through a refused command.
    if (edited.Address.empty() || window_.RefuseWhileBusy() || SelectedWatchRow() != row) {
        return;
    }
    watchRow.Object.Watch = edited;
    watchRow.Cells[ColAddress] = edited.Address;
    watchRow.Cells[ColDescription] = edited.Description;
    window_.Tabs()->RowChanged(window_.Model().ActiveTab(), row);
    window_.pcMainChange();
    if (edited.AddressMD5 != old.AddressMD5) {
        CarryOverSnapshots(window_.SnapshotFolder(), old, edited);
    }
}

void WatchCommands::tbDeleteWatchClick() {
    const int row = window_.Tabs()->SelectedRow();
    if (!window_.Model().ActiveSection().IsValidRow(row)) {
        window_.ShowNotice(QStringLiteral("Select the watch to delete first."));
        return;
    }
    if (window_.RefuseWhileBusy()) {
        return;
    }
    if (!window_.Prompts().AskYesNo(QStringLiteral("Delete Watch?\r\rAre you sure?")) ||
        window_.RefuseWhileBusy()) {
        return;
    }
    window_.Tabs()->DeleteRow(window_.Model().ActiveTab(), row);
    window_.RefreshStatusBar();
}

} // namespace zelmox
