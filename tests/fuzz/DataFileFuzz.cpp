// Feeds arbitrary bytes to the data-file reader and checks what must hold for any file: the
// section table stays within its 20 slots, every grid keeps its placeholder row, snapshot names
// stay inside the data folder, and whatever was loaded saves to a file that loads and saves back
// byte for byte.

#include "DataFile.h"
#include "SectionModel.h"
#include "Snapshot.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

using namespace zelmox;

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "datafile_fuzz: broken invariant: %s\n", what);
        std::abort();
    }
}

// A folder of this process's own, on a RAM-backed file system when there is one: every save
// syncs its file, and on a disk that would dominate the run. Never destroyed, so that the exit
// handler that removes the folder can still name it.
const std::string& WorkFolder() {
    static const std::string* const folder = [] {
        std::string base = "/tmp";
        if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir != nullptr && *tmpdir != '\0') {
            base = tmpdir;
        }
        if (::access("/dev/shm", W_OK | X_OK) == 0) {
            base = "/dev/shm";
        }
        std::string path = base + "/zelmox-fuzz-XXXXXX";
        Require(::mkdtemp(path.data()) != nullptr, "cannot create the work folder");
        std::atexit([] { std::filesystem::remove_all(WorkFolder()); });
        return new std::string(path + "/");
    }();
    return *folder;
}

std::string PathOf(const char* name) {
    return WorkFolder() + name;
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr, "cannot write the input file");
    Require(std::fwrite(data, 1, size, file) == size, "cannot write the input file");
    std::fclose(file);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A name built for any watch must be the folder followed by one plain file name.
void CheckSnapshotName(const TWatch& watch) {
    const std::string folder = WorkFolder() + "data/";
    const std::string name = SnapshotFileName(folder, watch, SuffixAfter);
    Require(name.starts_with(folder), "snapshot name leaves the data folder");
    const std::string rest = name.substr(folder.size());
    Require(rest.find('/') == std::string::npos, "snapshot name has a folder part");
    Require(rest.find("..") == std::string::npos, "snapshot name has \"..\"");
}

void CheckModel(const SectionModel& model) {
    Require(model.TabCount() >= 1 && model.TabCount() <= SectionModel::MaxSections,
            "tab count outside 1..20");
    Require(model.Tab(0).Slot() == 0, "first tab is not in slot 0");
    std::array<bool, SectionModel::MaxSections> used{};
    for (int tab = 0; tab < model.TabCount(); ++tab) {
        const Section& section = model.Tab(tab);
        const int slot = section.Slot();
        Require(slot >= 0 && slot < SectionModel::MaxSections, "slot outside 0..19");
        Require(!used[static_cast<std::size_t>(slot)], "two tabs share a slot");
        used[static_cast<std::size_t>(slot)] = true;
        Require(model.SectionGrids(slot) == &section, "slot lookup finds another tab");
        Require(section.RowCount() >= 2, "grid without its row 1");
        for (int row = 1; row < section.RowCount(); ++row) {
            CheckSnapshotName(section.Row(row).Object.Watch);
        }
    }
}

void FillEmptyStamps(SectionModel& model) {
    for (int tab = 0; tab < model.TabCount(); ++tab) {
        Section& section = model.Tab(tab);
        for (int row = 1; row < section.RowCount(); ++row) {
            TWatch& watch = WatchAt(section, row).Watch;
            for (std::string* stamp : {&watch.LastScan, &watch.LastChange}) {
                if (stamp->empty()) {
                    *stamp = "n/a";
                }
            }
            for (std::string* stamp : {&watch.Added, &watch.BeforeChange}) {
                if (stamp->empty()) {
                    *stamp = "<unknown>";
                }
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = PathOf("input.zelmox");
    const std::string first = PathOf("first.zelmox");
    const std::string second = PathOf("second.zelmox");
    WriteFile(input, data, size);

    // Any bytes load, completely or up to a malformed number.
    SectionModel loaded;
    const DataFileResult load = LoadData(loaded, input);
    Require(load.Ok == load.Error.empty(), "load result and message disagree");
    CheckModel(loaded);

    // What was loaded saves, and the saved file loads back as the same list: loading reads an
    // empty stamp as "n/a" and an empty Added or BeforeChange as "<unknown>", so with those
    // filled in first, the saved file must save back byte for byte.
    FillEmptyStamps(loaded);
    Require(SaveData(loaded, first).Ok, "save failed");
    Require(loaded.CurrentFileName == first, "save did not take the path");
    SectionModel reloaded;
    const DataFileResult reload = LoadData(reloaded, first);
    Require(reload.Ok, "a saved file does not load");
    Require(reload.SectionsRefused == 0, "a saved file has more than 20 sections");
    CheckModel(reloaded);
    Require(reloaded.TabCount() == loaded.TabCount(), "reload changed the number of sections");
    Require(reloaded.WatchCount() == loaded.WatchCount(), "reload changed the number of watches");
    Require(SaveData(reloaded, second).Ok, "second save failed");
    Require(ReadFile(first) == ReadFile(second), "a saved file does not save back byte for byte");

    // Merging adds sections only up to the limit; refused headers send their watches to the
    // last section, so a file merged into its own list doubles every watch.
    const int tabs = reloaded.TabCount();
    const int watches = reloaded.WatchCount();
    const DataFileResult self = MergeData(reloaded, first);
    Require(self.Ok, "merging a saved file failed");
    CheckModel(reloaded);
    Require(reloaded.CurrentFileName.empty(), "merge kept the file name");
    Require(reloaded.TabCount() == std::min(2 * tabs, SectionModel::MaxSections),
            "merge created the wrong number of sections");
    Require(self.SectionsRefused == 2 * tabs - reloaded.TabCount(),
            "merge miscounted the refused sections");
    Require(reloaded.WatchCount() == 2 * watches, "merge lost or invented watches");

    MergeData(loaded, input);
    CheckModel(loaded);
    return 0;
}
