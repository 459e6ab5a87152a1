#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelmox {

enum class CliCommand { Help, Scan, Import, Export, List };

// A command line of zelmox-cli, taken apart.
struct CliArguments {
    CliCommand Command = CliCommand::Help;
    std::string File;
    std::string Second; // the LIST of import, the OUT of export
    std::string DataDir;
    int Jobs = 64;
    int PerHost = 4;
    int LockWaitSeconds = 60;
    bool NoSave = false;
    bool Diff = false;
    int ScanType = 0;
    bool NamesOnly = false;
    bool Append = false;
};

// The arguments after the program name; nothing with a message in error when they are not a
// valid command line.
std::optional<CliArguments> ParseCliArguments(const std::vector<std::string>& arguments,
                                              std::string& error);

extern const char* const CliUsage;

} // namespace zelmox
