#include "DataFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmox {

namespace {

enum LoadKey : int {
    KeyNone = 0,
    KeyAddress = 1,
    KeyAddressMD5 = 2,
    KeyScanType = 3,
    KeyLastScan = 4,
    KeyLastChange = 5,
    KeyMD5 = 6,
    KeyBeforeSize = 7,
    KeyAfterSize = 8,
    KeyDescription = 9,
    KeyOriginalSize = 10,
    KeyKeyword = 11,
    KeyChanged = 12,
    KeyManual = 13,
    KeyAdded = 14,
    KeyBeforeChange = 15,
    KeyChangeHistory = 16,
};

// Tested in this order: the first prefix a line begins with decides.
constexpr std::array<std::string_view, 16> LoadKeyPrefixes = {
    "Address=",    "AddressMD5=", "ScanType=",    "LastScan=",     "LastChange=", "MD5=",
    "BeforeSize=", "AfterSize=",  "Description=", "OriginalSize=", "Keyword=",    "Changed=",
    "Manual=",     "Added=",      "BeforeChange", "ChangeHistory"};

constexpr const char* UnknownStamp = "<unknown>";

enum class ReadMode { Load, Merge };

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    if (text.starts_with('+') && !text.starts_with("+-")) {
        text.remove_prefix(1);
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

// Opens a data file for reading, or says why it cannot be read. Only regular files qualify: a
// folder or a device would otherwise read as an empty list.
FilePointer OpenDataFile(const std::string& path, std::string& error) {
    FilePointer file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = "Cannot read \"" + path + "\": " + std::strerror(errno);
        return nullptr;
    }
    struct stat status {};
    if (::fstat(::fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) {
        error = "Cannot read \"" + path + "\": not a regular file";
        return nullptr;
    }
    return file;
}

enum class FileContent { Empty, WatchList, Other, Unreadable };

// Whether the start of a line reads as a line of a watch list: a section header, a block's brace,
// or a key and its "=".
bool StartsLikeListLine(std::string_view start) {
    if (start.empty()) {
        return false;
    }
    if (start.front() == '$' || start == "{" || start == "}") {
        return true;
    }
    const auto isLetter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
    const auto keyEnd = std::find_if_not(start.begin(), start.end(), isLetter);
    return keyEnd != start.begin() && keyEnd != start.end() && *keyEnd == '=';
}

// Looks at the first character of every line, as the reader tells lines apart: a section header,
// or a block's "{" followed later by its "}", makes a watch list, provided the first two lines
// with text also start as lines of a list do. A picture or an archive in which a "$" happens to
// begin a line is no list. The file is read beside its stream, which stays at the start for the
// reader, and lines are never held whole, so a large file that is no list costs no memory.
FileContent Classify(int fd) {
    constexpr int LinesToCheck = 2;
    constexpr std::size_t StartLength = 64;
    std::string start;
    int linesChecked = 0;
    bool lineStart = true;
    bool blockOpened = false;
    bool structure = false;
    const auto checkLine = [&start, &linesChecked] {
        if (!start.empty() && start.back() == '\r') {
            start.pop_back();
        }
        const bool fits = start.empty() || StartsLikeListLine(start);
        linesChecked += start.empty() ? 0 : 1;
        start.clear();
        return fits;
    };
    std::array<char, 16384> buffer{};
    off_t offset = 0;
    ssize_t count = 0;
    while ((count = ::pread(fd, buffer.data(), buffer.size(), offset)) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            const char c = buffer[static_cast<std::size_t>(i)];
            structure = structure || (lineStart && (c == '$' || (c == '}' && blockOpened)));
            blockOpened = blockOpened || (lineStart && c == '{');
            if (linesChecked < LinesToCheck) {
                if (c == '\n' && !checkLine()) {
                    return FileContent::Other;
                }
                if (c != '\n' && start.size() < StartLength) {
                    start += c;
                }
            }
            if (structure && linesChecked >= LinesToCheck) {
                return FileContent::WatchList;
            }
            lineStart = c == '\n';
        }
        offset += count;
    }
    if (count < 0) {
        return FileContent::Unreadable;
    }
    if (!checkLine()) {
        return FileContent::Other;
    }
    if (structure) {
        return FileContent::WatchList;
    }
    return linesChecked == 0 ? FileContent::Empty : FileContent::Other;
}

// Opens a data file that is a watch list, or an empty file. Anything else, a picture for
// instance, is refused: read as a list it would become an empty one, and the next save would
// overwrite the file with it.
FilePointer OpenWatchList(const std::string& path, std::string& error) {
    FilePointer file = OpenDataFile(path, error);
    if (!file) {
        return nullptr;
    }
    switch (Classify(::fileno(file.get()))) {
    case FileContent::Unreadable:
        error = "Cannot read \"" + path + "\": " + std::strerror(errno);
        return nullptr;
    case FileContent::Other:
        error = "\"" + path + "\" is not a Zelmox watch list.";
        return nullptr;
    default:
        return file;
    }
}

class DataFileReader {
public:
    DataFileReader(SectionModel& model, ReadMode mode) : model_(model), mode_(mode) {}

    // Reads lines until the end or a malformed number.
    DataFileResult Read(std::FILE* file) {
        char* buffer = nullptr;
        std::size_t capacity = 0;
        ssize_t length = 0;
        while ((length = ::getline(&buffer, &capacity, file)) >= 0) {
            std::string_view line(buffer, static_cast<std::size_t>(length));
            if (!line.empty() && line.back() == '\n') {
                line.remove_suffix(1);
            }
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            if (!line.empty() && !ReadLine(line)) {
                break;
            }
        }
        std::free(buffer);
        // A read error is not the end of the file: what was read is only part of the list.
        if (result_.Ok && std::ferror(file) != 0) {
            result_.Ok = false;
            result_.Error = "Cannot read the whole file: " + std::string(std::strerror(errno));
        }
        return result_;
    }

private:
    bool ReadLine(std::string_view line) {
        switch (line.front()) {
        case '$':
            SectionHeader(std::string(line.substr(1)));
            return true;
        case '{':
            current_.emplace();
            addressMD5Read_ = false;
            return true;
        case '}':
            EndOfWatch();
            return true;
        default:
            return KeyLine(line);
        }
    }

    void SectionHeader(std::string name) {
        const bool reuseDefault = mode_ == ReadMode::Load && headers_ == 0;
        ++headers_;
        if (reuseDefault) {
            model_.Tab(0).Name = std::move(name);
        } else if (model_.AddSection(std::move(name)) == nullptr) {
            ++result_.SectionsRefused;
        }
    }

    void EndOfWatch() {
        if (!current_) {
            return;
        }
        TWatch& watch = current_->Watch;
        const bool computeMissing = mode_ == ReadMode::Load && watch.AddressMD5.empty();
        const bool repairInvalid = addressMD5Read_ && !IsDigestText(watch.AddressMD5);
        if (computeMissing || repairInvalid) {
            watch.AddressMD5 = ComputeAddressMD5(watch);
        }
        // Lists read from a file stay at their size; spare room would be held for the whole run.
        watch.Keyword.shrink_to_fit();
        current_->ChangeHistory.shrink_to_fit();
        const std::string sortKey = std::to_string(current_->Changed);
        model_.ActiveSection().AddWatchRow(std::move(*current_), sortKey);
        current_.reset();
    }

    bool KeyLine(std::string_view line) {
        if (!current_) {
            return true;
        }
        const std::size_t equals = line.find('=');
        const std::string value(equals == std::string_view::npos ? std::string_view()
                                                                 : line.substr(equals + 1));
        TWatch& watch = current_->Watch;
        switch (ProcessLoadParameter(line)) {
        case KeyAddress:
            watch.Address = value;
            break;
        case KeyAddressMD5:
            watch.AddressMD5 = value;
            addressMD5Read_ = true;
            break;
        case KeyMD5:
            watch.MD5 = value;
            break;
        case KeyDescription:
            watch.Description = value;
            break;
        case KeyScanType:
            return ReadInteger(value, watch.ScanType);
        case KeyBeforeSize:
            return ReadInteger(value, watch.BeforeSize);
        case KeyAfterSize:
            return ReadInteger(value, watch.AfterSize);
        case KeyOriginalSize:
            return ReadInteger(value, watch.OriginalSize);
        case KeyManual:
            return ReadInteger(value, watch.Manual);
        case KeyChanged:
            if (value != "0") {
                return ReadChanged(value);
            }
            break;
        case KeyLastScan:
            watch.LastScan = Stamp(value);
            break;
        case KeyLastChange:
            watch.LastChange = Stamp(value);
            break;
        case KeyAdded:
            watch.Added = value.empty() ? UnknownStamp : Stamp(value);
            break;
        case KeyBeforeChange:
            watch.BeforeChange = value.empty() ? UnknownStamp : value;
            break;
        case KeyKeyword:
            watch.Keyword.push_back(value);
            break;
        case KeyChangeHistory:
            current_->ChangeHistory.push_back(value);
            break;
        default:
            break;
        }
        return true;
    }

    // Only loading converts older stamps; a merge takes them as they are.
    std::string Stamp(const std::string& value) const {
        return mode_ == ReadMode::Load ? ConvertOldDate(value) : value;
    }

    // A level outside 1..4 and the failed mark reads as 0: a counter near the limits of the
    // number would otherwise overflow at the next change.
    bool ReadChanged(const std::string& value) {
        std::int32_t changed = 0;
        if (!ReadInteger(value, changed)) {
            return false;
        }
        const bool known = (changed >= 1 && changed <= MaxChangeLevel) || changed == ChangedFailed;
        current_->Changed = known ? changed : 0;
        current_->Highlighted = known;
        return true;
    }

    // A malformed number ends the read; the watch being read is dropped.
    bool ReadInteger(const std::string& value, std::int32_t& field) {
        const auto number = ParseInteger(value);
        if (!number) {
            result_.Ok = false;
            result_.Error = "'" + value + "' is not a valid integer value";
            current_.reset();
            return false;
        }
        field = *number;
        return true;
    }

    SectionModel& model_;
    ReadMode mode_;
    DataFileResult result_;
    std::optional<TWatchObject> current_;
    bool addressMD5Read_ = false;
    int headers_ = 0;
};

} // namespace

int ProcessLoadParameter(std::string_view line) {
    for (std::size_t i = 0; i < LoadKeyPrefixes.size(); ++i) {
        const std::string_view prefix = LoadKeyPrefixes[i];
        if (!line.empty() && line.front() == prefix.front() && line.starts_with(prefix)) {
            return static_cast<int>(i) + 1;
        }
    }
    return KeyNone;
}

namespace {

// DD/MM/YYYY: digits with "/" third and sixth.
bool IsDayFirstDate(const std::string& value) {
    if (value.size() < 10 || value[2] != '/' || value[5] != '/') {
        return false;
    }
    for (const std::size_t digit : {0, 1, 3, 4, 6, 7, 8, 9}) {
        if (value[digit] < '0' || value[digit] > '9') {
            return false;
        }
    }
    return true;
}

} // namespace

std::string ConvertOldDate(const std::string& value) {
    if (value.empty()) {
        return "n/a";
    }
    // Only a real day-first date is rearranged: anything else would be scrambled again at every
    // load and save.
    if (!IsDayFirstDate(value)) {
        return value;
    }
    return value.substr(6, 4) + "/" + value.substr(3, 2) + "/" + value.substr(0, 2) +
           value.substr(10);
}

DataFileResult LoadData(SectionModel& model, const std::string& path) {
    std::string error;
    const FilePointer file = OpenWatchList(path, error);
    if (!file) {
        return {false, error, 0, {}, false};
    }
    model.ClearApplication();
    model.CurrentFileName = path;
    DataFileResult result = DataFileReader(model, ReadMode::Load).Read(file.get());
    if (result.Ok) {
        result.RecentPath = path;
    } else {
        model.CurrentFileName.clear();
    }
    return result;
}

DataFileResult MergeData(SectionModel& model, const std::string& path) {
    std::string error;
    const FilePointer file = OpenWatchList(path, error);
    if (!file) {
        return {false, error, 0, {}, false};
    }
    model.CurrentFileName.clear();
    model.SetActiveTab(model.TabCount() - 1);
    return DataFileReader(model, ReadMode::Merge).Read(file.get());
}

} // namespace zelmox
