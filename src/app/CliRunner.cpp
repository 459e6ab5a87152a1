#include "CliRunner.h"

#include "AddressList.h"
#include "DataFile.h"
#include "DataFileLock.h"
#include "HttpClient.h"
#include "Importer.h"
#include "PrivateFolder.h"
#include "ScanDifferences.h"
#include "ScanLog.h"
#include "Scanner.h"

#include <QCoreApplication>
#include <cstring>
#include <filesystem>
#include <ostream>

namespace zelmox {

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;

constexpr const char* MaximumSectionsMessage = "Sorry, a maximum of 20 sections is allowed!";

} // namespace

CliRunner::CliRunner(const CliArguments& arguments, const SettingsPaths& paths,
                     const TSettings& settings, std::ostream& out, std::ostream& err)
    : arguments_(arguments), paths_(paths), settings_(settings), out_(out), err_(err) {}

int CliRunner::Run() {
    switch (arguments_.Command) {
    case CliCommand::Scan:
        return Scan();
    case CliCommand::Import:
        return Import();
    case CliCommand::Export:
        return Export();
    case CliCommand::List:
        return List();
    case CliCommand::Help:
        out_ << CliUsage;
        return ExitOk;
    }
    return ExitOk;
}

bool CliRunner::Load(SectionModel& model) {
    const DataFileResult result = LoadData(model, arguments_.File);
    for (int i = 0; i < result.SectionsRefused; ++i) {
        err_ << MaximumSectionsMessage << '\n';
    }
    if (!result.Ok) {
        err_ << result.Error << '\n';
    }
    return result.Ok;
}

bool CliRunner::Save(SectionModel& model) {
    const DataFileResult result = SaveData(model, arguments_.File);
    if (!result.Ok) {
        err_ << result.Error << '\n';
    }
    return result.Ok;
}

bool CliRunner::Lock(DataFileLock& lock) {
    if (!lock.Acquire(arguments_.File, std::chrono::seconds(arguments_.LockWaitSeconds))) {
        err_ << lock.Error() << '\n';
        return false;
    }
    return true;
}

bool CliRunner::PrepareDataFolder(std::string& folder, bool create) {
    folder = arguments_.DataDir.empty() ? settings_.CCF : arguments_.DataDir;
    if (!create) {
        EnsureDefaultFolder(paths_, folder);
        return true;
    }
    int errorNumber = 0;
    if (!MakePrivateFolderTree(folder, errorNumber)) {
        err_ << "Cannot create the snapshot folder \"" << folder
             << "\": " << std::strerror(errorNumber) << '\n';
        return false;
    }
    return true;
}

void CliRunner::ReportSnapshotFailures(int watches, const std::string& folder) {
    if (watches > 0) {
        err_ << "Snapshot files of " << watches << " watches could not be written in \"" << folder
             << "\"\n";
    }
}

int CliRunner::Scan() {
    DataFileLock lock;
    SectionModel model;
    if (!Lock(lock) || !Load(model)) {
        return ExitFailure;
    }
    HttpClient client;
    ApplyConnectionSettings(client, settings_);
    ScanLog log;
    std::string folder;
    PrepareDataFolder(folder, false);
    const ScanDifferences differences(model);
    Scanner scanner(model, client, clock_, log, [&folder] { return folder; });
    ScanLimits limits;
    limits.MaxInFlight = arguments_.Jobs;
    limits.MaxPerHost = std::min(arguments_.Jobs, arguments_.PerHost);
    scanner.SetLimits(limits);
    QObject::connect(&scanner, &Scanner::ScanFinished, QCoreApplication::instance(),
                     &QCoreApplication::quit);
    scanner.ScanAllTabs();
    QCoreApplication::exec();

    for (const std::string& line : log.Lines()) {
        out_ << line << '\n';
    }
    if (arguments_.Diff) {
        out_ << differences.Differences(model, folder);
    }
    out_.flush();
    const bool saved = arguments_.NoSave || Save(model);
    err_ << model.WatchCount() << " watches, " << scanner.TotalChanges() << " changed, "
         << scanner.FailedFetches() << " failed\n";
    ReportSnapshotFailures(scanner.SnapshotFailures(), folder);
    return saved && scanner.SnapshotFailures() == 0 ? ExitOk : ExitFailure;
}

int CliRunner::Import() {
    DataFileLock lock;
    if (!Lock(lock)) {
        return ExitFailure;
    }
    SectionModel model;
    std::error_code ignored;
    if (std::filesystem::exists(arguments_.File, ignored) && !Load(model)) {
        return ExitFailure;
    }
    std::vector<std::string> lines;
    std::string error;
    if (!ReadImportList(arguments_.Second, lines, error)) {
        err_ << error << '\n';
        return ExitFailure;
    }
    std::string folder;
    if (!PrepareDataFolder(folder, true)) {
        return ExitFailure;
    }
    HttpClient client;
    ApplyConnectionSettings(client, settings_);
    Importer importer(model, client, clock_, [&folder] { return folder; });
    int added = 0;
    QObject::connect(&importer, &Importer::Finished, QCoreApplication::instance(), [&added](int n) {
        added = n;
        QCoreApplication::quit();
    });
    importer.Import(
        lines, {arguments_.ScanType, settings_.AutoDescription, settings_.AutoDescriptionType});
    QCoreApplication::exec();
    if (!Save(model)) {
        return ExitFailure;
    }
    err_ << added << " watches imported\n";
    ReportSnapshotFailures(importer.SnapshotFailures(), folder);
    return importer.SnapshotFailures() == 0 ? ExitOk : ExitFailure;
}

int CliRunner::Export() {
    SectionModel model;
    if (!Load(model)) {
        return ExitFailure;
    }
    const FileWriteResult result = WriteExportFile(
        arguments_.Second, ExportList(model, !arguments_.NamesOnly), arguments_.Append);
    if (!result.Ok) {
        err_ << result.Error << '\n';
        return ExitFailure;
    }
    return ExitOk;
}

int CliRunner::List() {
    SectionModel model;
    if (!Load(model)) {
        return ExitFailure;
    }
    for (int tab = 0; tab < model.TabCount(); ++tab) {
        const Section& section = model.Tab(tab);
        for (int row = 1; row < section.RowCount(); ++row) {
            const WatchRow& watchRow = section.Row(row);
            if (!watchRow.HoldsWatch()) {
                continue;
            }
            const auto& cells = watchRow.Cells;
            out_ << section.Name << '\t' << cells[ColSortKey] << '\t' << cells[ColAddress] << '\t'
                 << cells[ColDescription] << '\t' << cells[ColLastCheck] << '\t'
                 << cells[ColLastChange] << '\n';
        }
    }
    return ExitOk;
}

} // namespace zelmox
