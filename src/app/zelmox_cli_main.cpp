#include "CliArguments.h"
#include "CliRunner.h"
#include "SettingsFile.h"

#include <QCoreApplication>
#include <iostream>

int main(int argc, char* argv[]) {
    const QCoreApplication application(argc, argv);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    const auto parsed = zelmox::ParseCliArguments(arguments, error);
    if (!parsed) {
        std::cerr << "zelmox-cli: " << error << "\n\n" << zelmox::CliUsage;
        return 2;
    }
    const zelmox::SettingsPaths paths = zelmox::DefaultSettingsPaths();
    zelmox::TSettings settings;
    zelmox::MainWindowValues window;
    zelmox::LoadSettings(paths, settings, window);
    return zelmox::CliRunner(*parsed, paths, settings, std::cout, std::cerr).Run();
}
