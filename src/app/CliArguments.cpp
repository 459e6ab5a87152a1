#include "CliArguments.h"

#include <charconv>
#include <map>
#include <set>

namespace zelmox {

const char* const CliUsage =
    R"(Usage:
  zelmox-cli scan FILE [--data-dir DIR] [--jobs N] [--per-host N] [--no-save] [--diff] [--lock-wait S]
  zelmox-cli import FILE LIST [--scan-type 0|1|2] [--data-dir DIR] [--lock-wait S]
  zelmox-cli export FILE OUT [--names-only] [--append]
  zelmox-cli list FILE
  zelmox-cli --help

Commands:
  scan    Loads the data file FILE, scans every watch of every section, prints the scan log on
          standard output and saves FILE (not with --no-save). Then prints
          "<n> watches, <c> changed, <f> failed" on standard error.
  import  Adds every address of the text file LIST (one per line) to the last section of FILE,
          fetching each once for its starting values and snapshots, and saves FILE. A FILE that
          does not exist yet is created, and so is a missing snapshot folder. The scan type is
          0 (entire file) unless --scan-type gives 1 (text between tags) or 2 (size comparison).
  export  Writes the address of every row of FILE to the text file OUT, one per line: the whole
          address, or with --names-only its last part. OUT is replaced, or with --append added to.
  list    Prints one line per watch: section, status, address, description, last check and last
          change, separated by tabs.

Options:
  --data-dir DIR   the folder of the snapshot files; by default the one the settings give
  --jobs N         fetches in flight at once (default 64; 1 fetches one page at a time)
  --per-host N     fetches in flight at once to one host (default 4)
  --no-save        scan without saving FILE afterwards
  --diff           after the log, print for each watch changed by this scan a unified difference
                   of the visible text of its previous and current versions, headed by its address
  --lock-wait S    how many seconds to wait while another Zelmox program uses FILE (default 60)

scan and import hold a lock on FILE (the file FILE.lock beside it) from reading it to saving it,
so that two runs, or a run and the window, never change one list at once.

The connection settings (proxy) and the data folder come from
$XDG_CONFIG_HOME/zelmox/zelmox.ini, which zelmox-cli reads but never writes.

Exit status: 0 when the command ran; 1 when FILE or another file cannot be read or written (a
snapshot file included: the list is saved all the same), a number in FILE is malformed, or FILE
stayed in use by another Zelmox program; 2 for a wrong command line.
)";

namespace {

struct CommandShape {
    CliCommand Command;
    std::size_t Operands;
    std::set<std::string> Options;
};

const std::map<std::string, CommandShape>& Commands() {
    static const std::map<std::string, CommandShape> commands = {
        {"scan",
         {CliCommand::Scan,
          1,
          {"--data-dir", "--jobs", "--per-host", "--no-save", "--diff", "--lock-wait"}}},
        {"import", {CliCommand::Import, 2, {"--scan-type", "--data-dir", "--lock-wait"}}},
        {"export", {CliCommand::Export, 2, {"--names-only", "--append"}}},
        {"list", {CliCommand::List, 1, {}}},
    };
    return commands;
}

bool TakesValue(const std::string& option) {
    return option == "--data-dir" || option == "--jobs" || option == "--per-host" ||
           option == "--scan-type" || option == "--lock-wait";
}

std::optional<int> ParseNumber(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The field of an option that takes a count.
int* CountOption(CliArguments& parsed, const std::string& option) {
    if (option == "--jobs") {
        return &parsed.Jobs;
    }
    if (option == "--per-host") {
        return &parsed.PerHost;
    }
    if (option == "--lock-wait") {
        return &parsed.LockWaitSeconds;
    }
    return nullptr;
}

bool SetOption(CliArguments& parsed, const std::string& option, const std::string& value,
               std::string& error) {
    if (option == "--data-dir") {
        parsed.DataDir = value;
        if (!parsed.DataDir.empty() && parsed.DataDir.back() != '/') {
            parsed.DataDir += '/';
        }
    } else if (int* field = CountOption(parsed, option)) {
        const int least = option == "--lock-wait" ? 0 : 1;
        const auto number = ParseNumber(value);
        if (!number || *number < least) {
            error = option + " takes a whole number of at least " + std::to_string(least);
            return false;
        }
        *field = *number;
    } else if (option == "--scan-type") {
        const auto type = ParseNumber(value);
        if (!type || *type < 0 || *type > 2) {
            error = "--scan-type takes 0, 1 or 2";
            return false;
        }
        parsed.ScanType = *type;
    } else if (option == "--no-save") {
        parsed.NoSave = true;
    } else if (option == "--diff") {
        parsed.Diff = true;
    } else if (option == "--names-only") {
        parsed.NamesOnly = true;
    } else if (option == "--append") {
        parsed.Append = true;
    }
    return true;
}

} // namespace

std::optional<CliArguments> ParseCliArguments(const std::vector<std::string>& arguments,
                                              std::string& error) {
    CliArguments parsed;
    if (arguments.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    if (arguments.front() == "--help" || arguments.front() == "-h" || arguments.front() == "help") {
        return parsed;
    }
    const auto command = Commands().find(arguments.front());
    if (command == Commands().end()) {
        error = "unknown command '" + arguments.front() + "'";
        return std::nullopt;
    }
    const CommandShape& shape = command->second;
    parsed.Command = shape.Command;
    std::vector<std::string> operands;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!argument.starts_with("--")) {
            operands.push_back(argument);
            continue;
        }
        if (shape.Options.count(argument) == 0) {
            error = "unknown option '" + argument + "' for " + command->first;
            return std::nullopt;
        }
        std::string value;
        if (TakesValue(argument)) {
            if (i + 1 == arguments.size()) {
                error = argument + " needs a value";
                return std::nullopt;
            }
            value = arguments[++i];
        }
        if (!SetOption(parsed, argument, value, error)) {
            return std::nullopt;
        }
    }
    if (operands.size() != shape.Operands) {
        error = command->first + " takes " + std::to_string(shape.Operands) + " file name" +
                (shape.Operands == 1 ? "" : "s");
        return std::nullopt;
    }
    parsed.File = operands[0];
    if (operands.size() > 1) {
        parsed.Second = operands[1];
    }
    return parsed;
}

} // namespace zelmox
