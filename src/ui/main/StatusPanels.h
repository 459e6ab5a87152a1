#pragma once

#include <QStatusBar>

class QLabel;

namespace zelmox {

class SectionModel;

// The status bar's four panels: hints and scan progress, then the watches of the shown section,
// of all sections, and the marked watches.
class StatusPanels : public QStatusBar {
    Q_OBJECT

public:
    explicit StatusPanels(QWidget* parent = nullptr);

    void SetPanel0(const QString& text);
    QString PanelText(int panel) const;
    void RefreshStatusBar(const SectionModel& model);

private:
    QLabel* panels_[4];
};

} // namespace zelmox
