#include "ViewCommands.h"

#include "DisplayText.h"
#include "SectionGrid.h"
#include "SectionTableModel.h"
#include "SectionTabs.h"
#include "Snapshot.h"
#include "TfrmComparison.h"
#include "TfrmDifferences.h"
#include "TfrmHelp.h"
#include "TfrmInformation.h"
#include "TfrmLogWindow.h"
#include "TfrmMain.h"
#include "TfrmWatch.h"
#include "VisibleText.h"

#include <QMenu>
#include <QToolButton>

namespace zelmox {

ViewCommands::ViewCommands(TfrmMain& window, ShellOpener& shell)
    : QObject(&window), window_(window), shell_(shell), frmWatch_(new TfrmWatch(&window)),
      frmLogWindow_(new TfrmLogWindow(&window)) {
    BuildOpenDocMenu();
}

void ViewCommands::AddMenuItems(QMenu& tools, QMenu& help) {
    tools.addSeparator();
    QAction* info1 =
        tools.addAction(QStringLiteral("Information"), this, &ViewCommands::Info1Click);
    info1->setObjectName(QStringLiteral("Info1"));
    info1->setShortcut(Qt::Key_F4);
    tools.addSeparator();
    tools.addAction(QStringLiteral("Log Window"), this, &ViewCommands::LogWindow1Click)
        ->setObjectName(QStringLiteral("LogWindow1"));
    QAction* help2 = help.addAction(QStringLiteral("Help"), this, &ViewCommands::Help2Click);
    help2->setObjectName(QStringLiteral("Help2"));
    help2->setShortcut(Qt::Key_F1);
    help.addSeparator();
}

HelpOpener ViewCommands::HelpPages() const {
    return
        [&shell = shell_](const QString& page, QWidget* opener) { ShowHelp(page, shell, opener); };
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
    information1_ = add("Information", "Information1", &ViewCommands::Information1Click);
    connect(puOpenDoc_, &QMenu::aboutToShow, this, [this] {
        const TWatchObject* object = SelectedWatch();
        // Only web pages have a text to compare.
        miDifferences_->setEnabled(object == nullptr ||
                                   SnapshotExtension(object->Watch.Address) == ".html");
        // Unlike the "info" button, the menu also shows the page of an empty section's
        // placeholder row.
        information1_->setEnabled(SelectedRow() != nullptr);
    });
}

void ViewCommands::PopUpOpenDoc(const QPoint& globalPosition) {
    // The right-click selected its row; the buttons, and with them the menu, follow it as they
    // follow a click.
    window_.sg1Click();
    puOpenDoc_->popup(globalPosition);
}

const WatchRow* ViewCommands::SelectedRow() const {
    const SectionGrid* grid = window_.Tabs()->ActiveGrid();
    const Section& section = window_.Model().ActiveSection();
    const int row = grid != nullptr ? grid->SelectedRow() : -1;
    return section.IsValidRow(row) ? &section.Row(row) : nullptr;
}

const TWatchObject* ViewCommands::SelectedWatch() const {
    const WatchRow* row = SelectedRow();
    return row != nullptr && row->HoldsWatch() ? &row->Object : nullptr;
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

// The placeholder of an empty section has a page too: every field empty.
void ViewCommands::sbInfoClick() {
    if (const WatchRow* row = SelectedRow()) {
        ShowWatchInformation(row->Object, window_.SnapshotFolder(), &window_);
    }
}

void ViewCommands::Information1Click() {
    sbInfoClick();
}

void ViewCommands::Info1Click() {
    frmWatch_->ShowStatistics(window_.Model());
}

void ViewCommands::LogWindow1Click() {
    frmLogWindow_->ShowLog(window_.Log().Lines());
}

void ViewCommands::Help2Click() {
    ShowHelp(QString(), shell_, &window_);
}

} // namespace zelmox
