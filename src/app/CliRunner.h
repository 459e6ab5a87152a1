#pragma once

#include "CliArguments.h"
#include "Clock.h"
#include "Settings.h"
#include "SettingsPaths.h"

#include <iosfwd>

namespace zelmox {

// Carries out one zelmox-cli command and gives its exit status. Runs the event loop of the
// QCoreApplication that must exist while a scan or an import is under way.
class CliRunner {
public:
    CliRunner(const CliArguments& arguments, const SettingsPaths& paths, const TSettings& settings,
              std::ostream& out, std::ostream& err);

    int Run();

private:
    int Scan();
    int Import();
    int Export();
    int List();

    // Loads FILE into the model, reporting on standard error; false when it could not be read.
    bool Load(class SectionModel& model);
    bool Save(SectionModel& model);
    // Takes the lock on FILE for the whole command, waiting as long as --lock-wait allows;
    // false, reported, when another program kept it.
    bool Lock(class DataFileLock& lock);
    // The snapshot folder, created when it is the default one and missing, or when create is set;
    // false, reported, when it had to be created and could not be.
    bool PrepareDataFolder(std::string& folder, bool create);
    // The line on standard error for watches whose snapshot files could not be written.
    void ReportSnapshotFailures(int watches, const std::string& folder);

    const CliArguments& arguments_;
    const SettingsPaths& paths_;
    const TSettings& settings_;
    std::ostream& out_;
    std::ostream& err_;
    SystemClock clock_;
};

} // namespace zelmox
