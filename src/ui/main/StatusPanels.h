#pragma once

#include <QStatusBar>
#include <QTimer>

class QLabel;

namespace zelmox {

class SectionModel;

// The status bar's four panels: hints and scan progress, then the watches of the shown section,
// of all sections, and the marked watches.
class StatusPanels : public QStatusBar {
    Q_OBJECT

public:
    // How long a notice stays in view.
    static constexpr int NoticeMs = 6000;

    explicit StatusPanels(QWidget* parent = nullptr);

    void SetPanel0(const QString& text);
    // A word the user must see, such as why a command was refused. It is marked out in panel 0
    // and stays for NoticeMs, whatever hints the pointer passes over meanwhile.
    void ShowNotice(const QString& text);
    bool ShowsNotice() const { return noticeTimer_.isActive(); }
    // The hint of the control under the pointer; empty when the pointer left it.
    void ShowHint(const QString& hint);
    // The text a panel shows (a notice, while panel 0 shows one).
    QString PanelText(int panel) const;
    void RefreshStatusBar(const SectionModel& model);

private:
    void EndNotice();

    QLabel* panels_[4];
    QString panel0Text_;
    QTimer noticeTimer_;
};

} // namespace zelmox
