#pragma once

#include "Clock.h"
#include "ContentFetch.h"
#include "ScanLog.h"
#include "ScanRules.h"
#include "SectionModel.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <future>
#include <string>
#include <vector>

namespace zelmox {

struct ScanLimits {
    // Fetches at once, in all and to one host (the politeness that servers care about).
    int MaxInFlight = 64;
    int MaxPerHost = 4;
    // Pages fetched ahead while an earlier row is still awaited, and the parts of pages still
    // coming in, are held in memory: past this many bytes no further fetch starts, and past twice
    // as many a page ahead that is coming in is dropped, to be fetched again once the awaited row
    // is applied.
    qint64 MaxHeldBytes = 256LL * 1024 * 1024;
};

// Scans sections: fetches every watch, applies its change rule, rotates its snapshots and logs.
// Several fetches run at once, but results are applied strictly in row order, so watches, cells,
// snapshot files and log lines end exactly as a one-at-a-time scan leaves them. Rows are applied in
// short passes that hand control back to the event loop, and the heavy part of a fetched page's
// row (its rule's digest, its snapshot files) runs on a worker thread while the event loop goes on,
// so the window never stalls for long, even on large pages. The window's part
// (buttons, progress, tray, sounds) is reached through the signals. While a scan runs, the rows
// and sections of the model must not be added, removed or reordered.
class Scanner : public QObject {
    Q_OBJECT

public:
    static constexpr const char* AlreadyRunningMessage = "A scan is already running.";

    // dataFolder gives the snapshot folder at the moment of use.
    Scanner(SectionModel& model, ContentSource& source, const Clock& clock, ScanLog& log,
            std::function<std::string()> dataFolder, QObject* parent = nullptr);
    ~Scanner() override;

    void SetLimits(ScanLimits limits) { limits_ = limits; }

    // Scan All Tabs; false (nothing started) while another scan runs.
    bool ScanAllTabs();
    // Scan Current: the active tab only; TotalChanges stays as it was.
    bool ScanCurrent();
    // The rows not yet reached are left untouched and the fetches in flight are dropped.
    void Stop();

    bool IsRunning() const { return running_; }
    // Changes found by the last Scan All Tabs.
    int TotalChanges() const { return totalChanges_; }
    // Fetches of the last scan that failed.
    int FailedFetches() const { return failedFetches_; }
    // Changed watches of the last scan whose snapshot files could not all be rotated and written.
    int SnapshotFailures() const { return snapshotFailures_; }

signals:
    void BusyChanged(bool busy);
    void StatusTextChanged(const QString& text);
    void ProgressStarted(int minimum, int maximum);
    void ProgressStepped();
    void ProgressFinished();
    void StopEnabledChanged(bool enabled);
    void RowUpdated(int tabIndex, int row);
    void TabImageChanged(int tabIndex, bool changesFound);
    void NotifySound(int scanType);
    // The scan found changes: change image in the tray, balloon when minimised, "clear" enabled.
    void ChangesAnnounced();
    void FinishedSound();
    void StatusBarRefreshNeeded();
    void ScanFinished(int changes);

private:
    struct PlannedRow {
        int Tab = 0;
        int Row = 0;
        QByteArray Address;
        QString Host;
        bool NeedsFetch = false;
        bool InFlight = false;
        bool Done = false;
        bool Ok = false;
        QByteArray Content;
        ContentFetch* Fetch = nullptr;
        // What the fetch in flight has brought in so far.
        qint64 Received = 0;
        bool DropRequested = false;
    };

    bool Start(const std::vector<int>& tabs, bool allTabs);
    void PlanTab(int tab);
    void Pump();
    void StartFetch(std::size_t index);
    void OnFetched(std::size_t index, bool ok, const QByteArray& content);
    void OnReceived(std::size_t index, qint64 bytes);
    void DropRequestedFetches();
    // The row's fetch no longer counts as in flight.
    void ReleaseFetch(PlannedRow& planned);
    // What the worker thread found for a fetched page: the rule's outcome and, on a change, the
    // log lines of the snapshot steps that failed.
    struct PageWork {
        RuleOutcome Outcome;
        std::vector<std::string> SnapshotFailures;
    };

    void ApplyReadyRows();
    void ContinueApplyingLater();
    // Applies a row, or hands its page to the worker thread (false): FinishPageRow then ends it.
    bool ApplyRow(PlannedRow& planned);
    void StartPageWork(const PlannedRow& planned, const TWatch& watch);
    void FinishPageRow();
    void CompleteRow(PlannedRow& planned);
    void AnnounceAwaitedRow();
    void Finish();
    void AbortFetches();

    SectionModel& model_;
    ContentSource& source_;
    const Clock& clock_;
    ScanLog& log_;
    std::function<std::string()> dataFolder_;
    ScanLimits limits_;

    bool running_ = false;
    bool stopRequested_ = false;
    bool applying_ = false;
    bool finishPending_ = false;
    bool continuationPending_ = false;
    bool pageWorkRunning_ = false;
    std::future<PageWork> pageWork_;
    bool allTabs_ = false;
    int totalChanges_ = 0;
    int scanChanges_ = 0;
    int failedFetches_ = 0;
    int snapshotFailures_ = 0;
    std::vector<PlannedRow> plan_;
    std::vector<int> tabChanges_;
    std::size_t nextToApply_ = 0;
    static constexpr std::size_t NoRow = static_cast<std::size_t>(-1);
    // The row the status text names.
    std::size_t announcedRow_ = NoRow;
    int inFlight_ = 0;
    qint64 heldBytes_ = 0;
    qint64 receivingBytes_ = 0;
    // A page ahead was dropped for want of room: none starts again until a row is applied.
    bool heldBack_ = false;
    QHash<QString, int> hostLoad_;
};

} // namespace zelmox
