#pragma once

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

private:
    // Notifiers of one socket, owned as children of this object.
    struct SocketWatch {
        QSocketNotifier* Read = nullptr;
        QSocketNotifier* Write = nullptr;
    };

    static int OnSocket(void* easy, int socket, int what, void* self, void* socketData);
    static int OnTimer(void* multi, long timeoutMs, void* self);
    void WatchSocket(int socket, int what);
    void Act(int socket, int events);
    void ReportEnded();

    void* multi_ = nullptr;
    void* share_ = nullptr;
    QTimer timer_;
    std::map<int, SocketWatch> sockets_;
    std::set<Transfer*> transfers_;
};

} // namespace zelmox
