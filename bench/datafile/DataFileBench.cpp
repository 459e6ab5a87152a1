// Times LoadData and SaveData on a large data file: 20 sections of 1,000 watches, each watch with
// two keywords and 20 change-history stamps, the largest list the program is meant to carry.
//
//   datafile_bench [FOLDER]
//
// The file is written into FOLDER (default: a fresh folder under the system's temporary folder,
// removed at the end). SaveData syncs the file to disk, so the save figure depends on the file
// system FOLDER lives on; give a folder on a RAM-backed file system to leave the sync out.
//
// Peak memory is the process's maximum resident set size. The generator streams the file to disk
// as plain text, one watch at a time, without going through the model, and the saved file is
// compared with the generated one in small blocks; so the peak is what one loaded list plus
// LoadData's and SaveData's own working memory take, over the bare process shown as "before".

#include "DataFile.h"
#include "SectionModel.h"
#include "Watch.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <sys/resource.h>
#include <time.h>
#include <vector>

using namespace zelmox;

namespace {

constexpr int Sections = 20;
constexpr int WatchesPerSection = 1000;
constexpr int HistoryEntries = 20;
constexpr int Runs = 5;

constexpr double TargetMs = 150.0;
constexpr double TargetPeakMb = 60.0;

// Deterministic field values that look like a real user's list.
class FieldMaker {
public:
    std::string Address() {
        static const char* const hosts[] = {"www.example-news",   "city-council",
                                            "opensource-project", "weather-service",
                                            "bookshop-online",    "library.university"};
        static const char* const domains[] = {".com", ".org", ".net", ".de"};
        static const char* const folders[] = {"news", "downloads", "releases", "events/calendar",
                                              "products/latest"};
        static const char* const pages[] = {"index", "changelog", "update", "article", "status"};
        static const char* const extensions[] = {".html", ".html", ".php", ".pdf", ""};
        const bool local = Pick(20) == 0;
        if (local) {
            return "/home/user/projects/notes/" + std::string(Choose(pages)) + "-" +
                   std::to_string(Pick(100000)) + ".txt";
        }
        return "https://" + std::string(Choose(hosts)) + Choose(domains) + "/" + Choose(folders) +
               "/" + Choose(pages) + "-" + std::to_string(Pick(100000)) + Choose(extensions);
    }

    std::string Description() {
        static const char* const first[] = {"Release notes",  "Weekly news",  "Price list",
                                            "Council agenda", "Forecast",     "New arrivals",
                                            "Opening hours",  "Issue tracker"};
        static const char* const second[] = {"main site", "downloads page", "regional office",
                                             "project wiki", "shop front"};
        return std::string(Choose(first)) + " - " + Choose(second) + " " +
               std::to_string(Pick(1000));
    }

    std::string Keyword() {
        static const char* const words[] = {"deadline",  "release",       "version 2",  "sold out",
                                            "cancelled", "storm warning", "new chapter"};
        return Choose(words);
    }

    std::string Digest() {
        static const char hex[] = "0123456789abcdef";
        std::string text(32, '0');
        for (char& c : text) {
            c = hex[Pick(16)];
        }
        return text;
    }

    // A stamp some minutes after 2005/01/01 00:00, in the YYYY/MM/DD HH:MM.SS form.
    static std::string Stamp(std::int64_t minutes, int seconds) {
        const std::int64_t days = minutes / (24 * 60);
        const int year = 2005 + static_cast<int>(days / 336);
        const int month = 1 + static_cast<int>(days % 336 / 28);
        const int day = 1 + static_cast<int>(days % 28);
        const int hour = static_cast<int>(minutes / 60 % 24);
        const int minute = static_cast<int>(minutes % 60);
        char text[32];
        std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d.%02d", year, month, day, hour,
                      minute, seconds);
        return text;
    }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

private:
    template <std::size_t N> const char* Choose(const char* const (&items)[N]) {
        return items[Pick(static_cast<int>(N))];
    }

    std::mt19937 random_{20070203};
};

// Writes the file the way SaveData lays it out, so that a save of the loaded list reproduces it.
bool GenerateDataFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    FieldMaker make;
    std::string block;
    const auto line = [&block](const std::string& key, const std::string& value) {
        block += key;
        block += value;
        block += "\r\n";
    };
    for (int section = 0; section < Sections; ++section) {
        block.clear();
        line("$", section == 0 ? "Default" : "Section " + std::to_string(section + 1));
        for (int n = 0; n < WatchesPerSection; ++n) {
            TWatch watch;
            watch.Address = make.Address();
            watch.ScanType = make.Pick(4);
            std::int64_t minutes = make.Pick(200000);
            const std::string added = FieldMaker::Stamp(minutes, make.Pick(60));
            std::vector<std::string> history;
            for (int h = 0; h < HistoryEntries; ++h) {
                minutes += 60 + make.Pick(5000);
                history.push_back(FieldMaker::Stamp(minutes, make.Pick(60)));
            }
            const int size = 2000 + make.Pick(200000);
            const int changed = make.Pick(10) == 0 ? ChangedFailed : make.Pick(MaxChangeLevel + 1);
            line("{", "");
            line("Description=", make.Description());
            line("Address=", watch.Address);
            line("AddressMD5=", ComputeAddressMD5(watch));
            line("ScanType=", std::to_string(watch.ScanType));
            line("Added=", added);
            line("LastScan=", FieldMaker::Stamp(minutes + make.Pick(3000), make.Pick(60)));
            line("LastChange=", history[HistoryEntries - 1]);
            line("BeforeChange=", history[HistoryEntries - 2]);
            line("MD5=", watch.ScanType == ScanKeywords ? "" : make.Digest());
            line("OriginalSize=", std::to_string(size));
            line("BeforeSize=", std::to_string(size + make.Pick(500)));
            line("AfterSize=", std::to_string(size + make.Pick(500)));
            line("Changed=", std::to_string(changed));
            line("Manual=", make.Pick(20) == 0 ? "1" : "0");
            line("Keyword=", make.Keyword());
            line("Keyword=", make.Keyword());
            for (const std::string& stamp : history) {
                line("ChangeHistory=", stamp);
            }
            line("}", "");
            std::fwrite(block.data(), 1, block.size(), file);
            block.clear();
        }
        line("", "");
        std::fwrite(block.data(), 1, block.size(), file);
    }
    return std::fclose(file) == 0;
}

// Compares two files in small blocks, so that the check adds nothing to the peak.
bool SameBytes(const std::string& a, const std::string& b) {
    std::FILE* fa = std::fopen(a.c_str(), "rb");
    std::FILE* fb = std::fopen(b.c_str(), "rb");
    bool same = fa != nullptr && fb != nullptr;
    std::vector<char> ba(1 << 16);
    std::vector<char> bb(1 << 16);
    while (same) {
        const std::size_t na = std::fread(ba.data(), 1, ba.size(), fa);
        const std::size_t nb = std::fread(bb.data(), 1, bb.size(), fb);
        same = na == nb &&
               std::equal(ba.begin(), ba.begin() + static_cast<std::ptrdiff_t>(na), bb.begin());
        if (na == 0) {
            break;
        }
    }
    if (fa != nullptr) {
        std::fclose(fa);
    }
    if (fb != nullptr) {
        std::fclose(fb);
    }
    return same;
}

double PeakMb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB on Linux
}

double CpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Wall-clock time is what the user waits for; processor time shows the same work undisturbed
// when other processes compete for the machine.
struct Times {
    std::vector<double> Wall;
    std::vector<double> Cpu;

    template <typename F> void Measure(F&& work) {
        const double cpuStart = CpuMs();
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        Cpu.push_back(CpuMs() - cpuStart);
        Wall.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const char* what, const Times& times) {
    const double best = *std::min_element(times.Wall.begin(), times.Wall.end());
    const double median = Median(times.Wall);
    std::printf(
        "%-9s best %6.1f ms   median %6.1f ms   processor %6.1f ms   (target < %.0f ms)%s\n", what,
        best, median, Median(times.Cpu), TargetMs, median < TargetMs ? "" : "   MISSED");
}

bool Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "datafile_bench: %s%s\n", what, detail.c_str());
    return false;
}

bool Run(const std::string& folder) {
    const std::string source = folder + "/bench.zelmox";
    const std::string saved = folder + "/saved.zelmox";
    if (!GenerateDataFile(source)) {
        return Fail("cannot write ", source);
    }
    const double before = PeakMb();

    Times loadTimes;
    auto model = std::make_unique<SectionModel>();
    for (int run = 0; run < Runs; ++run) {
        model = std::make_unique<SectionModel>(); // the old list is freed outside the timing
        DataFileResult result;
        loadTimes.Measure([&] { result = LoadData(*model, source); });
        if (!result.Ok) {
            return Fail("LoadData failed: ", result.Error);
        }
        if (model->TabCount() != Sections || model->WatchCount() != Sections * WatchesPerSection) {
            return Fail("LoadData read the wrong list", "");
        }
    }

    Times saveTimes;
    for (int run = 0; run < Runs; ++run) {
        DataFileResult result;
        saveTimes.Measure([&] { result = SaveData(*model, saved); });
        if (!result.Ok) {
            return Fail("SaveData failed: ", result.Error);
        }
    }
    const double peak = PeakMb();
    model.reset();

    const auto fileSize = std::filesystem::file_size(source);
    std::printf("Data file: %d sections x %d watches, %d history stamps and 2 keywords each\n",
                Sections, WatchesPerSection, HistoryEntries);
    std::printf("File:      %s, %.1f MB (%" PRIuMAX " bytes)\n", source.c_str(),
                static_cast<double>(fileSize) / (1024.0 * 1024.0),
                static_cast<std::uintmax_t>(fileSize));
    std::printf("Runs:      %d of each\n", Runs);
    Report("LoadData", loadTimes);
    Report("SaveData", saveTimes);
    std::printf("Peak:      %.1f MB, of which %.1f MB before loading   (target < %.0f MB)%s\n",
                peak, before, TargetPeakMb, peak < TargetPeakMb ? "" : "   MISSED");
    std::printf("Round trip: saved file %s the generated one\n",
                SameBytes(source, saved) ? "is identical to" : "DIFFERS from");
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: datafile_bench [FOLDER]\n");
        return 2;
    }
    if (argc == 2) {
        return Run(argv[1]) ? 0 : 1;
    }
    std::string folder = (std::filesystem::temp_directory_path() / "zelmox-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::perror("datafile_bench: cannot create a temporary folder");
        return 1;
    }
    const bool ok = Run(folder);
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
