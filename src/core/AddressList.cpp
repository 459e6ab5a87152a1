#include "AddressList.h"

#include "Address.h"
#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace zelmox {

namespace {

std::string AfterLast(const std::string& text, const char* separators) {
    const std::size_t found = text.find_last_of(separators);
    return found == std::string::npos ? text : text.substr(found + 1);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Cannot read \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

} // namespace

std::string ExportLine(const std::string& address, bool includeFullPath) {
    if (includeFullPath) {
        return address;
    }
    if (HasHttpScheme(address)) {
        return AfterLast(address, "/");
    }
    // A local path's file name ends at "/" as well; an address that only holds "www." does not
    // split there, so it comes out whole.
    return AfterLast(address, IsWebAddress(address) ? "\\:" : "\\:/");
}

std::string ExportList(const SectionModel& model, bool includeFullPath) {
    std::string text;
    for (int tab = 0; tab < model.TabCount(); ++tab) {
        const Section& section = model.Tab(tab);
        for (int row = 1; row < section.RowCount(); ++row) {
            text += ExportLine(section.Row(row).Object.Watch.Address, includeFullPath);
            text += "\r\n";
        }
    }
    return text;
}

FileWriteResult WriteExportFile(const std::string& path, const std::string& text, bool append) {
    std::string existing;
    std::string error;
    if (append && !ReadWholeFile(path, existing, error) && errno != ENOENT) {
        return {false, error};
    }
    AtomicFile file(path);
    if (!file.Open()) {
        return {false, file.Error()};
    }
    file.Write(existing);
    file.Write(text);
    if (!file.Commit()) {
        return {false, file.Error()};
    }
    return {};
}

bool ReadImportList(const std::string& path, std::vector<std::string>& lines, std::string& error) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, error)) {
        return false;
    }
    lines.clear();
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return true;
}

} // namespace zelmox
