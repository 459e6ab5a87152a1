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
    // The snapshot folder, created when it is the default one and missing.
    std::string DataFolder() const;

    const CliArguments& arguments_;
    const SettingsPaths& paths_;
    const TSettings& settings_;
    std::ostream& out_;
    std::ostream& err_;
    SystemClock clock_;
};

} // namespace zelmox
