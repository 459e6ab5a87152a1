#include "HttpClient.h"

#include "Address.h"
#include "CurlMulti.h"
#include "LocalFileReader.h"
#include "Settings.h"

#include <QTimer>
#include <QUrl>
#include <curl/curl.h>

namespace zelmox {

namespace {

// Reports its result once, then goes away.
class ReportingFetch : public ContentFetch {
public:
    using ContentFetch::ContentFetch;

protected:
    void Report(bool ok, const QByteArray& content) {
        if (reported_) {
            return;
        }
        reported_ = true;
        emit Finished(ok, ok ? content : QByteArray());
        deleteLater();
    }

    void MarkAborted() {
        reported_ = true;
        deleteLater();
    }

private:
    bool reported_ = false;
};

// What one web fetch is asked to do.
struct WebRequest {
    QByteArray Url;
    const ConnectionSettings* Connection = nullptr;
    int InactivityTimeoutMs = 0;
    int OverallTimeoutMs = 0;
    qint64 MaxBodyBytes = 0;
    QByteArray TrustedCertificates;
};

class WebFetch final : public ReportingFetch, public CurlMulti::Transfer {
public:
    WebFetch(CurlMulti& multi, const WebRequest& request)
        : multi_(&multi), easy_(curl_easy_init()), maxBodyBytes_(request.MaxBodyBytes),
          trustedCertificates_(request.TrustedCertificates) {
        silence_.setSingleShot(true);
        silence_.setInterval(request.InactivityTimeoutMs);
        connect(&silence_, &QTimer::timeout, this, &WebFetch::Fail);
        if (easy_ == nullptr) {
            QTimer::singleShot(0, this, &WebFetch::Fail);
            return;
        }
        SetUp(request);
        silence_.start();
        multi_->Add(easy_, *this);
    }

    ~WebFetch() override { Detach(); }

    void Abort() override {
        Detach();
        MarkAborted();
    }

    void TransferDone(int curlCode) override {
        long status = 0;
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
        // Any error of the transfer counts, the framing of the body among them: one shorter than
        // its length, cut before its last chunk, or ended by a reset.
        const bool success = curlCode == CURLE_OK && status >= 200 && status < 300;
        Detach();
        Report(success, body_);
    }

    // The client going away takes its transfers along; the fetch then just ends.
    void ClientGone() override { Abort(); }

private:
    void SetUp(const WebRequest& request) {
        curl_easy_setopt(easy_, CURLOPT_URL, request.Url.constData());
        curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
        curl_easy_setopt(easy_, CURLOPT_USERAGENT, "Mozilla/3.0 (compatible; Indy Library)");
        headers_ = curl_slist_append(headers_, "Accept: text/html, */*");
        headers_ = curl_slist_append(headers_, "Content-Type: text/html");
        // Bodies are kept exactly as sent: no compressed transfer to undo.
        headers_ = curl_slist_append(headers_, "Accept-Encoding: identity");
        curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
        curl_easy_setopt(easy_, CURLOPT_HTTP_CONTENT_DECODING, 0L);
        curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy_, CURLOPT_TCP_NODELAY, 1L);
        // Cookies are kept in the client's memory, never read from or written to a file.
        curl_easy_setopt(easy_, CURLOPT_COOKIEFILE, "");
        curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, static_cast<long>(request.OverallTimeoutMs));
        curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(request.MaxBodyBytes));
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &WebFetch::OnBody);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &WebFetch::OnHeader);
        curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
        if (!trustedCertificates_.isEmpty()) {
            curl_blob blob{trustedCertificates_.data(),
                           static_cast<std::size_t>(trustedCertificates_.size()), CURL_BLOB_NOCOPY};
            curl_easy_setopt(easy_, CURLOPT_CAINFO_BLOB, &blob);
        }
        SetUpProxy(*request.Connection);
    }

    void SetUpProxy(const ConnectionSettings& connection) {
        // An empty server means a direct connection even with the proxy switched on; the
        // environment's proxy variables are never used.
        if (!connection.UseProxySettings || connection.ProxyServer.isEmpty()) {
            curl_easy_setopt(easy_, CURLOPT_PROXY, "");
            return;
        }
        curl_easy_setopt(easy_, CURLOPT_PROXY, connection.ProxyServer.toUtf8().constData());
        curl_easy_setopt(easy_, CURLOPT_PROXYPORT, static_cast<long>(connection.ProxyPort));
        curl_easy_setopt(easy_, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP));
        curl_easy_setopt(easy_, CURLOPT_NOPROXY, "");
        if (connection.BasicAuthentication) {
            curl_easy_setopt(easy_, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
            curl_easy_setopt(easy_, CURLOPT_PROXYUSERNAME,
                             connection.ProxyUsername.toUtf8().constData());
            curl_easy_setopt(easy_, CURLOPT_PROXYPASSWORD,
                             connection.ProxyPassword.toUtf8().constData());
        }
    }

    static std::size_t OnHeader(char*, std::size_t size, std::size_t count, void* self) {
        static_cast<WebFetch*>(self)->silence_.start();
        return size * count;
    }

    // Past the cap the transfer is stopped at once: nothing more is read or held.
    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
        auto& fetch = *static_cast<WebFetch*>(self);
        const std::size_t bytes = size * count;
        if (fetch.body_.size() + static_cast<qint64>(bytes) > fetch.maxBodyBytes_) {
            return 0;
        }
        if (fetch.multi_->TurnSpent()) {
            fetch.multi_->ResumeNextTurn(fetch.easy_);
            return CURL_WRITEFUNC_PAUSE;
        }
        if (fetch.body_.isEmpty()) {
            fetch.ReserveDeclaredLength();
        }
        fetch.body_.append(data, static_cast<qsizetype>(bytes));
        fetch.silence_.start();
        emit fetch.Received(static_cast<qint64>(bytes));
        return bytes;
    }

    void ReserveDeclaredLength() {
        curl_off_t length = -1;
        if (curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
            length > 0 && length <= maxBodyBytes_) {
            body_.reserve(static_cast<qsizetype>(length));
        }
    }

    void Fail() {
        Detach();
        body_.clear();
        Report(false, {});
    }

    void Detach() {
        silence_.stop();
        if (easy_ == nullptr) {
            return;
        }
        if (multi_ != nullptr) {
            multi_->Remove(easy_);
            multi_ = nullptr;
        }
        curl_easy_cleanup(easy_);
        easy_ = nullptr;
        curl_slist_free_all(headers_);
        headers_ = nullptr;
    }

    CurlMulti* multi_;
    CURL* easy_;
    curl_slist* headers_ = nullptr;
    qint64 maxBodyBytes_;
    QByteArray trustedCertificates_;
    QByteArray body_;
    QTimer silence_;
};

class LocalFetch final : public ReportingFetch {
public:
    LocalFetch(QString path, qint64 maxBytes) : path_(std::move(path)), maxBytes_(maxBytes) {
        QTimer::singleShot(0, this, &LocalFetch::Read);
    }

    void Abort() override { MarkAborted(); }

private:
    void Read() {
        QByteArray text;
        const bool ok = ReadLocalFile(path_, maxBytes_, text);
        Report(ok, text);
    }

    QString path_;
    qint64 maxBytes_;
};

// An address without a scheme (one that starts with "www.") is asked for over http.
QUrl RequestUrl(const QByteArray& address) {
    QString text = QString::fromUtf8(address);
    if (!text.contains(QLatin1String("://"))) {
        text.prepend(QLatin1String("http://"));
    }
    return QUrl(text, QUrl::TolerantMode);
}

} // namespace

ConnectionSettings ConnectionSettingsOf(const TSettings& settings) {
    ConnectionSettings connection;
    connection.HTTPPort = settings.HTTPPort;
    connection.UseProxySettings = settings.UseProxySettings;
    connection.BasicAuthentication = settings.BasicAuthentication;
    connection.ProxyServer = QString::fromStdString(settings.ProxyServer);
    connection.ProxyPort = settings.ProxyPort;
    connection.ProxyUsername = QString::fromStdString(settings.ProxyUsername);
    connection.ProxyPassword = QString::fromStdString(settings.ProxyPassword);
    return connection;
}

HttpClient::HttpClient(QObject* parent)
    : QObject(parent), transfers_(std::make_unique<CurlMulti>()) {}

HttpClient::~HttpClient() = default;

void HttpClient::ApplyConnectionSettings(const ConnectionSettings& settings) {
    connection_ = settings;
}

ContentFetch* HttpClient::FetchContent(const QByteArray& address) {
    if (!IsWebAddress(address.toStdString())) {
        return new LocalFetch(QString::fromUtf8(address), maxBodyBytes_);
    }
    WebRequest request;
    request.Url = RequestUrl(address).toEncoded();
    request.Connection = &connection_;
    request.InactivityTimeoutMs = inactivityTimeoutMs_;
    request.OverallTimeoutMs = overallTimeoutMs_;
    request.MaxBodyBytes = maxBodyBytes_;
    request.TrustedCertificates = trustedCertificates_;
    return new WebFetch(*transfers_, request);
}

QString FetchHost(const QByteArray& address) {
    return IsWebAddress(address.toStdString()) ? RequestUrl(address).host() : QString();
}

void ApplyConnectionSettings(HttpClient& client, const TSettings& settings) {
    client.ApplyConnectionSettings(ConnectionSettingsOf(settings));
}

} // namespace zelmox
