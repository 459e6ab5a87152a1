#pragma once

#include <string>

namespace zelmox {

// Outcome of reading or writing the settings file; the message is ready to show to the user.
struct SettingsResult {
    bool ok = true;
    std::string error;
};

} // namespace zelmox
