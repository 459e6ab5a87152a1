#include "SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <unistd.h>

namespace zelmox {

namespace {

constexpr int HandOverMs = 2000;
constexpr qint64 LongestRequest = 64;

const QByteArray ShowWord = QByteArrayLiteral("show");
const QByteArray ScanAllWord = QByteArrayLiteral("silentscan");

} // namespace

QString SingleInstance::DefaultServerName() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
        return runtime + QStringLiteral("/zelmox.socket");
    }
    return QDir::tempPath() + QStringLiteral("/zelmox-%1.socket").arg(::getuid());
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
}

bool SingleInstance::Claim(Request request) {
    if (HandOver(request)) {
        return false;
    }
    if (Listen()) {
        return true;
    }
    // The socket is there, but nobody answered: a program that was killed left it, unless one
    // started just now.
    if (HandOver(request)) {
        return false;
    }
    QLocalServer::removeServer(serverName_);
    // Without the socket this start runs all the same, only alone.
    Listen();
    return true;
}

bool SingleInstance::HandOver(Request request) const {
    // A socket in a shared folder must be this user's own: another user's would swallow requests.
    const QFileInfo socketFile(serverName_);
    if (socketFile.exists() && socketFile.ownerId() != ::getuid()) {
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(HandOverMs)) {
        return false;
    }
    socket.write((request == Request::ScanAll ? ScanAllWord : ShowWord) + '\n');
    const bool sent = socket.waitForBytesWritten(HandOverMs);
    socket.disconnectFromServer();
    return sent;
}

bool SingleInstance::Listen() {
    return server_.listen(serverName_);
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        socket->setParent(this);
        const auto read = [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray word = socket->readLine(LongestRequest).trimmed();
                if (word == ShowWord || word == ScanAllWord) {
                    emit Requested(word == ScanAllWord ? Request::ScanAll : Request::Show);
                }
            }
            // Anything else is no request of ours.
            if (socket->bytesAvailable() > LongestRequest) {
                socket->abort();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        read();
    }
}

} // namespace zelmox
