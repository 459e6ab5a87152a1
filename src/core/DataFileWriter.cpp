#include "AtomicFile.h"
#include "DataFile.h"

#include <algorithm>

namespace zelmox {

namespace {

class BlockWriter {
public:
    explicit BlockWriter(AtomicFile& file) : file_(file) {}

    void Line(std::string_view text) {
        buffer_.append(text);
        buffer_.append("\r\n");
    }

    void Key(std::string_view key, const std::string& value) {
        buffer_.append(key);
        const std::size_t start = buffer_.size();
        buffer_.append(value);
        // A line break inside a value would split the watch's block and let a crafted page title
        // inject keys, watches or sections.
        std::replace_if(
            buffer_.begin() + static_cast<std::ptrdiff_t>(start), buffer_.end(),
            [](char c) { return c == '\r' || c == '\n'; }, ' ');
        buffer_.append("\r\n");
    }

    void Key(std::string_view key, std::int32_t value) { Key(key, std::to_string(value)); }

    void Watch(const TWatchObject& object) {
        const TWatch& w = object.Watch;
        Line("{");
        Key("Description=", w.Description);
        Key("Address=", w.Address);
        Key("AddressMD5=", w.AddressMD5);
        Key("ScanType=", w.ScanType);
        Key("Added=", w.Added);
        Key("LastScan=", w.LastScan);
        Key("LastChange=", w.LastChange);
        Key("BeforeChange=", w.BeforeChange);
        Key("MD5=", w.MD5);
        Key("OriginalSize=", w.OriginalSize);
        Key("BeforeSize=", w.BeforeSize);
        Key("AfterSize=", w.AfterSize);
        Key("Changed=", object.Changed);
        Key("Manual=", w.Manual);
        for (const std::string& keyword : w.Keyword) {
            Key("Keyword=", keyword);
        }
        for (const std::string& stamp : object.ChangeHistory) {
            Key("ChangeHistory=", stamp);
        }
        Line("}");
        Flush();
    }

    void Flush() {
        file_.Write(buffer_);
        buffer_.clear();
    }

private:
    AtomicFile& file_;
    std::string buffer_;
};

} // namespace

DataFileResult SaveData(SectionModel& model, const std::string& path) {
    AtomicFile file(path);
    if (!file.Open()) {
        return {false, file.Error(), 0, {}};
    }
    BlockWriter writer(file);
    for (int tab = 0; tab < model.TabCount(); ++tab) {
        const Section& section = model.Tab(tab);
        writer.Key("$", section.Name);
        for (int row = 1; row < section.RowCount(); ++row) {
            const TWatchObject& object = section.Row(row).Object;
            if (!object.Watch.Address.empty()) {
                writer.Watch(object);
            }
        }
        writer.Line("");
        writer.Flush();
    }
    if (!file.Commit()) {
        return {false, file.Error(), 0, {}};
    }
    model.CurrentFileName = path;
    return {};
}

} // namespace zelmox
