#include "PageView.h"

#include "AddressUrl.h"
#include "DisplayText.h"
#include "SnapshotSchemeHandler.h"

#include <QWebEnginePage>
#include <QWebEngineSettings>

namespace zelmox {

PageView::PageView(QWebEngineProfile* profile, SnapshotSchemeHandler& snapshots, QWidget* parent)
    : QWebEngineView(parent), snapshots_(snapshots) {
    setPage(new QWebEnginePage(profile, this));
}

void PageView::AllowScripts(bool allowed) {
    page()->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, allowed);
}

void PageView::ShowStored(const std::string& path, const std::string& address) {
    AllowScripts(false);
    setUrl(snapshots_.Offer(path, address));
}

void PageView::ShowPlaceholder() {
    AllowScripts(false);
    setUrl(QUrl(QString::fromLatin1(PlaceholderPage)));
}

void PageView::ShowLive(const std::string& address) {
    AllowScripts(true);
    setUrl(AddressUrl(ShowText(address)));
}

} // namespace zelmox
