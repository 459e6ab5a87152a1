#pragma once

#include <QDialog>

class QTableWidget;

namespace zelmox {

class SectionModel;

// The statistics window: per section, the size of its current versions and how many watches
// stand at each change level. Made once and shown again and again; every showing rewrites the
// whole grid from the sections as they are.
class TfrmWatch : public QDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 721;
    static constexpr int ClientHeight = 191;

    explicit TfrmWatch(QWidget* parent = nullptr);

    // Fills the grid from the sections in tab order and shows the window modally.
    void ShowStatistics(const SectionModel& model);
    // Fills the grid without showing the window.
    void Fill(const SectionModel& model);

private:
    QTableWidget* sgInfo_;
};

} // namespace zelmox
