#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace zelmox {

// One Zelmox per user. The first start listens on a per-user local socket; a later start hands
// its request to the running one and ends, so two windows never write the same settings file and
// list.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Request { Show, ScanAll };
    Q_ENUM(Request)

    // This user's socket: in the session's runtime folder, or else in the temporary folder with
    // the user's id in its name.
    static QString DefaultServerName();

    explicit SingleInstance(QString serverName, QObject* parent = nullptr);

    // True when this process is the one that runs (it now takes the requests of later starts);
    // false when a running one took the request, and this process should end. A socket left by a
    // program that was killed is taken over.
    bool Claim(Request request);

signals:
    void Requested(SingleInstance::Request request);

private:
    bool HandOver(Request request) const;
    bool Listen();
    void Accept();

    QString serverName_;
    QLocalServer server_;
};

} // namespace zelmox
