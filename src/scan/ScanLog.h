#pragma once

#include <string>
#include <vector>

namespace zelmox {

// The lines the last scan wrote, in memory only.
class ScanLog {
public:
    void Clear() { lines_.clear(); }
    void AddToLog(std::string line) { lines_.push_back(std::move(line)); }
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

} // namespace zelmox
