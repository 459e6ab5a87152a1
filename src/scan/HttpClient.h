#pragma once

#include "ContentFetch.h"

#include <QByteArray>
#include <QString>
#include <memory>

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

class CurlMulti;

// An HTTP/1.1 client with its own cookies, held in memory for the run, and its own open
// connections. It also reads local files, so that it serves every address a watch can have. A
// page counts only when its body ended as its framing says: a body cut short by a broken
// connection, by a reset or before its last chunk is a failed fetch, never a new version.
class HttpClient : public QObject, public ContentSource {
    Q_OBJECT

public:
    static constexpr qint64 DefaultMaxBodyBytes = 64LL * 1024 * 1024;
    static constexpr int DefaultInactivityTimeoutMs = 60'000;
    // A page that trickles in can keep a fetch alive past any silence limit; this ends it.
    static constexpr int DefaultOverallTimeoutMs = 5 * 60'000;

    explicit HttpClient(QObject* parent = nullptr);
    ~HttpClient() override;

    ContentFetch* FetchContent(const QByteArray& address) override;

    void ApplyConnectionSettings(const ConnectionSettings& settings);
    const ConnectionSettings& Connection() const { return connection_; }

    // A fetch fails when nothing arrives for this long, when it takes longer than the overall
    // limit, or as soon as the body grows past the cap (nothing more is read).
    void SetInactivityTimeout(int milliseconds) { inactivityTimeoutMs_ = milliseconds; }
    void SetOverallTimeout(int milliseconds) { overallTimeoutMs_ = milliseconds; }
    void SetMaxBodyBytes(qint64 bytes) { maxBodyBytes_ = bytes; }
    // Certificates (PEM) trusted in place of the system's store, as for a private authority.
    void SetTrustedCertificates(QByteArray pem) { trustedCertificates_ = std::move(pem); }

private:
    std::unique_ptr<CurlMulti> transfers_;
    ConnectionSettings connection_;
    int inactivityTimeoutMs_ = DefaultInactivityTimeoutMs;
    int overallTimeoutMs_ = DefaultOverallTimeoutMs;
    qint64 maxBodyBytes_ = DefaultMaxBodyBytes;
    QByteArray trustedCertificates_;
};

// The host a web address is fetched from (the limit of fetches at once to one host counts by it);
// empty for a local file.
QString FetchHost(const QByteArray& address);

// Copies the connection settings into a client, as the settings dialog and start-up do.
void ApplyConnectionSettings(HttpClient& client, const TSettings& settings);

} // namespace zelmox
