#include "CliRunner.h"

#include "AddressList.h"
#include "DataFile.h"
#include "HttpClient.h"
#include "Importer.h"
#include "ScanDifferences.h"
#include "ScanLog.h"
#include "Scanner.h"

#include <QCoreApplication>
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

std::string CliRunner::DataFolder() const {
    if (!arguments_.DataDir.empty()) {
        return arguments_.DataDir;
    }
    EnsureDefaultFolder(paths_, settings_.CCF);
    return settings_.CCF;
}

int CliRunner::Scan() {
    SectionModel model;
    if (!Load(model)) {
        return ExitFailure;
    }
    HttpClient client;
    ApplyConnectionSettings(client, settings_);
    ScanLog log;
    const std::string folder = DataFolder();
    const ScanDifferences differences(model);
    Scanner scanner(model, client, clock_, log, [&folder] { return folder; });
    scanner.SetLimits({arguments_.Jobs, std::min(arguments_.Jobs, ScanLimits{}.MaxPerHost)});
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
    return saved ? ExitOk : ExitFailure;
}

int CliRunner::Import() {
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
    HttpClient client;
    ApplyConnectionSettings(client, settings_);
    const std::string folder = DataFolder();
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
    return ExitOk;
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
