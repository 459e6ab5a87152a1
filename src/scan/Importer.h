#pragma once

#include "Clock.h"
#include "ContentFetch.h"
#include "ImportedWatch.h"
#include "SectionModel.h"

#include <QObject>
#include <functional>
#include <string>
#include <vector>

namespace zelmox {

// Turns the lines of an import list into new watches of the shown section, one after another:
// each address is fetched (or its local file read) once for its starting values and snapshots.
class Importer : public QObject {
    Q_OBJECT

public:
    Importer(SectionModel& model, ContentSource& source, const Clock& clock,
             std::function<std::string()> dataFolder, QObject* parent = nullptr);

    // Starts the import; Finished reports the number of watches added. Lines are taken without
    // their surrounding blanks; a line with nothing else is passed over.
    void Import(std::vector<std::string> lines, ImportOptions options);

    // Watches of the last import whose snapshot files could not all be written.
    int SnapshotFailures() const { return snapshotFailures_; }

signals:
    // The address on this line of the list is being fetched or read.
    void Importing(int line, const QByteArray& address);
    void WatchImported(int tabIndex, int row);
    void Finished(int added);

private:
    void ImportNext();
    void AddWatch(const std::string& address, const ImportContent& content);

    SectionModel& model_;
    ContentSource& source_;
    const Clock& clock_;
    std::function<std::string()> dataFolder_;
    std::vector<std::string> lines_;
    ImportOptions options_;
    std::size_t next_ = 0;
    int tab_ = 0;
    int added_ = 0;
    int snapshotFailures_ = 0;
};

} // namespace zelmox
