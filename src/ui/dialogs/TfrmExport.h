#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QLineEdit;

namespace zelmox {

class UserPrompts;

// What the export dialog returns.
struct TExport {
    std::string FileName; // empty when the dialog was cancelled
    bool IncludeFullPath = false;
};

// The export dialog: the file to write the list of addresses to, and whether whole addresses or
// only their last parts are written.
class TfrmExport : public QDialog {
    Q_OBJECT

public:
    explicit TfrmExport(UserPrompts& prompts, QWidget* parent = nullptr);

    TExport Result() const;

    // The browse button: a save chooser proposing "export.txt".
    void sbBrowseClick();

private:
    UserPrompts& prompts_;
    QLineEdit* eFilename_ = nullptr;
    QCheckBox* cbIncludeFullPath_ = nullptr;
};

// Shows the export dialog; FileName is empty when it was cancelled.
TExport ExecuteExport(UserPrompts& prompts, QWidget* parent);

} // namespace zelmox
