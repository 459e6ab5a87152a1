#include "Scanner.h"

#include "HttpClient.h"
#include "ScanRules.h"
#include "SnapshotStore.h"

#include <QElapsedTimer>
#include <QTimer>

namespace zelmox {

namespace {

// How far past the row being applied fetches may start, in multiples of the fetches allowed at
// once: enough to keep every slot busy behind a slow row, without holding many pages in memory.
constexpr std::size_t LookAheadFactor = 4;

// How long one pass of applying rows may keep the event loop waiting before it yields.
constexpr qint64 PassBudgetMs = 10;
// Pages already coming in may take the bytes held past the bound for new fetches, up to this many
// times it; then those ahead are dropped. The margin lets the pages started under the bound end
// as a rule, so that few are fetched twice.
constexpr qint64 DropFactor = 2;

QString StatusText(const Section& section, const WatchRow& row) {
    return QStringLiteral("Scanning... ") + QString::fromUtf8(section.Name) +
           QStringLiteral(" ... ") + QString::fromUtf8(row.Cells[ColAddress]);
}

} // namespace

Scanner::Scanner(SectionModel& model, ContentSource& source, const Clock& clock, ScanLog& log,
                 std::function<std::string()> dataFolder, QObject* parent)
    : QObject(parent), model_(model), source_(source), clock_(clock), log_(log),
      dataFolder_(std::move(dataFolder)) {}

Scanner::~Scanner() {
    if (pageWork_.valid()) {
        pageWork_.wait();
    }
    AbortFetches();
}

bool Scanner::ScanAllTabs() {
    std::vector<int> tabs;
    for (int tab = 0; tab < model_.TabCount(); ++tab) {
        tabs.push_back(tab);
    }
    return Start(tabs, true);
}

bool Scanner::ScanCurrent() {
    return Start({model_.ActiveTab()}, false);
}

void Scanner::Stop() {
    if (!running_ || stopRequested_) {
        return;
    }
    stopRequested_ = true;
    AbortFetches();
    QTimer::singleShot(0, this, &Scanner::Finish);
}

bool Scanner::Start(const std::vector<int>& tabs, bool allTabs) {
    if (running_) {
        return false;
    }
    running_ = true;
    stopRequested_ = false;
    finishPending_ = false;
    allTabs_ = allTabs;
    scanChanges_ = 0;
    failedFetches_ = 0;
    snapshotFailures_ = 0;
    emit BusyChanged(true);
    log_.Clear();
    if (allTabs) {
        totalChanges_ = 0;
    }
    plan_.clear();
    tabChanges_.assign(static_cast<std::size_t>(model_.TabCount()), 0);
    nextToApply_ = 0;
    announcedRow_ = NoRow;
    inFlight_ = 0;
    heldBytes_ = 0;
    receivingBytes_ = 0;
    heldBack_ = false;
    hostLoad_.clear();
    for (const int tab : tabs) {
        PlanTab(tab);
    }
    emit ProgressStarted(1, allTabs ? 1 + static_cast<int>(plan_.size())
                                    : static_cast<int>(plan_.size()));
    emit StopEnabledChanged(true);
    // The caller gets control back before the first row is touched.
    QTimer::singleShot(0, this, &Scanner::ApplyReadyRows);
    return true;
}

void Scanner::PlanTab(int tab) {
    const Section& section = model_.Tab(tab);
    for (int row = 1; row < section.RowCount(); ++row) {
        const WatchRow& watchRow = section.Row(row);
        PlannedRow planned;
        planned.Tab = tab;
        planned.Row = row;
        planned.Address = QByteArray::fromStdString(watchRow.Cells[ColAddress]);
        planned.NeedsFetch = watchRow.HoldsWatch() && watchRow.Object.Watch.Manual == 0;
        planned.Host = planned.NeedsFetch ? FetchHost(planned.Address) : QString();
        plan_.push_back(std::move(planned));
    }
}

void Scanner::Pump() {
    const std::size_t window =
        std::min(plan_.size(),
                 nextToApply_ + LookAheadFactor * static_cast<std::size_t>(limits_.MaxInFlight));
    for (std::size_t index = nextToApply_; index < window && inFlight_ < limits_.MaxInFlight;
         ++index) {
        const PlannedRow& planned = plan_[index];
        const bool waiting = planned.NeedsFetch && !planned.InFlight && !planned.Done;
        const bool hostFree =
            planned.Host.isEmpty() || hostLoad_.value(planned.Host) < limits_.MaxPerHost;
        // The row the scan waits for always starts; pages further ahead wait while many bytes are
        // held already.
        const bool roomToHold =
            index == nextToApply_ ||
            (!heldBack_ && heldBytes_ + receivingBytes_ <= limits_.MaxHeldBytes);
        if (waiting && hostFree && roomToHold) {
            StartFetch(index);
        }
    }
}

void Scanner::StartFetch(std::size_t index) {
    PlannedRow& planned = plan_[index];
    planned.InFlight = true;
    ++inFlight_;
    if (!planned.Host.isEmpty()) {
        ++hostLoad_[planned.Host];
    }
    planned.Fetch = source_.FetchContent(planned.Address);
    connect(planned.Fetch, &ContentFetch::Finished, this,
            [this, index](bool ok, const QByteArray& content) { OnFetched(index, ok, content); });
    connect(planned.Fetch, &ContentFetch::Received, this,
            [this, index](qint64 bytes) { OnReceived(index, bytes); });
}

void Scanner::OnFetched(std::size_t index, bool ok, const QByteArray& content) {
    PlannedRow& planned = plan_[index];
    ReleaseFetch(planned);
    // A page ahead that went past the bound as it came in is not held either, even when it ended
    // before it could be dropped.
    const bool dropped = planned.DropRequested && index != nextToApply_;
    planned.DropRequested = false;
    if (dropped) {
        heldBack_ = true;
        return;
    }
    planned.Done = true;
    planned.Ok = ok && !content.isEmpty();
    planned.Content = content;
    heldBytes_ += content.size();
    // Applied in a turn of its own, apart from the network work that brought the page in.
    ContinueApplyingLater();
}

void Scanner::ReleaseFetch(PlannedRow& planned) {
    planned.Fetch = nullptr;
    planned.InFlight = false;
    receivingBytes_ -= planned.Received;
    planned.Received = 0;
    --inFlight_;
    if (!planned.Host.isEmpty()) {
        --hostLoad_[planned.Host];
    }
}

// Pages still coming in count against the bytes held as well, so that memory stays bounded however
// many hosts send at once behind a row that does not answer.
void Scanner::OnReceived(std::size_t index, qint64 bytes) {
    PlannedRow& planned = plan_[index];
    planned.Received += bytes;
    receivingBytes_ += bytes;
    if (index != nextToApply_ && heldBytes_ + receivingBytes_ > DropFactor * limits_.MaxHeldBytes) {
        planned.DropRequested = true;
        // Never from within the transfer's own report of its data: in the next turn.
        QTimer::singleShot(0, this, &Scanner::DropRequestedFetches);
    }
}

void Scanner::DropRequestedFetches() {
    for (std::size_t index = nextToApply_ + 1; index < plan_.size(); ++index) {
        PlannedRow& planned = plan_[index];
        if (planned.DropRequested && planned.InFlight) {
            planned.Fetch->disconnect(this);
            planned.Fetch->Abort();
            ReleaseFetch(planned);
            heldBack_ = true;
        }
        planned.DropRequested = false;
    }
}

void Scanner::ApplyReadyRows() {
    // A handler that waits in an event loop (a sound playing to its end) can let more results
    // arrive; the pass already running applies them in turn.
    if (applying_) {
        return;
    }
    applying_ = true;
    QElapsedTimer pass;
    pass.start();
    bool outOfTime = false;
    while (running_ && !stopRequested_ && !pageWorkRunning_ && nextToApply_ < plan_.size()) {
        PlannedRow& planned = plan_[nextToApply_];
        if (planned.NeedsFetch && !planned.Done) {
            break;
        }
        if (pass.hasExpired(PassBudgetMs)) {
            outOfTime = true;
            break;
        }
        ++nextToApply_;
        if (ApplyRow(planned)) {
            CompleteRow(planned);
        }
    }
    applying_ = false;
    // The awaited row is named also when it is the last and its page is being worked on.
    if (running_ && !stopRequested_ && (pageWorkRunning_ || nextToApply_ < plan_.size())) {
        AnnounceAwaitedRow();
    }
    if (finishPending_ || (running_ && !stopRequested_ && nextToApply_ == plan_.size())) {
        Finish();
    } else if (running_ && !stopRequested_) {
        Pump();
        if (outOfTime) {
            ContinueApplyingLater();
        }
    }
}

// Ready rows are applied in a later turn of the event loop, after it painted and answered what
// came meanwhile.
void Scanner::ContinueApplyingLater() {
    if (continuationPending_) {
        return;
    }
    continuationPending_ = true;
    QTimer::singleShot(0, this, [this] {
        continuationPending_ = false;
        ApplyReadyRows();
    });
}

// The status text names the row the scan waits for: rows after it may be fetched already, but
// a page that never answers holds the scan here.
void Scanner::AnnounceAwaitedRow() {
    // While a page is worked on, its row is the one not yet applied.
    const std::size_t awaited = pageWorkRunning_ ? nextToApply_ - 1 : nextToApply_;
    if (awaited == announcedRow_) {
        return;
    }
    announcedRow_ = awaited;
    const PlannedRow& planned = plan_[awaited];
    const Section& section = model_.Tab(planned.Tab);
    emit StatusTextChanged(StatusText(section, section.Row(planned.Row)));
}

bool Scanner::ApplyRow(PlannedRow& planned) {
    Section& section = model_.Tab(planned.Tab);
    WatchRow& row = section.Row(planned.Row);
    if (!planned.NeedsFetch) {
        return true;
    }
    if (!planned.Ok) {
        ++failedFetches_;
        RecordFailedFetch(row, clock_);
        return true;
    }
    StartPageWork(planned, row.Object.Watch);
    return false;
}

void Scanner::StartPageWork(const PlannedRow& planned, const TWatch& watch) {
    pageWorkRunning_ = true;
    pageWork_ = std::async(std::launch::async, [this, watch, content = planned.Content,
                                                folder = dataFolder_()] {
        const std::string_view bytes(content.constData(), static_cast<std::size_t>(content.size()));
        PageWork work;
        work.Outcome = CheckRule(watch, bytes);
        if (work.Outcome.Changed) {
            work.SnapshotFailures = RotateSnapshots(folder, watch, bytes);
        }
        QMetaObject::invokeMethod(this, &Scanner::FinishPageRow, Qt::QueuedConnection);
        return work;
    });
}

void Scanner::FinishPageRow() {
    PageWork work = pageWork_.get();
    // The row whose page was worked on is the last one taken up.
    PlannedRow& planned = plan_[nextToApply_ - 1];
    WatchRow& row = model_.Tab(planned.Tab).Row(planned.Row);
    if (RecordFetchedContent(row, work.Outcome, static_cast<std::size_t>(planned.Content.size()),
                             clock_)) {
        const TWatch& watch = row.Object.Watch;
        emit NotifySound(watch.ScanType);
        log_.AddToLog("Change: " + watch.Address);
        if (!work.SnapshotFailures.empty()) {
            ++snapshotFailures_;
        }
        for (std::string& line : work.SnapshotFailures) {
            log_.AddToLog(std::move(line));
        }
        ++tabChanges_[static_cast<std::size_t>(planned.Tab)];
        ++scanChanges_;
    }
    CompleteRow(planned);
    // Only now may the next row start: a sound waited for above lets other events run first.
    pageWorkRunning_ = false;
    ApplyReadyRows();
}

void Scanner::CompleteRow(PlannedRow& planned) {
    Section& section = model_.Tab(planned.Tab);
    const bool tabChanged = tabChanges_[static_cast<std::size_t>(planned.Tab)] > 0;
    section.ChangeMark = tabChanged;
    heldBytes_ -= planned.Content.size();
    planned.Content.clear();
    heldBack_ = false;
    emit RowUpdated(planned.Tab, planned.Row);
    emit TabImageChanged(planned.Tab, tabChanged);
    emit ProgressStepped();
}

void Scanner::Finish() {
    if (!running_) {
        return;
    }
    // Never in the middle of applying a row: the pass, or the row's page work, ends the scan.
    if (applying_ || pageWorkRunning_) {
        finishPending_ = true;
        return;
    }
    finishPending_ = false;
    AbortFetches();
    if (allTabs_) {
        totalChanges_ = scanChanges_;
    }
    if (scanChanges_ > 0) {
        emit ChangesAnnounced();
    }
    emit ProgressFinished();
    emit StopEnabledChanged(false);
    stopRequested_ = false;
    emit StatusTextChanged(QString());
    emit FinishedSound();
    emit BusyChanged(false);
    emit StatusBarRefreshNeeded();
    log_.AddToLog("");
    log_.AddToLog("__end of log.");
    running_ = false;
    plan_.clear();
    emit ScanFinished(scanChanges_);
}

void Scanner::AbortFetches() {
    for (PlannedRow& planned : plan_) {
        if (planned.Fetch != nullptr) {
            planned.Fetch->disconnect(this);
            planned.Fetch->Abort();
            planned.Fetch = nullptr;
        }
    }
    inFlight_ = 0;
    heldBytes_ = 0;
    receivingBytes_ = 0;
    hostLoad_.clear();
}

} // namespace zelmox
