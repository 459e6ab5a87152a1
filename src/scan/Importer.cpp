#include "Importer.h"

#include "Address.h"
#include "SnapshotStore.h"

#include <QTimer>
#include <filesystem>

namespace zelmox {

Importer::Importer(SectionModel& model, ContentSource& source, const Clock& clock,
                   std::function<std::string()> dataFolder, QObject* parent)
    : QObject(parent), model_(model), source_(source), clock_(clock),
      dataFolder_(std::move(dataFolder)) {}

namespace {

std::string WithoutSurroundingBlanks(const std::string& line) {
    constexpr const char* Blanks = " \t\r\n\f\v";
    const std::size_t first = line.find_first_not_of(Blanks);
    if (first == std::string::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(Blanks) - first + 1);
}

} // namespace

void Importer::Import(std::vector<std::string> lines, ImportOptions options) {
    lines_.clear();
    for (const std::string& line : lines) {
        lines_.push_back(WithoutSurroundingBlanks(line));
    }
    options_ = options;
    next_ = 0;
    added_ = 0;
    snapshotFailures_ = 0;
    tab_ = model_.ActiveTab();
    QTimer::singleShot(0, this, &Importer::ImportNext);
}

void Importer::ImportNext() {
    while (next_ < lines_.size() && lines_[next_].empty()) {
        ++next_;
    }
    if (next_ == lines_.size()) {
        emit Finished(added_);
        return;
    }
    const std::string address = lines_[next_++];
    emit Importing(static_cast<int>(next_ - 1), QByteArray::fromStdString(address));
    std::error_code error;
    if (!IsWebAddress(address) && !std::filesystem::exists(address, error)) {
        AddWatch(address, {});
        QTimer::singleShot(0, this, &Importer::ImportNext);
        return;
    }
    ContentFetch* fetch = source_.FetchContent(QByteArray::fromStdString(address));
    connect(fetch, &ContentFetch::Finished, this,
            [this, address](bool ok, const QByteArray& content) {
                AddWatch(address, {ok, content.toStdString()});
                ImportNext();
            });
}

void Importer::AddWatch(const std::string& address, const ImportContent& content) {
    TWatchObject object = MakeImportedWatch(address, content, options_, clock_);
    // After a failed fetch, files that exist already hold an earlier copy worth keeping.
    if (!WriteInitialSnapshots(dataFolder_(), object.Watch, content.Bytes, !content.Ok)) {
        ++snapshotFailures_;
    }
    Section& section = model_.Tab(tab_);
    section.AddWatchRow(std::move(object), "0");
    ++added_;
    emit WatchImported(tab_, section.RowCount() - 1);
}

} // namespace zelmox
