#pragma once

#include <QMap>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <string>

namespace zelmox {

// Serves stored pages to the web views of one window, and only the files it was offered: a page
// cannot ask for any other local file. An HTML page is served with a base address, so that its
// pictures and styles come from the site it was fetched from, and with its own charset; the file
// itself is never changed.
class SnapshotSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT

public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // The address under which the file is served; address is the watch's, for relative addresses.
    QUrl Offer(const std::string& path, const std::string& address);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    struct Offered {
        std::string Path;
        std::string Address;
    };
    QMap<QString, Offered> offered_;
};

} // namespace zelmox
