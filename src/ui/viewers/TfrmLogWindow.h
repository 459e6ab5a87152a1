#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace zelmox {

// The lines the last scan wrote, read-only. Made once and shown again and again; every showing
// sets the text afresh.
class TfrmLogWindow : public QDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 784;
    static constexpr int ClientHeight = 406;

    explicit TfrmLogWindow(QWidget* parent = nullptr);

    // Sets the text to the lines, one a line, and shows the window modally.
    void ShowLog(const std::vector<std::string>& lines);
    void SetLines(const std::vector<std::string>& lines);
    QString Text() const;

private:
    QPlainTextEdit* mLog_;
};

} // namespace zelmox
