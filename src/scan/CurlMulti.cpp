#include "CurlMulti.h"

#include <QPointer>
#include <QSocketNotifier>
#include <algorithm>
#include <climits>
#include <curl/curl.h>
#include <utility>
#include <vector>

namespace zelmox {

namespace {

void InitialiseCurlOnce() {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
}

} // namespace

CurlMulti::CurlMulti(QObject* parent) : QObject(parent) {
    InitialiseCurlOnce();
    multi_ = curl_multi_init();
    share_ = curl_share_init();
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &CurlMulti::OnSocket);
    curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &CurlMulti::OnTimer);
    curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { Act(CURL_SOCKET_TIMEOUT, 0); });
}

CurlMulti::~CurlMulti() {
    const std::set<Transfer*> remaining = transfers_;
    for (Transfer* transfer : remaining) {
        transfer->ClientGone();
    }
    curl_multi_cleanup(multi_);
    curl_share_cleanup(share_);
}

void CurlMulti::Add(void* easy, Transfer& transfer) {
    curl_easy_setopt(easy, CURLOPT_PRIVATE, &transfer);
    curl_easy_setopt(easy, CURLOPT_SHARE, share_);
    transfers_.insert(&transfer);
    curl_multi_add_handle(multi_, easy);
}

void CurlMulti::Remove(void* easy) {
    Transfer* transfer = nullptr;
    curl_easy_getinfo(easy, CURLINFO_PRIVATE, &transfer);
    transfers_.erase(transfer);
    paused_.erase(easy);
    curl_multi_remove_handle(multi_, easy);
}

int CurlMulti::OnSocket(void*, int socket, int what, void* self, void*) {
    static_cast<CurlMulti*>(self)->WatchSocket(socket, what);
    return 0;
}

int CurlMulti::OnTimer(void*, long timeoutMs, void* self) {
    QTimer& timer = static_cast<CurlMulti*>(self)->timer_;
    if (timeoutMs < 0) {
        timer.stop();
    } else {
        timer.start(static_cast<int>(std::min<long>(timeoutMs, INT_MAX)));
    }
    return 0;
}

void CurlMulti::WatchSocket(int socket, int what) {
    SocketWatch& watch = sockets_[socket];
    // Notifiers may be in the middle of reporting: they are switched off now and go later.
    const auto discard = [](QSocketNotifier*& notifier) {
        if (notifier != nullptr) {
            notifier->setEnabled(false);
            notifier->deleteLater();
            notifier = nullptr;
        }
    };
    const auto watchFor = [this, socket](QSocketNotifier*& notifier, QSocketNotifier::Type type,
                                         bool wanted) {
        if (notifier == nullptr && wanted) {
            notifier = new QSocketNotifier(socket, type, this);
            const int events = type == QSocketNotifier::Read ? CURL_CSELECT_IN : CURL_CSELECT_OUT;
            connect(notifier, &QSocketNotifier::activated, this,
                    [this, socket, events] { Act(socket, events); });
        } else if (notifier != nullptr) {
            notifier->setEnabled(wanted);
        }
    };
    if (what == CURL_POLL_REMOVE) {
        discard(watch.Read);
        discard(watch.Write);
        sockets_.erase(socket);
        return;
    }
    watch.Wanted = what;
    watchFor(watch.Read, QSocketNotifier::Read, (what & CURL_POLL_IN) != 0);
    watchFor(watch.Write, QSocketNotifier::Write, (what & CURL_POLL_OUT) != 0);
}

void CurlMulti::SocketWatch::Listen(bool on) {
    if (Read != nullptr) {
        Read->setEnabled(on && (Wanted & CURL_POLL_IN) != 0);
    }
    if (Write != nullptr) {
        Write->setEnabled(on && (Wanted & CURL_POLL_OUT) != 0);
    }
}

void CurlMulti::Act(int socket, int events) {
    if (socket != CURL_SOCKET_TIMEOUT && TurnSpent()) {
        Defer(socket, events);
        return;
    }
    int running = 0;
    curl_multi_socket_action(multi_, socket, events, &running);
    ReportEnded();
}

// Every socket that became ready is reported in the same turn of the event loop, and one report may
// take in much of several large pages: the window would stay unanswered for as long. Past a small
// budget the remaining sockets and transfers wait for the next turn, after the loop has painted
// and answered.
bool CurlMulti::TurnSpent() {
    if (!turnOpen_) {
        turnOpen_ = true;
        turn_.start();
        QTimer::singleShot(0, this, &CurlMulti::ActOnDeferred);
        return false;
    }
    return turn_.hasExpired(TurnBudgetMs);
}

void CurlMulti::Defer(int socket, int events) {
    // A notifier left on would report the socket again at once, still within this turn.
    if (const auto found = sockets_.find(socket); found != sockets_.end()) {
        found->second.Listen(false);
    }
    deferred_[socket] |= events;
}

void CurlMulti::ResumeNextTurn(void* easy) {
    paused_.insert(easy);
}

void CurlMulti::ActOnDeferred() {
    turnOpen_ = false;
    // Resuming hands over the data the transfer held back, at once.
    for (void* easy : std::exchange(paused_, {})) {
        curl_easy_pause(static_cast<CURL*>(easy), CURLPAUSE_CONT);
    }
    const std::map<int, int> waiting = std::exchange(deferred_, {});
    for (const auto& [socket, events] : waiting) {
        // Curl may have given the socket up meanwhile: then it has nothing to hear of it.
        const auto found = sockets_.find(socket);
        if (found == sockets_.end()) {
            continue;
        }
        found->second.Listen(true);
        Act(socket, events);
    }
}

void CurlMulti::ReportEnded() {
    std::vector<std::pair<Transfer*, CURLcode>> ended;
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi_, &left)) {
        if (message->msg == CURLMSG_DONE) {
            Transfer* transfer = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
            ended.emplace_back(transfer, message->data.result);
        }
    }
    // A report may end other transfers, or the client with them.
    const QPointer<CurlMulti> alive(this);
    for (const auto& [transfer, code] : ended) {
        if (alive.isNull()) {
            return;
        }
        if (transfers_.count(transfer) != 0) {
            transfer->TransferDone(code);
        }
    }
}

} // namespace zelmox
