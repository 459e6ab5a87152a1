#pragma once

#include "WordDiff.h"

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QToolButton;

namespace zelmox {

// The visible text of two versions of a page in reading order, deleted words struck through in
// red and inserted ones in green, with a way to step from change to change (F7, F8) and a choice
// between the whole text and only the changed lines with some context.
class TfrmDifferences : public QDialog {
    Q_OBJECT

public:
    static constexpr int ContextLines = 2;

    TfrmDifferences(TextDifference difference, const std::string& description,
                    QWidget* parent = nullptr);

    // Compares two stored or fetched pages and shows the result modally.
    static void ShowDifferences(const std::string& before, const std::string& after,
                                const std::string& description, QWidget* parent);

    void sbNextChangeClick();
    void sbPreviousChangeClick();
    // Shows the whole text, or only the changed lines with their context.
    void ShowChangedLinesOnly(bool only);

    // The change now selected (from 0), -1 before the first step.
    int CurrentChange() const { return current_; }
    QString SelectedText() const;

private:
    void Fill();
    void SelectChange(int change);
    void UpdateButtons();

    TextDifference difference_;
    bool changedOnly_ = false;
    int current_ = -1;
    // Where each change starts and ends in the shown document.
    std::vector<std::pair<int, int>> changeRanges_;
    QLabel* lChanges_;
    QRadioButton* rbWholeText_;
    QRadioButton* rbChangedLines_;
    QToolButton* sbPreviousChange_;
    QToolButton* sbNextChange_;
    QPlainTextEdit* memoDifferences_;
};

} // namespace zelmox
