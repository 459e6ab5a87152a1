#include "ViewCommands.h"

#include "DisplayText.h"
#include "SectionGrid.h"
#include "SectionTableModel.h"
#include "SectionTabs.h"
#include "Snapshot.h"
#include "TfrmComparison.h"
#include "TfrmDifferences.h"
#include "TfrmMain.h"
#include "VisibleText.h"

#include <QMenu>

namespace zelmox {

ViewCommands::ViewCommands(TfrmMain& window, ShellOpener& shell)
    : QObject(&window), window_(window), shell_(shell) {
    BuildOpenDocMenu();
}

void ViewCommands::BuildOpenDocMenu() {
    puOpenDoc_ = new QMenu(&window_);
    puOpenDoc_->setObjectName(QStringLiteral("puOpenDoc"));
    puOpenDoc_->addAction(QStringLiteral("- Open Watch -"))->setEnabled(false);
    puOpenDoc_->addSeparator();
    const auto add = [this](const char* caption, const char* name,
                            void (ViewCommands::*handler)()) {
        QAction* action = puOpenDoc_->addAction(QString::fromLatin1(caption), this, handler);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    add("Original", "miOriginal", &ViewCommands::miOriginalClick);
    add("Previous Change", "miPrevious", &ViewCommands::miPreviousClick);
    add("Current Change", "miCurrent", &ViewCommands::miCurrentClick);
    miDifferences_ = add("Differences", "miDifferences", &ViewCommands::miDifferencesClick);
    puOpenDoc_->addSeparator();
    add("Live Version", "miLive", &ViewCommands::miLiveClick);
    puOpenDoc_->addSeparator();
    // The information page comes with its own window; until then the item stays off.
    QAction* information = puOpenDoc_->addAction(QStringLiteral("Information"));
    information->setObjectName(QStringLiteral("Information1"));
    information->setEnabled(false);
    // Only web pages have a text to compare.
    connect(puOpenDoc_, &QMenu::aboutToShow, this, [this] {
        const TWatchObject* object = SelectedWatch();
        miDifferences_->setEnabled(object == nullptr ||
                                   SnapshotExtension(object->Watch.Address) == ".html");
    });
}

void ViewCommands::PopUpOpenDoc(const QPoint& globalPosition) {
    puOpenDoc_->popup(globalPosition);
}

const TWatchObject* ViewCommands::SelectedWatch() const {
    const SectionGrid* grid = window_.Tabs()->ActiveGrid();
    const Section& section = window_.Model().ActiveSection();
    const int row = grid != nullptr ? grid->SelectedRow() : -1;
    if (!section.IsValidRow(row) || !section.Row(row).HoldsWatch()) {
        return nullptr;
    }
    return &section.Row(row).Object;
}

// The button's enabled state decides when it can be used; the command tests only that a row is
// there to read.
void ViewCommands::sbCompareClick() {
    if (const TWatchObject* object = SelectedWatch()) {
        TfrmComparison::ShowComparison(object->Watch, window_.SnapshotFolder(), window_.Settings(),
                                       window_.Prompts(), &window_);
    }
}

void ViewCommands::OpenSnapshot(std::string_view suffix) {
    if (const TWatchObject* object = SelectedWatch()) {
        shell_.RunProgram(
            ShowText(SnapshotFileName(window_.SnapshotFolder(), object->Watch, suffix)));
    }
}

void ViewCommands::miOriginalClick() {
    OpenSnapshot(SuffixOriginal);
}

void ViewCommands::miPreviousClick() {
    OpenSnapshot(SuffixBefore);
}

void ViewCommands::miCurrentClick() {
    OpenSnapshot(SuffixAfter);
}

void ViewCommands::miLiveClick() {
    if (const TWatchObject* object = SelectedWatch()) {
        shell_.RunProgram(ShowText(object->Watch.Address));
    }
}

void ViewCommands::miDifferencesClick() {
    if (const TWatchObject* object = SelectedWatch()) {
        const std::string folder = window_.SnapshotFolder();
        TfrmDifferences::ShowDifferences(
            ReadWholeFile(SnapshotFileName(folder, object->Watch, SuffixBefore)),
            ReadWholeFile(SnapshotFileName(folder, object->Watch, SuffixAfter)),
            object->Watch.Description, &window_);
    }
}

} // namespace zelmox
