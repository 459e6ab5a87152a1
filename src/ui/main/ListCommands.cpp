#include "ListCommands.h"

#include "AddressList.h"
#include "DisplayText.h"
#include "Importer.h"
#include "SectionTabs.h"
#include "StatusPanels.h"
#include "TfrmExport.h"
#include "TfrmImport.h"
#include "TfrmMain.h"

#include <QMenu>
#include <QProgressBar>
#include <filesystem>

namespace zelmox {

namespace {

const QString AppendQuestion = QStringLiteral(
    "File already exists! Append data to this file?\r\r(otherwise file will be overwritten)");

} // namespace

ListCommands::ListCommands(TfrmMain& window, QMenu* fileMenu, QAction* before)
    : QObject(&window), window_(window) {
    auto* export1 = new QAction(QStringLiteral("Export List"), fileMenu);
    export1->setObjectName(QStringLiteral("Export1"));
    connect(export1, &QAction::triggered, this, &ListCommands::Export1Click);
    auto* import1 = new QAction(QStringLiteral("Import Watches"), fileMenu);
    import1->setObjectName(QStringLiteral("Import1"));
    connect(import1, &QAction::triggered, this, &ListCommands::Import1Click);
    fileMenu->insertActions(before, {export1, import1});
    fileMenu->insertSeparator(before);
}

void ListCommands::Export1Click() {
    // A list still being scanned or imported would be written half way.
    if (window_.RefuseWhileBusy()) {
        return;
    }
    const TExport request = ExecuteExport(window_.Prompts(), &window_);
    if (request.FileName.empty()) {
        return;
    }
    bool append = false;
    std::error_code ignored;
    if (std::filesystem::exists(request.FileName, ignored)) {
        const UserPrompts::Answer answer = window_.Prompts().AskYesNoCancel(AppendQuestion);
        if (answer == UserPrompts::Answer::Cancel) {
            return;
        }
        append = answer == UserPrompts::Answer::Yes;
    }
    window_.DisableToolButtons(ToolButtons::ModeBusy);
    const FileWriteResult written = WriteExportFile(
        request.FileName, ExportList(window_.Model(), request.IncludeFullPath), append);
    window_.EnableToolButtons(ToolButtons::ModeBusy);
    // The bottom buttons follow the selection again.
    window_.sg1Click();
    if (!written.Ok) {
        window_.Prompts().Error(ShowText(written.Error));
    }
}

void ListCommands::Import1Click() {
    if (window_.RefuseWhileBusy()) {
        return;
    }
    ImportRequest request = ExecuteImport(window_.Prompts(), &window_);
    if (request.Lines.empty() || window_.RefuseWhileBusy()) {
        return;
    }
    // The window stays live while the pages are fetched; what would change the sections waits.
    importer_ = new Importer(
        window_.Model(), window_.MainClient(), window_.Time(),
        [this] { return window_.SnapshotFolder(); }, this);
    connect(importer_, &Importer::Importing, this, &ListCommands::ShowImportProgress);
    connect(importer_, &Importer::WatchImported, window_.Tabs(), &SectionTabs::RowAppended);
    connect(importer_, &Importer::Finished, this, &ListCommands::EndImport);
    window_.DisableToolButtons(ToolButtons::ModeBusy);
    QProgressBar* progress = window_.ProgressBar();
    progress->setRange(0, static_cast<int>(request.Lines.size()));
    progress->setValue(0);
    progress->show();
    const TSettings& settings = window_.Settings();
    importer_->Import(std::move(request.Lines),
                      {request.ScanType, settings.AutoDescription, settings.AutoDescriptionType});
}

void ListCommands::ShowImportProgress(int line, const QByteArray& address) {
    window_.ProgressBar()->setValue(line);
    window_.Status()->SetPanel0(QStringLiteral("Importing... ") + ShowText(address.toStdString()));
}

void ListCommands::EndImport() {
    importer_->deleteLater();
    importer_ = nullptr;
    window_.ProgressBar()->hide();
    window_.Status()->SetPanel0(QString());
    window_.EnableToolButtons(ToolButtons::ModeBusy);
    window_.sg1Click();
    window_.RefreshStatusBar();
    emit ImportFinished();
}

} // namespace zelmox
