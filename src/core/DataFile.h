#pragma once

#include "SectionModel.h"

#include <string>
#include <string_view>

namespace zelmox {

// What a data-file operation did, for the window or the command-line tool to act on.
struct DataFileResult {
    // False when the file could not be read or written, or a number in it was malformed.
    bool Ok = true;
    // The message to show when Ok is false.
    std::string Error;
    // Section headers that found 20 sections already present; each deserves the maximum message.
    int SectionsRefused = 0;
    // A successful load names the path that joins the recent-file list.
    std::string RecentPath;
    // False when the file could not be opened at all, or holds something other than a watch
    // list: then nothing was changed.
    bool Opened = true;
};

// Writes every section in tab order, atomically: the old file stays intact unless the new one is
// complete. On success CurrentFileName becomes the path; on failure it is left as it was.
DataFileResult SaveData(SectionModel& model, const std::string& path);

// Replaces the sections with those of the file. A file that cannot be opened, or that is not empty
// but holds no section header and no watch block, changes nothing. A malformed number stops
// reading; what was read stays, but CurrentFileName is left empty so that a later save cannot
// overwrite the complete file with the partial list.
DataFileResult LoadData(SectionModel& model, const std::string& path);

// Adds the file's sections after the existing ones; CurrentFileName becomes empty. A file that
// LoadData refuses changes nothing.
DataFileResult MergeData(SectionModel& model, const std::string& path);

// The number (1..16) of the key a data-file line begins with, or 0.
int ProcessLoadParameter(std::string_view line);

// Rearranges an older day-first stamp DD/MM/YYYY... into YYYY/MM/DD...; an empty value gives "n/a".
std::string ConvertOldDate(const std::string& value);

} // namespace zelmox
