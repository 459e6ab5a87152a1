#pragma once

#include "ContentFetch.h"

#include <QNetworkAccessManager>
#include <QString>

namespace zelmox {

struct TSettings;

// How a client reaches the web: the connection values of the settings record.
struct ConnectionSettings {
    int HTTPPort = 80;
    bool UseProxySettings = false;
    bool BasicAuthentication = false;
    QString ProxyServer;
    int ProxyPort = 8080;
    QString ProxyUsername;
    QString ProxyPassword;
};

ConnectionSettings ConnectionSettingsOf(const TSettings& settings);

// An HTTP client: one network manager with its own cookie jar held in memory for the run. It also
// reads local files, so that it serves every address a watch can have.
class HttpClient : public QObject, public ContentSource {
    Q_OBJECT

public:
    static constexpr qint64 DefaultMaxBodyBytes = 64LL * 1024 * 1024;
    static constexpr int DefaultInactivityTimeoutMs = 60'000;

    explicit HttpClient(QObject* parent = nullptr);

    ContentFetch* FetchContent(const QByteArray& address) override;

    void ApplyConnectionSettings(const ConnectionSettings& settings);
    const ConnectionSettings& Connection() const { return connection_; }

    // A fetch fails when nothing arrives for this long, or when the body grows past the cap.
    void SetInactivityTimeout(int milliseconds) { inactivityTimeoutMs_ = milliseconds; }
    void SetMaxBodyBytes(qint64 bytes) { maxBodyBytes_ = bytes; }

private:
    QNetworkAccessManager manager_;
    ConnectionSettings connection_;
    int inactivityTimeoutMs_ = DefaultInactivityTimeoutMs;
    qint64 maxBodyBytes_ = DefaultMaxBodyBytes;
};

// The host a web address is fetched from (the limit of fetches at once to one host counts by it);
// empty for a local file.
QString FetchHost(const QByteArray& address);

// Copies the connection settings into a client, as the settings dialog and start-up do.
void ApplyConnectionSettings(HttpClient& client, const TSettings& settings);

} // namespace zelmox
