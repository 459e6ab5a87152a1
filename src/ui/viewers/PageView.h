#pragma once

#include <QWebEngineView>
#include <string>

class QWebEngineProfile;

namespace zelmox {

class SnapshotSchemeHandler;

// One half's web view. A stored page shows without running its scripts and reaches no local
// file; the live page shows as a browser shows it.
class PageView : public QWebEngineView {
    Q_OBJECT

public:
    static constexpr const char* PlaceholderPage = "qrc:/pages/noexists.htm";

    PageView(QWebEngineProfile* profile, SnapshotSchemeHandler& snapshots, QWidget* parent);

    void ShowStored(const std::string& path, const std::string& address);
    void ShowPlaceholder();
    void ShowLive(const std::string& address);

private:
    void AllowScripts(bool allowed);

    SnapshotSchemeHandler& snapshots_;
};

} // namespace zelmox
