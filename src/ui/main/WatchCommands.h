#pragma once

#include "Watch.h"

#include <QByteArray>
#include <QObject>

namespace zelmox {

class Section;
class TfrmMain;

// Adding, editing and deleting watches from the main window.
class WatchCommands : public QObject {
    Q_OBJECT

public:
    explicit WatchCommands(TfrmMain& window);

    void tbAddWatchClick();
    void sbEditClick();
    void tbDeleteWatchClick();

    // True while an added watch's first fetch runs.
    bool IsAdding() const { return adding_; }

signals:
    // An added watch's first fetch started.
    void AddStarted(const QString& address);
    // An add ended, with or without a new watch.
    void AddFinished();

private:
    void AddManualWatch(TWatch record, Section& section);
    void AddFetchedWatch(TWatch record, Section& section, bool ok, const QByteArray& content);
    // The section's row just appended is shown and selected.
    void ShowNewRow(Section& section, bool select);
    // The active section's selected row when it holds a watch, else 0.
    int SelectedWatchRow() const;

    TfrmMain& window_;
    bool adding_ = false;
};

} // namespace zelmox
