#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <map>
#include <set>

class QSocketNotifier;

namespace zelmox {

// libcurl's transfers of one HTTP client, driven by Qt's event loop: the sockets curl asks about
// are watched with socket notifiers and its time-outs with a timer, so every transfer runs on the
// thread of the client, in step with everything else there. Transfers of one client share their
// cookies (held in memory only) and their open connections.
class CurlMulti : public QObject {
    Q_OBJECT

public:
    // One transfer: told once when it ended, or that the client went away first.
    class Transfer {
    public:
        virtual void TransferDone(int curlCode) = 0;
        virtual void ClientGone() = 0;

    protected:
        ~Transfer() = default;
    };

    explicit CurlMulti(QObject* parent = nullptr);
    ~CurlMulti() override;
    CurlMulti(const CurlMulti&) = delete;
    CurlMulti& operator=(const CurlMulti&) = delete;

    // The cookie store every transfer of this client uses (a CURLSH handle).
    void* Share() const { return share_; }

    // Starts an easy handle that was set up by the transfer; Remove stops it (and must come before
    // the handle is cleaned up).
    void Add(void* easy, Transfer& transfer);
    void Remove(void* easy);

    // Whether this turn of the event loop has taken in all it may. A transfer that is handed data
    // past that pauses and has ResumeNextTurn take it up again in the next turn.
    bool TurnSpent();
    void ResumeNextTurn(void* easy);

private:
    // Notifiers of one socket, owned as children of this object.
    struct SocketWatch {
        QSocketNotifier* Read = nullptr;
        QSocketNotifier* Write = nullptr;
        // What curl asked to hear of (CURL_POLL_IN, CURL_POLL_OUT).
        int Wanted = 0;
        // Listens for what curl asked, or for nothing.
        void Listen(bool on);
    };
    // How long one turn of the event loop may spend taking in what the sockets brought.
    static constexpr int TurnBudgetMs = 8;

    static int OnSocket(void* easy, int socket, int what, void* self, void* socketData);
    static int OnTimer(void* multi, long timeoutMs, void* self);
    void WatchSocket(int socket, int what);
    void Act(int socket, int events);
    void Defer(int socket, int events);
    void ActOnDeferred();
    void ReportEnded();

    void* multi_ = nullptr;
    void* share_ = nullptr;
    QTimer timer_;
    std::map<int, SocketWatch> sockets_;
    QElapsedTimer turn_;
    bool turnOpen_ = false;
    // Sockets whose events wait for the next turn, with those events.
    std::map<int, int> deferred_;
    // Transfers paused until the next turn.
    std::set<void*> paused_;
    std::set<Transfer*> transfers_;
};

} // namespace zelmox
