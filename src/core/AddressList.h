#pragma once

#include "SectionModel.h"

#include <string>
#include <vector>

namespace zelmox {

// The export line of one address: the address itself, or only its last part.
std::string ExportLine(const std::string& address, bool includeFullPath);

// One CR LF line per grid row of every section in tab order; an empty section's placeholder row
// gives an empty line.
std::string ExportList(const SectionModel& model, bool includeFullPath);

struct FileWriteResult {
    bool Ok = true;
    std::string Error;
};

// Replaces the file with the text, or adds the text at its end; written atomically either way.
FileWriteResult WriteExportFile(const std::string& path, const std::string& text, bool append);

// Every line of an import list, empty ones included; false with a message when it cannot be read.
bool ReadImportList(const std::string& path, std::vector<std::string>& lines, std::string& error);

} // namespace zelmox
